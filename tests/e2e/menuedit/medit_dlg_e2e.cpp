// The menu editor's dialogs end to end: the real tvmedit.exe in a scratch
// files folder, its commands posted and its dialogs filled in through the
// test driver as a user would, and the menu file and shortcuts it writes
// read back.
#include <windows.h>
#include <functional>
#include <string>

#include <gtest/gtest.h>

#include "e2e/medit_testutil.h"
#include "dialogs_res.h"

namespace
{

using namespace medittest;
using e2etest::Control;
using e2etest::TextOf;

// A menu whose side bar root has an icon, with the entry lines given.
std::string MenuText(const char* root, const std::string& entries)
{
    return std::string("<?TarvinMenu version=\"1.00\"?>\r\n<menu text=\"") + root +
           "\" iconpath=\"shell32.dll\" iconnumber=\"4\" sidebar=\"true\">\r\n" + entries + "</menu>\r\n";
}

class MeditDialogs : public MeditTest
{
  protected:
    void SetUp() override
    {
        MeditTest::SetUp();
        m_reg.SetDword(kMeditKey, "Advanced Mode", 1);
        m_reg.SetDword(kMeditKey, "Window State", 1);
    }

    void TearDown() override
    {
        m_ed.reset();
        MeditTest::TearDown();
    }

    // Starts the editor, on a menu file when one is given.
    void Start(const std::string& menu = "")
    {
        m_ed.reset(new CMedit);
        ASSERT_TRUE(m_ed->Start(menu));
        m_main = m_ed->Main();
    }

    void SaveAs(const std::string& path)
    {
        HWND dlg = m_ed->Dialog("Save Menu File As");
        ASSERT_TRUE(dlg != NULL);
        ASSERT_TRUE(e2etest::FileDialogTake(dlg, path, "Save"));
        ASSERT_EQ(TVD_OK, DrvWaitDestroyed(dlg, kTimeout));
    }

    bool WaitFor(const std::function<bool()>& cond)
    {
        return DrvWaitFor(cond, kTimeout) == TVD_OK;
    }

    std::unique_ptr<CMedit> m_ed;
    HWND m_main = NULL;
};

TEST_F(MeditDialogs, BuildsAMenuFromNothingThroughTheDialogsAndOpensItAgain)
{
    Start();
    // New in advanced mode: the plain submenu dialog names the side bar root.
    ASSERT_TRUE(m_ed->Post(IDM_NEW));
    HWND dlg = m_ed->Dialog("New Menu");
    EXPECT_EQ("New Tarvin Menu", TextOf(Control(dlg, IDC_SUB_NAME)));
    ASSERT_TRUE(DrvSetText(Control(dlg, IDC_SUB_NAME), "My Tools"));
    ASSERT_TRUE(DrvPressButton(dlg, IDOK));
    ASSERT_TRUE(WaitFor([&]() { return m_ed->TreeText() == "My Tools\n"; })) << m_ed->TreeText();

    // An item through the wizard: target, then the name it proposes.
    ASSERT_TRUE(m_ed->Post(IDM_ITEMWIZARD));
    dlg = m_ed->Dialog("Menu Item Wizard");
    HWND next = Control(dlg, IDC_WIZ_NEXT);
    EXPECT_FALSE(IsWindowEnabled(next)) << "Next with no target";
    ASSERT_TRUE(DrvSetText(Control(dlg, IDC_WIZ_TARGET), "C:\\windows\\notepad.exe"));
    ASSERT_TRUE(WaitFor([&]() { return IsWindowEnabled(next) != FALSE; }));
    ASSERT_TRUE(DrvPressButton(dlg, IDC_WIZ_NEXT));
    HWND name = Control(dlg, IDC_WIZ_NAME);
    EXPECT_EQ("Notepad", TextOf(name));
    EXPECT_EQ("Fi&nish", TextOf(next));
    // Back shows the target again; Next comes back to the same name.
    ASSERT_TRUE(DrvPressButton(dlg, IDC_WIZ_BACK));
    EXPECT_EQ("C:\\windows\\notepad.exe", TextOf(Control(dlg, IDC_WIZ_TARGET)));
    ASSERT_TRUE(DrvPressButton(dlg, IDC_WIZ_NEXT));
    EXPECT_EQ("Notepad", TextOf(Control(dlg, IDC_WIZ_NAME)));
    // Another target: the name and icon the user left as proposed follow it.
    ASSERT_TRUE(DrvPressButton(dlg, IDC_WIZ_BACK));
    ASSERT_TRUE(DrvSetText(Control(dlg, IDC_WIZ_TARGET), "C:\\windows\\regedit.exe"));
    ASSERT_TRUE(DrvPressButton(dlg, IDC_WIZ_NEXT));
    EXPECT_EQ("Regedit", TextOf(Control(dlg, IDC_WIZ_NAME)));
    ASSERT_TRUE(DrvPressButton(dlg, IDC_WIZ_NEXT));
    ASSERT_EQ(TVD_OK, DrvWaitDestroyed(dlg, kTimeout));

    ASSERT_TRUE(m_ed->Post(IDM_INSERTSUBMENU));
    dlg = m_ed->Dialog("New Submenu");
    EXPECT_EQ("New Submenu", TextOf(Control(dlg, IDC_SUB_NAME)));
    ASSERT_TRUE(DrvSetText(Control(dlg, IDC_SUB_NAME), "Games"));
    ASSERT_TRUE(DrvPressButton(dlg, IDOK));
    ASSERT_TRUE(m_ed->Post(IDM_INSERTSEPARATOR));
    const std::string rows = "Regedit|Games|---";
    ASSERT_TRUE(WaitFor([&]() { return m_ed->Rows() == rows; })) << m_ed->Rows();

    std::string path = File("built.menu");
    ASSERT_TRUE(m_ed->Post(IDM_SAVE));
    SaveAs(path);
    EXPECT_NE(std::string::npos,
              m_ed->Answer("Create Shortcut", IDNO).find("saved a new menu for the first time"));
    ASSERT_TRUE(e2etest::WaitFile(path));
    EXPECT_EQ(MenuText("My Tools",
                       "<menuitem text=\"Regedit\" target=\"C:\\windows\\regedit.exe\" cmdline=\"\" "
                       "workdir=\"C:\\windows\\\" windowstate=\"1\" iconpath=\"C:\\windows\\regedit.exe\" "
                       "iconnumber=\"0\" />\r\n"
                       "<menu text=\"Games\" iconpath=\"shell32.dll\" iconnumber=\"4\" sidebar=\"false\">\r\n"
                       "</menu>\r\n"
                       "<menuseparator />\r\n"),
              ReadBytes(path));

    m_ed.reset();
    Start(path);
    ASSERT_TRUE(WaitFor([&]() { return m_ed->TreeText() == "My Tools\n  Games\n" && m_ed->Rows() == rows; }))
        << m_ed->TreeText() << m_ed->Rows();
}

} // namespace

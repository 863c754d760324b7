// The menu editor's main window end to end: the real tvmedit.exe on menu
// files in a scratch files folder, driven through the test driver.
#include <windows.h>
#include <string>

#include <gtest/gtest.h>

#include "e2e/medit_testutil.h"
#include "dialogs_res.h"

namespace
{

using namespace medittest;

using e2etest::GetClipboard;
const UINT kFormat = RegisterClipboardFormatA("TVMEDIT_CCPFORMAT");

class MeditMain : public MeditTest
{
};

// A list row stays selected when the tree takes the focus: every command but
// Properties acts on that row, as Paste and the insert commands do.
TEST_F(MeditMain, CommandsActOnTheSelectedRowWhileTheTreeHasTheFocus)
{
    std::string path =
        WriteMenu("Focus.menu",
                  Lines({Root("M"), Root("S"), Item("s1"), Item("s2"), Item("s3"), "</menu>", "</menu>"}));
    CMedit ed;
    ASSERT_TRUE(ed.Start(path));
    ASSERT_TRUE(ed.SelectNode("S"));
    ASSERT_TRUE(ed.SelectRow("s3"));
    ASSERT_TRUE(ed.ClickTreeSpace());

    ASSERT_TRUE(ed.Post(IDM_PROPERTIES));
    HWND props = ed.Dialog("Properties");
    ASSERT_TRUE(props != nullptr);
    EXPECT_EQ("S", e2etest::TextOf(e2etest::Control(props, IDC_PROP_TEXT))) << "Properties takes the tree's";
    ASSERT_TRUE(DrvPressButton(props, IDCANCEL));
    ASSERT_EQ(TVD_OK, DrvWaitDestroyed(props, kTimeout));

    ASSERT_TRUE(ed.ClickTreeSpace());
    ASSERT_TRUE(ed.Do(IDM_COPY));
    EXPECT_EQ(Item("s3") + "\n", GetClipboard(kFormat));
    ASSERT_TRUE(ed.Do(IDM_CUT));
    EXPECT_EQ("s1|s2", ed.Rows());

    ASSERT_TRUE(ed.SelectRow("s1"));
    ASSERT_TRUE(ed.ClickTreeSpace());
    ASSERT_TRUE(ed.Post(IDM_DELETE));
    EXPECT_EQ("Confirm Delete: Are you sure you want to delete this menu item?", ed.Box(IDYES));
    EXPECT_EQ("s2", ed.Rows());
    EXPECT_EQ("M\n  S\n", ed.TreeText());
    EXPECT_EQ("S", ed.TreeSelection());
}

// --- Saving ------------------------------------------------------------------------------

TEST_F(MeditMain, LogoffAsksTheSaveQuestionAndEachAnswerHolds)
{
    std::string folder = File("logoff");
    CreateDirectoryA(folder.c_str(), nullptr);
    const std::string before = Lines({Root("M"), Item("one"), "</menu>"});
    const std::string after = Lines({Root("M"), Item("one"), "<menuseparator />", "</menu>"});
    std::string path = WriteMenu("logoff\\L.menu", before);
    CMedit ed;
    ASSERT_TRUE(ed.Start(path));
    ASSERT_TRUE(ed.SelectRow(0));
    ASSERT_TRUE(ed.Do(IDM_INSERTSEPARATOR));

    struct Case
    {
        int answer; // 0: no question is asked
        LRESULT result;
        const char* title;
        const std::string& file;
    } cases[] = {
        {IDCANCEL, FALSE, "Tarvin Menu Editor - [M]*", before},
        {IDNO, TRUE, "Tarvin Menu Editor - [M]*", before},
        {IDYES, TRUE, "Tarvin Menu Editor - [M]", after},
        {0, TRUE, "Tarvin Menu Editor - [M]", after},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(testing::Message() << "answer " << c.answer);
        std::future<LRESULT> ended = e2etest::QueryEndSession(ed.Main());
        if (c.answer)
        {
            EXPECT_EQ("Confirm: Do you want to save changes before closing this menu file?",
                      ed.Box(c.answer));
        }
        EXPECT_EQ(c.result, ended.get());
        EXPECT_TRUE(ed.NoBox());
        EXPECT_EQ(c.title, ed.Title());
        EXPECT_EQ(c.file, ReadBytes(path));
    }

    // A save that fails keeps the session waiting.
    ASSERT_TRUE(ed.Do(IDM_INSERTSEPARATOR));
    ASSERT_TRUE(DeleteFileA(path.c_str()));
    ASSERT_TRUE(RemoveDirectoryA(folder.c_str()));
    std::future<LRESULT> ended = e2etest::QueryEndSession(ed.Main());
    ed.Box(IDYES);
    EXPECT_EQ("Error: An error occured while writing the menu file.", ed.Box(IDOK));
    EXPECT_EQ(FALSE, ended.get());
    EXPECT_EQ("Tarvin Menu Editor - [M]*", ed.Title());
}

} // namespace

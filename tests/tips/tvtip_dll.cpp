// tvtip.dll as the editors use it: its exports, the shipped content, the
// dialog's texts, picture, Next and Previous, the "Show Tips" check box, and
// a missing or damaged tips file. The modal dialog runs on a second thread;
// this one drives it.
#include <windows.h>

#include <atomic>
#include <map>
#include <string>
#include <thread>
#include <vector>

#include "Tips.h"
#include "testutil.h"
#include "tvtip.h"
#include "wintestutil.h"

namespace
{

const char kClass[] = "_mh_TVTIPS_CLS__";
const char kKeyA[] = "Software\\Norvale\\Tarvin 2\\Tips Test A";
const char kKeyB[] = "Software\\Norvale\\Tarvin 2\\Tips Test B";
const RECT kStripRect = {8, 8, 56, 264};

class TipsDialog : public ::testing::Test
{
  protected:
    void SetUp() override
    {
        static int registered = InitTips(GetModuleHandleA(nullptr));
        ASSERT_EQ(1, registered);
        m_registry.Save(kKeyA, "Show Tips");
        m_registry.Save(kKeyB, "Show Tips");
        WriteBytes(m_file,
                   std::string("<?TarvinTips version=\"1.0\"?>\r\n<tipset name=\"A\" regpath=\"") + kKeyA +
                       "\">\r\n<tip text=\"Only tip of A\" />\r\n</tipset>\r\n<tipset name=\"B\" regpath=\"" +
                       kKeyB + "\">\r\n<tip text=\"one\" />\r\n<tip text=\"two two\" />\r\n" +
                       "<tip text=\"three three\\nand a second line\" />\r\n</tipset>\r\n");
    }
    void TearDown() override
    {
        if (m_dialog)
            PostMessageA(m_dialog, WM_CLOSE, 0, 0);
        if (m_thread.joinable())
            m_thread.join();
    }

    // Shows the dialog on its own thread; the dialog once it answers.
    HWND Open(const char* set, const char* title = nullptr)
    {
        m_data = {nullptr, GetModuleHandleA(nullptr), title, m_file.c_str(), set, m_picture.c_str()};
        m_thread = std::thread([this] { m_result = ShowTips(&m_data); });
        wintest::PumpUntil(
            [&] { return (m_dialog = wintest::FindTop(GetCurrentProcessId(), kClass, 0, false)); });
        DWORD_PTR answer;
        if (m_dialog)
            SendMessageTimeoutA(m_dialog, WM_NULL, 0, 0, SMTO_NORMAL, 5000, &answer);
        return m_dialog;
    }
    int Close(bool button)
    {
        if (button)
            Click(100);
        else
            PostMessageA(m_dialog, WM_CLOSE, 0, 0);
        m_thread.join();
        m_dialog = nullptr;
        return m_result;
    }
    void Click(int id)
    {
        SendMessageA(GetDlgItem(m_dialog, id), BM_CLICK, 0, 0);
    }
    // The tip's part of the dialog as painted.
    std::vector<DWORD> TipArea()
    {
        wintest::Pixels all = wintest::PrintedClient(m_dialog);
        std::vector<DWORD> tip;
        for (int y = 66; y < 260; y++)
            tip.insert(tip.end(), &all.bits[(size_t)y * all.width + 64],
                       &all.bits[(size_t)y * all.width + 304]);
        return tip;
    }

    wintest::RegRestorer m_registry;
    ScratchDir m_dir;
    std::string m_file = m_dir.Path("tvdt.sys"), m_picture = wintest::ProgramDir() + "tvtip.sys";
    TIPS_DATA m_data = {};
    std::thread m_thread;
    std::atomic<int> m_result{-100};
    HWND m_dialog = nullptr;
};

using wintest::TextOf;

TEST(TipsLibrary, ExportsInitTipsAndShowTipsUnderPlainNames)
{
    HMODULE dll = GetModuleHandleA("tvtip.dll");
    ASSERT_TRUE(dll);
    for (const char* name : {"InitTips", "ShowTips"})
        EXPECT_NE(nullptr, (void*)GetProcAddress(dll, name)) << name;
}

TEST(TipsLibrary, ShippedTipsHaveASetForEachEditorAndThePictureLoads)
{
    CTips tips;
    ASSERT_EQ(0, tips.Load((wintest::ProgramDir() + "tvdt.sys").c_str()));
    std::map<std::string, std::pair<std::string, unsigned>> sets;
    for (unsigned i = 0; i < tips.GetSetCount(); i++)
        sets[tips.GetSet(i)->GetName()] = {tips.GetSet(i)->GetRegPath(), tips.GetSet(i)->GetTips().GetSize()};
    EXPECT_EQ(3u, sets.size());
    for (std::string program : {"Editor", "Menu Editor", "Scheduler"})
    {
        auto set = sets.find("Tarvin " + program);
        ASSERT_NE(sets.end(), set) << program;
        EXPECT_EQ("Software\\Norvale\\Tarvin 2\\" + program, set->second.first);
        EXPECT_GE(set->second.second, 8u) << program;
    }
    HBITMAP picture = (HBITMAP)LoadImageA(nullptr, (wintest::ProgramDir() + "tvtip.sys").c_str(),
                                          IMAGE_BITMAP, 0, 0, LR_LOADFROMFILE);
    BITMAP bm = {};
    EXPECT_TRUE(picture && GetObjectA(picture, sizeof(bm), &bm) && bm.bmWidth == 48 && bm.bmHeight == 256);
    DeleteObject(picture);
}

// ShowTips comes back at once with 2, and no window ever shows.
TEST_F(TipsDialog, MissingOrDamagedTipsFileShowsNothing)
{
    static int shown;
    HHOOK hook = SetWindowsHookExA(
        WH_CALLWNDPROC,
        [](int code, WPARAM wParam, LPARAM lParam) -> LRESULT {
            CWPSTRUCT* msg = (CWPSTRUCT*)lParam;
            char name[64] = "";
            GetClassNameA(msg->hwnd, name, sizeof(name));
            shown += msg->message == WM_SHOWWINDOW && msg->wParam && strcmp(name, kClass) == 0;
            return CallNextHookEx(nullptr, code, wParam, lParam);
        },
        nullptr, GetCurrentThreadId());
    for (const char* bytes :
         {(const char*)nullptr, "", "MZ\x90\x01 binary", "<?TarvinTips version=\"2\"?>\r\n",
          "<?TarvinTips version=\"1\"?>\r\n<tip text=\"outside\" />\r\n", "<?TarvinTips version=\"1\"?>\r\n"})
    {
        SCOPED_TRACE(bytes ? bytes : "(no file)");
        DeleteFileA(m_file.c_str());
        if (bytes)
            WriteBytes(m_file, bytes);
        shown = 0;
        TIPS_DATA data = {nullptr, GetModuleHandleA(nullptr), "Tip", m_file.c_str(), "A", m_picture.c_str()};
        EXPECT_EQ(2, ShowTips(&data));
        EXPECT_EQ(0, shown);
    }
    UnhookWindowsHookEx(hook);
}

TEST_F(TipsDialog, ShowsItsTextsPictureHeadingAndTip)
{
    ASSERT_TRUE(Open("B"));
    EXPECT_EQ("Tarvin Tips DLLVERSION 1.01", TextOf(m_dialog));
    EXPECT_EQ("&Next Tip", TextOf(GetDlgItem(m_dialog, 101)));
    EXPECT_EQ("&Previous Tip", TextOf(GetDlgItem(m_dialog, 102)));
    EXPECT_EQ("Don't &show tips at startup.", TextOf(GetDlgItem(m_dialog, 103)));
    EXPECT_EQ("&Close", TextOf(GetDlgItem(m_dialog, 100)));
    // The check box's text is not cut where the font is wider than usual.
    HWND box = GetDlgItem(m_dialog, 103);
    HDC hdc = GetDC(box);
    HGDIOBJ old = SelectObject(hdc, GetStockObject(DEFAULT_GUI_FONT));
    SIZE text;
    GetTextExtentPoint32A(hdc, "Don't show tips at startup.", 27, &text);
    SelectObject(hdc, old);
    ReleaseDC(box, hdc);
    RECT rc;
    GetClientRect(box, &rc);
    EXPECT_GE(rc.right, text.cx + GetSystemMetrics(SM_CXMENUCHECK));

    wintest::Pixels all = wintest::PrintedClient(m_dialog);
    EXPECT_EQ(0, all.Count(kStripRect, RGB(255, 255, 255))) << "the picture fills the strip";
    EXPECT_GE(all.Count({64, 47, 304, 50}, RGB(12, 12, 212)), 2 * 240) << "the line under the heading";
    EXPECT_GT(all.Count({64, 16, 304, 42}, RGB(12, 12, 212)), 50) << "the heading in its colour";
    EXPECT_LT(all.Count({64, 66, 304, 260}, RGB(255, 255, 255)), 240 * 194) << "a tip is written";
    EXPECT_EQ(1, Close(true));

    // A title of the caller's, and no picture: the strip stays white.
    m_picture = m_dir.Path("missing.sys");
    ASSERT_TRUE(Open("B", "Tip of the Day"));
    EXPECT_EQ("Tip of the Day", TextOf(m_dialog));
    EXPECT_EQ(48 * 256, wintest::PrintedClient(m_dialog).Count(kStripRect, RGB(255, 255, 255)));
    EXPECT_EQ(0, Close(false));
}

TEST_F(TipsDialog, NextAndPreviousWrapRoundTheSet)
{
    ASSERT_TRUE(Open("b"));
    std::vector<std::vector<DWORD>> seen = {TipArea()};
    for (int i = 0; i < 3; i++)
    {
        Click(101);
        seen.push_back(TipArea());
    }
    EXPECT_TRUE(seen[0] != seen[1] && seen[1] != seen[2] && seen[0] != seen[2]) << "three different tips";
    EXPECT_TRUE(seen[3] == seen[0]) << "the fourth Next is back at the start";
    Click(102);
    EXPECT_TRUE(TipArea() == seen[2]);
    for (int i = 0; i < 3; i++)
        Click(102);
    EXPECT_TRUE(TipArea() == seen[2]) << "three times Previous goes round once";
}

// The box shows and writes "Show Tips" under the key of the set on show; an
// unknown set name shows the file's last set, so its key is the one written.
TEST_F(TipsDialog, CheckBoxKeepsShowTipsAtTheSetsKey)
{
    struct Case
    {
        const char* set;
        const char* key;
        DWORD stored; // 99: no value
    } cases[] = {{"A", kKeyA, 0}, {"A", kKeyA, 99}, {"no such set", kKeyB, 1}, {nullptr, kKeyA, 1}};
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.set ? c.set : "(first set)");
        wintest::DeleteRegValue(kKeyA, "Show Tips");
        wintest::DeleteRegValue(kKeyB, "Show Tips");
        if (c.stored != 99)
            wintest::SetRegDword(c.key, "Show Tips", c.stored);
        ASSERT_TRUE(Open(c.set));
        bool checked = c.stored == 0;
        EXPECT_EQ(checked ? BST_CHECKED : BST_UNCHECKED, IsDlgButtonChecked(m_dialog, 103));
        for (int i = 0; i < 2; i++)
        {
            Click(103);
            checked = !checked;
            EXPECT_EQ(checked ? 0 : 1, wintest::StoredDword(c.key, "Show Tips"));
        }
        EXPECT_EQ(-1, wintest::StoredDword(c.key == kKeyA ? kKeyB : kKeyA, "Show Tips"))
            << "the other set's key stays";
        EXPECT_EQ(0, Close(false));
    }
}

// A key name longer than the registry takes (255 characters): the write
// fails, and says so.
TEST_F(TipsDialog, AFailedRegistryWriteIsReportedWithItsCode)
{
    WriteBytes(m_file, "<?TarvinTips version=\"1\"?>\r\n<tipset name=\"C\" regpath=\"" +
                           std::string(258, 'k') + "\">\r\n<tip text=\"c\" />\r\n</tipset>\r\n");
    ASSERT_TRUE(Open("C"));
    // Posted: the box is modal in the dialog's thread.
    PostMessageA(GetDlgItem(m_dialog, 103), BM_CLICK, 0, 0);
    HWND box = nullptr;
    ASSERT_TRUE(wintest::PumpUntil([&] { return (box = wintest::FindTop(0, "#32770", "Error", false)); }));
    EXPECT_EQ("Cannot write registry entry.\n\nThe reported error code is: 1",
              TextOf(GetDlgItem(box, 0xFFFF)));
    PostMessageA(box, WM_COMMAND, IDOK, 0);
    EXPECT_TRUE(wintest::PumpUntil([&] { return !IsWindow(box); }));
    EXPECT_EQ(0, Close(false));
}

} // namespace

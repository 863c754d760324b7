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

    wintest::RegRestorer m_registry;
    ScratchDir m_dir;
    std::string m_file = m_dir.Path("tvdt.sys"), m_picture = wintest::ProgramDir() + "tvtip.sys";
    TIPS_DATA m_data = {};
    std::thread m_thread;
    std::atomic<int> m_result{-100};
    HWND m_dialog = nullptr;
};

using wintest::TextOf;

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

} // namespace

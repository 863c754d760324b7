// tvtip.dll as the editors use it: its exports, the dialog's texts, picture,
// Next and Previous, the "Show Tips" check box, and a missing or damaged
// tips file. The modal dialog runs on a second thread; this one drives it.
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
const COLORREF kStrip = RGB(30, 160, 90);

std::string TipsFile(const char* tipsOfB)
{
    return std::string("<?TarvinTips version=\"1.0\"?>\r\n") + "<tipset name=\"A\" regpath=\"" + kKeyA +
           "\">\r\n<tip text=\"Only tip of A\" />\r\n</tipset>\r\n<tipset name=\"B\" regpath=\"" + kKeyB + "\">\r\n" +
           tipsOfB + "</tipset>\r\n";
}

// A 48 x 256 bitmap file of one colour.
void WritePicture(const std::string& path, COLORREF colour)
{
    std::string pixels;
    for (int i = 0; i < 48 * 256; i++)
        pixels += std::string{(char)GetBValue(colour), (char)GetGValue(colour), (char)GetRValue(colour)};
    BITMAPINFOHEADER bih = {sizeof(bih), 48, 256, 1, 24, BI_RGB, (DWORD)pixels.size(), 0, 0, 0, 0};
    BITMAPFILEHEADER bfh = {0x4D42, (DWORD)(sizeof(bfh) + sizeof(bih) + pixels.size()), 0, 0,
                            sizeof(bfh) + sizeof(bih)};
    WriteBytes(path, std::string((char*)&bfh, sizeof(bfh)) + std::string((char*)&bih, sizeof(bih)) + pixels);
}

class TipsDialog : public ::testing::Test
{
  protected:
    void SetUp() override
    {
        static int registered = InitTips(GetModuleHandleA(nullptr));
        ASSERT_EQ(1, registered);
        m_registry.Save(kKeyA, "Show Tips");
        m_registry.Save(kKeyB, "Show Tips");
        m_file = m_dir.Path("tvdt.sys");
        m_picture = m_dir.Path("tvtip.sys");
        WriteBytes(m_file, TipsFile("<tip text=\"one\" />\r\n<tip text=\"two two\" />\r\n"
                                    "<tip text=\"three three three\\nand a second line\" />\r\n"));
        WritePicture(m_picture, kStrip);
    }
    void TearDown() override
    {
        if (m_thread.joinable())
        {
            if (m_dialog)
                PostMessageA(m_dialog, WM_CLOSE, 0, 0);
            m_thread.join();
        }
    }

    // Shows the dialog on its own thread and waits until it is up.
    HWND Open(const char* set, const char* title = nullptr)
    {
        m_set = set ? set : "";
        m_data = {nullptr, GetModuleHandleA(nullptr), title, m_file.c_str(), set ? m_set.c_str() : nullptr,
                  m_picture.c_str()};
        m_thread = std::thread([this] { m_result = ShowTips(&m_data); });
        wintest::PumpUntil([&] { return (m_dialog = wintest::FindTop(GetCurrentProcessId(), kClass, nullptr, false)); });
        DWORD_PTR answer;
        if (m_dialog)
            SendMessageTimeoutA(m_dialog, WM_NULL, 0, 0, SMTO_NORMAL, 5000, &answer);
        return m_dialog;
    }
    int Result()
    {
        m_thread.join();
        return m_result;
    }
    std::string Text(int id)
    {
        char text[128] = "<none>";
        HWND control = GetDlgItem(m_dialog, id);
        if (control)
            GetWindowTextA(control, text, sizeof(text));
        return text;
    }
    void Click(int id)
    {
        SendMessageA(GetDlgItem(m_dialog, id), BM_CLICK, 0, 0);
    }
    DWORD ShowTipsValue(const char* key)
    {
        DWORD value = 99, size = sizeof(value);
        RegGetValueA(HKEY_CURRENT_USER, key, "Show Tips", RRF_RT_REG_DWORD, nullptr, &value, &size);
        return value;
    }
    // The tip's part of the dialog as painted.
    wintest::Pixels TipArea()
    {
        wintest::Pixels all = wintest::PrintedClient(m_dialog);
        wintest::Pixels tip;
        tip.width = 240;
        tip.height = 194;
        for (int y = 66; y < 260; y++)
            for (int x = 64; x < 304; x++)
                tip.bits.push_back(all.bits[(size_t)y * all.width + x]);
        return tip;
    }

    wintest::RegRestorer m_registry;
    ScratchDir m_dir;
    std::string m_file, m_picture, m_set;
    TIPS_DATA m_data = {};
    std::thread m_thread;
    std::atomic<int> m_result{-100};
    HWND m_dialog = nullptr;
};

TEST(TipsLibrary, ExportsExactlyInitTipsAndShowTips)
{
    BYTE* base = (BYTE*)GetModuleHandleA("tvtip.dll");
    ASSERT_TRUE(base);
    IMAGE_NT_HEADERS* nt = (IMAGE_NT_HEADERS*)(base + ((IMAGE_DOS_HEADER*)base)->e_lfanew);
    IMAGE_DATA_DIRECTORY dir = nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_EXPORT];
    ASSERT_NE(0u, dir.VirtualAddress);
    IMAGE_EXPORT_DIRECTORY* exports = (IMAGE_EXPORT_DIRECTORY*)(base + dir.VirtualAddress);
    std::vector<std::string> names;
    for (DWORD i = 0; i < exports->NumberOfNames; i++)
        names.push_back((char*)(base + ((DWORD*)(base + exports->AddressOfNames))[i]));
    EXPECT_EQ((std::vector<std::string>{"InitTips", "ShowTips"}), names);
    EXPECT_EQ(2u, exports->NumberOfFunctions);
}

TEST(TipsLibrary, ShippedTipsHaveASetForEachEditorAndThePictureLoads)
{
    CTips tips;
    ASSERT_EQ(0, tips.Load((wintest::ProgramDir() + "tvdt.sys").c_str()));
    std::map<std::string, std::pair<std::string, unsigned>> sets;
    for (unsigned i = 0; i < tips.GetSetCount(); i++)
        sets[tips.GetSet(i)->GetName()] = {tips.GetSet(i)->GetRegPath(), tips.GetSet(i)->GetTips().GetSize()};
    EXPECT_EQ(3u, sets.size());
    for (const char* program : {"Editor", "Menu Editor", "Scheduler"})
    {
        SCOPED_TRACE(program);
        auto set = sets.find(std::string("Tarvin ") + program);
        ASSERT_NE(sets.end(), set);
        EXPECT_EQ(std::string("Software\\Norvale\\Tarvin 2\\") + program, set->second.first);
        EXPECT_GE(set->second.second, 8u);
    }
    HBITMAP picture = (HBITMAP)LoadImageA(nullptr, (wintest::ProgramDir() + "tvtip.sys").c_str(), IMAGE_BITMAP, 0,
                                          0, LR_LOADFROMFILE);
    ASSERT_TRUE(picture);
    BITMAP bm;
    GetObjectA(picture, sizeof(bm), &bm);
    EXPECT_EQ(48, bm.bmWidth);
    EXPECT_EQ(256, bm.bmHeight);
    DeleteObject(picture);
}

// Nothing at all appears for a file the dialog cannot use, and ShowTips
// comes back at once with 2.
TEST_F(TipsDialog, MissingOrDamagedTipsFileShowsNothing)
{
    struct Case
    {
        const char* what;
        const char* bytes; // null: no file
    } cases[] = {
        {"missing", nullptr},
        {"empty", ""},
        {"not a tips file", "MZ\x90\x00binary"},
        {"version 2", "<?TarvinTips version=\"2.0\"?>\r\n<tipset name=\"A\" regpath=\"k\">\r\n"},
        {"no version", "<?TarvinTips?>\r\n"},
        {"tip outside a set", "<?TarvinTips version=\"1.0\"?>\r\n<tip text=\"lost\" />\r\n"},
        {"header only", "<?TarvinTips version=\"1.0\"?>\r\n"},
    };
    static int shown;
    HHOOK hook = SetWindowsHookExA(
        WH_CALLWNDPROC,
        [](int code, WPARAM wParam, LPARAM lParam) -> LRESULT {
            CWPSTRUCT* msg = (CWPSTRUCT*)lParam;
            char name[64] = "";
            GetClassNameA(msg->hwnd, name, sizeof(name));
            if (msg->message == WM_SHOWWINDOW && msg->wParam && strcmp(name, kClass) == 0)
                shown++;
            return CallNextHookEx(nullptr, code, wParam, lParam);
        },
        nullptr, GetCurrentThreadId());
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.what);
        DeleteFileA(m_file.c_str());
        if (c.bytes)
            WriteBytes(m_file, c.bytes);
        shown = 0;
        TIPS_DATA data = {nullptr, GetModuleHandleA(nullptr), "Tip of the Day", m_file.c_str(), "A",
                          m_picture.c_str()};
        EXPECT_EQ(2, ShowTips(&data));
        EXPECT_EQ(0, shown);
    }
    UnhookWindowsHookEx(hook);
}

TEST_F(TipsDialog, ShowsItsTextsPictureHeadingAndTip)
{
    ASSERT_TRUE(Open("B"));
    char title[64];
    GetWindowTextA(m_dialog, title, sizeof(title));
    EXPECT_STREQ("Tarvin Tips DLLVERSION 1.01", title);
    EXPECT_EQ("&Next Tip", Text(101));
    EXPECT_EQ("&Previous Tip", Text(102));
    EXPECT_EQ("Don't &show tips at startup.", Text(103));
    EXPECT_EQ("&Close", Text(100));
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
    RECT strip = {8, 8, 56, 264}, line = {64, 47, 304, 50}, heading = {64, 16, 304, 42};
    EXPECT_EQ(48 * 256, all.Count(strip, kStrip));
    EXPECT_GE(all.Count(line, RGB(12, 12, 212)), 2 * 240);
    EXPECT_GT(all.Count(heading, RGB(12, 12, 212)), 50) << "the heading in its colour";
    wintest::Pixels tip = TipArea();
    RECT whole = {0, 0, tip.width, tip.height};
    EXPECT_LT(tip.Count(whole, RGB(255, 255, 255)), tip.width * tip.height) << "a tip is written";

    Click(100);
    EXPECT_EQ(1, Result());
    m_dialog = nullptr;

    // A title of the caller's, and no picture: the strip stays white.
    DeleteFileA(m_picture.c_str());
    ASSERT_TRUE(Open("B", "Tip of the Day"));
    GetWindowTextA(m_dialog, title, sizeof(title));
    EXPECT_STREQ("Tip of the Day", title);
    EXPECT_EQ(48 * 256, wintest::PrintedClient(m_dialog).Count(strip, RGB(255, 255, 255)));
    PostMessageA(m_dialog, WM_CLOSE, 0, 0);
    EXPECT_EQ(0, Result());
}

TEST_F(TipsDialog, NextAndPreviousWrapRoundTheSet)
{
    ASSERT_TRUE(Open("b"));
    std::vector<wintest::Pixels> seen = {TipArea()};
    for (int i = 0; i < 3; i++)
    {
        Click(101);
        seen.push_back(TipArea());
    }
    EXPECT_TRUE(seen[0] != seen[1] && seen[1] != seen[2] && seen[0] != seen[2]) << "three different tips";
    EXPECT_TRUE(seen[3] == seen[0]) << "the fourth Next is back at the start";
    Click(102);
    EXPECT_TRUE(TipArea() == seen[2]);
    Click(102);
    Click(102);
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
            EXPECT_EQ(checked ? 0u : 1u, ShowTipsValue(c.key));
        }
        EXPECT_EQ(99u, ShowTipsValue(c.key == kKeyA ? kKeyB : kKeyA)) << "the other set's key stays";
        PostMessageA(m_dialog, WM_CLOSE, 0, 0);
        EXPECT_EQ(0, Result());
        m_dialog = nullptr;
    }
}

} // namespace

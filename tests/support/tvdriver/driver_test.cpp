// The driver against the real target application, in-process and through
// tvdriver.exe.
#include <windows.h>
#include <commctrl.h>
#include <set>
#include <string>

#include "e2e/driver.h"
#include "support/tvtarget/tvtarget.h"
#include "testutil.h"
#include "strutils.h"

namespace
{

std::string Program(const char* name)
{
    char path[MAX_PATH];
    EXPECT_TRUE(DrvProgramPath(name, path, sizeof(path)));
    return path;
}

// Waits until the record file holds the line.
::testing::AssertionResult RecordHas(const std::string& record, const std::string& line,
                                     DWORD timeoutMs = TVD_DEFAULT_TIMEOUT)
{
    std::string want = line + "\r\n";
    if (DrvWaitFor([&]() { return ReadBytes(record).find(want) != std::string::npos; }, timeoutMs) == TVD_OK)
        return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << "no line \"" << line << "\" in:\n" << ReadBytes(record);
}

std::string RecordValue(const std::string& record, const std::string& key)
{
    std::string text = ReadBytes(record);
    size_t at = text.find(key + "=");
    if (at == std::string::npos)
        return "<missing>";
    at += key.size() + 1;
    return text.substr(at, text.find("\r\n", at) - at);
}

class TargetTest : public ::testing::Test
{
  protected:
    // Starts tvtarget with the record file and args, and waits for its window.
    HWND Start(const std::string& args, const char* title, int show = -1, const char* dir = NULL)
    {
        std::string all = "-record=\"" + m_record + "\" " + args;
        EXPECT_TRUE(m_target.Start(Program("tvtarget.exe").c_str(), all.c_str(), dir, show));
        HWND hwnd = NULL;
        DrvWindowSpec spec = DrvSpec(TARGET_CLASS, title, TVD_MATCH_EXACT, m_target.Pid());
        spec.includeHidden = true;
        EXPECT_EQ(TVD_OK, DrvWaitWindow(spec, TVD_DEFAULT_TIMEOUT, &hwnd));
        // The record is written once every window is up.
        EXPECT_EQ(TVD_OK,
                  DrvWaitFor([&]() { return ReadBytes(m_record).find("windows=") != std::string::npos; },
                             TVD_DEFAULT_TIMEOUT));
        return hwnd;
    }

    ScratchDir m_dir;
    std::string m_record = m_dir.Path("record.txt");
    CDrvProcess m_target;
};

} // namespace

TEST(DriverWait, PollsUntilTheConditionOrTheDeadline)
{
    int calls = 0;
    EXPECT_EQ(TVD_OK, DrvWaitFor([&]() { return ++calls == 1; }, 1000));
    EXPECT_EQ(1, calls);

    calls = 0;
    EXPECT_EQ(TVD_OK, DrvWaitFor([&]() { return ++calls == 3; }, 5000, 10));
    EXPECT_EQ(3, calls);

    ULONGLONG start = GetTickCount64();
    EXPECT_EQ(TVD_TIMEOUT, DrvWaitFor([]() { return false; }, 200));
    ULONGLONG took = GetTickCount64() - start;
    EXPECT_GE(took, 190u);
    EXPECT_LT(took, 5000u);
}

TEST_F(TargetTest, FindsWindowsByClassTitleAndProcess)
{
    HWND hwnd = Start("-title=\"Driver Target\" -title=\"Second Window\"", "Driver Target");
    ASSERT_NE(nullptr, hwnd);
    EXPECT_EQ(m_target.Pid(), DrvWindowProcess(hwnd));

    const struct
    {
        DrvWindowSpec spec;
        bool found;
    } cases[] = {
        {DrvSpec(NULL, "Driver Target"), true},
        {DrvSpec(NULL, "Driver Tar"), false},
        {DrvSpec(NULL, "Driver Tar", TVD_MATCH_SUBSTRING), true},
        {DrvSpec(NULL, "driver target", TVD_MATCH_SUBSTRING), false},
        {DrvSpec(NULL, "driver TARGET", TVD_MATCH_NOCASE), true},
        {DrvSpec("tvtargetwindow", "Driver Target"), true},
        {DrvSpec("Other Class", "Driver Target"), false},
        {DrvSpec(TARGET_CLASS, NULL, TVD_MATCH_EXACT, m_target.Pid()), true},
        {DrvSpec(TARGET_CLASS, "Driver Target", TVD_MATCH_EXACT, GetCurrentProcessId()), false},
    };
    for (const auto& c : cases)
    {
        HWND found = DrvFindWindow(c.spec);
        EXPECT_EQ(c.found, found != NULL)
            << (c.spec.className ? c.spec.className : "-") << " / " << (c.spec.title ? c.spec.title : "-");
    }
    HWND both[4];
    EXPECT_EQ(2, DrvFindWindows(DrvSpec(TARGET_CLASS, NULL, TVD_MATCH_EXACT, m_target.Pid()), both, 4));

    ULONGLONG start = GetTickCount64();
    HWND none = (HWND)1;
    EXPECT_EQ(TVD_TIMEOUT, DrvWaitWindow(DrvSpec(NULL, "No Such Window"), 300, &none));
    EXPECT_EQ(nullptr, none);
    EXPECT_GE(GetTickCount64() - start, 290u);
}

TEST_F(TargetTest, HiddenWindowsAreFoundOnlyWhenAskedFor)
{
    Start("-hidden -title=\"Hidden Target\"", NULL);
    DrvWindowSpec spec = DrvSpec(TARGET_CLASS, "Hidden Target");
    EXPECT_EQ(nullptr, DrvFindWindow(spec));
    EXPECT_EQ(TVD_OK, DrvWaitWindowGone(spec, 100));
    spec.includeHidden = true;
    HWND hwnd = NULL;
    EXPECT_EQ(TVD_OK, DrvWaitWindow(spec, 1000, &hwnd));
    EXPECT_FALSE(IsWindowVisible(hwnd));
    EXPECT_EQ("0", RecordValue(m_record, "visible"));
}

TEST_F(TargetTest, CloseEndsTheTargetWithItsExitCode)
{
    HWND hwnd = Start("-title=\"Closing Target\" -exitcode=7", "Closing Target");
    ASSERT_TRUE(DrvClose(hwnd));
    EXPECT_EQ(TVD_OK, DrvWaitWindowGone(DrvSpec(TARGET_CLASS, "Closing Target"), 5000));
    EXPECT_EQ(TVD_OK, DrvWaitDestroyed(hwnd, 5000));
    DWORD code = 0;
    EXPECT_EQ(TVD_OK, m_target.WaitExit(5000, &code));
    EXPECT_EQ(7u, code);
    EXPECT_TRUE(RecordHas(m_record, "event=close"));
    EXPECT_TRUE(RecordHas(m_record, "event=exit:7"));
}

TEST_F(TargetTest, RefusedCloseLeavesTheWindowUp)
{
    HWND hwnd = Start("-title=\"Stubborn Target\" -refuseclose", "Stubborn Target");
    ASSERT_TRUE(DrvClose(hwnd));
    EXPECT_TRUE(RecordHas(m_record, "event=close-refused"));
    EXPECT_EQ(TVD_TIMEOUT, DrvWaitHidden(hwnd, 300));
    EXPECT_TRUE(m_target.IsRunning());
    EXPECT_TRUE(DrvIsReady(hwnd));
}

TEST_F(TargetTest, StartRecordsCommandLineFolderAndShowCommand)
{
    ScratchDir work;
    const struct
    {
        int show;
        const char* recorded;
        const char* zoomed;
        const char* iconic;
    } cases[] = {
        {-1, "-1", "0", "0"},
        {SW_SHOWMAXIMIZED, "3", "1", "0"},
        {SW_SHOWMINNOACTIVE, "7", "0", "1"},
    };
    for (const auto& c : cases)
    {
        SCOPED_TRACE("show " + std::to_string(c.show));
        DeleteFileA(m_record.c_str());
        std::string folder = work.Root().string();
        Start("-title=\"Spaced Title\" -exitcode=3", "Spaced Title", c.show, folder.c_str());
        EXPECT_EQ(c.recorded, RecordValue(m_record, "show"));
        EXPECT_EQ(c.zoomed, RecordValue(m_record, "zoomed"));
        EXPECT_EQ(c.iconic, RecordValue(m_record, "iconic"));
        EXPECT_EQ(0, StrCompareNoCase(folder.c_str(), RecordValue(m_record, "cwd").c_str()))
            << RecordValue(m_record, "cwd");
        EXPECT_NE(std::string::npos,
                  RecordValue(m_record, "cmdline").find("-title=\"Spaced Title\" -exitcode=3"));
        EXPECT_EQ(std::to_string(m_target.Pid()), RecordValue(m_record, "pid"));
        ASSERT_TRUE(m_target.Kill(5));
        DWORD code = 0;
        EXPECT_EQ(TVD_OK, m_target.WaitExit(1000, &code));
        EXPECT_EQ(5u, code);
        m_target.Detach();
    }
}

TEST_F(TargetTest, ReadsTheControlsOfAnotherProcess)
{
    HWND top = Start("-title=\"Control Target\" -controls", "Control Target");
    char text[256];
    EXPECT_EQ(14, DrvGetText(top, text, sizeof(text)));
    EXPECT_STREQ("Control Target", text);

    HWND list = DrvFindChildById(top, TARGET_ID_LISTVIEW);
    ASSERT_NE(nullptr, list);
    EXPECT_EQ(list, DrvFindChild(top, WC_LISTVIEWA, NULL));
    EXPECT_EQ(3, DrvListViewRowCount(list));
    EXPECT_EQ(3, DrvListViewColumnCount(list));
    const char* cells[3][3] = {{"alpha", "1", "first"}, {"beta", "2", ""}, {"gamma", "3", "third row"}};
    for (int r = 0; r < 3; r++)
    {
        for (int c = 0; c < 3; c++)
        {
            ASSERT_TRUE(DrvListViewText(list, r, c, text, sizeof(text))) << r << "," << c;
            EXPECT_STREQ(cells[r][c], text) << r << "," << c;
        }
    }
    EXPECT_FALSE(DrvListViewText(list, 3, 0, text, sizeof(text)));
    EXPECT_FALSE(DrvListViewText(list, -1, 0, text, sizeof(text)));
    char small[4];
    ASSERT_TRUE(DrvListViewText(list, 2, 2, small, sizeof(small)));
    EXPECT_STREQ("thi", small);
    EXPECT_EQ(-1, DrvListViewSelected(list));
    ASSERT_TRUE(DrvListViewSelect(list, 1));
    EXPECT_EQ(1, DrvListViewSelected(list));
    ASSERT_TRUE(DrvListViewSelect(list, 2));
    EXPECT_EQ(2, DrvListViewSelected(list));
    EXPECT_EQ(0, DrvListViewState(list, 1, LVIS_SELECTED));
    EXPECT_FALSE(DrvListViewSelect(list, 3));

    HWND tree = DrvFindChildById(top, TARGET_ID_TREE);
    ASSERT_NE(nullptr, tree);
    char dump[512];
    ASSERT_TRUE(DrvTreeDump(tree, dump, sizeof(dump)));
    EXPECT_STREQ("Root\n  Child A\n    Grandchild\n  Child B\nOther\n", dump);
    EXPECT_FALSE(DrvTreeDump(tree, dump, 10));
    HTREEITEM grandchild = DrvTreeFind(tree, "Grandchild");
    ASSERT_NE(nullptr, grandchild);
    ASSERT_TRUE(DrvTreeSelect(tree, grandchild));
    EXPECT_EQ(grandchild, DrvTreeSelection(tree));
    EXPECT_EQ(nullptr, DrvTreeFind(tree, "Child"));

    HWND status = DrvFindChildById(top, TARGET_ID_STATUS);
    ASSERT_EQ(3, DrvStatusPartCount(status));
    const char* parts[] = {"Ready", "Part two", ""};
    for (int i = 0; i < 3; i++)
    {
        ASSERT_TRUE(DrvStatusText(status, i, text, sizeof(text)));
        EXPECT_STREQ(parts[i], text);
    }
    EXPECT_FALSE(DrvStatusText(status, 3, text, sizeof(text)));

    HWND combo = DrvFindChildById(top, TARGET_ID_COMBO);
    EXPECT_EQ(3, DrvComboCount(combo));
    EXPECT_EQ(1, DrvComboSelected(combo));
    ASSERT_TRUE(DrvComboText(combo, 2, text, sizeof(text)));
    EXPECT_STREQ("Three", text);
    EXPECT_FALSE(DrvComboText(combo, 5, text, sizeof(text)));
    HWND listBox = DrvFindChildById(top, TARGET_ID_LISTBOX);
    EXPECT_EQ(2, DrvListBoxCount(listBox));
    ASSERT_TRUE(DrvListBoxText(listBox, 1, small, sizeof(small)));
    EXPECT_STREQ("sec", small);

    HWND edit = DrvFindChildById(top, TARGET_ID_EDIT);
    EXPECT_EQ(9, DrvGetText(edit, text, sizeof(text)));
    EXPECT_STREQ("edit text", text);
    ASSERT_TRUE(DrvSetText(edit, "changed"));
    DrvGetText(edit, text, sizeof(text));
    EXPECT_STREQ("changed", text);
}

TEST_F(TargetTest, ButtonsAndCommandsReachTheTarget)
{
    HWND top = Start("-title=\"Click Target\" -controls", "Click Target");
    ASSERT_TRUE(DrvPressButton(top, TARGET_ID_BUTTON));
    EXPECT_TRUE(RecordHas(m_record, "event=button:1001"));
    ASSERT_TRUE(DrvClickButtonText(top, "Press Me"));
    EXPECT_TRUE(DrvWaitFor(
                    [&]() {
                        std::string r = ReadBytes(m_record);
                        return r.find("event=button:1001") != r.rfind("event=button:1001");
                    },
                    5000) == TVD_OK);
    EXPECT_FALSE(DrvPressButton(top, TARGET_ID_DISABLED));
    EXPECT_FALSE(DrvClickButtonText(top, "No Such Button"));
    ASSERT_TRUE(DrvPostCommand(top, 40001));
    EXPECT_TRUE(RecordHas(m_record, "event=command:40001"));
    EXPECT_EQ(std::string::npos, ReadBytes(m_record).find("button:1007"));
}

TEST_F(TargetTest, MessageBoxesAreReadAndAnswered)
{
    for (int answer : {IDYES, IDNO, IDCANCEL})
    {
        SCOPED_TRACE(answer);
        DeleteFileA(m_record.c_str());
        Start("-title=\"Asking Target\" -msgbox=\"Proceed with the test?\"", "Asking Target");
        HWND box = NULL;
        ASSERT_EQ(TVD_OK, DrvWaitMessageBox(TARGET_MSGBOX_CAPTION, m_target.Pid(), 5000, &box));
        char text[256];
        ASSERT_TRUE(DrvMessageBoxText(box, text, sizeof(text)));
        EXPECT_STREQ("Proceed with the test?", text);
        ASSERT_TRUE(DrvPressButton(box, answer));
        EXPECT_EQ(TVD_OK, DrvWaitDestroyed(box, 5000));
        EXPECT_TRUE(RecordHas(m_record, "event=msgbox:" + std::to_string(answer)));
        ASSERT_TRUE(m_target.Kill());
        m_target.Detach();
    }
}

namespace
{

// Two targets with tray icons; the first one's icon is found by its tip and
// clicked every way, and only the first target hears of it.
void CheckTrayIcons(const std::string& record, CDrvProcess& first, bool desktop)
{
    EXPECT_TRUE(
        first.Start(Program("tvtarget.exe").c_str(),
                    ("-record=\"" + record + "\" -title=\"Tray Target\" -tray=\"Driver Tray Tip\"").c_str()));
    DrvTrayIcon icon;
    ASSERT_EQ(TVD_OK,
              DrvWaitFor([&]() { return DrvFindTrayIcon("Driver Tray", &icon); }, TVD_DEFAULT_TIMEOUT));
    ScratchDir otherDir;
    std::string otherRecord = otherDir.Path("record.txt");
    CDrvProcess other;
    ASSERT_TRUE(
        other.Start(Program("tvtarget.exe").c_str(),
                    ("-record=\"" + otherRecord + "\" -title=\"Other Tray\" -tray=\"Second Icon\"").c_str()));
    DrvTrayIcon second;
    ASSERT_EQ(TVD_OK,
              DrvWaitFor([&]() { return DrvFindTrayIcon("Second Icon", &second); }, TVD_DEFAULT_TIMEOUT));

    if (desktop)
    {
        HWND taskbar = FindWindowA("Shell_TrayWnd", NULL);
        EXPECT_TRUE(taskbar && IsWindowVisible(taskbar)) << "not a virtual desktop";
        EXPECT_EQ(taskbar, icon.window);
        EXPECT_EQ(nullptr, FindWindowA("__winex11_standalone_tray", NULL));
    }
    // The standalone tray adds icons to the right, the taskbar to the left.
    DrvTrayIcon icons[8];
    ASSERT_EQ(2, DrvTrayIcons(icons, 8));
    std::set<std::string> tips;
    for (int i = 0; i < 2; i++)
    {
        char tip[128];
        if (DrvTrayIconTip(icons[i], tip, sizeof(tip)))
            tips.insert(tip);
    }
    EXPECT_EQ((std::set<std::string>{"Driver Tray Tip", "Second Icon"}), tips);
    POINT left = icons[0].at, right = icons[1].at;
    ClientToScreen(icons[0].window, &left);
    ClientToScreen(icons[1].window, &right);
    EXPECT_LT(left.x, right.x);
    EXPECT_TRUE(second.window != icon.window || second.at.x != icon.at.x);
    DrvTrayIcon none;
    EXPECT_FALSE(DrvFindTrayIcon("No Such Tip", &none));

    const struct
    {
        int how;
        UINT last;
    } clicks[] = {{TVD_CLICK_LEFT, WM_LBUTTONUP},
                  {TVD_CLICK_RIGHT, WM_RBUTTONUP},
                  {TVD_CLICK_DOUBLE, WM_LBUTTONDBLCLK}};
    for (const auto& c : clicks)
    {
        ASSERT_TRUE(DrvClickTrayIcon(icon, c.how));
        EXPECT_TRUE(RecordHas(record, "event=tray:" + std::to_string(c.last))) << c.how;
    }
    EXPECT_EQ(std::string::npos, ReadBytes(otherRecord).find("event=tray"));

    // The icon goes with its program.
    ASSERT_TRUE(DrvClose(DrvFindWindow(DrvSpec(TARGET_CLASS, "Tray Target"))));
    EXPECT_EQ(TVD_OK,
              DrvWaitFor([&]() { return !DrvFindTrayIcon("Driver Tray", &icon); }, TVD_DEFAULT_TIMEOUT));
}

} // namespace

TEST_F(TargetTest, TrayIconsAreFoundByTipAndClicked)
{
    CheckTrayIcons(m_record, m_target, false);
}

// Run by its own test in a prefix whose first program is this one: the
// virtual desktop is chosen when Wine's desktop process starts.
TEST_F(TargetTest, TrayIconsInTheVirtualDesktopTaskbar)
{
    if (!getenv("TVDRIVER_DESKTOP_TRAY"))
        GTEST_SKIP() << "needs a fresh prefix: set TVDRIVER_DESKTOP_TRAY";
    HKEY key;
    ASSERT_EQ(ERROR_SUCCESS, RegCreateKeyA(HKEY_CURRENT_USER, "Software\\Wine\\Explorer", &key));
    RegSetValueExA(key, "Desktop", 0, REG_SZ, (const BYTE*)"Default", 8);
    RegCloseKey(key);
    ASSERT_EQ(ERROR_SUCCESS, RegCreateKeyA(HKEY_CURRENT_USER, "Software\\Wine\\Explorer\\Desktops", &key));
    RegSetValueExA(key, "Default", 0, REG_SZ, (const BYTE*)"1024x768", 9);
    RegCloseKey(key);

    CheckTrayIcons(m_record, m_target, true);
}

TEST_F(TargetTest, MemoryOfAnotherProcess)
{
    Start("-title=\"Small Target\"", "Small Target");
    CDrvProcess big;
    ASSERT_TRUE(big.Start(Program("tvtarget.exe").c_str(), "-title=\"Big Target\" -memory=65536"));
    ASSERT_EQ(TVD_OK, DrvWaitWindow(DrvSpec(TARGET_CLASS, "Big Target"), TVD_DEFAULT_TIMEOUT, NULL));

    DrvMemoryInfo small = {}, large = {};
    ASSERT_TRUE(DrvProcessMemory(m_target.Pid(), &small));
    ASSERT_TRUE(DrvProcessMemory(big.Pid(), &large));
    EXPECT_GT(small.workingSet, 0u);
    EXPECT_GE(small.peakWorkingSet, small.workingSet);
    EXPECT_GE(large.workingSet, small.workingSet + 60 * 1024 * 1024);
    EXPECT_GE(large.privateBytes, small.privateBytes + 60 * 1024 * 1024);
    EXPECT_FALSE(DrvProcessMemory(0xFFFFFFF0, &small));
}

TEST_F(TargetTest, CommandLineDriver)
{
    HWND top = Start("-title=\"CLI Target\" -controls -msgbox=\"CLI question\"", "CLI Target");
    const std::string driver = Program("tvdriver.exe");
    const std::string pid = std::to_string(m_target.Pid());
    const struct
    {
        std::string args;
        DWORD exitCode;
        std::string output; // expected whole output, or a part of it after "~"
    } cases[] = {
        {"msgbox -title=\"" TARGET_MSGBOX_CAPTION "\" -pid=" + pid + " -press=IDNO", 0, "CLI question\n"},
        {"find -title=\"CLI Target\"", 0, "~pid=" + pid + " class=" TARGET_CLASS " title=CLI Target\n"},
        {"find -title=\"CLI Tar\" -match=sub -pid=" + pid, 0, "~title=CLI Target\n"},
        {"find -title=\"Nothing Like It\" -timeout=200", 2, ""},
        {"gone -title=\"Nothing Like It\" -timeout=200", 0, ""},
        {"gone -title=\"CLI Target\" -timeout=200", 2, ""},
        {"listview -title=\"CLI Target\"", 0, "alpha\t1\tfirst\nbeta\t2\t\ngamma\t3\tthird row\n"},
        {"tree -title=\"CLI Target\"", 0, "Root\n  Child A\n    Grandchild\n  Child B\nOther\n"},
        {"status -class=" TARGET_CLASS " -pid=" + pid, 0, "Ready\nPart two\n\n"},
        {"text -title=\"CLI Target\" -id=1006", 0, "edit text\n"},
        {"text -title=\"CLI Target\"", 0, "CLI Target\n"},
        {"settext -title=\"CLI Target\" -id=1006 -value=\"new text\"", 0, ""},
        {"text -title=\"CLI Target\" -id=1006", 0, "new text\n"},
        {"text -title=\"CLI Target\" -id=4242", 1, ""},
        {"click -title=\"CLI Target\" -text=\"Press Me\"", 0, ""},
        {"click -title=\"CLI Target\" -id=1007", 1, ""},
        {"command -title=\"CLI Target\" -cmd=40002", 0, ""},
        {"memory -pid=" + pid, 0, "~workingset="},
        {"find", 1, ""},
        {"nonsense", 1, ""},
        {"", 1, ""},
    };
    for (const auto& c : cases)
    {
        DWORD code = 99;
        char out[4096];
        ASSERT_EQ(TVD_OK, DrvRun(driver.c_str(), c.args.c_str(), 20000, &code, out, sizeof(out))) << c.args;
        EXPECT_EQ(c.exitCode, code) << c.args << "\n" << out;
        if (!c.output.empty() && c.output[0] == '~')
        {
            EXPECT_NE(std::string::npos, std::string(out).find(c.output.substr(1))) << c.args << "\n" << out;
        }
        else if (c.exitCode == 0)
        {
            EXPECT_EQ(c.output, out) << c.args;
        }
    }
    EXPECT_TRUE(RecordHas(m_record, "event=msgbox:7"));
    EXPECT_TRUE(RecordHas(m_record, "event=button:1001"));
    EXPECT_TRUE(RecordHas(m_record, "event=command:40002"));

    char hwndArg[64];
    StrFormat(hwndArg, sizeof(hwndArg), "close -hwnd=0x%llx", (unsigned long long)(ULONG_PTR)top);
    DWORD code = 99;
    ASSERT_EQ(TVD_OK, DrvRun(driver.c_str(), hwndArg, 20000, &code, NULL, 0));
    EXPECT_EQ(0u, code);
    EXPECT_EQ(TVD_OK, m_target.WaitExit(5000));
}

TEST(DriverProcess, DestructionEndsAProgramStillRunning)
{
    HANDLE watch = NULL;
    {
        CDrvProcess p;
        ASSERT_TRUE(p.Start(Program("tvtarget.exe").c_str(), "-title=\"Left Running\""));
        ASSERT_EQ(TVD_OK, DrvWaitWindow(DrvSpec(TARGET_CLASS, "Left Running"), TVD_DEFAULT_TIMEOUT, NULL));
        watch = OpenProcess(SYNCHRONIZE, FALSE, p.Pid());
        ASSERT_NE(nullptr, watch);
        EXPECT_EQ(TVD_TIMEOUT, p.WaitExit(100));
    }
    EXPECT_EQ(WAIT_OBJECT_0, WaitForSingleObject(watch, 0));
    CloseHandle(watch);

    CDrvProcess missing;
    EXPECT_FALSE(missing.Start("C:\\no\\such\\program.exe", ""));
    EXPECT_EQ(TVD_FAIL, missing.WaitExit(10));
}

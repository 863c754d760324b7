// A smoke test of the driver calls the product tests rely on, against the
// real target application.
#include <windows.h>
#include <commctrl.h>
#include <string>

#include "support/tvdriver/driver.h"
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

class TargetTest : public ::testing::Test
{
  protected:
    // Starts tvtarget with the record file and args, and waits for its window.
    HWND Start(const std::string& args, const char* title, int show = -1, const char* dir = NULL)
    {
        std::string all = "-record=\"" + m_record + "\" " + args;
        EXPECT_TRUE(m_target.Start(Program("tvtarget.exe").c_str(), all.c_str(), dir, show));
        HWND hwnd = NULL;
        DrvWindowQuery wanted = DrvQuery(TARGET_CLASS, title, TVD_MATCH_EXACT, m_target.Pid());
        wanted.includeHidden = true;
        EXPECT_EQ(TVD_OK, DrvWaitWindow(wanted, TVD_DEFAULT_TIMEOUT, &hwnd));
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
    EXPECT_EQ(TVD_OK, DrvWaitFor([&]() { return ++calls == 3; }, 5000, 10));
    EXPECT_EQ(3, calls);

    ULONGLONG start = GetTickCount64();
    EXPECT_EQ(TVD_TIMEOUT, DrvWaitFor([]() { return false; }, 200));
    ULONGLONG took = GetTickCount64() - start;
    EXPECT_GE(took, 190u);
    EXPECT_LT(took, 5000u);
}

TEST_F(TargetTest, FindsWindowsAndDrivesTheTarget)
{
    HWND hwnd = Start("-title=\"Driver Target\" -controls -exitcode=7", "Driver Target");
    ASSERT_NE(nullptr, hwnd);
    EXPECT_EQ(m_target.Pid(), DrvWindowProcess(hwnd));

    const struct
    {
        DrvWindowQuery wanted;
        bool found;
    } cases[] = {
        {DrvQuery(NULL, "Driver Target"), true},
        {DrvQuery(NULL, "Driver Tar"), false},
        {DrvQuery(NULL, "Driver Tar", TVD_MATCH_SUBSTRING), true},
        {DrvQuery(NULL, "driver TARGET", TVD_MATCH_NOCASE), true},
        {DrvQuery("Other Class", "Driver Target"), false},
        {DrvQuery(TARGET_CLASS, "Driver Target", TVD_MATCH_EXACT, GetCurrentProcessId()), false},
    };
    for (const auto& c : cases)
    {
        EXPECT_EQ(c.found, DrvFindWindow(c.wanted) != NULL)
            << (c.wanted.className ? c.wanted.className : "-") << " / "
            << (c.wanted.title ? c.wanted.title : "-");
    }
    HWND none = (HWND)1;
    EXPECT_EQ(TVD_TIMEOUT, DrvWaitWindow(DrvQuery(NULL, "No Such Window"), 300, &none));
    EXPECT_EQ(nullptr, none);

    char text[256];
    EXPECT_EQ(13, DrvGetText(hwnd, text, sizeof(text)));
    EXPECT_STREQ("Driver Target", text);
    ASSERT_TRUE(DrvPressButton(hwnd, TARGET_ID_BUTTON));
    EXPECT_TRUE(RecordHas(m_record, "event=button:1001"));
    EXPECT_FALSE(DrvPressButton(hwnd, TARGET_ID_DISABLED));

    ASSERT_TRUE(DrvClose(hwnd));
    EXPECT_EQ(TVD_OK, DrvWaitDestroyed(hwnd, 5000));
    DWORD code = 0;
    EXPECT_EQ(TVD_OK, m_target.WaitExit(5000, &code));
    EXPECT_EQ(7u, code);
}

TEST_F(TargetTest, HiddenWindowsAreFoundOnlyWhenAskedFor)
{
    Start("-hidden -title=\"Hidden Target\"", NULL);
    DrvWindowQuery wanted = DrvQuery(TARGET_CLASS, "Hidden Target");
    EXPECT_EQ(nullptr, DrvFindWindow(wanted));
    wanted.includeHidden = true;
    HWND hwnd = NULL;
    EXPECT_EQ(TVD_OK, DrvWaitWindow(wanted, 1000, &hwnd));
    EXPECT_EQ(TVD_OK, DrvWaitHidden(hwnd, 100));
}

TEST_F(TargetTest, MessageBoxesAreReadAndAnswered)
{
    Start("-title=\"Asking Target\" -msgbox=\"Proceed with the test?\"", "Asking Target");
    HWND box = NULL;
    ASSERT_EQ(TVD_OK, DrvWaitMessageBox(TARGET_MSGBOX_CAPTION, m_target.Pid(), 5000, &box));
    char text[256];
    ASSERT_TRUE(DrvMessageBoxText(box, text, sizeof(text)));
    EXPECT_STREQ("Proceed with the test?", text);
    ASSERT_TRUE(DrvPressButton(box, IDNO));
    EXPECT_EQ(TVD_OK, DrvWaitDestroyed(box, 5000));
    EXPECT_TRUE(RecordHas(m_record, "event=msgbox:" + std::to_string(IDNO)));
}

TEST(DriverProcess, DestructionEndsAProgramStillRunning)
{
    HANDLE watch = NULL;
    {
        CDrvProcess p;
        ASSERT_TRUE(p.Start(Program("tvtarget.exe").c_str(), "-title=\"Left Running\""));
        ASSERT_EQ(TVD_OK, DrvWaitWindow(DrvQuery(TARGET_CLASS, "Left Running"), TVD_DEFAULT_TIMEOUT, NULL));
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

// The Log File Viewer (the Set Log File Size dialog is driven in the real
// agent: prefs_e2e_win.cpp).
#include <windows.h>
#include <commctrl.h>
#include <string>

#include "LogFile.h"
#include "logfileDlg.h"
#include "logfileDlgRes.h"
#include "logline.h"
#include "agent_testutil.h"
#include "testutil.h"
#include "strutils.h"

using agenttest::Cell;
using agenttest::ImageOf;

TEST(LogViewer, ShowsEntriesWithSeverityIconsAndFlushes)
{
    ScratchDir dir;
    std::string path = dir.Path("Tarvin.log");
    CLogFile log(10);
    log.SetFileName(path.c_str());
    SYSTEMTIME st = {2026, 12, 0, 5, 21, 56, 50, 123};
    log.Append(new CLogFile::CLogItem(CLogFile::LOG_INFO, "Tarvin 2 Agent", "Tarvin Agent started", &st));
    log.Append(new CLogFile::CLogItem(CLogFile::LOG_CRITICAL, "Tarvin Interpreter", "boom", &st));

    HWND slot = NULL;
    HWND dlg = OpenLogViewer(GetModuleHandleA(NULL), &log, &slot);
    ASSERT_TRUE(dlg);
    EXPECT_EQ(dlg, slot);
    EXPECT_EQ("Log File Viewer", wintest::TextOf(dlg));
    EXPECT_TRUE(GetWindowLongPtrA(dlg, GWL_EXSTYLE) & WS_EX_APPWINDOW);
    EXPECT_EQ(dlg, OpenLogViewer(GetModuleHandleA(NULL), &log, &slot)); // raised, not a second one

    HWND list = GetDlgItem(dlg, IDC_LOGVIEW_LIST);
    ASSERT_EQ(2, ListView_GetItemCount(list));
    char expected[160];
    FormatLogTime(&st, expected, sizeof(expected));
    EXPECT_NE("", std::string(expected));
    EXPECT_EQ(std::string::npos, std::string(expected).find(":50")); // no seconds
    EXPECT_EQ(expected, Cell(list, 0, 0));
    EXPECT_EQ("Tarvin 2 Agent", Cell(list, 0, 1));
    EXPECT_EQ("Tarvin Agent started", Cell(list, 0, 2));
    EXPECT_EQ(0, ImageOf(list, 0));
    EXPECT_EQ(4, ImageOf(list, 1));

    // The viewer shows the log as it was; Refresh shows the new entry and
    // Flush writes the file.
    log.Append(new CLogFile::CLogItem(CLogFile::LOG_INFO, "Test", "later", &st));
    EXPECT_EQ(2, ListView_GetItemCount(list));
    SendMessageA(dlg, WM_COMMAND, IDC_LOGVIEW_REFRESH, 0);
    EXPECT_EQ(3, ListView_GetItemCount(list));
    EXPECT_FALSE(std::filesystem::exists(path));
    SendMessageA(dlg, WM_COMMAND, IDC_LOGVIEW_FLUSH, 0);
    EXPECT_NE(std::string::npos, ReadBytes(path).find("description=\"later\""));

    log.SetSize(0);
    SendMessageA(dlg, WM_COMMAND, IDC_LOGVIEW_REFRESH, 0);
    ASSERT_EQ(1, ListView_GetItemCount(list));
    EXPECT_EQ("No log is being kept.", Cell(list, 0, 0));
    EXPECT_EQ(0, ImageOf(list, 0));

    SendMessageA(dlg, WM_CLOSE, 0, 0);
    EXPECT_FALSE(IsWindow(dlg));
    EXPECT_EQ(NULL, slot);
}

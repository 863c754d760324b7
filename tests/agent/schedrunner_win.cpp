// The real tvagent.exe running its schedule: a task in its minute, a
// start-up task, and an overdue task run from the Overdue Tasks dialog. The
// tasks start tvtarget.exe, whose record file shows that and how they ran.
#include <windows.h>

#include <string>
#include <vector>

#include "support/tvdriver/driver.h"
#include "ScheduledTask_win.h"
#include "regutils.h"
#include "schedrunner.h"
#include "overdueTasks.h"
#include "schedule/schedule_testutil.h"
#include "agent_testutil.h"

namespace
{
const DWORD kTimeout = 15000;
const char kScheduleChanged[] = "FD891CBC-B188-4471-B9A5-CE617A9005CB";

// minutes from now (negative: ago), on the minute.
CTime MinutesFromNow(int minutes)
{
    SYSTEMTIME st;
    GetLocalTime(&st);
    st.wSecond = st.wMilliseconds = 0;
    FILETIME ft;
    SystemTimeToFileTime(&st, &ft);
    ULARGE_INTEGER value = {{ft.dwLowDateTime, ft.dwHighDateTime}};
    value.QuadPart += (LONGLONG)minutes * 60 * 10000000LL;
    ft.dwLowDateTime = value.LowPart;
    ft.dwHighDateTime = value.HighPart;
    FileTimeToSystemTime(&ft, &st);
    CTime t;
    t.Set(&st);
    return t;
}

class SchedRunner : public agenttest::AgentProcessTest
{
  protected:
    void TearDown() override
    {
        Stop();
        for (const std::string& title : m_targets)
        {
            HWND target = DrvFindWindow(DrvQuery("TVTargetWindow", title.c_str()));
            if (target)
                PostMessageA(target, WM_CLOSE, 0, 0);
        }
        AgentProcessTest::TearDown();
    }

    // A daily task (or a start-up task) that starts tvtarget.exe recording to record.
    void AddTask(const char* name, const CTime& when, const char* record, bool startup = false,
                 bool active = true)
    {
        CSTask* task = NewTask(name, startup ? ST_TYPE_EVENT : ST_TYPE_PERIODIC,
                               startup ? (DWORD)ST_EVENT_STARTUP : (DWORD)ST_PERIOD_DAYS, 1, when, active);
        m_targets.push_back(name);
        std::string cmdLine = std::string("-title=") + name + " -record=" + File(record);
        task->SetAction((wintest::ProgramDir() + "tvtarget.exe").c_str(), m_files.c_str(), cmdLine.c_str(),
                        SW_SHOWNORMAL);
        m_schedule.AddTask(task);
    }

    void SaveSchedule()
    {
        ASSERT_TRUE(m_schedule.Save(File("Tarvin Schedule.dat").c_str()));
    }

    // The task in the agent's saved schedule, once cond holds for it.
    bool WaitSaved(int index, const std::function<bool(CSTask&)>& cond)
    {
        return DrvWaitFor(
                   [&]() {
                       CSTaskList saved;
                       saved.Load(File("Tarvin Schedule.dat").c_str());
                       CSTask* task = saved.GetAt((unsigned)index);
                       return task && cond(*task);
                   },
                   kTimeout) == TVD_OK;
    }

    bool WaitRecord(const char* record)
    {
        return DrvWaitFor([&]() { return !ReadBytes(File(record)).empty(); }, kTimeout) == TVD_OK;
    }

    CSTaskList m_schedule;
    std::vector<std::string> m_targets;
};

// A daily task missed for three days is run once and moved on to its next
// time ahead. A run whose save fails is reported, and the list, refilled from
// the schedule in memory, no longer offers the task.
TEST_F(SchedRunner, OverdueTaskIsListedAndRunNowRunsIt)
{
    // First missed 3 days and 23.5 hours ago; its next daily time lies ahead.
    CTime missed = MinutesFromNow(-4 * 24 * 60 + 30);
    AddTask("TVSchedIdle", missed, "idle.txt", false, false);
    AddTask("TVSchedLate", missed, "late.txt");
    AddTask("TVSchedUnsaved", missed, "unsaved.txt");
    SaveSchedule();
    ASSERT_TRUE(Start());

    HWND dlg = nullptr;
    ASSERT_EQ(TVD_OK,
              DrvWaitWindow(DrvQuery("#32770", "Overdue Tasks", TVD_MATCH_EXACT, Pid()), kTimeout, &dlg));
    HWND list = DrvFindChildById(dlg, 502);
    ASSERT_TRUE(list);
    ASSERT_EQ(2, DrvListViewRowCount(list));
    ASSERT_EQ(2, DrvListViewColumnCount(list));
    char text[128];
    ASSERT_TRUE(DrvListViewText(list, 0, 0, text, sizeof(text)));
    EXPECT_STREQ("TVSchedLate", text);
    UseLocaleTaskDates();
    char date[ST_DATE_TEXT_SIZE], timeOfDay[ST_DATE_TEXT_SIZE];
    ASSERT_TRUE(FormatTaskDate(missed, date, sizeof(date), timeOfDay, sizeof(timeOfDay)));
    ASSERT_TRUE(DrvListViewText(list, 0, 1, text, sizeof(text)));
    EXPECT_EQ(std::string(date) + " at " + timeOfDay, text);

    // Without a selection "&Run Now" does nothing; with one it runs the task,
    // and the list refills without it.
    ASSERT_TRUE(DrvPressButton(dlg, 12));
    ASSERT_TRUE(DrvListViewSelect(list, 0));
    ASSERT_TRUE(DrvPressButton(dlg, 12));
    ASSERT_TRUE(WaitRecord("late.txt"));
    EXPECT_EQ(TVD_OK, DrvWaitFor([&]() { return DrvListViewRowCount(list) == 1; }, kTimeout));
    CTime ahead = MinutesFromNow(30);
    EXPECT_TRUE(WaitSaved(1, [&](CSTask& t) {
        return t.GetRecurrenceCount() == 1 && t.GetScheduledTime().CompareDate(ahead) == 0 &&
               t.GetScheduledTime().CompareTime(ahead) == 0 &&
               t.GetLastScheduledTime().CompareDate(CTime()) == 0;
    }));
    EXPECT_TRUE(ReadBytes(File("idle.txt")).empty());

    // The file held open without sharing cannot be replaced.
    HANDLE held =
        CreateFileA(File("Tarvin Schedule.dat").c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(INVALID_HANDLE_VALUE, held);
    ASSERT_TRUE(DrvListViewSelect(list, 0));
    ASSERT_TRUE(DrvPressButton(dlg, 12));
    HWND box = nullptr;
    EXPECT_EQ(TVD_OK, DrvWaitMessageBox("File Error", Pid(), kTimeout, &box));
    EXPECT_TRUE(WaitRecord("unsaved.txt"));
    EXPECT_EQ(0, DrvListViewRowCount(list));
    char boxText[400] = "";
    DrvMessageBoxText(box, boxText, sizeof(boxText));
    EXPECT_STREQ(OVERDUE_RUN_NOT_SAVED_TEXT, boxText);
    DrvPressButton(box, IDOK);
    CloseHandle(held);
}

} // namespace

namespace
{
} // namespace

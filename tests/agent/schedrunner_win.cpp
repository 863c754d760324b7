// The real tvagent.exe running its schedule: a task in its minute, a
// start-up task, and an overdue task run from the Overdue Tasks dialog. The
// tasks start tvtarget.exe, whose record file shows that and how they ran.
#include <windows.h>

#include <string>
#include <vector>

#include "e2e/driver.h"
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

// The minute check at a given time starts each due task through the shell,
// in its folder and window state, and the saved schedule has it moved on; a
// task whose target is a launch file reaches the interpreter through the
// ".launch" association, as double-clicking it would.
TEST_F(SchedRunner, TaskInItsMinuteRunsOnceWithItsFolderAndMovesOn)
{
    std::string command = "\"" + wintest::ProgramDir() + "tvint.exe\" -file=\"%1\"";
    AssociateFile(".launch", "Tarvin.LaunchFile", "Tarvin File", command.c_str(), "Open");
    std::string launch = File("due.launch");
    WriteBytes(launch, "Launch \"" + wintest::ProgramDir() + "tvtarget.exe\",\"" + m_files +
                           "\",\"-title=TVSchedLaunch -record=" + File("launched.txt") + "\",Normal\r\n");
    CTime due, now;
    due.Set(2026, 3, 10, 9, 15, 0, 0);
    now.Set(2026, 3, 10, 9, 15, 42, 0);
    AddTask("TVSchedDue", due, "due.txt");
    AddTask("TVSchedLaunch", due, "unused.txt");
    m_schedule.GetAt(1)->SetAction(launch.c_str(), m_files.c_str(), "", SW_SHOWNORMAL);

    auto start = [](CSTask& task, void*) { RunScheduledTask(nullptr, task); };
    EXPECT_EQ(2, MinuteCheckAt(m_schedule, now, start, nullptr));
    ASSERT_TRUE(SaveScheduleAndAnnounce(m_schedule, RegisterWindowMessageA(kScheduleChanged)));
    ASSERT_TRUE(WaitRecord("due.txt"));
    std::string record = ReadBytes(File("due.txt"));
    EXPECT_NE(std::string::npos, record.find("cwd=" + m_files)) << record;
    EXPECT_NE(std::string::npos, record.find("show=1")) << record;
    EXPECT_TRUE(WaitRecord("launched.txt"));
    EXPECT_TRUE(WaitSaved(0, [&](CSTask& t) {
        return t.GetRecurrenceCount() == 1 && t.GetScheduledTime().CompareDate(due) > 0 &&
               t.GetLastScheduledTime().CompareTime(due) == 0;
    }));
}

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

// The schedule-changed broadcast, as the scheduler sends it after a save.
void AnnounceScheduleChange()
{
    PostMessageA(HWND_BROADCAST, RegisterWindowMessageA(kScheduleChanged), 0, 0);
}

// With the Overdue Tasks dialog open, one broadcast reads the file once: a
// damaged file gives one "File Error", and the dialog lists what the agent
// recovered. A file deleted while the agent runs is an empty schedule, not a
// damaged one: the old tasks leave the agent's list, and nothing is reported.
TEST_F(SchedRunner, ScheduleDamagedOrDeletedWhileRunning)
{
    CTime missed = MinutesFromNow(-24 * 60 + 30);
    AddTask("TVSchedLate", missed, "late.txt");
    SaveSchedule();
    ASSERT_TRUE(Start());
    const DrvWindowQuery overdue = DrvQuery("#32770", "Overdue Tasks", TVD_MATCH_EXACT, Pid());
    const DrvWindowQuery fileError = DrvQuery("#32770", "File Error", TVD_MATCH_EXACT, Pid());
    HWND dlg = nullptr;
    ASSERT_EQ(TVD_OK, DrvWaitWindow(overdue, kTimeout, &dlg));
    HWND list = DrvFindChildById(dlg, 502);
    ASSERT_EQ(TVD_OK, DrvWaitFor([&]() { return DrvListViewRowCount(list) == 1; }, kTimeout));

    // A second overdue task whose end line was lost.
    AddTask("TVSchedLater", missed, "later.txt");
    SaveSchedule();
    std::string bytes = ReadBytes(File("Tarvin Schedule.dat"));
    size_t end = bytes.rfind("</task>");
    ASSERT_NE(std::string::npos, end);
    WriteBytes(File("Tarvin Schedule.dat"), bytes.substr(0, end));
    AnnounceScheduleChange();
    HWND box = nullptr;
    ASSERT_EQ(TVD_OK, DrvWaitWindow(fileError, kTimeout, &box));
    EXPECT_EQ(TVD_OK, DrvWaitFor([&]() { return DrvListViewRowCount(list) == 2; }, kTimeout));
    char text[64] = "";
    ASSERT_TRUE(DrvListViewText(list, 1, 0, text, sizeof(text)));
    EXPECT_STREQ("TVSchedLater", text);
    EXPECT_EQ(TVD_TIMEOUT, DrvWaitFor([&]() { return DrvFindWindows(fileError, nullptr, 0) > 1; }, 1000));
    PostMessageA(box, WM_COMMAND, IDOK, 0);
    ASSERT_EQ(TVD_OK, DrvWaitFor([&]() { return !IsWindow(box); }, kTimeout));
    EXPECT_EQ(TVD_TIMEOUT, DrvWaitWindow(fileError, 1000, nullptr));
    EXPECT_EQ(2, DrvListViewRowCount(list));

    ASSERT_TRUE(DeleteFileA(File("Tarvin Schedule.dat").c_str()));
    AnnounceScheduleChange();
    EXPECT_EQ(TVD_OK, DrvWaitFor([&]() { return DrvListViewRowCount(list) == 0; }, kTimeout));
    EXPECT_EQ(TVD_TIMEOUT, DrvWaitWindow(fileError, 1000, nullptr));
    // Asked for the dialog again, the agent lists nothing from the old file.
    PostMessageA(dlg, WM_CLOSE, 0, 0);
    ASSERT_EQ(TVD_OK, DrvWaitFor([&]() { return !IsWindow(dlg); }, kTimeout));
    PostMessageA(m_agent, WM_COMMAND, 214, 0);
    ASSERT_EQ(TVD_OK, DrvWaitWindow(overdue, kTimeout, &dlg));
    EXPECT_EQ(0, DrvListViewRowCount(DrvFindChildById(dlg, 502)));
}
} // namespace

namespace
{
// The start-up task runs at every start. Waking from sleep and a change of
// the clock run the start-up pass's overdue check again: the dialog comes
// back listing what passed, the start-up task does not run again, nothing
// runs by itself and nothing moves. Other power events open nothing.
TEST_F(SchedRunner, WakingOrAClockChangeListsOverdueTasksAgain)
{
    AddTask("TVSchedLate", MinutesFromNow(-24 * 60 + 30), "late.txt");
    AddTask("TVSchedStartup", CTime(), "startup.txt", true);
    SaveSchedule();
    ASSERT_TRUE(Start());
    ASSERT_TRUE(WaitRecord("startup.txt"));
    ASSERT_TRUE(WaitSaved(1, [](CSTask& t) { return t.GetRecurrenceCount() == 1; }));
    const std::string saved = ReadBytes(File("Tarvin Schedule.dat"));
    ASSERT_TRUE(DeleteFileA(File("startup.txt").c_str()));
    const DrvWindowQuery overdue = DrvQuery("#32770", "Overdue Tasks", TVD_MATCH_EXACT, Pid());

    const struct
    {
        UINT msg;
        WPARAM wParam;
    } wakers[] = {{WM_POWERBROADCAST, PBT_APMRESUMEAUTOMATIC}, {WM_TIMECHANGE, 0}};
    for (const auto& waker : wakers)
    {
        SCOPED_TRACE(waker.msg == WM_TIMECHANGE ? "clock changed" : "woke up");
        HWND dlg = nullptr;
        ASSERT_EQ(TVD_OK, DrvWaitWindow(overdue, kTimeout, &dlg));
        PostMessageA(dlg, WM_CLOSE, 0, 0);
        ASSERT_EQ(TVD_OK, DrvWaitFor([&]() { return !IsWindow(dlg); }, kTimeout));

        // Sent, as the system sends them: answered only once handled.
        for (WPARAM other : {(WPARAM)PBT_APMSUSPEND, (WPARAM)PBT_APMPOWERSTATUSCHANGE})
        {
            DWORD_PTR answer = 0;
            ASSERT_TRUE(
                SendMessageTimeoutA(m_agent, WM_POWERBROADCAST, other, 0, SMTO_NORMAL, kTimeout, &answer));
            EXPECT_EQ(nullptr, DrvFindWindow(overdue));
        }

        PostMessageA(m_agent, waker.msg, waker.wParam, 0);
        ASSERT_EQ(TVD_OK, DrvWaitWindow(overdue, kTimeout, &dlg));
        HWND list = DrvFindChildById(dlg, 502);
        ASSERT_EQ(TVD_OK, DrvWaitFor([&]() { return DrvListViewRowCount(list) == 1; }, kTimeout));
        char text[64] = "";
        ASSERT_TRUE(DrvListViewText(list, 0, 0, text, sizeof(text)));
        EXPECT_STREQ("TVSchedLate", text);
    }
    EXPECT_TRUE(ReadBytes(File("late.txt")).empty());
    EXPECT_TRUE(ReadBytes(File("startup.txt")).empty());
    EXPECT_EQ(saved, ReadBytes(File("Tarvin Schedule.dat")));

    // The next start runs the start-up task again.
    Stop();
    PostMessageA(DrvFindWindow(DrvQuery("TVTargetWindow", "TVSchedStartup")), WM_CLOSE, 0, 0);
    const CTime before; // the run may straddle midnight
    ASSERT_TRUE(Start());
    ASSERT_TRUE(WaitRecord("startup.txt"));
    EXPECT_TRUE(WaitSaved(1, [&](CSTask& t) {
        const CTime& last = t.GetLastScheduledTime();
        return t.GetRecurrenceCount() == 2 &&
               (last.CompareDate(before) == 0 || last.CompareDate(CTime()) == 0);
    }));
}
} // namespace

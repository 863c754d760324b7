// Run Now and the last result, end to end: the real tvsched.exe starts a
// task and saves the run; the real agent logs a task it cannot start, and
// the scheduler shows why.
#include <windows.h>
#include <commctrl.h>
#include <string>

#include <gtest/gtest.h>

#include "agent/agent_testutil.h"
#include "e2e/e2e_testutil.h"
#include "support/tvdriver/driver.h"
#include "schedule/schedule_testutil.h"
#include "sched_res.h"
#include "taskrows.h"

namespace
{

const DWORD kWait = 15000;

class SchedRunNowTest : public agenttest::AgentProcessTest
{
  protected:
    void SetUp() override
    {
        AgentProcessTest::SetUp();
        wintest::SetRegDword("Software\\Norvale\\Tarvin 2\\Scheduler", "Show Tips", 0);
        wintest::SetRegDword(kAgentKey, "Log File", 100);
    }

    void SaveSchedule(CSTask* task)
    {
        CSTaskList list;
        list.AddTask(task);
        ASSERT_EQ(1, list.Save(File("Tarvin Schedule.dat").c_str()));
    }

    // The first task of the saved schedule once cond holds for it.
    bool WaitSaved(const std::function<bool(CSTask&)>& cond)
    {
        return DrvWaitFor(
                   [&]() {
                       CSTaskList list;
                       return list.Load(File("Tarvin Schedule.dat").c_str()) && list.GetCount() == 1 &&
                              cond(*list.GetAt(0));
                   },
                   kWait, 100) == TVD_OK;
    }

    std::string Cell(int row, int column)
    {
        char buf[512] = "";
        DrvListViewText(DrvFindChildById(m_sched.Main(), IDC_TASKLIST), row, column, buf, sizeof(buf));
        return buf;
    }

    e2etest::CProgramWindow m_sched;
};

TEST_F(SchedRunNowTest, RunNowStartsTheTaskAndSavesTheRunAndItsResult)
{
    std::string record = File("ran.txt");
    // Due far ahead: Run Now must neither wait for it nor move it on.
    CTime now;
    CSTask* task = NewTask("Now", ST_TYPE_PERIODIC, ST_PERIOD_DAYS, 1, Make(2099, 1, 1, 9));
    task->SetTarget((agenttest::ProgramDir() + "tvtarget.exe").c_str());
    task->SetCmdLine(("-record=" + record + " -title=SchedRunNow").c_str());
    SaveSchedule(task);

    ASSERT_TRUE(m_sched.Start("tvsched.exe", "", "_TVSCHED_MAINWND"));
    ASSERT_EQ("Never", Cell(0, SCHED_COL_LAST));
    ASSERT_EQ("", Cell(0, SCHED_COL_RESULT));
    ASSERT_TRUE(DrvListViewSelect(DrvFindChildById(m_sched.Main(), IDC_TASKLIST), 0));
    ASSERT_TRUE(m_sched.Do(IDM_RUNNOW));

    EXPECT_TRUE(e2etest::WaitFile(record, kWait)) << "the task did not start";
    HWND ran = nullptr;
    EXPECT_EQ(TVD_OK, DrvWaitWindow(DrvQuery(nullptr, "SchedRunNow"), kWait, &ran));
    if (ran)
        DrvClose(ran);
    EXPECT_TRUE(WaitSaved([&](CSTask& t) {
        return t.GetRecurrenceCount() == 1 && t.GetLastScheduledTime().CompareDate(now) >= 0 &&
               std::string(ST_RESULT_OK) == t.GetLastResult() &&
               Text(t.GetScheduledTime()) == Text(Make(2099, 1, 1, 9));
    }));
    EXPECT_EQ(TVD_OK, DrvWaitFor([&]() { return Cell(0, SCHED_COL_RESULT) == ST_RESULT_OK; }, kWait));
    EXPECT_NE("Never", Cell(0, SCHED_COL_LAST));
    EXPECT_TRUE(m_sched.WaitTitle("Tarvin Scheduler")); // saved: nothing left to update
}

TEST_F(SchedRunNowTest, AgentLogsATaskItCannotStartAndTheSchedulerShowsWhy)
{
    CSTask* task = NewTask("Gone", ST_TYPE_EVENT, ST_EVENT_STARTUP, 0, Make(0, 0, 0));
    task->SetTarget(File("no such program.exe").c_str());
    SaveSchedule(task);

    ASSERT_TRUE(Start()); // the start-up pass runs the task
    std::string reason;
    EXPECT_TRUE(WaitSaved([&](CSTask& t) {
        reason = t.GetLastResult();
        return t.GetRecurrenceCount() == 1;
    }));
    EXPECT_NE("", reason);
    EXPECT_NE(ST_RESULT_OK, reason);

    ASSERT_TRUE(m_sched.Start("tvsched.exe", "", "_TVSCHED_MAINWND"));
    EXPECT_EQ(reason, Cell(0, SCHED_COL_RESULT));

    Stop(); // the log is on disk once the agent has ended
    std::string log = ReadBytes(File("Tarvin.log"));
    std::string line =
        "<logitem severity=\"1\" name=\"Tarvin 2 Agent\" description='The scheduled task \"Gone\" "
        "could not be started: " +
        reason + "'";
    EXPECT_NE(std::string::npos, log.find(line)) << log;
}

} // namespace

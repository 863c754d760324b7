// The scheduler's rows and Run Now's record, and the last result in the
// schedule file next to files of the format without it.
#include "ScheduledTask.h"
#include "taskrows.h"
#include "schedule/schedule_testutil.h"
#include "testutil.h"

#include <string>

namespace
{

const char kHeader[] = "<?TarvinSchedule version='1.00'?>\r\n";
const char kRule[] =
    "<rule type=\"2\" subtype=\"3\" data=\"1\" time=\"6 Dec 2026 02:00:00:000\" except=\"0\" "
    "exceptfrom=\"0 --- 0000 00:00:00:000\" exceptto=\"0 --- 0000 00:00:00:000\" />\r\n";
// A task line as files without results have it: every attribute up to "orig".
const char kOldTaskLine[] =
    "<task name=\"Backup\" target=\"C:\\b.launch\" workdir=\"\" cmdline=\"\" "
    "windowstate=\"1\" recurrences=\"2\" active=\"1\" time=\"6 Dec 2026 02:00:00:000\" "
    "last=\"5 Dec 2026 02:00:00:000\" orig=\"1 Dec 2026 02:00:00:000\"";

std::string Row(const CSTask& task, const CTime& now, int column)
{
    SchedRowTexts row;
    FormatTaskRow(task, now, &row);
    return row.cells[column];
}

} // namespace

TEST(SchedRows, ShowNameStateTimesAndLastResult)
{
    CTime now = Make(2026, 12, 7, 13, 30);
    CSTask* due = NewTask("Backup", ST_TYPE_PERIODIC, ST_PERIOD_HOURS, 1, Make(2026, 12, 7, 14));
    due->SetTarget("C:\\b.launch");
    due->SetLastScheduledTime(Make(2026, 12, 7, 13));
    due->SetLastResult(ST_RESULT_OK);
    CSTask* late = NewTask("Late", ST_TYPE_DATE, 0, 0, Make(2026, 12, 7, 9));
    late->SetLastResult("File not found.");
    CSTask* boot = NewTask("Boot", ST_TYPE_EVENT, ST_EVENT_STARTUP, 0, Make(0, 0, 0), false);
    struct
    {
        CSTask* task;
        const char* cells[SCHED_COLUMNS];
    } cases[] = {
        {due,
         {"Backup", "C:\\b.launch", "Monday, 7 December 2026 at 14:00", "Monday, 7 December 2026 at 13:00",
          "OK"}},
        {late, {"Late (Overdue)", "", "Monday, 7 December 2026 at 09:00", "Never", "File not found."}},
        {boot, {"Boot (Disabled)", "", "At next Tarvin startup", "Never", ""}},
    };
    for (auto& c : cases)
    {
        for (int column = 0; column < SCHED_COLUMNS; column++)
            EXPECT_EQ(c.cells[column], Row(*c.task, now, column))
                << c.task->GetName() << " column " << column;
        delete c.task;
    }
}

TEST(SchedRows, RunNowRecordsTheRunAndMovesOnlyAnOverdueTask)
{
    CTime now = Make(2026, 12, 7, 13, 30);
    struct
    {
        CTime scheduled;
        CTime next; // the scheduled time after Run Now
    } cases[] = {
        {Make(2026, 12, 7, 14), Make(2026, 12, 7, 14)}, // ahead: keeps its time
        {Make(2026, 12, 7, 9), Make(2026, 12, 7, 14)},  // overdue: moved past now
    };
    for (auto& c : cases)
    {
        CSTask* task = NewTask("t", ST_TYPE_PERIODIC, ST_PERIOD_HOURS, 1, c.scheduled);
        RecordRunNow(*task, now);
        EXPECT_EQ(Text(now), Text(task->GetLastScheduledTime()));
        EXPECT_EQ(Text(c.next), Text(task->GetScheduledTime()));
        EXPECT_EQ(1u, task->GetRecurrenceCount());
        delete task;
    }
}

// The result is one more attribute at the end of the task line: files
// without it still load (no result yet), and a reader that knows only the
// older attributes finds each of them where it was, with the same value.
TEST(SchedRows, LastResultIsAnExtraAttributeOldAndNewFilesShare)
{
    ScratchDir dir;
    std::string path = dir.Path("Tarvin Schedule.dat");
    struct
    {
        const char* taskLineEnd; // what follows the older attributes
        const char* result;      // as read back
    } cases[] = {
        {" >\r\n", ""},
        {" result=\"OK\" >\r\n", "OK"},
        {" result='Say \"no\"' >\r\n", "Say \"no\""},
    };
    for (auto& c : cases)
    {
        std::string file = std::string(kHeader) + kOldTaskLine + c.taskLineEnd + kRule + "</task>\r\n";
        WriteBytes(path, file);
        CSTaskList list;
        ASSERT_EQ(1, list.Load(path.c_str())) << c.taskLineEnd;
        ASSERT_EQ(1, list.GetCount());
        EXPECT_STREQ(c.result, list.GetAt(0)->GetLastResult());
        EXPECT_STREQ("Backup", list.GetAt(0)->GetName());
        EXPECT_EQ(2u, list.GetAt(0)->GetRecurrenceCount());
        // Written back byte for byte: a file without results stays as the
        // older programs wrote it.
        ASSERT_EQ(1, list.Save(path.c_str()));
        EXPECT_EQ(file, ReadBytes(path));
    }

    // Line breaks of a system text never split the line.
    CSTask task;
    task.SetLastResult("Access is denied.\r\n");
    EXPECT_STREQ("Access is denied.  ", task.GetLastResult());
}

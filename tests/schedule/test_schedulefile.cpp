#include "ScheduledTask.h"
#include "schedule_testutil.h"
#include "testutil.h"

#include <string>

namespace
{

const char kHeader[] = "<?TarvinSchedule version='1.00'?>\r\n";

CSTask* MakeBackup()
{
    CSTask* task = new CSTask();
    task->SetName("Backup");
    task->SetAction("D:\\Scripts\\backup.launch", "", "", 1);
    task->SetRecurrenceCount(12);
    task->SetScheduledTime(Make(2026, 12, 6, 2));
    task->SetLastScheduledTime(Make(2026, 12, 5, 2));
    task->SetOrigScheduledTime(Make(2026, 11, 24, 2));
    CSTRecRule* rule = task->AddRecurrenceRule();
    rule->type = 2;
    rule->subtype = 3;
    rule->data = 1;
    rule->time = Make(2026, 12, 6, 2);
    rule->except = 96;
    rule->SetExceptTime(Make(2026, 11, 24, 2), Make(2026, 11, 24, 2));
    return task;
}

const char kBackupLines[] =
    "<task name=\"Backup\" target=\"D:\\Scripts\\backup.launch\" workdir=\"\" cmdline=\"\" windowstate=\"1\" "
    "recurrences=\"12\" active=\"1\" time=\"6 Dec 2026 02:00:00:000\" last=\"5 Dec 2026 02:00:00:000\" "
    "orig=\"24 Nov 2026 02:00:00:000\" >\r\n"
    "<rule type=\"2\" subtype=\"3\" data=\"1\" time=\"6 Dec 2026 02:00:00:000\" except=\"96\" "
    "exceptfrom=\"24 Nov 2026 02:00:00:000\" exceptto=\"24 Nov 2026 02:00:00:000\" />\r\n"
    "</task>\r\n";

// Every task of a list that came from a file has its rule.
void ExpectEveryTaskHasARule(CSTaskList& list)
{
    for (int i = 0; i < list.GetCount(); i++)
        EXPECT_NE(nullptr, list.GetAt(i)->GetFirstRule()) << "task " << i;
}

// Loads the bytes and checks the result and the names of the tasks read.
void ExpectLoad(int line, const std::string& bytes, int rc, const std::string& names)
{
    SCOPED_TRACE(testing::Message() << "case at line " << line);
    ScratchDir dir;
    WriteBytes(dir.Path("s.dat"), bytes);
    CSTaskList list;
    list.AddTask(MakeBackup()); // a reload replaces everything
    EXPECT_EQ(rc, list.Load(dir.Path("s.dat").c_str()));
    std::string got;
    for (int i = 0; i < list.GetCount(); i++)
        got += std::string(i ? "," : "") + list.GetAt(i)->GetName();
    EXPECT_EQ(names, got);
    ExpectEveryTaskHasARule(list);
}

std::string TaskLine(const char* name)
{
    return std::string("<task name=\"") + name +
           "\" target=\"t\" workdir=\"\" cmdline=\"\" windowstate=\"1\" recurrences=\"0\" active=\"1\" "
           "time=\"1 Jan 2027 00:00:00:000\" last=\"0 --- 0000 00:00:00:000\" orig=\"0 --- 0000 "
           "00:00:00:000\" >\r\n";
}

const char kRule[] =
    "<rule type=\"2\" subtype=\"3\" data=\"1\" time=\"1 Jan 2027 00:00:00:000\" except=\"0\" "
    "exceptfrom=\"0 --- 0000 00:00:00:000\" exceptto=\"0 --- 0000 00:00:00:000\" />\r\n";

std::string Task(const char* name)
{
    return TaskLine(name) + kRule + "</task>\r\n";
}

} // namespace

TEST(ScheduleFile, WritesTheExactShape)
{
    ScratchDir dir;
    std::string path = dir.Path("Tarvin Schedule.dat");

    CSTaskList list;
    ASSERT_EQ(1, list.Save(path.c_str()));
    EXPECT_EQ(kHeader, ReadBytes(path));
    EXPECT_EQ(1, list.Load(path.c_str()));
    EXPECT_EQ(0, list.GetCount());

    list.AddTask(MakeBackup());
    CSTask* spent = new CSTask();
    spent->SetName("Spent");
    spent->SetActive(0);
    spent->SetWindowState(3);
    CSTRecRule* rule = spent->AddRecurrenceRule();
    rule->type = 1;
    rule->time = Make(0, 0, 0);
    rule->SetExceptTime(Make(0, 0, 0), Make(0, 0, 0));
    list.AddTask(spent);
    ASSERT_EQ(1, list.Save(path.c_str()));
    EXPECT_EQ(
        std::string(kHeader) + kBackupLines +
            "<task name=\"Spent\" target=\"\" workdir=\"\" cmdline=\"\" windowstate=\"3\" recurrences=\"0\" "
            "active=\"0\" time=\"0 --- 0000 00:00:00:000\" last=\"0 --- 0000 00:00:00:000\" "
            "orig=\"0 --- 0000 00:00:00:000\" >\r\n"
            "<rule type=\"1\" subtype=\"0\" data=\"0\" time=\"0 --- 0000 00:00:00:000\" except=\"0\" "
            "exceptfrom=\"0 --- 0000 00:00:00:000\" exceptto=\"0 --- 0000 00:00:00:000\" />\r\n"
            "</task>\r\n",
        ReadBytes(path));
}

TEST(ScheduleFile, RoundTripKeepsEveryStoredField)
{
    ScratchDir dir;
    std::string path = dir.Path("s.dat");

    CSTaskList list;
    list.AddTask(MakeBackup());
    CSTask* odd = new CSTask();
    odd->SetName(std::string(259, 'n').c_str());
    odd->SetAction(std::string(259, 't').c_str(), std::string(259, 'd').c_str(),
                   std::string(259, 'c').c_str(), 2);
    odd->SetRecurrenceCount(4000000000u);
    odd->SetActive(0);
    odd->SetScheduledTime(Make(9999, 12, 31, 23, 59, 59, 999));
    odd->SetLastScheduledTime(Make(0, 0, 0));
    odd->SetOrigScheduledTime(Make(1, 1, 1));
    CSTRecRule* rule = odd->AddRecurrenceRule();
    rule->type = 3;
    rule->subtype = 0xFFFFFFFFu;
    rule->data = 123456;
    rule->except = 4095;
    rule->time = Make(0, 0, 0);
    rule->SetExceptTime(Make(2000, 1, 1, 22), Make(2000, 1, 1, 6, 30));
    odd->AddRecurrenceRule()->type = 1; // only the first rule is stored
    list.AddTask(odd);
    ASSERT_EQ(1, list.Save(path.c_str()));
    std::string first = ReadBytes(path);

    CSTaskList again;
    ASSERT_EQ(1, again.Load(path.c_str()));
    ASSERT_EQ(2, again.GetCount());
    // Saving what was read gives the same bytes, so nothing was lost on the way.
    CSTask* t = again.GetAt(1);
    EXPECT_EQ(std::string(259, 'n'), t->GetName());
    EXPECT_EQ(4000000000u, t->GetRecurrenceCount());
    EXPECT_EQ("31 Dec 9999 23:59:59:999", Text(t->GetScheduledTime()));
    ASSERT_EQ(1u, t->GetRecurrenceRules()->GetSize());
    EXPECT_EQ("1 Jan 2000 06:30:00:000", Text(t->GetFirstRule()->exceptto));
    EXPECT_EQ(2u, t->GetId());
    ASSERT_EQ(1, again.Save(path.c_str()));
    EXPECT_EQ(first, ReadBytes(path));
}

TEST(ScheduleFile, TaskIdsFollowTheCount)
{
    CSTaskList list;
    for (int i = 0; i < 3; i++)
        EXPECT_EQ(1, list.AddTask(new CSTask()));
    EXPECT_EQ(3u, list.GetAt(2)->GetId());
    EXPECT_EQ(1, list.DeleteTask(0));
    EXPECT_EQ(0, list.DeleteTask(2));
    EXPECT_EQ(0, list.DeleteTask(-1));
    EXPECT_EQ(2, list.GetCount());
    list.AddTask(new CSTask());
    EXPECT_EQ(3u, list.GetAt(2)->GetId()) << "the new count, not renumbered";
    EXPECT_EQ(0, list.AddTask(nullptr));
    list.Clear();
    EXPECT_EQ(0, list.GetCount());
}

TEST(ScheduleFile, HeaderAndVersionDecideWhetherAnythingIsRead)
{
    const std::string body = Task("A");
    ExpectLoad(__LINE__, std::string(kHeader) + body, 1, "A");
    ExpectLoad(__LINE__, "<?TarvinSchedule version='1.0'?>\r\n" + body, 1, "A");
    ExpectLoad(__LINE__, "<?TarvinSchedule version=\"1\"?>\r\n" + body, 1, "A");
    ExpectLoad(__LINE__, "<?tarvinschedule version='1'?>\r\n" + body, 1, "A");
    ExpectLoad(__LINE__, "\r\n\r\n" + std::string(kHeader) + body, 1, "A");
    ExpectLoad(__LINE__, "<?TarvinSchedule version='1.01'?>\r\n" + body, 0, "");
    ExpectLoad(__LINE__, "<?TarvinSchedule version='2.00'?>\r\n" + body, 0, "");
    ExpectLoad(__LINE__, "<?TarvinSchedule version='0x1'?>\r\n" + body, 0, "");
    ExpectLoad(__LINE__, "<?TarvinSchedule version=''?>\r\n" + body, 0, "");
    ExpectLoad(__LINE__, "<?TarvinSchedule?>\r\n" + body, 0, "");
    ExpectLoad(__LINE__, "<?TarvinMenu version='1.00'?>\r\n" + body, 0, "");
    ExpectLoad(__LINE__, body, 0, "");
    ExpectLoad(__LINE__, "", 0, "");
    ExpectLoad(__LINE__, kHeader, 1, "");

    CSTaskList list;
    list.AddTask(new CSTask());
    EXPECT_EQ(0, list.Load("/nonexistent/folder/Tarvin Schedule.dat"));
    EXPECT_EQ(0, list.GetCount());
}

TEST(ScheduleFile, ReadsLooseButWellFormedFiles)
{
    // Bare LF or CR breaks, blank lines, other elements between tasks.
    ExpectLoad(__LINE__,
               "<?TarvinSchedule version='1.00'?>\n\n" + TaskLine("A") + kRule +
                   "</task>\r\r\r<note x=\"1\" />\n" + Task("B") + "<other>\r\n\r\n\r\n",
               1, "A,B");

    // Any line other than an end tag closes a task.
    ExpectLoad(__LINE__, std::string(kHeader) + TaskLine("A") + kRule + "<other />\r\n" + Task("B"), 1,
               "A,B");

    // Missing attributes keep the defaults of a new task.
    ScratchDir dir;
    WriteBytes(dir.Path("s.dat"),
               std::string(kHeader) + "<TASK name=\"x\">\r\n<Rule type=\"2\" data=\"5\"/>\r\n</task>\r\n");
    CSTaskList list;
    EXPECT_EQ(1, list.Load(dir.Path("s.dat").c_str()));
    ASSERT_EQ(1, list.GetCount());
    EXPECT_EQ("x||||ws 1 id 1/0 flags 0111 count 0|0 --- 0000 00:00:00:000|0 --- 0000 00:00:00:000|"
              "0 --- 0000 00:00:00:000 [2 0 5 0]",
              Describe(*list.GetAt(0)));
}

TEST(ScheduleFile, DamagedFilesKeepWhatWasReadAndEveryTaskARule)
{
    const std::string h = kHeader;
    // The file ends after a task line: the task stays, with a new rule.
    ExpectLoad(__LINE__, h + Task("A") + TaskLine("B"), 0, "A,B");
    // An end line, or the next task, where the rule should be.
    ExpectLoad(__LINE__, h + Task("A") + TaskLine("B") + "</task>\r\n" + Task("C"), 0, "A,B");
    ExpectLoad(__LINE__, h + TaskLine("A") + Task("B"), 0, "A");
    // The file ends after the rule line.
    ExpectLoad(__LINE__, h + TaskLine("A") + kRule, 0, "A");
    // Another end tag in place of "</task>".
    ExpectLoad(__LINE__, h + TaskLine("A") + kRule + "</rule>\r\n" + Task("B"), 0, "A");
    // A missing "</task>" must not swallow the next task: both are read and
    // the damage is reported.
    ExpectLoad(__LINE__, h + TaskLine("A") + kRule + Task("B") + Task("C"), 0, "A,B,C");
    // A stray end line makes up no task and takes nothing from the next
    // one, but the file is reported as damaged.
    ExpectLoad(__LINE__, h + "</task>\r\n" + Task("A"), 0, "A");
    ExpectLoad(__LINE__, h + Task("A") + "</task>\r\n" + Task("B"), 0, "A,B");
    // A line past the reader's limit ends the read.
    ExpectLoad(__LINE__, h + Task("A") + "<task name=\"" + std::string(2100, 'x') + "\" >\r\n" + Task("B"), 0,
               "A");

    ScratchDir dir;
    WriteBytes(dir.Path("s.dat"), h + Task("A") + TaskLine("B") + "</task>\r\n");
    CSTaskList list;
    ASSERT_EQ(0, list.Load(dir.Path("s.dat").c_str()));
    ASSERT_EQ(2, list.GetCount());
    EXPECT_EQ(0u, list.GetAt(1)->GetFirstRule()->type) << "an undefined rule";
    EXPECT_STREQ("t", list.GetAt(1)->GetTarget());
    // What was recovered saves as a clean file that loads without complaint.
    ASSERT_EQ(1, list.Save(dir.Path("s.dat").c_str()));
    EXPECT_EQ(1, list.Load(dir.Path("s.dat").c_str()));
    EXPECT_EQ(2, list.GetCount());
}

TEST(ScheduleFile, ValuesAreCutAndFoundByName)
{
    const std::string h = kHeader;
    ScratchDir dir;
    CSTaskList list;

    // Longer than a field: cut, the rest of the line still read.
    WriteBytes(dir.Path("a.dat"), h + "<task name=\"" + std::string(1400, 'n') + "\" target=\"" +
                                      std::string(300, 't') + "\" recurrences=\"7\" time=\"5 Dec 2026 " +
                                      std::string(200, ' ') + "\" >\r\n" + kRule + "</task>\r\n");
    ASSERT_EQ(1, list.Load(dir.Path("a.dat").c_str()));
    EXPECT_EQ(std::string(259, 'n'), list.GetAt(0)->GetName());
    EXPECT_EQ(std::string(259, 't'), list.GetAt(0)->GetTarget());
    EXPECT_EQ(7u, list.GetAt(0)->GetRecurrenceCount());

    // Attributes written without a space between them are all found.
    WriteBytes(dir.Path("w.dat"),
               h + "<task name=\"a\"target=\"b\"cmdline='c'recurrences=\"4\" >\r\n" + kRule + "</task>\r\n");
    ASSERT_EQ(1, list.Load(dir.Path("w.dat").c_str()));
    EXPECT_STREQ("a", list.GetAt(0)->GetName());
    EXPECT_STREQ("b", list.GetAt(0)->GetTarget());
    EXPECT_STREQ("c", list.GetAt(0)->GetCmdLine());
    EXPECT_EQ(4u, list.GetAt(0)->GetRecurrenceCount());

    CSTaskList out;

    // Attribute names inside other values do not hide the attributes.
    CSTask* tricky = MakeBackup();
    tricky->SetName("Overtime target last orig windowstate");
    tricky->SetAction("C:\\last\\orig time.launch", "D:\\time=x", "name=\"", 2);
    out.Clear();
    out.AddTask(tricky);
    ASSERT_EQ(1, out.Save(dir.Path("c.dat").c_str()));
    ASSERT_EQ(1, list.Load(dir.Path("c.dat").c_str()));
    EXPECT_EQ(Describe(*tricky), Describe(*list.GetAt(0)));
}

TEST(ScheduleFile, FailedSaveIsReportedAndKeepsTheOldFile)
{
    ScratchDir dir;
    CSTaskList list;
    list.AddTask(MakeBackup());
    EXPECT_EQ(0, list.Save(dir.Path("missing/s.dat").c_str()));

    // The target cannot be replaced (it is a folder): nothing claims success.
    std::filesystem::create_directories(dir.Path("folder.dat"));
    EXPECT_EQ(0, list.Save(dir.Path("folder.dat").c_str()));
    EXPECT_TRUE(std::filesystem::is_directory(dir.Path("folder.dat")));

    WriteBytes(dir.Path("old.dat"), "old");
    std::string longPath = dir.Path(std::string(300, 'p'));
    EXPECT_EQ(0, list.Save(longPath.c_str()));
    EXPECT_EQ("old", ReadBytes(dir.Path("old.dat")));

    // A task without a rule is written with a new one, so the file stays loadable.
    CSTask* bare = new CSTask();
    bare->SetName("bare");
    list.AddTask(bare);
    ASSERT_EQ(1, list.Save(dir.Path("s.dat").c_str()));
    CSTaskList again;
    EXPECT_EQ(1, again.Load(dir.Path("s.dat").c_str()));
    ASSERT_EQ(2, again.GetCount());
    EXPECT_EQ(0u, again.GetAt(1)->GetFirstRule()->type);
}

// Every text of a task comes back as it was with quotes of either kind, and
// no text can set another attribute ("a\" time=\"1 Jan 2000" once made the
// task overdue). A text with both kinds cannot be stored: the model says so,
// and the writer keeps it from spilling into the other attributes.
TEST(ScheduleFile, EveryTextKeepsQuotesOfEitherKind)
{
    typedef int (CSTask::*Setter)(const char*);
    typedef const char* (CSTask::*Getter)() const;
    const struct
    {
        const char* name;
        Setter set;
        Getter get;
    } fields[] = {
        {"name", &CSTask::SetName, &CSTask::GetName},
        {"target", &CSTask::SetTarget, &CSTask::GetTarget},
        {"workdir", &CSTask::SetDir, &CSTask::GetDir},
        {"cmdline", &CSTask::SetCmdLine, &CSTask::GetCmdLine},
    };
    const struct
    {
        const char* value;
        bool storable;
        const char* back; // what a load gives
    } values[] = {
        {"a\" time=\"1 Jan 2000 00:00:00:000", true, nullptr},
        {"it's' recurrences='99", true, nullptr},
        {"say \"hi\"", true, nullptr},
        {"\"", true, nullptr},
        {"'", true, nullptr},
        {"both ' and \" time=\"1 Jan 2000 00:00:00:000", false, "both ' and "},
    };
    ScratchDir dir;
    std::string path = dir.Path("q.dat");
    for (const auto& f : fields)
    {
        for (const auto& v : values)
        {
            SCOPED_TRACE(std::string(f.name) + ": " + v.value);
            CSTask* task = MakeBackup();
            (task->*f.set)(v.value);
            EXPECT_EQ(v.storable, task->IsStorable());
            CSTaskList out;
            out.AddTask(task);
            ASSERT_EQ(1, out.Save(path.c_str()));
            CSTaskList in;
            ASSERT_EQ(1, in.Load(path.c_str()));
            ASSERT_EQ(1, in.GetCount());
            CSTask* t = in.GetAt(0);
            EXPECT_STREQ(v.back ? v.back : v.value, (t->*f.get)());
            for (const auto& other : fields)
            {
                if (other.get != f.get)
                {
                    EXPECT_STREQ((task->*other.get)(), (t->*other.get)()) << other.name;
                }
            }
            EXPECT_EQ("6 Dec 2026 02:00:00:000", Text(t->GetScheduledTime()));
            EXPECT_EQ(12u, t->GetRecurrenceCount());
            EXPECT_TRUE(t->IsStorable());
        }
    }
    const char* field = nullptr;
    CSTask task;
    task.SetCmdLine("'\"");
    EXPECT_FALSE(task.IsStorable(&field));
    EXPECT_STREQ("'\"", field);
}

#include "RuleEdit.h"
#include "schedule_testutil.h"
#include "testutil.h"

#include <memory>

TEST(ScheduleEdges, YearlyIsSelectable)
{
    tagSUBTYPE_CHOICE choices[RULE_MAX_SUBTYPE_CHOICES];
    int selected = -1;
    GetSubtypeChoices(ST_TYPE_PERIODIC, ST_PERIOD_YEARS, choices, &selected);
    EXPECT_STREQ("Yearly", choices[selected].text);
}

// A rule nobody has filled in (or of a type this version does not know)
// keeps its time whatever the pickers show.
TEST(ScheduleEdges, ClosingLeavesARuleOfNoKnownType)
{
    const CTime due = Make(2099, 1, 1, 9), picked = Make(2030, 5, 6, 7, 8);
    for (DWORD type : {(DWORD)ST_TYPE_UNDEFINED, (DWORD)ST_TYPE_EVENT + 1})
    {
        std::unique_ptr<CSTask> task(NewTask("t", type, 1, 1, due));
        CloseRuleTime(task.get(), ST_TYPE_DATE, true, picked);
        EXPECT_EQ(Text(due), Text(task->GetFirstRule()->time)) << type;
        EXPECT_EQ(Text(due), Text(task->GetScheduledTime())) << type;
    }
}

// An attribute that is there but empty is read (as 0), not passed over.
TEST(ScheduleEdges, AnEmptyAttributeIsRead)
{
    ScratchDir dir;
    WriteBytes(dir.Path("s.dat"),
               "<?TarvinSchedule version='1.00'?>\r\n"
               "<task name=\"e\" target=\"t\" windowstate=\"\" time=\"1 Jan 2027 00:00:00:000\" >\r\n"
               "<rule type=\"2\" subtype=\"3\" data=\"1\" time=\"1 Jan 2027 00:00:00:000\" />\r\n"
               "</task>\r\n");
    CSTaskList list;
    ASSERT_EQ(1, list.Load(dir.Path("s.dat").c_str()));
    ASSERT_EQ(1, list.GetCount());
    EXPECT_EQ(0, list.GetAt(0)->GetWindowState());
}

// The first and last moments of a year are times like any other.
TEST(ScheduleEdges, TheEndsOfAYearAreValid)
{
    EXPECT_TRUE(IsValidTaskTime(Make(2026, 1, 1)));
    EXPECT_TRUE(IsValidTaskTime(Make(2026, 12, 31, 23, 59, 59, 999)));
    EXPECT_FALSE(IsValidTaskTime(Make(2026, 12, 31, 24)));
}

// A run may fall on the end of a window that does not wrap past midnight.
TEST(ScheduleEdges, AWindowAllowsItsEnd)
{
    CSTRecRule rule;
    rule.type = ST_TYPE_PERIODIC;
    rule.subtype = ST_PERIOD_MINUTES;
    rule.data = 30;
    rule.except = 0;
    rule.SetExceptTime(Make(2000, 1, 1, 12), Make(2000, 1, 1, 13));
    CTime next;
    ASSERT_EQ(1, rule.GetNextScheduledTimeAfter(Make(2026, 12, 5, 12, 30), next));
    EXPECT_EQ(Text(Make(2026, 12, 5, 13)), Text(next));
}

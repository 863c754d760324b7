#include "RuleEdit.h"

#include <memory>
#include <string>

#include <gtest/gtest.h>

#include "schedule_testutil.h"

namespace
{

TEST(RuleEdit, SubtypeListNamesTheStoredSubtypeAndKeepsIt)
{
    struct Case
    {
        DWORD type, stored;
        const char* texts; // the entries joined by '|'
        int selected;
        DWORD kept; // the subtype of the selected entry
    } cases[] = {
        {ST_TYPE_PERIODIC, ST_PERIOD_DAYS, "Minutely|Hourly|Daily|Weekly|Monthly|Yearly", 2, ST_PERIOD_DAYS},
        {ST_TYPE_PERIODIC, 9, "Minutely|Hourly|Daily|Weekly|Monthly|Yearly", 0, ST_PERIOD_MINUTES},
        {ST_TYPE_EVENT, ST_EVENT_STARTUP, "Startup", 0, ST_EVENT_STARTUP},
        {ST_TYPE_EVENT, ST_EVENT_SHUTDOWN, "Startup|Shutdown", 1, ST_EVENT_SHUTDOWN},
        {ST_TYPE_EVENT, 7, "Startup|Other event", 1, 7},
        {ST_TYPE_DATE, 1, "Select date below", 0, 1},
    };
    for (const Case& c : cases)
    {
        tagSUBTYPE_CHOICE choices[RULE_MAX_SUBTYPE_CHOICES];
        int selected = -1;
        int n = GetSubtypeChoices(c.type, c.stored, choices, &selected);
        std::string texts;
        for (int i = 0; i < n; i++)
            texts += std::string(i ? "|" : "") + choices[i].text;
        SCOPED_TRACE(testing::Message() << "type " << c.type << " subtype " << c.stored);
        EXPECT_EQ(c.texts, texts);
        EXPECT_EQ(c.selected, selected);
        EXPECT_EQ(c.kept, choices[selected].subtype);
    }
}

TEST(RuleEdit, ClosingKeepsTheTimeUnlessThePickersOrTheTypeChanged)
{
    const CTime zero = Make(0, 0, 0), due = Make(2099, 1, 1, 9, 0), picked = Make(2030, 5, 6, 7, 8);
    const CTime today = Make(2026, 12, 7); // what the pickers show for a time they cannot hold
    struct Case
    {
        const char* what;
        DWORD type, typeAtOpen;
        CTime stored;
        bool changed;
        CTime shown;
        CTime expected;
    } cases[] = {
        {"spent one-time task looked at", ST_TYPE_DATE, ST_TYPE_DATE, zero, false, today, zero},
        {"spent one-time task given a date", ST_TYPE_DATE, ST_TYPE_DATE, zero, true, picked, picked},
        {"periodic task looked at", ST_TYPE_PERIODIC, ST_TYPE_PERIODIC, due, false, due, due},
        {"start-up task made periodic", ST_TYPE_PERIODIC, ST_TYPE_EVENT, zero, false, today, today},
        {"one-time task made an event", ST_TYPE_EVENT, ST_TYPE_DATE, due, false, due, zero},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.what);
        std::unique_ptr<CSTask> task(NewTask("t", c.type, 1, 1, c.stored));
        CloseRuleTime(task.get(), c.typeAtOpen, c.changed, c.shown);
        EXPECT_EQ(Text(c.expected), Text(task->GetFirstRule()->time));
        EXPECT_EQ(Text(c.expected), Text(task->GetScheduledTime()));
    }
}

} // namespace

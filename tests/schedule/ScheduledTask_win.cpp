#include <windows.h>

#include "ScheduledTask_win.h"
#include "schedule_testutil.h"

#include <gtest/gtest.h>

#include <string>

namespace
{

std::string LocaleText(const SYSTEMTIME& st, const char* dateFormat)
{
    char buf[128] = "";
    GetDateFormatA(LOCALE_USER_DEFAULT, dateFormat ? 0 : DATE_LONGDATE, &st, dateFormat, buf, sizeof(buf));
    return buf;
}

// Installs the locale texts for one test and puts the English ones back.
class LocaleDates : public ::testing::Test
{
  protected:
    void SetUp() override
    {
        UseLocaleTaskDates();
    }
    void TearDown() override
    {
        SetTaskDateFormatter(nullptr);
    }
};

} // namespace

TEST_F(LocaleDates, DescriptionUsesTheUsersLongDateAndShortTime)
{
    CSTRecRule rule;
    rule.type = ST_TYPE_DATE;
    rule.time = Make(2026, 12, 5, 21, 56, 50);
    rule.time.GetSystemTimePtr()->wDayOfWeek = 1; // stale: 5 Dec 2026 is a Saturday

    char date[ST_DATE_TEXT_SIZE], timeOfDay[ST_DATE_TEXT_SIZE];
    ASSERT_EQ(1, FormatTaskDate(rule.time, date, sizeof(date), timeOfDay, sizeof(timeOfDay)));
    SYSTEMTIME saturday = *rule.time.GetSystemTimePtr();
    saturday.wDayOfWeek = 6;
    EXPECT_EQ(LocaleText(saturday, nullptr), date);
    EXPECT_NE(std::string(date).find("2026"), std::string::npos);
    SYSTEMTIME monday = saturday;
    monday.wDay = 7;
    monday.wDayOfWeek = 1;
    EXPECT_EQ(std::string::npos, std::string(date).find(LocaleText(monday, "dddd"))) << date;
    EXPECT_NE(std::string(timeOfDay).find("56"), std::string::npos);
    EXPECT_EQ(std::string(timeOfDay).find("50"), std::string::npos) << "no seconds";

    char buf[ST_DESCRIPTION_SIZE];
    rule.GetDescription(buf, sizeof(buf));
    EXPECT_EQ("Schedule to run on " + std::string(date) + " at " + timeOfDay, buf);
}

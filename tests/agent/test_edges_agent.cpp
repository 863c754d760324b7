#include "hiddenjournal.h"
#include "keysfile.h"
#include "logline.h"

#include <gtest/gtest.h>

TEST(AgentEdges, KeyNamesAtTheEndsOfEachRange)
{
    struct
    {
        int vcode;
        const char* name;
    } cases[] = {
        {47, "Unknown"}, {48, "0"},      {57, "9"},   {58, "Unknown"}, {91, "Unknown"},  {95, "Unknown"},
        {96, "Num 0"},   {111, "Num /"}, {112, "F1"}, {135, "F24"},    {136, "Unknown"}, {146, "Unknown"},
    };
    for (const auto& c : cases)
        EXPECT_STREQ(c.name, GetKeyName(c.vcode)) << c.vcode;
}

TEST(AgentEdges, ActionDescriptions)
{
    struct
    {
        int action;
        const char* target;
        const char* text;
    } cases[] = {
        {KEYACT_NONE, nullptr, "None"},        {KEYACT_RUN, "C:\\x.launch", "Run \"C:\\x.launch\""},
        {KEYACT_RUN, nullptr, "Run \"\""},     {KEYACT_EXIT, nullptr, "Exit Tarvin"},
        {KEYACT_EXIT + 1, nullptr, "Unknown"}, {-1, nullptr, "Unknown"},
    };
    for (const auto& c : cases)
    {
        char text[64] = "?";
        FormatActionDesc(text, sizeof(text), c.action, c.target);
        EXPECT_STREQ(c.text, text) << c.action;
    }
}

// Lines of the agent's files whose values are present but empty or zero.
TEST(AgentEdges, ReadersTakeOnlyTheirOwnTagAndEmptyValues)
{
    tagKEY_LINE key;
    EXPECT_EQ(0, ReadKeyLine("<window vcode=\"65\" action=\"2\">", &key));
    EXPECT_EQ(1, ReadKeyLine("<KEY vcode=\"65\" action=\"2\">", &key));

    tagHIDDEN_LINE window;
    ASSERT_EQ(1, ReadHiddenLine("<window hwnd=\"5\" pid=\"1\" owned=\"0\" class=\"\" />", &window));
    EXPECT_EQ(0, window.owned);
    EXPECT_STREQ("", window.className);

    // On a cut line an empty value is still a whole one.
    tagLOG_LINE item;
    ASSERT_EQ(1, ReadLogItemLine("<logitem name=\"\" description=\"cut", true, &item));
    EXPECT_STREQ("", item.name);
    EXPECT_STREQ("cut", item.description);
}

#include "EntryProposal.h"

#include <string>

#include <gtest/gtest.h>

namespace
{

struct Step
{
    const char* target;
    const char* typedText;  // the user's own name (null: left as shown)
    const char* pickedIcon; // the user's own icon (null: left as shown)
    const char* text;       // what the name page then shows
    const char* iconPath;
};

// The name page is entered once per step, after the target page: the user
// may rename or pick an icon there, go back, and choose another target.
TEST(EntryProposal, FollowsTheTargetUntilTheUserEditsTheNameOrTheIcon)
{
    const Step steps[] = {
        {"C:\\Tools\\notepad.exe", nullptr, nullptr, "Notepad", "C:\\Tools\\notepad.exe"},
        {"C:\\Tools\\calc.exe", nullptr, nullptr, "Calc", "C:\\Tools\\calc.exe"},
        {"C:\\Tools\\calc.exe", "Sums", nullptr, "Calc", "C:\\Tools\\calc.exe"},
        {"D:\\paint.exe", nullptr, "shell32.dll", "Sums", "D:\\paint.exe"},
        {"D:\\Backup.launch", nullptr, nullptr, "Sums", "shell32.dll"},
    };
    CMenuItem entry;
    entry.SetStyle(MENU_STYLE_ITEM);
    tagENTRY_PROPOSAL last;
    ClearEntryProposal(&last);
    for (const Step& s : steps)
    {
        SCOPED_TRACE(s.target);
        entry.SetTarget(s.target);
        ProposeEntryTextAndIcon(&entry, &last);
        EXPECT_EQ(s.text, std::string(entry.GetText()));
        EXPECT_EQ(s.iconPath, std::string(entry.GetIconPath()));
        if (s.typedText)
            entry.SetText(s.typedText);
        if (s.pickedIcon)
        {
            entry.SetIconPath(s.pickedIcon);
            entry.SetIconNumber(19);
        }
    }
    EXPECT_EQ(19u, entry.GetIconNumber());
}

TEST(EntryProposal, NamesTheFileTitleWithACapitalOrANeutralName)
{
    const char* const cases[][2] = {
        {"C:\\a\\backup.launch", "Backup"}, {"report", "Report"},
        {"C:\\x\\9lives.exe", "9lives"},    {"", "New Menu Item"},
        {"C:\\dir\\", "New Menu Item"},
    };
    for (const auto& c : cases)
    {
        char name[MENU_TEXT_SIZE];
        ProposeEntryName(c[0], name, sizeof(name));
        EXPECT_STREQ(c[1], name) << c[0];
    }
}

} // namespace

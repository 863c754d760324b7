#include "keysfile.h"
#include "xmlutils.h"
#include "strutils.h"
#include "testutil.h"

// The one text of a key line comes back as it was with quotes of either kind,
// and cannot set the key's numbers; a target with both kinds cannot be
// stored and is written so that it never spills into other attributes.
TEST(KeysFileLine, TargetKeepsQuotesOfEitherKind)
{
    const struct
    {
        const char* target;
        bool storable;
        const char* back;
    } cases[] = {
        {"C:\\a\" action=\"10", true, nullptr},
        {"it's' vcode='70", true, nullptr},
        {"\"", true, nullptr},
        {"'", true, nullptr},
        {"C:\\plain.launch", true, nullptr},
        {"both ' and \" action=\"10", false, "both ' and "},
    };
    for (const auto& c : cases)
    {
        SCOPED_TRACE(c.target);
        tagKEY_LINE key = {84, KEYMOD_CONTROL | KEYMOD_ALT, KEYACT_RUN, ""};
        StrCopy(key.target, c.target);
        EXPECT_EQ(c.storable, IsStorableValue(key.target));
        char line[KEY_LINE_SIZE];
        EXPECT_EQ(c.storable, FormatKeyLine(line, sizeof(line), &key));
        tagKEY_LINE back;
        ASSERT_EQ(1, ReadKeyLine(line, &back));
        EXPECT_STREQ(c.back ? c.back : c.target, back.target);
        EXPECT_EQ(84, back.vcode);
        EXPECT_EQ(unsigned(KEYMOD_CONTROL | KEYMOD_ALT), back.mods);
        EXPECT_EQ(KEYACT_RUN, back.action);
    }
}

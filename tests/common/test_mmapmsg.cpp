#include "MMapIPC.h"

#include <gtest/gtest.h>
#include <memory>
#include <string>

#include "strutils.h"

namespace
{
struct ParseCase
{
    const char* text;
    int parsed;
    const char* to;
    const char* from;
    DWORD sent;
    DWORD ttl;
    const char* body;
};

const ParseCase g_parseCases[] = {
    {"<TVAgent:1234:5000:250>agent:showall", 1, "TVAgent", "1234", 5000, 250, "agent:showall"},
    // The body runs to the end, whatever it holds.
    {"<a:b:1:2>x:y>z<w:", 1, "a", "b", 1, 2, "x:y>z<w:"},
    {"<a:b:1:2>", 1, "a", "b", 1, 2, ""},
    {"junk<a:b:1:2>c", 1, "a", "b", 1, 2, "c"},
    {"<:b:1:2>c", 1, "", "b", 1, 2, "c"},
    {"<a:b:0004294967295:00>c", 1, "a", "b", 4294967295u, 0, "c"},
    {"<fifteen_chars__:fifteen_chars__:1:2>c", 1, "fifteen_chars__", "fifteen_chars__", 1, 2, "c"},
    {"", 0, "", "", 0, 0, ""},
    {"a:b:1:2>c", 0, "", "", 0, 0, ""},
    {"<a:b:1>c", 0, "", "", 0, 0, ""},
    {"<a:b:1:2", 0, "", "", 0, 0, ""},
    {"<a:b>c", 0, "", "", 0, 0, ""},
    {"<sixteen_chars___:b:1:2>c", 0, "", "", 0, 0, ""},
    {"<a:sixteen_chars___:1:2>c", 0, "", "", 0, 0, ""},
    {"<a:b:4294967296:2>c", 0, "", "", 0, 0, ""},
    {"<a:b:1:99999999999999999999>c", 0, "", "", 0, 0, ""},
    {"<a:b::2>c", 0, "", "", 0, 0, ""},
    {"<a:b:1:>c", 0, "", "", 0, 0, ""},
    {"<a:b:-1:2>c", 0, "", "", 0, 0, ""},
    {"<a:b: 1:2>c", 0, "", "", 0, 0, ""},
    {"<a:b>x:1:2>c", 0, "", "", 0, 0, ""},
    {"<a>x:b:1:2>c", 0, "", "", 0, 0, ""},
    // The ':' of a body does not stand in for a missing field.
    {"<a:b:1>x:2>c", 0, "", "", 0, 0, ""},
};
} // namespace

TEST(MMapMsg, ParsesWellFormedFramesAndRejectsTheRest)
{
    for (const ParseCase& c : g_parseCases)
    {
        SCOPED_TRACE(c.text);
        CMMapMsg msg;
        ASSERT_EQ(msg.SetMsgStr(c.text), 1);
        EXPECT_EQ(msg.IsParsed(), c.parsed);
        EXPECT_STREQ(msg.GetToId(), c.to);
        EXPECT_STREQ(msg.GetFromId(), c.from);
        EXPECT_EQ(msg.GetTimeSent(), c.sent);
        EXPECT_EQ(msg.GetTTL(), c.ttl);
        EXPECT_STREQ(msg.GetMessage(), c.body);
        // The taken text is kept as it was, parsed or not.
        EXPECT_STREQ(msg.GetMsgStr(), c.text);
    }
}

TEST(MMapMsg, BuildsTheFrameRecipientFirst)
{
    CMMapMsg msg;
    EXPECT_EQ(msg.IsEmpty(), 1);
    EXPECT_EQ(msg.SetMessage("agent:showall"), 1);
    EXPECT_EQ(msg.SetFromId("1234"), 1);
    EXPECT_EQ(msg.SetToId("TVAgent"), 1);
    msg.SetTimeSent(5000);
    msg.SetTTL(250);
    EXPECT_STREQ(msg.GetMsgStr(), "<TVAgent:1234:5000:250>agent:showall");
    EXPECT_EQ(msg.IsEmpty(), 0);

    // A part changed later rebuilds the frame with the others kept.
    msg.SetTTL(4294967295u);
    EXPECT_STREQ(msg.GetMsgStr(), "<TVAgent:1234:5000:4294967295>agent:showall");

    // Identifiers that would break the frame are refused and change nothing.
    for (const char* bad : {"", "a:b", "a>b", "sixteen_chars___"})
    {
        SCOPED_TRACE(bad);
        EXPECT_EQ(msg.SetToId(bad), 0);
        EXPECT_EQ(msg.SetFromId(bad), 0);
        EXPECT_EQ(MMapIsValidId(bad), 0);
    }
    EXPECT_EQ(MMapIsValidId(nullptr), 0);
    EXPECT_EQ(MMapIsValidId("fifteen_chars__"), 1);
    EXPECT_STREQ(msg.GetMsgStr(), "<TVAgent:1234:5000:4294967295>agent:showall");
}

TEST(MMapMsg, ChangingOnePartOfATakenTextKeepsTheOthers)
{
    CMMapMsg msg;
    msg.SetMsgStr("<agent:tvint:77:250>agent:hide=\"x\"");
    EXPECT_EQ(msg.SetMessage("OK"), 1);
    EXPECT_STREQ(msg.GetMsgStr(), "<agent:tvint:77:250>OK");

    msg.SetMsgStr("<a:b:1:2>old");
    msg.SetToId("c");
    EXPECT_STREQ(msg.GetMsgStr(), "<c:b:1:2>old");

    // CleanUp forgets the parts; the text is still there to be read again.
    msg.CleanUp();
    EXPECT_STREQ(msg.GetMessage(), "old");
    EXPECT_EQ(msg.GetTTL(), 2u);
}

TEST(MMapMsg, FrameThatDoesNotFitIsLeftEmptyNeverCut)
{
    CMMapMsg msg;
    ASSERT_EQ(msg.GetMessageSize(), MMAPIPC_MSG_SIZE);
    msg.SetToId("a");
    msg.SetFromId("b");
    msg.SetTimeSent(1);
    msg.SetTTL(2);
    const std::string frame = "<a:b:1:2>";

    // Exactly 1023 characters with the zero: fits.
    std::string body(MMAPIPC_MSG_SIZE - 1 - frame.size(), 'x');
    EXPECT_EQ(msg.SetMessage(body.c_str()), 1);
    EXPECT_EQ(msg.BuildMessage(), 1);
    EXPECT_EQ(std::string(msg.GetMsgStr()), frame + body);

    // One more does not, and leaves nothing rather than a cut frame.
    body += "y";
    EXPECT_EQ(msg.SetMessage(body.c_str()), 1);
    EXPECT_EQ(msg.BuildMessage(), 0);
    EXPECT_STREQ(msg.GetMsgStr(), "");
    EXPECT_EQ(msg.IsEmpty(), 1);

    // A body longer than its own buffer is cut there and reported.
    std::string huge(3 * MMAPIPC_MSG_SIZE, 'z');
    EXPECT_EQ(msg.SetMessage(huge.c_str()), 0);
    EXPECT_EQ(strlen(msg.GetMessage()), MMAPIPC_MSG_SIZE - 1);
}

TEST(MMapMsg, TakesAtMostTheGivenBytesOfAnUnterminatedText)
{
    // Exactly sized heap copies, so the sanitizers see any read past them.
    const std::string text = "<a:b:1:2>body";
    for (size_t n : {(size_t)0, (size_t)1, (size_t)9, text.size()})
    {
        SCOPED_TRACE(n);
        std::unique_ptr<char[]> raw(new char[n ? n : 1]);
        memcpy(raw.get(), text.data(), n);
        CMMapMsg msg;
        EXPECT_EQ(msg.SetMsgStr(raw.get(), n), 1);
        EXPECT_EQ(std::string(msg.GetMsgStr()), text.substr(0, n));
        EXPECT_EQ(msg.IsParsed(), n >= 9 ? 1 : 0);
    }

    // A full slot with no zero in it: cut to the buffer, still terminated.
    std::unique_ptr<char[]> slot(new char[MMAPIPC_MSG_SIZE]);
    memset(slot.get(), '<', MMAPIPC_MSG_SIZE);
    CMMapMsg msg;
    EXPECT_EQ(msg.SetMsgStr(slot.get(), MMAPIPC_MSG_SIZE), 1);
    EXPECT_EQ(strlen(msg.GetMsgStr()), MMAPIPC_MSG_SIZE - 1);
    EXPECT_EQ(msg.IsParsed(), 0);
}

TEST(MMapMsg, SmallMessageSizeCutsEverythingToFit)
{
    CMMapMsg msg;
    ASSERT_EQ(msg.SetMessageSize(12), 1);
    msg.SetMsgStr("<a:b:1:2>abcdefgh");
    EXPECT_STREQ(msg.GetMsgStr(), "<a:b:1:2>ab");
    EXPECT_STREQ(msg.GetMessage(), "ab");

    msg.SetMessage("abc");
    EXPECT_EQ(msg.BuildMessage(), 0);
    EXPECT_EQ(msg.SetMessage("abcdefghijklmnop"), 0);

    // Size 0 still gives a usable, always-empty message.
    ASSERT_EQ(msg.SetMessageSize(0), 1);
    EXPECT_EQ(msg.GetMessageSize(), 1u);
    msg.SetMsgStr("<a:b:1:2>x");
    EXPECT_EQ(msg.IsEmpty(), 1);
    EXPECT_EQ(msg.IsParsed(), 0);
}

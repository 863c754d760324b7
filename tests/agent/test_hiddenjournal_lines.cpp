#include "hiddenjournal.h"
#include "testutil.h"
#include "strutils.h"

#include <string.h>
#include <string>
#include <vector>

TEST(HiddenJournalLine, WrittenLinesReadBackWithTheirQuotes)
{
    const struct
    {
        const char* title;
        const char* readBack;
    } cases[] = {
        {"Plain", "Plain"},
        {"Say \"hi\"", "Say \"hi\""}, // double quotes: written in single ones
        {"It's", "It's"},             // single quotes: written in double ones
        {"Both \"x\" 'y'", "Both "},  // both kinds: cut at the first double quote
        {"", ""},
    };
    for (const auto& c : cases)
    {
        tagHIDDEN_LINE out = {4294967295ul, 12, 1, "Notepad", ""};
        StrCopy(out.title, c.title);
        char text[HIDDEN_LINE_SIZE];
        ASSERT_TRUE(FormatHiddenLine(text, sizeof(text), &out)) << c.title;
        tagHIDDEN_LINE in;
        ASSERT_EQ(1, ReadHiddenLine(text, &in)) << text;
        EXPECT_EQ(4294967295ul, in.hwnd);
        EXPECT_EQ(12ul, in.pid);
        EXPECT_EQ(1, in.owned);
        EXPECT_STREQ("Notepad", in.className);
        EXPECT_STREQ(c.readBack, in.title) << text;
    }
}

TEST(HiddenJournalLine, LinesThatCouldNameTheWrongWindowAreRejected)
{
    const char* rejected[] = {
        "<window pid=\"4\" class=\"A\" />",         // no handle
        "<window hwnd=\"10\" class=\"A\" />",       // no process
        "<window hwnd=\"0\" pid=\"4\" />",          // handle 0
        "<window hwnd=\"10\" pid=\"0\" />",         // process 0
        "<window hwnd=\"-10\" pid=\"4\" />",        // sign
        "<window hwnd=\"10x\" pid=\"4\" />",        // trailing junk
        "<window hwnd=\"4294967296\" pid=\"4\" />", // past 32 bits
        "<window hwnd=\"99999999999999999999999\" pid=\"4\" />",
        "<window hwnd=\"10 pid=\"4\" />", // unclosed
        "<key hwnd=\"10\" pid=\"4\" />",  // another tag
        "",
    };
    for (const char* line : rejected)
    {
        tagHIDDEN_LINE in;
        EXPECT_EQ(0, ReadHiddenLine(line, &in)) << line;
    }
    tagHIDDEN_LINE in;
    ASSERT_EQ(1, ReadHiddenLine("<WINDOW hwnd='10' pid=\"4\">", &in));
    EXPECT_EQ(0, in.owned);
    EXPECT_STREQ("", in.className);
}

TEST(HiddenJournalFile, NeedsItsHeaderAndReadsEveryWindowLine)
{
    ScratchDir dir;
    std::string path = dir.Path("Tarvin Hidden.dat");
    auto read = [&](const std::string& bytes, std::vector<unsigned long>* handles) {
        WriteBytes(path, bytes);
        return ReadHiddenJournal(
            path.c_str(),
            [](const tagHIDDEN_LINE& w, void* c) { ((std::vector<unsigned long>*)c)->push_back(w.hwnd); },
            handles);
    };
    std::vector<unsigned long> handles;
    EXPECT_EQ(1, read(std::string(HIDDENFILE_HEADER) + "\r\n<window hwnd=\"5\" pid=\"1\" />\r\njunk\r\n" +
                          "<window hwnd=\"6\" pid=\"1\" title=\"" + std::string(2000, 'x') + "\" />\r\n" +
                          "<window hwnd=\"7\" pid=\"1\" />",
                      &handles));
    EXPECT_EQ((std::vector<unsigned long>{5, 6, 7}), handles);

    handles.clear();
    EXPECT_EQ(0, read("<?TarvinHidden version=\"2.00\"?>\r\n<window hwnd=\"5\" pid=\"1\" />\r\n", &handles));
    EXPECT_EQ(0, read("<window hwnd=\"5\" pid=\"1\" />\r\n", &handles));
    EXPECT_EQ(0, read("", &handles));
    EXPECT_TRUE(handles.empty());
    EXPECT_EQ(0, ReadHiddenJournal(dir.Path("missing.dat").c_str(), nullptr, nullptr));
}

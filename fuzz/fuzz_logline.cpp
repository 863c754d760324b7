// The log file from arbitrary bytes, read line by line as the agent reads it
// (1359 characters at most, longer lines cut and completed from their own
// text), and each item written back and read again.
#include "fuzz_util.h"
#include "TextFile.h"
#include "logline.h"

#include <string.h>
#include <vector>

#include "strutils.h"

static bool SameTime(const SYSTEMTIME& a, const SYSTEMTIME& b)
{
    return a.wYear == b.wYear && a.wMonth == b.wMonth && a.wDay == b.wDay && a.wHour == b.wHour &&
           a.wMinute == b.wMinute && a.wSecond == b.wSecond && a.wMilliseconds == b.wMilliseconds;
}

// Times the text form carries unchanged: a real date from the year 1000 on
// with two-digit time fields.
static bool IsCanonical(const SYSTEMTIME& t)
{
    return t.wYear >= 1000 && t.wYear <= 9999 && t.wMonth >= 1 && t.wMonth <= 12 && t.wDay >= 1 &&
           t.wDay <= 28 && t.wHour < 24 && t.wMinute < 60 && t.wSecond < 60 && t.wMilliseconds < 1000;
}

static void CheckItem(const char* line, bool cut)
{
    // The line alone in an allocation of its own size: a read past it is caught.
    std::vector<char> exact(line, line + strlen(line) + 1);
    tagLOG_LINE item;
    if (!ReadLogItemLine(exact.data(), cut, &item))
        return;
    FUZZ_FAIL_IF(strnlen(item.name, sizeof(item.name)) >= sizeof(item.name) ||
                 strnlen(item.description, sizeof(item.description)) >= sizeof(item.description));

    char out[LOG_LINE_SIZE];
    FUZZ_FAIL_IF(
        !FormatLogItemLine(out, sizeof(out), item.severity, item.name, item.description, &item.time));
    tagLOG_LINE again;
    FUZZ_FAIL_IF(!ReadLogItemLine(out, false, &again) || again.severity != item.severity);
    // Texts that do not hold both kinds of quote, nor an equals sign, come
    // back as written, even when they hold the names of the line's attributes.
    auto plainText = [](const char* text) {
        return !strchr(text, '=') && !(strchr(text, '"') && strchr(text, '\''));
    };
    bool plain = plainText(item.name) && plainText(item.description);
    FUZZ_FAIL_IF(plain &&
                 (strcmp(again.name, item.name) != 0 || strcmp(again.description, item.description) != 0));
    FUZZ_FAIL_IF(plain && IsCanonical(item.time) && !SameTime(again.time, item.time));
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    std::string path = FuzzFile(data, size);
    CTextFile file;
    file.Init(1024);
    if (!file.Open(path.c_str(), CTextFile::modeRead))
        return 0;
    char line[CTextFile::lineLog];
    if (!file.ReadLine(line, sizeof(line)))
        return 0;
    int rc = ReadLogHeader(line);
    FUZZ_FAIL_IF(rc != 0 && rc != 2 && rc != 3);
    bool cut = false;
    for (int guard = 0; guard < 100000 && file.ReadCutLine(line, sizeof(line), &cut); guard++)
    {
        CheckItem(line, cut);
    }
    return 0;
}

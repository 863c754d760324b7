#include "hiddenjournal.h"
#include "TextFile.h"
#include "xmlutils.h"

#include <stdlib.h>

#include "strutils.h"

int ReadHiddenHeader(const char* line)
{
    return ReadFileHeader(line, "?TarvinHidden") == FILE_HEADER_OK ? 1 : 0;
}

// A decimal number that fills the whole value and fits in 32 bits.
static bool ReadNumber(const char* line, const char* prop, unsigned long* value)
{
    char number[32];
    if (GetPropertyValue(line, prop, number, sizeof(number)) <= 0)
        return false;
    for (const char* p = number; *p; p++)
    {
        if (*p < '0' || *p > '9')
            return false;
    }
    char* end = NULL;
    unsigned long long parsed = strtoull(number, &end, 10);
    if (parsed > 0xFFFFFFFFull)
        return false;
    *value = (unsigned long)parsed;
    return true;
}

int ReadHiddenLine(const char* line, tagHIDDEN_LINE* window)
{
    char tag[32];
    if (GetTagName(line, tag, sizeof(tag)) <= 0 || StrCompareNoCase(tag, "window") != 0)
        return 0;
    window->hwnd = window->pid = 0;
    if (!ReadNumber(line, "hwnd", &window->hwnd) || !ReadNumber(line, "pid", &window->pid) ||
        window->hwnd == 0 || window->pid == 0)
        return 0;
    unsigned long owned = 0;
    window->owned = ReadNumber(line, "owned", &owned) && owned != 0 ? 1 : 0;
    if (GetPropertyValue(line, "class", window->className, sizeof(window->className)) < 0)
        window->className[0] = '\0';
    if (GetPropertyValue(line, "title", window->title, sizeof(window->title)) < 0)
        window->title[0] = '\0';
    return 1;
}

static char ValueQuote(const char* text)
{
    return strchr(text, '"') && !strchr(text, '\'') ? '\'' : '"';
}

bool FormatHiddenLine(char* buf, size_t size, const tagHIDDEN_LINE* window)
{
    // A title with double quotes goes in single quotes, which the reader
    // takes as well; one holding both kinds is cut at its first double quote
    // when read back. The title is only there for a person reading the file.
    char cq = ValueQuote(window->className), tq = ValueQuote(window->title);
    return StrFormat(buf, size, "<window hwnd=\"%lu\" pid=\"%lu\" owned=\"%d\" class=%c%s%c title=%c%s%c />",
                     window->hwnd, window->pid, window->owned ? 1 : 0, cq, window->className, cq, tq,
                     window->title, tq);
}

int ReadHiddenJournal(const char* path, HiddenLineHandler each, void* context)
{
    CTextFile file;
    file.Init(1024);
    if (!path || !file.Open(path, CTextFile::modeRead))
        return 0;
    char line[CTextFile::lineHidden];
    if (!file.ReadLine(line, sizeof(line)) || !ReadHiddenHeader(line))
        return 0;
    for (;;)
    {
        if (!file.ReadLine(line, sizeof(line)))
        {
            if (file.IsEOF() || !file.IsLineTooLong())
                break;
            // Cut at the limit; the rest comes as a line of its own.
            line[sizeof(line) - 1] = '\0';
        }
        tagHIDDEN_LINE window;
        if (ReadHiddenLine(line, &window))
            each(window, context);
    }
    return 1;
}

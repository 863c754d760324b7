#include "logline.h"
#include "Time.h"
#include "xmlutils.h"

#include <stdlib.h>

#include "strutils.h"

int ReadLogHeader(const char* line)
{
    switch (ReadFileHeader(line, "?TarvinLogFile"))
    {
        case FILE_HEADER_OK:
            return 0;
        case FILE_HEADER_BAD_VERSION:
            return 3;
        default:
            return 2;
    }
}

// prop="..." as GetPropertyValue reads it; on a cut line an opened but
// unclosed value is taken up to the end of the line.
static bool ReadText(const char* line, const char* prop, bool cut, char* value, size_t size)
{
    value[0] = '\0';
    if (GetPropertyValue(line, prop, value, (unsigned)size) >= 0)
        return true;
    if (!cut)
        return false;
    const char* at = FindProperty(line, prop);
    if (!at)
        return false;
    StrCopy(value, size, at + strlen(prop) + 2);
    return true;
}

int ReadLogItemLine(const char* line, bool cut, tagLOG_LINE* item)
{
    char tag[32];
    if (GetTagName(line, tag, sizeof(tag)) <= 0 || StrCompareNoCase(tag, "logitem") != 0)
        return 0;

    char number[32];
    item->severity = 0;
    if (GetPropertyValue(line, "severity", number, sizeof(number)) >= 0)
        item->severity = StrToInt(number);
    ReadText(line, "name", cut, item->name, sizeof(item->name));
    ReadText(line, "description", cut, item->description, sizeof(item->description));

    // A time that is missing or unreadable stays "no time" rather than being
    // taken from anywhere else.
    memset(&item->time, 0, sizeof(item->time));
    char when[64];
    CTime time;
    if (GetPropertyValue(line, "datetime", when, sizeof(when)) >= 0 && time.Set(when) == 0)
    {
        item->time = *time.GetSystemTimePtr();
        item->time.wDayOfWeek = 0; // not part of the text form
    }
    return 1;
}

bool FormatLogItemLine(char* buf, size_t size, int severity, const char* name, const char* description,
                       const SYSTEMTIME* time)
{
    CTime t;
    t.Set(time);
    char when[64];
    t.GetString(when, sizeof(when));
    name = name ? name : "";
    description = description ? description : "";
    // A text with double quotes (a Message line quoting someone, say) goes
    // in single quotes, which the reader takes as well; only a text holding
    // both kinds is cut at its first double quote.
    char quotedName[LOG_NAME_SIZE + 3], quotedDescription[LOG_DESCRIPTION_SIZE + 3];
    QuoteValue(quotedName, sizeof(quotedName), name);
    QuoteValue(quotedDescription, sizeof(quotedDescription), description);
    return StrFormat(buf, size, "<logitem severity=\"%d\" name=%s description=%s datetime=\"%s\" />",
                     severity, quotedName, quotedDescription, when);
}

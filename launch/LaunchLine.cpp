#include "LaunchLine.h"

#include "LaunchFile.h"
#include "strutils.h"

namespace
{
bool HasLineBreak(const char* text)
{
    for (; *text; text++)
        if (*text == '\r' || *text == '\n')
            return true;
    return false;
}

bool IsNumber(const char* text)
{
    if (!*text)
        return false;
    for (; *text; text++)
        if (*text < '0' || *text > '9')
            return false;
    return true;
}

} // namespace

bool BuildLaunchLine(int action, const char* const* values, int count, char* out, size_t size)
{
    if (!out || size == 0)
        return false;
    out[0] = '\0';
    auto value = [&](int i) { return (values && i < count && values[i]) ? values[i] : ""; };
    // Room for one launch line at most, whatever the buffer.
    size_t room = size < (size_t)LAUNCH_LINE_SIZE ? size : (size_t)LAUNCH_LINE_SIZE;
    char line[LAUNCH_LINE_SIZE];
    bool fits = true;
    for (int i = 0; i < count; i++)
        if (HasLineBreak(value(i)))
            return false;
    if (action == LA_COMMENT)
        fits = StrFormat(line, sizeof(line), "//%s", value(0));
    else if (action == LA_UNKNOWN)
        fits = StrCopy(line, value(0));
    else if (action == LA_WAIT)
    {
        if (!IsNumber(value(0)))
            return false;
        fits = StrFormat(line, sizeof(line), "Wait \"%s ms\"", value(0));
    }
    else
    {
        LaunchLineShape shape = GetLaunchLineShape(action);
        int n = shape.params;
        int quoted = shape.option ? shape.option - 1 : n;
        if (action <= LA_COMMENT || action > LA_MESSAGE)
            return false;
        StrCopy(line, LaunchActionName(action));
        for (int i = 0; i < n && fits; i++)
        {
            const char* v = value(i);
            fits = StrAppend(line, i == 0 ? " " : ",");
            if (i < quoted)
            {
                if (CharFind(v, '"', 0) >= 0)
                    return false;
                fits = fits && StrAppend(line, "\"") && StrAppend(line, v) && StrAppend(line, "\"");
            }
            else
                fits = fits && StrAppend(line, v);
        }
    }
    if (!fits || !StrCopy(out, room, line))
    {
        out[0] = '\0';
        return false;
    }
    return true;
}

const char* WindowStateWord(int state)
{
    return state == 2 ? "Minimized" : state == 3 ? "Maximized" : "Normal";
}

int WindowStateFromWord(const char* word)
{
    if (word && StrCompareNoCase(word, "minimized") == 0)
        return 2;
    if (word && StrCompareNoCase(word, "maximized") == 0)
        return 3;
    return 1;
}

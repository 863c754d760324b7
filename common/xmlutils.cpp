#include "xmlutils.h"
#include "strutils.h"

static bool IsBlank(char c)
{
    return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

int GetTagName(const char* line, char* name, unsigned size)
{
    const char* p = strchr(line, '<');
    if (!p)
        return -1;
    p++;
    if (*p == '/')
        p++;
    // The rest of the line, trimmed at both ends.
    while (*p && IsBlank(*p))
        p++;
    const char* end = p + strlen(p);
    while (end > p && IsBlank(end[-1]))
        end--;
    size_t restLen = (size_t)(end - p);
    const char* stop = (const char*)memchr(p, ' ', restLen);
    if (!stop)
        stop = (const char*)memchr(p, '>', restLen);
    if (!stop)
        return -1;
    size_t len = (size_t)(stop - p);
    if (len < size)
        StrCopyN(name, size, p, len);
    else if (size > 0)
        name[0] = '\0';
    return (int)len;
}

int GetPropertyValue(const char* line, const char* prop, char* value, unsigned size)
{
    int at = StrFind(line, prop, 0);
    if (at < 0)
        return -1;
    const char* p = line + at + strlen(prop);
    if (p[0] != '=' || (p[1] != '"' && p[1] != '\''))
        return -1;
    char quote = p[1];
    const char* begin = p + 2;
    const char* close = strchr(begin, quote);
    if (!close)
        return -1;
    size_t len = (size_t)(close - begin);
    StrCopyN(value, size, begin, len);
    return (int)len;
}

int IsEndTag(const char* line)
{
    const char* p = strchr(line, '<');
    return p && p[1] == '/' ? 1 : 0;
}

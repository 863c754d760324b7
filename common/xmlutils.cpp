#include "xmlutils.h"

#include <stdlib.h>
#include <string.h>

#include "strutils.h"

int GetTagName(const char* line, char* name, unsigned size)
{
    const char* p = strchr(line, '<');
    if (!p)
        return -1;
    p++;
    if (*p == '/')
        p++;
    // The rest of the line, trimmed at both ends.
    while (*p && IsBlankChar(*p))
        p++;
    const char* end = p + strlen(p);
    while (end > p && IsBlankChar(end[-1]))
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

static bool IsNameChar(char c)
{
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_' ||
           c == '-' || c == ':' || c == '.';
}

static bool OpensValue(const char* p)
{
    return p[0] == '=' && (p[1] == '"' || p[1] == '\'');
}

const char* FindProperty(const char* line, const char* prop)
{
    size_t len = strlen(prop);
    if (len == 0)
        return nullptr;
    for (const char* p = line; *p;)
    {
        if (strncmp(p, prop, len) == 0 && OpensValue(p + len) && (p == line || !IsNameChar(p[-1])))
            return p;
        if (OpensValue(p))
        {
            const char* close = strchr(p + 2, p[1]);
            if (!close)
                return nullptr;
            p = close + 1;
            continue;
        }
        p++;
    }
    return nullptr;
}

int GetPropertyValue(const char* line, const char* prop, char* value, unsigned size)
{
    const char* at = FindProperty(line, prop);
    if (!at)
        return -1;
    const char* p = at + strlen(prop);
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

bool IsStorableValue(const char* value)
{
    return !value || !strchr(value, '"') || !strchr(value, '\'');
}

bool QuoteValue(char* out, size_t size, const char* value)
{
    if (!value)
        value = "";
    const char* doubleQuote = strchr(value, '"');
    bool whole = !doubleQuote || !strchr(value, '\'');
    char quote = doubleQuote && whole ? '\'' : '"';
    size_t len = whole ? strlen(value) : (size_t)(doubleQuote - value);
    if (size < 3)
    {
        if (size > 0)
            out[0] = '\0';
        return false;
    }
    // Cut inside the quotes, never through the closing one.
    bool fits = len <= size - 3;
    if (!fits)
        len = size - 3;
    StrFormat(out, size, "%c%.*s%c", quote, (int)len, value, quote);
    return fits && whole;
}

int ReadFileHeader(const char* line, const char* tag)
{
    char name[32];
    if (!line || GetTagName(line, name, sizeof(name)) <= 0 || StrCompareNoCase(name, tag) != 0)
        return FILE_HEADER_MISSING;
    char version[64];
    if (GetPropertyValue(line, "version", version, sizeof(version)) < 0)
        return FILE_HEADER_NO_VERSION;
    // Only the decimal text at the start: strtod would also take hexadecimal.
    size_t n = 0;
    while (version[n] && strchr(" \t+-.0123456789eE", version[n]))
        n++;
    version[n] = '\0';
    return strtod(version, nullptr) == 1.0 ? FILE_HEADER_OK : FILE_HEADER_BAD_VERSION;
}

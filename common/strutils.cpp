#include "strutils.h"

#include <stdlib.h>

bool StrCopyN(char* dst, size_t size, const char* src, size_t count)
{
    if (!dst || size == 0)
        return false;
    if (!src)
        src = "";
    size_t n = 0;
    while (n < count && src[n] != '\0' && n + 1 < size)
    {
        dst[n] = src[n];
        n++;
    }
    dst[n] = '\0';
    return n == count || src[n] == '\0';
}

bool StrCopy(char* dst, size_t size, const char* src)
{
    return StrCopyN(dst, size, src, (size_t)-1);
}

bool StrAppend(char* dst, size_t size, const char* src)
{
    if (!dst || size == 0)
        return false;
    size_t len = strnlen(dst, size);
    if (len >= size)
    {
        // Not terminated within its buffer: terminate it rather than run on.
        dst[size - 1] = '\0';
        return false;
    }
    return StrCopy(dst + len, size - len, src);
}

bool StrFormatV(char* dst, size_t size, const char* fmt, va_list args)
{
    if (!dst || size == 0)
        return false;
    int n = vsnprintf(dst, size, fmt, args);
    dst[size - 1] = '\0';
    if (n < 0)
    {
        dst[0] = '\0';
        return false;
    }
    return (size_t)n < size;
}

bool StrFormat(char* dst, size_t size, const char* fmt, ...)
{
    va_list args;
    va_start(args, fmt);
    bool fitted = StrFormatV(dst, size, fmt, args);
    va_end(args);
    return fitted;
}

static int LowerAscii(unsigned char c)
{
    return c >= 'A' && c <= 'Z' ? c + ('a' - 'A') : c;
}

int StrCompareNoCaseN(const char* a, const char* b, size_t count)
{
    for (size_t i = 0; i < count; i++)
    {
        int ca = LowerAscii((unsigned char)a[i]);
        int cb = LowerAscii((unsigned char)b[i]);
        if (ca != cb || ca == 0)
            return ca - cb;
    }
    return 0;
}

int StrCompareNoCase(const char* a, const char* b)
{
    return StrCompareNoCaseN(a, b, (size_t)-1);
}

int StrToInt(const char* text)
{
    long long value = strtoll(text, nullptr, 10);
    if (value > 2147483647LL)
        return 2147483647;
    if (value < -2147483647LL - 1)
        return -2147483647 - 1;
    return (int)value;
}

int StrFind(const char* str, const char* sub, unsigned start)
{
    size_t len = strlen(str);
    size_t subLen = strlen(sub);
    if (subLen == 0 || start > len)
        return -1;
    size_t pos = start;
    for (;;)
    {
        const char* first = (const char*)memchr(str + pos, sub[0], len - pos);
        if (!first)
            return -1;
        pos = (size_t)(first - str);
        if (subLen > len - pos)
            return -1;
        if (memcmp(str + pos, sub, subLen) == 0)
            return (int)pos;
        pos++;
    }
}

int CharFind(const char* str, char ch, unsigned start)
{
    size_t len = strlen(str);
    if (start > len)
        return -1;
    for (size_t i = start; i < len; i++)
    {
        if (str[i] == ch)
            return (int)i;
    }
    return -1;
}

int CharFindRev(const char* str, char ch, unsigned start)
{
    size_t len = strlen(str);
    if (len == 0 || start >= len)
        return -1;
    // Starts `start` characters before the last one and stops at position 1:
    // position 0 is never looked at.
    for (size_t i = len - 1 - start; i >= 1; i--)
    {
        if (str[i] == ch)
            return (int)i;
    }
    return -1;
}

int StrMid(char* dst, const char* src, int from, int to)
{
    int len = (int)strlen(src);
    if (to == -1)
        to = len - 1;
    if (from < 0 || to < from || to > len)
        return 0;
    // `to` may name the terminator; the copy then stops there.
    int count = to - from + 1;
    if (from + count > len)
        count = len - from;
    memmove(dst, src + from, (size_t)count);
    dst[count] = '\0';
    return 1;
}

int TrimStr(char* str)
{
    size_t len = strlen(str);
    size_t begin = 0;
    while (begin < len && IsBlankChar(str[begin]))
        begin++;
    size_t end = len;
    while (end > begin && IsBlankChar(str[end - 1]))
        end--;
    memmove(str, str + begin, end - begin);
    str[end - begin] = '\0';
    return 1;
}

char* StrGetLine(char* line, char* buf, int remove)
{
    const char* lf = strchr(buf, '\n');
    size_t len = lf ? (size_t)(lf - buf) : strlen(buf);
    // line may be as large as buf; it is the caller's buffer of the same size.
    memmove(line, buf, len);
    line[len] = '\0';
    if (remove)
    {
        if (lf)
            memmove(buf, lf + 1, strlen(lf + 1) + 1);
        else
            buf[0] = '\0';
    }
    return line;
}

char* StrReplace(char* str, size_t size, const char* find, const char* repl)
{
    size_t findLen = strlen(find);
    if (findLen == 0 || size == 0)
        return str;
    size_t replLen = strlen(repl);
    size_t pos = 0;
    for (;;)
    {
        int at = StrFind(str, find, (unsigned)pos);
        if (at < 0)
            break;
        size_t len = strlen(str);
        size_t tail = len - (size_t)at - findLen;
        size_t room = size - 1 - (size_t)at; // bytes available from `at` on
        size_t keepRepl = replLen < room ? replLen : room;
        size_t keepTail = tail < room - keepRepl ? tail : room - keepRepl;
        memmove(str + at + keepRepl, str + at + findLen, keepTail);
        memcpy(str + at, repl, keepRepl);
        str[(size_t)at + keepRepl + keepTail] = '\0';
        pos = (size_t)at + keepRepl;
        if (keepRepl < replLen)
            break;
    }
    return str;
}

int StrCharAppend(char* str, size_t size, char ch)
{
    size_t len = strnlen(str, size);
    if (len + 1 < size)
    {
        str[len] = ch;
        str[len + 1] = '\0';
        return (int)(len + 1);
    }
    return (int)len;
}

// Byte strings in caller-owned buffers. Positions are 0-based, -1 means not
// found and ranges are inclusive.
#pragma once

#include <stddef.h>
#include <stdarg.h>

// The bounded family: every write into a fixed buffer goes through these.
// Each always terminates the destination (when size > 0) and returns true
// when the whole text fitted; a text that does not fit is cut.
bool StrCopy(char* dst, size_t size, const char* src);
bool StrCopyN(char* dst, size_t size, const char* src, size_t count);
bool StrAppend(char* dst, size_t size, const char* src);
bool StrFormat(char* dst, size_t size, const char* fmt, ...)
#if defined(__GNUC__)
    __attribute__((format(printf, 3, 4)))
#endif
    ;
bool StrFormatV(char* dst, size_t size, const char* fmt, va_list args);

template <size_t N> inline bool StrCopy(char (&dst)[N], const char* src)
{
    return StrCopy(dst, N, src);
}
template <size_t N> inline bool StrAppend(char (&dst)[N], const char* src)
{
    return StrAppend(dst, N, src);
}

// Byte-wise comparison ignoring ASCII case: <0, 0 or >0 as for strcmp.
int StrCompareNoCase(const char* a, const char* b);
int StrCompareNoCaseN(const char* a, const char* b, size_t count);

// Leading decimal number of the text as the Windows C library's atoi reads
// it: values out of range saturate instead of overflowing.
int StrToInt(const char* text);

// The blanks that trimming and the tag lines skip: space, tab, CR and LF.
inline bool IsBlankChar(char c)
{
    return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

int StrFind(const char* str, const char* sub, unsigned start);
int CharFind(const char* str, char ch, unsigned start);
int CharFindRev(const char* str, char ch, unsigned start);
int StrMid(char* dst, const char* src, int from, int to);
int TrimStr(char* str);
char* StrGetLine(char* line, char* buf, int remove);
// Replaces every occurrence of find by repl; the result is cut to fit in
// size bytes.
char* StrReplace(char* str, size_t size, const char* find, const char* repl);
int StrCharAppend(char* str, size_t size, char ch);

// Keeps the unbounded C functions out of the tree.
#include "strban.h"

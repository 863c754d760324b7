// Included last by strutils.h: the unbounded string functions must not be
// used; the bounded family in strutils.h replaces them.
#pragma once

#include <string.h>
#include <stdio.h>

#undef strcpy
#undef strcat
#undef sprintf
#undef vsprintf
#undef lstrcpy
#undef lstrcpyA
#undef lstrcat
#undef lstrcatA
#undef wsprintfA
#define strcpy use_StrCopy_instead
#define strcat use_StrAppend_instead
#define sprintf use_StrFormat_instead
#define vsprintf use_StrFormatV_instead
#define lstrcpy use_StrCopy_instead
#define lstrcpyA use_StrCopy_instead
#define lstrcat use_StrAppend_instead
#define lstrcatA use_StrAppend_instead
#define wsprintfA use_StrFormat_instead

// One line of the log file "Tarvin.log": the header and the item lines, read
// and written. Portable, so the reader can be fuzzed on the host.
#pragma once

#include <stddef.h>
#include "platform.h"

#define LOGFILE_HEADER "<?TarvinLogFile version='1.00'?>"

const size_t LOG_NAME_SIZE = 256;
const size_t LOG_DESCRIPTION_SIZE = 1024;
// Longest item line written: both texts full, the widest time, the markup.
const size_t LOG_LINE_SIZE = LOG_NAME_SIZE + LOG_DESCRIPTION_SIZE + 160;

struct tagLOG_LINE
{
    int severity;
    char name[LOG_NAME_SIZE];
    char description[LOG_DESCRIPTION_SIZE];
    SYSTEMTIME time; // all zero (year 0) when the line carries no readable time
};

// 0 for a log header of version 1.00; 2 when the line is no log header or
// has no version; 3 for any other version.
int ReadLogHeader(const char* line);

// Reads a "logitem" line (tag name in any case); 0 for any other line.
// A missing attribute leaves its field empty, 0 or no time. cut says that the
// line was cut at the reader's limit: a name or description whose closing
// quote is missing then runs to the end of the line. Nothing is read from
// outside the line.
int ReadLogItemLine(const char* line, bool cut, tagLOG_LINE* item);

// The item line without its line break; false when it did not fit in size.
bool FormatLogItemLine(char* buf, size_t size, int severity, const char* name, const char* description,
                       const SYSTEMTIME* time);

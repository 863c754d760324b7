// The journal "Tarvin Hidden.dat": one line for every window the agent keeps
// hidden, so that an agent that was killed or crashed can show them again at
// its next start. Portable, so the reader can be fuzzed on the host.
#pragma once

#include <stddef.h>

#define HIDDENFILE_HEADER "<?TarvinHidden version=\"1.00\"?>"
#define HIDDENFILE_NAME "Tarvin Hidden.dat"

const size_t HIDDEN_TEXT_SIZE = 256;
// Longest window line written: both texts full, two numbers of 10 digits.
const size_t HIDDEN_LINE_SIZE = 2 * HIDDEN_TEXT_SIZE + 96;

struct tagHIDDEN_LINE
{
    unsigned long hwnd; // window handles carry 32 significant bits on every Windows
    unsigned long pid;
    int owned; // 1: hidden together with the window before it, shown without activation
    char className[HIDDEN_TEXT_SIZE];
    char title[HIDDEN_TEXT_SIZE];
};

// 1 for a journal header of version 1.00, else 0.
int ReadHiddenHeader(const char* line);
// Reads a "window" line (tag name in any case); 0 for any other line and for
// a line without a handle or a process id, which could only name the wrong
// window. Texts longer than their buffers are cut.
int ReadHiddenLine(const char* line, tagHIDDEN_LINE* window);
// The window line without its line break; false when it did not fit in size.
bool FormatHiddenLine(char* buf, size_t size, const tagHIDDEN_LINE* window);

// Reads the journal at path and hands each window line to each, in file
// order. 1 when the file was read; 0 when it is missing, unreadable or has no
// journal header (nothing is handed on then).
typedef void (*HiddenLineHandler)(const tagHIDDEN_LINE& window, void* context);
int ReadHiddenJournal(const char* path, HiddenLineHandler each, void* context);

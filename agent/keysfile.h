// The keys file "Tarvin Keys.keys" line by line, and the names of keys and
// hot-key actions. Portable, so the reader can be fuzzed on the host.
#pragma once

#include <stddef.h>

#define KEYSFILE_HEADER "<?TarvinTarvinKeys version=\"1.00\"?>"

const size_t KEY_TARGET_SIZE = 260;
// Longest key line written: a full target, three numbers of 11 characters.
const size_t KEY_LINE_SIZE = KEY_TARGET_SIZE + 96;

// Modifier bits as the system's hot keys use them.
enum
{
    KEYMOD_ALT = 1,
    KEYMOD_CONTROL = 2,
    KEYMOD_SHIFT = 4,
    KEYMOD_WIN = 8
};

// Action codes of a Tarvin Key.
enum
{
    KEYACT_NONE = 0,
    KEYACT_RUN = 1,
    KEYACT_HIDE_WINDOW = 2,
    KEYACT_HIDDEN_LIST = 3,
    KEYACT_SHOW_ALL = 4,
    KEYACT_LOG_VIEWER = 5,
    KEYACT_PREFERENCES = 6,
    KEYACT_EDITOR = 7,
    KEYACT_MENU_EDITOR = 8,
    KEYACT_SCHEDULER = 9,
    KEYACT_EXIT = 10
};

struct tagKEY_LINE
{
    int vcode;
    unsigned mods;
    int action;
    char target[KEY_TARGET_SIZE];
};

// 1 for a keys file header of version 1.00, else 0.
int ReadKeysHeader(const char* line);
// Reads a "key" line (tag name in any case); 0 for any other line. A missing
// attribute leaves 0 or an empty target; a target longer than the buffer is
// cut.
int ReadKeyLine(const char* line, tagKEY_LINE* key);
// The key line without its line break; false when it did not fit in size or
// the target could not be written whole (it holds both quote characters: see
// IsStorableValue, which the Add dialog checks).
bool FormatKeyLine(char* buf, size_t size, const tagKEY_LINE* key);

// "Backspace", "F5", "Num *" ...; "Unknown" for a code without a name.
const char* GetKeyName(int vcode);
// The keys a new Tarvin Key can use, in the order the Add dialog lists them
// (every named key but "Separator"). Returns the count.
unsigned GetKeyChoices(const int** codes);
// The key combination, e.g. "Ctrl + Alt + T". Always terminated.
void FormatKeyText(char* buf, size_t size, int vcode, unsigned mods);
// The action's description, e.g. "Hide window" or Run "C:\x.launch".
void FormatActionDesc(char* buf, size_t size, int action, const char* target);

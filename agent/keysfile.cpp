#include "keysfile.h"
#include "xmlutils.h"

#include <stdlib.h>

#include "strutils.h"

int ReadKeysHeader(const char* line)
{
    return ReadFileHeader(line, "?TarvinTarvinKeys") == FILE_HEADER_OK ? 1 : 0;
}

static int ReadNumber(const char* line, const char* prop)
{
    char number[32];
    if (GetPropertyValue(line, prop, number, sizeof(number)) < 0)
        return 0;
    return StrToInt(number);
}

int ReadKeyLine(const char* line, tagKEY_LINE* key)
{
    char tag[32];
    if (GetTagName(line, tag, sizeof(tag)) <= 0 || StrCompareNoCase(tag, "key") != 0)
        return 0;
    key->vcode = ReadNumber(line, "vcode");
    key->mods = (unsigned)ReadNumber(line, "mods");
    key->action = ReadNumber(line, "action");
    key->target[0] = '\0';
    if (GetPropertyValue(line, "target", key->target, sizeof(key->target)) < 0)
        key->target[0] = '\0';
    return 1;
}

bool FormatKeyLine(char* buf, size_t size, const tagKEY_LINE* key)
{
    // A target with a double quote goes in single quotes.
    char target[KEY_TARGET_SIZE + 3];
    bool whole = QuoteValue(target, sizeof(target), key->target);
    return StrFormat(buf, size, "<key vcode=\"%d\" mods=\"%d\" action=\"%d\" target=%s>", key->vcode,
                     (int)key->mods, key->action, target) &&
           whole;
}

const char* GetKeyName(int vcode)
{
    static const char* const digits[] = {"0", "1", "2", "3", "4", "5", "6", "7", "8", "9"};
    static const char* const letters[] = {"A", "B", "C", "D", "E", "F", "G", "H", "I", "J", "K", "L", "M",
                                          "N", "O", "P", "Q", "R", "S", "T", "U", "V", "W", "X", "Y", "Z"};
    static const char* const numpad[] = {"Num 0",     "Num 1", "Num 2",   "Num 3", "Num 4", "Num 5",
                                         "Num 6",     "Num 7", "Num 8",   "Num 9", "Num *", "Num +",
                                         "Separator", "Num -", "Num Del", "Num /"};
    static const char* const fkeys[] = {"F1",  "F2",  "F3",  "F4",  "F5",  "F6",  "F7",  "F8",
                                        "F9",  "F10", "F11", "F12", "F13", "F14", "F15", "F16",
                                        "F17", "F18", "F19", "F20", "F21", "F22", "F23", "F24"};
    static const char* const moves[] = {"Page Up", "Page Down", "End", "Home", "Left", "Up", "Right", "Down"};
    switch (vcode)
    {
        case 8:
            return "Backspace";
        case 13:
            return "Enter";
        case 20:
            return "Caps Lock";
        case 32:
            return "Space";
        case 44:
            return "Print Scrn";
        case 45:
            return "Insert";
        case 46:
            return "Delete";
        case 145:
            return "Scroll Lock";
    }
    if (vcode >= 33 && vcode <= 40)
        return moves[vcode - 33];
    if (vcode >= 48 && vcode <= 57)
        return digits[vcode - 48];
    if (vcode >= 65 && vcode <= 90)
        return letters[vcode - 65];
    if (vcode >= 96 && vcode <= 111)
        return numpad[vcode - 96];
    if (vcode >= 112 && vcode <= 135)
        return fkeys[vcode - 112];
    return "Unknown";
}

unsigned GetKeyChoices(const int** codes)
{
    static const int choices[] = {
        8,   13,  20,  32,  33,  34,  35,  36,  37,  39,  38,  40,  44,  45,  46,  48,  49,  50,  51,
        52,  53,  54,  55,  56,  57,  65,  66,  67,  68,  69,  70,  71,  72,  73,  74,  75,  76,  77,
        78,  79,  80,  81,  82,  83,  84,  85,  86,  87,  88,  89,  90,  96,  97,  98,  99,  100, 101,
        102, 103, 104, 105, 106, 107, 109, 110, 111, 112, 113, 114, 115, 116, 117, 118, 119, 120, 121,
        122, 123, 124, 125, 126, 127, 128, 129, 130, 131, 132, 133, 134, 135, 145};
    if (codes)
        *codes = choices;
    return (unsigned)(sizeof(choices) / sizeof(choices[0]));
}

void FormatKeyText(char* buf, size_t size, int vcode, unsigned mods)
{
    if (!buf || size == 0)
        return;
    buf[0] = '\0';
    static const struct
    {
        unsigned bit;
        const char* name;
    } order[] = {{KEYMOD_CONTROL, "Ctrl"}, {KEYMOD_SHIFT, "Shift"}, {KEYMOD_WIN, "Win"}, {KEYMOD_ALT, "Alt"}};
    bool any = false;
    for (const auto& m : order)
    {
        if (!(mods & m.bit))
            continue;
        if (any)
            StrAppend(buf, size, " + ");
        StrAppend(buf, size, m.name);
        any = true;
    }
    if (any)
        StrAppend(buf, size, " + ");
    StrAppend(buf, size, GetKeyName(vcode));
}

void FormatActionDesc(char* buf, size_t size, int action, const char* target)
{
    static const char* const names[] = {"None",
                                        NULL,
                                        "Hide window",
                                        "Show hidden window list",
                                        "Show all hidden windows",
                                        "Show log file viewer",
                                        "Show preferences dialog",
                                        "Open Tarvin Editor",
                                        "Open Tarvin Menu Editor",
                                        "Open Tarvin Scheduler",
                                        "Exit Tarvin"};
    if (!buf || size == 0)
        return;
    if (action == KEYACT_RUN)
        StrFormat(buf, size, "Run \"%s\"", target ? target : "");
    else if (action >= 0 && action <= KEYACT_EXIT)
        StrCopy(buf, size, names[action]);
    else
        StrCopy(buf, size, "Unknown");
}

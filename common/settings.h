// A DWORD setting under the current user's key of a program: its key, its
// value name and the value a missing or unreadable one stands for. Each
// program's settings are named once, in a header its writer and its readers
// share (interpreterSettings.h, editor/editorSettings.h); regutils.h reads
// and writes them.
#pragma once

// Written by the tips library under the calling program's key when its check
// box changes, read by the program at its start: 0 keeps the tips closed.
#define SHOW_TIPS_NAME "Show Tips"

struct DwordSetting
{
    const char* key;
    const char* name;
    unsigned long fallback;
};

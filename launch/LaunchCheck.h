// Checks a launch file without running it: what would fail or be ignored when
// the file runs (errors), and targets that are not there now but may be by the
// time the line runs (warnings).
#pragma once

#include "LaunchFile.h"

enum
{
    LCHECK_CLEAN = 0,
    LCHECK_WARNINGS = 1,
    LCHECK_ERRORS = 2
};

struct LaunchCheckHooks
{
    // Whether a file, folder or wildcard pattern named by a line exists now.
    // Null: targets are not looked for.
    bool (*exists)(const char* path, void* ctx);
    // One finding: the line's 1-based number as the launch file editor's list
    // shows it, blank lines not counted (0 for the file as a whole), and a
    // one-line message.
    void (*report)(int line, bool error, const char* message, void* ctx);
    void* ctx;
};

// Checks one line (already trimmed, not blank); returns the worst finding.
int CheckLaunchLine(const char* text, int line, const LaunchCheckHooks& hooks);
// Reads and checks a whole file; a file that cannot be read is an error.
int CheckLaunchFile(const char* path, const LaunchCheckHooks& hooks);

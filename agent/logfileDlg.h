// The Log File Viewer (modeless) and the Set Log File Size dialog (modal).
#pragma once

#include <windows.h>

class CLogFile;

// Opens the viewer (owner the desktop) or, when *slot already holds a live
// one, brings it to the top. *slot holds the viewer while it exists and is
// cleared when it is destroyed. instance holds the dialog resources. The
// viewer, or null when it could not be created.
HWND OpenLogViewer(HINSTANCE instance, CLogFile* log, HWND* slot);

// Asks for a new maximum number of entries (1-9999), starting at current.
// The new size, or 0 when cancelled or the dialog could not be shown.
unsigned ShowSetLogSizeDialog(HINSTANCE instance, HWND owner, unsigned current);

// The viewer's date column: the long date, a space, the time without
// seconds, in the user's locale. Empty for an entry without a time.
void FormatLogTime(const SYSTEMTIME* time, char* buf, size_t size);

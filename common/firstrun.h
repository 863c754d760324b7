// The first-run library tvfrfld.dll: where the user's data files live, and
// the set-up of that folder on the suite's first start.
#pragma once

#include <windows.h>

#ifdef TVFR_BUILDING
#define TVFR_API __declspec(dllexport)
#else
#define TVFR_API __declspec(dllimport)
#endif

#ifdef __cplusplus
#define TVFR_EXTERN extern "C"
#else
#define TVFR_EXTERN
#endif

// Filled by the caller. The last two may be null (the menu editor passes
// only the first three).
typedef struct tagFIRSTRUN_DATA
{
    HWND hwndOwner;        // the caller's main window
    HINSTANCE hInstance;   // the caller's instance
    const char* tipFile;   // the tip-of-the-day picture, "tvtip.sys"
    const char* agentPath; // full path of "tvagent.exe"
    const char* tourTopic; // full path of "tv2.chm::/tvqtour_1.html"
} FIRSTRUN_DATA;

// Makes sure the files folder and "Tarvin.menu" exist; on the first run also
// puts a sample launch file there. Existing files are never touched. 0 lets
// the program go on; nonzero means the folder or the menu file could not be
// made, and the program must exit.
TVFR_EXTERN TVFR_API int __cdecl CheckFirstRunAndMenu(const struct tagFIRSTRUN_DATA* data);
// 0 ends the first run; nonzero starts it again at the next check.
TVFR_EXTERN TVFR_API void __cdecl SetFirstRun(int firstRun);
// Writes into path (260 bytes) the full path of `name` in the user's files
// folder; an empty or null name gives the folder with a trailing backslash.
// A path that would not fit gives "" and 0; otherwise 1.
TVFR_EXTERN TVFR_API int __cdecl GetMyTarvinFilesFolder(char* path, const char* name);
// 0 when the file exists in the user's files folder, nonzero when it is
// missing (or is a folder). An empty name asks about the folder itself.
TVFR_EXTERN TVFR_API int __cdecl TarvinFileExists(const char* name);

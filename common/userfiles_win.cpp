#include "userfiles.h"
#include "dirutils_win.h"
#include "firstrun.h"

bool PrepareUserFiles(HWND owner, HINSTANCE instance)
{
    char agentPath[MAX_PATH], tourPath[MAX_PATH];
    GetMyDir(agentPath, sizeof(agentPath), "tvagent.exe");
    GetMyDir(tourPath, sizeof(tourPath), "tv2.chm::/tvqtour_1.html");
    FIRSTRUN_DATA frd = {owner, instance, "tvtip.sys", agentPath, tourPath};
    // The first run is over whatever the check found: a program that must
    // exit now does not greet the user as new at its next start.
    bool ready = CheckFirstRunAndMenu(&frd) == 0;
    SetFirstRun(0);
    return ready;
}

#include <windows.h>

#include "dirutils_win.h"
#include "strutils.h"
#include "tvtip.h"
#include "xmlutils.h"

// The switch's value, or the fallback when it is not on the command line.
static const char* Switch(const char* cmdLine, const char* name, char* value, unsigned size,
                          const char* fallback)
{
    if (GetPropertyValue(cmdLine, name, value, size) < 0)
        StrCopy(value, size, fallback ? fallback : "");
    return value[0] ? value : nullptr;
}

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR cmdLine, int)
{
    char defaultFile[MAX_PATH], defaultPicture[MAX_PATH];
    GetMyDir(defaultFile, sizeof(defaultFile), "tvdt.sys");
    GetMyDir(defaultPicture, sizeof(defaultPicture), "tvtip.sys");
    char file[MAX_PATH], set[64], picture[MAX_PATH], title[128];
    TIPS_DATA data = {nullptr,
                      instance,
                      Switch(cmdLine, "-title", title, sizeof(title), nullptr),
                      Switch(cmdLine, "-file", file, sizeof(file), defaultFile),
                      Switch(cmdLine, "-set", set, sizeof(set), nullptr),
                      Switch(cmdLine, "-picture", picture, sizeof(picture), defaultPicture)};
    InitTips(instance);
    return ShowTips(&data);
}

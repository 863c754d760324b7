// browsehost apps|favs [initial text]: runs that browser, then prints
// "result=<n>", "text=<the caller's buffer>" and "name=<favourite name>".
#include <windows.h>
#include <commctrl.h>
#include <stdio.h>

#include "AppList.h"
#include "FavList.h"
#include "browseAppsDlg.h"
#include "browseFavsDlg.h"
#include "strutils.h"

int main(int argc, char** argv)
{
    if (argc < 2)
        return 2;
    INITCOMMONCONTROLSEX icc = {sizeof(icc), ICC_LISTVIEW_CLASSES};
    InitCommonControlsEx(&icc);
    HINSTANCE instance = GetModuleHandleA(nullptr);
    char text[MAX_PATH] = "";
    char name[MAX_PATH] = "";
    if (argc > 2)
        StrCopy(text, argv[2]);
    int result = 0;
    if (!strcmp(argv[1], "apps"))
    {
        InitBrowseApplications(instance);
        CAppList apps(instance);
        tagBROWSEAPPS ba = {};
        ba.hInstance = instance;
        ba.pszResult = text;
        ba.pszButton1 = "Browse &Program Files...";
        ba.pszFolder1 = "%ProgramFiles%";
        ba.pszFilter1 = "Executables (*.exe, *.com, *.bat)\0*.exe;*.com;*.bat\0";
        ba.pAppList = &apps;
        result = BrowseApplications(&ba);
    }
    else if (!strcmp(argv[1], "favs"))
    {
        InitBrowseFavorites(instance);
        tagBROWSEFAVS bf = {};
        bf.hInstance = instance;
        bf.pszResult = text;
        bf.pszName = name;
        result = BrowseFavorites(&bf);
    }
    printf("result=%d\ntext=%s\nname=%s\n", result, text, name);
    fflush(stdout);
    return 0;
}

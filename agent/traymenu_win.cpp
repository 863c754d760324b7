// The tray icon's menus.
#include <windows.h>

#include "traymenu.h"
#include "agent_res.h"
#include "Menu_win.h"
#include "MenuLaunch.h"
#include "menuxp.h"
#include "firstrun.h"
#include "strutils.h"

static HICON LoadMenuIcon(HINSTANCE instance, int id)
{
    // Not shared: the menu destroys its icons with itself.
    return (HICON)LoadImageA(instance, MAKEINTRESOURCEA(id), IMAGE_ICON, 16, 16, 0);
}

HMENU BuildMainMenu(HINSTANCE instance)
{
    HMENU menu = CreatePopupMenu();
    HMENU pref = CreatePopupMenu();
    HMENU view = CreatePopupMenu();
    if (!menu || !pref || !view)
    {
        if (menu)
            DestroyMenu(menu);
        if (pref)
            DestroyMenu(pref);
        if (view)
            DestroyMenu(view);
        return nullptr;
    }

    MenuXP_AppendItem(pref, IDM_PREF_GENERAL, "General", LoadMenuIcon(instance, IDI_PREF_GEN), nullptr);
    MenuXP_AppendItem(pref, IDM_PREF_SCREENSAVER, "Screen Saver", LoadMenuIcon(instance, IDI_PREF_SS),
                      nullptr);
    MenuXP_AppendItem(pref, IDM_PREF_KEYS, "Tarvin Keys", LoadMenuIcon(instance, IDI_PREF_PKEY), nullptr);
    MenuXP_AppendItem(pref, IDM_PREF_LOGGING, "Logging", LoadMenuIcon(instance, IDI_PREF_LOG), nullptr);
    MenuXP_AppendItem(pref, IDM_PREF_LAUNCHFILE, "Launch File", LoadMenuIcon(instance, IDI_PREF_LFILE),
                      nullptr);

    MenuXP_AppendItem(view, IDM_HIDDENWINDOWS, "Hidden Windows...", LoadMenuIcon(instance, IDI_HIDDEN),
                      nullptr);
    MenuXP_AppendItem(view, IDM_VIEWLOG, "View Log File...", LoadMenuIcon(instance, IDI_VIEWLOG), nullptr);
    MenuXP_AppendItem(view, IDM_OVERDUE, "Overdue Tasks...", LoadMenuIcon(instance, IDI_SCHED), nullptr);

    MenuXP_AppendSidebar(menu, "Tarvin 2 Main Menu", nullptr, MENUXP_SIDEBAR_WIDTH);
    MenuXP_AppendItem(menu, IDM_STARTUPWIZARD, "Startup Wizard...", LoadMenuIcon(instance, IDI_STARTUP),
                      nullptr);
    MenuXP_AppendSeparator(menu);
    MenuXP_AppendItem(menu, IDM_EDITOR, "Launch File Editor...", LoadMenuIcon(instance, IDI_EDIT), nullptr);
    MenuXP_AppendItem(menu, IDM_MENUEDITOR, "Menu Editor...", LoadMenuIcon(instance, IDI_MEDIT), nullptr);
    MenuXP_AppendItem(menu, IDM_SCHEDULER, "Scheduler...", LoadMenuIcon(instance, IDI_SCHED), nullptr);
    MenuXP_AppendSeparator(menu);
    MenuXP_AppendMenu(menu, pref, "Preferences", LoadMenuIcon(instance, IDI_PREF));
    MenuXP_AppendMenu(menu, view, "View", LoadMenuIcon(instance, IDI_VIEW));
    MenuXP_AppendSeparator(menu);
    MenuXP_AppendItem(menu, IDM_HELP, "Help...", LoadMenuIcon(instance, IDI_HELP), nullptr);
    MenuXP_AppendItem(menu, IDM_ABOUT, "About...", LoadMenuIcon(instance, IDI_ABOUTTV2), nullptr);
    MenuXP_AppendSeparator(menu);
    MenuXP_AppendItem(menu, IDM_EXIT, "Exit", nullptr, nullptr);
    return menu;
}

void RedrawTaskbar()
{
    HWND taskbar = FindWindowA("Shell_TrayWnd", nullptr);
    if (taskbar)
        RedrawWindow(taskbar, nullptr, nullptr,
                     RDW_INVALIDATE | RDW_INTERNALPAINT | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW |
                         RDW_ERASENOW | RDW_FRAME);
}

int ShowTVUserMenu(HINSTANCE instance, HWND hwnd, POINT pt)
{
    char path[MAX_PATH] = "";
    GetMyTarvinFilesFolder(path, "Tarvin.menu");
    CMenu model;
    if (!model.ReadFile(path))
    {
        char text[128];
        StrFormat(text, sizeof(text), "Error code %d occurred while trying to read the menu file.",
                  model.GetLastError());
        MessageBoxA(hwnd, text, nullptr, MB_OK | MB_ICONERROR);
        return 0;
    }

    HMENU menu = CreateMenuPopup(model, instance);
    UINT cmd = 0;
    if (menu)
    {
        SetForegroundWindow(hwnd);
        SetFocus(hwnd);
        cmd = (UINT)TrackPopupMenu(menu, TPM_RETURNCMD | TPM_NONOTIFY | TPM_RIGHTALIGN | TPM_BOTTOMALIGN,
                                   pt.x, pt.y, 0, hwnd, nullptr);
        MenuXP_DestroyMenu(menu, 0, 1, 0);
    }

    if (cmd != 0)
    {
        CPtrTree<CMenuItem>* node = model.FindItem(cmd);
        const CMenuItem* item = node ? node->GetData() : nullptr;
        if (item && (item->GetStyle() & MENU_STYLE_ITEM))
        {
            // A failed start does not stop the agent and is not logged.
            int rc = LaunchMenuItem(item, path);
            if (rc <= 32)
            {
                char buf[128];
                MessageBoxA(nullptr, MenuLaunchErrorText(rc, buf, sizeof(buf)), MENU_LAUNCH_CAPTION,
                            MB_OK | MB_ICONERROR);
            }
        }
    }
    RedrawTaskbar();
    return 1;
}

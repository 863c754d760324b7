// The shortcuts dialog: desktop and Quick Launch shortcuts that pop up the
// menu. A shortcut starts the menu interpreter with the menu file, so it
// works whatever the ".menu" association's default verb is (the editor
// registers "Edit" for the same file type).
#include <windows.h>
#include <windowsx.h>
#include <shlobj.h>
#include <string.h>

#include "meditdlg.h"
#include "winstate.h"
#include "meditmain.h"
#include "dialogs_res.h"
#include "shelllink.h"
#include "staticLink.h"
#include "dirutils_win.h"
#include "winutils.h"
#include "strutils.h"

namespace
{

const char kCaption[] = "Create Shortcut";
const char kNoShortcut[] = "No shortcut was created.";

// A file name made of the root's text: characters that a file name cannot
// hold become '_', so a text such as "Tools/Games" names one file on the
// desktop instead of a path into a folder that is not there.
void LinkFileName(const char* text, char* name, size_t size)
{
    StrCopy(name, size, text);
    for (char* p = name; *p; p++)
        if (strchr("\\/:*?\"<>|", *p) || (unsigned char)*p < 32)
            *p = '_';
    // Trailing dots and blanks vanish from names on Windows.
    size_t len = strlen(name);
    while (len > 0 && (name[len - 1] == '.' || name[len - 1] == ' '))
        name[--len] = '\0';
    if (!name[0])
        StrCopy(name, size, "Menu");
}

bool FolderOf(int where, char* folder, size_t size)
{
    char base[MAX_PATH] = "";
    if (where == SHORTCUT_DESKTOP)
    {
        if (!SHGetSpecialFolderPathA(nullptr, base, CSIDL_DESKTOPDIRECTORY, FALSE) || !IsFolder(base))
            return false;
        return StrFormat(folder, size, "%s\\", base);
    }
    if (!SHGetSpecialFolderPathA(nullptr, base, CSIDL_APPDATA, FALSE))
        return false;
    if (!StrFormat(folder, size, "%s\\Microsoft\\Internet Explorer\\Quick Launch\\", base))
        return false;
    return IsFolder(folder);
}

struct ShortcutState
{
    HWND mainWnd;
    HINSTANCE instance;
    CMenu* menu;
    int created;
};

void AddExampleLink(HWND hwnd, HINSTANCE instance, int id, int buttonId, const char* text)
{
    RECT button;
    GetWindowRect(GetDlgItem(hwnd, buttonId), &button);
    MapWindowPoints(nullptr, hwnd, (POINT*)&button, 2);
    RECT rc = {button.right + 12, button.top + 3, button.right + 112, button.bottom};
    CreateStaticLink(hwnd, instance, id, &rc, text);
}

BOOL Shortcuts_OnInitDialog(HWND hwnd, HWND, LPARAM lParam)
{
    ShortcutState* ss = (ShortcutState*)lParam;
    SetDialogState(hwnd, ss);
    AddExampleLink(hwnd, ss->instance, IDC_SC_DESKTOPEXAMPLE, IDC_SC_DESKTOP,
                   "Show Example...\tShows how a menu shortcut on the desktop is used.");
    AddExampleLink(hwnd, ss->instance, IDC_SC_QUICKEXAMPLE, IDC_SC_QUICKLAUNCH,
                   "Show Example...\tShows how a menu shortcut in the Quick Launch tray is used.");
    CenterWindow(hwnd);
    return TRUE;
}

void Shortcuts_Create(HWND hwnd, ShortcutState* ss, int where)
{
    char link[MAX_PATH];
    int result = CreateMenuShortcut(*ss->menu, GetMenuFilePath(ss->mainWnd), where, link, sizeof(link));
    const char* text = MenuShortcutMessage(result, where);
    MessageBoxA(hwnd, text, kCaption, MB_OK | (result == 0 ? MB_ICONINFORMATION : MB_ICONWARNING));
    if (result == 0)
        ss->created = 1;
}

void Shortcuts_OnCommand(HWND hwnd, int id, HWND, UINT)
{
    ShortcutState* ss = DialogState<ShortcutState>(hwnd);
    if (!ss)
        return;
    switch (id)
    {
        case IDC_SC_DESKTOP:
            Shortcuts_Create(hwnd, ss, SHORTCUT_DESKTOP);
            break;
        case IDC_SC_QUICKLAUNCH:
            Shortcuts_Create(hwnd, ss, SHORTCUT_QUICKLAUNCH);
            break;
        case IDC_SC_DESKTOPEXAMPLE:
            ShowHelpTopic("tv2.chm::/tvmedit_dtop.html");
            break;
        case IDC_SC_QUICKEXAMPLE:
            ShowHelpTopic("tv2.chm::/tvmedit_quicklaunch.html");
            break;
        case IDOK:
        case IDCANCEL:
            EndDialog(hwnd, ss->created);
            break;
    }
}

void Shortcuts_OnClose(HWND hwnd)
{
    Shortcuts_OnCommand(hwnd, IDCANCEL, nullptr, 0);
}

INT_PTR CALLBACK ShortcutsDlgProc(HWND hwnd, UINT uMsg, WPARAM wParam, LPARAM lParam)
{
    switch (uMsg)
    {
        HANDLE_DLGMSG(hwnd, WM_INITDIALOG, Shortcuts_OnInitDialog);
        HANDLE_DLGMSG(hwnd, WM_COMMAND, Shortcuts_OnCommand);
        HANDLE_DLGMSG(hwnd, WM_CLOSE, Shortcuts_OnClose);
    }
    return FALSE;
}

} // namespace

int CreateMenuShortcut(const CMenu& menu, const char* menuPath, int where, char* linkPath, size_t size)
{
    if (size)
        linkPath[0] = '\0';
    const CMenuItem* root = menu.GetMenuTree() ? menu.GetMenuTree()->GetData() : nullptr;
    if (!root || !menuPath || !menuPath[0])
        return SHORTCUT_ERR_CREATE;
    char folder[MAX_PATH];
    if (!FolderOf(where, folder, sizeof(folder)))
        return where == SHORTCUT_DESKTOP ? SHORTCUT_ERR_NODESKTOP : SHORTCUT_ERR_NOQUICKLAUNCH;
    char name[MENU_TEXT_SIZE], path[MAX_PATH];
    LinkFileName(root->GetText(), name, sizeof(name));
    if (!StrFormat(path, sizeof(path), "%s%s.lnk", folder, name))
        return SHORTCUT_ERR_CREATE;

    char program[MAX_PATH], args[MAX_PATH], dir[MAX_PATH] = "", description[MAX_PATH];
    if (!GetMyDir(program, sizeof(program), "tvmint.exe") ||
        !StrFormat(args, sizeof(args), "-file=\"%s\"", menuPath) ||
        !StrFormat(description, sizeof(description), "%s menu", root->GetText()))
        return SHORTCUT_ERR_CREATE;
    GetDirFromPath(menuPath, dir, sizeof(dir));
    CShellLinkInfo info;
    StrCopy(info.m_szPath, program);
    StrCopy(info.m_szArguments, args);
    StrCopy(info.m_szDescription, description);
    StrCopy(info.m_szWorkingDirectory, dir);
    if (root->GetIconPath()[0])
    {
        StrCopy(info.m_szIconLocation, root->GetIconPath());
        info.m_nIconIndex = (int)root->GetIconNumber();
    }
    else
    {
        StrCopy(info.m_szIconLocation, program);
        info.m_nIconIndex = 0;
    }
    CShellLink link;
    if (!link.Create(info) || !link.Save(path))
        return SHORTCUT_ERR_CREATE;
    StrCopy(linkPath, size, path);
    return SHORTCUT_OK;
}

const char* MenuShortcutMessage(int result, int where)
{
    switch (result)
    {
        case SHORTCUT_OK:
            return where == SHORTCUT_DESKTOP ? "The shortcut has been placed on the desktop."
                                             : "The shortcut has been added to the Quick Launch tray.";
        case SHORTCUT_ERR_NODESKTOP:
            return "Cannot find the desktop folder.";
        case SHORTCUT_ERR_NOQUICKLAUNCH:
            return "Cannot find the quick launch folder.\n\nYou may not have Internet Explorer 4 or later "
                   "installed.";
    }
    return kNoShortcut;
}

int ShowShortcutsDialog(HWND mainWnd, HINSTANCE instance, CMenu* menu)
{
    if (!menu)
        return 0;
    const char* path = GetMenuFilePath(mainWnd);
    if (!path || !path[0])
    {
        if (MessageBoxA(mainWnd,
                        "The menu must be saved before you can create shortcuts.\n\nWould you like to save "
                        "the menu now?",
                        kCaption, MB_YESNO | MB_ICONQUESTION) != IDYES)
            return 0;
        path = SaveMenuCallback(mainWnd) ? GetMenuFilePath(mainWnd) : nullptr;
        if (!path || !path[0])
        {
            MessageBoxA(mainWnd, kNoShortcut, kCaption, MB_OK | MB_ICONWARNING);
            return 0;
        }
    }
    ShortcutState ss = {mainWnd, instance, menu, 0};
    INT_PTR result =
        DialogBoxParamA(instance, MAKEINTRESOURCEA(IDD_SHORTCUTS), mainWnd, ShortcutsDlgProc, (LPARAM)&ss);
    return result == 1 ? 1 : 0;
}

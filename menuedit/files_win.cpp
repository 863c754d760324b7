// The menu editor's files: New, Open, the user's own menu, Save, Save As,
// the question about unsaved changes and the reload of a file changed
// elsewhere.
#include <windows.h>
#include <commctrl.h>
#include <commdlg.h>
#include <new>

#include "meditstate.h"
#include "meditdlg.h"
#include "meditmain.h"
#include "meditEntries.h"
#include "dirutils_win.h"
#include "filedlg.h"
#include "firstrun.h"
#include "regutils.h"
#include "strutils.h"

static const char kReadFileError[] =
    "An error has occured while reading the menu file.\nThe reported error code is %d.";

void MarkModified(MeditState* st)
{
    st->modified = true;
    UpdateUI(st);
}

static bool ReadFileTime(const char* path, FILETIME* time)
{
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (!path[0] || !GetFileAttributesExA(path, GetFileExInfoStandard, &data))
        return false;
    *time = data.ftLastWriteTime;
    return true;
}

void RememberFileTime(MeditState* st)
{
    if (!ReadFileTime(st->filePath, &st->fileTime))
        st->fileTime.dwLowDateTime = st->fileTime.dwHighDateTime = 0;
}

static void CloseMenu(MeditState* st)
{
    st->menuOpen = false;
    st->modified = false;
    st->newMenu = false;
    st->filePath[0] = '\0';
    st->menu.New();
    ClearUndo(st->hwnd);
    if (st->hTree)
        TreeView_DeleteAllItems(st->hTree);
    if (st->hList)
        ListView_DeleteAllItems(st->hList);
    ShowViews(st, false);
}

bool OpenMenuFile(MeditState* st, const char* path, const char* errorFormat, const char* errorTitle)
{
    char file[MAX_PATH];
    StrCopy(file, path);
    CloseMenu(st);
    if (!st->menu.ReadFile(file) || !st->menu.GetMenuTree()->GetData())
    {
        char message[160];
        StrFormat(message, sizeof(message), errorFormat, st->menu.GetLastError());
        st->menu.New();
        UpdateUI(st);
        MessageBoxA(st->hwnd, message, errorTitle, MB_OK | MB_ICONERROR);
        return false;
    }
    StrCopy(st->filePath, file);
    RememberFileTime(st);
    AddRecentMenu(st, file);
    st->menuOpen = true;
    ShowViews(st, true);
    BuildTree(st);
    UpdateUI(st);
    return true;
}

// The Yes/No/Cancel question before the open menu goes. false: stay (the
// user cancelled, or the save failed and the changes would be lost).
bool ConfirmSave(MeditState* st)
{
    if (!st->menuOpen || !st->modified)
        return true;
    int answer = MessageBoxA(st->hwnd, "Do you want to save changes before closing this menu file?",
                             "Confirm", MB_YESNOCANCEL | MB_ICONQUESTION);
    if (answer == IDCANCEL)
        return false;
    if (answer == IDNO)
        return true;
    return OnSave(st);
}

void OnNew(MeditState* st)
{
    if (!ConfirmSave(st))
        return;
    CloseMenu(st);
    st->newMenu = true;
    UpdateUI(st);

    CMenuItem root(0UL);
    if (RegReadSetting(MEDIT_ADVANCED_MODE))
    {
        root.SetText("New Tarvin Menu");
        root.SetIconPath("shell32.dll");
        root.SetIconNumber(4);
        if (ShowSubmenuDialog(st->hwnd, g_hInst, true, &root) != 1)
        {
            st->newMenu = false;
            return;
        }
        root.SetStyle(MENU_STYLE_SUBMENU | MENU_STYLE_SIDEBAR);
    }
    else
    {
        tagWIZARD_DATA wd;
        FillWizardData(st, &wd, WIZ_NEWMENU);
        wd.entry.SetStyle(MENU_STYLE_SUBMENU | MENU_STYLE_SIDEBAR);
        wd.entry.SetText("New Tarvin Menu");
        wd.entry.SetIconPath("shell32.dll");
        wd.entry.SetIconNumber(4);
        if (RunItemWizard(&wd) != 1)
        {
            st->newMenu = false;
            return;
        }
        if (st->menuOpen)
        {
            // The wizard's callback made the root and may have added entries.
            BuildTree(st);
            UpdateUI(st);
            return;
        }
        root.Copy(&wd.entry);
    }
    st->menu.New();
    CMenuItem* payload = st->menu.GetMenuTree()->GetData();
    payload->Copy(&root);
    payload->SetId(0);
    st->menuOpen = true;
    st->modified = true;
    ShowViews(st, true);
    BuildTree(st);
    UpdateUI(st);
}

// The Open or Save dialog for a menu file, starting in the user's files
// folder and proposing the current path or the root's text. false when
// cancelled.
static bool AskMenuPath(MeditState* st, bool save, char* path, size_t size)
{
    char folder[MAX_PATH] = "";
    GetMyTarvinFilesFolder(folder, "");
    CPtrTree<CMenuItem>* root = st->menu.GetMenuTree();
    if (st->filePath[0])
        StrCopy(path, size, st->filePath);
    else if (st->menuOpen && root->GetData())
        StrCopy(path, size, root->GetData()->GetText());
    else
        StrCopy(path, size, "");
    FileDialogOptions options = {"Save Menu File As", "Menu Files (*.menu)\0*.menu\0", folder, "menu",
                                 OFN_PATHMUSTEXIST | OFN_HIDEREADONLY};
    if (save)
        return AskSaveFileName(st->hwnd, options, path, size);
    options.title = "Select a menu file";
    options.flags |= OFN_FILEMUSTEXIST;
    return AskOpenFileName(st->hwnd, options, path, size);
}

void OnOpen(MeditState* st)
{
    if (!ConfirmSave(st))
        return;
    char path[MAX_PATH];
    if (!AskMenuPath(st, false, path, sizeof(path)))
        return;
    OpenMenuFile(st, path, kReadFileError, "Error Reading Menu File");
}

void OnOpenTarvinMenu(MeditState* st)
{
    if (!ConfirmSave(st))
        return;
    char path[MAX_PATH] = "";
    if (!GetMyTarvinFilesFolder(path, "Tarvin.menu"))
        return;
    if (TarvinFileExists("Tarvin.menu") != 0)
    {
        FIRSTRUN_DATA frd = {st->hwnd, g_hInst, "tvtip.sys", nullptr, nullptr};
        CheckFirstRunAndMenu(&frd);
    }
    OpenMenuFile(st, path, kReadFileError, "Error Reading Menu File");
}

static bool SaveTo(MeditState* st, const char* path)
{
    if (!st->menu.WriteFile(path))
    {
        MessageBoxA(st->hwnd, "An error occured while writing the menu file.", nullptr,
                    MB_OK | MB_ICONWARNING);
        UpdateUI(st);
        return false;
    }
    if (path != st->filePath)
        StrCopy(st->filePath, path);
    st->modified = false;
    RememberFileTime(st);
    AddRecentMenu(st, path);
    UpdateUI(st);
    if (st->newMenu)
    {
        st->newMenu = false;
        if (MessageBoxA(st->hwnd,
                        "You have just saved a new menu for the first time.\n\nWould you like to create menu "
                        "shortcuts for it now?\n\nYou can always create a menu shortcut later by selecting\n"
                        "Create a menu shortcut from the File menu.",
                        "Create Shortcut", MB_YESNO | MB_ICONQUESTION) == IDYES)
            ShowShortcutsDialog(st->hwnd, g_hInst, &st->menu);
    }
    return true;
}

bool OnSave(MeditState* st)
{
    if (!st->menuOpen)
        return false;
    if (!st->filePath[0])
        return OnSaveAs(st);
    return SaveTo(st, st->filePath);
}

bool OnSaveAs(MeditState* st)
{
    if (!st->menuOpen)
        return false;
    char path[MAX_PATH];
    for (;;)
    {
        if (!AskMenuPath(st, true, path, sizeof(path)))
            return false;
        if (!path[0])
            continue;
        if (FileExists(path))
        {
            char question[MAX_PATH + 96];
            StrFormat(question, sizeof(question),
                      "The file %s already exists.\n\n   Do you want to overwrite this file?", path);
            if (MessageBoxA(st->hwnd, question, "Confirm", MB_YESNO | MB_ICONQUESTION) != IDYES)
                continue;
        }
        break;
    }
    // The old path stays when the new one cannot be written.
    return SaveTo(st, path);
}

void CheckOutsideChange(MeditState* st)
{
    if (!st->menuOpen || !st->filePath[0] || st->askingReload)
        return;
    // A reload now would free the entries a dialog or the test pop-up is
    // working on; the window is disabled while a dialog is open.
    if (!IsWindowEnabled(st->hwnd) || st->inPopup)
    {
        st->checkPending = true;
        return;
    }
    FILETIME now;
    if (!ReadFileTime(st->filePath, &now) || CompareFileTime(&now, &st->fileTime) == 0)
        return;
    st->askingReload = true;
    int answer = MessageBoxA(
        st->hwnd, "The menu has been modified outside of the editor.\n\nWould you like to reload it?",
        "Reload?", MB_YESNO | MB_ICONQUESTION);
    st->askingReload = false;
    if (answer != IDYES)
        return;
    char path[MAX_PATH];
    StrCopy(path, st->filePath);
    OpenMenuFile(st, path, "An error has occured while reading the menu.\nThe reported error code is %d.",
                 "Error Reading Launch File");
}

// --- What the dialogs call -------------------------------------------------------------

int SaveMenuCallback(HWND mainWnd)
{
    MeditState* st = GetMeditState(mainWnd);
    if (!st)
        return 0;
    // The caller (the shortcuts dialog, the wizard's save page) goes on to
    // the shortcuts itself: the first-save offer would open a second dialog.
    bool wasNew = st->newMenu;
    st->newMenu = false;
    if (OnSave(st))
        return 1;
    st->newMenu = wasNew;
    return 0;
}

const char* GetMenuFilePath(HWND mainWnd)
{
    MeditState* st = GetMeditState(mainWnd);
    return st ? st->filePath : "";
}

int InsertItemCallback(tagWIZARD_DATA* wd)
{
    MeditState* st = GetMeditState(wd->owner);
    if (!st)
        return 0;
    CMenuItem* entry = new (std::nothrow) CMenuItem(&wd->entry);
    if (!entry)
        return 0;
    SetDefaultWorkDir(entry);
    if (wd->flags & WIZ_NEWMENU)
    {
        st->menu.New();
        CMenuItem* root = st->menu.GetMenuTree()->GetData();
        root->Copy(entry);
        root->SetId(0);
        delete entry;
        st->menuOpen = true;
        st->modified = true;
        ShowViews(st, true);
        BuildTree(st);
        UpdateUI(st);
        return 1;
    }
    if (entry->GetStyle() & MENU_STYLE_ITEM)
        entry->SetWindowState(RegReadSetting(MEDIT_WINDOW_STATE));
    AddUndo(st->hwnd);
    unsigned long id = st->menu.InsertItem(entry, wd->locationId, wd->insertAsChild);
    if (!id)
    {
        delete entry;
        return 0;
    }
    CPtrTree<CMenuItem>* node = st->menu.FindItem(id);
    CPtrTree<CMenuItem>* parent = node ? node->GetParent() : nullptr;
    BuildTree(st);
    if (parent && parent->GetData())
        SelectTreeNode(st, parent->GetData()->GetId());
    UpdateUI(st);
    return 1;
}

// Preferences: a tab frame over two pages (General, Editor). Each page reads
// the working values when it is shown and writes them back when it goes; OK
// keeps them (in the registry, "Test Full" only for the run), Cancel drops
// them.
#include <windows.h>
#include <windowsx.h>
#include <commctrl.h>
#include <initializer_list>

#include "editor.h"
#include "winstate.h"
#include "edit_res.h"
#include "regutils.h"
#include "editorSettings.h"
#include "thmutils.h"
#include "winutils.h"

namespace
{

struct PrefValues
{
    bool showStartup;
    bool advancedMode;
    int windowState;
    bool testFull;
    bool addShortcuts;
    bool insertDelay;
    bool insertComments;
};

struct PrefFrame
{
    PrefValues values;
    HWND hTab;
    HWND hPage;
};

// The check boxes of both pages: the value each edits and the setting OK
// writes it to ("Full test mode" has none: it is kept for the run only).
const struct
{
    int id;
    bool PrefValues::*value;
    const DwordSetting* setting;
} kBoxes[] = {{IDC_PREF_SHOWSTARTUP, &PrefValues::showStartup, &EDITOR_SHOW_STARTUP},
              {IDC_PREF_ADVANCED, &PrefValues::advancedMode, &EDITOR_ADVANCED_MODE},
              {IDC_PREF_TESTFULL, &PrefValues::testFull, nullptr},
              {IDC_PREF_ADDSHORTCUTS, &PrefValues::addShortcuts, &EDITOR_ADD_SHORTCUTS},
              {IDC_PREF_INSERTDELAY, &PrefValues::insertDelay, &EDITOR_INSERT_DELAY},
              {IDC_PREF_INSERTCOMMENTS, &PrefValues::insertComments, &EDITOR_INSERT_COMMENTS}};

// Either page: its controls show the working values and give them back when
// the page goes.
INT_PTR CALLBACK PageProc(HWND hwnd, UINT uMsg, WPARAM, LPARAM lParam)
{
    switch (uMsg)
    {
        case WM_INITDIALOG: {
            PrefValues* v = (PrefValues*)lParam;
            SetDialogState(hwnd, v);
            for (const auto& box : kBoxes)
            {
                if (GetDlgItem(hwnd, box.id))
                    CheckDlgButton(hwnd, box.id, v->*box.value ? BST_CHECKED : BST_UNCHECKED);
            }
            HWND combo = GetDlgItem(hwnd, IDC_PREF_WINDOWSTATE);
            if (!combo)
                return TRUE;
            for (const char* s : {"Normal Window", "Minimized", "Maximized"})
                ComboBox_AddString(combo, s);
            ComboBox_SetCurSel(combo, v->windowState - 1);
            return TRUE;
        }
        case WM_DESTROY: {
            PrefValues* v = DialogState<PrefValues>(hwnd);
            if (!v)
                return TRUE;
            for (const auto& box : kBoxes)
            {
                if (GetDlgItem(hwnd, box.id))
                    v->*box.value = IsDlgButtonChecked(hwnd, box.id) == BST_CHECKED;
            }
            HWND combo = GetDlgItem(hwnd, IDC_PREF_WINDOWSTATE);
            int sel = combo ? ComboBox_GetCurSel(combo) : v->windowState - 1;
            v->windowState = sel >= 0 && sel <= 2 ? sel + 1 : 1;
            return TRUE;
        }
    }
    return FALSE;
}

void DestroyPage(PrefFrame* f)
{
    if (f->hPage)
        DestroyWindow(f->hPage);
    f->hPage = nullptr;
}

void CreatePage(HWND hwnd, int tab)
{
    PrefFrame* f = DialogState<PrefFrame>(hwnd);
    if (tab < 0 || tab > 1)
        return;
    f->hPage = CreateDialogParamA(g_hInst, MAKEINTRESOURCEA(tab == 0 ? IDD_PREF_GENERAL : IDD_PREF_EDITOR),
                                  hwnd, PageProc, (LPARAM)&f->values);
    if (!f->hPage)
        return;
    ShowTabPage(hwnd, f->hTab, f->hPage);
}

BOOL PrefDlg_OnInitDialog(HWND hwnd, HWND, LPARAM lParam)
{
    PrefFrame* f = (PrefFrame*)lParam;
    SetDialogState(hwnd, f);
    f->hTab = GetDlgItem(hwnd, IDC_PREF_TAB);
    const char* tabs[] = {"General", "Editor"};
    for (int i = 0; i < 2; i++)
    {
        TCITEMA item;
        ZeroMemory(&item, sizeof(item));
        item.mask = TCIF_TEXT;
        item.pszText = (LPSTR)tabs[i];
        SendMessageA(f->hTab, TCM_INSERTITEMA, i, (LPARAM)&item);
    }
    CenterWindow(hwnd);
    CreatePage(hwnd, 0);
    return TRUE;
}

void PrefDlg_OnCommand(HWND hwnd, int id, HWND, UINT)
{
    if (id != IDOK && id != IDCANCEL)
        return;
    DestroyPage(DialogState<PrefFrame>(hwnd));
    EndDialog(hwnd, id);
}

LRESULT PrefDlg_OnNotify(HWND hwnd, int, NMHDR* nm)
{
    PrefFrame* f = DialogState<PrefFrame>(hwnd);
    if (f && nm->hwndFrom == f->hTab && nm->code == TCN_SELCHANGE)
    {
        DestroyPage(f);
        CreatePage(hwnd, TabCtrl_GetCurSel(f->hTab));
    }
    return 0;
}

void PrefDlg_OnClose(HWND hwnd)
{
    PrefDlg_OnCommand(hwnd, IDCANCEL, nullptr, 0);
}

INT_PTR CALLBACK PrefDlgProc(HWND hwnd, UINT uMsg, WPARAM wParam, LPARAM lParam)
{
    switch (uMsg)
    {
        HANDLE_DLGMSG(hwnd, WM_INITDIALOG, PrefDlg_OnInitDialog);
        HANDLE_DLGMSG(hwnd, WM_COMMAND, PrefDlg_OnCommand);
        HANDLE_DLGMSG(hwnd, WM_NOTIFY, PrefDlg_OnNotify);
        HANDLE_DLGMSG(hwnd, WM_CLOSE, PrefDlg_OnClose);
    }
    return FALSE;
}

} // namespace

void ShowPreferences(EditorState* st, HWND owner)
{
    PrefFrame f = {{st->showStartup, st->advancedMode, st->windowState, st->testFull, st->addShortcuts,
                    st->insertDelay, st->insertComments},
                   nullptr,
                   nullptr};
    CModalScope scope(st);
    if (DialogBoxParamA(g_hInst, MAKEINTRESOURCEA(IDD_PREFERENCES), owner ? owner : st->hwnd, PrefDlgProc,
                        (LPARAM)&f) != IDOK)
        return;
    const PrefValues& v = f.values;
    st->showStartup = v.showStartup;
    st->advancedMode = v.advancedMode;
    st->windowState = v.windowState;
    st->testFull = v.testFull;
    st->addShortcuts = v.addShortcuts;
    st->insertDelay = v.insertDelay;
    st->insertComments = v.insertComments;
    for (const auto& box : kBoxes)
    {
        if (box.setting)
            RegWriteSetting(*box.setting, v.*box.value ? 1 : 0);
    }
    RegWriteSetting(EDITOR_WINDOW_STATE, (DWORD)v.windowState);
}

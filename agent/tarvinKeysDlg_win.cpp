// The Tarvin Keys page: the agent's hot-key table as a list, with keys added
// (registered at once) and removed (unregistered at once). The table reaches
// the keys file when the agent exits.
#include <windows.h>
#include <windowsx.h>
#include <commctrl.h>

#include "tarvinKeysDlg.h"
#include "winstate.h"
#include "prefDlg.h"
#include "prefDlgRes.h"
#include "init.h"
#include "TarvinKeys.h"
#include "browseAppsDlg.h"
#include "firstrun.h"
#include "strutils.h"
#include "xmlutils.h"
#include "winutils.h"

namespace
{
// The Add dialog's names of actions 1-10, in code order.
const char* const g_actionNames[] = {"Run launch file or application",
                                     "Hide window",
                                     "Show hidden window list",
                                     "Show all hidden windows",
                                     "Show log file",
                                     "Show preferences",
                                     "Open Tarvin Editor",
                                     "Open Tarvin Menu Editor",
                                     "Open Tarvin Scheduler",
                                     "Exit Tarvin"};

const struct
{
    int id;
    unsigned mod;
} g_modBoxes[] = {{IDC_ADDKEY_CTRL, KEYMOD_CONTROL},
                  {IDC_ADDKEY_ALT, KEYMOD_ALT},
                  {IDC_ADDKEY_SHIFT, KEYMOD_SHIFT},
                  {IDC_ADDKEY_WIN, KEYMOD_WIN}};

struct AddKeyState
{
    HINSTANCE instance;
    CTarvinKey* key;
    CAppList* apps;
};
} // namespace

unsigned ApplyModifierRule(unsigned mods)
{
    if (mods == 0)
        return KEYMOD_CONTROL | KEYMOD_ALT;
    if (mods == KEYMOD_SHIFT)
        return KEYMOD_SHIFT | KEYMOD_ALT;
    return mods;
}

// --- Add Tarvin Key ---------------------------------------------------------------

static unsigned AddKeyDlg_Mods(HWND hwnd)
{
    unsigned mods = 0;
    for (const auto& box : g_modBoxes)
        mods |= IsDlgButtonChecked(hwnd, box.id) == BST_CHECKED ? box.mod : 0;
    return mods;
}

static void AddKeyDlg_OnModifier(HWND hwnd)
{
    unsigned mods = ApplyModifierRule(AddKeyDlg_Mods(hwnd));
    for (const auto& box : g_modBoxes)
        CheckDlgButton(hwnd, box.id, (mods & box.mod) ? BST_CHECKED : BST_UNCHECKED);
}

static void AddKeyDlg_OnAction(HWND hwnd)
{
    bool run = ComboBox_GetCurSel(GetDlgItem(hwnd, IDC_ADDKEY_ACTION)) == 0;
    static const int dependents[] = {IDC_ADDKEY_RUNLABEL, IDC_ADDKEY_TARGET, IDC_ADDKEY_BROWSE};
    for (int id : dependents)
        EnableWindow(GetDlgItem(hwnd, id), run);
}

static BOOL AddKeyDlg_OnInit(HWND hwnd, HWND, LPARAM lParam)
{
    SetDialogState(hwnd, (void*)lParam);
    HWND keys = GetDlgItem(hwnd, IDC_ADDKEY_KEY);
    const int* codes = nullptr;
    unsigned count = GetKeyChoices(&codes);
    for (unsigned i = 0; i < count; i++)
    {
        int index = ComboBox_AddString(keys, GetKeyName(codes[i]));
        ComboBox_SetItemData(keys, index, codes[i]);
        if (codes[i] == 'A')
            ComboBox_SetCurSel(keys, index);
    }
    HWND actions = GetDlgItem(hwnd, IDC_ADDKEY_ACTION);
    for (const char* name : g_actionNames)
        ComboBox_AddString(actions, name);
    ComboBox_SetCurSel(actions, 0);
    Edit_LimitText(GetDlgItem(hwnd, IDC_ADDKEY_TARGET), KEY_TARGET_SIZE - 1);
    AddKeyDlg_OnAction(hwnd);
    AddKeyDlg_OnModifier(hwnd);
    return TRUE;
}

static void AddKeyDlg_OnBrowse(HWND hwnd, AddKeyState* st)
{
    char files[MAX_PATH] = "";
    GetMyTarvinFilesFolder(files, "");
    char result[MAX_PATH] = "";
    GetDlgItemTextA(hwnd, IDC_ADDKEY_TARGET, result, sizeof(result));
    tagBROWSEAPPS ba;
    ZeroMemory(&ba, sizeof(ba));
    ba.hwndOwner = hwnd;
    ba.hInstance = st->instance;
    ba.pszResult = result;
    ba.pszButton1 = "Browse &Launch Files...";
    ba.pszFolder1 = files;
    ba.pszFilter1 = "Launch Files (*.launch)\0*.launch\0";
    ba.pszButton2 = "Browse &Program Files...";
    ba.pszFolder2 = "%ProgramFiles%";
    ba.pszFilter2 = "Executables (*.exe, *.com, *.bat)\0*.exe;*.com;*.bat\0";
    ba.pAppList = st->apps;
    if (BrowseApplications(&ba))
        SetDlgItemTextA(hwnd, IDC_ADDKEY_TARGET, result);
}

static void AddKeyDlg_OnOk(HWND hwnd, AddKeyState* st)
{
    HWND keys = GetDlgItem(hwnd, IDC_ADDKEY_KEY);
    int sel = ComboBox_GetCurSel(keys);
    st->key->vcode = sel >= 0 ? (int)ComboBox_GetItemData(keys, sel) : 'A';
    st->key->mods = AddKeyDlg_Mods(hwnd);
    int action = ComboBox_GetCurSel(GetDlgItem(hwnd, IDC_ADDKEY_ACTION)) + 1;
    // Only a Run key has a target; another action keeps none of what the
    // disabled box may still hold.
    char target[KEY_TARGET_SIZE] = "";
    if (action == KEYACT_RUN)
        GetDlgItemTextA(hwnd, IDC_ADDKEY_TARGET, target, sizeof(target));
    // The keys file has no way to write such a target.
    if (!IsStorableValue(target))
    {
        MessageBoxA(hwnd, TAG_VALUE_QUOTES_TEXT, "Add Tarvin Key", MB_OK | MB_ICONWARNING);
        SetFocus(GetDlgItem(hwnd, IDC_ADDKEY_TARGET));
        return;
    }
    st->key->action = action;
    st->key->SetTarget(target);
    EndDialog(hwnd, 1);
}

static void AddKeyDlg_OnCommand(HWND hwnd, int id, HWND, UINT code)
{
    AddKeyState* st = DialogState<AddKeyState>(hwnd);
    switch (id)
    {
        case IDC_ADDKEY_CTRL:
        case IDC_ADDKEY_ALT:
        case IDC_ADDKEY_SHIFT:
        case IDC_ADDKEY_WIN:
            if (code == BN_CLICKED)
                AddKeyDlg_OnModifier(hwnd);
            break;
        case IDC_ADDKEY_ACTION:
            if (code == CBN_SELCHANGE)
                AddKeyDlg_OnAction(hwnd);
            break;
        case IDC_ADDKEY_BROWSE:
            AddKeyDlg_OnBrowse(hwnd, st);
            break;
        case IDOK:
            AddKeyDlg_OnOk(hwnd, st);
            break;
        case IDCANCEL:
            EndDialog(hwnd, 0);
            break;
    }
}

static INT_PTR CALLBACK AddKeyDlgProc(HWND hwnd, UINT uMsg, WPARAM wParam, LPARAM lParam)
{
    switch (uMsg)
    {
        HANDLE_DLGMSG(hwnd, WM_INITDIALOG, AddKeyDlg_OnInit);
        HANDLE_DLGMSG(hwnd, WM_COMMAND, AddKeyDlg_OnCommand);
    }
    return FALSE;
}

int RunAddTarvinKeyDialog(HINSTANCE instance, HWND owner, CTarvinKey* key, CAppList* apps)
{
    AddKeyState st = {instance, key, apps};
    INT_PTR rc = DialogBoxParamA(instance, MAKEINTRESOURCEA(IDD_ADDKEY), owner, AddKeyDlgProc, (LPARAM)&st);
    return rc == 1 ? 1 : 0;
}

// --- The page ------------------------------------------------------------------------

static void KeysPage_AddRow(HWND list, CTarvinKeys* keys, unsigned index)
{
    char text[128], desc[KEY_TARGET_SIZE + 16];
    keys->GetText(index, text, sizeof(text));
    keys->GetDesc(index, desc, sizeof(desc));
    int row = InsertListRow(list, (int)index, text, -1);
    if (row >= 0)
        ListView_SetItemText(list, row, 1, desc);
}

static BOOL KeysPage_OnInit(HWND hwnd, HWND, LPARAM)
{
    HWND list = GetDlgItem(hwnd, IDC_KEYS_LIST);
    ListView_SetExtendedListViewStyleEx(list, LVS_EX_FULLROWSELECT, LVS_EX_FULLROWSELECT);
    const ListViewColumn columns[] = {{"Tarvin Key", 100}, {"Action", 280}};
    for (int i = 0; i < 2; i++)
    {
        LVCOLUMNA col;
        ZeroMemory(&col, sizeof(col));
        col.mask = LVCF_TEXT | LVCF_WIDTH;
        col.pszText = (char*)columns[i].title;
        col.cx = columns[i].width;
        ListView_InsertColumn(list, i, &col);
    }
    CTarvinKeys* keys = &PrefPageAgent(hwnd)->keys;
    for (unsigned i = 0; i < keys->GetSize(); i++)
        KeysPage_AddRow(list, keys, i);
    return TRUE;
}

static void KeysPage_OnAdd(HWND hwnd)
{
    AgentState* agent = PrefPageAgent(hwnd);
    CTarvinKey blank;
    if (!RunAddTarvinKeyDialog((HINSTANCE)GetWindowLongPtrA(hwnd, GWLP_HINSTANCE), hwnd, &blank,
                               &agent->appList))
        return;
    CTarvinKeys* keys = &agent->keys;
    keys->AddKey(new CTarvinKey(blank));
    unsigned index = keys->GetSize() - 1;
    KeysPage_AddRow(GetDlgItem(hwnd, IDC_KEYS_LIST), keys, index);
    if (!keys->Register(index, agent->hwnd))
    {
        char text[KEY_TARGET_SIZE + 512];
        FormatRegisterFailure(*keys, index, text, sizeof(text));
        MessageBoxA(hwnd, text, "Tarvin Keys", MB_OK | MB_ICONINFORMATION);
    }
}

static void KeysPage_OnRemove(HWND hwnd)
{
    HWND list = GetDlgItem(hwnd, IDC_KEYS_LIST);
    int row = ListView_GetNextItem(list, -1, LVNI_SELECTED);
    AgentState* agent = PrefPageAgent(hwnd);
    CTarvinKeys* keys = &agent->keys;
    if (row < 0 || (unsigned)row >= keys->GetSize())
        return;
    char text[128], desc[KEY_TARGET_SIZE + 16], question[KEY_TARGET_SIZE + 256];
    keys->GetText((unsigned)row, text, sizeof(text));
    keys->GetDesc((unsigned)row, desc, sizeof(desc));
    StrFormat(question, sizeof(question), "Are you sure you want to remove this Tarvin Key?\n   %s\n   %s",
              text, desc);
    if (MessageBoxA(hwnd, question, "Confirm", MB_YESNO | MB_ICONQUESTION) != IDYES)
        return;
    ListView_DeleteItem(list, row);
    keys->Unregister((unsigned)row, agent->hwnd);
    keys->RemoveKey((unsigned)row);
}

static void KeysPage_OnCommand(HWND hwnd, int id, HWND, UINT code)
{
    if (code != BN_CLICKED)
        return;
    if (id == IDC_KEYS_ADD)
        KeysPage_OnAdd(hwnd);
    else if (id == IDC_KEYS_REMOVE)
        KeysPage_OnRemove(hwnd);
}

INT_PTR CALLBACK PrefKeysDlgProc(HWND hwnd, UINT uMsg, WPARAM wParam, LPARAM lParam)
{
    switch (uMsg)
    {
        HANDLE_DLGMSG(hwnd, WM_INITDIALOG, KeysPage_OnInit);
        HANDLE_DLGMSG(hwnd, WM_COMMAND, KeysPage_OnCommand);
    }
    return FALSE;
}

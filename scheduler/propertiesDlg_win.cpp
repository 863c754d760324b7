// Task properties: a tab frame over three pages; the Schedule page holds one
// sub-dialog for the rule's type and subtype. Every page writes its controls
// into the working task when it is destroyed, so switching pages and OK both
// keep what was typed.
#include <windows.h>
#include <windowsx.h>
#include <commctrl.h>
#include <commdlg.h>
#include <shellapi.h>
#include <new>
#include <initializer_list>

#include "propertiesDlg.h"
#include "winstate.h"
#include "RuleEdit.h"
#include "xmlutils.h"
#include "schedstate.h"
#include "pickers.h"
#include "filedlg.h"
#include "sched_res.h"
#include "thmutils.h"
#include "winutils.h"
#include "strutils.h"

namespace
{

struct FrameState
{
    CSTask* task;
    int* infoCount;
    HWND hTab;
    HWND hPage;
};

struct SchedulePageState
{
    CSTask* task;
    HWND hwnd;
    HWND hSub;
    // The rule's type and the pickers' time when the page opened: a time
    // only looked at is not stored.
    DWORD typeAtOpen;
    CTime shownAtOpen;
};

struct SubDlgState
{
    SchedulePageState* page;
    int id;
    // Set once the controls show the rule: the interval field announces a
    // change while it is filled, and a save then would take the boxes and
    // pickers before they are set.
    bool ready;
};

struct InfoPageState
{
    CSTask* task;
    int* infoCount;
};

const int kMonthBoxes = 12;
const int kDayBoxes = 7;

// --- Task page -------------------------------------------------------------------

void SetTaskIcon(HWND hwnd, const char* target)
{
    char path[MAX_PATH];
    StrCopy(path, target);
    WORD index = 0;
    HICON icon = target[0] ? ExtractAssociatedIconA(g_hInst, path, &index) : nullptr;
    HICON old = (HICON)SendDlgItemMessageA(hwnd, IDC_TASK_ICON, STM_SETICON, (WPARAM)icon, 0);
    if (old)
        DestroyIcon(old);
}

BOOL TaskPage_OnInitDialog(HWND hwnd, HWND, LPARAM lParam)
{
    FrameState* fs = (FrameState*)lParam;
    SetDialogState(hwnd, fs);
    CSTask* task = fs->task;
    const int edits[] = {IDC_TASK_NAME, IDC_TASK_RUN, IDC_TASK_DIR, IDC_TASK_PARAMS};
    const char* texts[] = {task->GetName(), task->GetTarget(), task->GetDir(), task->GetCmdLine()};
    for (int i = 0; i < 4; i++)
    {
        SendDlgItemMessageA(hwnd, edits[i], EM_LIMITTEXT, ST_TEXT_SIZE - 1, 0);
        SetDlgItemTextA(hwnd, edits[i], texts[i]);
    }
    HWND states = GetDlgItem(hwnd, IDC_TASK_WINDOWSTATE);
    for (const char* s : {"Normal Window", "Minimized", "Maximized"})
        ComboBox_AddString(states, s);
    ComboBox_SetCurSel(states, task->GetWindowState() - 1);
    CheckDlgButton(hwnd, IDC_TASK_ENABLED, task->IsActive() ? BST_CHECKED : BST_UNCHECKED);
    SetTaskIcon(hwnd, task->GetTarget());
    return TRUE;
}

void TaskPage_OnBrowse(HWND hwnd)
{
    char file[MAX_PATH] = "";
    GetDlgItemTextA(hwnd, IDC_TASK_RUN, file, sizeof(file));
    FileDialogOptions options = {
        "Select an application",
        "Launch Files (*.launch)\0*.launch\0Executables (*.exe)\0*.exe\0All Files (*.*)\0*.*\0", nullptr,
        "exe", OFN_PATHMUSTEXIST | OFN_FILEMUSTEXIST | OFN_HIDEREADONLY};
    if (AskOpenFileName(hwnd, options, file, sizeof(file)))
    {
        SetDlgItemTextA(hwnd, IDC_TASK_RUN, file);
        SetTaskIcon(hwnd, file);
    }
}

void TaskPage_OnCommand(HWND hwnd, int id, HWND, UINT)
{
    if (id == IDC_TASK_BROWSE)
        TaskPage_OnBrowse(hwnd);
}

void TaskPage_OnDestroy(HWND hwnd)
{
    FrameState* fs = DialogState<FrameState>(hwnd);
    SetTaskIcon(hwnd, "");
    if (!fs)
        return;
    char target[ST_TEXT_SIZE], dir[ST_TEXT_SIZE], cmdLine[ST_TEXT_SIZE], name[ST_TEXT_SIZE];
    GetDlgItemTextA(hwnd, IDC_TASK_RUN, target, sizeof(target));
    GetDlgItemTextA(hwnd, IDC_TASK_DIR, dir, sizeof(dir));
    GetDlgItemTextA(hwnd, IDC_TASK_PARAMS, cmdLine, sizeof(cmdLine));
    GetDlgItemTextA(hwnd, IDC_TASK_NAME, name, sizeof(name));
    int state = ComboBox_GetCurSel(GetDlgItem(hwnd, IDC_TASK_WINDOWSTATE));
    fs->task->SetAction(target, dir, cmdLine, state >= 0 ? state + 1 : fs->task->GetWindowState());
    fs->task->SetName(name);
    fs->task->SetActive(IsDlgButtonChecked(hwnd, IDC_TASK_ENABLED) == BST_CHECKED);
}

INT_PTR CALLBACK TaskPageProc(HWND hwnd, UINT uMsg, WPARAM wParam, LPARAM lParam)
{
    switch (uMsg)
    {
        HANDLE_DLGMSG(hwnd, WM_INITDIALOG, TaskPage_OnInitDialog);
        HANDLE_DLGMSG(hwnd, WM_COMMAND, TaskPage_OnCommand);
        HANDLE_DLGMSG(hwnd, WM_DESTROY, TaskPage_OnDestroy);
    }
    return FALSE;
}

// --- Recurrence sub-dialogs ----------------------------------------------------

int SubDialogFor(DWORD type, DWORD subtype)
{
    if (type != ST_TYPE_PERIODIC)
        return IDD_PROP_NOSETTINGS;
    static const int ids[] = {IDD_PROP_MINUTES, IDD_PROP_HOURS,  IDD_PROP_DAYS,
                              IDD_PROP_WEEKS,   IDD_PROP_MONTHS, IDD_PROP_YEARS};
    return subtype >= 1 && subtype <= 6 ? ids[subtype - 1] : IDD_PROP_NOSETTINGS;
}

bool HasWindow(int id)
{
    return id == IDD_PROP_MINUTES || id == IDD_PROP_HOURS;
}

void EnableWindowControls(HWND hwnd, bool on)
{
    for (int id = IDC_SUB_BETWEENLABEL; id <= IDC_SUB_AND; id++)
        EnableWindow(GetDlgItem(hwnd, id), on);
}

// Only while the rule still is what the two lists show: after a type or
// subtype change the old sub-dialog's fields no longer belong to the rule.
void SubDlg_Save(HWND hwnd)
{
    SubDlgState* ss = DialogState<SubDlgState>(hwnd);
    if (!ss || !ss->ready)
        return;
    CSTRecRule* rule = ss->page->task->GetFirstRule();
    HWND page = ss->page->hwnd;
    int type = ComboBox_GetCurSel(GetDlgItem(page, IDC_SCHED_TYPE)) + 1;
    int subtype = ComboBox_GetCurSel(GetDlgItem(page, IDC_SCHED_SUBTYPE)) + 1;
    if (!rule || rule->type != ST_TYPE_PERIODIC || (DWORD)type != rule->type ||
        (DWORD)subtype != rule->subtype)
        return;
    DWORD value;
    if (ReadInterval(GetDlgItem(hwnd, IDC_SUB_EVERY), &value))
        rule->data = value;
    if (HasWindow(ss->id))
    {
        if (IsDlgButtonChecked(hwnd, IDC_SUB_LIMIT) == BST_CHECKED)
        {
            // The task runs from the first time to the second.
            CTime from, to;
            GetPickerTime(GetDlgItem(hwnd, IDC_SUB_BETWEEN), to);
            GetPickerTime(GetDlgItem(hwnd, IDC_SUB_AND), from);
            to.GetSystemTimePtr()->wSecond = to.GetSystemTimePtr()->wMilliseconds = 0;
            from.GetSystemTimePtr()->wSecond = from.GetSystemTimePtr()->wMilliseconds = 0;
            rule->SetExceptTime(from, to);
        }
        else
        {
            CTime none;
            none.Set(2000, 1, 1, 12, 0, 0, 0);
            rule->SetExceptTime(none, none);
        }
    }
    else if (ss->id == IDD_PROP_DAYS || ss->id == IDD_PROP_MONTHS)
    {
        int first = ss->id == IDD_PROP_DAYS ? IDC_SUB_MONDAY : IDC_SUB_JANUARY;
        int count = ss->id == IDD_PROP_DAYS ? kDayBoxes : kMonthBoxes;
        DWORD except = 0;
        for (int i = 0; i < count; i++)
            if (IsDlgButtonChecked(hwnd, first + i) != BST_CHECKED)
                except |= 1u << i;
        rule->except = except;
    }
}

BOOL SubDlg_OnInitDialog(HWND hwnd, HWND, LPARAM lParam)
{
    SubDlgState* ss = (SubDlgState*)lParam;
    SetDialogState(hwnd, ss);
    CSTRecRule* rule = ss->page->task->GetFirstRule();
    if (!rule || ss->id == IDD_PROP_NOSETTINGS)
        return TRUE;
    SetUpInterval(GetDlgItem(hwnd, IDC_SUB_SPIN), rule->data);
    if (HasWindow(ss->id))
    {
        HWND between = GetDlgItem(hwnd, IDC_SUB_BETWEEN), andPicker = GetDlgItem(hwnd, IDC_SUB_AND);
        if (!between || !andPicker)
        {
            MessageBoxA(hwnd, "An error has occured while creating the minutely recurrence subdialog.",
                        nullptr, MB_OK | MB_ICONWARNING);
            ss->ready = true;
            return TRUE;
        }
        SendMessageA(between, DTM_SETFORMATA, 0, (LPARAM)PICKER_TIME_FORMAT);
        SendMessageA(andPicker, DTM_SETFORMATA, 0, (LPARAM)PICKER_TIME_FORMAT);
        SetPickerTime(between, rule->exceptto);
        SetPickerTime(andPicker, rule->exceptfrom);
        bool limited = rule->exceptfrom.CompareTime(rule->exceptto) != 0;
        CheckDlgButton(hwnd, IDC_SUB_LIMIT, limited ? BST_CHECKED : BST_UNCHECKED);
        EnableWindowControls(hwnd, limited);
    }
    else if (ss->id == IDD_PROP_DAYS || ss->id == IDD_PROP_MONTHS)
    {
        int first = ss->id == IDD_PROP_DAYS ? IDC_SUB_MONDAY : IDC_SUB_JANUARY;
        int count = ss->id == IDD_PROP_DAYS ? kDayBoxes : kMonthBoxes;
        for (int i = 0; i < count; i++)
            CheckDlgButton(hwnd, first + i, (rule->except & (1u << i)) ? BST_UNCHECKED : BST_CHECKED);
    }
    ss->ready = true;
    return TRUE;
}

void SubDlg_OnCommand(HWND hwnd, int id, HWND, UINT code)
{
    SubDlgState* ss = DialogState<SubDlgState>(hwnd);
    if (!ss)
        return;
    if (id == IDC_SUB_LIMIT && code == BN_CLICKED)
        EnableWindowControls(hwnd, IsDlgButtonChecked(hwnd, IDC_SUB_LIMIT) == BST_CHECKED);
    else if (id == IDC_SUB_EVERY && code == EN_KILLFOCUS)
    {
        CSTRecRule* rule = ss->page->task->GetFirstRule();
        FixInterval(GetDlgItem(hwnd, IDC_SUB_EVERY), GetDlgItem(hwnd, IDC_SUB_SPIN), rule ? rule->data : 1);
        SubDlg_Save(hwnd);
    }
    else if (id == IDC_SUB_EVERY && code == EN_CHANGE)
        SubDlg_Save(hwnd);
}

void SubDlg_OnDestroy(HWND hwnd)
{
    SubDlg_Save(hwnd);
    delete DialogState<SubDlgState>(hwnd);
    SetDialogState(hwnd, nullptr);
}

INT_PTR CALLBACK SubDlgProc(HWND hwnd, UINT uMsg, WPARAM wParam, LPARAM lParam)
{
    switch (uMsg)
    {
        HANDLE_DLGMSG(hwnd, WM_INITDIALOG, SubDlg_OnInitDialog);
        HANDLE_DLGMSG(hwnd, WM_COMMAND, SubDlg_OnCommand);
        HANDLE_DLGMSG(hwnd, WM_DESTROY, SubDlg_OnDestroy);
    }
    return FALSE;
}

// --- Schedule page -------------------------------------------------------------

bool DestroySubDialog(SchedulePageState* ps)
{
    if (!ps->hSub)
        return true;
    if (!DestroyWindow(ps->hSub))
        return false;
    ps->hSub = nullptr;
    return true;
}

void CreateSubDialog(SchedulePageState* ps, DWORD type, DWORD subtype)
{
    SubDlgState* ss = new (std::nothrow) SubDlgState{ps, SubDialogFor(type, subtype), false};
    if (!ss)
        return;
    ps->hSub = CreateDialogParamA(g_hInst, MAKEINTRESOURCEA(ss->id), ps->hwnd, SubDlgProc, (LPARAM)ss);
    if (!ps->hSub)
    {
        delete ss;
        return;
    }
    // Below the two lists, above the time of the next run.
    RECT area = {8, 32, 0, 0};
    MapDialogRect(ps->hwnd, &area);
    SetWindowPos(ps->hSub, HWND_TOP, area.left, area.top, 0, 0, SWP_NOSIZE | SWP_SHOWWINDOW);
    g_EnableThemeDialogTexture(ps->hSub, ETDT_ENABLETAB);
}

// Each entry carries its subtype. The entry showing `stored` is selected.
void FillSubtypes(HWND hwnd, DWORD type, DWORD stored)
{
    HWND list = GetDlgItem(hwnd, IDC_SCHED_SUBTYPE);
    ComboBox_ResetContent(list);
    tagSUBTYPE_CHOICE choices[RULE_MAX_SUBTYPE_CHOICES];
    int selected = 0;
    int count = GetSubtypeChoices(type, stored, choices, &selected);
    for (int i = 0; i < count; i++)
        ComboBox_SetItemData(list, ComboBox_AddString(list, choices[i].text), choices[i].subtype);
    ComboBox_SetCurSel(list, selected);
    EnableWindow(list, type != ST_TYPE_DATE);
}

DWORD SelectedSubtype(HWND hwnd)
{
    HWND list = GetDlgItem(hwnd, IDC_SCHED_SUBTYPE);
    int index = ComboBox_GetCurSel(list);
    return index >= 0 ? (DWORD)ComboBox_GetItemData(list, index) : 1;
}

void ShowTimeControls(HWND hwnd, const CSTRecRule* rule)
{
    int show = rule->type == ST_TYPE_EVENT ? SW_HIDE : SW_SHOW;
    for (int id : {IDC_SCHED_NEXTLABEL, IDC_SCHED_DATE, IDC_SCHED_AT, IDC_SCHED_TIME})
        ShowWindow(GetDlgItem(hwnd, id), show);
    SetPickerTime(GetDlgItem(hwnd, IDC_SCHED_DATE), rule->time);
    SetPickerTime(GetDlgItem(hwnd, IDC_SCHED_TIME), rule->time);
}

void ShowStartupLabel(HWND hwnd, const CSTRecRule* rule)
{
    bool startup = rule->type == ST_TYPE_EVENT && rule->subtype == ST_EVENT_STARTUP;
    ShowWindow(GetDlgItem(hwnd, IDC_SCHED_STARTUP), startup ? SW_SHOW : SW_HIDE);
}

void SchedulePage_OnSubtypeChange(HWND hwnd)
{
    SchedulePageState* ps = DialogState<SchedulePageState>(hwnd);
    CSTRecRule* rule = ps->task->GetFirstRule();
    if (!rule)
        return;
    if (!DestroySubDialog(ps))
    {
        MessageBoxA(hwnd, "An error occured while trying to destroy the subdialog.", nullptr,
                    MB_OK | MB_ICONWARNING);
        return;
    }
    DWORD subtype = SelectedSubtype(hwnd);
    int type = ComboBox_GetCurSel(GetDlgItem(hwnd, IDC_SCHED_TYPE)) + 1;
    CreateSubDialog(ps, (DWORD)type, subtype);
    rule->subtype = subtype;
    ShowStartupLabel(hwnd, rule);
}

void SchedulePage_OnTypeChange(HWND hwnd)
{
    SchedulePageState* ps = DialogState<SchedulePageState>(hwnd);
    CSTRecRule* rule = ps->task->GetFirstRule();
    if (!rule)
        return;
    DestroySubDialog(ps);
    DWORD type = (DWORD)(ComboBox_GetCurSel(GetDlgItem(hwnd, IDC_SCHED_TYPE)) + 1);
    rule->type = type;
    rule->subtype = 1;
    FillSubtypes(hwnd, type, rule->subtype);
    ShowTimeControls(hwnd, rule);
    SchedulePage_OnSubtypeChange(hwnd);
}

BOOL SchedulePage_OnInitDialog(HWND hwnd, HWND, LPARAM lParam)
{
    FrameState* fs = (FrameState*)lParam;
    SchedulePageState* ps = new (std::nothrow) SchedulePageState{fs->task, hwnd, nullptr, 0, CTime()};
    SetDialogState(hwnd, ps);
    if (!ps)
        return TRUE;
    HWND types = GetDlgItem(hwnd, IDC_SCHED_TYPE);
    for (const char* s : {"Specific date", "Periodically", "On event"})
        ComboBox_AddString(types, s);
    SendDlgItemMessageA(hwnd, IDC_SCHED_DATE, DTM_SETFORMATA, 0, (LPARAM)PICKER_DATE_FORMAT);
    SendDlgItemMessageA(hwnd, IDC_SCHED_TIME, DTM_SETFORMATA, 0, (LPARAM)PICKER_TIME_FORMAT);
    CSTRecRule* rule = ps->task->GetFirstRule();
    if (!rule || rule->type < ST_TYPE_DATE || rule->type > ST_TYPE_EVENT)
        return TRUE;
    // The stored type and subtype, with one sub-dialog made for them.
    ComboBox_SetCurSel(types, rule->type - 1);
    FillSubtypes(hwnd, rule->type, rule->subtype);
    rule->subtype = SelectedSubtype(hwnd);
    ShowTimeControls(hwnd, rule);
    ShowStartupLabel(hwnd, rule);
    ps->typeAtOpen = rule->type;
    ps->shownAtOpen = CombinePickers(GetDlgItem(hwnd, IDC_SCHED_DATE), GetDlgItem(hwnd, IDC_SCHED_TIME));
    CreateSubDialog(ps, rule->type, rule->subtype);
    return TRUE;
}

void SchedulePage_OnCommand(HWND hwnd, int id, HWND, UINT code)
{
    if (code != CBN_SELCHANGE)
        return;
    if (id == IDC_SCHED_TYPE)
        SchedulePage_OnTypeChange(hwnd);
    else if (id == IDC_SCHED_SUBTYPE)
        SchedulePage_OnSubtypeChange(hwnd);
}

void SchedulePage_OnDestroy(HWND hwnd)
{
    SchedulePageState* ps = DialogState<SchedulePageState>(hwnd);
    if (!ps)
        return;
    DestroySubDialog(ps); // saves the sub-dialog's fields
    CTime shown = CombinePickers(GetDlgItem(hwnd, IDC_SCHED_DATE), GetDlgItem(hwnd, IDC_SCHED_TIME));
    bool changed = shown.CompareDate(ps->shownAtOpen) != 0 || shown.CompareTime(ps->shownAtOpen) != 0;
    CloseRuleTime(ps->task, ps->typeAtOpen, changed, shown);
    SetDialogState(hwnd, nullptr);
    delete ps;
}

INT_PTR CALLBACK SchedulePageProc(HWND hwnd, UINT uMsg, WPARAM wParam, LPARAM lParam)
{
    switch (uMsg)
    {
        HANDLE_DLGMSG(hwnd, WM_INITDIALOG, SchedulePage_OnInitDialog);
        HANDLE_DLGMSG(hwnd, WM_COMMAND, SchedulePage_OnCommand);
        HANDLE_DLGMSG(hwnd, WM_DESTROY, SchedulePage_OnDestroy);
    }
    return FALSE;
}

// --- Information page ----------------------------------------------------------

void SetWhenText(HWND hwnd, int id, const CTime& t)
{
    char text[160];
    FormatWhen(t, text, sizeof(text), "Never");
    SetDlgItemTextA(hwnd, id, text);
}

// The time reached after `steps` steps of the rule from the scheduled time;
// all zero when the steps run out.
CTime StepFromScheduled(CSTask* task, int steps)
{
    CTime t = task->GetScheduledTime();
    const CSTRecRule* rule = task->GetFirstRule();
    for (int i = 0; i < steps; i++)
    {
        CTime next;
        if (rule)
            rule->GetNextScheduledTimeAfter(t, next);
        else
            next.Set(0, 0, 0, 0, 0, 0, 0);
        t = next;
        if (t.GetSystemTimePtr()->wYear == 0)
            break;
    }
    return t;
}

void InfoPage_Fill(HWND hwnd)
{
    InfoPageState* is = DialogState<InfoPageState>(hwnd);
    char caption[64];
    StrFormat(caption, sizeof(caption), "Next %d scheduled times.", *is->infoCount);
    SetDlgItemTextA(hwnd, IDC_INFO_CAPTION, caption);
    HWND list = GetDlgItem(hwnd, IDC_INFO_LIST);
    ListView_DeleteAllItems(list);
    CTime t = is->task->GetScheduledTime();
    const CSTRecRule* rule = is->task->GetFirstRule();
    for (int i = 0; i < *is->infoCount; i++)
    {
        CTime next;
        if (rule)
            rule->GetNextScheduledTimeAfter(t, next);
        else
            next.Set(0, 0, 0, 0, 0, 0, 0);
        char date[ST_DATE_TEXT_SIZE] = "", timeOfDay[ST_DATE_TEXT_SIZE] = "";
        bool none = next.GetSystemTimePtr()->wYear == 0;
        if (none)
            StrCopy(date, "Never");
        else
        {
            GetDateFormatA(LOCALE_USER_DEFAULT, 0, next.GetSystemTimePtr(), "dddd',' dd MMMM yyyy", date,
                           sizeof(date));
            GetTimeFormatA(LOCALE_USER_DEFAULT, TIME_NOSECONDS, next.GetSystemTimePtr(), nullptr, timeOfDay,
                           sizeof(timeOfDay));
        }
        LVITEMA item;
        ZeroMemory(&item, sizeof(item));
        item.mask = LVIF_TEXT;
        item.iItem = i;
        item.pszText = date;
        int row = (int)SendMessageA(list, LVM_INSERTITEMA, 0, (LPARAM)&item);
        ListView_SetItemText(list, row, 1, timeOfDay);
        if (none)
            break;
        t = next;
    }
}

BOOL InfoPage_OnInitDialog(HWND hwnd, HWND, LPARAM lParam)
{
    FrameState* fs = (FrameState*)lParam;
    InfoPageState* is = new (std::nothrow) InfoPageState{fs->task, fs->infoCount};
    SetDialogState(hwnd, is);
    if (!is)
        return TRUE;
    HWND list = GetDlgItem(hwnd, IDC_INFO_LIST);
    ListView_SetExtendedListViewStyle(list, LVS_EX_FULLROWSELECT);
    static const ListViewColumn kColumns[] = {{"Date", 160}, {"Time", 50}};
    AddListViewColumns(list, kColumns, 2);
    SetWhenText(hwnd, IDC_INFO_ORIG, is->task->GetOrigScheduledTime());
    SetWhenText(hwnd, IDC_INFO_LAST, is->task->GetLastScheduledTime());
    SetWhenText(hwnd, IDC_INFO_NEXT, is->task->GetScheduledTime());
    SetDlgItemInt(hwnd, IDC_INFO_RECURRENCES, is->task->GetRecurrenceCount(), FALSE);
    InfoPage_Fill(hwnd);
    return TRUE;
}

void InfoPage_OnSetAsNext(HWND hwnd)
{
    InfoPageState* is = DialogState<InfoPageState>(hwnd);
    int row = ListView_GetNextItem(GetDlgItem(hwnd, IDC_INFO_LIST), -1, LVNI_SELECTED);
    CSTRecRule* rule = is->task->GetFirstRule();
    if (row < 0 || !rule)
        return;
    CTime t = StepFromScheduled(is->task, row + 1);
    rule->time = t;
    is->task->SetScheduledTime(t);
    InfoPage_Fill(hwnd);
    SetWhenText(hwnd, IDC_INFO_NEXT, t);
}

void InfoPage_OnCommand(HWND hwnd, int id, HWND, UINT)
{
    InfoPageState* is = DialogState<InfoPageState>(hwnd);
    if (!is)
        return;
    if (id == IDC_INFO_MORE)
    {
        *is->infoCount += 10;
        InfoPage_Fill(hwnd);
    }
    else if (id == IDC_INFO_SETNEXT)
        InfoPage_OnSetAsNext(hwnd);
}

void InfoPage_OnDestroy(HWND hwnd)
{
    delete DialogState<InfoPageState>(hwnd);
    SetDialogState(hwnd, nullptr);
}

INT_PTR CALLBACK InfoPageProc(HWND hwnd, UINT uMsg, WPARAM wParam, LPARAM lParam)
{
    switch (uMsg)
    {
        HANDLE_DLGMSG(hwnd, WM_INITDIALOG, InfoPage_OnInitDialog);
        HANDLE_DLGMSG(hwnd, WM_COMMAND, InfoPage_OnCommand);
        HANDLE_DLGMSG(hwnd, WM_DESTROY, InfoPage_OnDestroy);
    }
    return FALSE;
}

// --- Frame ---------------------------------------------------------------------

void Frame_DestroyPage(FrameState* fs)
{
    if (fs->hPage)
        DestroyWindow(fs->hPage);
    fs->hPage = nullptr;
}

void Frame_CreatePage(HWND hwnd, int tab)
{
    FrameState* fs = DialogState<FrameState>(hwnd);
    static const int ids[] = {IDD_PROP_TASK, IDD_PROP_SCHEDULE, IDD_PROP_INFO};
    static const DLGPROC procs[] = {TaskPageProc, SchedulePageProc, InfoPageProc};
    if (tab < 0 || tab > 2)
        return;
    fs->hPage = CreateDialogParamA(g_hInst, MAKEINTRESOURCEA(ids[tab]), hwnd, procs[tab], (LPARAM)fs);
    if (!fs->hPage)
    {
        MessageBoxA(hwnd,
                    "Cannot create subdialog.\n\nIf you consistently receive this error, please notify the "
                    "developers.",
                    "Properties - Error", MB_OK | MB_ICONWARNING);
        return;
    }
    ShowTabPage(hwnd, fs->hTab, fs->hPage);
    RedrawWindow(fs->hPage, nullptr, nullptr, RDW_INVALIDATE | RDW_ALLCHILDREN | RDW_ERASE);
}

BOOL Frame_OnInitDialog(HWND hwnd, HWND, LPARAM lParam)
{
    FrameState* fs = (FrameState*)lParam;
    SetDialogState(hwnd, fs);
    fs->hTab = GetDlgItem(hwnd, IDC_PROP_TAB);
    const char* tabs[] = {"Task", "Schedule", "Information"};
    for (int i = 0; i < 3; i++)
    {
        TCITEMA item;
        ZeroMemory(&item, sizeof(item));
        item.mask = TCIF_TEXT;
        item.pszText = (LPSTR)tabs[i];
        SendMessageA(fs->hTab, TCM_INSERTITEMA, i, (LPARAM)&item);
    }
    CenterWindow(hwnd);
    Frame_CreatePage(hwnd, 0);
    return TRUE;
}

void Frame_OnCommand(HWND hwnd, int id, HWND, UINT)
{
    if (id != IDOK && id != IDCANCEL)
        return;
    // The page writes back now, while the working task still counts.
    FrameState* fs = DialogState<FrameState>(hwnd);
    Frame_DestroyPage(fs);
    // A text with both quote characters could not be read back from the file:
    // the user mends it on the Task page, where all the texts are.
    if (id == IDOK && fs && !fs->task->IsStorable())
    {
        MessageBoxA(hwnd, TAG_VALUE_QUOTES_TEXT, "Properties", MB_OK | MB_ICONWARNING);
        TabCtrl_SetCurSel(fs->hTab, 0);
        Frame_CreatePage(hwnd, 0);
        return;
    }
    EndDialog(hwnd, id);
}

LRESULT Frame_OnNotify(HWND hwnd, int, NMHDR* nm)
{
    FrameState* fs = DialogState<FrameState>(hwnd);
    if (nm->hwndFrom == fs->hTab && nm->code == TCN_SELCHANGE)
    {
        Frame_DestroyPage(fs);
        Frame_CreatePage(hwnd, TabCtrl_GetCurSel(fs->hTab));
    }
    return 0;
}

void Frame_OnClose(HWND hwnd)
{
    Frame_OnCommand(hwnd, IDCANCEL, nullptr, 0);
}

INT_PTR CALLBACK PropertiesDlgProc(HWND hwnd, UINT uMsg, WPARAM wParam, LPARAM lParam)
{
    switch (uMsg)
    {
        HANDLE_DLGMSG(hwnd, WM_INITDIALOG, Frame_OnInitDialog);
        HANDLE_DLGMSG(hwnd, WM_COMMAND, Frame_OnCommand);
        HANDLE_DLGMSG(hwnd, WM_NOTIFY, Frame_OnNotify);
        HANDLE_DLGMSG(hwnd, WM_CLOSE, Frame_OnClose);
    }
    return FALSE;
}

} // namespace

INT_PTR RunPropertiesDialog(HWND owner, CSTask* task, int* infoCount)
{
    FrameState fs = {task, infoCount, nullptr, nullptr};
    return DialogBoxParamA(g_hInst, MAKEINTRESOURCEA(IDD_PROPERTIES), owner, PropertiesDlgProc, (LPARAM)&fs);
}

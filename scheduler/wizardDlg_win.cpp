// The new scheduled task wizard: a frame with the picture and the buttons,
// and one child page at a time. A page is made when it is entered and
// destroyed when it is left, and writes its controls into the task then.
#include <windows.h>
#include <windowsx.h>
#include <commctrl.h>
#include <initializer_list>
#include <string.h>

#include "wizardDlg.h"
#include "winstate.h"
#include "xmlutils.h"
#include "schedstate.h"
#include "pickers.h"
#include "pickProgram.h"
#include "sched_res.h"
#include "winholders.h"
#include "winutils.h"
#include "strutils.h"

namespace
{

struct WizardState
{
    tagWIZARD_DATA* data;
    HWND hwnd;
    int page;
    HWND hPage;
    CGdiObject<HFONT> titleFont;
    // The name the confirmation page proposed last: while the name is still
    // that, a new target proposes again; a name the user typed stays.
    char proposedName[ST_TEXT_SIZE];
};

const int kPeriodPages[] = {IDD_WIZ_MINUTES, IDD_WIZ_HOURS,  IDD_WIZ_DAYS,
                            IDD_WIZ_WEEKS,   IDD_WIZ_MONTHS, IDD_WIZ_YEARS};

CSTRecRule* RuleOf(WizardState* ws)
{
    return ws->data->task.GetFirstRule();
}

int PeriodPage(const CSTRecRule* rule)
{
    return rule->subtype >= 1 && rule->subtype <= 6 ? kPeriodPages[rule->subtype - 1] : IDD_WIZ_MINUTES;
}

bool IsPeriodPage(int page)
{
    for (int p : kPeriodPages)
        if (p == page)
            return true;
    return false;
}

const char* PageTitle(int page)
{
    switch (page)
    {
        case IDD_WIZ_TARGET:
            return "Welcome to the Scheduled Task Wizard.";
        case IDD_WIZ_TYPE:
            return "Select Scheduling";
        case IDD_WIZ_DATE:
            return "Select Date and Time";
        case IDD_WIZ_CONFIRM:
            return "Confirm Selection";
    }
    return "Select Period";
}

const char* FileNameOf(const char* path)
{
    const char* name = path;
    for (const char* p = path; *p; p++)
        if (*p == '\\' || *p == '/' || *p == ':')
            name = p + 1;
    return name;
}

HWND FrameOf(HWND page)
{
    return GetParent(page);
}

// Next is the default button only while it can be pressed.
void UpdateTargetNext(HWND page)
{
    HWND frame = FrameOf(page);
    bool any = GetWindowTextLengthA(GetDlgItem(page, IDC_WIZ_TARGET)) > 0;
    EnableWindow(GetDlgItem(frame, IDC_WIZ_NEXT), any);
    SendMessageA(frame, DM_SETDEFID, any ? IDC_WIZ_NEXT : IDCANCEL, 0);
    Button_SetStyle(GetDlgItem(frame, IDC_WIZ_NEXT), any ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON, TRUE);
    Button_SetStyle(GetDlgItem(frame, IDCANCEL), any ? BS_PUSHBUTTON : BS_DEFPUSHBUTTON, TRUE);
}

void EnableWindowControls(HWND page, bool on)
{
    for (int id : {IDC_WIZ_BETWEENLABEL, IDC_WIZ_BETWEEN, IDC_WIZ_ANDLABEL, IDC_WIZ_AND})
        EnableWindow(GetDlgItem(page, id), on);
}

void Summary(WizardState* ws, char* buf, size_t size)
{
    const CSTRecRule* rule = RuleOf(ws);
    const char* name = FileNameOf(ws->data->task.GetTarget());
    if (rule->type == ST_TYPE_DATE)
    {
        char when[160];
        FormatWhen(rule->time, when, sizeof(when), "Not scheduled to run again");
        StrFormat(buf, size, "You have selected to run %s on %s.", name, when);
    }
    else if (rule->type == ST_TYPE_EVENT)
        StrFormat(buf, size, "You have selected to run %s every Tarvin 2 starts up.", name);
    else
    {
        static const char* const units[] = {"minutes", "hours", "days", "weeks", "months", "years"};
        const char* unit = rule->subtype >= 1 && rule->subtype <= 6 ? units[rule->subtype - 1] : "minutes";
        StrFormat(buf, size, "You have selected to run %s every %d %s.", name, (int)rule->data, unit);
    }
}

// --- Pages ---------------------------------------------------------------------------

void Page_Init(HWND page, WizardState* ws)
{
    SendDlgItemMessageA(page, IDC_WIZ_TITLE, WM_SETFONT, (WPARAM)ws->titleFont.Get(), FALSE);
    SetDlgItemTextA(page, IDC_WIZ_TITLE, PageTitle(ws->page));
    CSTask& task = ws->data->task;
    CSTRecRule* rule = RuleOf(ws);
    switch (ws->page)
    {
        case IDD_WIZ_TARGET:
            SendDlgItemMessageA(page, IDC_WIZ_TARGET, EM_LIMITTEXT, ST_TEXT_SIZE - 1, 0);
            SetDlgItemTextA(page, IDC_WIZ_TARGET, task.GetTarget());
            UpdateTargetNext(page);
            return;
        case IDD_WIZ_TYPE: {
            int button = IDC_WIZ_ONCE;
            if (rule->type == ST_TYPE_PERIODIC && rule->subtype >= 1 && rule->subtype <= 6)
                button = IDC_WIZ_ONCE + (int)rule->subtype;
            else if (rule->type == ST_TYPE_EVENT)
                button = IDC_WIZ_ONCE + 7;
            CheckRadioButton(page, IDC_WIZ_ONCE, IDC_WIZ_ONCE + 7, button);
            return;
        }
        case IDD_WIZ_DATE:
            SendDlgItemMessageA(page, IDC_WIZ_DATE, DTM_SETFORMATA, 0, (LPARAM)WIZARD_DATE_FORMAT);
            SendDlgItemMessageA(page, IDC_WIZ_TIME, DTM_SETFORMATA, 0, (LPARAM)PICKER_TIME_FORMAT);
            SetPickerTime(GetDlgItem(page, IDC_WIZ_DATE), rule->time);
            SetPickerTime(GetDlgItem(page, IDC_WIZ_TIME), rule->time);
            return;
        case IDD_WIZ_CONFIRM: {
            char text[600];
            Summary(ws, text, sizeof(text));
            SetDlgItemTextA(page, IDC_WIZ_SUMMARY, text);
            if (!task.GetName()[0] || strcmp(task.GetName(), ws->proposedName) == 0)
            {
                task.SetName(FileNameOf(task.GetTarget()));
                StrCopy(ws->proposedName, task.GetName());
            }
            SendDlgItemMessageA(page, IDC_WIZ_NAME, EM_LIMITTEXT, ST_TEXT_SIZE - 1, 0);
            SetDlgItemTextA(page, IDC_WIZ_NAME, task.GetName());
            CheckDlgButton(page, IDC_WIZ_ADVANCED, ws->data->openAdvanced ? BST_CHECKED : BST_UNCHECKED);
            SetDlgItemTextA(FrameOf(page), IDC_WIZ_NEXT, "Fi&nish");
            return;
        }
    }
    if (!IsPeriodPage(ws->page))
        return;
    SetUpInterval(GetDlgItem(page, IDC_WIZ_SPIN), rule->data);
    if (ws->page == IDD_WIZ_MINUTES || ws->page == IDD_WIZ_HOURS)
    {
        HWND between = GetDlgItem(page, IDC_WIZ_BETWEEN), andPicker = GetDlgItem(page, IDC_WIZ_AND);
        SendMessageA(between, DTM_SETFORMATA, 0, (LPARAM)PICKER_TIME_FORMAT);
        SendMessageA(andPicker, DTM_SETFORMATA, 0, (LPARAM)PICKER_TIME_FORMAT);
        SetPickerTime(between, rule->exceptto);
        SetPickerTime(andPicker, rule->exceptfrom);
        bool limited = rule->exceptfrom.CompareDate(rule->exceptto) != 0 ||
                       rule->exceptfrom.CompareTime(rule->exceptto) != 0;
        CheckDlgButton(page, IDC_WIZ_LIMIT, limited ? BST_CHECKED : BST_UNCHECKED);
        EnableWindowControls(page, limited);
    }
    else if (ws->page == IDD_WIZ_DAYS || ws->page == IDD_WIZ_MONTHS)
    {
        int first = ws->page == IDD_WIZ_DAYS ? IDC_WIZ_MONDAY : IDC_WIZ_JANUARY;
        int count = ws->page == IDD_WIZ_DAYS ? 7 : 12;
        for (int i = 0; i < count; i++)
            CheckDlgButton(page, first + i, (rule->except & (1u << i)) ? BST_UNCHECKED : BST_CHECKED);
    }
}

void Page_Store(HWND page, WizardState* ws)
{
    CSTask& task = ws->data->task;
    CSTRecRule* rule = RuleOf(ws);
    switch (ws->page)
    {
        case IDD_WIZ_TARGET: {
            char target[ST_TEXT_SIZE];
            GetDlgItemTextA(page, IDC_WIZ_TARGET, target, sizeof(target));
            task.SetTarget(target);
            EnableWindow(GetDlgItem(FrameOf(page), IDC_WIZ_NEXT), TRUE);
            SendMessageA(FrameOf(page), DM_SETDEFID, IDC_WIZ_NEXT, 0);
            return;
        }
        case IDD_WIZ_TYPE:
            for (int i = 0; i < 8; i++)
            {
                if (IsDlgButtonChecked(page, IDC_WIZ_ONCE + i) != BST_CHECKED)
                    continue;
                rule->type = i == 0 ? ST_TYPE_DATE : i == 7 ? ST_TYPE_EVENT : ST_TYPE_PERIODIC;
                rule->subtype = i == 0 || i == 7 ? 1 : (DWORD)i;
            }
            return;
        case IDD_WIZ_DATE:
            rule->time = CombinePickers(GetDlgItem(page, IDC_WIZ_DATE), GetDlgItem(page, IDC_WIZ_TIME));
            return;
        case IDD_WIZ_CONFIRM: {
            SetDlgItemTextA(FrameOf(page), IDC_WIZ_NEXT, "&Next >");
            char name[ST_TEXT_SIZE];
            GetDlgItemTextA(page, IDC_WIZ_NAME, name, sizeof(name));
            task.SetName(name);
            ws->data->openAdvanced = IsDlgButtonChecked(page, IDC_WIZ_ADVANCED) == BST_CHECKED;
            return;
        }
    }
    if (!IsPeriodPage(ws->page))
        return;
    DWORD value;
    if (ReadInterval(GetDlgItem(page, IDC_WIZ_EVERY), &value))
        rule->data = value;
    if (ws->page == IDD_WIZ_MINUTES || ws->page == IDD_WIZ_HOURS)
    {
        if (IsDlgButtonChecked(page, IDC_WIZ_LIMIT) == BST_CHECKED)
        {
            CTime from, to;
            GetPickerTime(GetDlgItem(page, IDC_WIZ_BETWEEN), to);
            GetPickerTime(GetDlgItem(page, IDC_WIZ_AND), from);
            rule->SetExceptTime(from, to);
        }
        else
        {
            CTime now;
            rule->SetExceptTime(now, now);
        }
    }
    else if (ws->page == IDD_WIZ_DAYS || ws->page == IDD_WIZ_MONTHS)
    {
        int first = ws->page == IDD_WIZ_DAYS ? IDC_WIZ_MONDAY : IDC_WIZ_JANUARY;
        int count = ws->page == IDD_WIZ_DAYS ? 7 : 12;
        DWORD except = 0;
        for (int i = 0; i < count; i++)
            if (IsDlgButtonChecked(page, first + i) != BST_CHECKED)
                except |= 1u << i;
        rule->except = except;
    }
}

void Page_OnBrowse(HWND page, WizardState* ws)
{
    char current[ST_TEXT_SIZE], chosen[MAX_PATH];
    GetDlgItemTextA(page, IDC_WIZ_TARGET, current, sizeof(current));
    if (!PickProgram(page, ws->data->appList, current, chosen, sizeof(chosen)))
        return;
    ws->data->task.SetTarget(chosen);
    SetDlgItemTextA(page, IDC_WIZ_TARGET, ws->data->task.GetTarget());
}

BOOL Page_OnInitDialog(HWND hwnd, HWND, LPARAM lParam)
{
    WizardState* ws = (WizardState*)lParam;
    SetDialogState(hwnd, ws);
    Page_Init(hwnd, ws);
    return TRUE;
}

void Page_OnCommand(HWND hwnd, int id, HWND, UINT code)
{
    WizardState* ws = DialogState<WizardState>(hwnd);
    if (!ws)
        return;
    if (id == IDC_WIZ_TARGET && code == EN_CHANGE && ws->page == IDD_WIZ_TARGET)
        UpdateTargetNext(hwnd);
    else if (id == IDC_WIZ_BROWSE && ws->page == IDD_WIZ_TARGET)
        Page_OnBrowse(hwnd, ws);
    else if (id == IDC_WIZ_LIMIT && code == BN_CLICKED)
        EnableWindowControls(hwnd, IsDlgButtonChecked(hwnd, IDC_WIZ_LIMIT) == BST_CHECKED);
    else if (id == IDC_WIZ_EVERY && code == EN_KILLFOCUS && IsPeriodPage(ws->page))
        FixInterval(GetDlgItem(hwnd, IDC_WIZ_EVERY), GetDlgItem(hwnd, IDC_WIZ_SPIN), RuleOf(ws)->data);
}

void Page_OnDestroy(HWND hwnd)
{
    WizardState* ws = DialogState<WizardState>(hwnd);
    if (ws)
        Page_Store(hwnd, ws);
    SetDialogState(hwnd, nullptr);
}

INT_PTR CALLBACK PageProc(HWND hwnd, UINT uMsg, WPARAM wParam, LPARAM lParam)
{
    switch (uMsg)
    {
        HANDLE_DLGMSG(hwnd, WM_INITDIALOG, Page_OnInitDialog);
        HANDLE_DLGMSG(hwnd, WM_COMMAND, Page_OnCommand);
        HANDLE_DLGMSG(hwnd, WM_DESTROY, Page_OnDestroy);
    }
    return FALSE;
}

// --- Frame ---------------------------------------------------------------------------

void LeavePage(WizardState* ws)
{
    if (ws->hPage)
        DestroyWindow(ws->hPage);
    ws->hPage = nullptr;
}

void EnterPage(WizardState* ws, int page)
{
    ws->page = page;
    ws->hPage = CreateDialogParamA(g_hInst, MAKEINTRESOURCEA(page), ws->hwnd, PageProc, (LPARAM)ws);
    if (!ws->hPage)
        return;
    ShowPageAt(ws->hwnd, IDC_WIZ_PAGEAREA, ws->hPage);
    EnableWindow(GetDlgItem(ws->hwnd, IDC_WIZ_BACK), page != IDD_WIZ_TARGET);
    FocusFirstControl(ws->hPage);
}

void Frame_OnNext(WizardState* ws)
{
    int from = ws->page;
    LeavePage(ws);
    const CSTRecRule* rule = RuleOf(ws);
    int to = IDD_WIZ_TYPE;
    if (from == IDD_WIZ_TYPE)
        to = rule->type == ST_TYPE_DATE    ? IDD_WIZ_DATE
             : rule->type == ST_TYPE_EVENT ? IDD_WIZ_CONFIRM
                                           : PeriodPage(rule);
    else if (IsPeriodPage(from))
        to = IDD_WIZ_DATE;
    else if (from == IDD_WIZ_DATE)
        to = IDD_WIZ_CONFIRM;
    else if (from == IDD_WIZ_CONFIRM)
    {
        // A text with both quote characters could not be read back from the
        // file: back to the page that holds it.
        const char* field = nullptr;
        if (!ws->data->task.IsStorable(&field))
        {
            MessageBoxA(ws->hwnd, TAG_VALUE_QUOTES_TEXT, "New Scheduled Task Wizard", MB_OK | MB_ICONWARNING);
            EnterPage(ws, field == ws->data->task.GetName() ? IDD_WIZ_CONFIRM : IDD_WIZ_TARGET);
            return;
        }
        EndDialog(ws->hwnd, 1);
        return;
    }
    EnterPage(ws, to);
}

void Frame_OnBack(WizardState* ws)
{
    int from = ws->page;
    if (from == IDD_WIZ_TARGET)
        return;
    LeavePage(ws);
    const CSTRecRule* rule = RuleOf(ws);
    int to = IDD_WIZ_TYPE;
    if (from == IDD_WIZ_TYPE)
        to = IDD_WIZ_TARGET;
    else if (from == IDD_WIZ_DATE)
        to = rule->type == ST_TYPE_PERIODIC ? PeriodPage(rule) : IDD_WIZ_TYPE;
    else if (from == IDD_WIZ_CONFIRM)
        to = rule->type == ST_TYPE_EVENT ? IDD_WIZ_TYPE : IDD_WIZ_DATE;
    EnterPage(ws, to);
}

BOOL Frame_OnInitDialog(HWND hwnd, HWND, LPARAM lParam)
{
    WizardState* ws = (WizardState*)lParam;
    ws->hwnd = hwnd;
    SetDialogState(hwnd, ws);
    CenterWindow(hwnd);
    CSTask& task = ws->data->task;
    task.New(nullptr, 0, 0);
    CSTRecRule* rule = task.AddRecurrenceRule();
    rule->type = ST_TYPE_DATE;
    rule->subtype = 1;
    rule->data = 1;
    ws->titleFont.Reset(CreateBoldFont());
    EnterPage(ws, IDD_WIZ_TARGET);
    return FALSE; // the focus is on the page
}

void Frame_OnCommand(HWND hwnd, int id, HWND, UINT)
{
    WizardState* ws = DialogState<WizardState>(hwnd);
    switch (id)
    {
        case IDC_WIZ_NEXT:
            Frame_OnNext(ws);
            break;
        case IDC_WIZ_BACK:
            Frame_OnBack(ws);
            break;
        case IDCANCEL:
            LeavePage(ws);
            EndDialog(hwnd, 2);
            break;
    }
}

// The close box cancels: a half-made task is never inserted by closing.
void Frame_OnClose(HWND hwnd)
{
    Frame_OnCommand(hwnd, IDCANCEL, nullptr, 0);
}

INT_PTR CALLBACK WizardDlgProc(HWND hwnd, UINT uMsg, WPARAM wParam, LPARAM lParam)
{
    switch (uMsg)
    {
        HANDLE_DLGMSG(hwnd, WM_INITDIALOG, Frame_OnInitDialog);
        HANDLE_DLGMSG(hwnd, WM_COMMAND, Frame_OnCommand);
        HANDLE_DLGMSG(hwnd, WM_CLOSE, Frame_OnClose);
    }
    return FALSE;
}

} // namespace

INT_PTR RunNewTaskWizard(tagWIZARD_DATA* data)
{
    WizardState ws;
    ws.data = data;
    ws.hwnd = nullptr;
    ws.page = 0;
    ws.hPage = nullptr;
    ws.proposedName[0] = '\0';
    return DialogBoxParamA(data->hInstance, MAKEINTRESOURCEA(IDD_WIZARD), data->hwndOwner, WizardDlgProc,
                           (LPARAM)&ws);
}

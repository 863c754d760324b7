#include <windows.h>
#include <windowsx.h>
#include <commctrl.h>
#include <stdlib.h>

#include "logfileDlg.h"
#include "winholders.h"
#include "winstate.h"
#include "logfileDlgRes.h"
#include "LogFile.h"
#include "winutils.h"
#include "dtmutils_win.h"

#include "strutils.h"

namespace
{
const unsigned kMinSize = 1;
const unsigned kMaxSize = 9999;

// --- Log File Viewer -----------------------------------------------------------

struct LogViewState
{
    CLogFile* log;
    HWND* slot;
    HIMAGELIST images;
    HINSTANCE instance;
};

void SetCell(HWND list, int row, int column, const char* text)
{
    LVITEMA item;
    ZeroMemory(&item, sizeof(item));
    item.iSubItem = column;
    item.pszText = (LPSTR)text;
    SendMessageA(list, LVM_SETITEMTEXTA, (WPARAM)row, (LPARAM)&item);
}

void LogViewDlg_Fill(HWND hwnd)
{
    LogViewState* state = DialogState<LogViewState>(hwnd);
    HWND list = GetDlgItem(hwnd, IDC_LOGVIEW_LIST);
    if (!state || !list)
        return;
    SendMessageA(list, WM_SETREDRAW, FALSE, 0);
    ListView_DeleteAllItems(list);
    if (state->log->GetSize() == 0)
    {
        InsertListRow(list, 0, "No log is being kept.", CLogFile::LOG_INFO);
    }
    else
    {
        for (unsigned i = 0; i < state->log->GetLength(); i++)
        {
            CLogFile::CLogItem* entry = state->log->GetLogItem(i);
            if (!entry)
                break;
            char when[160];
            FormatLogTime(entry->GetDateTime(), when, sizeof(when));
            int severity = entry->GetSeverity();
            // A severity from the file that has no icon shows none.
            int image = severity >= CLogFile::LOG_INFO && severity <= CLogFile::LOG_CRITICAL ? severity : -1;
            int row = InsertListRow(list, (int)i, when, image);
            if (row < 0)
                continue;
            SetCell(list, row, 1, entry->GetName());
            SetCell(list, row, 2, entry->GetDescription());
        }
    }
    SendMessageA(list, WM_SETREDRAW, TRUE, 0);
    InvalidateRect(list, NULL, TRUE);
}

BOOL LogViewDlg_OnInit(HWND hwnd, HWND, LPARAM lParam)
{
    LogViewState* state = (LogViewState*)lParam;
    SetDialogState(hwnd, state);
    ForceTaskbarButton(hwnd);
    CenterWindow(hwnd);

    static const ListViewColumn columns[] = {{"Date and Time", 120}, {"Source", 140}, {"Event", 204}};
    state->images = SetUpListView(GetDlgItem(hwnd, IDC_LOGVIEW_LIST), columns, 3, 5, 1);
    if (state->images)
    {
        static const char* const icons[] = {LOG_ICON_INFO, LOG_ICON_WARNING, LOG_ICON_MINOR, LOG_ICON_MAJOR,
                                            LOG_ICON_CRITICAL};
        for (const char* name : icons)
        {
            CIcon icon((HICON)LoadImageA(state->instance, name, IMAGE_ICON, 16, 16, 0));
            // A missing icon still takes its place, so severity = image index.
            ImageList_AddIcon(state->images,
                              icon.Get() ? icon.Get() : LoadIconA(NULL, (LPCSTR)IDI_APPLICATION));
        }
    }
    LogViewDlg_Fill(hwnd);
    return TRUE;
}

void LogViewDlg_OnCommand(HWND hwnd, int id, HWND, UINT)
{
    LogViewState* state = DialogState<LogViewState>(hwnd);
    switch (id)
    {
        case IDC_LOGVIEW_FLUSH:
            if (state)
                state->log->Flush();
            LogViewDlg_Fill(hwnd);
            break;
        case IDC_LOGVIEW_REFRESH:
            LogViewDlg_Fill(hwnd);
            break;
        case IDC_LOGVIEW_CLOSE:
            DestroyWindow(hwnd);
            break;
    }
}

void LogViewDlg_OnClose(HWND hwnd)
{
    DestroyWindow(hwnd);
}

void LogViewDlg_OnDestroy(HWND hwnd)
{
    LogViewState* state = DialogState<LogViewState>(hwnd);
    if (!state)
        return;
    ReleaseListDialog(hwnd, IDC_LOGVIEW_LIST, state->images, state->slot);
    delete state;
}

INT_PTR CALLBACK LogViewDlgProc(HWND hwnd, UINT uMsg, WPARAM wParam, LPARAM lParam)
{
    switch (uMsg)
    {
        // WM_INITDIALOG's result is the return value itself.
        case WM_INITDIALOG:
            return HANDLE_WM_INITDIALOG(hwnd, wParam, lParam, LogViewDlg_OnInit);
            HANDLE_DLGMSG(hwnd, WM_COMMAND, LogViewDlg_OnCommand);
            HANDLE_DLGMSG(hwnd, WM_CLOSE, LogViewDlg_OnClose);
            HANDLE_DLGMSG(hwnd, WM_DESTROY, LogViewDlg_OnDestroy);
    }
    return FALSE;
}

// --- Set Log File Size -----------------------------------------------------------

struct SetSizeState
{
    unsigned current;
};

// The edit box's number clamped to the range, or the current size when the
// text is no number.
unsigned ReadSize(HWND hwnd, unsigned current)
{
    char text[32];
    GetDlgItemTextA(hwnd, IDC_SETLOGSIZE_EDIT, text, sizeof(text));
    char* end = NULL;
    long long value = strtoll(text, &end, 10);
    while (end && (*end == ' ' || *end == '\t'))
        end++;
    if (end == text || !end || *end != '\0')
        return current;
    if (value < (long long)kMinSize)
        return kMinSize;
    if (value > (long long)kMaxSize)
        return kMaxSize;
    return (unsigned)value;
}

void SetSizeDlg_ShowSize(HWND hwnd, unsigned size)
{
    HWND updown = GetDlgItem(hwnd, IDC_SETLOGSIZE_UPDOWN);
    // One below first: an unchanged position would not rewrite the edit box.
    SendMessageA(updown, UDM_SETPOS32, 0, (LPARAM)(size - 1));
    SendMessageA(updown, UDM_SETPOS32, 0, (LPARAM)size);
    SetDlgItemInt(hwnd, IDC_SETLOGSIZE_EDIT, size, FALSE);
}

BOOL SetSizeDlg_OnInit(HWND hwnd, HWND, LPARAM lParam)
{
    SetSizeState* state = (SetSizeState*)lParam;
    SetDialogState(hwnd, state);
    CenterWindow(hwnd);

    char text[128];
    StrFormat(text, sizeof(text), "The current maximum size of the log file is %d entries.",
              (int)state->current);
    SetDlgItemTextA(hwnd, IDC_SETLOGSIZE_CURRENT, text);

    HWND edit = GetDlgItem(hwnd, IDC_SETLOGSIZE_EDIT);
    HWND updown = CreateUpDownControl(WS_CHILD | WS_BORDER | WS_VISIBLE | UDS_WRAP | UDS_SETBUDDYINT |
                                          UDS_ALIGNRIGHT | UDS_ARROWKEYS | UDS_NOTHOUSANDS,
                                      0, 0, 0, 0, hwnd, IDC_SETLOGSIZE_UPDOWN,
                                      (HINSTANCE)GetWindowLongPtrA(hwnd, GWLP_HINSTANCE), edit, (int)kMaxSize,
                                      (int)kMinSize, (int)state->current);
    if (!updown)
    {
        MessageBoxA(hwnd, "An error has occured while creating the up-down control.", NULL,
                    MB_OK | MB_ICONWARNING);
        EndDialog(hwnd, 0);
        return TRUE;
    }
    // A current size outside the range still shows as it is.
    SetDlgItemInt(hwnd, IDC_SETLOGSIZE_EDIT, state->current, FALSE);
    return TRUE;
}

void SetSizeDlg_OnCommand(HWND hwnd, int id, HWND, UINT code)
{
    SetSizeState* state = DialogState<SetSizeState>(hwnd);
    if (!state)
        return;
    switch (id)
    {
        case IDC_SETLOGSIZE_EDIT:
            if (code == EN_KILLFOCUS)
                SetSizeDlg_ShowSize(hwnd, ReadSize(hwnd, state->current));
            break;
        case IDOK:
            // Enter does not take the focus from the edit box: the text is
            // checked here as well.
            EndDialog(hwnd, (INT_PTR)ReadSize(hwnd, state->current));
            break;
        case IDCANCEL:
            EndDialog(hwnd, 0);
            break;
    }
}

INT_PTR CALLBACK SetSizeDlgProc(HWND hwnd, UINT uMsg, WPARAM wParam, LPARAM lParam)
{
    switch (uMsg)
    {
        // WM_INITDIALOG's result is the return value itself.
        case WM_INITDIALOG:
            return HANDLE_WM_INITDIALOG(hwnd, wParam, lParam, SetSizeDlg_OnInit);
            HANDLE_DLGMSG(hwnd, WM_COMMAND, SetSizeDlg_OnCommand);
    }
    return FALSE;
}
} // namespace

void FormatLogTime(const SYSTEMTIME* time, char* buf, size_t size)
{
    if (!buf || size == 0)
        return;
    buf[0] = '\0';
    if (!time || time->wYear == 0)
        return;
    char date[256];
    char clock[256];
    FormatLocaleDateTime(time, date, sizeof(date), clock, sizeof(clock));
    StrFormat(buf, size, "%s %s", date, clock);
}

HWND OpenLogViewer(HINSTANCE instance, CLogFile* log, HWND* slot)
{
    if (HWND open = RaiseOpenDialog(slot))
        return open;
    if (!log)
        return NULL;
    LogViewState* state = new LogViewState{log, slot, NULL, instance};
    return OpenModelessWithState(instance, IDD_LOGVIEW, LogViewDlgProc, state, slot);
}

unsigned ShowSetLogSizeDialog(HINSTANCE instance, HWND owner, unsigned current)
{
    SetSizeState state = {current};
    INT_PTR result =
        DialogBoxParamA(instance, MAKEINTRESOURCEA(IDD_SETLOGSIZE), owner, SetSizeDlgProc, (LPARAM)&state);
    return result > 0 ? (unsigned)result : 0;
}

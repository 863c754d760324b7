#include <windows.h>
#include <windowsx.h>
#include <commctrl.h>
#include <stdlib.h>
#include <new>
#include <vector>

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

// The viewer shows the log as it was when it was filled (at opening, Refresh
// and Flush): a copy of the entries, whose texts the list asks for only for
// the rows it paints, so that a full log opens as fast as a short one.
struct LogViewState
{
    CLogFile* log;
    HWND* slot;
    HIMAGELIST images;
    HINSTANCE instance;
    std::vector<CLogFile::CLogItem> rows;
    bool keeping;
};

void LogViewDlg_Fill(HWND hwnd)
{
    LogViewState* state = DialogState<LogViewState>(hwnd);
    HWND list = GetDlgItem(hwnd, IDC_LOGVIEW_LIST);
    if (!state || !list)
        return;
    state->rows.clear();
    state->keeping = state->log->GetSize() != 0;
    if (state->keeping)
    {
        state->rows.reserve(state->log->GetLength());
        state->log->ForEachEntry([state](const CLogFile::CLogItem& item) { state->rows.push_back(item); });
    }
    // Without a log the one row says so.
    ListView_SetItemCountEx(list, state->keeping ? (int)state->rows.size() : 1, 0);
    InvalidateRect(list, NULL, TRUE);
}

// The texts and the picture of one row, as the list paints it.
void LogViewDlg_GetRow(LogViewState* state, NMLVDISPINFOA* info)
{
    LVITEMA& item = info->item;
    if (!state->keeping)
    {
        if ((item.mask & LVIF_TEXT) && item.cchTextMax > 0)
            StrCopy(item.pszText, (size_t)item.cchTextMax, item.iSubItem == 0 ? "No log is being kept." : "");
        if (item.mask & LVIF_IMAGE)
            item.iImage = CLogFile::LOG_INFO;
        return;
    }
    if (item.iItem < 0 || (size_t)item.iItem >= state->rows.size())
        return;
    const CLogFile::CLogItem& entry = state->rows[(size_t)item.iItem];
    if (item.mask & LVIF_IMAGE)
    {
        // A severity from the file that has no icon shows none.
        int severity = entry.GetSeverity();
        item.iImage = severity >= CLogFile::LOG_INFO && severity <= CLogFile::LOG_CRITICAL ? severity : -1;
    }
    if (!(item.mask & LVIF_TEXT) || item.cchTextMax <= 0)
        return;
    size_t size = (size_t)item.cchTextMax;
    switch (item.iSubItem)
    {
        case 0:
            FormatLogTime(entry.GetDateTime(), item.pszText, size);
            break;
        case 1:
            StrCopy(item.pszText, size, entry.GetName());
            break;
        case 2:
            StrCopy(item.pszText, size, entry.GetDescription());
            break;
        default:
            item.pszText[0] = '\0';
    }
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
        case WM_NOTIFY: {
            NMHDR* hdr = (NMHDR*)lParam;
            LogViewState* state = DialogState<LogViewState>(hwnd);
            if (state && hdr->idFrom == IDC_LOGVIEW_LIST && hdr->code == LVN_GETDISPINFOA)
                LogViewDlg_GetRow(state, (NMLVDISPINFOA*)lParam);
            return FALSE;
        }
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
    LogViewState* state = new (std::nothrow) LogViewState{log, slot, NULL, instance, {}, false};
    return OpenModelessWithState(instance, IDD_LOGVIEW, LogViewDlgProc, state, slot);
}

unsigned ShowSetLogSizeDialog(HINSTANCE instance, HWND owner, unsigned current)
{
    SetSizeState state = {current};
    INT_PTR result =
        DialogBoxParamA(instance, MAKEINTRESOURCEA(IDD_SETLOGSIZE), owner, SetSizeDlgProc, (LPARAM)&state);
    return result > 0 ? (unsigned)result : 0;
}

#include "winutils.h"
#include "winstate.h"

#include <new>
#include <string.h>
#include "strutils.h"
#include "dirutils_win.h"
#include "thmutils.h"

namespace
{
bool GetVersionInfo(OSVERSIONINFOA* info)
{
    ZeroMemory(info, sizeof(*info));
    info->dwOSVersionInfoSize = sizeof(*info);
    return GetVersionExA(info) != 0;
}
} // namespace

BOOL IsWindowsNT()
{
    OSVERSIONINFOA info;
    return GetVersionInfo(&info) && info.dwPlatformId == VER_PLATFORM_WIN32_NT;
}

BOOL IsWindows2000OrLater()
{
    OSVERSIONINFOA info;
    return GetVersionInfo(&info) && info.dwPlatformId == VER_PLATFORM_WIN32_NT && info.dwMajorVersion > 4;
}

BOOL IsWindowsXP()
{
    OSVERSIONINFOA info;
    return GetVersionInfo(&info) && info.dwPlatformId == VER_PLATFORM_WIN32_NT && info.dwMajorVersion > 4 &&
           info.dwMinorVersion != 0;
}

BOOL IsWindows98OrLater()
{
    OSVERSIONINFOA info;
    if (!GetVersionInfo(&info) || info.dwPlatformId != VER_PLATFORM_WIN32_WINDOWS)
        return FALSE;
    return info.dwMajorVersion > 4 || (info.dwMajorVersion == 4 && info.dwMinorVersion != 0);
}

int EnablePrivilege(const char* name)
{
    HANDLE token;
    if (!OpenProcessToken(GetCurrentProcess(), TOKEN_ADJUST_PRIVILEGES | TOKEN_QUERY, &token))
        return 0;
    TOKEN_PRIVILEGES privileges;
    ZeroMemory(&privileges, sizeof(privileges));
    privileges.PrivilegeCount = 1;
    privileges.Privileges[0].Attributes = SE_PRIVILEGE_ENABLED;
    int ok = LookupPrivilegeValueA(NULL, name, &privileges.Privileges[0].Luid) &&
             AdjustTokenPrivileges(token, FALSE, &privileges, sizeof(privileges), NULL, NULL) &&
             GetLastError() == ERROR_SUCCESS;
    CloseHandle(token);
    return ok ? 1 : 0;
}

bool WindowTitleMatches(HWND hwnd, const char* pattern)
{
    if (!pattern || !pattern[0] || GetParent(hwnd) || !IsWindowVisible(hwnd))
        return false;
    char title[MAX_PATH];
    return GetWindowTextA(hwnd, title, sizeof(title)) > 0 && TitleMatches(title, pattern);
}

bool TitleMatches(const char* title, const char* pattern)
{
    if (!title || !pattern || !pattern[0])
        return false;
    char lower[MAX_PATH];
    StrCopy(lower, sizeof(lower), title);
    CharLowerBuffA(lower, (DWORD)strlen(lower));
    return StrFind(lower, pattern, 0) >= 0;
}

HANDLE HoldSuiteInUseMutex()
{
    return CreateMutexA(NULL, FALSE, SUITE_IN_USE_MUTEX_NAME);
}

BOOL RegisterMainWindowClass(HINSTANCE instance, const char* name, WNDPROC proc, HICON icon, HICON smallIcon,
                             HBRUSH background)
{
    WNDCLASSEXA wc = {};
    wc.cbSize = sizeof(wc);
    wc.style = CS_DBLCLKS;
    wc.lpfnWndProc = proc;
    wc.hInstance = instance;
    wc.hIcon = icon;
    wc.hIconSm = smallIcon;
    wc.hCursor = LoadCursorA(NULL, (LPCSTR)IDC_ARROW);
    wc.hbrBackground = background;
    wc.lpszClassName = name;
    return RegisterClassExA(&wc) != 0;
}

int CenterWindow(HWND hwnd)
{
    if (!hwnd)
        return 0;

    HWND parent = GetParent(hwnd);
    if (!parent)
        parent = GetDesktopWindow();

    RECT rcParent, rcWindow;
    GetWindowRect(parent, &rcParent);
    GetWindowRect(hwnd, &rcWindow);
    POINT pt;
    pt.x = rcParent.left + (rcParent.right - rcParent.left) / 2 - (rcWindow.right - rcWindow.left) / 2;
    pt.y = rcParent.top + (rcParent.bottom - rcParent.top) / 2 - (rcWindow.bottom - rcWindow.top) / 2;

    // A child window is placed in its parent's client coordinates; a
    // top-level (owned) window in screen coordinates.
    if (GetWindowLongPtrA(hwnd, GWL_STYLE) & WS_CHILD)
        ScreenToClient(parent, &pt);

    SetWindowPos(hwnd, NULL, pt.x, pt.y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    return 1;
}

void ForceTaskbarButton(HWND hwnd)
{
    LONG_PTR exStyle = GetWindowLongPtrA(hwnd, GWL_EXSTYLE);
    SetWindowLongPtrA(hwnd, GWL_EXSTYLE, exStyle | WS_EX_APPWINDOW);
}

void BringNoticeForward(HWND hwnd)
{
    ForceTaskbarButton(hwnd);
    CenterWindow(hwnd);
    BringWindowToTop(hwnd);
    SetForegroundWindow(hwnd);
    SetFocus(hwnd);
}

void ReleaseListViewImages(HWND listView, HIMAGELIST images)
{
    if (listView)
        ListView_SetImageList(listView, NULL, LVSIL_SMALL);
    if (images)
    {
        ImageList_RemoveAll(images);
        ImageList_Destroy(images);
    }
}

HWND RaiseOpenDialog(const HWND* slot)
{
    if (!slot || !*slot || !IsWindow(*slot))
        return NULL;
    BringWindowToTop(*slot);
    return *slot;
}

HWND CreateModelessDialog(HINSTANCE instance, int id, DLGPROC proc, LPARAM param, HWND* slot)
{
    HWND hwnd = CreateDialogParamA(instance, MAKEINTRESOURCEA(id), GetDesktopWindow(), proc, param);
    if (slot)
        *slot = hwnd;
    if (hwnd && !IsWindowVisible(hwnd))
        ShowWindow(hwnd, SW_SHOW);
    return hwnd;
}

void ForgetDialog(HWND* slot, HWND hwnd)
{
    if (slot && *slot == hwnd)
        *slot = NULL;
}

void ReleaseListDialog(HWND dialog, int listId, HIMAGELIST images, HWND* slot)
{
    SetDialogState(dialog, nullptr);
    ReleaseListViewImages(GetDlgItem(dialog, listId), images);
    ForgetDialog(slot, dialog);
}

void AddListViewColumns(HWND listView, const ListViewColumn* columns, int count)
{
    for (int i = 0; i < count; i++)
    {
        LVCOLUMNA column;
        ZeroMemory(&column, sizeof(column));
        column.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_SUBITEM;
        column.cx = columns[i].width;
        column.iSubItem = i;
        column.pszText = (LPSTR)columns[i].title;
        ListView_InsertColumn(listView, i, &column);
    }
}

HIMAGELIST SetUpListView(HWND listView, const ListViewColumn* columns, int count, int initialImages, int grow)
{
    ListView_SetExtendedListViewStyleEx(listView, LVS_EX_FULLROWSELECT, LVS_EX_FULLROWSELECT);
    AddListViewColumns(listView, columns, count);
    HIMAGELIST images = ImageList_Create(16, 16, ILC_COLOR24 | ILC_MASK, initialImages, grow);
    if (images)
        ListView_SetImageList(listView, images, LVSIL_SMALL);
    return images;
}

int InsertListRow(HWND listView, int row, const char* text, int image)
{
    LVITEMA item;
    ZeroMemory(&item, sizeof(item));
    item.mask = LVIF_TEXT | LVIF_IMAGE;
    item.iItem = row;
    item.pszText = (LPSTR)text;
    item.iImage = image;
    return ListView_InsertItem(listView, &item);
}

void ReselectListRow(HWND listView, int row)
{
    if (row >= 0)
        ListView_SetItemState(listView, row, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
}

typedef HWND(WINAPI* PFN_HTMLHELPA)(HWND, LPCSTR, UINT, DWORD_PTR);

HWND ShowHelpTopic(const char* topic)
{
    char path[MAX_PATH];
    if (!topic || !GetMyDir(path, sizeof(path), topic))
        return nullptr;
    static HMODULE help = LoadLibraryA("hhctrl.ocx");
    PFN_HTMLHELPA htmlHelp = help ? (PFN_HTMLHELPA)(void*)GetProcAddress(help, "HtmlHelpA") : nullptr;
    return htmlHelp ? htmlHelp(GetDesktopWindow(), path, 0 /* HH_DISPLAY_TOPIC */, 0) : nullptr;
}

static INT_PTR CALLBACK AboutDlgProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM)
{
    switch (msg)
    {
        case WM_INITDIALOG:
            CenterWindow(hwnd);
            return TRUE;
        case WM_COMMAND:
            if (LOWORD(wParam) == IDCANCEL || LOWORD(wParam) == IDOK)
                EndDialog(hwnd, IDCANCEL);
            return TRUE;
        case WM_CLOSE:
            EndDialog(hwnd, IDCANCEL);
            return TRUE;
    }
    return FALSE;
}

void ShowAboutBox(HWND owner, HINSTANCE instance, int dialogId)
{
    DialogBoxParamA(instance, MAKEINTRESOURCEA(dialogId), owner, AboutDlgProc, 0);
}

RECT LayoutBars(HWND hwnd, HWND toolbar, bool showToolbar, HWND status, bool showStatus)
{
    RECT rc;
    GetClientRect(hwnd, &rc);
    if (toolbar)
    {
        ShowWindow(toolbar, showToolbar ? SW_SHOW : SW_HIDE);
        if (showToolbar)
        {
            SendMessageA(toolbar, TB_AUTOSIZE, 0, 0);
            RECT tr;
            GetWindowRect(toolbar, &tr);
            int height = tr.bottom - tr.top;
            // Wrapped onto more rows, the toolbar's own size counts the
            // separators at the breaks as rows: its last button tells.
            int count = (int)SendMessageA(toolbar, TB_BUTTONCOUNT, 0, 0);
            RECT last;
            if ((GetWindowLongA(toolbar, GWL_STYLE) & TBSTYLE_WRAPABLE) && count > 0 &&
                SendMessageA(toolbar, TB_GETITEMRECT, count - 1, (LPARAM)&last) && last.bottom + 4 < height)
            {
                height = last.bottom + 4;
                SetWindowPos(toolbar, nullptr, 0, 0, rc.right, height, SWP_NOZORDER | SWP_NOACTIVATE);
            }
            rc.top += height;
        }
    }
    if (status)
    {
        ShowWindow(status, showStatus ? SW_SHOW : SW_HIDE);
        if (showStatus)
        {
            SendMessageA(status, WM_SIZE, 0, 0);
            RECT sr;
            GetWindowRect(status, &sr);
            rc.bottom -= sr.bottom - sr.top;
        }
    }
    if (rc.bottom < rc.top)
        rc.bottom = rc.top;
    return rc;
}

void ShowPageAt(HWND frame, int areaId, HWND page)
{
    RECT area;
    GetWindowRect(GetDlgItem(frame, areaId), &area);
    MapWindowPoints(nullptr, frame, (POINT*)&area, 2);
    SetWindowPos(page, HWND_TOP, area.left, area.top, 0, 0, SWP_NOSIZE | SWP_SHOWWINDOW);
}

void ShowTabPage(HWND frame, HWND tab, HWND page)
{
    RECT rc;
    GetWindowRect(tab, &rc);
    MapWindowPoints(nullptr, frame, (POINT*)&rc, 2);
    TabCtrl_AdjustRect(tab, FALSE, &rc);
    g_EnableThemeDialogTexture(page, ETDT_ENABLETAB);
    SetWindowPos(page, HWND_TOP, rc.left, rc.top, rc.right - rc.left, rc.bottom - rc.top, SWP_SHOWWINDOW);
}

void FocusFirstControl(HWND page)
{
    HWND first = GetNextDlgTabItem(page, nullptr, FALSE);
    if (first)
        SetFocus(first);
}

HFONT CreateBoldFontFrom(HFONT base)
{
    LOGFONTA lf;
    if (!base || !GetObjectA(base, sizeof(lf), &lf))
        return nullptr;
    lf.lfWeight = FW_BOLD;
    return CreateFontIndirectA(&lf);
}

HFONT CreateBoldFont()
{
    return CreateBoldFontFrom((HFONT)GetStockObject(DEFAULT_GUI_FONT));
}

bool PutClipboardText(HWND owner, UINT format, const char* text)
{
    if (!format || !text || !OpenClipboard(owner))
        return false;
    EmptyClipboard();
    size_t size = strlen(text) + 1;
    HGLOBAL mem = GlobalAlloc(GMEM_MOVEABLE, size);
    char* data = mem ? (char*)GlobalLock(mem) : nullptr;
    bool put = false;
    if (data)
    {
        StrCopy(data, size, text);
        GlobalUnlock(mem);
        put = SetClipboardData(format, mem) != nullptr;
    }
    if (mem && !put)
        GlobalFree(mem);
    CloseClipboard();
    return put;
}

char* CopyClipboardText(HWND owner, UINT format)
{
    if (!format || !IsClipboardFormatAvailable(format) || !OpenClipboard(owner))
        return nullptr;
    char* text = nullptr;
    HGLOBAL mem = GetClipboardData(format);
    const char* data = mem ? (const char*)GlobalLock(mem) : nullptr;
    if (data)
    {
        SIZE_T size = GlobalSize(mem);
        text = new (std::nothrow) char[size + 1];
        if (text)
            StrCopyN(text, size + 1, data, size);
        GlobalUnlock(mem);
    }
    CloseClipboard();
    return text;
}

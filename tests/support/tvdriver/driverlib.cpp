#include <windows.h>
#include <commctrl.h>
#include <psapi.h>
#include <stdlib.h>
#include <algorithm>
#include <vector>
#include "support/tvdriver/driver.h"
#include "strutils.h"

// Messages the driver sends must never hang it on a stuck target.
static const UINT SEND_TIMEOUT = 5000;

static bool Send(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam, LRESULT* result)
{
    DWORD_PTR r = 0;
    if (!SendMessageTimeoutA(hwnd, msg, wParam, lParam, SMTO_ABORTIFHUNG, SEND_TIMEOUT, &r))
        return false;
    if (result)
        *result = (LRESULT)r;
    return true;
}

static LRESULT SendOr(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam, LRESULT fallback)
{
    LRESULT r;
    return Send(hwnd, msg, wParam, lParam, &r) ? r : fallback;
}

// Memory in the process that owns a window: pointer-carrying messages of the
// common controls are not carried between processes, so their structures and
// text buffers must live in the target.
class CRemoteBuffer
{
  public:
    CRemoteBuffer(HWND hwnd, SIZE_T size) : m_process(NULL), m_mem(NULL)
    {
        DWORD pid = 0;
        GetWindowThreadProcessId(hwnd, &pid);
        if (!pid)
            return;
        m_process = OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE, pid);
        if (m_process)
            m_mem = VirtualAllocEx(m_process, NULL, size, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE);
    }
    ~CRemoteBuffer()
    {
        if (m_mem)
            VirtualFreeEx(m_process, m_mem, 0, MEM_RELEASE);
        if (m_process)
            CloseHandle(m_process);
    }
    CRemoteBuffer(const CRemoteBuffer&) = delete;
    CRemoteBuffer& operator=(const CRemoteBuffer&) = delete;

    bool Ok() const
    {
        return m_mem != NULL;
    }
    BYTE* At(SIZE_T offset) const
    {
        return (BYTE*)m_mem + offset;
    }
    bool Write(SIZE_T offset, const void* src, SIZE_T len)
    {
        SIZE_T done = 0;
        return WriteProcessMemory(m_process, At(offset), src, len, &done) && done == len;
    }
    bool Read(SIZE_T offset, void* dst, SIZE_T len)
    {
        SIZE_T done = 0;
        return ReadProcessMemory(m_process, At(offset), dst, len, &done) && done == len;
    }
    // Reads a text the target wrote at offset, cut to size.
    bool ReadText(SIZE_T offset, SIZE_T capacity, char* buf, size_t size)
    {
        char* tmp = (char*)malloc(capacity + 1);
        if (!tmp)
            return false;
        bool ok = Read(offset, tmp, capacity);
        tmp[capacity] = '\0';
        if (ok)
            StrCopy(buf, size, tmp);
        free(tmp);
        return ok;
    }

  private:
    HANDLE m_process;
    void* m_mem;
};

// Room for a text read through the target's memory.
static const SIZE_T REMOTE_TEXT = 4096;

int DrvWaitFor(const std::function<bool()>& cond, DWORD timeoutMs, DWORD pollMs)
{
    ULONGLONG deadline = GetTickCount64() + timeoutMs;
    for (;;)
    {
        if (cond())
            return TVD_OK;
        ULONGLONG now = GetTickCount64();
        if (now >= deadline)
            return cond() ? TVD_OK : TVD_TIMEOUT;
        ULONGLONG left = deadline - now;
        Sleep((DWORD)(left < pollMs ? left : pollMs));
    }
}

// --- Top-level windows ---------------------------------------------------

static void LowerAscii(char* s)
{
    for (; *s; s++)
    {
        if (*s >= 'A' && *s <= 'Z')
            *s = (char)(*s - 'A' + 'a');
    }
}

static bool TitleMatches(const char* title, const char* want, int match)
{
    if (match == TVD_MATCH_EXACT)
        return strcmp(title, want) == 0;
    if (match == TVD_MATCH_SUBSTRING)
        return strstr(title, want) != NULL;
    char a[1024], b[1024];
    StrCopy(a, title);
    StrCopy(b, want);
    LowerAscii(a);
    LowerAscii(b);
    return strstr(a, b) != NULL;
}

bool DrvWindowMatches(HWND hwnd, const DrvWindowQuery& wanted)
{
    if (!IsWindow(hwnd))
        return false;
    if (!wanted.includeHidden && !IsWindowVisible(hwnd))
        return false;
    if (wanted.pid && DrvWindowProcess(hwnd) != wanted.pid)
        return false;
    if (wanted.className)
    {
        char cls[256];
        if (!GetClassNameA(hwnd, cls, sizeof(cls)) || StrCompareNoCase(cls, wanted.className) != 0)
            return false;
    }
    if (wanted.title)
    {
        char title[1024];
        title[0] = '\0';
        GetWindowTextA(hwnd, title, sizeof(title));
        if (!TitleMatches(title, wanted.title, wanted.match))
            return false;
    }
    return true;
}

struct FindContext
{
    const DrvWindowQuery* wanted;
    HWND* out;
    int max;
    int count;
};

static BOOL CALLBACK FindProc(HWND hwnd, LPARAM lParam)
{
    FindContext* ctx = (FindContext*)lParam;
    if (DrvWindowMatches(hwnd, *ctx->wanted))
    {
        if (ctx->count < ctx->max)
            ctx->out[ctx->count] = hwnd;
        ctx->count++;
    }
    return TRUE;
}

int DrvFindWindows(const DrvWindowQuery& wanted, HWND* out, int max)
{
    FindContext ctx = {&wanted, out, out ? max : 0, 0};
    EnumWindows(FindProc, (LPARAM)&ctx);
    return ctx.count;
}

HWND DrvFindWindow(const DrvWindowQuery& wanted)
{
    HWND hwnd = NULL;
    return DrvFindWindows(wanted, &hwnd, 1) > 0 ? hwnd : NULL;
}

bool DrvIsReady(HWND hwnd, DWORD answerMs)
{
    DWORD_PTR r;
    return IsWindow(hwnd) && SendMessageTimeoutA(hwnd, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, answerMs, &r) != 0;
}

int DrvWaitWindow(const DrvWindowQuery& wanted, DWORD timeoutMs, HWND* out)
{
    HWND found = NULL;
    int rc = DrvWaitFor(
        [&]() {
            HWND list[64];
            int n = DrvFindWindows(wanted, list, 64);
            for (int i = 0; i < n && i < 64; i++)
            {
                if (DrvIsReady(list[i]))
                {
                    found = list[i];
                    return true;
                }
            }
            return false;
        },
        timeoutMs);
    if (out)
        *out = rc == TVD_OK ? found : NULL;
    return rc;
}

int DrvWaitWindowGone(const DrvWindowQuery& wanted, DWORD timeoutMs)
{
    return DrvWaitFor([&]() { return DrvFindWindow(wanted) == NULL; }, timeoutMs);
}

int DrvWaitHidden(HWND hwnd, DWORD timeoutMs)
{
    return DrvWaitFor([&]() { return !IsWindow(hwnd) || !IsWindowVisible(hwnd); }, timeoutMs);
}

int DrvWaitDestroyed(HWND hwnd, DWORD timeoutMs)
{
    return DrvWaitFor([&]() { return !IsWindow(hwnd); }, timeoutMs);
}

// --- Children and input --------------------------------------------------

// Compares control captions the way a user reads them: "&Yes" is "Yes".
static void StripMnemonics(const char* src, char* dst, size_t size)
{
    size_t n = 0;
    for (; *src && n + 1 < size; src++)
    {
        if (*src == '&')
        {
            if (src[1] != '&')
                continue;
            src++;
        }
        dst[n++] = *src;
    }
    dst[n] = '\0';
}

struct ChildContext
{
    int id;
    const char* className;
    const char* text;
    HWND found;
};

static BOOL CALLBACK ChildProc(HWND hwnd, LPARAM lParam)
{
    ChildContext* ctx = (ChildContext*)lParam;
    if (ctx->id != -1 && GetDlgCtrlID(hwnd) != ctx->id)
        return TRUE;
    if (ctx->className)
    {
        char cls[256];
        if (!GetClassNameA(hwnd, cls, sizeof(cls)) || StrCompareNoCase(cls, ctx->className) != 0)
            return TRUE;
    }
    if (ctx->text)
    {
        char raw[1024], have[1024], want[1024];
        raw[0] = '\0';
        GetWindowTextA(hwnd, raw, sizeof(raw));
        StripMnemonics(raw, have, sizeof(have));
        StripMnemonics(ctx->text, want, sizeof(want));
        if (strcmp(have, want) != 0)
            return TRUE;
    }
    ctx->found = hwnd;
    return FALSE;
}

HWND DrvFindChildById(HWND parent, int id)
{
    ChildContext ctx = {id, NULL, NULL, NULL};
    EnumChildWindows(parent, ChildProc, (LPARAM)&ctx);
    return ctx.found;
}

HWND DrvFindChild(HWND parent, const char* className, const char* text)
{
    ChildContext ctx = {-1, className, text, NULL};
    EnumChildWindows(parent, ChildProc, (LPARAM)&ctx);
    return ctx.found;
}

bool DrvPostCommand(HWND hwnd, int id)
{
    return PostMessageA(hwnd, WM_COMMAND, MAKEWPARAM(id, 0), 0) != 0;
}

bool DrvClose(HWND hwnd)
{
    return PostMessageA(hwnd, WM_CLOSE, 0, 0) != 0;
}

static bool ClickButton(HWND button)
{
    // A user cannot press a disabled or hidden button.
    if (!IsWindowEnabled(button) || !IsWindowVisible(button))
        return false;
    return PostMessageA(button, BM_CLICK, 0, 0) != 0;
}

bool DrvPressButton(HWND dialog, int id)
{
    HWND button = DrvFindChildById(dialog, id);
    if (button)
        return ClickButton(button);
    return PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), 0) != 0;
}

bool DrvClickButtonText(HWND parent, const char* caption)
{
    HWND button = DrvFindChild(parent, "Button", caption);
    return button && ClickButton(button);
}

int DrvGetText(HWND hwnd, char* buf, size_t size)
{
    if (!buf || size == 0)
        return -1;
    buf[0] = '\0';
    LRESULT len;
    if (!Send(hwnd, WM_GETTEXT, size, (LPARAM)buf, &len))
        return -1;
    buf[size - 1] = '\0';
    return (int)len;
}

bool DrvSetText(HWND hwnd, const char* text)
{
    LRESULT r;
    return Send(hwnd, WM_SETTEXT, 0, (LPARAM)text, &r) && r;
}

// --- Message boxes -------------------------------------------------------

int DrvWaitMessageBox(const char* caption, DWORD pid, DWORD timeoutMs, HWND* out)
{
    return DrvWaitWindow(DrvQuery("#32770", caption, TVD_MATCH_EXACT, pid), timeoutMs, out);
}

bool DrvMessageBoxText(HWND dialog, char* buf, size_t size)
{
    HWND text = DrvFindChildById(dialog, 0xFFFF);
    if (!text)
    {
        // Some message boxes number their text differently: take the first
        // static control that shows text rather than an icon.
        struct Ctx
        {
            HWND found;
        } ctx = {NULL};
        EnumChildWindows(
            dialog,
            [](HWND hwnd, LPARAM lParam) -> BOOL {
                char cls[64];
                if (!GetClassNameA(hwnd, cls, sizeof(cls)) || StrCompareNoCase(cls, "Static") != 0)
                    return TRUE;
                if ((GetWindowLongA(hwnd, GWL_STYLE) & SS_TYPEMASK) == SS_ICON ||
                    GetWindowTextLengthA(hwnd) == 0)
                    return TRUE;
                ((Ctx*)lParam)->found = hwnd;
                return FALSE;
            },
            (LPARAM)&ctx);
        text = ctx.found;
    }
    return text && DrvGetText(text, buf, size) >= 0;
}

// --- Common controls of another process ----------------------------------

int DrvListViewRowCount(HWND listView)
{
    return (int)SendOr(listView, LVM_GETITEMCOUNT, 0, 0, -1);
}

int DrvListViewColumnCount(HWND listView)
{
    HWND header = (HWND)SendOr(listView, LVM_GETHEADER, 0, 0, 0);
    if (!header)
        return IsWindow(listView) ? 1 : -1;
    return (int)SendOr(header, HDM_GETITEMCOUNT, 0, 0, -1);
}

bool DrvListViewText(HWND listView, int row, int column, char* buf, size_t size)
{
    if (row < 0 || row >= DrvListViewRowCount(listView) || column < 0)
        return false;
    CRemoteBuffer remote(listView, sizeof(LVITEMA) + REMOTE_TEXT);
    if (!remote.Ok())
        return false;
    LVITEMA item;
    ZeroMemory(&item, sizeof(item));
    item.mask = LVIF_TEXT;
    item.iItem = row;
    item.iSubItem = column;
    item.pszText = (LPSTR)remote.At(sizeof(LVITEMA));
    item.cchTextMax = (int)REMOTE_TEXT;
    char zero = '\0';
    LRESULT len;
    if (!remote.Write(0, &item, sizeof(item)) || !remote.Write(sizeof(LVITEMA), &zero, 1) ||
        !Send(listView, LVM_GETITEMTEXTA, row, (LPARAM)remote.At(0), &len))
        return false;
    return remote.ReadText(sizeof(LVITEMA), REMOTE_TEXT, buf, size);
}

int DrvListViewSelected(HWND listView)
{
    return (int)SendOr(listView, LVM_GETNEXTITEM, (WPARAM)-1, LVNI_SELECTED, -1);
}

bool DrvListViewSelect(HWND listView, int row)
{
    CRemoteBuffer remote(listView, sizeof(LVITEMA));
    if (!remote.Ok() || row < 0 || row >= DrvListViewRowCount(listView))
        return false;
    LVITEMA item;
    ZeroMemory(&item, sizeof(item));
    item.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
    item.state = 0;
    LRESULT r;
    // Clear every row first (-1), then select and focus the one.
    if (!remote.Write(0, &item, sizeof(item)) ||
        !Send(listView, LVM_SETITEMSTATE, (WPARAM)-1, (LPARAM)remote.At(0), &r))
        return false;
    item.state = LVIS_SELECTED | LVIS_FOCUSED;
    if (!remote.Write(0, &item, sizeof(item)) ||
        !Send(listView, LVM_SETITEMSTATE, row, (LPARAM)remote.At(0), &r))
        return false;
    Send(listView, LVM_ENSUREVISIBLE, row, FALSE, &r);
    return true;
}

bool DrvListViewSetSelected(HWND listView, int row, bool selected)
{
    CRemoteBuffer remote(listView, sizeof(LVITEMA));
    if (!remote.Ok() || row < 0 || row >= DrvListViewRowCount(listView))
        return false;
    LVITEMA item;
    ZeroMemory(&item, sizeof(item));
    item.stateMask = LVIS_SELECTED;
    item.state = selected ? LVIS_SELECTED : 0;
    LRESULT r;
    return remote.Write(0, &item, sizeof(item)) &&
           Send(listView, LVM_SETITEMSTATE, row, (LPARAM)remote.At(0), &r);
}

int DrvListViewState(HWND listView, int row, UINT mask)
{
    return (int)SendOr(listView, LVM_GETITEMSTATE, row, mask, -1);
}

HTREEITEM DrvTreeRoot(HWND tree)
{
    return (HTREEITEM)SendOr(tree, TVM_GETNEXTITEM, TVGN_ROOT, 0, 0);
}

HTREEITEM DrvTreeChild(HWND tree, HTREEITEM item)
{
    return (HTREEITEM)SendOr(tree, TVM_GETNEXTITEM, TVGN_CHILD, (LPARAM)item, 0);
}

HTREEITEM DrvTreeNextSibling(HWND tree, HTREEITEM item)
{
    return (HTREEITEM)SendOr(tree, TVM_GETNEXTITEM, TVGN_NEXT, (LPARAM)item, 0);
}

HTREEITEM DrvTreeSelection(HWND tree)
{
    return (HTREEITEM)SendOr(tree, TVM_GETNEXTITEM, TVGN_CARET, 0, 0);
}

bool DrvTreeSelect(HWND tree, HTREEITEM item)
{
    return SendOr(tree, TVM_SELECTITEM, TVGN_CARET, (LPARAM)item, 0) != 0;
}

bool DrvTreeText(HWND tree, HTREEITEM item, char* buf, size_t size)
{
    if (!item)
        return false;
    CRemoteBuffer remote(tree, sizeof(TVITEMA) + REMOTE_TEXT);
    if (!remote.Ok())
        return false;
    TVITEMA tvi;
    ZeroMemory(&tvi, sizeof(tvi));
    tvi.mask = TVIF_TEXT | TVIF_HANDLE;
    tvi.hItem = item;
    tvi.pszText = (LPSTR)remote.At(sizeof(TVITEMA));
    tvi.cchTextMax = (int)REMOTE_TEXT;
    char zero = '\0';
    LRESULT ok;
    if (!remote.Write(0, &tvi, sizeof(tvi)) || !remote.Write(sizeof(TVITEMA), &zero, 1) ||
        !Send(tree, TVM_GETITEMA, 0, (LPARAM)remote.At(0), &ok) || !ok)
        return false;
    return remote.ReadText(sizeof(TVITEMA), REMOTE_TEXT, buf, size);
}

static HTREEITEM TreeFindFrom(HWND tree, HTREEITEM item, const char* text, int depth)
{
    // A tree deeper than this is a loop in a broken control, not data.
    if (depth > 64)
        return NULL;
    for (; item; item = DrvTreeNextSibling(tree, item))
    {
        char have[1024];
        if (DrvTreeText(tree, item, have, sizeof(have)) && strcmp(have, text) == 0)
            return item;
        HTREEITEM hit = TreeFindFrom(tree, DrvTreeChild(tree, item), text, depth + 1);
        if (hit)
            return hit;
    }
    return NULL;
}

HTREEITEM DrvTreeFind(HWND tree, const char* text)
{
    return TreeFindFrom(tree, DrvTreeRoot(tree), text, 0);
}

static bool TreeDumpFrom(HWND tree, HTREEITEM item, int depth, char* buf, size_t size)
{
    if (depth > 64)
        return false;
    bool fitted = true;
    for (; item; item = DrvTreeNextSibling(tree, item))
    {
        char text[1024];
        if (!DrvTreeText(tree, item, text, sizeof(text)))
            text[0] = '\0';
        for (int i = 0; i < depth; i++)
            fitted = StrAppend(buf, size, "  ") && fitted;
        fitted = StrAppend(buf, size, text) && fitted;
        fitted = StrAppend(buf, size, "\n") && fitted;
        fitted = TreeDumpFrom(tree, DrvTreeChild(tree, item), depth + 1, buf, size) && fitted;
    }
    return fitted;
}

bool DrvTreeDump(HWND tree, char* buf, size_t size)
{
    if (!buf || size == 0)
        return false;
    buf[0] = '\0';
    return TreeDumpFrom(tree, DrvTreeRoot(tree), 0, buf, size);
}

// The rectangle the control writes at the buffer's start (the caller has put
// in what the message reads), as a screen point at its middle.
static bool RemoteRectMiddle(HWND control, UINT msg, WPARAM wParam, const RECT& in, POINT* screen)
{
    CRemoteBuffer remote(control, sizeof(RECT));
    RECT rc = in;
    LRESULT r = 0;
    if (!remote.Ok() || !remote.Write(0, &rc, sizeof(rc)) ||
        !Send(control, msg, wParam, (LPARAM)remote.At(0), &r) || !r || !remote.Read(0, &rc, sizeof(rc)))
        return false;
    screen->x = (rc.left + rc.right) / 2;
    screen->y = (rc.top + rc.bottom) / 2;
    return ClientToScreen(control, screen) != 0;
}

bool DrvListViewRowPoint(HWND listView, int row, POINT* screen)
{
    RECT rc = {LVIR_LABEL, 0, 0, 0};
    return RemoteRectMiddle(listView, LVM_GETITEMRECT, (WPARAM)row, rc, screen);
}

bool DrvTreeItemPoint(HWND tree, HTREEITEM item, POINT* screen)
{
    RECT rc;
    ZeroMemory(&rc, sizeof(rc));
    // The item goes in where the rectangle comes out.
    memcpy(&rc, &item, sizeof(item));
    return item && RemoteRectMiddle(tree, TVM_GETITEMRECT, TRUE, rc, screen);
}

static bool SendMouse(POINT at, DWORD flags)
{
    INPUT in;
    ZeroMemory(&in, sizeof(in));
    in.type = INPUT_MOUSE;
    in.mi.dx = MulDiv(at.x, 65535, GetSystemMetrics(SM_CXSCREEN) - 1);
    in.mi.dy = MulDiv(at.y, 65535, GetSystemMetrics(SM_CYSCREEN) - 1);
    in.mi.dwFlags = flags | MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
    return SendInput(1, &in, sizeof(in)) == 1;
}

bool DrvDragMouse(POINT from, POINT to, HWND holder)
{
    // Moves that pile up in the queue reach the program as one; a control
    // that watches for a drag start sees it only while the pointer is still
    // over it. So the first move stays near the start, past the system's drag
    // distance, and the rest follows once the drag has begun: holder has
    // the mouse (a control may take it at the press already).
    DWORD thread = GetWindowThreadProcessId(WindowFromPoint(from), NULL);
    // A press where the last one was, and soon after it, is a double click:
    // the press goes a little to the side of the last one.
    static POINT lastDown = {-1000, -1000};
    int cx = GetSystemMetrics(SM_CXDOUBLECLK), cy = GetSystemMetrics(SM_CYDOUBLECLK);
    if (abs(from.x - lastDown.x) <= cx && abs(from.y - lastDown.y) <= cy)
        from.x = lastDown.x + 2 * cx + 2;
    lastDown = from;
    POINT start = {from.x, from.y + 2 * GetSystemMetrics(SM_CYDRAG) + 2};
    if (!SendMouse(from, 0) || !SendMouse(from, MOUSEEVENTF_LEFTDOWN) || !SendMouse(start, 0))
        return false;
    bool held = DrvWaitFor(
                    [&]() {
                        GUITHREADINFO gi;
                        ZeroMemory(&gi, sizeof(gi));
                        gi.cbSize = sizeof(gi);
                        return GetGUIThreadInfo(thread, &gi) && gi.hwndCapture == holder;
                    },
                    5000) == TVD_OK;
    bool ok = SendMouse(to, 0);
    return SendMouse(to, MOUSEEVENTF_LEFTUP) && ok && held;
}

int DrvStatusPartCount(HWND statusBar)
{
    return (int)SendOr(statusBar, SB_GETPARTS, 0, 0, -1);
}

bool DrvStatusText(HWND statusBar, int part, char* buf, size_t size)
{
    LRESULT lenInfo;
    if (part < 0 || part >= DrvStatusPartCount(statusBar) ||
        !Send(statusBar, SB_GETTEXTLENGTHA, part, 0, &lenInfo))
        return false;
    SIZE_T len = LOWORD(lenInfo);
    CRemoteBuffer remote(statusBar, len + 1);
    char zero = '\0';
    LRESULT r;
    if (!remote.Ok() || !remote.Write(0, &zero, 1) ||
        !Send(statusBar, SB_GETTEXTA, part, (LPARAM)remote.At(0), &r))
        return false;
    return remote.ReadText(0, len, buf, size);
}

// The system copies these texts into our buffer but cannot know its size:
// ask for the length first and read into a buffer that surely holds it.
// The wide messages are used because Wine carries the ANSI ones between
// processes as wide text without converting it back.
static bool ReadListText(HWND hwnd, UINT lenMsg, UINT textMsg, int index, char* buf, size_t size)
{
    DWORD_PTR len;
    if (!SendMessageTimeoutW(hwnd, lenMsg, index, 0, SMTO_ABORTIFHUNG, SEND_TIMEOUT, &len) ||
        (LRESULT)len < 0)
        return false;
    WCHAR* wide = (WCHAR*)calloc((size_t)len + 2, sizeof(WCHAR));
    if (!wide)
        return false;
    DWORD_PTR got;
    bool ok = SendMessageTimeoutW(hwnd, textMsg, index, (LPARAM)wide, SMTO_ABORTIFHUNG, SEND_TIMEOUT, &got) &&
              (LRESULT)got >= 0 && got <= len;
    if (ok)
    {
        wide[got] = 0;
        int needed = WideCharToMultiByte(CP_ACP, 0, wide, -1, NULL, 0, NULL, NULL);
        char* narrow = needed > 0 ? (char*)malloc(needed) : NULL;
        ok = narrow && WideCharToMultiByte(CP_ACP, 0, wide, -1, narrow, needed, NULL, NULL) > 0;
        if (ok)
            StrCopy(buf, size, narrow);
        free(narrow);
    }
    free(wide);
    return ok;
}

int DrvComboCount(HWND combo)
{
    return (int)SendOr(combo, CB_GETCOUNT, 0, 0, -1);
}

int DrvComboSelected(HWND combo)
{
    return (int)SendOr(combo, CB_GETCURSEL, 0, 0, -1);
}

bool DrvComboText(HWND combo, int index, char* buf, size_t size)
{
    return ReadListText(combo, CB_GETLBTEXTLEN, CB_GETLBTEXT, index, buf, size);
}

bool DrvComboSelect(HWND combo, int index)
{
    LRESULT r;
    if (!Send(combo, CB_SETCURSEL, index, 0, &r) || (int)r != index)
        return false;
    HWND parent = GetParent(combo);
    WPARAM wParam = MAKEWPARAM(GetDlgCtrlID(combo), CBN_SELCHANGE);
    return parent && Send(parent, WM_COMMAND, wParam, (LPARAM)combo, &r);
}

bool DrvDateTimeGet(HWND picker, SYSTEMTIME* st)
{
    CRemoteBuffer remote(picker, sizeof(SYSTEMTIME));
    LRESULT r;
    if (!remote.Ok() || !Send(picker, DTM_GETSYSTEMTIME, 0, (LPARAM)remote.At(0), &r) || r != GDT_VALID)
        return false;
    return remote.Read(0, st, sizeof(*st));
}

bool DrvDateTimeSet(HWND picker, const SYSTEMTIME& st)
{
    CRemoteBuffer remote(picker, sizeof(SYSTEMTIME));
    LRESULT r;
    return remote.Ok() && remote.Write(0, &st, sizeof(st)) &&
           Send(picker, DTM_SETSYSTEMTIME, GDT_VALID, (LPARAM)remote.At(0), &r) && r != 0;
}

int DrvTabCount(HWND tab)
{
    return (int)SendOr(tab, TCM_GETITEMCOUNT, 0, 0, -1);
}

int DrvTabSelected(HWND tab)
{
    return (int)SendOr(tab, TCM_GETCURSEL, 0, 0, -1);
}

bool DrvTabSelect(HWND tab, int index)
{
    CRemoteBuffer remote(tab, sizeof(RECT));
    RECT rc;
    LRESULT r;
    if (!remote.Ok() || !Send(tab, TCM_GETITEMRECT, index, (LPARAM)remote.At(0), &r) || !r ||
        !remote.Read(0, &rc, sizeof(rc)))
        return false;
    LPARAM at = MAKELPARAM((rc.left + rc.right) / 2, (rc.top + rc.bottom) / 2);
    PostMessageA(tab, WM_LBUTTONDOWN, MK_LBUTTON, at);
    PostMessageA(tab, WM_LBUTTONUP, 0, at);
    return DrvWaitFor([&]() { return DrvTabSelected(tab) == index; }, 5000) == TVD_OK;
}

int DrvListBoxCount(HWND listBox)
{
    return (int)SendOr(listBox, LB_GETCOUNT, 0, 0, -1);
}

bool DrvListBoxText(HWND listBox, int index, char* buf, size_t size)
{
    return ReadListText(listBox, LB_GETTEXTLEN, LB_GETTEXT, index, buf, size);
}

// --- Notification area ---------------------------------------------------

// Calls visit for every tool of every tooltip window of process pid, with
// the tool's text, until visit returns true.
static bool ForEachTool(DWORD pid, const std::function<bool(const TTTOOLINFOA&, const char*)>& visit)
{
    HWND tooltip = NULL;
    while ((tooltip = FindWindowExA(NULL, tooltip, TOOLTIPS_CLASSA, NULL)) != NULL)
    {
        LRESULT count;
        if (DrvWindowProcess(tooltip) != pid || !Send(tooltip, TTM_GETTOOLCOUNT, 0, 0, &count))
            continue;
        // The control copies up to INFOTIPSIZE characters without being told a size.
        CRemoteBuffer remote(tooltip, sizeof(TTTOOLINFOA) + INFOTIPSIZE + 1);
        if (!remote.Ok())
            continue;
        for (LRESULT i = 0; i < count; i++)
        {
            TTTOOLINFOA ti;
            ZeroMemory(&ti, sizeof(ti));
            ti.cbSize = sizeof(ti);
            ti.lpszText = (LPSTR)remote.At(sizeof(TTTOOLINFOA));
            char zero = '\0';
            char text[INFOTIPSIZE + 1];
            LRESULT ok;
            if (!remote.Write(0, &ti, sizeof(ti)) || !remote.Write(sizeof(TTTOOLINFOA), &zero, 1) ||
                !Send(tooltip, TTM_ENUMTOOLSA, i, (LPARAM)remote.At(0), &ok) || !ok ||
                !remote.Read(0, &ti, sizeof(ti)) ||
                !remote.ReadText(sizeof(TTTOOLINFOA), INFOTIPSIZE, text, sizeof(text)))
                continue;
            if (visit(ti, text))
                return true;
        }
    }
    return false;
}

static BOOL CALLBACK TrayChildProc(HWND hwnd, LPARAM lParam)
{
    std::vector<HWND>* icons = (std::vector<HWND>*)lParam;
    char cls[128];
    if (GetClassNameA(hwnd, cls, sizeof(cls)))
    {
        LowerAscii(cls);
        if (strstr(cls, "tray_icon"))
            icons->push_back(hwnd);
    }
    return TRUE;
}

int DrvTrayIcons(DrvTrayIcon* out, int max)
{
    std::vector<DrvTrayIcon> icons;
    HWND tray = FindWindowA("__winex11_standalone_tray", NULL);
    if (tray)
    {
        std::vector<HWND> windows;
        EnumChildWindows(tray, TrayChildProc, (LPARAM)&windows);
        for (HWND w : windows)
        {
            RECT rc;
            GetClientRect(w, &rc);
            icons.push_back({w, {rc.right / 2, rc.bottom / 2}});
        }
    }
    tray = FindWindowA("Shell_TrayWnd", NULL);
    if (icons.empty() && tray && IsWindowVisible(tray))
    {
        ForEachTool(DrvWindowProcess(tray), [&](const TTTOOLINFOA& ti, const char*) {
            if (ti.hwnd == tray && !(ti.uFlags & TTF_IDISHWND))
                icons.push_back(
                    {tray, {(ti.rect.left + ti.rect.right) / 2, (ti.rect.top + ti.rect.bottom) / 2}});
            return false;
        });
    }

    // Shown in the order they were added: sort by screen position.
    auto screen = [](const DrvTrayIcon& i) {
        POINT pt = i.at;
        ClientToScreen(i.window, &pt);
        return pt;
    };
    std::sort(icons.begin(), icons.end(), [&](const DrvTrayIcon& a, const DrvTrayIcon& b) {
        POINT pa = screen(a), pb = screen(b);
        return pa.y != pb.y ? pa.y < pb.y : pa.x < pb.x;
    });
    for (size_t i = 0; i < icons.size() && (int)i < max; i++)
        out[i] = icons[i];
    return (int)icons.size();
}

bool DrvTrayIconTip(const DrvTrayIcon& icon, char* buf, size_t size)
{
    return ForEachTool(DrvWindowProcess(icon.window), [&](const TTTOOLINFOA& ti, const char* text) {
        bool mine = (ti.uFlags & TTF_IDISHWND) ? (HWND)ti.uId == icon.window
                                               : ti.hwnd == icon.window && PtInRect(&ti.rect, icon.at);
        if (mine)
            StrCopy(buf, size, text);
        return mine;
    });
}

bool DrvFindTrayIcon(const char* tip, DrvTrayIcon* out)
{
    DrvTrayIcon icons[64];
    int n = DrvTrayIcons(icons, 64);
    for (int i = 0; i < n && i < 64; i++)
    {
        char have[INFOTIPSIZE + 1];
        if (!tip || !*tip || (DrvTrayIconTip(icons[i], have, sizeof(have)) && strstr(have, tip)))
        {
            *out = icons[i];
            return true;
        }
    }
    return false;
}

bool DrvClickTrayIcon(const DrvTrayIcon& icon, int how)
{
    if (!IsWindow(icon.window))
        return false;
    HWND w = icon.window;
    LPARAM at = MAKELPARAM(icon.at.x, icon.at.y);
    switch (how)
    {
        case TVD_CLICK_LEFT:
            return PostMessageA(w, WM_LBUTTONDOWN, MK_LBUTTON, at) && PostMessageA(w, WM_LBUTTONUP, 0, at);
        case TVD_CLICK_RIGHT:
            return PostMessageA(w, WM_RBUTTONDOWN, MK_RBUTTON, at) && PostMessageA(w, WM_RBUTTONUP, 0, at);
        case TVD_CLICK_DOUBLE:
            // The order a real double click produces.
            return PostMessageA(w, WM_LBUTTONDOWN, MK_LBUTTON, at) && PostMessageA(w, WM_LBUTTONUP, 0, at) &&
                   PostMessageA(w, WM_LBUTTONDBLCLK, MK_LBUTTON, at) && PostMessageA(w, WM_LBUTTONUP, 0, at);
    }
    return false;
}

// --- Processes -----------------------------------------------------------

typedef BOOL(WINAPI* PFN_GetProcessMemoryInfo)(HANDLE, PPROCESS_MEMORY_COUNTERS, DWORD);

bool DrvProcessMemory(DWORD pid, DrvMemoryInfo* info)
{
    // Newer systems export it from the kernel; older ones only from PSAPI.
    PFN_GetProcessMemoryInfo pGet = (PFN_GetProcessMemoryInfo)(void*)GetProcAddress(
        GetModuleHandleA("KERNEL32.DLL"), "K32GetProcessMemoryInfo");
    HMODULE psapi = NULL;
    if (!pGet)
    {
        psapi = LoadLibraryA("PSAPI.DLL");
        if (psapi)
            pGet = (PFN_GetProcessMemoryInfo)(void*)GetProcAddress(psapi, "GetProcessMemoryInfo");
    }
    bool ok = false;
    HANDLE process = pGet ? OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ, FALSE, pid) : NULL;
    if (process)
    {
        PROCESS_MEMORY_COUNTERS pmc;
        ZeroMemory(&pmc, sizeof(pmc));
        pmc.cb = sizeof(pmc);
        if (pGet(process, &pmc, sizeof(pmc)))
        {
            info->workingSet = pmc.WorkingSetSize;
            info->peakWorkingSet = pmc.PeakWorkingSetSize;
            info->privateBytes = pmc.PagefileUsage;
            ok = true;
        }
        CloseHandle(process);
    }
    if (psapi)
        FreeLibrary(psapi);
    return ok;
}

DWORD DrvWindowProcess(HWND hwnd)
{
    DWORD pid = 0;
    GetWindowThreadProcessId(hwnd, &pid);
    return pid;
}

bool DrvProgramPath(const char* name, char* buf, size_t size)
{
    char exe[MAX_PATH];
    DWORD len = GetModuleFileNameA(NULL, exe, sizeof(exe));
    if (len == 0 || len >= sizeof(exe))
        return false;
    char* slash = strrchr(exe, '\\');
    if (!slash)
        return false;
    slash[1] = '\0';
    return StrCopy(buf, size, exe) && StrAppend(buf, size, name);
}

CDrvProcess::CDrvProcess() : m_hOutRead(NULL), m_output(NULL), m_outputLen(0), m_outputCap(0)
{
    ZeroMemory(&m_pi, sizeof(m_pi));
}

CDrvProcess::~CDrvProcess()
{
    if (m_pi.hProcess && IsRunning())
    {
        TerminateProcess(m_pi.hProcess, 1);
        WaitForSingleObject(m_pi.hProcess, 5000);
    }
    Detach();
    if (m_hOutRead)
        CloseHandle(m_hOutRead);
    free(m_output);
}

void CDrvProcess::Detach()
{
    if (m_pi.hThread)
        CloseHandle(m_pi.hThread);
    if (m_pi.hProcess)
        CloseHandle(m_pi.hProcess);
    m_pi.hThread = m_pi.hProcess = NULL;
}

bool CDrvProcess::Start(const char* exe, const char* args, const char* dir, int show)
{
    return DoStart(exe, args, dir, show, false);
}

bool CDrvProcess::StartCaptured(const char* exe, const char* args, const char* dir)
{
    return DoStart(exe, args, dir, -1, true);
}

bool CDrvProcess::StartDetached(const char* exe, const char* args)
{
    return DoStart(exe, args, NULL, -1, false, DETACHED_PROCESS);
}

bool CDrvProcess::DoStart(const char* exe, const char* args, const char* dir, int show, bool capture,
                          DWORD flags)
{
    if (m_pi.hProcess)
        return false;
    size_t size = strlen(exe) + (args ? strlen(args) : 0) + 4;
    char* cmd = (char*)malloc(size);
    if (!cmd)
        return false;
    StrFormat(cmd, size, "\"%s\"%s%s", exe, args && *args ? " " : "", args ? args : "");

    STARTUPINFOA si;
    ZeroMemory(&si, sizeof(si));
    si.cb = sizeof(si);
    if (show >= 0)
    {
        si.dwFlags |= STARTF_USESHOWWINDOW;
        si.wShowWindow = (WORD)show;
    }
    HANDLE outWrite = NULL;
    if (capture)
    {
        SECURITY_ATTRIBUTES sa = {sizeof(sa), NULL, TRUE};
        if (!CreatePipe(&m_hOutRead, &outWrite, &sa, 0))
        {
            free(cmd);
            return false;
        }
        SetHandleInformation(m_hOutRead, HANDLE_FLAG_INHERIT, 0);
        si.dwFlags |= STARTF_USESTDHANDLES;
        si.hStdOutput = outWrite;
        si.hStdError = outWrite;
        si.hStdInput = NULL;
    }
    BOOL ok = CreateProcessA(NULL, cmd, NULL, NULL, capture ? TRUE : FALSE, flags, NULL, dir, &si, &m_pi);
    free(cmd);
    // Only the child may hold the write end, or the pipe never reports its end.
    if (outWrite)
        CloseHandle(outWrite);
    if (!ok)
    {
        ZeroMemory(&m_pi, sizeof(m_pi));
        return false;
    }
    return true;
}

bool CDrvProcess::IsRunning() const
{
    return m_pi.hProcess && WaitForSingleObject(m_pi.hProcess, 0) == WAIT_TIMEOUT;
}

void CDrvProcess::Drain()
{
    if (!m_hOutRead)
        return;
    for (;;)
    {
        DWORD avail = 0;
        if (!PeekNamedPipe(m_hOutRead, NULL, 0, NULL, &avail, NULL) || avail == 0)
            return;
        if (m_outputLen + avail + 1 > m_outputCap)
        {
            size_t cap = (m_outputLen + avail + 1) * 2;
            char* p = (char*)realloc(m_output, cap);
            if (!p)
                return;
            m_output = p;
            m_outputCap = cap;
        }
        DWORD got = 0;
        if (!ReadFile(m_hOutRead, m_output + m_outputLen, avail, &got, NULL) || got == 0)
            return;
        // Console output under Wine ends lines in CR LF; keep LF only.
        char* from = m_output + m_outputLen;
        for (DWORD i = 0; i < got; i++)
        {
            if (from[i] != '\r')
                m_output[m_outputLen++] = from[i];
        }
        m_output[m_outputLen] = '\0';
    }
}

int CDrvProcess::WaitExit(DWORD timeoutMs, DWORD* exitCode)
{
    if (!m_pi.hProcess)
        return TVD_FAIL;
    int rc = DrvWaitFor(
        [&]() {
            Drain();
            return WaitForSingleObject(m_pi.hProcess, 0) == WAIT_OBJECT_0;
        },
        timeoutMs);
    Drain();
    if (rc == TVD_OK && exitCode)
        GetExitCodeProcess(m_pi.hProcess, exitCode);
    return rc;
}

bool CDrvProcess::Kill(UINT exitCode)
{
    if (!m_pi.hProcess || !TerminateProcess(m_pi.hProcess, exitCode))
        return false;
    return WaitForSingleObject(m_pi.hProcess, 5000) == WAIT_OBJECT_0;
}

const char* CDrvProcess::Output()
{
    Drain();
    return m_output ? m_output : "";
}

int DrvRun(const char* exe, const char* args, DWORD timeoutMs, DWORD* exitCode, char* output, size_t size)
{
    CDrvProcess process;
    if (!process.StartCaptured(exe, args))
        return TVD_FAIL;
    int rc = process.WaitExit(timeoutMs, exitCode);
    if (rc != TVD_OK)
        process.Kill();
    if (output)
        StrCopy(output, size, process.Output());
    return rc;
}

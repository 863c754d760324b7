// Edits of all selected lines at once: delete, move, the clipboard, switching
// lines off and on, and dragging rows. Each edit is one undo step however many
// lines it touches. Also Run Selected Lines.
#include <windows.h>
#include <commctrl.h>
#include <stdlib.h>
#include <string.h>
#include <new>

#include "editor.h"
#include "LineBlock.h"
#include "dirutils_win.h"
#include "strutils.h"
#include "winutils.h"

namespace
{
const UINT_PTR RUN_TIMER_ID = 1;

// The selected rows for the length of one command.
struct Selection
{
    int* rows = nullptr;
    int n = 0;
    explicit Selection(EditorState* st)
    {
        n = GetSelectedRows(st, &rows);
    }
    ~Selection()
    {
        delete[] rows;
    }
    Selection(const Selection&) = delete;
    Selection& operator=(const Selection&) = delete;
};

void RecordMoves(EditorState* st, const LineMove* moves, int n)
{
    BeginLineGroup(st);
    for (int i = 0; i < n; i++)
    {
        char text[LAUNCH_LINE_SIZE];
        StrCopy(text, st->file.GetAction(moves[i].from)->GetString());
        if (!RecordStep(st, UNDO_MOVE, text, (unsigned)moves[i].from, nullptr, (unsigned)moves[i].to))
            break;
    }
    EndLineGroup(st);
}

// Deletes the rows (sorted) as one undo step, without asking.
void DeleteRows(EditorState* st, const Selection& sel)
{
    BeginLineGroup(st);
    // From the bottom up, so that the rows still to go keep their indices.
    for (int i = sel.n - 1; i >= 0; i--)
    {
        char text[LAUNCH_LINE_SIZE];
        StrCopy(text, st->file.GetAction(sel.rows[i])->GetString());
        if (!RecordStep(st, UNDO_DELETE, text, (unsigned)sel.rows[i], nullptr, 0))
            break;
    }
    EndLineGroup(st);
}

bool CopyRows(EditorState* st, const Selection& sel)
{
    if (sel.n == 0)
    {
        MessageBeep(MB_ICONHAND);
        return false;
    }
    // Lines joined by CR LF: a reader that takes only the first line still
    // gets a whole action.
    size_t size = (size_t)sel.n * (LAUNCH_LINE_SIZE + 2);
    char* text = new (std::nothrow) char[size];
    if (!text)
        return false;
    text[0] = '\0';
    for (int i = 0; i < sel.n; i++)
    {
        if (i)
            StrAppend(text, size, "\r\n");
        StrAppend(text, size, st->file.GetAction(sel.rows[i])->GetString());
    }
    bool ok = PutClipboardText(st->hwnd, st->clipFormat, text);
    delete[] text;
    return ok;
}
} // namespace

void OnDelete(EditorState* st)
{
    Selection sel(st);
    if (sel.n == 0)
    {
        MessageBeep(MB_ICONHAND);
        return;
    }
    char question[96];
    if (sel.n == 1)
        StrCopy(question, "Are you sure you want to delete this action?");
    else
        StrFormat(question, sizeof(question), "Are you sure you want to delete these %d actions?", sel.n);
    CModalScope scope(st);
    if (MessageBoxA(st->hwnd, question, "Confirm Delete", MB_YESNO | MB_ICONQUESTION) != IDYES)
        return;
    DeleteRows(st, sel);
}

void OnMove(EditorState* st, bool up)
{
    Selection sel(st);
    LineMove* moves = sel.n ? new (std::nothrow) LineMove[(size_t)sel.n] : nullptr;
    int n = moves ? PlanShift(sel.rows, sel.n, st->file.GetCount(), up, moves) : 0;
    if (n == 0)
        MessageBeep(MB_ICONHAND);
    else
        RecordMoves(st, moves, n);
    delete[] moves;
}

void OnCopy(EditorState* st)
{
    Selection sel(st);
    CopyRows(st, sel);
}

void OnCut(EditorState* st)
{
    Selection sel(st);
    if (CopyRows(st, sel))
        DeleteRows(st, sel);
}

// Every non-blank line of the clipboard's text becomes an action, in order,
// each cut to one launch line.
void OnPaste(EditorState* st)
{
    if (!st->fileOpen)
        return;
    char* text = CopyClipboardText(st->hwnd, st->clipFormat);
    if (!text)
        return;
    int place = InsertPlace(st);
    bool grouped = false;
    for (const char* p = text; *p;)
    {
        size_t n = strcspn(p, "\r\n");
        char line[LAUNCH_LINE_SIZE];
        StrCopyN(line, sizeof(line), p, n);
        TrimStr(line);
        p += n;
        p += strspn(p, "\r\n");
        if (!line[0])
            continue;
        if (!grouped)
            BeginLineGroup(st);
        grouped = true;
        if (!RecordStep(st, UNDO_INSERT, line, (unsigned)place, nullptr, 0))
            break;
        place++;
    }
    delete[] text;
    if (grouped)
        EndLineGroup(st);
}

void OnDisable(EditorState* st, bool enable)
{
    Selection sel(st);
    int changed = 0, tooLong = 0;
    for (int i = 0; i < sel.n; i++)
    {
        const char* line = st->file.GetAction(sel.rows[i])->GetString();
        char to[LAUNCH_LINE_SIZE];
        if (enable ? !EnableLine(line, to, sizeof(to)) : !DisableLine(line, to, sizeof(to)))
        {
            // Already in the state asked for, or no room for the marker.
            tooLong += !enable && !IsDisabledLine(line);
            continue;
        }
        if (changed++ == 0)
            BeginLineGroup(st);
        char from[LAUNCH_LINE_SIZE];
        StrCopy(from, line);
        if (!RecordStep(st, UNDO_CHANGE, from, (unsigned)sel.rows[i], to, 0))
            break;
    }
    if (changed)
        EndLineGroup(st);
    if (tooLong)
    {
        CModalScope scope(st);
        MessageBoxA(st->hwnd, "A line too long to be kept in a comment was left enabled.", "Disable Line",
                    MB_OK | MB_ICONWARNING);
    }
    else if (!changed)
        MessageBeep(MB_ICONHAND);
}

// --- Run Selected Lines -----------------------------------------------------------

void OnRunEnded(EditorState* st, bool force)
{
    if (!st->runProcess)
        return;
    if (!force && WaitForSingleObject(st->runProcess, 0) == WAIT_TIMEOUT)
        return;
    KillTimer(st->hwnd, RUN_TIMER_ID);
    CloseHandle(st->runProcess);
    st->runProcess = nullptr;
    DeleteFileA(st->runFile);
    st->runFile[0] = '\0';
}

// The selected lines go to a temporary launch file that the interpreter runs
// on its own, checked first as Test checks the whole file; the file is
// removed when the interpreter ends (or with the editor).
void OnRunSelected(EditorState* st)
{
    Selection sel(st);
    if (!st->fileOpen || sel.n == 0)
    {
        MessageBeep(MB_ICONHAND);
        return;
    }
    OnRunEnded(st, true);
    char folder[MAX_PATH], path[MAX_PATH];
    DWORD len = GetTempPathA(sizeof(folder), folder);
    if (len == 0 || len >= sizeof(folder) || !GetTempFileNameA(folder, "tve", 0, path))
        return;
    CLaunchFile part;
    for (int i = 0; i < sel.n; i++)
        part.AppendAction(st->file.GetAction(sel.rows[i])->GetString());
    CModalScope scope(st);
    if (part.Save(path) != 0)
    {
        DeleteFileA(path);
        MessageBoxA(st->hwnd, "The selected lines could not be written to a temporary file.",
                    "Run Selected Lines", MB_OK | MB_ICONERROR);
        return;
    }
    char exe[MAX_PATH], cmd[2 * MAX_PATH + 32];
    GetMyDir(exe, sizeof(exe), "tvint.exe");
    StrFormat(cmd, sizeof(cmd), "\"%s\" -file=\"%s\"", exe, path);
    STARTUPINFOA si;
    ZeroMemory(&si, sizeof(si));
    si.cb = sizeof(si);
    PROCESS_INFORMATION pi;
    if (!CheckBeforeRun(st, path, sel.rows, sel.n))
    {
        DeleteFileA(path);
        return;
    }
    if (!CreateProcessA(exe, cmd, nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi))
    {
        DeleteFileA(path);
        MessageBoxA(st->hwnd, "The Tarvin interpreter (tvint.exe) could not be started.",
                    "Run Selected Lines", MB_OK | MB_ICONERROR);
        return;
    }
    CloseHandle(pi.hThread);
    st->runProcess = pi.hProcess;
    StrCopy(st->runFile, path);
    SetTimer(st->hwnd, RUN_TIMER_ID, 250, nullptr);
}

// --- Dragging rows ------------------------------------------------------------------

// The row a drop at the list's client point goes in front of: the row under
// it, or the next one from its lower half on; below the rows, the end.
static int DropPlace(EditorState* st, POINT pt)
{
    LVHITTESTINFO hit;
    ZeroMemory(&hit, sizeof(hit));
    hit.pt = pt;
    int row = ListView_HitTest(st->hList, &hit);
    int count = st->file.GetCount();
    if (row < 0)
    {
        RECT last;
        if (count > 0 && ListView_GetItemRect(st->hList, count - 1, &last, LVIR_BOUNDS) &&
            pt.y >= last.bottom)
            return count;
        return -1;
    }
    RECT rc;
    ListView_GetItemRect(st->hList, row, &rc, LVIR_BOUNDS);
    return pt.y >= (rc.top + rc.bottom) / 2 ? row + 1 : row;
}

static POINT ListPoint(EditorState* st, int x, int y)
{
    POINT pt = {x, y};
    MapWindowPoints(st->hwnd, st->hList, &pt, 1);
    return pt;
}

static void ShowInsertMark(EditorState* st, int before)
{
    LVINSERTMARK mark;
    mark.cbSize = sizeof(mark);
    mark.dwReserved = 0;
    int count = st->file.GetCount();
    mark.iItem = before < 0 ? -1 : before < count ? before : count - 1;
    mark.dwFlags = before >= count && count > 0 ? LVIM_AFTER : 0;
    ListView_SetInsertMark(st->hList, &mark);
}

void OnBeginDrag(EditorState* st, int row)
{
    if (!st->fileOpen || row < 0 || st->dragRow >= 0)
        return;
    st->dragRow = row;
    PostMessageA(st->hwnd, WM_EDITOR_DRAGSTART, 0, 0);
}

// The list's own procedure is replaced, not subclassed through comctl32:
// that way costs every message to the list a property lookup, which under
// Wine made filling a list of thousands of rows several times slower.
static LRESULT CALLBACK ListDragProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    EditorState* st = GetEditorState(GetParent(hwnd));
    if (!st || !st->listProc)
        return DefWindowProcA(hwnd, msg, wParam, lParam);
    WNDPROC listProc = st->listProc;
    POINT pt = {(int)(short)LOWORD(lParam), (int)(short)HIWORD(lParam)};
    switch (msg)
    {
        case WM_LBUTTONDOWN: {
            st->pressRow = -1;
            if (wParam & (MK_CONTROL | MK_SHIFT))
                break;
            LVHITTESTINFO hit;
            ZeroMemory(&hit, sizeof(hit));
            hit.pt = pt;
            int row = ListView_HitTest(hwnd, &hit);
            if (row >= 0 && ListView_GetItemState(hwnd, row, LVIS_SELECTED))
            {
                st->pressRow = row;
                st->pressPoint = pt;
            }
            break;
        }
        case WM_MOUSEMOVE:
            if (!(wParam & MK_LBUTTON))
                st->pressRow = -1;
            else if (st->pressRow >= 0 && (abs(pt.x - st->pressPoint.x) > GetSystemMetrics(SM_CXDRAG) ||
                                           abs(pt.y - st->pressPoint.y) > GetSystemMetrics(SM_CYDRAG)))
            {
                int row = st->pressRow;
                st->pressRow = -1;
                if (st->dragRow < 0)
                    OnBeginDrag(st, row);
            }
            break;
        case WM_LBUTTONUP:
            st->pressRow = -1;
            break;
        case WM_NCDESTROY:
            SetWindowLongPtrA(hwnd, GWLP_WNDPROC, (LONG_PTR)listProc);
            st->listProc = nullptr;
            break;
    }
    return CallWindowProcA(listProc, hwnd, msg, wParam, lParam);
}

void WatchListDrags(EditorState* st)
{
    if (st->hList && !st->listProc)
        st->listProc = (WNDPROC)SetWindowLongPtrA(st->hList, GWLP_WNDPROC, (LONG_PTR)ListDragProc);
}

void OnDragStart(EditorState* st)
{
    if (st->dragRow < 0)
        return;
    // Let go before the list was done with it: no drag.
    if (GetKeyState(VK_LBUTTON) >= 0)
    {
        st->dragRow = -1;
        return;
    }
    SetCapture(st->hwnd);
    SetCursor(LoadCursor(nullptr, IDC_SIZENS));
}

void OnDragMove(EditorState* st, int x, int y)
{
    if (st->dragRow < 0 || GetCapture() != st->hwnd)
        return;
    int before = DropPlace(st, ListPoint(st, x, y));
    ShowInsertMark(st, before);
    SetCursor(LoadCursor(nullptr, before < 0 ? IDC_NO : IDC_SIZENS));
}

void OnDrop(EditorState* st, int x, int y, bool cancel)
{
    if (st->dragRow < 0)
        return;
    // Capture lost (WM_CAPTURECHANGED comes after the change) is a cancel.
    bool captured = GetCapture() == st->hwnd;
    st->dragRow = -1;
    ShowInsertMark(st, -1);
    if (captured)
        ReleaseCapture();
    if (cancel || !captured)
        return;
    int before = DropPlace(st, ListPoint(st, x, y));
    Selection sel(st);
    if (before < 0 || sel.n == 0)
        return;
    LineMove* moves = new (std::nothrow) LineMove[(size_t)sel.n];
    int n = moves ? PlanDrop(sel.rows, sel.n, st->file.GetCount(), before, moves, nullptr) : 0;
    if (n > 0)
        RecordMoves(st, moves, n);
    delete[] moves;
}

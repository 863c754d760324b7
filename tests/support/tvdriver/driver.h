// GUI test driver: starts programs, finds their windows, waits for them,
// clicks, and reads what a user would see, including the common controls of
// other processes. Used in-process by end-to-end gtest programs (link
// tvdriverlib) and by the tvdriver.exe command line.
//
// Every wait polls a condition against a deadline; nothing sleeps blindly.
// Results of the waiting and acting calls are TVD_OK, TVD_FAIL or
// TVD_TIMEOUT (also the exit codes of tvdriver.exe).
#pragma once

#include <windows.h>
#include <commctrl.h>
#include <functional>

enum
{
    TVD_OK = 0,
    TVD_FAIL = 1,
    TVD_TIMEOUT = 2
};

enum
{
    TVD_MATCH_EXACT = 0,     // the whole title, case-sensitive
    TVD_MATCH_SUBSTRING = 1, // the title contains the text, case-sensitive
    TVD_MATCH_NOCASE = 2     // the title contains the text, ignoring ASCII case
};

const DWORD TVD_DEFAULT_TIMEOUT = 10000;

// Which top-level windows to look at. Null or 0 fields match anything.
struct DrvWindowQuery
{
    const char* className; // whole class name, case-insensitive
    const char* title;
    int match;
    DWORD pid;          // only windows of this process
    bool includeHidden; // also windows that are not visible
};

inline DrvWindowQuery DrvQuery(const char* className, const char* title, int match = TVD_MATCH_EXACT,
                               DWORD pid = 0)
{
    DrvWindowQuery wanted = {className, title, match, pid, false};
    return wanted;
}

// --- Waiting -------------------------------------------------------------

// Polls cond every pollMs until it returns true (TVD_OK) or the time is up
// (TVD_TIMEOUT). cond is always tried once more at the deadline.
int DrvWaitFor(const std::function<bool()>& cond, DWORD timeoutMs, DWORD pollMs = 20);

// --- Top-level windows ---------------------------------------------------

bool DrvWindowMatches(HWND hwnd, const DrvWindowQuery& wanted);
// The first match in the system's z-order, or null.
HWND DrvFindWindow(const DrvWindowQuery& wanted);
// Fills up to max handles; returns the number of matches (may exceed max).
int DrvFindWindows(const DrvWindowQuery& wanted, HWND* out, int max);
// True when the window's thread answers WM_NULL: its message loop runs, so
// a dialog has finished its initialisation.
bool DrvIsReady(HWND hwnd, DWORD answerMs = 1000);
// Waits for a match (visible unless includeHidden) that is ready; *out
// receives it, null on timeout (out may be null).
int DrvWaitWindow(const DrvWindowQuery& wanted, DWORD timeoutMs, HWND* out);
// Waits until no visible window matches (or none at all with includeHidden).
int DrvWaitWindowGone(const DrvWindowQuery& wanted, DWORD timeoutMs);
// Waits until the window is destroyed or hidden.
int DrvWaitHidden(HWND hwnd, DWORD timeoutMs);
// Waits until the window is destroyed.
int DrvWaitDestroyed(HWND hwnd, DWORD timeoutMs);

// --- Children and input --------------------------------------------------

// Searches all descendants (nested dialogs and pages too). className and
// text may be null; text is compared ignoring '&' mnemonics.
HWND DrvFindChildById(HWND parent, int id);
HWND DrvFindChild(HWND parent, const char* className, const char* text);

// Posted, never sent: a command that opens a modal dialog must not block
// the driver.
bool DrvPostCommand(HWND hwnd, int id);
bool DrvClose(HWND hwnd);
// BM_CLICK on the button with that id (searched among all descendants); a
// dialog without such a button gets WM_COMMAND id instead, which is how a
// message box takes IDOK/IDCANCEL/IDYES/IDNO.
bool DrvPressButton(HWND dialog, int id);
bool DrvClickButtonText(HWND parent, const char* caption);

// WM_GETTEXT and WM_SETTEXT are carried between processes by the system.
// Length of the text copied, or -1 when the window does not answer.
int DrvGetText(HWND hwnd, char* buf, size_t size);
bool DrvSetText(HWND hwnd, const char* text);

// --- Message boxes -------------------------------------------------------

// Waits for a ready "#32770" dialog with that caption (null: any) of that
// process (0: any).
int DrvWaitMessageBox(const char* caption, DWORD pid, DWORD timeoutMs, HWND* out);
// The message text (the static control 0xFFFF, else the first static with a
// text).
bool DrvMessageBoxText(HWND dialog, char* buf, size_t size);

// --- Common controls of another process ----------------------------------

int DrvListViewRowCount(HWND listView);
int DrvListViewColumnCount(HWND listView);
bool DrvListViewText(HWND listView, int row, int column, char* buf, size_t size);
// Index of the first selected row, -1 when none.
int DrvListViewSelected(HWND listView);
bool DrvListViewSelect(HWND listView, int row);
// Adds the row to the selection (or takes it out), leaving the other rows.
bool DrvListViewSetSelected(HWND listView, int row, bool selected);
// Returns the item state bits under mask (LVIS_*), -1 on failure.
int DrvListViewState(HWND listView, int row, UINT mask);

HTREEITEM DrvTreeRoot(HWND tree);
HTREEITEM DrvTreeChild(HWND tree, HTREEITEM item);
HTREEITEM DrvTreeNextSibling(HWND tree, HTREEITEM item);
HTREEITEM DrvTreeSelection(HWND tree);
bool DrvTreeSelect(HWND tree, HTREEITEM item);
bool DrvTreeText(HWND tree, HTREEITEM item, char* buf, size_t size);
// Depth-first search for the first item with exactly that text.
HTREEITEM DrvTreeFind(HWND tree, const char* text);
// Every item, one per line ending in "\n", indented two spaces per level.
// false when the buffer was too small (the dump is then cut).
bool DrvTreeDump(HWND tree, char* buf, size_t size);

// Screen points at the middle of a row's label and of a tree item's text.
bool DrvListViewRowPoint(HWND listView, int row, POINT* screen);
bool DrvTreeItemPoint(HWND tree, HTREEITEM item, POINT* screen);
// A drag with the left button and real mouse input, from one screen point to
// another: the button goes down at from, the pointer moves a little until
// the program's window holder has the mouse, as it takes it when a drag
// begins (false when it never does), then on to `to`, where the button goes
// up.
bool DrvDragMouse(POINT from, POINT to, HWND holder);

int DrvStatusPartCount(HWND statusBar);
bool DrvStatusText(HWND statusBar, int part, char* buf, size_t size);

// Combo and list boxes: the system carries these texts between processes.
int DrvComboCount(HWND combo);
int DrvComboSelected(HWND combo);
bool DrvComboText(HWND combo, int index, char* buf, size_t size);
// Selects the item and tells the combo box's parent, as a user's choice
// does (CB_SETCURSEL alone sends no CBN_SELCHANGE).
bool DrvComboSelect(HWND combo, int index);

// Date-time pickers: SYSTEMTIME travels through the target's memory. Get
// fails when the picker holds no time; Set tells the parent nothing (the
// programs read their pickers when a page closes).
bool DrvDateTimeGet(HWND picker, SYSTEMTIME* st);
bool DrvDateTimeSet(HWND picker, const SYSTEMTIME& st);

// Tab controls: a click on the tab, so the parent gets its TCN_SELCHANGE.
int DrvTabCount(HWND tab);
int DrvTabSelected(HWND tab);
bool DrvTabSelect(HWND tab, int index);
int DrvListBoxCount(HWND listBox);
bool DrvListBoxText(HWND listBox, int index, char* buf, size_t size);

// --- Notification area ---------------------------------------------------

// Wine shows tray icons in one of two ways, and both are handled:
// - no virtual desktop: its own "Wine System Tray" window with one child
//   window per icon;
// - virtual desktop: drawn inside the visible taskbar "Shell_TrayWnd", each
//   icon a rectangle known to the taskbar's tooltip.
// Mouse messages posted to the window at the icon's point reach the icon's
// owner as its callback message, exactly as a real click does.
struct DrvTrayIcon
{
    HWND window; // the icon's own window, or the taskbar
    POINT at;    // client coordinates of the icon's centre in window
};

// Icons as shown, left to right (the standalone tray adds new icons on the
// right, the taskbar on the left); the number of icons, of which up to max
// are stored.
int DrvTrayIcons(DrvTrayIcon* out, int max);
// The first icon whose tooltip contains tip (null or "": the first icon).
bool DrvFindTrayIcon(const char* tip, DrvTrayIcon* out);
// false when the icon has no tooltip.
bool DrvTrayIconTip(const DrvTrayIcon& icon, char* buf, size_t size);

enum
{
    TVD_CLICK_LEFT = 0,
    TVD_CLICK_RIGHT = 1,
    TVD_CLICK_DOUBLE = 2
};
bool DrvClickTrayIcon(const DrvTrayIcon& icon, int how);

// --- Processes -----------------------------------------------------------

struct DrvMemoryInfo
{
    SIZE_T workingSet;
    SIZE_T peakWorkingSet;
    SIZE_T privateBytes; // pagefile usage
};
bool DrvProcessMemory(DWORD pid, DrvMemoryInfo* info);
DWORD DrvWindowProcess(HWND hwnd);

// The folder of the running test program with a trailing backslash, then
// name: helper programs are built next to the tests.
bool DrvProgramPath(const char* name, char* buf, size_t size);

// One started program. Terminated on destruction unless Detach() was
// called, so a failing test leaves nothing running in the prefix.
class CDrvProcess
{
  public:
    CDrvProcess();
    ~CDrvProcess();
    CDrvProcess(const CDrvProcess&) = delete;
    CDrvProcess& operator=(const CDrvProcess&) = delete;

    // Starts exe (a path; quoted on the command line) with args. dir null:
    // the current folder. show < 0: no show command in STARTUPINFO.
    bool Start(const char* exe, const char* args, const char* dir = NULL, int show = -1);
    // As Start, with the child's stdout and stderr captured; read them with
    // Output() after WaitExit.
    bool StartCaptured(const char* exe, const char* args, const char* dir = NULL);
    // As Start, without the caller's console: as the shell starts a program.
    bool StartDetached(const char* exe, const char* args);

    DWORD Pid() const
    {
        return m_pi.dwProcessId;
    }
    HANDLE Handle() const
    {
        return m_pi.hProcess;
    }
    bool IsRunning() const;
    // TVD_OK with *exitCode set, or TVD_TIMEOUT.
    int WaitExit(DWORD timeoutMs, DWORD* exitCode = NULL);
    bool Kill(UINT exitCode = 1);
    void Detach();
    // Captured output so far, CR removed.
    const char* Output();

  private:
    bool DoStart(const char* exe, const char* args, const char* dir, int show, bool capture, DWORD flags = 0);
    void Drain();

    PROCESS_INFORMATION m_pi;
    HANDLE m_hOutRead;
    char* m_output;
    size_t m_outputLen;
    size_t m_outputCap;
};

// Runs a program to its end with its output captured: TVD_OK with the exit
// code, TVD_FAIL when it could not start, TVD_TIMEOUT (it is then killed).
int DrvRun(const char* exe, const char* args, DWORD timeoutMs, DWORD* exitCode, char* output, size_t size);

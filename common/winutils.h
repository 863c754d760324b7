// Windows version tests, window and dialog helpers, and list view set-up.
#pragma once

#include <windows.h>
#include <windowsx.h>
#include <commctrl.h>

// One case of a dialog procedure whose parameters are named hwnd, uMsg,
// wParam and lParam: the handler's result goes where the message wants it
// (DWLP_MSGRESULT or the return value), and the message counts as handled.
#define HANDLE_DLGMSG(hwnd, message, fn)                                                                     \
    case (message):                                                                                          \
        return SetDlgMsgResult(hwnd, uMsg, HANDLE_##message((hwnd), (wParam), (lParam), (fn)))

// Each reads the version information afresh.
BOOL IsWindowsNT();
BOOL IsWindows2000OrLater();
// NT family, major above 4 and minor not 0 (so 5.1 and 6.1, but not 6.0).
BOOL IsWindowsXP();
BOOL IsWindows98OrLater();

// Enables the named privilege ("SeShutdownPrivilege") in this process's
// token. 1 when the adjustment reported no error: AdjustTokenPrivileges
// succeeds even for a privilege the token lacks, and only the error tells.
int EnablePrivilege(const char* name);

// The rule by which launch-file actions pick windows: a visible top-level
// window whose title, lower-cased, contains the pattern (already lower-cased).
// An empty pattern and an untitled window match nothing.
bool WindowTitleMatches(HWND hwnd, const char* pattern);
// The same test on a title already read (cut to MAX_PATH - 1 characters).
bool TitleMatches(const char* title, const char* pattern);

// The named mutex an installer looks for to see the suite in use.
#define SUITE_IN_USE_MUTEX_NAME "__TVAGENT_UNINSTALL_MUTEX__"
// Creates (or opens) that mutex for the program to hold for its life; NULL
// when it cannot.
HANDLE HoldSuiteInUseMutex();

// Opens a topic of the help file in the program's own folder, for example
// "tv2.chm::/tvsched_main.html", with HTML Help bound at run time (a program
// still starts where the help engine is missing). The help window, or NULL.
HWND ShowHelpTopic(const char* topic);

// A program's private clipboard format holding one NUL-terminated text.
// Replaces the clipboard's content; false when the clipboard cannot be
// opened or the copy made (the clipboard is then left as it was or empty).
bool PutClipboardText(HWND owner, UINT format, const char* text);
// A terminated copy of the text in that format, read no further than the
// block's size (the block is another program's); delete[] it. NULL when the
// format is missing or the clipboard cannot be opened.
char* CopyClipboardText(HWND owner, UINT format);

// The program's about box: a dialog resource whose OK or Cancel closes it,
// centred over the owner.
void ShowAboutBox(HWND owner, HINSTANCE instance, int dialogId);

// A program's main window class: double clicks, the arrow cursor, the
// icons and background given. TRUE when registered.
BOOL RegisterMainWindowClass(HINSTANCE instance, const char* name, WNDPROC proc, HICON icon, HICON smallIcon,
                             HBRUSH background);

// Centres the window over its parent (or owner), or over the desktop when it
// has none; size, z-order and activation stay. 1, or 0 for a null window.
int CenterWindow(HWND hwnd);
// Gives a window its own taskbar button (WS_EX_APPWINDOW), for dialogs that
// may appear without a visible owner.
void ForceTaskbarButton(HWND hwnd);
// For a notice that opens by itself: its own taskbar button, centred, on top,
// in the foreground and with the focus.
void BringNoticeForward(HWND hwnd);
// Takes a list view's small-icon list away from it, then destroys the list:
// detached first, so the control never draws with a destroyed list.
void ReleaseListViewImages(HWND listView, HIMAGELIST images);

// Modeless dialogs kept in a handle slot that the dialog empties when it is
// destroyed (ForgetDialog). The dialog in *slot brought to the top, or NULL
// when none is open; a null slot holds none.
HWND RaiseOpenDialog(const HWND* slot);
// Creates the dialog with the desktop as its parent, stores the result in
// *slot (when there is a slot) and shows it unless its template already
// did. The dialog, or NULL.
HWND CreateModelessDialog(HINSTANCE instance, int id, DLGPROC proc, LPARAM param, HWND* slot);
// For WM_DESTROY: empties *slot when it still holds this dialog.
void ForgetDialog(HWND* slot, HWND hwnd);
// WM_DESTROY of a modeless dialog with a list view: detaches the dialog's
// state (DWLP_USER), releases the list's images and forgets the dialog. The
// state itself is the caller's to free.
void ReleaseListDialog(HWND dialog, int listId, HIMAGELIST images, HWND* slot);

struct ListViewColumn
{
    const char* title;
    int width;
};
// The columns in order, after any the list has.
void AddListViewColumns(HWND listView, const ListViewColumn* columns, int count);
// Full-row selection, the columns in order, and a new 16x16 small-icon list
// that the control shows. The image list (the caller's to release with
// ReleaseListViewImages), or NULL when it cannot be made.
HIMAGELIST SetUpListView(HWND listView, const ListViewColumn* columns, int count, int initialImages,
                         int grow);
// A row with its first column's text and an image (-1: none) at `row`; the
// index it got, or -1.
int InsertListRow(HWND listView, int row, const char* text, int image);
// After a refill: the row selected before (none when negative) is selected
// and focused again.
void ReselectListRow(HWND listView, int row);

// A main window's toolbar and status bar, each shown or hidden as asked and
// sized to the window (either may be null); a wrapping toolbar is cut to its
// rows of buttons. The client rectangle that is left between them.
RECT LayoutBars(HWND hwnd, HWND toolbar, bool showToolbar, HWND status, bool showStatus);

// Pages of wizards and property sheets: modeless child dialogs of a frame.
// Shows the page at the top left of the frame's placeholder control, in the
// page's own size.
void ShowPageAt(HWND frame, int areaId, HWND page);
// Shows the page over the tab control's display area, sized to it, on the
// tab's themed background.
void ShowTabPage(HWND frame, HWND tab, HWND page);
// Gives the focus to the page's first control that the tab key reaches.
void FocusFirstControl(HWND page);

// The font in bold, for titles; NULL when base is NULL or cannot be read.
// The caller deletes it.
HFONT CreateBoldFontFrom(HFONT base);
// The default GUI font in bold.
HFONT CreateBoldFont();

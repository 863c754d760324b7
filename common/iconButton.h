// Icon button: a flat button showing a large icon with its caption below; it
// lifts and changes colour under the mouse. A click reaches the parent as
// WM_COMMAND with the button's id, as from a push button.
#pragma once

#include <windows.h>

#define ICONBUTTON_CLASS "TVCLS_IconButton"

// Private messages; each redraws the button at once.
#define IBM_FORCENORMAL (WM_USER + 1) // stays flat even under the mouse
#define IBM_FORCEHOT (WM_USER + 2)    // looks lifted wherever the mouse is
#define IBM_RESETSTATE (WM_USER + 3)  // follows the mouse again

// Values of tagICONBUTTON_DATA::state.
#define IBS_NORMAL 0
#define IBS_HOT 1
#define IBS_FORCENORMAL 2
#define IBS_FORCEHOT 4

// The button's record, reached through GWLP_USERDATA.
struct tagICONBUTTON_DATA
{
    LONG state;
    HFONT font; // none: the default GUI font
};

// `text` is the caption, optionally followed by a tab and the tooltip text.
// The rectangle is in the parent's client coordinates. The icon becomes the
// window's big icon and stays the caller's. Returns the button, or none when
// the window class cannot be registered or the window cannot be created.
HWND CreateIconButton(HWND parent, HINSTANCE instance, int id, const RECT* rect, const char* text, HICON icon,
                      HFONT font);

// Shared by the suite's owner-drawn controls (icon button, static link).

// Splits "caption<TAB>tooltip" at the first tab; both parts are cut to their
// buffers. No tab gives an empty tooltip.
void SplitControlText(const char* text, char* caption, size_t captionSize, char* tip, size_t tipSize);
// Registers the class on first use; false when it cannot be registered.
bool RegisterControlClass(HINSTANCE instance, const char* name, WNDPROC proc);
// Balloon tooltip for the whole control; destroyed with DestroyControlTooltip.
HWND AddControlTooltip(HWND control, HINSTANCE instance, const RECT* rect, const char* tip);
void DestroyControlTooltip(HWND control);
// WM_MOUSEMOVE: the control holds the mouse capture exactly while the cursor
// is over it, and that is what "hot" means. Entering redraws; leaving
// releases the capture and WM_CAPTURECHANGED redraws.
void TrackControlHover(HWND control, LPARAM lParam);
// WM_LBUTTONUP: one WM_COMMAND to the parent when released over the control.
void NotifyControlClick(HWND control, LPARAM lParam);
void RedrawControl(HWND control);
// The part of the window procedure the controls share: WM_PAINT and
// WM_PRINTCLIENT through `paint` (which fills the whole client area, so
// WM_ERASEBKGND erases nothing), hover, click and the tooltip's end. True when
// the message was one of these, with its result in *result.
bool HandleControlMessage(HWND control, UINT msg, WPARAM wParam, LPARAM lParam, void (*paint)(HWND, HDC),
                          LRESULT* result);
// Registers the class on first use, creates the control with the caption of
// `text` (createParam reaches WM_NCCREATE) and gives it the tooltip of `text`.
// The control, or none.
HWND CreateOwnerDrawnControl(HWND parent, HINSTANCE instance, const char* className, WNDPROC proc, int id,
                             const RECT* rect, const char* text, void* createParam);

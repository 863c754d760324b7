// Static link: underlined text that changes colour under the mouse and acts
// like a push button (WM_COMMAND with its id to the parent on a click).
#pragma once

#include <windows.h>

#define STATICLINK_CLASS "TVCLS_StaticLink"

// `text` is the caption, optionally followed by a tab and the tooltip text.
// The rectangle is in the parent's client coordinates. Returns the link, or
// none when the window class cannot be registered or the window cannot be
// created. Its user data is its hot flag (0 or 1). It draws in an underlined
// copy of the default GUI font, made once and deleted with the link
// (WM_GETFONT returns it).
HWND CreateStaticLink(HWND parent, HINSTANCE instance, int id, const RECT* rect, const char* text);

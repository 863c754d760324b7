// Windows the agent has taken off the screen, each with the visible windows
// it owned at the time, in the order they were hidden. Lives as long as the
// agent; never saved.
#pragma once

#include <windows.h>
#include "PtrList.h"

const unsigned HIDDEN_TITLE_SIZE = 256;
const unsigned HIDDEN_MAX_RELATED = 256;

// The end of the window's GetParent chain: the window that is hidden in its
// place. A child climbs to its top-level window and a pop-up to its owner,
// but an owned overlapped window (a tool palette, say) is its own top: it is
// hidden alone, under its own title.
HWND GetTopParent(HWND hwnd);
// True when owner is on the window's parent or owner chain: the windows
// hidden and shown again together with owner.
bool IsOwnedBy(HWND hwnd, HWND owner);

class CHiddenWnd
{
  public:
    CHiddenWnd();
    virtual ~CHiddenWnd();
    CHiddenWnd(const CHiddenWnd&) = delete;
    CHiddenWnd& operator=(const CHiddenWnd&) = delete;

    // Re-reads the window's title into the record.
    void ReadTitle();

    HWND hwnd;
    char* title; // HIDDEN_TITLE_SIZE bytes, owned
    HWND related[HIDDEN_MAX_RELATED];
    DWORD relatedCount;
};

class CHiddenWindows : public CPtrList<CHiddenWnd>
{
  public:
    // Hides the window's top (GetTopParent) and the visible windows it owns,
    // directly or through other owned windows, and records them. 1; 0 for a
    // null window.
    int Hide(HWND hwnd);
    // Shows the record's window, then its owned windows without activating
    // them, and drops the record. 0 when there is no record at index.
    int Show(unsigned index);
    // Drops the records of windows that no longer exist and re-reads the
    // titles of the others. 1.
    int Refresh();
    // Show(0) once for each record there was.
    void ShowAll();
};

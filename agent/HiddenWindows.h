// Windows the agent has taken off the screen, each with the visible windows
// it owned at the time, in the order they were hidden. Lives as long as the
// agent; a journal of it in the files folder lets the next start bring the
// windows back when the agent did not end normally.
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
// The id of the process that owns the window; 0 for none.
DWORD WindowProcess(HWND hwnd);

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
    // The owning processes when hidden: a handle that later names another
    // process's window is not journalled as ours.
    DWORD pid;
    DWORD relatedPid[HIDDEN_MAX_RELATED];
};

class CHiddenWindows : public CPtrList<CHiddenWnd>
{
  public:
    CHiddenWindows();
    // Told when the journal cannot be written, once until a write succeeds.
    typedef void (*JournalWarning)(void* context);
    // From now on every change of the list rewrites the journal at path
    // (null or "": no journal). The records already there are written at once.
    void SetJournal(const char* path, JournalWarning warn = nullptr, void* context = nullptr);
    // Writes the journal again when its last write failed; the agent's
    // one-second tick calls it, so a journal that could not be written is
    // tried until it can.
    void RetryJournal();
    // Hides the window's top (GetTopParent) and the visible windows it owns,
    // directly or through other owned windows, and records them; all of them
    // are in the journal before the first is hidden. 1; 0 for a null window.
    int Hide(HWND hwnd);
    // Shows the record's window, then its owned windows without activating
    // them, and drops the record. 0 when there is no record at index.
    int Show(unsigned index);
    // Drops the records of windows that no longer exist and re-reads the
    // titles of the others. 1.
    int Refresh();
    // Show(0) once for each record there was.
    void ShowAll();

  private:
    // One line per recorded window that is still there and still of the
    // process that owned it; only the header when there is none. false when
    // the save failed: RetryJournal tries again.
    bool SaveJournal();
    bool WriteJournal();

    char m_journal[MAX_PATH];
    bool m_journalFailed;
    JournalWarning m_warn;
    void* m_warnContext;
};

// At start, before the journal is kept again: shows each window the journal
// at path names that still exists, belongs to the same process, is of the
// same class and is hidden; then empties the journal. The number of windows
// shown; *listed (may be null) gets the number the journal named.
unsigned RestoreJournalWindows(const char* path, unsigned* listed);

#include "HiddenWindows.h"

#include "hiddenjournal.h"
#include "safesave.h"
#include "strutils.h"

namespace
{
// Owner and parent chains end well before this; the cap only guards the
// walks against a chain that changes under them.
const int kMaxClimb = 4096;

BOOL CALLBACK ListOwnedProc(HWND hwnd, LPARAM lParam)
{
    CHiddenWnd* record = (CHiddenWnd*)lParam;
    if (hwnd == record->hwnd || !IsWindowVisible(hwnd) || !IsOwnedBy(hwnd, record->hwnd))
        return TRUE;
    // Past the array's end a window stays visible: hiding it without a record
    // would leave no way to bring it back.
    if (record->relatedCount >= HIDDEN_MAX_RELATED)
        return TRUE;
    record->relatedPid[record->relatedCount] = WindowProcess(hwnd);
    record->related[record->relatedCount++] = hwnd;
    return TRUE;
}

// The journal line of a window that is still the one hidden; false when the
// handle is gone or now names a window of another process.
bool DescribeWindow(HWND hwnd, DWORD pid, int owned, tagHIDDEN_LINE* line)
{
    if (!hwnd || !IsWindow(hwnd) || pid == 0 || WindowProcess(hwnd) != pid)
        return false;
    line->hwnd = (unsigned long)(ULONG_PTR)hwnd;
    line->pid = pid;
    line->owned = owned;
    line->className[0] = line->title[0] = '\0';
    if (GetClassNameA(hwnd, line->className, (int)sizeof(line->className)) <= 0)
        line->className[0] = '\0';
    if (GetWindowTextA(hwnd, line->title, (int)sizeof(line->title)) <= 0)
        line->title[0] = '\0';
    line->className[sizeof(line->className) - 1] = line->title[sizeof(line->title) - 1] = '\0';
    return true;
}

struct RestoreState
{
    unsigned listed;
    unsigned shown;
};

void RestoreLine(const tagHIDDEN_LINE& line, void* context)
{
    RestoreState* state = (RestoreState*)context;
    state->listed++;
    HWND hwnd = (HWND)(ULONG_PTR)line.hwnd;
    // A handle of a window that is gone may since have been given to
    // another window; only the same process's window of the same class is
    // taken for the one that was hidden.
    if (!IsWindow(hwnd) || WindowProcess(hwnd) != line.pid || IsWindowVisible(hwnd))
        return;
    char cls[HIDDEN_TEXT_SIZE] = "";
    GetClassNameA(hwnd, cls, (int)sizeof(cls));
    if (strcmp(cls, line.className) != 0)
        return;
    ShowWindow(hwnd, line.owned ? SW_SHOWNA : SW_SHOW);
    state->shown++;
}
} // namespace

DWORD WindowProcess(HWND hwnd)
{
    DWORD pid = 0;
    if (!hwnd || !GetWindowThreadProcessId(hwnd, &pid))
        return 0;
    return pid;
}

HWND GetTopParent(HWND hwnd)
{
    for (int i = 0; hwnd && i < kMaxClimb; i++)
    {
        HWND next = GetParent(hwnd);
        if (!next)
            break;
        hwnd = next;
    }
    return hwnd;
}

bool IsOwnedBy(HWND hwnd, HWND owner)
{
    if (!owner)
        return false;
    for (int i = 0; hwnd && i < kMaxClimb; i++)
    {
        // GetParent gives the owner of a pop-up only; an owned overlapped
        // window (a common kind of tool window) names its owner through
        // GW_OWNER.
        HWND next = GetParent(hwnd);
        if (!next)
            next = GetWindow(hwnd, GW_OWNER);
        if (next == owner)
            return true;
        hwnd = next;
    }
    return false;
}

CHiddenWnd::CHiddenWnd() : hwnd(NULL), title(new char[HIDDEN_TITLE_SIZE]), relatedCount(0), pid(0)
{
    title[0] = '\0';
    ZeroMemory(related, sizeof(related));
    ZeroMemory(relatedPid, sizeof(relatedPid));
}

CHiddenWnd::~CHiddenWnd()
{
    delete[] title;
}

void CHiddenWnd::ReadTitle()
{
    title[0] = '\0';
    if (GetWindowTextA(hwnd, title, (int)HIDDEN_TITLE_SIZE) <= 0)
        title[0] = '\0';
    title[HIDDEN_TITLE_SIZE - 1] = '\0';
}

int CHiddenWindows::Hide(HWND hwnd)
{
    if (!hwnd)
        return 0;
    CHiddenWnd* record = new CHiddenWnd;
    record->hwnd = GetTopParent(hwnd);
    record->pid = WindowProcess(record->hwnd);
    record->ReadTitle();
    EnumWindows(ListOwnedProc, (LPARAM)record);
    Add(record, true);

    // The whole family is listed before any of it goes: an agent killed in
    // between leaves visible windows listed, which the next start passes
    // over, never a hidden window unlisted.
    SaveJournal();
    ShowWindow(record->hwnd, SW_HIDE);
    for (DWORD i = 0; i < record->relatedCount; i++)
        ShowWindow(record->related[i], SW_HIDE);
    return 1;
}

int CHiddenWindows::Show(unsigned index)
{
    CHiddenWnd* record = GetAt(index);
    if (!record)
        return 0;
    ShowWindow(record->hwnd, SW_SHOW);
    for (DWORD i = 0; i < record->relatedCount && i < HIDDEN_MAX_RELATED; i++)
        ShowWindow(record->related[i], SW_SHOWNA);
    Delete(index);
    SaveJournal();
    return 1;
}

int CHiddenWindows::Refresh()
{
    // Start again from the first record after every removal: Delete leaves
    // the list's cursor nowhere.
    bool removed = true, changed = false;
    while (removed)
    {
        removed = false;
        ResetCur();
        for (CHiddenWnd* record = GetCur(); record; record = GetNext())
        {
            if (!IsWindow(record->hwnd))
            {
                Delete((unsigned)GetCurIndex());
                removed = changed = true;
                break;
            }
            record->ReadTitle();
        }
    }
    if (changed)
        SaveJournal();
    return 1;
}

void CHiddenWindows::ShowAll()
{
    for (unsigned n = GetSize(); n > 0; n--)
        Show(0);
}

CHiddenWindows::CHiddenWindows() : m_journalFailed(false), m_warn(nullptr), m_warnContext(nullptr)
{
    m_journal[0] = '\0';
}

void CHiddenWindows::SetJournal(const char* path, JournalWarning warn, void* context)
{
    m_journal[0] = '\0';
    m_journalFailed = false;
    m_warn = warn;
    m_warnContext = context;
    if (path && !StrCopy(m_journal, sizeof(m_journal), path))
        m_journal[0] = '\0';
    if (m_journal[0] && GetSize() > 0)
        SaveJournal();
}

void CHiddenWindows::RetryJournal()
{
    if (m_journalFailed)
        SaveJournal();
}

bool CHiddenWindows::SaveJournal()
{
    if (!m_journal[0])
        return true;
    if (WriteJournal())
    {
        m_journalFailed = false;
        return true;
    }
    // One warning for a run of failures: the tick retries every second.
    if (!m_journalFailed && m_warn)
        m_warn(m_warnContext);
    m_journalFailed = true;
    return false;
}

bool CHiddenWindows::WriteJournal()
{
    CSafeSave save;
    if (!save.Begin(m_journal))
        return false;
    save.WriteLine(HIDDENFILE_HEADER);
    char text[HIDDEN_LINE_SIZE];
    tagHIDDEN_LINE line;
    for (unsigned i = 0; i < GetSize(); i++)
    {
        CHiddenWnd* record = GetAt(i);
        if (!record)
            continue;
        if (DescribeWindow(record->hwnd, record->pid, 0, &line) &&
            FormatHiddenLine(text, sizeof(text), &line))
            save.WriteLine(text);
        for (DWORD r = 0; r < record->relatedCount && r < HIDDEN_MAX_RELATED; r++)
        {
            if (DescribeWindow(record->related[r], record->relatedPid[r], 1, &line) &&
                FormatHiddenLine(text, sizeof(text), &line))
                save.WriteLine(text);
        }
    }
    return save.Commit();
}

unsigned RestoreJournalWindows(const char* path, unsigned* listed)
{
    RestoreState state = {0, 0};
    if (path && path[0] && ReadHiddenJournal(path, RestoreLine, &state) && state.listed > 0)
    {
        // Left full, the journal would have the start after the next crash
        // show windows that their own programs have hidden since.
        CSafeSave save;
        if (save.Begin(path))
        {
            save.WriteLine(HIDDENFILE_HEADER);
            save.Commit();
        }
    }
    if (listed)
        *listed = state.listed;
    return state.shown;
}

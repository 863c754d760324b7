#include "HiddenWindows.h"

#include "strutils.h"

namespace
{
// Owner and parent chains end well before this; the cap only guards the
// walks against a chain that changes under them.
const int kMaxClimb = 4096;

BOOL CALLBACK HideOwnedProc(HWND hwnd, LPARAM lParam)
{
    CHiddenWnd* record = (CHiddenWnd*)lParam;
    if (hwnd == record->hwnd || !IsWindowVisible(hwnd) || !IsOwnedBy(hwnd, record->hwnd))
        return TRUE;
    // Past the array's end a window stays visible: hiding it without a record
    // would leave no way to bring it back.
    if (record->relatedCount >= HIDDEN_MAX_RELATED)
        return TRUE;
    ShowWindow(hwnd, SW_HIDE);
    record->related[record->relatedCount++] = hwnd;
    return TRUE;
}
} // namespace

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

CHiddenWnd::CHiddenWnd() : hwnd(NULL), title(new char[HIDDEN_TITLE_SIZE]), relatedCount(0)
{
    title[0] = '\0';
    ZeroMemory(related, sizeof(related));
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
    record->ReadTitle();
    Add(record, true);

    ShowWindow(record->hwnd, SW_HIDE);
    EnumWindows(HideOwnedProc, (LPARAM)record);
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
    return 1;
}

int CHiddenWindows::Refresh()
{
    // Start again from the first record after every removal: Delete leaves
    // the list's cursor nowhere.
    bool removed = true;
    while (removed)
    {
        removed = false;
        ResetCur();
        for (CHiddenWnd* record = GetCur(); record; record = GetNext())
        {
            if (!IsWindow(record->hwnd))
            {
                Delete((unsigned)GetCurIndex());
                removed = true;
                break;
            }
            record->ReadTitle();
        }
    }
    return 1;
}

void CHiddenWindows::ShowAll()
{
    for (unsigned n = GetSize(); n > 0; n--)
        Show(0);
}

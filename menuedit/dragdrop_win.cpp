// Drag and drop of the list's entries: onto another row of the list, which
// moves the entry to that row, or onto a submenu of the tree, which moves it
// to the end of that submenu. The main window holds the mouse while a row is
// dragged; the drop is one undo step, like a cut and paste.
#include <windows.h>
#include <commctrl.h>

#include "meditstate.h"

namespace
{

// Where the pointer is: a submenu of the tree (parent set, index past the
// end), a place in the shown list (parent the shown submenu), or nowhere.
struct DropPlace
{
    long parent = -1;
    unsigned index = 0;
    HTREEITEM node = nullptr;
    int row = -1;
};

const unsigned kAtEnd = 0xFFFFFFFFu;

bool PointIn(HWND child, POINT screen, POINT* local)
{
    RECT rc;
    *local = screen;
    if (!child || !IsWindowVisible(child) || !ScreenToClient(child, local) || !GetClientRect(child, &rc))
        return false;
    return PtInRect(&rc, *local) != 0;
}

long TreeNodeId(HWND tree, HTREEITEM node)
{
    TVITEMA tvi;
    ZeroMemory(&tvi, sizeof(tvi));
    tvi.mask = TVIF_PARAM | TVIF_HANDLE;
    tvi.hItem = node;
    return SendMessageA(tree, TVM_GETITEMA, 0, (LPARAM)&tvi) ? (long)tvi.lParam : -1;
}

DropPlace FindDropPlace(MeditState* st, POINT screen)
{
    DropPlace place;
    POINT pt;
    if (PointIn(st->hTree, screen, &pt))
    {
        TVHITTESTINFO hit;
        ZeroMemory(&hit, sizeof(hit));
        hit.pt = pt;
        HTREEITEM node = TreeView_HitTest(st->hTree, &hit);
        if (node && (hit.flags & TVHT_ONITEM))
        {
            place.node = node;
            place.parent = TreeNodeId(st->hTree, node);
            place.index = kAtEnd;
        }
        return place;
    }
    if (PointIn(st->hList, screen, &pt))
    {
        LVHITTESTINFO hit;
        ZeroMemory(&hit, sizeof(hit));
        hit.pt = pt;
        int row = ListView_HitTest(st->hList, &hit);
        place.parent = SelectedTreeId(st);
        place.row = row;
        // Below the last row: the end of the list.
        place.index = row >= 0 ? (unsigned)row : kAtEnd;
    }
    return place;
}

// A drop that changes nothing (the entry's own row, or the submenu it is in
// already) is no move at all.
bool IsMove(MeditState* st, const DropPlace& place)
{
    if (place.parent < 0)
        return false;
    long shown = SelectedTreeId(st);
    if (place.node)
        return place.parent != shown &&
               st->menu.CanMoveItem((unsigned long)st->dragId, (unsigned long)place.parent);
    int from = FindListRow(st, (unsigned long)st->dragId);
    int rows = ListView_GetItemCount(st->hList);
    int to = place.index == kAtEnd ? rows - 1 : (int)place.index;
    return from >= 0 && to != from;
}

void ClearHighlight(MeditState* st)
{
    TreeView_SelectDropTarget(st->hTree, nullptr);
    ListView_SetItemState(st->hList, -1, 0, LVIS_DROPHILITED);
}

} // namespace

void BeginListDrag(MeditState* st, int row)
{
    if (!st->menuOpen || row < 0)
        return;
    LVITEMA lvi;
    ZeroMemory(&lvi, sizeof(lvi));
    lvi.mask = LVIF_PARAM;
    lvi.iItem = row;
    if (!SendMessageA(st->hList, LVM_GETITEMA, 0, (LPARAM)&lvi))
        return;
    st->dragId = (long)lvi.lParam;
    SetCapture(st->hwnd);
}

bool TrackListDrag(MeditState* st, POINT screen)
{
    if (st->dragId < 0)
        return false;
    DropPlace place = FindDropPlace(st, screen);
    bool move = IsMove(st, place);
    ClearHighlight(st);
    if (move && place.node)
        TreeView_SelectDropTarget(st->hTree, place.node);
    else if (move && place.row >= 0)
        ListView_SetItemState(st->hList, place.row, LVIS_DROPHILITED, LVIS_DROPHILITED);
    SetCursor(LoadCursor(nullptr, move ? IDC_ARROW : IDC_NO));
    return true;
}

bool EndListDrag(MeditState* st, POINT screen, bool drop)
{
    if (st->dragId < 0)
        return false;
    unsigned long id = (unsigned long)st->dragId;
    st->dragId = -1;
    if (GetCapture() == st->hwnd)
        ReleaseCapture();
    ClearHighlight(st);
    if (!drop)
        return true;
    DropPlace place = FindDropPlace(st, screen);
    st->dragId = (long)id;
    bool move = IsMove(st, place);
    st->dragId = -1;
    if (!move)
        return true;

    long shown = SelectedTreeId(st);
    AddUndo(st->hwnd);
    if (!st->menu.MoveItem(id, (unsigned long)place.parent, place.index))
    {
        // Refused after all: the step just recorded is not one.
        st->undo.DropLast();
        MessageBeep(MB_ICONHAND);
    }
    // The tree and the list show the new order; the submenu that was shown
    // stays shown, with the moved entry selected when it is still there.
    BuildTree(st);
    SelectTreeNode(st, (unsigned long)shown);
    SelectListRow(st, FindListRow(st, id));
    st->treeHasFocus = false;
    UpdateUI(st);
    return true;
}

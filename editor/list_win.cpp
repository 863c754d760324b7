// The list of actions and the interface state that follows it: title,
// status bar, enabled commands. Their texts come from listTexts.cpp.
#include <windows.h>
#include <commctrl.h>
#include <initializer_list>
#include <new>

#include "editor.h"
#include "edit_res.h"
#include "listTexts.h"
#include "strutils.h"
#include "LineBlock.h"

int GetListSelIndex(EditorState* st)
{
    return st->hList ? ListView_GetNextItem(st->hList, -1, LVNI_SELECTED) : -1;
}

int GetSelectedRows(EditorState* st, int** rows)
{
    *rows = nullptr;
    int n = st->hList ? ListView_GetSelectedCount(st->hList) : 0;
    if (n <= 0)
        return 0;
    *rows = new (std::nothrow) int[(size_t)n];
    if (!*rows)
        return 0;
    int found = 0;
    for (int i = ListView_GetNextItem(st->hList, -1, LVNI_SELECTED); i >= 0 && found < n;
         i = ListView_GetNextItem(st->hList, i, LVNI_SELECTED))
        (*rows)[found++] = i;
    return NormalizeSelection(*rows, found, st->file.GetCount());
}

void SelectRow(EditorState* st, int index)
{
    if (!st->hList)
        return;
    if (index >= 0)
        st->lastTouched = index;
    // Within an edit of several lines every touched row joins the selection.
    if (!st->addSelect || index < 0)
        ListView_SetItemState(st->hList, -1, 0, LVIS_SELECTED | LVIS_FOCUSED);
    if (index >= 0)
    {
        ListView_SetItemState(st->hList, index, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
        ListView_EnsureVisible(st->hList, index, FALSE);
    }
}

// The list's pictures are in action code order, after the picture of lines
// that are no action.
static int ActionImage(int code)
{
    return code < LA_COMMENT || code > LA_MESSAGE ? 0 : code + 1;
}

void UpdateList(EditorState* st, CLaunchAction* action, int index, bool insert)
{
    if (!st->hList || !action)
        return;
    // The texts and the picture are asked for when the row is painted
    // (OnListDispInfo): a large file is listed without formatting each row.
    if (insert)
    {
        LVITEMA item;
        ZeroMemory(&item, sizeof(item));
        item.mask = LVIF_TEXT | LVIF_IMAGE;
        item.iItem = index;
        item.pszText = LPSTR_TEXTCALLBACK;
        item.iImage = I_IMAGECALLBACK;
        index = (int)SendMessageA(st->hList, LVM_INSERTITEMA, 0, (LPARAM)&item);
        if (index < 0)
            return;
        ListView_SetItemText(st->hList, index, 1, LPSTR_TEXTCALLBACK);
    }
    else
        ListView_RedrawItems(st->hList, index, index);
    if (!st->filling)
        SelectRow(st, index);
}

void OnListDispInfo(EditorState* st, NMLVDISPINFOA* info)
{
    CLaunchAction* action = st->file.GetAction(info->item.iItem);
    if (!action)
        return;
    // A disabled line is also greyed (see OnListCustomDraw).
    EditorRowTexts row;
    FormatEditorRow(*action, &row);
    if ((info->item.mask & LVIF_TEXT) && info->item.pszText && info->item.cchTextMax > 0)
        StrCopy(info->item.pszText, (size_t)info->item.cchTextMax,
                info->item.iSubItem == 0 ? row.name : row.description);
    if (info->item.mask & LVIF_IMAGE)
        info->item.iImage = ActionImage(row.action);
}

void BuildList(EditorState* st)
{
    if (!st->hList)
        return;
    SendMessageA(st->hList, WM_SETREDRAW, FALSE, 0);
    // One interface update at the end, not one per row's selection change.
    st->filling = true;
    ListView_DeleteAllItems(st->hList);
    // One walk over the file: GetAction(i) walks from the first line each time.
    int i = 0;
    st->file.ResetCur();
    for (CLaunchAction* action = st->file.GetCur(); action; action = st->file.GetNext())
        UpdateList(st, action, i++, true);
    SelectRow(st, -1);
    st->filling = false;
    SendMessageA(st->hList, WM_SETREDRAW, TRUE, 0);
    InvalidateRect(st->hList, nullptr, TRUE);
    UpdateUI(st);
}

bool ApplyInsert(EditorState* st, const char* text, int index)
{
    if (index < 0 || index > st->file.GetCount())
        return false;
    st->file.InsertAction(text, index);
    UpdateList(st, st->file.GetAction(index), index, true);
    return true;
}

bool ApplyDelete(EditorState* st, int index)
{
    if (!st->file.DeleteAction(index))
        return false;
    if (st->hList)
        ListView_DeleteItem(st->hList, index);
    int count = st->file.GetCount();
    st->lastTouched = index;
    if (!st->addSelect)
        SelectRow(st, index < count ? index : count - 1);
    return true;
}

bool ApplyReplace(EditorState* st, int index, const char* text)
{
    if (index < 0 || index >= st->file.GetCount())
        return false;
    st->file.DeleteAction(index);
    st->file.InsertAction(text, index);
    UpdateList(st, st->file.GetAction(index), index, false);
    return true;
}

bool ApplyMove(EditorState* st, int from, int to)
{
    if (from == to || !st->file.MoveAction(from, to))
        return false;
    if (st->hList)
        ListView_DeleteItem(st->hList, from);
    UpdateList(st, st->file.GetAction(to), to, true);
    return true;
}

LRESULT OnListCustomDraw(EditorState* st, NMLVCUSTOMDRAW* cd)
{
    switch (cd->nmcd.dwDrawStage)
    {
        case CDDS_PREPAINT:
            return CDRF_NOTIFYITEMDRAW;
        case CDDS_ITEMPREPAINT: {
            CLaunchAction* action = st->file.GetAction((int)cd->nmcd.dwItemSpec);
            if (action && IsDisabledLine(action->GetString()))
                cd->clrText = GetSysColor(COLOR_GRAYTEXT);
            return CDRF_DODEFAULT;
        }
    }
    return CDRF_DODEFAULT;
}

static void Enable(EditorState* st, int id, bool enabled)
{
    EnableMenuItem(GetMenu(st->hwnd), id, MF_BYCOMMAND | (enabled ? MF_ENABLED : MF_GRAYED));
    if (st->hToolbar)
        SendMessageA(st->hToolbar, TB_ENABLEBUTTON, id, enabled);
}

void UpdateUI(EditorState* st)
{
    bool modified = IsModified(st);
    char title[MAX_PATH + 64];
    EditorTitle(st->fileOpen, st->path, modified, title, sizeof(title));
    SetWindowTextA(st->hwnd, title);
    if (st->hStatus)
        SendMessageA(st->hStatus, SB_SETTEXTA, 0, (LPARAM)EditorStatusText(st->fileOpen, st->path));

    int sel = GetListSelIndex(st);
    int last = sel;
    for (int i = sel; i >= 0; i = ListView_GetNextItem(st->hList, i, LVNI_SELECTED))
        last = i;
    int count = st->file.GetCount();
    bool open = st->fileOpen;
    Enable(st, IDM_SAVE, open && modified);
    for (int id : {IDM_SAVEAS, IDM_ADDTOMENU, IDM_CUT, IDM_COPY, IDM_PASTE, IDM_INSERT_WIZARD,
                   IDM_INSERT_WEBSITE, IDM_INSERT, IDM_TEST, IDM_TEST2})
        Enable(st, id, open);
    for (int id = IDM_INSERT_FIRST; id <= IDM_INSERT_LAST; id++)
        Enable(st, id, open);
    Enable(st, IDM_UNDO, st->undo.GetSize() > 0);
    Enable(st, IDM_REDO, st->redo.GetSize() > 0);
    for (int id : {IDM_PROPERTIES, IDM_DELETE, IDM_DISABLE, IDM_ENABLE, IDM_RUNSELECTED})
        Enable(st, id, sel >= 0);
    Enable(st, IDM_MOVEUP, sel > 0);
    Enable(st, IDM_MOVEDOWN, sel >= 0 && last < count - 1);
    DrawMenuBar(st->hwnd);
}

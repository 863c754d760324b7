// The undo and redo histories: each edit of the open file is one CUndoItem;
// undo applies its opposite, redo applies it again.
#include <windows.h>
#include <commctrl.h>
#include <new>

#include "editor.h"
#include "strutils.h"

CUndoItem::CUndoItem(unsigned kind, const char* fromText, unsigned fromIndex, const char* toText,
                     unsigned toIndex)
    : m_nKind(kind), m_nFromIndex(fromIndex), m_nToIndex(toIndex)
{
    SetFromString(fromText);
    SetToString(toText);
}

CUndoItem::CUndoItem(const CUndoItem& other)
{
    Copy(other);
}

void CUndoItem::Copy(const CUndoItem& other)
{
    m_nKind = other.m_nKind;
    m_nFromIndex = other.m_nFromIndex;
    m_nToIndex = other.m_nToIndex;
    m_nGroup = other.m_nGroup;
    SetFromString(other.m_szFrom);
    SetToString(other.m_szTo);
}

void CUndoItem::SetFromString(const char* text)
{
    StrCopy(m_szFrom, text ? text : "");
}

void CUndoItem::SetToString(const char* text)
{
    StrCopy(m_szTo, text ? text : "");
}

bool AddUndo(EditorState* st, unsigned kind, const char* fromText, unsigned fromIndex, const char* toText,
             unsigned toIndex)
{
    CUndoItem* item = new (std::nothrow) CUndoItem(kind, fromText, fromIndex, toText, toIndex);
    if (!item)
    {
        MessageBoxA(st->hwnd, "Failed to add undo", "Tarvin Editor", MB_OK | MB_ICONERROR);
        return false;
    }
    item->m_nGroup = st->undoGroup;
    st->redo.Clear();
    st->undo.Add(item, true);
    UpdateUI(st);
    return true;
}

static void DoUndo(EditorState* st, const CUndoItem& item)
{
    int from = (int)item.m_nFromIndex;
    switch (item.m_nKind)
    {
        case UNDO_MOVE:
            ApplyMove(st, (int)item.m_nToIndex, from);
            break;
        case UNDO_INSERT:
            ApplyDelete(st, from);
            break;
        case UNDO_DELETE:
            ApplyInsert(st, item.GetFromString(), from);
            break;
        case UNDO_CHANGE:
            ApplyReplace(st, from, item.GetFromString());
            break;
    }
}

void DoRedo(EditorState* st, const CUndoItem& item)
{
    int from = (int)item.m_nFromIndex;
    switch (item.m_nKind)
    {
        case UNDO_MOVE:
            ApplyMove(st, from, (int)item.m_nToIndex);
            break;
        case UNDO_INSERT:
            ApplyInsert(st, item.GetFromString(), from);
            break;
        case UNDO_DELETE:
            ApplyDelete(st, from);
            break;
        case UNDO_CHANGE:
            ApplyReplace(st, from, item.GetToString());
            break;
    }
}

// Moves the newest step of one history to the other, applying it on the way,
// and with it the rest of its group. Each step is copied before it leaves its
// list, which owns it.
static void Transfer(EditorState* st, CPtrList<CUndoItem>& from, CPtrList<CUndoItem>& to, bool undo)
{
    unsigned count = from.GetSize();
    if (count == 0)
        return;
    unsigned group = from.GetAt(count - 1)->m_nGroup;
    if (group)
        BeginLineGroup(st, false);
    do
    {
        CUndoItem* moved = new (std::nothrow) CUndoItem(*from.GetAt(count - 1));
        if (!moved)
            break;
        from.Delete(count - 1);
        if (undo)
            DoUndo(st, *moved);
        else
            DoRedo(st, *moved);
        to.Add(moved, true);
        count--;
    } while (group && count > 0 && from.GetAt(count - 1)->m_nGroup == group);
    if (group)
        EndLineGroup(st);
    UpdateUI(st);
}

unsigned BeginLineGroup(EditorState* st, bool record)
{
    st->undoGroup = record ? ++st->lastGroup : 0;
    st->addSelect = true;
    SelectRow(st, -1);
    return st->undoGroup;
}

void EndLineGroup(EditorState* st)
{
    st->undoGroup = 0;
    st->addSelect = false;
    if (st->hList && ListView_GetSelectedCount(st->hList) == 0 && st->file.GetCount() > 0)
        SelectRow(st, st->lastTouched < st->file.GetCount() ? st->lastTouched : st->file.GetCount() - 1);
    UpdateUI(st);
}

bool RecordStep(EditorState* st, unsigned kind, const char* fromText, unsigned fromIndex, const char* toText,
                unsigned toIndex)
{
    if (!AddUndo(st, kind, fromText, fromIndex, toText, toIndex))
        return false;
    DoRedo(st, *st->undo.GetAt(st->undo.GetSize() - 1));
    return true;
}

void Undo(EditorState* st)
{
    Transfer(st, st->undo, st->redo, true);
}

void Redo(EditorState* st)
{
    Transfer(st, st->redo, st->undo, false);
}

void ClearUndo(EditorState* st)
{
    st->undo.Clear();
    st->redo.Clear();
    UpdateUI(st);
}

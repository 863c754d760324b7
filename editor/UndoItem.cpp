// The undo and redo histories: each edit of the open file is one CUndoItem;
// undo applies its opposite, redo applies it again.
#include <windows.h>
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

static void DoRedo(EditorState* st, const CUndoItem& item)
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

// Moves the newest step of one history to the other, applying it on the way.
// The step is copied before it leaves its list, which owns it.
static void Transfer(EditorState* st, CPtrList<CUndoItem>& from, CPtrList<CUndoItem>& to, bool undo)
{
    unsigned count = from.GetSize();
    if (count == 0)
        return;
    CUndoItem* moved = new (std::nothrow) CUndoItem(*from.GetAt(count - 1));
    if (!moved)
        return;
    from.Delete(count - 1);
    if (undo)
        DoUndo(st, *moved);
    else
        DoRedo(st, *moved);
    to.Add(moved, true);
    UpdateUI(st);
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

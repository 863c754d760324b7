// The steps of the undo and redo histories and how they pass between them.
#include <new>

#include "UndoItem.h"
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

void ApplyUndoStep(CUndoTarget& target, const CUndoItem& item, bool undo)
{
    int from = (int)item.m_nFromIndex, to = (int)item.m_nToIndex;
    switch (item.m_nKind)
    {
        case UNDO_MOVE:
            target.Apply(UNDO_MOVE, undo ? to : from, undo ? from : to, "");
            break;
        case UNDO_INSERT:
            target.Apply(undo ? UNDO_DELETE : UNDO_INSERT, from, 0, item.GetFromString());
            break;
        case UNDO_DELETE:
            target.Apply(undo ? UNDO_INSERT : UNDO_DELETE, from, 0, item.GetFromString());
            break;
        case UNDO_CHANGE:
            target.Apply(UNDO_CHANGE, from, 0, undo ? item.GetFromString() : item.GetToString());
            break;
    }
}

CUndoItem* AddUndoStep(CPtrList<CUndoItem>& undo, CPtrList<CUndoItem>& redo, const CUndoItem& step)
{
    CUndoItem* item = new (std::nothrow) CUndoItem(step);
    if (!item)
        return nullptr;
    redo.Clear();
    undo.Add(item, true);
    return item;
}

// Each step is copied before it leaves its list, which owns it.
int TransferUndoSteps(CPtrList<CUndoItem>& from, CPtrList<CUndoItem>& to, bool undo, CUndoTarget& target)
{
    unsigned count = from.GetSize();
    if (count == 0)
        return 0;
    unsigned group = from.GetAt(count - 1)->m_nGroup;
    if (group)
        target.BeginGroup();
    int moved = 0;
    do
    {
        CUndoItem* step = new (std::nothrow) CUndoItem(*from.GetAt(count - 1));
        if (!step)
            break;
        from.Delete(count - 1);
        ApplyUndoStep(target, *step, undo);
        to.Add(step, true);
        count--;
        moved++;
    } while (group && count > 0 && from.GetAt(count - 1)->m_nGroup == group);
    if (group)
        target.EndGroup();
    return moved;
}

#include <new>

#include "meditUndo.h"

namespace
{
bool PushCopy(CPtrList<CPtrTree<CMenuItem>>& list, CPtrTree<CMenuItem>* tree)
{
    CPtrTree<CMenuItem>* copy = new (std::nothrow) CPtrTree<CMenuItem>(nullptr, nullptr, true);
    if (!copy)
        return false;
    if (tree)
        copy->Copy(tree);
    list.Add(copy, true);
    return true;
}

// Takes the newest step of from into tree, after saving tree onto to.
bool Restore(CPtrList<CPtrTree<CMenuItem>>& from, CPtrList<CPtrTree<CMenuItem>>& to,
             CPtrTree<CMenuItem>* tree)
{
    unsigned size = from.GetSize();
    if (size == 0 || !PushCopy(to, tree))
        return false;
    tree->Copy(from.GetAt(size - 1));
    from.Delete(size - 1);
    return true;
}
} // namespace

bool CMenuUndo::Record(CPtrTree<CMenuItem>* tree)
{
    m_redo.Clear();
    return PushCopy(m_undo, tree);
}

void CMenuUndo::DropLast()
{
    unsigned size = m_undo.GetSize();
    if (size)
        m_undo.Delete(size - 1);
}

bool CMenuUndo::Undo(CPtrTree<CMenuItem>* tree)
{
    return Restore(m_undo, m_redo, tree);
}

bool CMenuUndo::Redo(CPtrTree<CMenuItem>* tree)
{
    return Restore(m_redo, m_undo, tree);
}

void CMenuUndo::Clear()
{
    m_undo.Clear();
    m_redo.Clear();
}

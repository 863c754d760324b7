// The menu editor's undo and redo histories. Each step is a copy of the whole
// menu tree as it was before the step, ids included: restoring one keeps the
// model's last id, so entries made later never reuse an id of the restored
// tree. Recording a step forgets what could be redone.
#pragma once

#include "Menu.h"
#include "PtrList.h"

class CMenuUndo
{
  public:
    CMenuUndo() = default;
    CMenuUndo(const CMenuUndo&) = delete;
    CMenuUndo& operator=(const CMenuUndo&) = delete;

    // A copy of tree as the newest undo step. What could be redone is
    // forgotten even when no copy could be made (false): tree is about to change.
    bool Record(CPtrTree<CMenuItem>* tree);
    // Forgets the newest undo step: the change it was taken for was refused.
    void DropLast();
    // Puts the newest undo (redo) step into tree, after taking tree as it is
    // as the newest redo (undo) step; false, with tree unchanged, when there
    // is no step or no copy could be made.
    bool Undo(CPtrTree<CMenuItem>* tree);
    bool Redo(CPtrTree<CMenuItem>* tree);
    void Clear();
    bool CanUndo() const
    {
        return m_undo.GetSize() > 0;
    }
    bool CanRedo() const
    {
        return m_redo.GetSize() > 0;
    }

  private:
    CPtrList<CPtrTree<CMenuItem>> m_undo;
    CPtrList<CPtrTree<CMenuItem>> m_redo;
};

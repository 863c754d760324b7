// One step of the menu editor's undo and redo: a copy of the whole menu tree
// as it was before the step.
#pragma once

#include "Menu.h"
#include "PtrList.h"

class CUndoItem
{
  public:
    explicit CUndoItem(CPtrTree<CMenuItem>* tree);
    ~CUndoItem();
    CUndoItem(const CUndoItem&) = delete;
    CUndoItem& operator=(const CUndoItem&) = delete;

    // Drops the held copy and takes a new one: the root entry and every
    // descendant, ids included.
    void SetMenuTree(CPtrTree<CMenuItem>* tree);
    CPtrTree<CMenuItem>* GetMenuTree() const
    {
        return m_pMenuTree;
    }

  private:
    CPtrTree<CMenuItem>* m_pMenuTree;
};

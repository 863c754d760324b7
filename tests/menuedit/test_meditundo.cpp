// The menu editor's undo and redo histories of whole menu trees.
#include "meditUndo.h"

#include <gtest/gtest.h>
#include <string>

// x records a step and adds an entry, u undoes, r redoes: the entries after
// each, "-" where there was nothing to undo or redo.
TEST(MeditUndo, UndoAndRedoTradeTreesAndANewStepForgetsTheRedo)
{
    CMenu menu;
    CMenuUndo undo;
    CPtrTree<CMenuItem>* tree = menu.GetMenuTree();
    std::string seen;
    for (char op : std::string("xxuruurxruuu"))
    {
        bool done = op == 'u' ? undo.Undo(tree) : op == 'r' ? undo.Redo(tree) : undo.Record(tree);
        if (op == 'x')
            menu.InsertItem(new CMenuItem(), 0, 1);
        seen += done ? (char)('0' + tree->GetSize()) : '-';
    }
    EXPECT_EQ("12121012-10-", seen);
}

// Drag and drop in the menu editor with real mouse input: a row dragged to
// another row of the list, and onto a submenu of the tree; each one step of
// Undo, and never into the entry itself.
#include "e2e/medit_testutil.h"

namespace
{

using namespace medittest;

class MeditDrag : public MeditTest
{
  protected:
    // Drags the row to the row of another entry, or to a tree node.
    bool DragRowTo(CMedit& ed, const char* name, const char* toRow, const char* toNode)
    {
        POINT from, to;
        int row = -1, target = -1;
        for (int r = 0; r < DrvListViewRowCount(ed.List()); r++)
        {
            if (ed.Cell(r, 0) == name)
                row = r;
            if (toRow && ed.Cell(r, 0) == toRow)
                target = r;
        }
        return DrvListViewRowPoint(ed.List(), row, &from) &&
               (toRow ? DrvListViewRowPoint(ed.List(), target, &to)
                      : DrvTreeItemPoint(ed.Tree(), DrvTreeFind(ed.Tree(), toNode), &to)) &&
               SetForegroundWindow(ed.Main()) && DrvDragMouse(from, to, ed.Main()) && ed.Ready();
    }
    bool WaitRows(CMedit& ed, const std::string& rows)
    {
        return DrvWaitFor([&]() { return ed.Rows() == rows; }, kTimeout) == TVD_OK;
    }
    std::string Saved(CMedit& ed, const std::string& path)
    {
        EXPECT_TRUE(ed.Do(IDM_SAVE));
        return ReadBytes(path);
    }
};

TEST_F(MeditDrag, RowsMoveInTheListAndIntoSubmenusOneUndoStepEach)
{
    const std::string start =
        Lines({Root("Mine"), Item("A"), Item("B"), Root("Sub"), Item("C"), "</menu>", Item("D"), "</menu>"});
    std::string path = WriteMenu("Drag.menu", start);
    CMedit ed;
    ASSERT_TRUE(ed.Start(path));
    ASSERT_EQ("A|B|Sub|D", ed.Rows());

    // In the list: A goes to D's place, and is saved there.
    ASSERT_TRUE(DragRowTo(ed, "A", "D", nullptr));
    ASSERT_TRUE(WaitRows(ed, "B|Sub|D|A")) << ed.Rows();
    EXPECT_EQ("A", ed.Cell(ed.Selected(), 0));
    EXPECT_EQ(
        Lines({Root("Mine"), Item("B"), Root("Sub"), Item("C"), "</menu>", Item("D"), Item("A"), "</menu>"}),
        Saved(ed, path));

    // Onto the submenu in the tree: B leaves the list and ends the submenu.
    ASSERT_TRUE(DragRowTo(ed, "B", nullptr, "Sub"));
    ASSERT_TRUE(WaitRows(ed, "Sub|D|A")) << ed.Rows();
    EXPECT_EQ(
        Lines({Root("Mine"), Root("Sub"), Item("C"), Item("B"), "</menu>", Item("D"), Item("A"), "</menu>"}),
        Saved(ed, path));

    // Never into itself: the submenu dropped on its own node stays.
    ASSERT_TRUE(DragRowTo(ed, "Sub", nullptr, "Sub"));
    EXPECT_EQ("Sub|D|A", ed.Rows());

    // Each drop was one step: two Undos give the file as it was.
    ASSERT_TRUE(ed.Do(IDM_UNDO));
    ASSERT_TRUE(WaitRows(ed, "B|Sub|D|A")) << ed.Rows();
    ASSERT_TRUE(ed.Do(IDM_UNDO));
    ASSERT_TRUE(WaitRows(ed, "A|B|Sub|D")) << ed.Rows();
    EXPECT_EQ(start, Saved(ed, path));
}

} // namespace

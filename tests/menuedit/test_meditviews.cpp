// The menu editor's command states and Sort, without a window.
#include "meditViews.h"
#include "medit_res.h"

#include <gtest/gtest.h>
#include <string>

// Rows of three: the first, the last, none; then a single row and a closed menu.
TEST(MeditViews, MovesFollowTheRowAndEverythingElseNeedsAnOpenMenu)
{
    MeditUiFacts f;
    f.open = f.selection = true;
    f.rows = 3;
    struct
    {
        int row, rows;
        bool up, down;
    } cases[] = {{0, 3, false, true},
                 {2, 3, true, false},
                 {1, 3, true, true},
                 {-1, 3, false, false},
                 {0, 1, false, false}};
    for (const auto& c : cases)
    {
        f.row = c.row;
        f.rows = c.rows;
        EXPECT_EQ(c.up, IsMeditCommandEnabled(f, IDM_MOVEUP)) << c.row << "/" << c.rows;
        EXPECT_EQ(c.down, IsMeditCommandEnabled(f, IDM_MOVEDOWN)) << c.row << "/" << c.rows;
    }
    EXPECT_FALSE(IsMeditCommandEnabled(f, IDM_SAVE) || IsMeditCommandEnabled(f, IDM_PASTE) ||
                 IsMeditCommandEnabled(f, IDM_TEST));
    f.modified = f.canPaste = f.hasEntries = f.canUndo = true;
    f.open = false;
    for (size_t i = 0; i < g_meditStateCommandCount; i++)
        EXPECT_EQ(g_meditStateCommands[i] == IDM_UNDO, IsMeditCommandEnabled(f, g_meditStateCommands[i]))
            << g_meditStateCommands[i];
}

// Submenus first, then by text in any case; equal texts keep their order.
TEST(MeditViews, SortPutsSubmenusFirstAndKeepsEqualEntriesInOrder)
{
    CMenu menu;
    for (const char* entry : {"Ib", "Sz", "Ia2", "IA1", "Sy", "IB"})
    {
        CMenuItem* item = new CMenuItem();
        item->SetStyle(entry[0] == 'S' ? MENU_STYLE_SUBMENU : MENU_STYLE_ITEM);
        item->SetText(entry + 1);
        ASSERT_NE(0u, menu.InsertItem(item, 0, 1));
    }
    CPtrTree<CMenuItem>* root = menu.GetMenuTree();
    SortMenuChildren(root);
    std::string order;
    for (unsigned i = 0; i < root->GetSize(); i++)
        order += std::string(root->GetAt(i)->GetData()->GetText()) + " ";
    EXPECT_EQ("y z A1 a2 b B ", order);
}

// Moving an entry within the menu tree, as the menu editor's drag and drop
// does: where it may go and where it lands.
#include "Menu.h"

#include <gtest/gtest.h>
#include <string>

namespace
{

typedef CPtrTree<CMenuItem> Node;

unsigned long Add(CMenu& menu, unsigned long parent, const char* text, bool submenu)
{
    CMenuItem* item = new CMenuItem();
    item->SetText(text);
    item->SetStyle(submenu ? MENU_STYLE_SUBMENU : MENU_STYLE_ITEM);
    return menu.InsertItem(item, parent, 1);
}

// "text#id" of every entry, a submenu's children in brackets.
std::string Shape(Node* node)
{
    std::string out;
    for (unsigned i = 0; i < node->GetSize(); i++)
    {
        Node* child = node->GetAt(i);
        out += (i ? " " : "") + std::string(child->GetData()->GetText()) + "#" +
               std::to_string(child->GetData()->GetId());
        if (child->GetData()->GetStyle() & MENU_STYLE_SUBMENU)
            out += "[" + Shape(child) + "]";
    }
    return out;
}

} // namespace

TEST(MenuMove, GoesAnywhereButIntoItselfAndKeepsIds)
{
    // root: A#1 S#2[B#3 T#4[C#5]] D#6
    const std::string start = "A#1 S#2[B#3 T#4[C#5]] D#6";
    struct
    {
        unsigned long id, parent;
        unsigned index;
        bool moved;
        const char* shape;
    } cases[] = {
        {6, 0, 0, true, "D#6 A#1 S#2[B#3 T#4[C#5]]"},  // up within the list
        {1, 0, 2, true, "S#2[B#3 T#4[C#5]] D#6 A#1"},  // down to the end
        {1, 0, 99, true, "S#2[B#3 T#4[C#5]] D#6 A#1"}, // past the end: last
        {1, 4, 99, true, "S#2[B#3 T#4[C#5 A#1]] D#6"}, // into a submenu
        {4, 0, 1, true, "A#1 T#4[C#5] S#2[B#3] D#6"},  // a submenu with its entries
        {2, 2, 0, false, nullptr},                     // into itself
        {2, 4, 0, false, nullptr},                     // into its own submenu
        {0, 2, 0, false, nullptr},                     // the root
        {1, 6, 0, false, nullptr},                     // into an entry that is no submenu
        {9, 0, 0, false, nullptr},                     // no such entry
    };
    for (auto& c : cases)
    {
        CMenu menu;
        menu.New();
        menu.GetMenuTree()->GetData()->SetStyle(MENU_STYLE_SUBMENU);
        Add(menu, 0, "A", false);
        unsigned long s = Add(menu, 0, "S", true);
        Add(menu, s, "B", false);
        unsigned long t = Add(menu, s, "T", true);
        Add(menu, t, "C", false);
        Add(menu, 0, "D", false);
        ASSERT_EQ(start, Shape(menu.GetMenuTree()));

        EXPECT_EQ(c.moved, menu.CanMoveItem(c.id, c.parent)) << c.id << " to " << c.parent;
        EXPECT_EQ(c.moved, menu.MoveItem(c.id, c.parent, c.index)) << c.id << " to " << c.parent;
        EXPECT_EQ(c.moved ? c.shape : start, Shape(menu.GetMenuTree())) << c.id << " to " << c.parent;
        // The next new entry still gets a fresh id.
        EXPECT_EQ(7u, Add(menu, 0, "E", false));
    }
}

TEST(MenuMove, RefusesASubmenuTooDeepForTheFile)
{
    CMenu menu;
    menu.New();
    unsigned long deepest = 0;
    for (int level = 1; level < MENU_STACK_SIZE; level++)
        deepest = Add(menu, deepest, "S", true);
    unsigned long submenu = Add(menu, 0, "X", true);
    unsigned long item = Add(menu, 0, "Y", false);
    EXPECT_FALSE(menu.MoveItem(submenu, deepest, 0));
    EXPECT_EQ(MENU_ERR_INSERT, menu.GetLastError());
    EXPECT_TRUE(menu.MoveItem(item, deepest, 0));
    EXPECT_TRUE(menu.MoveItem(submenu, menu.GetMenuTree()->GetAt(0)->GetData()->GetId(), 0));
}

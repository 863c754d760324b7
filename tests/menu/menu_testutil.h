// Helpers of the menu tests: an entry of a built menu, read back.
#pragma once

#include <windows.h>
#include <gtest/gtest.h>

#include "menuxp.h"

struct MenuEntry
{
    UINT type;
    UINT id;
    HMENU sub;
    tagMENUXP_ITEMDATA* data;
};

inline MenuEntry EntryAt(HMENU menu, int pos)
{
    MENUITEMINFOA mii = {};
    mii.cbSize = sizeof(mii);
    mii.fMask = MIIM_FTYPE | MIIM_ID | MIIM_SUBMENU | MIIM_DATA;
    EXPECT_TRUE(GetMenuItemInfoA(menu, (UINT)pos, TRUE, &mii)) << pos;
    return MenuEntry{mii.fType, mii.wID, mii.hSubMenu, (tagMENUXP_ITEMDATA*)mii.dwItemData};
}

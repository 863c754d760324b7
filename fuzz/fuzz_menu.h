// Checks shared by the menu fuzz targets.
#pragma once

#include <vector>

#include "Menu.h"
#include "fuzz_util.h"

typedef CPtrTree<CMenuItem> FuzzMenuNode;

// Counts the entries below node, checking the parent links and that every id
// is one of those handed out and seen once.
inline unsigned FuzzCheckMenuTree(FuzzMenuNode* node, unsigned long lastId, std::vector<bool>& seen)
{
    unsigned count = 0;
    node->ResetCur();
    for (FuzzMenuNode* c = node->GetCur(); c; c = node->GetNext())
    {
        unsigned long id = c->GetData()->GetId();
        FUZZ_FAIL_IF(c->GetParent() != node || id == 0 || id > lastId || seen[id]);
        seen[id] = true;
        count += 1 + FuzzCheckMenuTree(c, lastId, seen);
    }
    return count;
}

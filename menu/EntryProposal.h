// The name and icon the menu editor's item wizard proposes for an entry made
// from a target. A proposal the user has not edited follows the target: going
// back and choosing another target proposes again; an edited one stays.
#pragma once

#include <stddef.h>

#include "Menu.h"

// What was proposed last, to tell a proposal from the user's own choice.
struct tagENTRY_PROPOSAL
{
    char text[MENU_TEXT_SIZE];
    char iconPath[MENU_PATH_SIZE];
    unsigned long iconNumber;
};

// Nothing proposed yet.
void ClearEntryProposal(tagENTRY_PROPOSAL* last);

// The name proposed for a target: its file name without folder and extension,
// first letter upper-cased; "New Menu Item" when it has none.
void ProposeEntryName(const char* target, char* name, size_t size);

// Gives the entry the name and icon of its target where its text or icon is
// empty or still the last proposal, and records what it proposed in *last.
void ProposeEntryTextAndIcon(CMenuItem* entry, tagENTRY_PROPOSAL* last);

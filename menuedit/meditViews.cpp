#include "meditViews.h"
#include "medit_res.h"
#include "strutils.h"

const char* EntryTypeText(const CMenuItem& item)
{
    unsigned long style = item.GetStyle();
    if (style & MENU_STYLE_SUBMENU)
        return "Submenu";
    if (style & MENU_STYLE_SEPARATOR)
        return "Separator";
    if (style & MENU_STYLE_ITEM)
        return "Item";
    return "Unknown";
}

const char* EntryTargetText(const CMenuItem& item)
{
    unsigned long style = item.GetStyle();
    return (style & MENU_STYLE_ITEM) && !(style & MENU_STYLE_SUBMENU) ? item.GetTarget() : "";
}

void FormatMeditTitle(const CMenuItem* root, bool modified, char* buf, size_t size)
{
    StrCopy(buf, size, "Tarvin Menu Editor");
    if (!root)
        return;
    StrAppend(buf, size, " - [");
    StrAppend(buf, size, root->GetText());
    StrAppend(buf, size, modified ? "]*" : "]");
}

const char* MeditStatusText(bool menuOpen, const char* filePath)
{
    if (!menuOpen)
        return "Select a startup option.";
    return filePath[0] ? filePath : "Unsaved (new) menu file";
}

const int g_meditStateCommands[] = {
    IDM_SAVE,        IDM_SAVEAS,         IDM_CUT,         IDM_COPY,          IDM_ITEMWIZARD,
    IDM_APPSHORTCUT, IDM_LAUNCHSHORTCUT, IDM_WEBSHORTCUT, IDM_INSERTSUBMENU, IDM_INSERTSEPARATOR,
    IDM_INSERTMENU,  IDM_SORT,           IDM_SHORTCUTS,   IDM_PASTE,         IDM_UNDO,
    IDM_REDO,        IDM_PROPERTIES,     IDM_DELETE,      IDM_MOVEUP,        IDM_MOVEDOWN,
    IDM_TEST};
const size_t g_meditStateCommandCount = sizeof(g_meditStateCommands) / sizeof(g_meditStateCommands[0]);

bool IsMeditCommandEnabled(const MeditUiFacts& facts, int command)
{
    switch (command)
    {
        case IDM_SAVE:
            return facts.open && facts.modified;
        case IDM_PASTE:
            return facts.open && facts.canPaste;
        case IDM_UNDO:
            return facts.canUndo;
        case IDM_REDO:
            return facts.canRedo;
        case IDM_PROPERTIES:
        case IDM_DELETE:
            return facts.open && facts.selection;
        case IDM_MOVEUP:
            return facts.open && facts.row > 0;
        case IDM_MOVEDOWN:
            return facts.open && facts.row >= 0 && facts.row < facts.rows - 1;
        case IDM_TEST:
            return facts.open && facts.hasEntries;
    }
    return facts.open;
}

int SortMenuAlphabetically(const CMenuItem* a, const CMenuItem* b)
{
    bool subA = (a->GetStyle() & MENU_STYLE_SUBMENU) != 0;
    bool subB = (b->GetStyle() & MENU_STYLE_SUBMENU) != 0;
    if (subA && !subB)
        return -1;
    if (!subA && subB)
        return 1;
    if ((a->GetStyle() & MENU_STYLE_SEPARATOR) || (b->GetStyle() & MENU_STYLE_SEPARATOR))
        return 0;
    return StrCompareNoCase(a->GetText(), b->GetText());
}

// Selection sort: a later element replaces the smallest so far only when it is
// strictly smaller, and the smallest is moved (not swapped) to its place, so
// that the others keep their order. Separators compare equal to everything,
// which no sort that relies on a consistent order could cope with.
void SortMenuChildren(CPtrTree<CMenuItem>* node)
{
    unsigned size = node->GetSize();
    for (unsigned i = 0; i + 1 < size; i++)
    {
        unsigned smallest = i;
        const CMenuItem* min = node->GetAt(i)->GetData();
        unsigned j = i + 1;
        for (CPtrTree<CMenuItem>* c = node->GetNext(); c; c = node->GetNext(), j++)
        {
            if (SortMenuAlphabetically(c->GetData(), min) < 0)
            {
                min = c->GetData();
                smallest = j;
            }
        }
        for (unsigned k = smallest; k > i; k--)
            node->SwapWithNext(k - 1);
    }
    node->ResetCur();
}

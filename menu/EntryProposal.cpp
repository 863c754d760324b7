#include "EntryProposal.h"

#include <string.h>

#include "dirutils.h"
#include "strutils.h"

void ClearEntryProposal(tagENTRY_PROPOSAL* last)
{
    last->text[0] = '\0';
    last->iconPath[0] = '\0';
    last->iconNumber = 0;
}

void ProposeEntryName(const char* target, char* name, size_t size)
{
    char title[MENU_PATH_SIZE] = "";
    if (target[0])
        GetFileTitleFromPath(target, title, sizeof(title));
    if (!title[0])
    {
        StrCopy(name, size, "New Menu Item");
        return;
    }
    if (title[0] >= 'a' && title[0] <= 'z')
        title[0] = (char)(title[0] - 'a' + 'A');
    StrCopy(name, size, title);
}

void ProposeEntryTextAndIcon(CMenuItem* entry, tagENTRY_PROPOSAL* last)
{
    const char* text = entry->GetText();
    if (!text[0] || (last->text[0] && strcmp(text, last->text) == 0))
    {
        char name[MENU_TEXT_SIZE];
        ProposeEntryName(entry->GetTarget(), name, sizeof(name));
        entry->SetText(name);
        StrCopy(last->text, entry->GetText());
    }
    const char* icon = entry->GetIconPath();
    bool proposed =
        last->iconPath[0] && strcmp(icon, last->iconPath) == 0 && entry->GetIconNumber() == last->iconNumber;
    if (entry->GetTarget()[0] && (!icon[0] || proposed))
    {
        entry->SetIconPath(entry->GetTarget());
        entry->SetIconNumber(0);
        StrCopy(last->iconPath, entry->GetIconPath());
        last->iconNumber = 0;
    }
}

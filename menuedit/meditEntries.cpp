#include <new>

#include "meditEntries.h"
#include "dirutils.h"

CMenuItem* MakeFileEntry(const char* path)
{
    CMenuItem* item = new (std::nothrow) CMenuItem(0UL);
    if (!item)
        return nullptr;
    char buf[MENU_PATH_SIZE];
    item->SetStyle(MENU_STYLE_ITEM);
    item->SetTarget(path);
    item->SetWorkDir(GetDirFromPath(path, buf, sizeof(buf)));
    item->SetIconPath(path);
    item->SetIconNumber(0);
    item->SetText(GetFileTitleFromPath(path, buf, sizeof(buf)));
    return item;
}

CMenuItem* MakeWebsiteEntry(const char* browser, const char* address, const char* name)
{
    CMenuItem* item = MakeFileEntry(browser);
    if (!item)
        return nullptr;
    item->SetCmdLine(address);
    item->SetText(name[0] ? name : address);
    return item;
}

void SetDefaultWorkDir(CMenuItem* item)
{
    if (item->GetWorkDir()[0] || !item->GetTarget()[0] || (item->GetStyle() & MENU_STYLE_SUBMENU))
        return;
    char dir[MENU_PATH_SIZE];
    item->SetWorkDir(GetDirFromPath(item->GetTarget(), dir, sizeof(dir)));
}

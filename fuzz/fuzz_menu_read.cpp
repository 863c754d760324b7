// A menu file from arbitrary bytes: read it, check the ids and the text form,
// and rebuild the tree from that text.
#include "Menu.h"
#include "fuzz_util.h"

#include <string.h>
#include <vector>

namespace
{
typedef CPtrTree<CMenuItem> Node;

// Counts the entries below node, checking the parent links and that every id
// is one of those handed out and seen once.
unsigned CheckTree(Node* node, unsigned long lastId, std::vector<bool>& seen)
{
    unsigned count = 0;
    node->ResetCur();
    for (Node* c = node->GetCur(); c; c = node->GetNext())
    {
        unsigned long id = c->GetData()->GetId();
        if (c->GetParent() != node || id == 0 || id > lastId || seen[id])
            __builtin_trap();
        seen[id] = true;
        count += 1 + CheckTree(c, lastId, seen);
    }
    return count;
}

bool HasQuoteOrEquals(const char* s)
{
    return strpbrk(s, "\"'=") != nullptr;
}

// Values that the writer cannot give back as they are (a quote, or text that
// looks like another property) make the round trip inexact by design.
bool Plain(Node* node)
{
    CMenuItem* item = node->GetData();
    if (HasQuoteOrEquals(item->GetText()) || HasQuoteOrEquals(item->GetTarget()) ||
        HasQuoteOrEquals(item->GetCmdLine()) || HasQuoteOrEquals(item->GetWorkDir()) ||
        HasQuoteOrEquals(item->GetIconPath()))
        return false;
    node->ResetCur();
    for (Node* c = node->GetCur(); c; c = node->GetNext())
    {
        if (!Plain(c))
            return false;
    }
    return true;
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    std::string path = FuzzFile(data, size);
    CMenu menu;
    bool read = menu.ReadFile(path.c_str());
    int error = menu.GetLastError();
    if (read ? error != 0 : (error < 1 || error > 9))
        __builtin_trap();

    Node* root = menu.GetMenuTree();
    std::vector<bool> seen(menu.GetLastId() + 1);
    if (CheckTree(root, menu.GetLastId(), seen) != menu.GetLastId())
        __builtin_trap();
    if (!read)
        return 0;
    if (!root->GetData() || root->GetData()->GetId() != 0 ||
        !(root->GetData()->GetStyle() & MENU_STYLE_SUBMENU))
        __builtin_trap();
    for (unsigned long id = 0; id <= menu.GetLastId(); id++)
    {
        Node* node = menu.FindItem(id);
        if (!node || node->GetData()->GetId() != id)
            __builtin_trap();
    }

    // The text form: the size asked for is exactly what is written.
    int needed = menu.GetXMLString(nullptr, nullptr, 0);
    std::vector<char> text((size_t)needed);
    if (menu.GetXMLString(nullptr, text.data(), text.size()) != needed ||
        strlen(text.data()) + 1 != (size_t)needed)
        __builtin_trap();
    int childLen = menu.GetXMLStringChildren(root, nullptr, 0);
    std::vector<char> children((size_t)childLen + 1);
    menu.GetXMLStringChildren(root, children.data(), children.size());

    // Every tree read from a file can be pasted again in one piece.
    CMenu copy;
    copy.GetMenuTree()->GetData()->SetStyle(MENU_STYLE_SUBMENU);
    if (!copy.InsertFromXML(children.data(), 0, 1) || copy.GetLastId() != menu.GetLastId())
        __builtin_trap();
    if (Plain(root))
    {
        std::vector<char> again((size_t)childLen + 1);
        if (copy.GetXMLStringChildren(copy.GetMenuTree(), again.data(), again.size()) != childLen ||
            strcmp(again.data(), children.data()) != 0)
            __builtin_trap();
    }
    return 0;
}

// A menu file from arbitrary bytes: read it, check the ids and the text form,
// and rebuild the tree from that text.
#include "fuzz_menu.h"

#include <string.h>
#include <vector>

namespace
{
typedef FuzzMenuNode Node;

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
    FUZZ_FAIL_IF(read ? error != 0 : (error < 1 || error > 9));

    Node* root = menu.GetMenuTree();
    std::vector<bool> seen(menu.GetLastId() + 1);
    FUZZ_FAIL_IF(FuzzCheckMenuTree(root, menu.GetLastId(), seen) != menu.GetLastId());
    if (!read)
        return 0;
    FUZZ_FAIL_IF(!root->GetData() || root->GetData()->GetId() != 0 ||
                 !(root->GetData()->GetStyle() & MENU_STYLE_SUBMENU));
    for (unsigned long id = 0; id <= menu.GetLastId(); id++)
    {
        Node* node = menu.FindItem(id);
        FUZZ_FAIL_IF(!node || node->GetData()->GetId() != id);
    }

    // The text form: the size asked for is exactly what is written.
    int needed = menu.GetXMLString(nullptr, nullptr, 0);
    std::vector<char> text((size_t)needed);
    FUZZ_FAIL_IF(menu.GetXMLString(nullptr, text.data(), text.size()) != needed ||
                 strlen(text.data()) + 1 != (size_t)needed);
    int childLen = menu.GetXMLStringChildren(root, nullptr, 0);
    std::vector<char> children((size_t)childLen + 1);
    menu.GetXMLStringChildren(root, children.data(), children.size());

    // Every tree read from a file can be pasted again in one piece.
    CMenu copy;
    copy.GetMenuTree()->GetData()->SetStyle(MENU_STYLE_SUBMENU);
    FUZZ_FAIL_IF(!copy.InsertFromXML(children.data(), 0, 1) || copy.GetLastId() != menu.GetLastId());
    if (Plain(root))
    {
        std::vector<char> again((size_t)childLen + 1);
        FUZZ_FAIL_IF(copy.GetXMLStringChildren(copy.GetMenuTree(), again.data(), again.size()) != childLen ||
                     strcmp(again.data(), children.data()) != 0);
    }
    return 0;
}

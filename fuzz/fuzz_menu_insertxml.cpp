// Pasting arbitrary text into a loaded menu: the first two bytes pick the
// reference entry and the as-child flag, the rest is the text.
#include "fuzz_menu.h"

#include <string.h>
#include <vector>

namespace
{
typedef FuzzMenuNode Node;

const char g_menu[] = "<?TarvinMenu version=\"1.00\"?>\r\n"
                      "<menu text=\"Root\" iconpath=\"\" iconnumber=\"0\" sidebar=\"true\">\r\n"
                      "<menuitem text=\"A\" target=\"a.exe\" cmdline=\"\" workdir=\"\" windowstate=\"1\" "
                      "iconpath=\"a.exe\" iconnumber=\"0\" />\r\n"
                      "<menu text=\"Sub\" iconpath=\"\" iconnumber=\"0\" sidebar=\"false\">\r\n"
                      "<menuseparator />\r\n"
                      "<menu text=\"Inner\" iconpath=\"\" iconnumber=\"0\" sidebar=\"false\">\r\n"
                      "</menu>\r\n"
                      "</menu>\r\n"
                      "<menuseparator />\r\n"
                      "</menu>\r\n";
const unsigned long g_entries = 5;

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size < 2)
        return 0;
    CMenu menu;
    std::string path = FuzzFile((const uint8_t*)g_menu, sizeof(g_menu) - 1);
    FUZZ_FAIL_IF(!menu.ReadFile(path.c_str()) || menu.GetLastId() != g_entries);

    unsigned long id = data[0] % (g_entries + 2); // one id past the end
    int asChild = data[1] & 1;
    std::string text = FuzzText(data + 2, size - 2, 1 << 16);
    bool ok = menu.InsertFromXML(text.c_str(), id, asChild);
    int error = menu.GetLastError();
    FUZZ_FAIL_IF(ok ? error != 0
                    : (error != 4 && error != 5 && error != 6 && error != 9 && error != 10 && error != 11));

    // Nothing is deleted, so the entries are exactly the ids handed out.
    std::vector<bool> seen(menu.GetLastId() + 1);
    FUZZ_FAIL_IF(FuzzCheckMenuTree(menu.GetMenuTree(), menu.GetLastId(), seen) != menu.GetLastId());
    int needed = menu.GetXMLString(nullptr, nullptr, 0);
    std::vector<char> out((size_t)needed);
    FUZZ_FAIL_IF(menu.GetXMLString(nullptr, out.data(), out.size()) != needed ||
                 strlen(out.data()) + 1 != (size_t)needed);

    // The pasted entries can be taken out again, leaving the loaded tree.
    for (unsigned long i = menu.GetLastId(); i > g_entries; i--)
    {
        if (menu.FindItem(i))
            menu.DeleteItem(i);
    }
    std::vector<bool> left(menu.GetLastId() + 1);
    FUZZ_FAIL_IF(FuzzCheckMenuTree(menu.GetMenuTree(), menu.GetLastId(), left) != g_entries);
    return 0;
}

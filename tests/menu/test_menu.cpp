#include "Menu.h"

#include <string>
#include <vector>

#include "testutil.h"

namespace
{
typedef CPtrTree<CMenuItem> Node;

const std::string kHeader = "<?TarvinMenu version=\"1.00\"?>\r\n";
const std::string kRoot = "<menu text=\"Root\" iconpath=\"\" iconnumber=\"0\" sidebar=\"false\">\r\n";
const std::string kEnd = "</menu>\r\n";

std::string Item(const std::string& text)
{
    return "<menuitem text=\"" + text +
           "\" target=\"C:\\t.exe\" cmdline=\"-x\" workdir=\"C:\\\" windowstate=\"3\" iconpath=\"C:\\i.dll\" "
           "iconnumber=\"7\" />\r\n";
}

std::string Submenu(const std::string& text, bool sidebar = false)
{
    return "<menu text=\"" + text + "\" iconpath=\"shell32.dll\" iconnumber=\"4\" sidebar=\"" +
           (sidebar ? "true" : "false") + "\">\r\n";
}

// Texts of node's children, in order.
std::vector<std::string> ChildTexts(Node* node)
{
    std::vector<std::string> out;
    node->ResetCur();
    for (Node* c = node->GetCur(); c; c = node->GetNext())
        out.push_back(c->GetData()->GetText());
    return out;
}

// Every stored field of an entry in one line.
std::string Fields(const CMenuItem* item)
{
    return std::string(item->GetText()) + "|" + item->GetTarget() + "|" + item->GetCmdLine() + "|" +
           item->GetWorkDir() + "|" + item->GetIconPath() + "|style " + std::to_string(item->GetStyle()) +
           " icon " + std::to_string(item->GetIconNumber()) + " ws " + std::to_string(item->GetWindowState());
}

std::string XmlOf(CMenu& menu, Node* node)
{
    int size = menu.GetXMLString(node, nullptr, 0);
    std::vector<char> buf((size_t)size);
    EXPECT_EQ(menu.GetXMLString(node, buf.data(), buf.size()), size);
    EXPECT_EQ(strlen(buf.data()) + 1, (size_t)size);
    return buf.data();
}

class MenuFile : public ::testing::Test
{
  protected:
    // Reads the bytes as a menu file; the result of ReadFile.
    bool Read(const std::string& bytes)
    {
        WriteBytes(m_dir.Path("in.menu"), bytes);
        return m_menu.ReadFile(m_dir.Path("in.menu").c_str());
    }
    std::string Written()
    {
        EXPECT_TRUE(m_menu.WriteFile(m_dir.Path("out.menu").c_str()));
        EXPECT_EQ(m_menu.GetLastError(), 0);
        return ReadBytes(m_dir.Path("out.menu"));
    }

    ScratchDir m_dir;
    CMenu m_menu;
};
} // namespace

TEST_F(MenuFile, RoundTripsByteForByte)
{
    const std::string minimal = kHeader + kRoot + kEnd;
    ASSERT_TRUE(Read(minimal));
    EXPECT_EQ(m_menu.GetMenuTree()->GetSize(), 0u);
    EXPECT_STREQ(m_menu.GetMenuTree()->GetData()->GetText(), "Root");
    EXPECT_EQ(Written(), minimal);

    const std::string full = kHeader + Submenu("Main", true) + Item("One") + "<menuseparator />\r\n" +
                             Submenu("Tools") + Item("Two") + Submenu("Deep") + Item("Three") + kEnd + kEnd +
                             Submenu("Empty") + kEnd + Item("Last") + kEnd;
    ASSERT_TRUE(Read(full));
    EXPECT_EQ(Written(), full);
    // Reading what was written gives the same again.
    ASSERT_TRUE(m_menu.ReadFile(m_dir.Path("out.menu").c_str()));
    EXPECT_EQ(Written(), full);
}

TEST_F(MenuFile, ReadsLooseLinesAndProperties)
{
    // LF and lone CR breaks, blank lines, properties in any order, single
    // quotes, unknown properties, case-insensitive names and sidebar value.
    ASSERT_TRUE(Read("<?tarvinmenu version='1.0'?>\n\n<MENU sidebar=\"TRUE\" text=\"R\">\r"
                     "<menuitem iconnumber=\"2\" extra=\"x\" text='Note \"q\"' target=\"n.txt\" />\n"
                     "<Menu text=\"S\" sidebar=\"yes\">\n<MenuSeparator />\n</MENU>\n</menu>"));
    CMenuItem* root = m_menu.GetMenuTree()->GetData();
    EXPECT_EQ(root->GetStyle(), 9u);
    EXPECT_EQ(root->GetId(), 0u);
    // A missing windowstate reads as a normal window, not as 0 (hidden).
    EXPECT_EQ("Note \"q\"|n.txt||||style 2 icon 2 ws 1", Fields(m_menu.GetMenuTree()->GetAt(0)->GetData()));
    Node* sub = m_menu.GetMenuTree()->GetAt(1);
    EXPECT_EQ(sub->GetData()->GetStyle(), 1u);
    ASSERT_EQ(sub->GetSize(), 1u);
    EXPECT_EQ(sub->GetAt(0)->GetData()->GetStyle(), 4u);
    EXPECT_STREQ(sub->GetAt(0)->GetData()->GetText(), "-");
}

TEST_F(MenuFile, ReportsEachMalformedInput)
{
    const std::string tooLong = "<menuitem text=\"" + std::string(1400, 'x') + "\" />\r\n";
    struct Case
    {
        const char* what;
        std::string bytes;
        int error;
    } cases[] = {
        {"empty file", "", 1},
        {"no header", kRoot + kEnd, 1},
        {"header without version", "<?TarvinMenu?>\r\n" + kRoot + kEnd, 1},
        {"no version property", "<?TarvinMenu ver=\"1.00\"?>\r\n" + kRoot + kEnd, 2},
        {"version 2.00", "<?TarvinMenu version=\"2.00\"?>\r\n" + kRoot + kEnd, 3},
        {"hexadecimal version", "<?TarvinMenu version=\"0x1\"?>\r\n" + kRoot + kEnd, 3},
        {"unknown element", kHeader + kRoot + "<item text=\"a\" />\r\n" + kEnd, 4},
        {"element name with more after it", kHeader + kRoot + "<menus />\r\n" + kEnd, 4},
        {"line without a tag", kHeader + kRoot + "text\r\n" + kEnd, 4},
        {"line too long", kHeader + kRoot + tooLong + kEnd, 4},
        {"one end too many", kHeader + kRoot + kEnd + kEnd, 5},
        {"last end missing", kHeader + kRoot + Item("a"), 6},
        {"submenu left open", kHeader + kRoot + Submenu("s") + kEnd, 6},
        {"root is an item", kHeader + Item("a") + kEnd, 7},
        {"root is an end tag", kHeader + kEnd, 7},
        {"header only", kHeader, 8},
        {"item after the root's end", kHeader + kRoot + kEnd + Item("a"), 9},
        {"submenu after the root's end", kHeader + kRoot + kEnd + Submenu("s") + kEnd, 9},
    };
    for (const Case& c : cases)
    {
        EXPECT_FALSE(Read(c.bytes)) << c.what;
        EXPECT_EQ(m_menu.GetLastError(), c.error) << c.what;
    }
    EXPECT_FALSE(m_menu.ReadFile(m_dir.Path("missing.menu").c_str()));
    EXPECT_EQ(m_menu.GetLastError(), 12);

    // What was read before the failure stays; a good read resets the error.
    EXPECT_FALSE(Read(kHeader + kRoot + Item("a") + Item("b")));
    EXPECT_EQ(ChildTexts(m_menu.GetMenuTree()), (std::vector<std::string>{"a", "b"}));
    EXPECT_FALSE(Read("garbage"));
    EXPECT_EQ(m_menu.GetMenuTree()->GetData(), nullptr);
    EXPECT_EQ(m_menu.GetMenuTree()->GetSize(), 0u);
    EXPECT_TRUE(Read(kHeader + kRoot + kEnd));
    EXPECT_EQ(m_menu.GetLastError(), 0);
}

TEST_F(MenuFile, RejectsNestingBeyondTheStack)
{
    // The root takes slot 0, so 127 submenus fit inside it and a 128th does not.
    auto nested = [](int levels) {
        std::string body = kHeader + kRoot;
        for (int i = 0; i < levels; i++)
            body += Submenu("s" + std::to_string(i));
        body += Item("leaf");
        for (int i = 0; i < levels; i++)
            body += kEnd;
        return body + kEnd;
    };
    ASSERT_TRUE(Read(nested(127)));
    Node* deepest = m_menu.FindItem(127);
    ASSERT_NE(deepest, nullptr);
    EXPECT_STREQ(deepest->GetData()->GetText(), "s126");
    EXPECT_EQ(deepest->GetAt(0)->GetData()->GetId(), 128u);
    EXPECT_EQ(Written(), nested(127));

    EXPECT_FALSE(Read(nested(128)));
    EXPECT_EQ(m_menu.GetLastError(), 9);
    EXPECT_FALSE(Read(nested(1000)));
    EXPECT_EQ(m_menu.GetLastError(), 9);
}

TEST_F(MenuFile, CutsLongValuesToTheirFields)
{
    const std::string text70(70, 't');
    const std::string path300(300, 'p');
    ASSERT_TRUE(Read(kHeader + kRoot + "<menuitem text=\"" + text70 + "\" target=\"" + path300 +
                     "\" cmdline=\"" + path300 + "\" workdir=\"" + path300 + "\" iconpath=\"" + path300 +
                     "\" />\r\n" + kEnd));
    const std::string p259 = path300.substr(0, 259);
    EXPECT_EQ(text70.substr(0, 63) + "|" + p259 + "|" + p259 + "|" + p259 + "|" + p259 +
                  "|style 2 icon 0 ws 1",
              Fields(m_menu.FindItem(1)->GetData()));

    CMenuItem direct;
    EXPECT_TRUE(direct.SetText(text70.c_str()));
    EXPECT_EQ(std::string(direct.GetText()), text70.substr(0, 63));
    EXPECT_TRUE(direct.SetTarget(nullptr));
    EXPECT_STREQ(direct.GetTarget(), "");

    // The longest entry the model can hold still fits one line of the file.
    for (int i = 0; i < 2; i++)
    {
        Node* node = m_menu.FindItem(1);
        node->GetData()->SetText(text70.c_str());
        node->GetData()->SetIconNumber(0x80000000u);
        node->GetData()->SetWindowState(0xFFFFFFFFu);
        std::string written = Written();
        ASSERT_TRUE(m_menu.ReadFile(m_dir.Path("out.menu").c_str()));
        EXPECT_EQ(m_menu.FindItem(1)->GetData()->GetIconNumber(), 0x80000000u);
        EXPECT_EQ(Written(), written);
    }
}

TEST_F(MenuFile, ReportsAFileThatCannotBeWritten)
{
    ASSERT_TRUE(Read(kHeader + kRoot + Item("a") + kEnd));
    EXPECT_FALSE(m_menu.WriteFile(m_dir.Path("no such folder/x.menu").c_str()));
    EXPECT_EQ(m_menu.GetLastError(), 13);
    EXPECT_FALSE(m_menu.WriteFile(m_dir.Root().string().c_str())); // a folder
    EXPECT_EQ(m_menu.GetLastError(), 13);
    EXPECT_EQ(ReadBytes(m_dir.Path("in.menu")), kHeader + kRoot + Item("a") + kEnd);
}

TEST_F(MenuFile, NewModelWritesAReadableFile)
{
    ASSERT_TRUE(Read(kHeader + kRoot + Item("a") + kEnd));
    EXPECT_TRUE(m_menu.New());
    EXPECT_EQ(m_menu.GetLastId(), 0u);
    EXPECT_EQ(m_menu.GetMenuTree()->GetSize(), 0u);
    ASSERT_NE(m_menu.GetMenuTree()->GetData(), nullptr);
    EXPECT_EQ(m_menu.GetMenuTree()->GetData()->GetStyle(), 0u);
    CMenuItem* sep = new CMenuItem();
    sep->SetStyle(MENU_STYLE_SEPARATOR);
    EXPECT_EQ(m_menu.InsertItem(sep, 0, 1), 1u);

    const std::string written = Written();
    EXPECT_EQ(written, kHeader + "<menu text=\"\" iconpath=\"\" iconnumber=\"0\" sidebar=\"false\">\r\n" +
                           "<menuseparator />\r\n" + kEnd);
    EXPECT_TRUE(m_menu.ReadFile(m_dir.Path("out.menu").c_str()));

    // After Clear there is no root entry at all; nothing may crash.
    m_menu.Clear();
    EXPECT_EQ(m_menu.FindItem(0), nullptr);
    EXPECT_EQ(m_menu.GetXMLString(nullptr, nullptr, 0), 1);
    EXPECT_TRUE(m_menu.WriteFile(m_dir.Path("cleared.menu").c_str()));
}

TEST_F(MenuFile, GivesIdsInLineOrderAndNeverReusesThem)
{
    ASSERT_TRUE(Read(kHeader + kRoot + Item("a") + Submenu("s") + Item("b") + "<menuseparator />\r\n" + kEnd +
                     Item("c") + kEnd));
    const char* expected[] = {"Root", "a", "s", "b", "-", "c"};
    for (unsigned long id = 0; id < 6; id++)
    {
        Node* node = m_menu.FindItem(id);
        ASSERT_NE(node, nullptr) << id;
        EXPECT_EQ(node->GetData()->GetId(), id);
        EXPECT_STREQ(node->GetData()->GetText(), expected[id]);
    }
    EXPECT_EQ(m_menu.FindItem(6), nullptr);
    EXPECT_EQ(m_menu.GetLastId(), 5u);

    EXPECT_EQ(m_menu.InsertItem(new CMenuItem(), 0, 1), 6u);
    EXPECT_TRUE(m_menu.DeleteItem(6));
    EXPECT_TRUE(m_menu.DeleteItem(2)); // the submenu and its two entries
    EXPECT_EQ(m_menu.FindItem(3), nullptr);
    EXPECT_EQ(m_menu.FindItem(4), nullptr);
    EXPECT_EQ(ChildTexts(m_menu.GetMenuTree()), (std::vector<std::string>{"a", "c"}));
    EXPECT_EQ(m_menu.InsertItem(new CMenuItem(), 5, 0), 7u);

    EXPECT_FALSE(m_menu.DeleteItem(2));
    EXPECT_EQ(m_menu.GetLastError(), 10);
    EXPECT_FALSE(m_menu.DeleteItem(0));
    EXPECT_EQ(m_menu.GetLastError(), 11);
    ASSERT_NE(m_menu.GetMenuTree()->GetData(), nullptr);
}

TEST(MenuModel, InsertsSiblingsRightAfterTheReference)
{
    CMenu menu;
    for (const char* text : {"A", "B", "C"})
    {
        CMenuItem* item = new CMenuItem();
        item->SetText(text);
        item->SetStyle(MENU_STYLE_ITEM);
        menu.InsertItem(item, 0, 1);
    }
    struct Case
    {
        unsigned long after;
        const char* text;
    } cases[] = {{2, "x"}, {3, "y"}, {1, "z"}}; // B, then the last (C), then the first (A)
    for (const Case& c : cases)
    {
        CMenuItem* item = new CMenuItem();
        item->SetText(c.text);
        EXPECT_NE(menu.InsertItem(item, c.after, 0), 0u) << c.text;
    }
    EXPECT_EQ(ChildTexts(menu.GetMenuTree()), (std::vector<std::string>{"A", "z", "B", "x", "C", "y"}));

    // A sibling inside a submenu lands in that submenu.
    CMenuItem* sub = new CMenuItem();
    sub->SetStyle(MENU_STYLE_SUBMENU);
    unsigned long subId = menu.InsertItem(sub, 3, 0);
    CMenuItem* inner = new CMenuItem();
    inner->SetText("in");
    unsigned long innerId = menu.InsertItem(inner, subId, 1);
    CMenuItem* next = new CMenuItem();
    next->SetText("next");
    menu.InsertItem(next, innerId, 0);
    EXPECT_EQ(ChildTexts(menu.FindItem(subId)), (std::vector<std::string>{"in", "next"}));
    EXPECT_EQ(menu.FindItem(innerId)->GetParent(), menu.FindItem(subId));

    CMenuItem stray;
    EXPECT_EQ(menu.InsertItem(&stray, 0, 0), 0u);
    EXPECT_EQ(menu.GetLastError(), 11);
    EXPECT_EQ(menu.InsertItem(&stray, 9999, 1), 0u);
    EXPECT_EQ(menu.GetLastError(), 10);
    EXPECT_EQ(stray.GetId(), 0u);
}

TEST(MenuModel, MeasuresAndWritesTheTextForm)
{
    CMenu menu;
    CMenuItem* root = menu.GetMenuTree()->GetData();
    root->SetStyle(MENU_STYLE_SUBMENU);
    root->SetText("R");
    CMenuItem* item = new CMenuItem();
    item->SetStyle(MENU_STYLE_ITEM);
    item->SetText("a");
    ASSERT_EQ(menu.InsertItem(item, 0, 1), 1u);

    const std::string rootLine = "<menu text=\"R\" iconpath=\"\" iconnumber=\"0\" sidebar=\"false\">";
    const std::string itemLine =
        "<menuitem text=\"a\" target=\"\" cmdline=\"\" workdir=\"\" windowstate=\"1\" "
        "iconpath=\"\" iconnumber=\"0\" />";
    EXPECT_EQ(menu.GetXMLString(nullptr, nullptr, 0),
              (int)(rootLine.size() + 1 + itemLine.size() + 1 + 8 + 1));
    EXPECT_EQ(XmlOf(menu, nullptr), rootLine + "\n" + itemLine + "\n</menu>\n");
    EXPECT_EQ(XmlOf(menu, menu.FindItem(1)), itemLine + "\n");

    char line[1400];
    EXPECT_EQ(menu.GetItemXMLString(menu.FindItem(1), line, sizeof(line)), (int)itemLine.size() + 1);
    EXPECT_EQ(std::string(line), itemLine);
    EXPECT_EQ(menu.GetXMLStringChildren(menu.GetMenuTree(), nullptr, 0), (int)itemLine.size() + 1);

    // An entry without an element form contributes nothing, in size and text.
    CMenuItem* blank = new CMenuItem();
    ASSERT_NE(menu.InsertItem(blank, 1, 0), 0u);
    EXPECT_EQ(menu.GetItemXMLString(menu.FindItem(blank->GetId()), line, sizeof(line)), 0);
    EXPECT_STREQ(line, "");
    EXPECT_EQ(menu.GetXMLString(menu.FindItem(blank->GetId()), nullptr, 0), 1);
    EXPECT_EQ(XmlOf(menu, nullptr), rootLine + "\n" + itemLine + "\n</menu>\n");

    // A short buffer gets a terminated prefix and nothing past its end.
    const std::string whole = XmlOf(menu, nullptr);
    for (size_t size : {1, 2, 10, 70, 71})
    {
        std::vector<char> buf(size + 8, '#');
        EXPECT_EQ(menu.GetXMLString(nullptr, buf.data(), size), (int)whole.size() + 1);
        EXPECT_EQ(std::string(buf.data()), whole.substr(0, size - 1)) << size;
        EXPECT_EQ(std::string(buf.data() + size, 8), std::string(8, '#')) << size;
    }
}

TEST(MenuModel, InsertFromXmlRebuildsACopiedSubtree)
{
    CMenu menu;
    menu.GetMenuTree()->GetData()->SetStyle(MENU_STYLE_SUBMENU);
    const std::string sub = "<menu text=\"S\" iconpath=\"\" iconnumber=\"0\" sidebar=\"true\">\n"
                            "<menuitem text=\"a\" target=\"t\" cmdline=\"\" workdir=\"\" windowstate=\"2\" "
                            "iconpath=\"\" iconnumber=\"0\" />\n"
                            "<menu text=\"T\" iconpath=\"\" iconnumber=\"0\" sidebar=\"false\">\n"
                            "</menu>\n"
                            "<menuseparator />\n"
                            "</menu>\n";
    ASSERT_TRUE(menu.InsertFromXML(sub.c_str(), 0, 1));
    EXPECT_EQ(menu.GetLastError(), 0);
    EXPECT_EQ(XmlOf(menu, menu.FindItem(1)), sub);
    EXPECT_EQ(menu.GetLastId(), 4u);

    // Pasted as sibling after the first copy: a second, intact copy with new ids.
    const std::string copied = XmlOf(menu, menu.FindItem(1));
    ASSERT_TRUE(menu.InsertFromXML(copied.c_str(), 1, 0));
    EXPECT_EQ(menu.GetMenuTree()->GetSize(), 2u);
    EXPECT_EQ(XmlOf(menu, menu.GetMenuTree()->GetAt(1)), sub);
    EXPECT_EQ(menu.GetMenuTree()->GetAt(1)->GetData()->GetId(), 5u);

    // CR LF lines are accepted; an empty line ends the text.
    ASSERT_TRUE(menu.InsertFromXML("<menuseparator />\r\n\n<bogus />\n", 0, 1));
    EXPECT_EQ(menu.GetMenuTree()->GetSize(), 3u);
    EXPECT_TRUE(menu.InsertFromXML("", 0, 1));
    EXPECT_EQ(menu.GetMenuTree()->GetSize(), 3u);
}

TEST(MenuModel, InsertFromXmlReportsBadText)
{
    std::string deep;
    for (int i = 0; i < 128; i++)
        deep += "<menu text=\"d\">\n";
    struct Case
    {
        const char* what;
        std::string text;
        unsigned long id;
        int asChild;
        int error;
        unsigned inserted;
    } cases[] = {
        {"unknown element", "<menuseparator />\n<item />\n", 0, 1, 4, 1},
        {"extra end", "</menu>\n", 0, 1, 5, 0},
        {"open submenu", "<menu text=\"s\">\n<menuseparator />\n", 0, 1, 6, 2},
        {"no such id", "<menuseparator />\n", 77, 1, 10, 0},
        {"sibling of the root", "<menuseparator />\n", 0, 0, 11, 0},
        {"too deep", deep, 0, 1, 9, 127},
    };
    for (const Case& c : cases)
    {
        CMenu menu;
        EXPECT_FALSE(menu.InsertFromXML(c.text.c_str(), c.id, c.asChild)) << c.what;
        EXPECT_EQ(menu.GetLastError(), c.error) << c.what;
        EXPECT_EQ(menu.GetLastId(), c.inserted) << c.what;
    }
}

// Every text of an entry comes back as it was with quotes of either kind, and
// no text can set another property (a target `a" iconpath="evil.dll` once
// did). A text with both kinds cannot be stored: the model says so, and the
// writer keeps it from spilling into the other properties.
TEST_F(MenuFile, EveryTextKeepsQuotesOfEitherKind)
{
    typedef bool (CMenuItem::*Setter)(const char*);
    const struct
    {
        const char* name;
        Setter set;
        bool submenu;
    } fields[] = {
        {"text", &CMenuItem::SetText, false},
        {"target", &CMenuItem::SetTarget, false},
        {"cmdline", &CMenuItem::SetCmdLine, false},
        {"workdir", &CMenuItem::SetWorkDir, false},
        {"iconpath", &CMenuItem::SetIconPath, false},
        {"submenu text", &CMenuItem::SetText, true},
        {"submenu iconpath", &CMenuItem::SetIconPath, true},
    };
    const struct
    {
        const char* value;
        bool storable;
        const char* back;
    } values[] = {
        {"a\" iconpath=\"evil.dll\" sidebar=\"true", true, nullptr},
        {"it's' iconnumber='9", true, nullptr},
        {"\"", true, nullptr},
        {"'", true, nullptr},
        {"both ' and \" iconnumber=\"9", false, "both ' and "},
    };
    for (const auto& f : fields)
    {
        for (const auto& v : values)
        {
            SCOPED_TRACE(std::string(f.name) + ": " + v.value);
            ASSERT_TRUE(Read(kHeader + kRoot + Submenu("Sub") + Item("Entry") + kEnd + kEnd));
            Node* node = m_menu.FindItem(f.submenu ? 1 : 2);
            ASSERT_NE(node, nullptr);
            (node->GetData()->*f.set)(v.value);
            EXPECT_EQ(v.storable, node->GetData()->IsStorable());
            CMenuItem expected(node->GetData());
            (expected.*f.set)(v.back ? v.back : v.value);
            Written();
            ASSERT_TRUE(m_menu.ReadFile(m_dir.Path("out.menu").c_str()));
            EXPECT_EQ(Fields(&expected), Fields(m_menu.FindItem(f.submenu ? 1 : 2)->GetData()));
            // The clipboard's text form carries the same lines.
            CMenu copy;
            copy.New();
            ASSERT_TRUE(copy.InsertFromXML(XmlOf(m_menu, m_menu.FindItem(1)).c_str(), 0, 1));
            EXPECT_EQ(Fields(&expected), Fields(copy.FindItem(f.submenu ? 1 : 2)->GetData()));
        }
    }
}

// The editor can build what the reader takes, and no more: a submenu 128
// levels below the root is refused where it is inserted.
TEST(MenuModel, RefusesASubmenuDeeperThanAFileCanHold)
{
    CMenu menu;
    menu.New();
    menu.GetMenuTree()->GetData()->SetStyle(MENU_STYLE_SUBMENU);
    unsigned long parent = 0;
    for (int level = 1; level <= 127; level++)
    {
        CMenuItem* sub = new CMenuItem(0UL);
        sub->SetStyle(MENU_STYLE_SUBMENU);
        parent = menu.InsertItem(sub, parent, 1);
        ASSERT_NE(0u, parent) << level;
    }
    CMenuItem* tooDeep = new CMenuItem(0UL);
    tooDeep->SetStyle(MENU_STYLE_SUBMENU);
    EXPECT_EQ(0u, menu.InsertItem(tooDeep, parent, 1));
    EXPECT_EQ(9, menu.GetLastError());
    // As a sibling of the deepest submenu it fits; an entry inside it too.
    EXPECT_NE(0u, menu.InsertItem(tooDeep, parent, 0));
    CMenuItem* leaf = new CMenuItem(0UL);
    leaf->SetStyle(MENU_STYLE_ITEM);
    EXPECT_NE(0u, menu.InsertItem(leaf, parent, 1));

    ScratchDir dir;
    ASSERT_TRUE(menu.WriteFile(dir.Path("deep.menu").c_str()));
    CMenu back;
    EXPECT_TRUE(back.ReadFile(dir.Path("deep.menu").c_str())) << back.GetLastError();
}

#include "Menu.h"

#include <stdlib.h>
#include <string.h>

#include "TextFile.h"
#include "safesave.h"
#include "xmlutils.h"
#include "strutils.h"

namespace
{
typedef CPtrTree<CMenuItem> CMenuNode;

const char g_header[] = "<?TarvinMenu version=\"1.00\"?>";
const char g_endLine[] = "</menu>";
// GetTagName's limit: a longer name is no element of ours.
const unsigned g_tagSize = 25;
// Longest element line the writer can make: the menuitem template (93
// characters), a 63-character text, four paths of 259 and two numbers.
const int g_lineSize = 1280;

// Fields read with GetPropertyValue go through this buffer, then the setter
// cuts them to their own size.
struct CPropertyReader
{
    explicit CPropertyReader(const char* line) : m_line(line)
    {
    }
    const char* Text(const char* prop)
    {
        if (GetPropertyValue(m_line, prop, m_value, sizeof(m_value)) < 0)
            m_value[0] = '\0';
        return m_value;
    }
    // missing: the value of a property that is absent or empty.
    unsigned long Number(const char* prop, unsigned long missing = 0)
    {
        const char* text = Text(prop);
        return text[0] ? (unsigned long)(uint32_t)StrToInt(text) : missing;
    }

    const char* m_line;
    char m_value[MENU_PATH_SIZE];
};

bool IsSubmenu(const CMenuItem* item)
{
    return item && (item->GetStyle() & MENU_STYLE_SUBMENU);
}

// Submenu levels above the node: 0 for the root.
int LevelOf(const CMenuNode* node)
{
    int level = 0;
    for (const CMenuNode* p = node->GetParent(); p; p = p->GetParent())
        level++;
    return level;
}

// Levels of submenus in node's subtree, node itself included.
int SubmenuHeight(CMenuNode* node)
{
    int below = 0;
    for (unsigned i = 0; i < node->GetSize(); i++)
    {
        int h = SubmenuHeight(node->GetAt(i));
        if (h > below)
            below = h;
    }
    return IsSubmenu(node->GetData()) ? below + 1 : below;
}

// The element line of an entry; its length, or 0 when the style has no
// element form.
int FormatItemLine(const CMenuItem* item, char* line, size_t size)
{
    line[0] = '\0';
    if (!item)
        return 0;
    unsigned long style = item->GetStyle();
    // A text with a double quote goes in single quotes; written raw it would
    // end early and the rest would read as further properties.
    char text[MENU_TEXT_SIZE + 3], iconPath[MENU_PATH_SIZE + 3];
    QuoteValue(text, sizeof(text), item->GetText());
    QuoteValue(iconPath, sizeof(iconPath), item->GetIconPath());
    if (style & MENU_STYLE_SUBMENU)
    {
        StrFormat(line, size, "<menu text=%s iconpath=%s iconnumber=\"%d\" sidebar=\"%s\">", text, iconPath,
                  (int)item->GetIconNumber(), (style & MENU_STYLE_SIDEBAR) ? "true" : "false");
    }
    else if (style & MENU_STYLE_ITEM)
    {
        char target[MENU_PATH_SIZE + 3], cmdLine[MENU_PATH_SIZE + 3], workDir[MENU_PATH_SIZE + 3];
        QuoteValue(target, sizeof(target), item->GetTarget());
        QuoteValue(cmdLine, sizeof(cmdLine), item->GetCmdLine());
        QuoteValue(workDir, sizeof(workDir), item->GetWorkDir());
        StrFormat(line, size,
                  "<menuitem text=%s target=%s cmdline=%s workdir=%s windowstate=\"%d\" iconpath=%s "
                  "iconnumber=\"%d\" />",
                  text, target, cmdLine, workDir, (int)item->GetWindowState(), iconPath,
                  (int)item->GetIconNumber());
    }
    else if (style & MENU_STYLE_SEPARATOR)
        StrCopy(line, size, "<menuseparator />");
    return (int)strlen(line);
}

// Where the writer puts the element lines.
class CLineSink
{
  public:
    virtual void Line(const char* text, size_t len) = 0;

  protected:
    ~CLineSink() = default;
};

// Collects the text form: counts every byte, stores what fits.
class CTextSink : public CLineSink
{
  public:
    CTextSink(char* out, size_t size) : m_out(size > 0 ? out : NULL), m_size(size), m_len(0)
    {
        if (m_out)
            m_out[0] = '\0';
    }
    void Put(const char* text, size_t len)
    {
        if (m_out && m_len < m_size - 1)
        {
            size_t room = m_size - 1 - m_len;
            memcpy(m_out + m_len, text, len < room ? len : room);
        }
        m_len += len;
        if (m_out)
            m_out[m_len < m_size - 1 ? m_len : m_size - 1] = '\0';
    }
    size_t Length() const
    {
        return m_len;
    }
    void Line(const char* text, size_t len) override
    {
        Put(text, len);
        Put("\n", 1);
    }

  private:
    char* m_out;
    size_t m_size;
    size_t m_len;
};

// Lines of the file, each ended by CR LF; remembers a line the system did
// not take.
class CFileSink : public CLineSink
{
  public:
    explicit CFileSink(CSafeSave* file) : m_file(file), m_ok(true)
    {
    }
    void Line(const char* text, size_t) override
    {
        m_ok = m_file->WriteLine(text) && m_ok;
    }
    bool Ok() const
    {
        return m_ok;
    }

  private:
    CSafeSave* m_file;
    bool m_ok;
};

// The one writer of the grammar: the children's element lines, a submenu's
// followed by its own children and its end line. A child with no element
// form is left out together with its subtree: an empty line would end a
// paste early, and the size must match what is written.
void PutChildren(CMenuNode* node, CLineSink* sink)
{
    char line[g_lineSize];
    node->ResetCur();
    for (CMenuNode* child = node->GetCur(); child; child = node->GetNext())
    {
        int len = FormatItemLine(child->GetData(), line, sizeof(line));
        if (len == 0)
            continue;
        sink->Line(line, (size_t)len);
        if (IsSubmenu(child->GetData()))
        {
            PutChildren(child, sink);
            sink->Line(g_endLine, sizeof(g_endLine) - 1);
        }
    }
}

// The one reader of the grammar's nesting, for the file and for pasted text:
// an entry goes under the innermost open submenu, a submenu line opens one
// more level and an end line closes the innermost.
struct CNesting
{
    unsigned long open[MENU_STACK_SIZE];
    int depth;   // open[depth] takes the next entry; below 0 all is closed
    int lowest;  // the depth down to which end lines may close levels
    int asChild; // entries at depth 0: children of open[0], or after it
};

// 0, or the error the line makes.
int NestLine(CMenu* menu, CNesting* n, const char* line)
{
    CMenuItem* item = new CMenuItem(0UL);
    int kind = item->Init(line);
    if (kind != 1)
    {
        delete item;
        if (kind != 5)
            return MENU_ERR_BAD_ELEMENT;
        if (n->depth <= n->lowest)
            return MENU_ERR_EXTRA_END;
        n->depth--;
        return 0;
    }
    // Nothing may follow the outermost end line, and the stack has room for
    // MENU_STACK_SIZE open submenus only.
    bool submenu = IsSubmenu(item);
    if (n->depth < 0 || (submenu && n->depth + 1 >= MENU_STACK_SIZE))
    {
        delete item;
        return MENU_ERR_INSERT;
    }
    unsigned long id = menu->InsertItem(item, n->open[n->depth], n->depth > 0 ? 1 : n->asChild);
    if (id == 0)
    {
        delete item;
        return menu->GetLastError();
    }
    if (submenu)
        n->open[++n->depth] = id;
    return 0;
}
} // namespace

CMenuItem::CMenuItem(unsigned long id) : m_id((uint32_t)id), m_style(0), m_windowState(1), m_iconNumber(0)
{
    m_text[0] = m_target[0] = m_cmdLine[0] = m_workDir[0] = m_iconPath[0] = '\0';
}

CMenuItem::CMenuItem(const CMenuItem* other) : CMenuItem(0UL)
{
    if (other)
        Copy(other);
}

CMenuItem::CMenuItem(const char* line) : CMenuItem(0UL)
{
    if (line)
        Init(line);
}

int CMenuItem::Init(const char* line)
{
    char tag[g_tagSize];
    if (!line || GetTagName(line, tag, sizeof(tag)) < 0)
        return 4;
    CPropertyReader props(line);
    if (StrCompareNoCase(tag, "menu") == 0)
    {
        if (IsEndTag(line))
            return 5;
        m_style = StrCompareNoCase(props.Text("sidebar"), "true") == 0
                      ? MENU_STYLE_SUBMENU | MENU_STYLE_SIDEBAR
                      : MENU_STYLE_SUBMENU;
        SetText(props.Text("text"));
        SetIconPath(props.Text("iconpath"));
        SetIconNumber(props.Number("iconnumber"));
        return 1;
    }
    if (StrCompareNoCase(tag, "menuitem") == 0)
    {
        m_style = MENU_STYLE_ITEM;
        SetText(props.Text("text"));
        SetTarget(props.Text("target"));
        SetCmdLine(props.Text("cmdline"));
        SetWorkDir(props.Text("workdir"));
        // The suite always writes it; a hand-written entry without it starts
        // its program in a normal window, not hidden (0).
        SetWindowState(props.Number("windowstate", 1)); // SW_SHOWNORMAL
        SetIconPath(props.Text("iconpath"));
        SetIconNumber(props.Number("iconnumber"));
        return 1;
    }
    if (StrCompareNoCase(tag, "menuseparator") == 0)
    {
        m_style = MENU_STYLE_SEPARATOR;
        SetText("-");
        return 1;
    }
    return 4;
}

bool CMenuItem::IsStorable(const char** field) const
{
    const char* texts[] = {m_text, m_target, m_cmdLine, m_workDir, m_iconPath};
    for (const char* text : texts)
    {
        if (!IsStorableValue(text))
        {
            if (field)
                *field = text;
            return false;
        }
    }
    return true;
}

void CMenuItem::Copy(const CMenuItem* other)
{
    if (other && other != this)
        *this = *other;
}

bool CMenuItem::SetText(const char* text)
{
    StrCopy(m_text, text ? text : "");
    return true;
}

bool CMenuItem::SetTarget(const char* target)
{
    StrCopy(m_target, target ? target : "");
    return true;
}

bool CMenuItem::SetCmdLine(const char* cmdLine)
{
    StrCopy(m_cmdLine, cmdLine ? cmdLine : "");
    return true;
}

bool CMenuItem::SetWorkDir(const char* workDir)
{
    StrCopy(m_workDir, workDir ? workDir : "");
    return true;
}

bool CMenuItem::SetIconPath(const char* iconPath)
{
    StrCopy(m_iconPath, iconPath ? iconPath : "");
    return true;
}

CMenu::CMenu() : m_pMenuTree(new CMenuNode(new CMenuItem(0UL), NULL, true)), m_lastId(0), m_lastError(0)
{
}

CMenu::~CMenu()
{
    Clear();
    delete m_pMenuTree;
}

bool CMenu::New()
{
    Clear();
    m_pMenuTree->SetData(new CMenuItem(0UL));
    return true;
}

void CMenu::Clear()
{
    m_lastId = 0;
    m_pMenuTree->Clear();
}

bool CMenu::ReadFile(const char* path)
{
    Clear();
    m_lastError = 0;

    CTextFile file;
    if (!path || !file.Open(path, CTextFile::modeRead))
        return Fail(MENU_ERR_CANNOT_OPEN);
    file.Init(1024);

    // A line too long to read cannot be the element the grammar expects at
    // its place, so it fails as that element would.
    char line[CTextFile::lineMenu];
    if (!file.ReadLine(line, sizeof(line)))
        return Fail(MENU_ERR_NO_HEADER);
    switch (ReadFileHeader(line, "?TarvinMenu"))
    {
        case FILE_HEADER_MISSING:
            return Fail(MENU_ERR_NO_HEADER);
        case FILE_HEADER_NO_VERSION:
            return Fail(MENU_ERR_NO_VERSION);
        case FILE_HEADER_BAD_VERSION:
            return Fail(MENU_ERR_BAD_VERSION);
    }

    if (!file.ReadLine(line, sizeof(line)))
        return Fail(file.IsLineTooLong() ? MENU_ERR_NO_ROOT : MENU_ERR_HEADER_ONLY);
    CMenuItem* root = new CMenuItem(0UL);
    if (root->Init(line) != 1 || !IsSubmenu(root))
    {
        delete root;
        return Fail(MENU_ERR_NO_ROOT);
    }
    m_pMenuTree->SetData(root);

    // The root's own end line closes the outermost level.
    CNesting nesting;
    nesting.open[0] = 0;
    nesting.depth = 0;
    nesting.lowest = -1;
    nesting.asChild = 1;
    while (file.ReadLine(line, sizeof(line)))
    {
        int error = NestLine(this, &nesting, line);
        if (error)
            return Fail(error);
    }
    if (file.IsLineTooLong())
        return Fail(MENU_ERR_BAD_ELEMENT);
    if (nesting.depth != nesting.lowest)
        return Fail(MENU_ERR_OPEN_SUBMENU);
    m_lastError = 0;
    return true;
}

bool CMenu::WriteFile(const char* path)
{
    CSafeSave save;
    if (!path || !save.Begin(path))
        return Fail(MENU_ERR_CANNOT_WRITE);

    // The root is always written as a submenu, even before its owner has
    // given it a style, so that the file can be read back.
    CMenuItem root(m_pMenuTree->GetData());
    if (!IsSubmenu(&root))
        root.SetStyle(MENU_STYLE_SUBMENU | (root.GetStyle() & MENU_STYLE_SIDEBAR));
    char line[g_lineSize];
    FormatItemLine(&root, line, sizeof(line));
    save.WriteLine(g_header);
    save.WriteLine(line);
    WriteChildren(&save, m_pMenuTree);
    if (!save.Commit())
        return Fail(MENU_ERR_CANNOT_WRITE);
    m_lastError = 0;
    return true;
}

bool CMenu::WriteChildren(CSafeSave* file, CPtrTree<CMenuItem>* node)
{
    CFileSink sink(file);
    PutChildren(node, &sink);
    return file->WriteLine(g_endLine) && sink.Ok();
}

unsigned long CMenu::InsertItem(CMenuItem* item, unsigned long id, int asChild)
{
    if (!item)
    {
        Fail(MENU_ERR_INSERT);
        return 0;
    }
    CMenuNode* node = FindItem(id);
    if (!node)
    {
        Fail(MENU_ERR_NOT_FOUND);
        return 0;
    }
    CMenuNode* parent = asChild ? node : node->GetParent();
    if (!parent)
    {
        Fail(MENU_ERR_ROOT);
        return 0;
    }
    // A submenu deeper than the reader's stack would save but never read back.
    if (IsSubmenu(item) && LevelOf(parent) + 1 >= MENU_STACK_SIZE)
    {
        Fail(MENU_ERR_INSERT);
        return 0;
    }
    bool owns = parent->GetDeleteData();
    CMenuNode* added = new CMenuNode(item, parent, owns);
    if (asChild)
        parent->Add(added, owns);
    else
    {
        // FindItem left the parent's cursor on node; past the last child
        // Insert appends.
        parent->Insert(added, (unsigned)parent->GetCurIndex() + 1, owns);
    }
    item->SetId(++m_lastId);
    m_lastError = 0;
    return m_lastId;
}

bool CMenu::DeleteItem(unsigned long id)
{
    CMenuNode* node = FindItem(id);
    if (!node)
        return Fail(MENU_ERR_NOT_FOUND);
    CMenuNode* parent = node->GetParent();
    if (!parent)
        return Fail(MENU_ERR_ROOT);
    unsigned index = 0;
    parent->ResetCur();
    for (CMenuNode* c = parent->GetCur(); c && c != node; c = parent->GetNext())
        index++;
    parent->Delete(index);
    parent->ResetCur();
    m_lastError = 0;
    return true;
}

bool CMenu::CanMoveItem(unsigned long id, unsigned long parentId)
{
    CMenuNode* node = FindItem(id);
    CMenuNode* parent = FindItem(parentId);
    if (!node || !parent)
        return Fail(MENU_ERR_NOT_FOUND);
    if (!node->GetParent())
        return Fail(MENU_ERR_ROOT);
    if (parent->GetParent() && !IsSubmenu(parent->GetData()))
        return Fail(MENU_ERR_INSERT);
    for (CMenuNode* p = parent; p; p = p->GetParent())
    {
        if (p == node)
            return Fail(MENU_ERR_INSERT);
    }
    if (LevelOf(parent) + SubmenuHeight(node) >= MENU_STACK_SIZE)
        return Fail(MENU_ERR_INSERT);
    m_lastError = 0;
    return true;
}

bool CMenu::MoveItem(unsigned long id, unsigned long parentId, unsigned index)
{
    if (!CanMoveItem(id, parentId))
        return false;
    CMenuNode* node = FindItem(id);
    CMenuNode* parent = FindItem(parentId);
    CMenuNode* from = node->GetParent();
    // The copy is made while the original still stands, so a failure leaves
    // the tree as it was.
    bool owns = parent->GetDeleteData();
    CMenuNode* moved = new CMenuNode(NULL, parent, owns);
    if (!moved->Copy(node))
    {
        delete moved;
        return Fail(MENU_ERR_INSERT);
    }
    unsigned at = 0;
    while (at < from->GetSize() && from->GetAt(at) != node)
        at++;
    from->Delete(at);
    parent->Insert(moved, index, owns);
    from->ResetCur();
    parent->ResetCur();
    m_lastError = 0;
    return true;
}

bool CMenu::InsertFromXML(const char* text, unsigned long id, int asChild)
{
    if (!text)
        text = "";
    // Lines are cut off in a private copy, so a line of any length reaches
    // Init whole.
    size_t len = strlen(text);
    char* copy = (char*)malloc(len + 1);
    if (!copy)
        return Fail(MENU_ERR_INSERT);
    memcpy(copy, text, len + 1);

    CNesting nesting;
    nesting.open[0] = id;
    nesting.depth = 0;
    nesting.lowest = 0;
    nesting.asChild = asChild;
    int error = 0;
    char* line = copy;
    // An empty line ends the text, as does its end.
    while (*line && *line != '\n')
    {
        char* next = strchr(line, '\n');
        if (next)
            *next++ = '\0';
        else
            next = line + strlen(line);

        error = NestLine(this, &nesting, line);
        if (error)
            break;
        line = next;
    }
    free(copy);
    if (error == 0 && nesting.depth != nesting.lowest)
        error = MENU_ERR_OPEN_SUBMENU;
    m_lastError = error;
    return error == 0;
}

CPtrTree<CMenuItem>* CMenu::FindItem(unsigned long id)
{
    return FindInChildren(m_pMenuTree, id);
}

CPtrTree<CMenuItem>* CMenu::FindInChildren(CPtrTree<CMenuItem>* node, unsigned long id)
{
    if (!node)
        return NULL;
    if (node->GetData() && node->GetData()->GetId() == id)
        return node;
    node->ResetCur();
    for (CMenuNode* child = node->GetCur(); child; child = node->GetNext())
    {
        // The child's own entry is checked first, so a hit leaves this
        // node's cursor on it.
        CMenuNode* hit = FindInChildren(child, id);
        if (hit)
            return hit;
    }
    return NULL;
}

int CMenu::GetXMLString(CPtrTree<CMenuItem>* node, char* out, size_t size)
{
    if (!node)
        node = m_pMenuTree;
    CTextSink sink(out, size);
    char line[g_lineSize];
    int len = FormatItemLine(node->GetData(), line, sizeof(line));
    if (len > 0)
    {
        sink.Line(line, (size_t)len);
        if (IsSubmenu(node->GetData()))
        {
            PutChildren(node, &sink);
            sink.Line(g_endLine, sizeof(g_endLine) - 1);
        }
    }
    return (int)sink.Length() + 1;
}

int CMenu::GetItemXMLString(CPtrTree<CMenuItem>* node, char* out, size_t size)
{
    char line[g_lineSize];
    int len = node ? FormatItemLine(node->GetData(), line, sizeof(line)) : 0;
    if (out && size > 0)
        StrCopy(out, size, len > 0 ? line : "");
    return len > 0 ? len + 1 : 0;
}

int CMenu::GetXMLStringChildren(CPtrTree<CMenuItem>* node, char* out, size_t size)
{
    CTextSink sink(out, size);
    if (node)
        PutChildren(node, &sink);
    return (int)sink.Length();
}

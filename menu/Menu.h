// The user's menu: a tree of entries and the menu file it is kept in.
//
// clang-format off
// Menu file: CR LF lines, one element per line, no indentation:
//     <?TarvinMenu version="1.00"?>
//     <menu text="..." iconpath="..." iconnumber="0" sidebar="false">     (the root)
//     <menuitem text="..." target="..." cmdline="..." workdir="..." windowstate="1" iconpath="..." iconnumber="0" />
//     <menuseparator />
//     <menu ...> ... </menu>                                              (a submenu)
//     </menu>                                                             (end of the root)
// Values are written without escaping: between double quotes, or between
// single quotes when they hold a double quote; no value can hold both.
// clang-format on
//
// Entry ids are handed out at run time (root 0, then 1, 2, ... in insertion
// order, never reused until the model is reset) and double as the command ids
// of the pop-up menu built from the tree.
#pragma once

#include <stddef.h>
#include <stdint.h>

#include "PtrList.h"
#include "platform.h"

// Style bits of an entry; exactly one of the first three is set on every
// entry read from a file.
enum
{
    MENU_STYLE_SUBMENU = 1,
    MENU_STYLE_ITEM = 2,
    MENU_STYLE_SEPARATOR = 4,
    MENU_STYLE_SIDEBAR = 8 // with MENU_STYLE_SUBMENU only: a gradient side bar
};

// Field sizes, terminator included.
const int MENU_TEXT_SIZE = 64;
const int MENU_PATH_SIZE = 260;
// The nesting a file or a pasted text may have: the root and 127 levels of
// submenus below it.
const int MENU_STACK_SIZE = 128;

// CMenu::GetLastError codes.
enum
{
    MENU_ERR_NONE = 0,
    MENU_ERR_NO_HEADER = 1,    // first line is not the "?TarvinMenu" header
    MENU_ERR_NO_VERSION = 2,   // the header has no version
    MENU_ERR_BAD_VERSION = 3,  // the version is not 1.0
    MENU_ERR_BAD_ELEMENT = 4,  // not menu, menuitem or menuseparator (also a line too long to read)
    MENU_ERR_EXTRA_END = 5,    // an end tag with no open submenu
    MENU_ERR_OPEN_SUBMENU = 6, // the input ends while a submenu is open
    MENU_ERR_NO_ROOT = 7,      // the line after the header is not a menu start tag
    MENU_ERR_HEADER_ONLY = 8,  // the file ends after the header
    MENU_ERR_INSERT = 9,       // an entry could not be placed (or none was given): nesting deeper than
                               // MENU_STACK_SIZE, or an element after the root's end line
    MENU_ERR_NOT_FOUND = 10,   // no entry has the given id
    MENU_ERR_ROOT = 11,        // the entry is the root (as sibling, or delete)
    MENU_ERR_CANNOT_OPEN = 12, // the file cannot be opened
    MENU_ERR_CANNOT_WRITE = 13 // the file cannot be written; the previous file is kept
};

class CMenuItem
{
  public:
    explicit CMenuItem(unsigned long id = 0);
    explicit CMenuItem(const CMenuItem* other);
    // Defaults, then Init(line) when line is not null.
    explicit CMenuItem(const char* line);

    // Fills the entry from one element line: 1, or 5 for a menu end tag, or 4
    // for any other tag (or no tag). Properties the element does not list
    // keep their values.
    int Init(const char* line);
    void Copy(const CMenuItem* other);

    unsigned long GetId() const
    {
        return m_id;
    }
    bool SetId(unsigned long id)
    {
        m_id = (uint32_t)id;
        return true;
    }
    unsigned long GetStyle() const
    {
        return m_style;
    }
    bool SetStyle(unsigned long style)
    {
        m_style = (uint32_t)style;
        return true;
    }
    unsigned long GetWindowState() const
    {
        return m_windowState;
    }
    bool SetWindowState(unsigned long state)
    {
        m_windowState = (uint32_t)state;
        return true;
    }
    unsigned long GetIconNumber() const
    {
        return m_iconNumber;
    }
    bool SetIconNumber(unsigned long number)
    {
        m_iconNumber = (uint32_t)number;
        return true;
    }

    // Text setters cut to the field (63 characters for the text, 259 for the
    // others); null stores "".
    const char* GetText() const
    {
        return m_text;
    }
    bool SetText(const char* text);
    const char* GetTarget() const
    {
        return m_target;
    }
    bool SetTarget(const char* target);
    const char* GetCmdLine() const
    {
        return m_cmdLine;
    }
    bool SetCmdLine(const char* cmdLine);
    const char* GetWorkDir() const
    {
        return m_workDir;
    }
    bool SetWorkDir(const char* workDir);
    const char* GetIconPath() const
    {
        return m_iconPath;
    }
    bool SetIconPath(const char* iconPath);
    // false when a text holds both quote characters: the menu file cannot
    // keep it (an editor refuses it with TAG_VALUE_QUOTES_TEXT). field, when
    // given, receives the first such text.
    bool IsStorable(const char** field = nullptr) const;

  private:
    uint32_t m_id;
    uint32_t m_style;
    char m_text[MENU_TEXT_SIZE];
    char m_target[MENU_PATH_SIZE];
    char m_cmdLine[MENU_PATH_SIZE];
    char m_workDir[MENU_PATH_SIZE];
    uint32_t m_windowState; // show command for the shell: 1 normal, 2 minimised, 3 maximised
    char m_iconPath[MENU_PATH_SIZE];
    uint32_t m_iconNumber;
};

class CSafeSave;

class CMenu
{
  public:
    CMenu();
    ~CMenu();
    CMenu(const CMenu&) = delete;
    CMenu& operator=(const CMenu&) = delete;

    // Empty model whose root is a default entry (style 0, id 0); the owner
    // puts its own root entry in its place.
    bool New();
    // Empty model without a root entry (the payload is null).
    void Clear();

    // Replaces the model by the file's content. On failure the entries read
    // so far stay (the root entry may be missing) and GetLastError tells why.
    bool ReadFile(const char* path);
    // Saves the whole model through a temporary file; false with
    // MENU_ERR_CANNOT_WRITE when it cannot be written.
    bool WriteFile(const char* path);
    // Element lines of node's children and their subtrees, then "</menu>".
    bool WriteChildren(CSafeSave* file, CPtrTree<CMenuItem>* node);

    // Links item as the last child of entry id (asChild != 0) or as the
    // sibling right after it. The model owns item from then on and gives it a
    // new id, which is returned; 0 on failure (item stays the caller's). A
    // submenu is refused (MENU_ERR_INSERT) where it would lie deeper than
    // MENU_STACK_SIZE - 1 levels below the root, which no file could hold.
    unsigned long InsertItem(CMenuItem* item, unsigned long id, int asChild);
    // Removes the entry and its subtree; not the root.
    bool DeleteItem(unsigned long id);
    // Whether entry id may be moved into the submenu (or root) parentId: not
    // the root, not into itself or a submenu of its own, and not so deep that
    // no file could hold it. false with the reason in GetLastError.
    bool CanMoveItem(unsigned long id, unsigned long parentId);
    // Moves entry id with its subtree, ids kept, to position index among
    // parentId's children as they are once it has left (past the end:
    // last). false, and nothing moved, where CanMoveItem refuses.
    bool MoveItem(unsigned long id, unsigned long parentId, unsigned index);
    // Inserts entries given in the text form (below) relative to entry id.
    // Entries inserted before a failure stay in the tree.
    bool InsertFromXML(const char* text, unsigned long id, int asChild);

    // Depth-first search; leaves the cursor of every list on the way on the
    // path to the hit, so the parent's GetCurIndex is the hit's position.
    CPtrTree<CMenuItem>* FindItem(unsigned long id);
    CPtrTree<CMenuItem>* FindInChildren(CPtrTree<CMenuItem>* node, unsigned long id);

    // Text form (clipboard and undo): the file's element lines, each ended by
    // one LF, a submenu's lines followed by "</menu>\n". Each writes at most
    // size bytes into out, always terminated; with out null nothing is written
    // and only the size is computed.
    //
    // Node and subtree (null = the root); returns the bytes the whole text
    // needs including the terminating NUL.
    int GetXMLString(CPtrTree<CMenuItem>* node, char* out, size_t size);
    // The node's one element line without line end; its length + 1, or 0
    // (and "") for an entry with no element form (style 0) or no entry.
    int GetItemXMLString(CPtrTree<CMenuItem>* node, char* out, size_t size);
    // The lines of all descendants; their length without the NUL.
    int GetXMLStringChildren(CPtrTree<CMenuItem>* node, char* out, size_t size);

    int GetLastError() const
    {
        return m_lastError;
    }
    unsigned long GetLastId() const
    {
        return m_lastId;
    }
    // The root node; its payload is the root entry, its children the
    // top-level entries. Callers walk it with the list cursor.
    CPtrTree<CMenuItem>* GetMenuTree() const
    {
        return m_pMenuTree;
    }

  private:
    bool Fail(int error)
    {
        m_lastError = error;
        return false;
    }

    CPtrTree<CMenuItem>* m_pMenuTree;
    uint32_t m_lastId;
    int m_lastError;
};

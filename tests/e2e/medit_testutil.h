// Helpers of the menu editor's end-to-end tests: the real tvmedit.exe started
// in a scratch files folder on a menu file, its tree and list read across
// processes, its commands given and its message boxes answered.
#pragma once

#include <windows.h>
#include <commctrl.h>
#include <memory>
#include <string>

#include <gtest/gtest.h>

#include "agent/agent_testutil.h"
#include "e2e/driver.h"

namespace medittest
{

// Generous: a loaded machine makes every Wine step slow.
const DWORD kWait = 20000;
const char* const kMeditKey = "Software\\Norvale\\Tarvin 2\\Menu Editor";

// Command ids of the editor's menu bar.
enum
{
    CMD_EXIT = 401,
    CMD_NEW = 402,
    CMD_OPEN = 403,
    CMD_SAVE = 405,
    CMD_UNDO = 407,
    CMD_REDO = 408,
    CMD_COPY = 409,
    CMD_CUT = 410,
    CMD_PASTE = 411,
    CMD_DELETE = 412,
    CMD_PROPERTIES = 414,
    CMD_VIEWSTATUSBAR = 417,
    CMD_SORT = 418,
    CMD_TEST = 419,
    CMD_MOVEUP = 420,
    CMD_MOVEDOWN = 421,
    CMD_APPSHORTCUT = 434,
    CMD_SEPARATOR = 432,
    ID_STATUS = 301,
    ID_TOOLBAR = 302,
    ID_TREE = 303,
    ID_LIST = 304
};

// Element lines of the menu file.
inline std::string Root(const char* text)
{
    return std::string("<menu text=\"") + text + "\" iconpath=\"\" iconnumber=\"0\" sidebar=\"false\">";
}
inline std::string Sub(const char* text)
{
    return Root(text);
}
inline std::string Item(const char* text, const char* target = "C:\\windows\\notepad.exe")
{
    return std::string("<menuitem text=\"") + text + "\" target=\"" + target +
           "\" cmdline=\"\" workdir=\"\" windowstate=\"1\" iconpath=\"\" iconnumber=\"0\" />";
}
inline std::string Separator()
{
    return "<menuseparator />";
}

// A menu file: the header, then each line, all ended by CR LF.
inline std::string Lines(std::initializer_list<std::string> lines)
{
    std::string text = "<?TarvinMenu version=\"1.00\"?>\r\n";
    for (const std::string& line : lines)
        text += line + "\r\n";
    return text;
}

// One running editor.
class CMedit
{
  public:
    // Starts the editor on the file and waits for its views.
    bool Start(const std::string& file)
    {
        m_proc.reset(new CDrvProcess);
        std::string args = "-file=\"" + file + "\"";
        if (!m_proc->Start((agenttest::ProgramDir() + "tvmedit.exe").c_str(), args.c_str()))
            return false;
        if (DrvWaitWindow(DrvQuery("_TVMEDIT_MAINWND", nullptr, TVD_MATCH_EXACT, m_proc->Pid()), kWait,
                          &m_main) != TVD_OK)
            return false;
        m_tree = DrvFindChildById(m_main, ID_TREE);
        m_list = DrvFindChildById(m_main, ID_LIST);
        m_toolbar = DrvFindChildById(m_main, ID_TOOLBAR);
        return m_tree && m_list && m_toolbar && Ready();
    }

    HWND Main() const
    {
        return m_main;
    }
    HWND List() const
    {
        return m_list;
    }
    HWND Tree() const
    {
        return m_tree;
    }
    DWORD Pid() const
    {
        return m_proc ? m_proc->Pid() : 0;
    }
    CDrvProcess* Process()
    {
        return m_proc.get();
    }

    bool Ready()
    {
        return DrvIsReady(m_main, kWait);
    }

    // A command that shows no box: done when this returns.
    bool Do(int id)
    {
        DWORD_PTR result = 0;
        return SendMessageTimeoutA(m_main, WM_COMMAND, (WPARAM)id, 0, SMTO_ABORTIFHUNG, kWait, &result) != 0;
    }
    // A command that opens a box or a dialog.
    bool Post(int id)
    {
        return DrvPostCommand(m_main, id);
    }

    std::string Title()
    {
        char buf[256] = "";
        DrvGetText(m_main, buf, sizeof(buf));
        return buf;
    }
    std::string Status()
    {
        char buf[MAX_PATH + 32] = "";
        DrvStatusText(DrvFindChildById(m_main, ID_STATUS), 0, buf, sizeof(buf));
        return buf;
    }

    // The list as "name|name|...", a separator shown as "---".
    std::string Rows()
    {
        std::string out;
        int rows = DrvListViewRowCount(m_list);
        for (int r = 0; r < rows; r++)
        {
            char name[128] = "", type[32] = "";
            DrvListViewText(m_list, r, 0, name, sizeof(name));
            DrvListViewText(m_list, r, 1, type, sizeof(type));
            out += (r ? "|" : "") + std::string(strcmp(type, "Separator") == 0 ? "---" : name);
        }
        return out;
    }
    std::string Cell(int row, int column)
    {
        char buf[MAX_PATH] = "";
        DrvListViewText(m_list, row, column, buf, sizeof(buf));
        return buf;
    }
    int Selected()
    {
        return DrvListViewSelected(m_list);
    }
    // The tree, one node per line, two spaces of indent per level.
    std::string TreeText()
    {
        char buf[4096] = "";
        DrvTreeDump(m_tree, buf, sizeof(buf));
        return buf;
    }
    std::string TreeSelection()
    {
        char buf[128] = "";
        DrvTreeText(m_tree, DrvTreeSelection(m_tree), buf, sizeof(buf));
        return buf;
    }

    bool SelectRow(int row)
    {
        return DrvListViewSelect(m_list, row) && Ready();
    }
    bool SelectRow(const char* name)
    {
        int rows = DrvListViewRowCount(m_list);
        for (int r = 0; r < rows; r++)
        {
            if (Cell(r, 0) == name)
                return SelectRow(r);
        }
        return false;
    }
    bool SelectNode(const char* text)
    {
        HTREEITEM node = DrvTreeFind(m_tree, text);
        return node && DrvTreeSelect(m_tree, node) && Ready();
    }

    bool Enabled(int id)
    {
        DWORD_PTR result = 0;
        SendMessageTimeoutA(m_toolbar, TB_ISBUTTONENABLED, (WPARAM)id, 0, SMTO_ABORTIFHUNG, kWait, &result);
        return result != 0;
    }

    // The editor's next message box: its text, after pressing the button
    // (0: none).
    std::string Box(int button)
    {
        HWND box = nullptr;
        if (DrvWaitMessageBox(nullptr, Pid(), kWait, &box) != TVD_OK)
            return "(no box)";
        char caption[128] = "", text[1024] = "";
        DrvGetText(box, caption, sizeof(caption));
        DrvMessageBoxText(box, text, sizeof(text));
        if (button)
        {
            EXPECT_TRUE(DrvPressButton(box, button));
            EXPECT_EQ(TVD_OK, DrvWaitDestroyed(box, kWait));
        }
        return std::string(caption) + ": " + text;
    }
    // No box is open once the editor answers again.
    bool NoBox()
    {
        if (!Ready())
            return false;
        HWND box = nullptr;
        return DrvWaitMessageBox(nullptr, Pid(), 0, &box) != TVD_OK;
    }

  private:
    std::unique_ptr<CDrvProcess> m_proc;
    HWND m_main = nullptr;
    HWND m_tree = nullptr;
    HWND m_list = nullptr;
    HWND m_toolbar = nullptr;
};

// A scratch files folder (and, when a test asks, the agent) with the
// editor's start-up dialogs switched off.
class MeditTest : public agenttest::AgentProcessTest
{
  protected:
    void SetUp() override
    {
        AgentProcessTest::SetUp();
        m_reg.SetDword(kMeditKey, "Show Tips", 0);
        m_reg.SetDword(kMeditKey, "Show Startup", 0);
        m_reg.SetDword(kMeditKey, "Test Full", 1);
    }

    // Writes the menu into the files folder; its path.
    std::string WriteMenu(const char* name, const std::string& text)
    {
        std::string path = File(name);
        WriteBytes(path, text);
        return path;
    }

    wintest::RegRestorer m_reg;
};

} // namespace medittest

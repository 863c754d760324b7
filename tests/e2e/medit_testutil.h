// Helpers of the menu editor's end-to-end tests: the real tvmedit.exe started
// in a scratch files folder on a menu file, its tree and list read across
// processes, its commands given and its message boxes answered.
#pragma once

#include <windows.h>
#include <commctrl.h>
#include <string>

#include <gtest/gtest.h>

#include "agent/agent_testutil.h"
#include "e2e/e2e_testutil.h"
#include "medit_res.h"

namespace medittest
{

using e2etest::kTimeout;
const char* const kMeditKey = "Software\\Norvale\\Tarvin 2\\Menu Editor";

// Element lines of the menu file (a submenu opens as the root does).
inline std::string Root(const char* text)
{
    return std::string("<menu text=\"") + text + "\" iconpath=\"\" iconnumber=\"0\" sidebar=\"false\">";
}
inline std::string Item(const char* text, const char* target = "C:\\windows\\notepad.exe")
{
    return e2etest::MenuItem(text, target, "");
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
class CMedit : public e2etest::CProgramWindow
{
  public:
    // Starts the editor on the file and waits for its views.
    bool Start(const std::string& file)
    {
        return CProgramWindow::Start("tvmedit.exe", "-file=\"" + file + "\"", "_TVMEDIT_MAINWND") && Tree() &&
               List() && Ready();
    }

    HWND List() const
    {
        return DrvFindChildById(m_main, IDC_LIST);
    }
    HWND Tree() const
    {
        return DrvFindChildById(m_main, IDC_TREE);
    }

    // The list as "name|name|...", a separator shown as "---".
    std::string Rows()
    {
        std::string out;
        for (int r = 0, rows = DrvListViewRowCount(List()); r < rows; r++)
            out += (r ? "|" : "") + (Cell(r, 1) == "Separator" ? "---" : Cell(r, 0));
        return out;
    }
    std::string Cell(int row, int column)
    {
        char buf[MAX_PATH] = "";
        DrvListViewText(List(), row, column, buf, sizeof(buf));
        return buf;
    }
    int Selected()
    {
        return DrvListViewSelected(List());
    }
    // The tree, one node per line, two spaces of indent per level.
    std::string TreeText()
    {
        char buf[4096] = "";
        DrvTreeDump(Tree(), buf, sizeof(buf));
        return buf;
    }
    std::string TreeSelection()
    {
        char buf[128] = "";
        DrvTreeText(Tree(), DrvTreeSelection(Tree()), buf, sizeof(buf));
        return buf;
    }

    bool SelectRow(int row)
    {
        return DrvListViewSelect(List(), row) && Ready();
    }
    bool SelectRow(const char* name)
    {
        for (int r = 0, rows = DrvListViewRowCount(List()); r < rows; r++)
        {
            if (Cell(r, 0) == name)
                return SelectRow(r);
        }
        return false;
    }
    bool SelectNode(const char* text)
    {
        HTREEITEM node = DrvTreeFind(Tree(), text);
        return node && DrvTreeSelect(Tree(), node) && Ready();
    }
    // A click into the tree's empty space, below its nodes: the tree takes
    // the focus and both selections stay.
    bool ClickTreeSpace()
    {
        RECT rc;
        if (!GetClientRect(Tree(), &rc))
            return false;
        LPARAM at = MAKELPARAM(4, rc.bottom - 4);
        return PostMessageA(Tree(), WM_LBUTTONDOWN, MK_LBUTTON, at) &&
               PostMessageA(Tree(), WM_LBUTTONUP, 0, at) && Ready();
    }

    // The editor's next message box as "<caption>: <text>", after pressing
    // the button (0: none).
    std::string Box(int button)
    {
        HWND box = nullptr;
        if (DrvWaitMessageBox(nullptr, Pid(), kTimeout, &box) != TVD_OK)
            return "(no box)";
        std::string caption = e2etest::TextOf(box);
        return caption + ": " + Answer(caption.c_str(), button);
    }
    // No box is open once the editor answers again.
    bool NoBox()
    {
        HWND box = nullptr;
        return Ready() && DrvWaitMessageBox(nullptr, Pid(), 0, &box) != TVD_OK;
    }
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

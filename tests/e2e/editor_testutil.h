// Helpers of the launch file editor's end-to-end tests: the real tvedit.exe
// started on a launch file in a scratch files folder, and its action list
// read across processes.
#pragma once

#include <windows.h>
#include <memory>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "agent/agent_testutil.h"
#include "e2e/e2e_testutil.h"
#include "edit_res.h"

namespace edittest
{

using e2etest::kTimeout;
using Rows = std::vector<std::string>;
const char* const kEditorKey = "Software\\Norvale\\Tarvin 2\\Editor";
const UINT kFormat = RegisterClipboardFormatA("TVEDIT_CCPFORMAT");

// One running editor and its action list.
class Editor : public e2etest::CProgramWindow
{
  public:
    HWND List() const
    {
        return DrvFindChildById(m_main, IDC_ACTIONLIST);
    }
    std::string Status() const
    {
        return CProgramWindow::Status(IDC_STATUSBAR);
    }
    // Every row as "<action>|<description>".
    std::vector<std::string> Rows() const
    {
        std::vector<std::string> rows;
        for (int i = 0, count = DrvListViewRowCount(List()); i < count; i++)
        {
            char name[256] = "", description[2300] = "";
            DrvListViewText(List(), i, 0, name, sizeof(name));
            DrvListViewText(List(), i, 1, description, sizeof(description));
            rows.push_back(std::string(name) + "|" + description);
        }
        return rows;
    }
    bool WaitRows(const std::vector<std::string>& rows) const
    {
        return DrvWaitFor([&]() { return Rows() == rows; }, kTimeout) == TVD_OK;
    }
    int Selected() const
    {
        return DrvListViewSelected(List());
    }
    // Selected once the list says so: a loaded machine may refuse a first try.
    bool Select(int row) const
    {
        return DrvWaitFor(
                   [&]() { return DrvListViewSelect(List(), row) && DrvListViewSelected(List()) == row; },
                   kTimeout) == TVD_OK;
    }
    bool WaitRowCount(int count) const
    {
        return DrvWaitFor([&]() { return DrvListViewRowCount(List()) == count; }, kTimeout) == TVD_OK;
    }
};

// A scratch files folder (the agent's test set-up, without starting it),
// the editor's start-up boxes switched off, and editors that end with the
// test.
class EditorTest : public agenttest::AgentProcessTest
{
  protected:
    void SetUp() override
    {
        AgentProcessTest::SetUp();
        for (const char* name : {"Show Tips", "Show Startup", "Add Shortcuts"})
            wintest::SetRegDword(kEditorKey, name, 0);
        wintest::SetRegDword(kEditorKey, "View Toolbar", 1);
    }

    void TearDown() override
    {
        m_editors.clear();
        // Every value the test or the editor wrote: the next test starts
        // from the defaults.
        RegDeleteKeyA(HKEY_CURRENT_USER, kEditorKey);
        AgentProcessTest::TearDown();
    }

    // Writes the lines, each ended by CR LF, into the files folder.
    std::string WriteLaunch(const char* name, const std::vector<std::string>& lines)
    {
        std::string text;
        for (const std::string& line : lines)
            text += line + "\r\n";
        WriteBytes(File(name), text);
        return File(name);
    }

    static std::vector<std::string> ReadLines(const std::string& path)
    {
        return Lines(ReadBytes(path));
    }

    // Starts tvedit.exe on the file (none: no argument) and waits for its
    // window.
    Editor& StartEditor(const std::string& file)
    {
        m_editors.emplace_back(new Editor);
        Editor& ed = *m_editors.back();
        EXPECT_TRUE(ed.Start("tvedit.exe", file.empty() ? "" : "-file='" + file + "'", "_TVEDIT_MAINWND"));
        EXPECT_TRUE(ed.List() != nullptr);
        return ed;
    }

    std::vector<std::unique_ptr<Editor>> m_editors;
};

} // namespace edittest

// Helpers of the launch file editor's end-to-end tests: the real tvedit.exe
// started on a launch file in a scratch files folder, its list, title and
// message boxes read across processes, and the private clipboard format.
#pragma once

#include <windows.h>
#include <commctrl.h>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "agent/agent_testutil.h"
#include "e2e/driver.h"
#include "edit_res.h"

namespace edittest
{

const DWORD kWait = 20000;
const char* const kEditorKey = "Software\\Norvale\\Tarvin 2\\Editor";
const char* const kEditorClass = "_TVEDIT_MAINWND";

// One running editor: its process, main window and action list.
struct Editor
{
    std::unique_ptr<CDrvProcess> process;
    HWND main = nullptr;
    HWND list = nullptr;

    DWORD Pid() const
    {
        return process ? process->Pid() : 0;
    }
    std::string Title() const
    {
        char buf[512] = "";
        DrvGetText(main, buf, sizeof(buf));
        return buf;
    }
    std::string Status() const
    {
        char buf[512] = "";
        DrvStatusText(DrvFindChildById(main, IDC_STATUSBAR), 0, buf, sizeof(buf));
        return buf;
    }
    // Every row as "<action>|<description>".
    std::vector<std::string> Rows() const
    {
        std::vector<std::string> rows;
        int count = DrvListViewRowCount(list);
        for (int i = 0; i < count; i++)
        {
            char name[256] = "", description[2300] = "";
            DrvListViewText(list, i, 0, name, sizeof(name));
            DrvListViewText(list, i, 1, description, sizeof(description));
            rows.push_back(std::string(name) + "|" + description);
        }
        return rows;
    }
    int Selected() const
    {
        return DrvListViewSelected(list);
    }
    bool Select(int row) const
    {
        return DrvListViewSelect(list, row);
    }
    bool Command(int id) const
    {
        return DrvPostCommand(main, id);
    }
    bool WaitTitle(const std::string& title) const
    {
        return DrvWaitFor([&]() { return Title() == title; }, kWait) == TVD_OK;
    }
    bool WaitRowCount(int count) const
    {
        return DrvWaitFor([&]() { return DrvListViewRowCount(list) == count; }, kWait) == TVD_OK;
    }
    // A message box of this editor with that caption: its text, after
    // pressing button (0: none pressed).
    std::string Answer(const char* caption, int button) const
    {
        HWND box = nullptr;
        if (DrvWaitMessageBox(caption, Pid(), kWait, &box) != TVD_OK)
            return "(no box)";
        char text[1024] = "";
        DrvMessageBoxText(box, text, sizeof(text));
        if (button)
        {
            EXPECT_TRUE(DrvPressButton(box, button));
            DrvWaitDestroyed(box, kWait);
        }
        return text;
    }
    // A dialog of this editor with that caption, once it is ready.
    HWND Dialog(const char* caption) const
    {
        HWND dlg = nullptr;
        EXPECT_EQ(TVD_OK, DrvWaitWindow(DrvQuery("#32770", caption, TVD_MATCH_EXACT, Pid()), kWait, &dlg))
            << caption;
        return dlg;
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
        std::string path = File(name);
        std::ofstream out(path, std::ios::binary);
        for (const std::string& line : lines)
            out << line << "\r\n";
        return path;
    }

    static std::vector<std::string> ReadLines(const std::string& path)
    {
        std::ifstream in(path, std::ios::binary);
        std::vector<std::string> lines;
        std::string line;
        while (std::getline(in, line))
        {
            if (!line.empty() && line.back() == '\r')
                line.pop_back();
            lines.push_back(line);
        }
        return lines;
    }

    // Starts tvedit.exe on the file (none: no argument) and waits for its
    // window and list.
    Editor& StartEditor(const std::string& file)
    {
        m_editors.emplace_back(new Editor);
        Editor& ed = *m_editors.back();
        ed.process.reset(new CDrvProcess);
        std::string args = file.empty() ? "" : "-file='" + file + "'";
        EXPECT_TRUE(ed.process->Start((agenttest::ProgramDir() + "tvedit.exe").c_str(), args.c_str()));
        EXPECT_EQ(TVD_OK,
                  DrvWaitWindow(DrvQuery(kEditorClass, nullptr, TVD_MATCH_EXACT, ed.Pid()), kWait, &ed.main));
        ed.list = ed.main ? DrvFindChildById(ed.main, IDC_ACTIONLIST) : nullptr;
        EXPECT_TRUE(ed.list != nullptr);
        return ed;
    }

    // Puts one line on the clipboard in the editor's private format.
    static bool PutClipboardLine(const std::string& line)
    {
        UINT format = RegisterClipboardFormatA("TVEDIT_CCPFORMAT");
        if (!OpenClipboard(nullptr))
            return false;
        EmptyClipboard();
        HGLOBAL mem = GlobalAlloc(GMEM_MOVEABLE, line.size() + 1);
        bool put = false;
        if (char* data = mem ? (char*)GlobalLock(mem) : nullptr)
        {
            memcpy(data, line.c_str(), line.size() + 1);
            GlobalUnlock(mem);
            put = SetClipboardData(format, mem) != nullptr;
        }
        if (mem && !put)
            GlobalFree(mem);
        CloseClipboard();
        return put;
    }

    std::vector<std::unique_ptr<Editor>> m_editors;
};

} // namespace edittest

// Helpers of the agent's unit tests: waiting with the message loop running,
// plain test windows, the real agent as a second process and its list views.
#pragma once

#include <windows.h>
#include <commctrl.h>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "support/tvdriver/driver.h"
#include "testutil.h"
#include "agentproto.h"
#include "strutils.h"
#include "wintestutil.h"

namespace agenttest
{

using wintest::FindTop;
using wintest::ProgramDir;
using wintest::PumpUntil;

using wintest::TestClass;
typedef wintest::TestWindow CTestWindow;

// The real tvagent.exe started fresh in a scratch files folder, with
// everything that could block an unattended run (splash, wizard, notice)
// switched off.
class AgentProcessTest : public ::testing::Test
{
  protected:
    static constexpr DWORD kAgentTimeout = 15000;
    static constexpr const char* kSuiteKey = "Software\\Norvale\\Tarvin 2";
    static constexpr const char* kAgentKey = "Software\\Norvale\\Tarvin 2\\Agent";

    void SetUp() override
    {
        m_files = m_dir.Path("files");
        CreateDirectoryA(m_files.c_str(), NULL);
        wintest::SetRegString(kSuiteKey, "Files Folder", m_files);
        wintest::SetRegDword(kSuiteKey, "First Run", 0);
        wintest::SetRegDword(kAgentKey, "No Splash", 1);
        wintest::SetRegDword(kAgentKey, "Show Wizard", 0);
        wintest::SetRegDword(kAgentKey, "Exit Message", 0);
        // Without these two files the agent greets a new user with boxes.
        WriteBytes(File("Tarvin.log"), "<?TarvinLogFile version='1.00'?>\r\n");
        WriteBytes(File("Tarvin Keys.keys"), "<?TarvinTarvinKeys version=\"1.00\"?>\r\n");
    }

    void TearDown() override
    {
        Stop();
        wintest::DeleteRegValue(kSuiteKey, "Files Folder");
        for (const char* name : {"No Splash", "Show Wizard", "Exit Message", "Log File"})
            wintest::DeleteRegValue(kAgentKey, name);
    }

    std::string File(const char* name) const
    {
        return m_files + "\\" + name;
    }

    // Starts tvagent.exe and waits for its (hidden) main window.
    HWND Start()
    {
        m_process.reset(new CDrvProcess);
        if (!m_process->Start((ProgramDir() + "tvagent.exe").c_str(), ""))
        {
            ADD_FAILURE() << "cannot start tvagent.exe: " << GetLastError();
            return NULL;
        }
        PumpUntil([&]() { return (m_agent = FindTop(Pid(), AGENT_WINDOW_CLASS, NULL)) != NULL; },
                  kAgentTimeout);
        // Ready when its message loop answers.
        DWORD_PTR result;
        if (m_agent)
            SendMessageTimeoutA(m_agent, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, kAgentTimeout, &result);
        return m_agent;
    }

    DWORD Pid() const
    {
        return m_process ? m_process->Pid() : 0;
    }

    // Waits for the agent to end, with this thread's messages running; its
    // exit code, or -1 on a time-out.
    int WaitExit()
    {
        DWORD code = 0;
        if (!m_process ||
            !PumpUntil([&]() { return m_process->WaitExit(0, &code) == TVD_OK; }, kAgentTimeout))
            return -1;
        m_process.reset();
        return (int)code;
    }

    // Ends the agent the way its menu does and waits for it (else kills it).
    void Stop()
    {
        if (m_process && m_agent && IsWindow(m_agent))
            PostMessageA(m_agent, WM_COMMAND, 200, 0);
        if (WaitExit() < 0)
            m_process.reset();
    }

    ScratchDir m_dir;
    std::string m_files;
    std::unique_ptr<CDrvProcess> m_process;
    HWND m_agent = NULL;
};

// A list view of this process: one cell, one row's image.
inline std::string Cell(HWND list, int row, int column)
{
    char text[1100] = "";
    ListView_GetItemText(list, row, column, text, sizeof(text));
    return text;
}

inline int ImageOf(HWND list, int row)
{
    LVITEMA item;
    ZeroMemory(&item, sizeof(item));
    item.mask = LVIF_IMAGE;
    item.iItem = row;
    ListView_GetItem(list, &item);
    return item.iImage;
}

} // namespace agenttest

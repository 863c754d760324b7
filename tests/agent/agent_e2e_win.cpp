// The real tvagent.exe under Wine: single instance, the interpreter's
// requests through the channel (this program plays the interpreter), the
// main window's commands, the tray icon, and what the agent leaves behind.
#include <windows.h>

#include <algorithm>
#include <functional>
#include <string>
#include <vector>

#include "channeltestutil.h"
#include "testutil.h"
#include "strutils.h"
#include "support/tvdriver/driver.h"
#include "agent/agent_testutil.h"
#include "e2e/e2e_testutil.h"

namespace
{
const DWORD kTimeout = 15000;
const char kAgentKey[] = "Software\\Norvale\\Tarvin 2\\Agent";
const char kLogHeader[] = "<?TarvinLogFile version='1.00'?>\r\n";
const char kKeysHeader[] = "<?TarvinTarvinKeys version=\"1.00\"?>\r\n";

using agenttest::FindTop;
typedef agenttest::CTestWindow Target;

// The agent hides and shows this program's windows, which needs our message
// loop running while we wait.
using agenttest::PumpUntil;

std::string BoxText(HWND box)
{
    char buf[512] = "";
    if (box)
        DrvMessageBoxText(box, buf, sizeof(buf));
    return buf;
}

size_t Count(const std::string& text, const std::string& part)
{
    size_t n = 0;
    for (size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1))
        n++;
    return n;
}

// The agent started fresh, with the log on; this program plays the
// interpreter's end of the channel.
class AgentE2E : public agenttest::AgentProcessTest
{
  protected:
    void SetUp() override
    {
        AgentProcessTest::SetUp();
        wintest::SetRegDword(kAgentKey, "Log File", 100);
        ASSERT_TRUE(m_ipc.Ok());
    }

    // Sends a request as the interpreter does; true when "OK" came back
    // within waitMs.
    bool Request(const char* body, DWORD waitMs = 5000)
    {
        if (!m_ipc.SendMessage(body, AGENT_CHANNEL_ID, m_agent, 0, 0))
        {
            ADD_FAILURE() << "send failed: " << m_ipc.GetError();
            return false;
        }
        bool ok = false;
        PumpUntil(
            [&]() {
                if (m_ipc.ReadMessage(0))
                    ok = strcmp(m_ipc.GetMessage(), AGENT_REPLY_OK) == 0;
                return ok;
            },
            waitMs);
        return ok;
    }

    // A visible dialog of the agent with that caption (null: any).
    HWND WaitBox(const char* caption, DWORD timeoutMs = kTimeout)
    {
        HWND box = nullptr;
        PumpUntil(
            [&]() {
                box = FindTop(Pid(), "#32770", caption);
                return box && IsWindowVisible(box);
            },
            timeoutMs);
        return box && IsWindowVisible(box) ? box : nullptr;
    }

    void Dismiss(HWND box, UINT msg = WM_COMMAND, WPARAM wParam = IDOK)
    {
        PostMessageA(box, msg, wParam, 0);
        EXPECT_TRUE(PumpUntil([&]() { return !IsWindow(box); }, kTimeout));
    }

    wintest::ChannelEnd m_ipc{"TVAgentE2EChannel", "TVInt"};
};

// The Preferences dialog open as the agent ends, whichever way it ends: the
// page on show writes what it shows first (the Launch File page's boxes, an
// up-down change on the Screen Saver page), while the agent is still whole.
TEST_F(AgentE2E, OpenPreferencesAreWrittenOnEveryWayOut)
{
    const char* interp = "Software\\Norvale\\Tarvin 2\\Interpreter";
    wintest::RegRestorer reg;
    reg.Save(interp, "Confirm Exit");
    for (const char* name : {"Run Screen Saver", "Screen Saver Corner", "Screen Saver Time"})
        reg.Save(kAgentKey, name);
    enum Way
    {
        kMenu,
        kRequest,
        kClosed,
        kSessionEnd
    };
    const struct
    {
        Way way;
        int page;
    } cases[] = {{kMenu, 224}, {kRequest, 224}, {kClosed, 224}, {kSessionEnd, 224}, {kMenu, 221}};
    for (const auto& c : cases)
    {
        SCOPED_TRACE("way " + std::to_string(c.way) + ", page " + std::to_string(c.page));
        wintest::SetRegDword(kAgentKey, "Log File", 0);
        wintest::SetRegDword(interp, "Confirm Exit", 1);
        wintest::SetRegDword(kAgentKey, "Screen Saver Time", 5);
        ASSERT_TRUE(Start());
        PostMessageA(m_agent, WM_COMMAND, c.page, 0);
        HWND prefs = WaitBox("Preferences");
        ASSERT_TRUE(prefs);
        if (c.page == 224)
            SendMessageA(DrvFindChildById(prefs, 1321), BM_CLICK, 0, 0);
        else
            SendMessageA(DrvFindChildById(prefs, 1307), UDM_SETPOS32, 0, 42);
        DWORD_PTR answer = 0;
        switch (c.way)
        {
            case kMenu:
                PostMessageA(m_agent, WM_COMMAND, 200, 0);
                break;
            case kRequest:
                ASSERT_TRUE(Request("agent:exit tarvin"));
                break;
            case kClosed:
                PostMessageA(m_agent, WM_CLOSE, 0, 0);
                break;
            case kSessionEnd:
                SendMessageTimeoutA(m_agent, WM_QUERYENDSESSION, 0, ENDSESSION_LOGOFF, SMTO_NORMAL, kTimeout,
                                    &answer);
                SendMessageTimeoutA(m_agent, WM_ENDSESSION, TRUE, ENDSESSION_LOGOFF, SMTO_NORMAL, kTimeout,
                                    &answer);
                break;
        }
        EXPECT_EQ(0, WaitExit());
        if (c.page == 224)
            EXPECT_EQ(0, wintest::StoredDword(interp, "Confirm Exit"));
        else
            EXPECT_EQ(42, wintest::StoredDword(kAgentKey, "Screen Saver Time"));
    }
}

// A missing or damaged log or keys file is reported once at start-up, and the
// agent then runs on. A request that comes while such a box is open, before
// the channel is set up, brings no second box: its sender tries again.
TEST_F(AgentE2E, MissingOrDamagedFilesAreReportedAtStartUp)
{
    const std::string otherVersion =
        "<?TarvinTarvinKeys version=\"2.00\"?>\r\n"
        "<key vcode=\"84\" mods=\"3\" action=\"7\" target=\"\" scope=\"all\">\r\n";
    const std::string withKey =
        std::string(kKeysHeader) + "<key vcode=\"84\" mods=\"3\" action=\"7\" target=\"\">\r\n";
    const struct
    {
        const char* file;
        const char* content; // null: the file is missing
        const char* caption;
        const char* text;
        bool held; // open in another program without sharing while the agent starts
    } cases[] = {
        {"Tarvin.log", nullptr, "Tarvin 2", "Cannot open log file.\n\nA new log file will be created.",
         false},
        {"Tarvin.log", "not a log\r\n", "Tarvin 2",
         "Cannot read log file.\n\nThe log file may be damaged. A new log file will be created.", false},
        {"Tarvin Keys.keys", nullptr, "Error", "Unable to load your Tarvin Keys.", false},
        {"Tarvin Keys.keys", otherVersion.c_str(), "Error", "Unable to load your Tarvin Keys.", false},
        {"Tarvin Keys.keys", withKey.c_str(), "Error", "Unable to load your Tarvin Keys.", true},
    };
    for (const auto& c : cases)
    {
        SCOPED_TRACE(std::string(c.file) + (c.held ? " held" : c.content ? " damaged" : " missing"));
        WriteBytes(File("Tarvin.log"), kLogHeader);
        WriteBytes(File("Tarvin Keys.keys"), kKeysHeader);
        if (c.content)
            WriteBytes(File(c.file), c.content);
        else
            DeleteFileA(File(c.file).c_str());
        HANDLE held =
            c.held ? CreateFileA(File(c.file).c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr)
                   : INVALID_HANDLE_VALUE;

        ASSERT_TRUE(Start());
        HWND box = WaitBox(c.caption);
        ASSERT_TRUE(box);
        EXPECT_EQ(c.text, BoxText(box));
        EXPECT_FALSE(Request("agent:showall", 500));
        // Nothing but the one box.
        EXPECT_FALSE(PumpUntil(
            [&]() {
                HWND other = FindTop(Pid(), "#32770", nullptr);
                return other && other != box && IsWindowVisible(other);
            },
            500));
        Dismiss(box);
        if (held != INVALID_HANDLE_VALUE)
            CloseHandle(held);
        EXPECT_TRUE(Request("agent:showall"));
        Stop();
        // A keys file the agent could not read is the user's still: with no
        // key added it is left byte for byte.
        if (c.content && !strcmp(c.file, "Tarvin Keys.keys"))
        {
            EXPECT_EQ(c.content, ReadBytes(File(c.file)));
            std::string log = ReadBytes(File("Tarvin.log"));
            EXPECT_EQ(1u, Count(log, "Tarvin Keys.keys could not be read at start and was left as it was"))
                << log;
        }
    }
}
} // namespace

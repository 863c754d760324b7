// The channel between real processes: this test program and one or two
// channelpeer processes, all on the suite's named mapping and mutex.
#include <windows.h>

#include <algorithm>
#include <string>
#include <vector>

#include "channeltestutil.h"
#include "e2e/driver.h"
#include "strutils.h"
#include "testutil.h"
#include "wintestutil.h"

namespace
{
const DWORD kPeerTimeout = 15000;

using wintest::PumpUntil;

// A hidden top-level window that records the wParam of every notification.
class NotifyWindow : public wintest::TestWindow
{
  public:
    NotifyWindow() : TestWindow("mmapipc test", NULL, 0, 0, 0, WS_POPUP, 100, 100, Class())
    {
        s_senders.clear();
    }
    HWND Handle() const
    {
        return Get();
    }

  private:
    static const char* Class()
    {
        s_notifyMsg = RegisterWindowMessageA(MMAPIPC_NOTIFY_NAME);
        return wintest::TestClass("_TV_MMAPIPC_TEST", [](HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
            if (msg != s_notifyMsg || msg == 0)
                return DefWindowProcA(hwnd, msg, wParam, lParam);
            s_senders.push_back((HWND)wParam);
            return (LRESULT)0;
        });
    }
    static UINT s_notifyMsg;
    static std::vector<HWND> s_senders;
};
UINT NotifyWindow::s_notifyMsg = 0;
std::vector<HWND> NotifyWindow::s_senders;

// One argument as the C runtime splits command lines: in quotes, with inner
// quotes (and the backslashes before them) escaped.
std::string Quote(const std::string& arg)
{
    std::string out = "\"";
    size_t slashes = 0;
    for (char ch : arg)
    {
        if (ch == '\\')
            slashes++;
        else
        {
            if (ch == '"')
                out.append(slashes + 1, '\\');
            slashes = 0;
        }
        out += ch;
    }
    out.append(slashes, '\\');
    return out + "\"";
}

// A channelpeer process, reporting into a file of the test's scratch folder;
// asked to close at the end once its window is known, else killed.
class Peer
{
  public:
    Peer(const ScratchDir& dir, const std::string& name, const std::vector<std::string>& args)
        : m_out(dir.Path(name + ".txt"))
    {
        std::string cmd = Quote("-out=" + m_out);
        for (const std::string& a : args)
            cmd += " " + Quote(a);
        m_started = m_process.Start((wintest::ProgramDir() + "channelpeer.exe").c_str(), cmd.c_str());
    }
    ~Peer()
    {
        if (m_hwnd && PostMessageA(m_hwnd, WM_CLOSE, 0, 0))
            m_process.WaitExit(5000);
    }
    bool Started() const
    {
        return m_started;
    }
    void Kill()
    {
        m_process.Kill(9);
    }

    // Complete lines reported so far.
    std::vector<std::string> Lines() const
    {
        return ::Lines(ReadBytes(m_out));
    }

    // Waits for the nth line starting with prefix: what follows it, or
    // "<none>" when no such line came.
    std::string Await(const std::string& prefix, int nth = 1)
    {
        std::string found = "<none>";
        PumpUntil(
            [&] {
                int seen = 0;
                for (const std::string& l : Lines())
                    if (l.compare(0, prefix.size(), prefix) == 0 && ++seen == nth)
                    {
                        found = l.substr(prefix.size());
                        return true;
                    }
                return false;
            },
            kPeerTimeout);
        return found;
    }

    int Count(const std::string& prefix) const
    {
        int n = 0;
        for (const std::string& l : Lines())
            n += l.compare(0, prefix.size(), prefix) == 0;
        return n;
    }

  private:
    std::string m_out;
    CDrvProcess m_process;
    bool m_started = false;
    HWND m_hwnd = nullptr;
};

// Every test starts from an empty slot, and keeps the mapping open so it can
// look at the slot directly.
class Channel : public ::testing::Test
{
  protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_slot.Ok());
        WriteSlot("");
    }
    void TearDown() override
    {
        WriteSlot("");
    }

    std::string Slot() const
    {
        return m_slot.Text();
    }
    void WriteSlot(const std::string& bytes)
    {
        ASSERT_TRUE(m_slot.Write(bytes));
    }
    // Time sent of the message in the slot.
    DWORD SlotTimeSent() const
    {
        CMMapMsg msg;
        msg.SetMsgStr(Slot().c_str());
        return msg.GetTimeSent();
    }

    ScratchDir m_dir;
    wintest::SlotView m_slot;
};

int Init(CMMapIPC& ipc, HWND owner, const char* id)
{
    return ipc.Init(owner, id, MMAPIPC_MUTEX_NAME, MMAPIPC_MEMMAP_NAME);
}
} // namespace

TEST_F(Channel, SlotHeldByAnotherProcessIsBusyUntilItsTimeToLive)
{
    const DWORD ttl = 2500;
    Peer peer(m_dir, "sender", {"-id=P", "-ttl=2500", "-send=first", "-to=Nobody"});
    ASSERT_TRUE(peer.Started());
    ASSERT_EQ("", peer.Await("SENT 1 0"));
    const std::string first = Slot();
    DWORD sent = SlotTimeSent();

    CMMapIPC ipc;
    ASSERT_EQ(Init(ipc, nullptr, "Me"), 1);
    // Too few attempts to outlast it: refused, the slot untouched.
    ipc.SetDefaults(2, 10, 250, 250, MMAPIPC_MSG_SIZE);
    if (GetTickCount() - sent < ttl - 500)
    {
        EXPECT_EQ(ipc.SendMessage("early", "P", nullptr, 0, 0), 0);
        EXPECT_EQ(ipc.GetError(), MMAPIPC_ERR_BUSY);
        EXPECT_EQ(Slot(), first);
    }

    ipc.SetDefaults(100, 100, 250, 250, MMAPIPC_MSG_SIZE);
    ASSERT_EQ(ipc.SendMessage("late", "P", nullptr, 0, 0), 1);
    EXPECT_GT(GetTickCount() - sent, ttl);
    CMMapMsg msg;
    msg.SetMsgStr(Slot().c_str());
    EXPECT_STREQ(msg.GetMessage(), "late");
    EXPECT_STREQ(msg.GetFromId(), "Me");
}

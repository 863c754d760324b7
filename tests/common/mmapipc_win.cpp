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
    bool WaitFrom(HWND sender)
    {
        return PumpUntil([&] { return std::count(s_senders.begin(), s_senders.end(), sender) > 0; },
                         kPeerTimeout);
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

    // Waits for "READY <hwnd>" and returns the window.
    HWND AwaitReady()
    {
        std::string rest = Await("READY ");
        m_hwnd = rest == "<none>" ? nullptr : (HWND)(UINT_PTR)_strtoui64(rest.c_str(), nullptr, 10);
        return m_hwnd;
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

// A channel with a clock pinned to a chosen tick count.
class PinnedIPC : public CMMapIPC
{
  public:
    DWORD m_dwTick = 5000;

  protected:
    DWORD GetTick() override
    {
        return m_dwTick;
    }
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
    bool SlotIsClear() const
    {
        return m_slot.IsClear();
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

// With no recipient window given the notification is broadcast, else sent to
// that window; either way with the sender's window as its first parameter.
// A message for someone else is left in place.
TEST_F(Channel, PeerSendFramesTheSlotExactlyAndNotifiesEveryWindow)
{
    NotifyWindow wnd;
    Peer peer(m_dir, "sender", {"-id=1234", "-tick=5000", "-send=agent:showall", "-to=TVAgent"});
    ASSERT_TRUE(peer.Started());
    HWND peerWnd = peer.AwaitReady();
    ASSERT_NE(peerWnd, nullptr);
    ASSERT_EQ("1 0", peer.Await("SENT "));
    EXPECT_EQ(Slot(), "<TVAgent:1234:5000:250>agent:showall");
    EXPECT_EQ(m_slot.Bytes(), Slot() + std::string(MMAPIPC_MSG_SIZE - Slot().size(), '\0'));

    EXPECT_TRUE(wnd.WaitFrom(peerWnd));

    WriteSlot("");
    CMMapIPC ipc;
    ASSERT_EQ(Init(ipc, wnd.Handle(), "Me"), 1);
    char target[32];
    StrFormat(target, sizeof(target), "-towindow=%llu", (unsigned long long)(UINT_PTR)wnd.Handle());
    Peer other(m_dir, "other", {"-id=P", "-ttl=10000", "-send=not yours", "-to=Other", target});
    HWND otherWnd = other.AwaitReady();
    ASSERT_EQ("", other.Await("SENT 1 0"));
    ASSERT_TRUE(wnd.WaitFrom(otherWnd));
    const std::string before = Slot();
    EXPECT_EQ(ipc.ReadMessage(0), 0);
    EXPECT_EQ(ipc.GetError(), MMAPIPC_ERR_NOTFORME);
    EXPECT_EQ(Slot(), before);
}

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

TEST_F(Channel, TheRecipientsReadFreesTheSlotForTheReplyButABroadcastStays)
{
    struct Case
    {
        const char* slot;
        int read;
        int error;
        bool freed;
    };
    const Case cases[] = {
        {"<Me:P:5000:10000>for me", 1, MMAPIPC_ERR_NONE, true},
        {"<mE:P:5000:10000>for me, any case", 1, MMAPIPC_ERR_NONE, true},
        {"<Me:Me:5000:10000>from me to me", 1, MMAPIPC_ERR_NONE, true},
        {"<broadcast:P:5000:10000>for all", 1, MMAPIPC_ERR_NONE, false},
        {"<BROADCAST:P:5000:10000>for all, any case", 1, MMAPIPC_ERR_NONE, false},
        {"<Other:P:5000:10000>not mine", 0, MMAPIPC_ERR_NOTFORME, false},
        // Expired: removed by whoever reads it.
        {"<Me:P:1000:50>too late", 0, MMAPIPC_ERR_TIMEDOUT, true},
        {"", 0, MMAPIPC_ERR_EMPTY, true},
    };
    // The clock stands still: nothing here expires by itself.
    PinnedIPC ipc;
    ASSERT_EQ(Init(ipc, nullptr, "Me"), 1);
    ipc.SetDefaults(1, 0, 250, 250, MMAPIPC_MSG_SIZE);
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.slot);
        WriteSlot(c.slot);
        EXPECT_EQ(ipc.ReadMessage(0), c.read);
        EXPECT_EQ(ipc.GetError(), c.error);
        if (c.freed)
            EXPECT_TRUE(SlotIsClear());
        else
            EXPECT_EQ(Slot(), c.slot);
    }

    // The reply to a message read goes at the first attempt.
    WriteSlot("<Me:P:5000:10000>agent:showall");
    ASSERT_EQ(ipc.ReadMessage(0), 1);
    EXPECT_EQ(ipc.ReplyToMessage("OK", 0, 0), 1);
    EXPECT_EQ(ipc.GetError(), MMAPIPC_ERR_NONE);
    EXPECT_EQ(Slot(), "<P:Me:5000:250>OK");
    // So does the next request after the reply was read.
    PinnedIPC peer;
    ASSERT_EQ(Init(peer, nullptr, "P"), 1);
    peer.SetDefaults(1, 0, 250, 250, MMAPIPC_MSG_SIZE);
    ASSERT_EQ(peer.ReadMessage(0), 1);
    EXPECT_STREQ(peer.GetMessage(), "OK");
    EXPECT_EQ(peer.SendMessage("agent:showall", "Me", nullptr, 0, 0), 1);
    EXPECT_EQ(peer.GetError(), MMAPIPC_ERR_NONE);
}

// The agent answers right after its read; a request from a second program
// may take the freed slot first. Waiting for it to expire would lose it.
TEST_F(Channel, AMessageForTheSenderFoundInTheSlotIsKeptForItsNextRead)
{
    PinnedIPC ipc;
    ASSERT_EQ(Init(ipc, nullptr, "Me"), 1);
    ipc.SetDefaults(1, 0, 250, 250, MMAPIPC_MSG_SIZE);
    WriteSlot("<ME:Second:5000:10000>agent:showall");
    ASSERT_EQ(ipc.SendMessage("OK", "First", nullptr, 0, 0), 1);
    EXPECT_EQ(ipc.GetError(), MMAPIPC_ERR_NONE);
    EXPECT_EQ(Slot(), "<First:Me:5000:250>OK");

    ASSERT_EQ(ipc.ReadMessage(0), 1);
    EXPECT_STREQ(ipc.GetMessage(), "agent:showall");
    EXPECT_STREQ(ipc.GetMsgObj()->GetFromId(), "Second");
    EXPECT_EQ(Slot(), "<First:Me:5000:250>OK");
    // Taken once; the reply goes to its sender.
    EXPECT_EQ(ipc.ReadMessage(0), 0);
    EXPECT_EQ(ipc.GetError(), MMAPIPC_ERR_NOTFORME);
    WriteSlot("");
    ASSERT_EQ(ipc.ReplyToMessage("OK", 0, 0), 1);
    EXPECT_EQ(Slot(), "<Second:Me:5000:250>OK");

    // Anybody else's live message, and a broadcast, still hold the slot.
    for (const char* other : {"<Other:P:5000:10000>not mine", "<broadcast:P:5000:10000>for all"})
    {
        SCOPED_TRACE(other);
        WriteSlot(other);
        EXPECT_EQ(ipc.SendMessage("OK", "First", nullptr, 0, 0), 0);
        EXPECT_EQ(ipc.GetError(), MMAPIPC_ERR_BUSY);
        EXPECT_EQ(Slot(), other);
    }
}

TEST_F(Channel, ThreeProcessesRequestAndReplyWithCaseBlindAddresses)
{
    // b answers; C only watches. A addresses "B" and is answered as "A".
    Peer b(m_dir, "b", {"-id=b", "-serve", "-reply=OK", "-ttl=2000", "-retries=60"});
    Peer c(m_dir, "c", {"-id=C", "-serve", "-ttl=2000"});
    ASSERT_TRUE(b.Started() && c.Started());
    ASSERT_NE(b.AwaitReady(), nullptr);
    ASSERT_NE(c.AwaitReady(), nullptr);
    Peer a(m_dir, "a", {"-id=A", "-serve", "-ttl=2000", "-send=agent:hide=\"a:b>c\" <x>", "-to=B"});
    ASSERT_TRUE(a.Started());

    ASSERT_EQ("1 0", a.Await("SENT "));
    ASSERT_EQ("1 0 A|agent:hide=\"a:b>c\" <x>", b.Await("READ "));

    // b's read freed the slot: the reply goes at its first attempt and
    // reaches A alone.
    ASSERT_EQ("1 0", b.Await("REPLIED "));
    ASSERT_EQ("1 0 b|OK", a.Await("READ "));
    ASSERT_NE("<none>", c.Await("READ ", 2));
    // C finds each message meant for someone else, or the slot already
    // emptied by its recipient: either way, nothing for C.
    for (const std::string& l : c.Lines())
        if (l.compare(0, 5, "READ ") == 0)
        {
            EXPECT_TRUE(l.compare(0, 9, "READ 0 3 ") == 0 || l.compare(0, 9, "READ 0 9 ") == 0) << l;
        }
    EXPECT_EQ(a.Count("READ "), 1);
    EXPECT_EQ(b.Count("READ "), 1);
}

TEST_F(Channel, BroadcastReachesOthersAndComesBackToItsSender)
{
    NotifyWindow wnd;
    Peer peer(m_dir, "p", {"-id=P", "-serve"});
    ASSERT_TRUE(peer.Started());
    ASSERT_NE(peer.AwaitReady(), nullptr);

    CMMapIPC ipc;
    ASSERT_EQ(Init(ipc, wnd.Handle(), "Me"), 1);
    ASSERT_EQ(ipc.SendMessage("to: all>", "BROADCAST", nullptr, 5000, 0), 1);
    ASSERT_EQ("1 0 Me|to: all>", peer.Await("READ "));

    ASSERT_TRUE(wnd.WaitFrom(wnd.Handle()));
    EXPECT_EQ(ipc.ReadMessage(0), 1);
    EXPECT_STREQ(ipc.GetMessage(), "to: all>");
    EXPECT_STREQ(ipc.GetMsgObj()->GetFromId(), "Me");
    // The sender's read frees the slot at once.
    EXPECT_TRUE(SlotIsClear());
    // Nobody else's message was read, so there is nobody to answer.
    EXPECT_EQ(ipc.ReplyToMessage("OK", 0, 0), 0);
    EXPECT_EQ(ipc.GetError(), MMAPIPC_ERR_BADID);
}

TEST_F(Channel, KeepsWorkingAfterAPeerDiesHoldingTheMutex)
{
    CMMapIPC ipc;
    ASSERT_EQ(Init(ipc, nullptr, "Me"), 1);
    {
        Peer holder(m_dir, "holder", {"-id=H", "-hold"});
        ASSERT_TRUE(holder.Started());
        ASSERT_EQ("", holder.Await("HOLDING"));
        ipc.SetDefaults(2, 10, 250, 100, MMAPIPC_MSG_SIZE);
        EXPECT_EQ(ipc.SendMessage("blocked", "P", nullptr, 0, 0), 0);
        EXPECT_EQ(ipc.GetError(), MMAPIPC_ERR_WAITTIMEOUT);
        EXPECT_EQ(ipc.ReadMessage(0), 0);
        EXPECT_EQ(ipc.GetError(), MMAPIPC_ERR_WAITTIMEOUT);
        holder.Kill();
    }
    ipc.SetDefaults(10, 100, 250, 250, MMAPIPC_MSG_SIZE);
    EXPECT_EQ(ipc.SendMessage("after", "P", nullptr, 0, 0), 1);
    EXPECT_EQ(ipc.GetError(), MMAPIPC_ERR_ABANDONED);

    // The same on the reading side, with a message waiting for us.
    WriteSlot("");
    {
        // Had the dead holder's mutex been kept, this would time out (14).
        Peer sender(m_dir, "sender", {"-id=P", "-ttl=10000", "-send=for me", "-to=Me"});
        ASSERT_EQ("1 0", sender.Await("SENT "));
    }
    {
        Peer holder(m_dir, "holder2", {"-id=H", "-hold"});
        ASSERT_EQ("", holder.Await("HOLDING"));
        holder.Kill();
    }
    EXPECT_EQ(ipc.ReadMessage(0), 1);
    EXPECT_EQ(ipc.GetError(), MMAPIPC_ERR_ABANDONED);
    EXPECT_STREQ(ipc.GetMessage(), "for me");

    // Nor did the reader keep it.
    WriteSlot("");
    Peer last(m_dir, "last", {"-id=P", "-send=still open", "-to=Me"});
    ASSERT_EQ("1 0", last.Await("SENT "));
}

TEST_F(Channel, GarbageInTheSlotIsClearedOrOverwritten)
{
    struct Garbage
    {
        std::string bytes;
        int readError;
    };
    const Garbage cases[] = {
        {std::string(MMAPIPC_MSG_SIZE, 'A'), MMAPIPC_ERR_TAKETEXT}, // no terminator anywhere
        {std::string(MMAPIPC_MSG_SIZE, '<'), MMAPIPC_ERR_TAKETEXT},
        {"<Me:P:1:" + std::string(MMAPIPC_MSG_SIZE - 8, '9'), MMAPIPC_ERR_TAKETEXT},
        {"<sixteen_chars___:P:1:4294967295>x", MMAPIPC_ERR_TIMEDOUT},
        {"<Me:sixteen_chars___:1:4294967295>x", MMAPIPC_ERR_TIMEDOUT},
        {"<Me:P:99999999999:4294967295>x", MMAPIPC_ERR_TIMEDOUT},
        {"<Me:P:1:99999999999>x", MMAPIPC_ERR_TIMEDOUT},
        {"<Me:P>x", MMAPIPC_ERR_TIMEDOUT},
        {"<Me:P:1:4294967295", MMAPIPC_ERR_TIMEDOUT},
        {"\x01\x02\xff", MMAPIPC_ERR_TIMEDOUT},
    };
    CMMapIPC ipc;
    ASSERT_EQ(Init(ipc, nullptr, "Me"), 1);
    for (const Garbage& g : cases)
    {
        SCOPED_TRACE(g.bytes.substr(0, 40));
        WriteSlot(g.bytes);
        EXPECT_EQ(ipc.ReadMessage(0), 0);
        EXPECT_EQ(ipc.GetError(), g.readError);
        if (g.readError == MMAPIPC_ERR_TIMEDOUT)
        {
            EXPECT_TRUE(SlotIsClear());
        }

        WriteSlot(g.bytes);
        ASSERT_EQ(ipc.SendMessage("valid", "P", nullptr, 0, 0), 1);
        EXPECT_EQ(ipc.GetError(), MMAPIPC_ERR_NONE);
        CMMapMsg msg;
        msg.SetMsgStr(Slot().c_str());
        EXPECT_STREQ(msg.GetMessage(), "valid");
        EXPECT_STREQ(msg.GetToId(), "P");
    }

    // And another process reads what was sent over the garbage.
    Peer peer(m_dir, "p", {"-id=P", "-serve"});
    ASSERT_NE(peer.AwaitReady(), nullptr);
    WriteSlot(std::string(MMAPIPC_MSG_SIZE, 'A'));
    ASSERT_EQ(ipc.SendMessage("over garbage", "P", nullptr, 5000, 0), 1);
    ASSERT_EQ("1 0 Me|over garbage", peer.Await("READ "));
}

TEST_F(Channel, RefusesWhatCannotBeFramedAndCallsBeforeInit)
{
    PinnedIPC ipc;
    EXPECT_EQ(ipc.SendMessage("x", "P", nullptr, 0, 0), 0);
    EXPECT_EQ(ipc.GetError(), MMAPIPC_ERR_NOTINIT);
    EXPECT_EQ(ipc.ReadMessage(0), 0);
    EXPECT_EQ(ipc.GetError(), MMAPIPC_ERR_NOTINIT);
    EXPECT_EQ(Init(ipc, nullptr, "sixteen_chars___"), 0);
    EXPECT_EQ(ipc.GetError(), MMAPIPC_ERR_BADID);
    EXPECT_EQ(Init(ipc, nullptr, "a:b"), 0);
    EXPECT_EQ(ipc.GetError(), MMAPIPC_ERR_BADID);

    ASSERT_EQ(Init(ipc, nullptr, "Me"), 1);
    for (const char* bad : {"", "a:b", "a>b", "sixteen_chars___"})
    {
        SCOPED_TRACE(bad);
        EXPECT_EQ(ipc.SendMessage("x", bad, nullptr, 0, 0), 0);
        EXPECT_EQ(ipc.GetError(), MMAPIPC_ERR_BADID);
    }
    EXPECT_EQ(ipc.SendMessage("x", nullptr, nullptr, 0, 0), 0);
    EXPECT_TRUE(SlotIsClear());

    // "<P:Me:5000:250>" takes 15 of the 1023 characters.
    std::string body(MMAPIPC_MSG_SIZE - 1 - 15 + 1, 'b');
    EXPECT_EQ(ipc.SendMessage(body.c_str(), "P", nullptr, 0, 0), 0);
    EXPECT_EQ(ipc.GetError(), MMAPIPC_ERR_TOOLONG);
    std::string huge(8 * MMAPIPC_MSG_SIZE, 'h');
    EXPECT_EQ(ipc.SendMessage(huge.c_str(), "P", nullptr, 0, 0), 0);
    EXPECT_EQ(ipc.GetError(), MMAPIPC_ERR_TOOLONG);
    EXPECT_TRUE(SlotIsClear());

    body.pop_back();
    ASSERT_EQ(ipc.SendMessage(body.c_str(), "P", nullptr, 0, 0), 1);
    EXPECT_EQ(Slot(), "<P:Me:5000:250>" + body);
}

TEST_F(Channel, InitSharesOneMappingAndMutex)
{
    CMMapIPC first, second;
    ASSERT_EQ(Init(first, nullptr, "One"), 1);
    EXPECT_EQ(first.IsCreator(), 1);
    ASSERT_EQ(Init(second, nullptr, "Two"), 1);
    EXPECT_EQ(second.IsCreator(), 0);

    ASSERT_EQ(first.SendMessage("hi", "two", nullptr, 5000, 0), 1);
    EXPECT_EQ(second.ReadMessage(0), 1);
    EXPECT_STREQ(second.GetMessage(), "hi");
    EXPECT_EQ(second.IsTimedOut(), 0);
    // A reply goes to the sender of the message read, and it stays readable.
    WriteSlot("");
    ASSERT_EQ(second.ReplyToMessage("OK", 0, 0), 1);
    EXPECT_STREQ(second.GetMessage(), "hi");
    EXPECT_EQ(first.ReadMessage(0), 1);
    EXPECT_STREQ(first.GetMessage(), "OK");
    EXPECT_STREQ(first.GetMsgObj()->GetFromId(), "Two");

    // A mapping another program made smaller than the slot cannot be used
    // (Wine rounds sections up to whole pages, so the sizes here are pages).
    HANDLE small =
        CreateFileMappingA(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0, 4096, "__tv_test_small_map");
    ASSERT_NE(small, nullptr);
    CMMapIPC third;
    third.SetDefaults(10, 100, 250, 250, 8192);
    EXPECT_EQ(third.Init(nullptr, "Three", MMAPIPC_MUTEX_NAME, "__tv_test_small_map"), 0);
    EXPECT_EQ(third.GetError(), MMAPIPC_ERR_MAPVIEW);
    CloseHandle(small);
}

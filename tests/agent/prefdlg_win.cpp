// The Preferences dialog in this process, on the agent's own state: each
// page reads the stored values (or their defaults), writes exact values back
// and keeps the seconds boxes within 1-60.
#include "agent_testutil.h"
#include <windowsx.h>

#include "init.h"
#include "LogFile.h"
#include "prefDlg.h"
#include "prefDlgRes.h"
#include "regutils.h"
#include "tarvinKeysDlg.h"
#include "keysfile.h"

using namespace agenttest;

namespace
{
const char* const kAgent = "Software\\Norvale\\Tarvin 2\\Agent";
const char* const kInterp = "Software\\Norvale\\Tarvin 2\\Interpreter";
const char* const kRun = "Software\\Microsoft\\Windows\\CurrentVersion\\Run";

class PrefDlgTest : public ::testing::Test
{
  protected:
    void SetUp() override
    {
        for (const char* name : {"Swop Mouse", "No Splash", "Run Screen Saver", "Screen Saver Corner",
                                 "Screen Saver Time", "Log File"})
            m_reg.Clear(kAgent, name);
        for (const char* name : {"Confirm Exit", "Confirm Shutdown", "Confirm Restart", "Allow Assume",
                                 "Assume Answer", "Assume Timeout", "Show Status", "Status Window"})
            m_reg.Clear(kInterp, name);
        m_reg.Clear(kRun, "Tarvin");
        m_agent.instance = GetModuleHandleA(nullptr);
        m_agent.log.SetSize(0);
    }
    void TearDown() override
    {
        if (m_agent.dialogs.pref && IsWindow(m_agent.dialogs.pref))
            DestroyWindow(m_agent.dialogs.pref);
        PumpPending();
        EXPECT_EQ(nullptr, m_agent.dialogs.pref);
    }

    // Opens the dialog on the page of that command; the page.
    HWND Open(int command)
    {
        OpenPreferences(&m_agent, command);
        PumpPending();
        return Page();
    }
    HWND Page() const
    {
        return m_agent.dialogs.pref ? GetWindow(GetDlgItem(m_agent.dialogs.pref, IDC_PREF_TAB), GW_HWNDPREV)
                                    : nullptr;
    }
    HWND Item(int id) const
    {
        return GetDlgItem(Page(), id);
    }
    // Selects a tab as a click does: the tab control tells its dialog.
    void SelectTab(int tab)
    {
        HWND tabs = GetDlgItem(m_agent.dialogs.pref, IDC_PREF_TAB);
        TabCtrl_SetCurSel(tabs, tab);
        NMHDR nm = {tabs, IDC_PREF_TAB, (UINT)TCN_SELCHANGE};
        SendMessageA(m_agent.dialogs.pref, WM_NOTIFY, IDC_PREF_TAB, (LPARAM)&nm);
    }
    void Click(int id)
    {
        SendMessageA(Item(id), BM_CLICK, 0, 0);
    }
    bool Checked(int id)
    {
        return IsDlgButtonChecked(Page(), id) == BST_CHECKED;
    }
    std::string Text(int id)
    {
        return wintest::TextOf(Item(id));
    }
    // Types into a seconds box and leaves it.
    void Enter(int id, const char* text)
    {
        SetWindowTextA(Item(id), text);
        SendMessageA(Page(), WM_COMMAND, MAKEWPARAM(id, EN_KILLFOCUS), (LPARAM)Item(id));
    }

    wintest::RegRestorer m_reg;
    // The agent's state the dialog works on, as the main window holds it.
    AgentState m_agent;
};

TEST_F(PrefDlgTest, OpensOnTheCommandsPageAndASecondOpenOnlyRaisesIt)
{
    HWND page = Open(223);
    ASSERT_NE(nullptr, m_agent.dialogs.pref);
    EXPECT_EQ("Preferences", wintest::TextOf(m_agent.dialogs.pref));
    HWND tabs = GetDlgItem(m_agent.dialogs.pref, IDC_PREF_TAB);
    ASSERT_EQ(5, TabCtrl_GetItemCount(tabs));
    EXPECT_EQ(3, TabCtrl_GetCurSel(tabs));
    EXPECT_NE(nullptr, GetDlgItem(page, IDC_LOG_KEEP));

    HWND first = m_agent.dialogs.pref;
    CTestWindow other("Covering window");
    SetWindowPos(other, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    Open(220);
    EXPECT_EQ(first, m_agent.dialogs.pref);
    EXPECT_EQ(3, TabCtrl_GetCurSel(tabs)) << "an open dialog keeps its page";
    EXPECT_EQ(page, Page());
    bool above = false;
    for (HWND w = GetWindow(m_agent.dialogs.pref, GW_HWNDNEXT); w; w = GetWindow(w, GW_HWNDNEXT))
        above = above || w == other.Get();
    EXPECT_TRUE(above) << "the second open brings the dialog above other windows";

    // One page at a time: a tab change replaces it.
    SelectTab(0);
    EXPECT_FALSE(IsWindow(page));
    EXPECT_NE(nullptr, Item(IDC_GEN_RUNATLOGON));
    SendMessageA(GetDlgItem(m_agent.dialogs.pref, IDC_PREF_CLOSE), BM_CLICK, 0, 0);
    EXPECT_EQ(nullptr, m_agent.dialogs.pref);
}

TEST_F(PrefDlgTest, GeneralPageWritesEachBoxAndTheStartUpEntry)
{
    Open(220);
    EXPECT_FALSE(Checked(IDC_GEN_RUNATLOGON));
    EXPECT_FALSE(Checked(IDC_GEN_NOSPLASH));
    EXPECT_FALSE(Checked(IDC_GEN_SWOPMOUSE));

    Click(IDC_GEN_NOSPLASH);
    EXPECT_EQ(1, StoredDword(kAgent, "No Splash"));
    Click(IDC_GEN_SWOPMOUSE);
    EXPECT_EQ(1, StoredDword(kAgent, "Swop Mouse"));
    EXPECT_EQ(1u, m_agent.settings.swopMouse);
    Click(IDC_GEN_SWOPMOUSE);
    EXPECT_EQ(0, StoredDword(kAgent, "Swop Mouse"));
    EXPECT_EQ(0u, m_agent.settings.swopMouse);

    char self[MAX_PATH];
    GetModuleFileNameA(nullptr, self, sizeof(self));
    Click(IDC_GEN_RUNATLOGON);
    EXPECT_EQ(1, IsRunningAtStartUp("Tarvin", self));
    // A second opening shows what is stored.
    SelectTab(1);
    SelectTab(0);
    EXPECT_TRUE(Checked(IDC_GEN_RUNATLOGON));
    EXPECT_TRUE(Checked(IDC_GEN_NOSPLASH));
    Click(IDC_GEN_RUNATLOGON);
    EXPECT_EQ(0, IsRunningAtStartUp("Tarvin", self));
    EXPECT_FALSE(Checked(IDC_GEN_RUNATLOGON));
}

TEST_F(PrefDlgTest, ScreenSaverPageWritesFlagCornersAndClampedTime)
{
    Open(221);
    EXPECT_FALSE(Checked(IDC_SS_RUN));
    EXPECT_EQ("1", Text(IDC_SS_TIME));
    EXPECT_FALSE(IsWindowEnabled(Item(IDC_SS_TIME)));
    EXPECT_FALSE(IsWindowEnabled(Item(IDC_SS_TOPLEFT)));
    EXPECT_EQ(0, StoredDword(kAgent, "Run Screen Saver"));
    EXPECT_EQ(1, StoredDword(kAgent, "Screen Saver Time"));

    Click(IDC_SS_RUN);
    EXPECT_TRUE(IsWindowEnabled(Item(IDC_SS_TIME)));
    Click(IDC_SS_TOPRIGHT);
    Click(IDC_SS_BOTTOMRIGHT);
    EXPECT_EQ(1, StoredDword(kAgent, "Run Screen Saver"));
    EXPECT_EQ(2 | 8, StoredDword(kAgent, "Screen Saver Corner"));
    EXPECT_EQ(10u, m_agent.settings.screenSaverCorner);

    struct
    {
        const char* typed;
        const char* shown;
    } cases[] = {{"75", "60"}, {"0", "1"}, {"-4", "1"}, {"17", "17"}, {"abc", "1"}};
    for (const auto& c : cases)
    {
        Enter(IDC_SS_TIME, c.typed);
        EXPECT_EQ(c.shown, Text(IDC_SS_TIME)) << c.typed;
    }
    // Leaving the page saves, also a number typed but never left.
    Enter(IDC_SS_TIME, "17");
    SetWindowTextA(Item(IDC_SS_TIME), "90");
    SelectTab(3);
    EXPECT_EQ(60, StoredDword(kAgent, "Screen Saver Time"));
    EXPECT_EQ(60u, m_agent.settings.screenSaverTime);
    SelectTab(1);
    EXPECT_TRUE(Checked(IDC_SS_RUN));
    EXPECT_TRUE(Checked(IDC_SS_TOPRIGHT));
    EXPECT_FALSE(Checked(IDC_SS_TOPLEFT));
    EXPECT_EQ("60", Text(IDC_SS_TIME));
    SetWindowTextA(Item(IDC_SS_TIME), "0");
    DestroyWindow(m_agent.dialogs.pref);
    EXPECT_EQ(1, StoredDword(kAgent, "Screen Saver Time"))
        << "a 0 would start the screen saver at every tick";
}

TEST_F(PrefDlgTest, LoggingPageKeepsOneHundredEntriesOrNone)
{
    Open(223);
    EXPECT_FALSE(Checked(IDC_LOG_KEEP));
    EXPECT_EQ("Tarvin is not keeping a log file", Text(IDC_LOG_TEXT));
    EXPECT_FALSE(IsWindowEnabled(Item(IDC_LOG_SETSIZE)));
    EXPECT_EQ(0, StoredDword(kAgent, "Log File"));

    Click(IDC_LOG_KEEP);
    EXPECT_EQ("Tarvin is keeping a log file with a maximum size of 100 entries.", Text(IDC_LOG_TEXT));
    EXPECT_TRUE(IsWindowEnabled(Item(IDC_LOG_VIEW)));
    EXPECT_EQ(100, StoredDword(kAgent, "Log File"));
    AgentLog(&m_agent, "test", "an entry");
    EXPECT_EQ(1u, m_agent.log.GetLength());

    Click(IDC_LOG_KEEP);
    EXPECT_EQ(0, StoredDword(kAgent, "Log File"));
    EXPECT_EQ(0u, m_agent.log.GetLength()) << "no log: the entries go";

    m_agent.log.SetSize(250);
    SelectTab(0);
    SelectTab(3);
    EXPECT_TRUE(Checked(IDC_LOG_KEEP));
    EXPECT_EQ("Tarvin is keeping a log file with a maximum size of 250 entries.", Text(IDC_LOG_TEXT));
}

TEST_F(PrefDlgTest, LaunchFilePageWritesTheInterpretersValuesWhenItGoes)
{
    Open(224);
    for (int id : {IDC_LF_CONFIRMEXIT, IDC_LF_CONFIRMSHUTDOWN, IDC_LF_CONFIRMRESTART, IDC_LF_ALLOWASSUME,
                   IDC_LF_SHOWSTATUS})
        EXPECT_TRUE(Checked(id)) << id;
    EXPECT_EQ(1, ComboBox_GetCurSel(Item(IDC_LF_ANSWER)));
    EXPECT_EQ(2, ComboBox_GetCount(Item(IDC_LF_ANSWER)));
    EXPECT_EQ("10", Text(IDC_LF_TIMEOUT));
    EXPECT_EQ("2", Text(IDC_LF_STATUSTIME));
    EXPECT_EQ(-1, StoredDword(kInterp, "Confirm Exit")) << "nothing is written before the page goes";

    Click(IDC_LF_CONFIRMRESTART);
    Click(IDC_LF_SHOWSTATUS);
    EXPECT_FALSE(IsWindowEnabled(Item(IDC_LF_STATUSTIME)));
    EXPECT_TRUE(IsWindowEnabled(Item(IDC_LF_TIMEOUT)));
    ComboBox_SetCurSel(Item(IDC_LF_ANSWER), 0);
    Enter(IDC_LF_TIMEOUT, "75");
    EXPECT_EQ("60", Text(IDC_LF_TIMEOUT));
    Enter(IDC_LF_STATUSTIME, "x");
    EXPECT_EQ("2", Text(IDC_LF_STATUSTIME)) << "not a number: the stored value";
    SetWindowTextA(Item(IDC_LF_STATUSTIME), "0");
    SendMessageA(m_agent.dialogs.pref, WM_CLOSE, 0, 0);
    EXPECT_EQ(nullptr, m_agent.dialogs.pref);

    struct
    {
        const char* name;
        long long value;
    } expected[] = {{"Confirm Exit", 1}, {"Confirm Shutdown", 1}, {"Confirm Restart", 0},
                    {"Allow Assume", 1}, {"Assume Answer", 0},    {"Assume Timeout", 60},
                    {"Show Status", 0},  {"Status Window", 1}};
    for (const auto& e : expected)
        EXPECT_EQ(e.value, StoredDword(kInterp, e.name)) << e.name;

    // Stored values come back, and "Allow Assume" off disables its group.
    m_reg.SetDword(kInterp, "Allow Assume", 0);
    m_reg.SetDword(kInterp, "Assume Timeout", 33);
    Open(224);
    EXPECT_FALSE(Checked(IDC_LF_ALLOWASSUME));
    EXPECT_FALSE(IsWindowEnabled(Item(IDC_LF_ANSWER)));
    EXPECT_EQ("33", Text(IDC_LF_TIMEOUT));
    EXPECT_EQ(0, ComboBox_GetCurSel(Item(IDC_LF_ANSWER)));
}

TEST(AddTarvinKey, ModifierRuleKeepsAModifierOtherThanShiftAlone)
{
    struct
    {
        unsigned in, out;
    } cases[] = {{0, KEYMOD_CONTROL | KEYMOD_ALT},
                 {KEYMOD_SHIFT, KEYMOD_SHIFT | KEYMOD_ALT},
                 {KEYMOD_WIN, KEYMOD_WIN},
                 {KEYMOD_SHIFT | KEYMOD_CONTROL, KEYMOD_SHIFT | KEYMOD_CONTROL},
                 {KEYMOD_ALT, KEYMOD_ALT}};
    for (const auto& c : cases)
        EXPECT_EQ(c.out, ApplyModifierRule(c.in)) << c.in;
}

} // namespace

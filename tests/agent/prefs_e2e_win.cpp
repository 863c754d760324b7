// The Preferences dialog in the real agent, driven from this process: a key
// added on the Tarvin Keys page is registered at once, a removed one is given
// back to the system at once, and the keys file keeps what is left; a change
// on the Launch File page changes what the next launch file does.
#include "agent_testutil.h"

#include "e2e/driver.h"
#include "xmlutils.h"

using namespace agenttest;

namespace
{
const DWORD kWait = 10000;

class PrefsE2E : public AgentProcessTest
{
  protected:
    HWND WaitDialog(const char* title)
    {
        HWND found = nullptr;
        PumpUntil([&] { return (found = FindTopLevel(title, Pid(), false)) != nullptr; }, kWait);
        return found;
    }
    static bool Checked(HWND dlg, int id)
    {
        return SendMessageA(DrvFindChildById(dlg, id), BM_GETCHECK, 0, 0) == BST_CHECKED;
    }
    static std::string Cell(HWND list, int row, int column)
    {
        char text[400] = "";
        DrvListViewText(list, row, column, text, sizeof(text));
        return text;
    }
    // Whether another program may take the combination now.
    static bool Free(UINT mods, UINT vk)
    {
        if (!RegisterHotKey(nullptr, 0x3FFF, mods, vk))
            return false;
        UnregisterHotKey(nullptr, 0x3FFF);
        return true;
    }
};

TEST_F(PrefsE2E, AddedKeyIsRegisteredAtOnceAndARemovedOneIsReleased)
{
    const std::string header = "<?TarvinTarvinKeys version=\"1.00\"?>\r\n";
    const std::string kept = "<key vcode=\"84\" mods=\"3\" action=\"7\" target=\"\">\r\n";
    WriteBytes(File("Tarvin Keys.keys"), header + kept);
    ASSERT_NE(nullptr, Start());
    PostMessageA(m_agent, WM_COMMAND, 222, 0);
    HWND prefs = WaitDialog("Preferences");
    ASSERT_NE(nullptr, prefs);
    HWND list = DrvFindChildById(prefs, 1201);
    ASSERT_NE(nullptr, list);
    ASSERT_EQ(1, DrvListViewRowCount(list));
    EXPECT_EQ("Ctrl + Alt + T", Cell(list, 0, 0));
    EXPECT_EQ("Open Tarvin Editor", Cell(list, 0, 1));
    ASSERT_TRUE(Free(MOD_CONTROL | MOD_ALT | MOD_SHIFT, VK_F9));

    ASSERT_TRUE(DrvPressButton(prefs, 11));
    HWND add = WaitDialog("Add Tarvin Key");
    ASSERT_NE(nullptr, add);
    // It starts on A with Ctrl and Alt; Shift is added.
    HWND keys = DrvFindChildById(add, 1401);
    char text[64] = "";
    DrvComboText(keys, DrvComboSelected(keys), text, sizeof(text));
    EXPECT_STREQ("A", text);
    EXPECT_TRUE(Checked(add, 1405) && Checked(add, 1406));
    SendMessageA(DrvFindChildById(add, 1407), BM_CLICK, 0, 0);
    int f9 = -1;
    for (int i = 0; i < DrvComboCount(keys) && f9 < 0; i++)
    {
        DrvComboText(keys, i, text, sizeof(text));
        if (!strcmp(text, "F9"))
            f9 = i;
    }
    ASSERT_GE(f9, 0);
    SendMessageA(keys, CB_SETCURSEL, f9, 0);
    // The application browser runs inside the agent on its own list.
    ASSERT_TRUE(DrvPressButton(add, 13));
    HWND browse = nullptr;
    ASSERT_EQ(TVD_OK,
              DrvWaitWindow(DrvQuery("_mh_BROWSEAPPS_CLS__", "Browse Applications", TVD_MATCH_EXACT, Pid()),
                            30000, &browse));
    // Its file dialog works although comdlg32 is bound only now, at first use.
    ASSERT_TRUE(DrvPressButton(browse, 102));
    HWND files = WaitDialog("Browse &Launch Files...");
    ASSERT_NE(nullptr, files);
    PostMessageA(files, WM_COMMAND, IDCANCEL, 0);
    ASSERT_TRUE(PumpUntil([&] { return !IsWindow(files); }, kWait));
    char caption[64] = "";
    HWND apps = DrvFindChildById(browse, 100);
    int notepad = -1;
    for (int row = 0; row < DrvListViewRowCount(apps) && notepad < 0; row++)
        notepad = Cell(apps, row, 0) == "notepad" ? row : -1;
    ASSERT_GE(notepad, 0);
    ASSERT_TRUE(DrvListViewSelect(apps, notepad));
    ASSERT_TRUE(DrvPressButton(browse, 105));
    HWND edit = DrvFindChildById(add, 1404);
    ASSERT_TRUE(PumpUntil(
        [&] {
            DrvGetText(edit, caption, sizeof(caption));
            return strstr(caption, "notepad.exe") != nullptr;
        },
        kWait))
        << caption;

    std::string target = ProgramDir() + "tvtarget.exe";
    DrvSetText(edit, target.c_str());
    ASSERT_TRUE(DrvPressButton(add, IDOK));

    ASSERT_TRUE(PumpUntil([&] { return DrvListViewRowCount(list) == 2; }, kWait));
    EXPECT_EQ("Ctrl + Shift + Alt + F9", Cell(list, 1, 0));
    EXPECT_EQ("Run \"" + target + "\"", Cell(list, 1, 1));
    EXPECT_FALSE(Free(MOD_CONTROL | MOD_ALT | MOD_SHIFT, VK_F9)) << "the agent holds the new key";

    ASSERT_TRUE(DrvListViewSelect(list, 1));
    ASSERT_TRUE(DrvPressButton(prefs, 12));
    HWND confirm = WaitDialog("Confirm");
    ASSERT_NE(nullptr, confirm);
    char question[400] = "";
    DrvMessageBoxText(confirm, question, sizeof(question));
    EXPECT_EQ("Are you sure you want to remove this Tarvin Key?\n   Ctrl + Shift + Alt + F9\n   Run \"" +
                  target + "\"",
              std::string(question));
    DrvPressButton(confirm, IDYES);
    ASSERT_TRUE(PumpUntil([&] { return DrvListViewRowCount(list) == 1; }, kWait));
    EXPECT_TRUE(Free(MOD_CONTROL | MOD_ALT | MOD_SHIFT, VK_F9)) << "a removed key is given back at once";

    DrvPressButton(prefs, 2);
    Stop();
    EXPECT_EQ(header + kept, ReadBytes(File("Tarvin Keys.keys")));
}

TEST_F(PrefsE2E, LaunchFilePageDecidesWhetherTheInterpreterAsksBeforeExit)
{
    const char* interp = "Software\\Norvale\\Tarvin 2\\Interpreter";
    wintest::RegRestorer reg;
    for (const char* name : {"Confirm Exit", "Show Status"})
        reg.Clear(interp, name);
    std::string launch = m_dir.Path("exit.launch");
    WriteBytes(launch, "Exit\r\n");
    std::string args = "-file=\"" + launch + "\"";
    ASSERT_NE(nullptr, Start());

    // As installed the interpreter asks first; No keeps the agent.
    CDrvProcess first;
    ASSERT_TRUE(first.Start((ProgramDir() + "tvint.exe").c_str(), args.c_str()));
    HWND question = nullptr;
    ASSERT_EQ(TVD_OK, DrvWaitMessageBox("Confirm Exit", first.Pid(), kWait, &question));
    DrvPressButton(question, IDNO);
    EXPECT_EQ(TVD_OK, first.WaitExit(kWait));
    EXPECT_TRUE(IsWindow(m_agent));

    PostMessageA(m_agent, WM_COMMAND, 224, 0);
    HWND prefs = WaitDialog("Preferences");
    ASSERT_NE(nullptr, prefs);
    HWND confirmExit = DrvFindChildById(prefs, 1321);
    ASSERT_TRUE(Checked(prefs, 1321));
    SendMessageA(confirmExit, BM_CLICK, 0, 0);
    SendMessageA(DrvFindChildById(prefs, 1330), BM_CLICK, 0, 0);
    DrvPressButton(prefs, 2);
    ASSERT_EQ(TVD_OK, DrvWaitDestroyed(prefs, kWait));

    // Now the Exit line ends the agent without a question.
    CDrvProcess second;
    ASSERT_TRUE(second.Start((ProgramDir() + "tvint.exe").c_str(), args.c_str()));
    EXPECT_EQ(0, WaitExit());
    EXPECT_EQ(TVD_OK, second.WaitExit(kWait));
}

// The Set Log File Size dialog shows the size and holds what is typed to
// 1-9999 as the box is left (not a number: the size as it was) and at OK. A
// cancelled one leaves "Log File" as stored; a confirmed one stores and shows
// the new size.
TEST_F(PrefsE2E, LoggingPageKeepsTheStoredSizeWhenSetSizeIsCancelled)
{
    auto stored = [] { return StoredDword(kAgentKey, "Log File"); };
    ASSERT_NE(nullptr, Start());
    PostMessageA(m_agent, WM_COMMAND, 223, 0);
    HWND prefs = WaitDialog("Preferences");
    ASSERT_NE(nullptr, prefs);
    SendMessageA(DrvFindChildById(prefs, 1421), BM_CLICK, 0, 0);
    EXPECT_EQ(100, stored());

    const struct
    {
        int button;
        const char* typed;
        long long stored;
    } runs[] = {{IDCANCEL, "500", 100}, {IDOK, "123456", 9999}};
    const struct
    {
        const char *typed, *shown;
    } left[] = {{"12000", "9999"}, {"0", "1"}, {"abc", "100"}, {"42", "42"}};
    char text[128] = "";
    for (const auto& run : runs)
    {
        ASSERT_TRUE(DrvPressButton(prefs, 1423));
        HWND setSize = WaitDialog("Set Log File Size");
        ASSERT_NE(nullptr, setSize);
        DrvGetText(DrvFindChildById(setSize, 311), text, sizeof(text));
        EXPECT_STREQ("The current maximum size of the log file is 100 entries.", text);
        HWND edit = DrvFindChildById(setSize, 313);
        for (const auto& c : left)
        {
            DrvSetText(edit, c.typed);
            SendMessageA(setSize, WM_COMMAND, MAKEWPARAM(313, EN_KILLFOCUS), (LPARAM)edit);
            DrvGetText(edit, text, sizeof(text));
            EXPECT_STREQ(c.shown, text) << c.typed;
        }
        DrvSetText(edit, run.typed);
        DrvPressButton(setSize, run.button);
        ASSERT_EQ(TVD_OK, DrvWaitDestroyed(setSize, kWait));
        EXPECT_TRUE(PumpUntil([&] { return stored() == run.stored; }, kWait)) << stored();
    }
    DrvGetText(DrvFindChildById(prefs, 1422), text, sizeof(text));
    EXPECT_STREQ("Tarvin is keeping a log file with a maximum size of 9999 entries.", text);
}

// A target with both quote kinds is refused in the Add dialog; a key taken by
// another program is reported and stays listed.
TEST_F(PrefsE2E, AKeyTakenByAnotherProgramIsReportedAndStaysListed)
{
    ASSERT_TRUE(RegisterHotKey(nullptr, 0x3FFE, MOD_CONTROL | MOD_ALT, 'A'));
    struct Held
    {
        ~Held()
        {
            UnregisterHotKey(nullptr, 0x3FFE);
        }
    } held;
    ASSERT_NE(nullptr, Start());
    PostMessageA(m_agent, WM_COMMAND, 222, 0);
    HWND prefs = WaitDialog("Preferences");
    ASSERT_NE(nullptr, prefs);
    ASSERT_TRUE(DrvPressButton(prefs, 11));
    HWND add = WaitDialog("Add Tarvin Key");
    ASSERT_NE(nullptr, add);
    // A target the keys file cannot keep is refused, and the dialog stays.
    HWND target = DrvFindChildById(add, 1404);
    DrvSetText(target, "say \"it's\".launch");
    ASSERT_TRUE(DrvPressButton(add, IDOK));
    // The box has the dialog's caption; it is the window the dialog owns.
    struct Owned
    {
        HWND owner, found;
    } owned = {add, nullptr};
    ASSERT_TRUE(PumpUntil(
        [&] {
            EnumWindows(
                [](HWND w, LPARAM p) {
                    Owned* o = (Owned*)p;
                    if (GetWindow(w, GW_OWNER) == o->owner && IsWindowVisible(w))
                        o->found = w;
                    return TRUE;
                },
                (LPARAM)&owned);
            return owned.found != nullptr;
        },
        kWait));
    HWND refused = owned.found;
    char text[400] = "";
    DrvMessageBoxText(refused, text, sizeof(text));
    EXPECT_STREQ(TAG_VALUE_QUOTES_TEXT, text);
    DrvPressButton(refused, IDOK);
    ASSERT_EQ(TVD_OK, DrvWaitDestroyed(refused, kWait));
    ASSERT_TRUE(IsWindow(add));
    DrvSetText(target, "");
    ASSERT_TRUE(DrvPressButton(add, IDOK)); // Ctrl + Alt + A as the dialog starts
    HWND box = nullptr;
    ASSERT_EQ(TVD_OK, DrvWaitMessageBox("Tarvin Keys", Pid(), kWait, &box));
    DrvMessageBoxText(box, text, sizeof(text));
    EXPECT_STREQ("Tarvin is unable to register the new Tarvin Key:\n   Ctrl + Alt + A\n   Run \"\"\n\n"
                 "This may be because the key is already registered by another application.",
                 text);
    DrvPressButton(box, IDOK);
    EXPECT_EQ(1, DrvListViewRowCount(DrvFindChildById(prefs, 1201)));
}

} // namespace

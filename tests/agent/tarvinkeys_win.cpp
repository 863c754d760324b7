// Tarvin Keys: the keys file, key texts and descriptions, registration with
// the system, and the actions of OnHotKey.
#include <windows.h>
#include <limits.h>
#include <algorithm>
#include <string>
#include <vector>

#include "TarvinKeys.h"
#include "HiddenWindows.h"
#include "keysfile.h"
#include "agent_testutil.h"
#include "testutil.h"
#include "strutils.h"

using agenttest::CTestWindow;

namespace
{
using wintest::CentreOf;

const char kSample[] =
    "<?TarvinTarvinKeys version=\"1.00\"?>\r\n"
    "<key vcode=\"84\" mods=\"3\" action=\"7\" target=\"\">\r\n"
    "<key vcode=\"116\" mods=\"8\" action=\"1\" target=\"C:\\users\\me\\Daily.launch\">\r\n";

std::string Text(CTarvinKeys& keys, unsigned i)
{
    char buf[128];
    return keys.GetText(i, buf, sizeof(buf)) ? buf : "<none>";
}

std::string Desc(CTarvinKeys& keys, unsigned i)
{
    char buf[300];
    return keys.GetDesc(i, buf, sizeof(buf)) ? buf : "<none>";
}

// Each key's text and description, and its id, the first past the last
// key giving "<none>".
std::string Listed(CTarvinKeys& keys)
{
    std::string out;
    for (unsigned i = 0; i <= keys.GetSize(); i++)
        out += Text(keys, i) + ": " + Desc(keys, i) +
               (i < keys.GetSize() ? " #" + std::to_string(keys.GetAt(i)->id) + "; " : "");
    return out;
}

CTarvinKey* NewKey(int vcode, UINT mods, int action, const char* target = "")
{
    CTarvinKey* key = new CTarvinKey;
    key->vcode = vcode;
    key->mods = mods;
    key->action = action;
    key->SetTarget(target);
    return key;
}

// Records what the actions ask of the rest of the agent.
class CRecordingHost : public CHotKeyHost
{
  public:
    CHiddenWindows* GetHiddenWindows() override
    {
        return &hidden;
    }
    void ShowHiddenWindowList(HWND) override
    {
        listShown++;
    }
    int ShowMessage(HWND, const char* text, const char* caption, UINT type) override
    {
        messages.push_back(std::string(caption ? caption : "<null>") + "|" + text);
        types.push_back(type);
        return IDOK;
    }
    HINSTANCE Run(const char* target) override
    {
        runs.push_back(target);
        return (HINSTANCE)33;
    }
    void PostCommand(HWND, int id) override
    {
        commands.push_back(id);
    }
    void GetCursor(POINT* pt) override
    {
        *pt = cursor;
    }

    CHiddenWindows hidden;
    int listShown = 0;
    std::vector<std::string> messages;
    std::vector<UINT> types;
    std::vector<std::string> runs;
    std::vector<int> commands;
    POINT cursor = {0, 0};
};

} // namespace

TEST(KeysFile, LoadGivesTextsIdsSavesByteForByteAndNewIdsNeverRepeat)
{
    ScratchDir dir;
    std::string path = dir.Path("Tarvin Keys.keys");
    WriteBytes(path, kSample);
    CTarvinKeys keys;
    ASSERT_EQ(1, keys.Load(path.c_str()));
    ASSERT_EQ(2u, keys.GetSize());
    EXPECT_EQ("Ctrl + Alt + T: Open Tarvin Editor #0; Win + F5: Run \"C:\\users\\me\\Daily.launch\" #1; "
              "<none>: <none>",
              Listed(keys));
    EXPECT_EQ(1u, keys.GetPosById(1));
    EXPECT_EQ((unsigned)UINT_MAX, keys.GetPosById(7));

    std::string copy = dir.Path("copy.keys");
    ASSERT_TRUE(keys.Save(copy.c_str()));
    // Nothing but the two files: the save's temporary file is gone.
    EXPECT_EQ("Tarvin Keys.keys=" + std::string(kSample) + "|copy.keys=" + kSample, Contents(dir.Root()));

    // Remove the first: "count + 1" would now give 2 twice; added keys get
    // ids no other key has.
    keys.Delete(0);
    int a = keys.AddKey(NewKey('A', 3, 2));
    int b = keys.AddKey(NewKey('B', 3, 2));
    EXPECT_TRUE(a != b && a != 1 && b != 1) << a << " " << b;
    EXPECT_EQ(1u, keys.GetPosById(a));
    EXPECT_EQ(2u, keys.GetPosById(b));
    // At the top of the system's range the lowest free id is used.
    CTarvinKeys high;
    CTarvinKey* top = NewKey('C', 3, 2);
    high.Add(top, true);
    top->id = 0xBFFF;
    EXPECT_EQ(0, high.AddKey(NewKey('D', 3, 2)));
    EXPECT_EQ(1, high.AddKey(NewKey('E', 3, 2)));
}

TEST(KeysFile, HeaderAndLineRules)
{
    ScratchDir dir;
    struct Case
    {
        const char* content;
        int expected;
        unsigned keys;
    };
    const Case cases[] = {
        {"<?TarvinTarvinKeys version=\"2.00\"?>\r\n<key vcode=\"65\" mods=\"3\" action=\"2\" "
         "target=\"\">\r\n",
         0, 0},
        {"<?TarvinTarvinKeys?>\r\n<key vcode=\"65\" mods=\"3\" action=\"2\" target=\"\">\r\n", 0, 0},
        {"<key vcode=\"65\" mods=\"3\" action=\"2\" target=\"\">\r\n", 0, 0},
        {"", 0, 0},
        {"\r\n<?tarvintarvinkeys version='1.0'?>\r\n<KEY vcode=\"65\" mods=\"3\" action=\"2\" "
         "target=\"\">\r\n"
         "<other vcode=\"66\">\r\njunk\r\n<key vcode=\"67\">\r\n",
         1, 2},
    };
    int n = 0;
    for (const Case& c : cases)
    {
        std::string path = dir.Path("k" + std::to_string(n++) + ".keys");
        WriteBytes(path, c.content);
        CTarvinKeys keys;
        keys.AddKey(NewKey(65, 3, 2));
        EXPECT_EQ(c.expected, keys.Load(path.c_str())) << c.content;
        EXPECT_EQ(c.keys, keys.GetSize()) << c.content;
    }
    CTarvinKeys keys;
    EXPECT_EQ(0, keys.Load(dir.Path("missing.keys").c_str()));

    // A key line with only its code: the rest is empty, and taken from
    // nowhere else. A target over 259 characters is cut.
    std::string path = dir.Path("partial.keys");
    WriteBytes(path, std::string(KEYSFILE_HEADER) + "\r\n<key vcode=\"67\">\r\n<key vcode=\"68\" target=\"" +
                         std::string(400, 't') + "\" mods=\"2\" action=\"1\">\r\n");
    ASSERT_EQ(1, keys.Load(path.c_str()));
    ASSERT_EQ(2u, keys.GetSize());
    EXPECT_EQ("C", Text(keys, 0));
    EXPECT_EQ("None", Desc(keys, 0));
    EXPECT_STREQ("", keys.GetAt(0)->target);
    EXPECT_EQ(259u, strlen(keys.GetAt(1)->target));

    // A line over the reader's limit keeps what came before the cut; the
    // rest of it is not read as a key of its own.
    std::string longTarget = std::string(560, 'u') + "<key vcode=\"70\" mods=\"2\" action=\"10\">";
    WriteBytes(path, std::string(KEYSFILE_HEADER) + "\r\n" +
                         "<key vcode=\"69\" mods=\"2\" action=\"7\" target=\"" + longTarget + "\">\r\n" +
                         "<key vcode=\"71\" mods=\"2\" action=\"9\" target=\"\">\r\n");
    ASSERT_EQ(1, keys.Load(path.c_str()));
    ASSERT_EQ(2u, keys.GetSize());
    EXPECT_EQ("Ctrl + E", Text(keys, 0));
    EXPECT_EQ("Open Tarvin Editor", Desc(keys, 0));
    EXPECT_EQ("Ctrl + G", Text(keys, 1));
}

// A keys file the agent could not read is never written over unseen: left
// alone when no key changed, otherwise kept beside (under the first free
// name) before the session's keys are saved. A key whose line cannot be
// written whole is left out and counted, never cut.
TEST(KeysFile, AnUnreadFileIsKeptBeforeTheSessionsKeysAreSaved)
{
    const std::string other = "<?TarvinTarvinKeys version=\"2.00\"?>\r\n<key vcode=\"84\">\r\n";
    const std::string added = std::string(KEYSFILE_HEADER) + "\r\n<key vcode=\"65\" mods=\"3\" action=\"2\" "
                                                             "target=\"\">\r\n";
    const struct
    {
        const char* what;
        bool add;
        bool olderCopy; // a copy from an earlier run is there already
        int outcome;
        std::string contents; // of the folder afterwards
    } cases[] = {
        {"nothing added", false, false, KEYS_LEFT_UNREAD, "Tarvin Keys.keys=" + other},
        {"a key added", true, false, KEYS_SAVED_OLD_KEPT,
         "Tarvin Keys.keys.old=" + other + "|Tarvin Keys.keys=" + added},
        {"a key added, an older copy there", true, true, KEYS_SAVED_OLD_KEPT,
         "Tarvin Keys.keys.old2=" + other + "|Tarvin Keys.keys.old=older|Tarvin Keys.keys=" + added},
    };
    for (const auto& c : cases)
    {
        SCOPED_TRACE(c.what);
        ScratchDir dir;
        std::string path = dir.Path("Tarvin Keys.keys");
        WriteBytes(path, other);
        if (c.olderCopy)
            WriteBytes(path + ".old", "older");
        CTarvinKeys keys;
        EXPECT_EQ(0, keys.Load(path.c_str()));
        if (c.add)
            keys.AddKey(NewKey(65, 3, 2));
        tagKEYS_SAVE result;
        EXPECT_EQ(c.add ? 1 : 0, SaveKeysFile(keys, path.c_str(), &result));
        EXPECT_EQ(c.outcome, result.outcome);
        EXPECT_EQ(c.contents, Contents(dir.Root()));
    }

    // Read well, a file is saved as always; a target with both quote kinds
    // (which the Add dialog now refuses) is not written at all.
    ScratchDir dir;
    std::string path = dir.Path("Tarvin Keys.keys");
    WriteBytes(path, std::string(KEYSFILE_HEADER) + "\r\n");
    CTarvinKeys keys;
    ASSERT_EQ(1, keys.Load(path.c_str()));
    keys.AddKey(NewKey(66, 3, 1, "say \"it's\".launch"));
    keys.AddKey(NewKey(65, 3, 2));
    tagKEYS_SAVE result;
    EXPECT_EQ(1, SaveKeysFile(keys, path.c_str(), &result));
    EXPECT_EQ(KEYS_SAVED, result.outcome);
    EXPECT_EQ(1u, result.unwritten);
    EXPECT_EQ("Tarvin Keys.keys=" + added, Contents(dir.Root()));
}

TEST(KeyNames, NamesAndCombinationTexts)
{
    struct Case
    {
        int vcode;
        const char* name;
    };
    const Case cases[] = {
        {8, "Backspace"},  {13, "Enter"},      {20, "Caps Lock"},  {32, "Space"},      {33, "Page Up"},
        {34, "Page Down"}, {35, "End"},        {36, "Home"},       {37, "Left"},       {38, "Up"},
        {39, "Right"},     {40, "Down"},       {44, "Print Scrn"}, {45, "Insert"},     {46, "Delete"},
        {48, "0"},         {57, "9"},          {65, "A"},          {90, "Z"},          {96, "Num 0"},
        {105, "Num 9"},    {106, "Num *"},     {107, "Num +"},     {108, "Separator"}, {109, "Num -"},
        {110, "Num Del"},  {111, "Num /"},     {112, "F1"},        {135, "F24"},       {145, "Scroll Lock"},
        {0, "Unknown"},    {9, "Unknown"},     {47, "Unknown"},    {91, "Unknown"},    {136, "Unknown"},
        {-5, "Unknown"},   {100000, "Unknown"}};
    for (const Case& c : cases)
        EXPECT_STREQ(c.name, GetKeyName(c.vcode)) << c.vcode;

    char buf[64];
    FormatKeyText(buf, sizeof(buf), 'T', KEYMOD_ALT | KEYMOD_CONTROL);
    EXPECT_STREQ("Ctrl + Alt + T", buf);
    FormatKeyText(buf, sizeof(buf), 112, KEYMOD_ALT | KEYMOD_CONTROL | KEYMOD_SHIFT | KEYMOD_WIN);
    EXPECT_STREQ("Ctrl + Shift + Win + Alt + F1", buf);
    FormatKeyText(buf, sizeof(buf), 3, 0);
    EXPECT_STREQ("Unknown", buf);
    FormatKeyText(buf, 8, 'T', KEYMOD_CONTROL | KEYMOD_ALT); // cut, terminated
    EXPECT_STREQ("Ctrl + ", buf);

    const char* descs[] = {"None",
                           "Run \"x.launch\"",
                           "Hide window",
                           "Show hidden window list",
                           "Show all hidden windows",
                           "Show log file viewer",
                           "Show preferences dialog",
                           "Open Tarvin Editor",
                           "Open Tarvin Menu Editor",
                           "Open Tarvin Scheduler",
                           "Exit Tarvin"};
    for (int a = -1; a <= 11; a++)
    {
        char desc[300];
        FormatActionDesc(desc, sizeof(desc), a, "x.launch");
        EXPECT_STREQ(a >= 0 && a <= 10 ? descs[a] : "Unknown", desc) << a;
    }
}

TEST(KeyNames, TheAddDialogOffersEveryNamedKeyButSeparator)
{
    const int* codes = nullptr;
    unsigned n = GetKeyChoices(&codes);
    ASSERT_EQ(91u, n);
    std::vector<std::string> names;
    for (unsigned i = 0; i < n; i++)
        names.push_back(GetKeyName(codes[i]));
    EXPECT_EQ(names.end(), std::find(names.begin(), names.end(), "Separator"));
    // Every named key but one is offered, each once.
    int named = 0;
    for (int vk = 0; vk < 256; vk++)
        named += strcmp(GetKeyName(vk), "Unknown") != 0 ? 1 : 0;
    EXPECT_EQ(92, named);
    std::sort(names.begin(), names.end());
    EXPECT_EQ(names.end(), std::adjacent_find(names.begin(), names.end()));
}

TEST(KeyRegistration, TwoKeysRegisterAndATakenKeyGivesTheMessage)
{
    CTestWindow main("Hot key owner");
    CTestWindow other("Other owner");
    CTarvinKeys keys;
    keys.AddKey(NewKey(VK_F9, MOD_CONTROL | MOD_ALT, 7));
    keys.AddKey(NewKey(VK_F10, MOD_CONTROL | MOD_ALT, 1, "C:\\x.launch"));

    CRecordingHost host;
    EXPECT_EQ(0, RegisterTarvinKeys(main, keys, host));
    EXPECT_TRUE(host.messages.empty());

    // The same keys once more, from another window: the system refuses both.
    CTarvinKeys again;
    again.AddKey(NewKey(VK_F9, MOD_CONTROL | MOD_ALT, 7));
    again.AddKey(NewKey(VK_F10, MOD_CONTROL | MOD_ALT, 1, "C:\\x.launch"));
    EXPECT_EQ(2, RegisterTarvinKeys(other, again, host));
    ASSERT_EQ(2u, host.messages.size());
    EXPECT_EQ(
        "Tarvin Keys|Tarvin is unable to register the new Tarvin Key:\n   Ctrl + Alt + F9\n   Open Tarvin "
        "Editor\n\nThis may be because the key is already registered by another application.",
        host.messages[0]);
    EXPECT_NE(std::string::npos, host.messages[1].find("Ctrl + Alt + F10\n   Run \"C:\\x.launch\"\n\n"));
    EXPECT_EQ((UINT)(MB_OK | MB_ICONINFORMATION), host.types[0]);
    EXPECT_EQ(2u, again.GetSize()); // they stay in the table

    // Unregistered, a key is free for the other window.
    EXPECT_TRUE(keys.Unregister(0, main));
    EXPECT_TRUE(again.Register(0, other));
    EXPECT_FALSE(keys.Register(5, main));
    EXPECT_FALSE(keys.Unregister(5, main));
    again.Unregister(0, other);
    keys.Unregister(1, main);
}

TEST(HotKeyActions, CommandsListRunAndUnknownIds)
{
    CTestWindow main("Agent main");
    CTarvinKeys keys;
    for (int action = 0; action <= 11; action++)
        keys.AddKey(NewKey('A' + action, 3, action, action == 1 ? "C:\\t.launch" : ""));
    CRecordingHost host;
    for (int action = 0; action <= 11; action++)
    {
        if (action == 2 || action == 4)
            continue;
        EXPECT_EQ(1, OnHotKey(main, keys.GetAt((unsigned)action)->id, keys, host));
    }
    EXPECT_EQ((std::vector<int>{213, 220, 201, 205, 206, 200}), host.commands);
    EXPECT_EQ((std::vector<std::string>{"C:\\t.launch"}), host.runs);
    EXPECT_EQ(1, host.listShown);
    EXPECT_EQ(1, OnHotKey(main, 9999, keys, host));
    EXPECT_EQ(6u, host.commands.size());
    EXPECT_TRUE(host.messages.empty());
}

TEST(HotKeyActions, HideUnderCursorShowAllAndTheRefusal)
{
    CTestWindow main("Agent main", NULL, WS_EX_TOOLWINDOW, 600, 500);
    agenttest::CTargetProcess target;
    ASSERT_TRUE(target.Start("-title=\"Hot Key Target\" -owned=\"Hot Key Tool\""));
    HWND hwnd = target.WaitWindow("Hot Key Target");
    HWND tool = target.WaitWindow("Hot Key Tool");
    ASSERT_TRUE(hwnd);
    ASSERT_TRUE(tool);
    SetWindowPos(hwnd, HWND_TOP, 50, 50, 300, 200, SWP_NOACTIVATE);
    SetWindowPos(tool, HWND_TOP, 400, 50, 150, 100, SWP_NOACTIVATE);

    CTarvinKeys keys;
    int hide = keys.AddKey(NewKey('H', 3, KEYACT_HIDE_WINDOW));
    int showAll = keys.AddKey(NewKey('S', 3, KEYACT_SHOW_ALL));
    CRecordingHost host;

    // Over the tool window: it has no parent, so it goes alone, not its owner.
    host.cursor = CentreOf(tool);
    ASSERT_EQ(tool, GetAncestor(WindowFromPoint(host.cursor), GA_ROOT));
    OnHotKey(main, hide, keys, host);
    EXPECT_FALSE(IsWindowVisible(tool));
    EXPECT_TRUE(IsWindowVisible(hwnd));
    ASSERT_EQ(1u, host.hidden.GetSize());
    EXPECT_STREQ("Hot Key Tool", host.hidden.GetAt(0)->title);
    OnHotKey(main, showAll, keys, host);
    EXPECT_TRUE(IsWindowVisible(tool));
    EXPECT_TRUE(host.messages.empty());

    // Over a child area of the target's window: its top-level window goes,
    // with the tool window it owns.
    host.cursor = CentreOf(hwnd);
    ASSERT_EQ(hwnd, GetAncestor(WindowFromPoint(host.cursor), GA_ROOT));
    OnHotKey(main, hide, keys, host);
    EXPECT_FALSE(IsWindowVisible(hwnd));
    EXPECT_FALSE(IsWindowVisible(tool));
    ASSERT_EQ(1u, host.hidden.GetSize());
    EXPECT_STREQ("Hot Key Target", host.hidden.GetAt(0)->title);

    // Over the agent's own window: refused with the warning.
    SetWindowPos(main, HWND_TOPMOST, 600, 500, 300, 200, SWP_NOACTIVATE);
    host.cursor = CentreOf(main);
    ASSERT_EQ(main.Get(), WindowFromPoint(host.cursor));
    OnHotKey(main, hide, keys, host);
    ASSERT_EQ(1u, host.messages.size());
    EXPECT_EQ("<null>|You cannot hide Tarvin Agent windows using this feature.", host.messages[0]);
    EXPECT_EQ((UINT)(MB_OK | MB_ICONWARNING), host.types[0]);
    EXPECT_TRUE(IsWindowVisible(main));
    EXPECT_EQ(1u, host.hidden.GetSize());

    // The agent's dialogs are refused too, a message box owned by the main
    // window through that window; another window of the agent's process (the
    // help viewer, say) is hidden like any other.
    HWND dialog = CreateWindowExA(WS_EX_TOPMOST, "#32770", "Agent dialog", WS_POPUP | WS_CAPTION | WS_VISIBLE,
                                  900, 100, 200, 150, NULL, NULL, GetModuleHandleA(NULL), NULL);
    HWND box = CreateWindowExA(WS_EX_TOPMOST, agenttest::TestClass(), "Agent box",
                               WS_POPUP | WS_CAPTION | WS_VISIBLE, 900, 300, 200, 150, main, NULL,
                               GetModuleHandleA(NULL), NULL);
    CTestWindow help("Agent help viewer", NULL, WS_EX_TOPMOST, 900, 500);
    ASSERT_TRUE(dialog && box && help.Get());
    struct
    {
        HWND window;
        bool refused;
    } own[] = {{dialog, true}, {box, true}, {help, false}};
    for (const auto& o : own)
    {
        SCOPED_TRACE(wintest::TextOf(o.window));
        size_t messages = host.messages.size();
        unsigned hiddenCount = host.hidden.GetSize();
        host.cursor = CentreOf(o.window);
        ASSERT_EQ(o.window, GetAncestor(WindowFromPoint(host.cursor), GA_ROOT));
        OnHotKey(main, hide, keys, host);
        EXPECT_EQ(o.refused ? messages + 1 : messages, host.messages.size());
        EXPECT_EQ(o.refused ? hiddenCount : hiddenCount + 1, host.hidden.GetSize());
        EXPECT_EQ(o.refused, IsWindowVisible(o.window) != 0);
    }
    EXPECT_TRUE(IsWindowVisible(main));
    host.hidden.Delete(host.hidden.GetSize() - 1);
    ShowWindow(help, SW_SHOWNA);
    DestroyWindow(box);
    DestroyWindow(dialog);

    // Over the bare desktop nothing is hidden.
    POINT corner = {GetSystemMetrics(SM_CXSCREEN) - 2, GetSystemMetrics(SM_CYSCREEN) - 2};
    if (GetTopParent(WindowFromPoint(corner)) == GetDesktopWindow())
    {
        host.cursor = corner;
        OnHotKey(main, hide, keys, host);
        EXPECT_EQ(1u, host.hidden.GetSize());
        EXPECT_TRUE(IsWindowVisible(GetDesktopWindow()));
    }

    OnHotKey(main, showAll, keys, host);
    EXPECT_TRUE(IsWindowVisible(hwnd));
    EXPECT_TRUE(IsWindowVisible(tool));
    EXPECT_EQ(0u, host.hidden.GetSize());
}

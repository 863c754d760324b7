// The Preferences dialog in the real agent, driven from this process: a key
// added on the Tarvin Keys page is registered at once, a removed one is given
// back to the system at once, and the keys file keeps what is left; a change
// on the Launch File page changes what the next launch file does.
#include "agent_testutil.h"

#include "support/tvdriver/driver.h"
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
        PumpUntil([&] { return (found = FindTop(Pid(), NULL, title, false)) != nullptr; }, kWait);
        return found;
    }
};

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

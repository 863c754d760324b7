// Hidden windows: owner chains, the related-window cap, Refresh and Show,
// with windows of this process and of tvtarget.exe, and the dialog.
#include <windows.h>
#include <commctrl.h>
#include <memory>
#include <string>
#include <vector>

#include "HiddenWindows.h"
#include "hiddenWndDlg.h"
#include "hiddenWndDlgRes.h"
#include "agent_testutil.h"
#include "strutils.h"

using agenttest::CTestWindow;
using agenttest::PumpUntil;

TEST(HiddenWindows, HidingAChildHidesItsTopLevelWindowAndOwnedWindows)
{
    CTestWindow top("Family head");
    HWND child = CreateWindowExA(0, "BUTTON", "child", WS_CHILD | WS_VISIBLE, 5, 5, 50, 20, top, NULL,
                                 GetModuleHandleA(NULL), NULL);
    CTestWindow tool1("Family tool 1", top, WS_EX_TOOLWINDOW);
    CTestWindow tool2("Family tool 2", tool1, WS_EX_TOOLWINDOW); // owned through tool 1
    CTestWindow hiddenTool("Family hidden tool", top, WS_EX_TOOLWINDOW);
    ShowWindow(hiddenTool, SW_HIDE);
    CTestWindow stranger("Stranger");

    CHiddenWindows list;
    EXPECT_EQ(1, list.Hide(child));
    ASSERT_EQ(1u, list.GetSize());
    CHiddenWnd* record = list.GetAt(0);
    EXPECT_EQ(top.Get(), record->hwnd);
    EXPECT_STREQ("Family head", record->title);
    ASSERT_EQ(2u, record->relatedCount);
    EXPECT_EQ("0001", wintest::Shown({top, tool1, tool2, stranger}));

    // Shown again: the head, then the tools without taking the activation.
    SetActiveWindow(stranger);
    EXPECT_EQ(0, list.Show(1));
    EXPECT_EQ(1, list.Show(0));
    EXPECT_EQ(0u, list.GetSize());
    EXPECT_EQ("1110", wintest::Shown({top, tool1, tool2, hiddenTool})); // the last was not hidden by us
    EXPECT_NE(tool1.Get(), GetActiveWindow());
    EXPECT_NE(tool2.Get(), GetActiveWindow());
    EXPECT_EQ(0, list.Hide(NULL));
}

TEST(HiddenWindows, MoreThan256OwnedWindowsDoNotOverrunTheRecord)
{
    CTestWindow top("Big family");
    std::vector<std::unique_ptr<CTestWindow>> owned;
    for (int i = 0; i < 260; i++)
        owned.push_back(
            std::make_unique<CTestWindow>(("Owned " + std::to_string(i)).c_str(), top, WS_EX_TOOLWINDOW));
    CHiddenWindows list;
    list.Hide(top);
    CHiddenWnd* record = list.GetAt(0);
    EXPECT_EQ(256u, record->relatedCount);
    // The ones past the array stay visible, so none is lost.
    int visible = 0;
    for (auto& w : owned)
        visible += IsWindowVisible(*w) ? 1 : 0;
    EXPECT_EQ(4, visible);
    list.Show(0);
    for (auto& w : owned)
        EXPECT_TRUE(IsWindowVisible(*w));
}

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

using agenttest::CTargetProcess;
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

TEST(HiddenWindows, RefreshDropsClosedWindowsAndRereadsTitles)
{
    CHiddenWindows list;
    CTestWindow a("First A");
    auto b = std::make_unique<CTestWindow>("Second B");
    auto c = std::make_unique<CTestWindow>("Third C");
    CTestWindow d("Fourth D");
    list.Hide(a);
    list.Hide(*b);
    list.Hide(*c);
    list.Hide(d);
    b.reset();
    c.reset();
    SetWindowTextA(d, "Fourth renamed");
    EXPECT_EQ(1, list.Refresh());
    ASSERT_EQ(2u, list.GetSize());
    EXPECT_EQ(a.Get(), list.GetAt(0)->hwnd);
    EXPECT_STREQ("Fourth renamed", list.GetAt(1)->title);

    // A window hidden twice has two records; show all empties the list in order.
    list.Hide(a);
    EXPECT_EQ(3u, list.GetSize());
    list.ShowAll();
    EXPECT_EQ(0u, list.GetSize());
    EXPECT_EQ("11", wintest::Shown({a, d}));
    EXPECT_EQ(1, list.Refresh());
}

// Windows of other processes. An owned overlapped tool window has no
// parent: hidden by itself, it is hidden alone and under its own title, so a
// show by that title finds it; hidden through its owner, it goes with the
// family. Show All shows in the order hidden; a hidden application that is
// closed leaves the list at the next refresh.
TEST(HiddenWindows, WindowsOfAnotherProcess)
{
    CTargetProcess app, two;
    ASSERT_TRUE(app.Start("-title=\"Paint App\" -owned=\"Palette\" -owned=\"Brushes\""));
    ASSERT_TRUE(two.Start("-title=\"Second App\" -title=\"Second App 2\""));
    HWND main = app.WaitWindow("Paint App");
    HWND palette = app.WaitWindow("Palette");
    HWND brushes = app.WaitWindow("Brushes");
    HWND second = two.WaitWindow("Second App");
    HWND second2 = two.WaitWindow("Second App 2");
    ASSERT_TRUE(main && palette && brushes && second && second2);
    ASSERT_EQ(NULL, GetParent(palette));

    CHiddenWindows list;
    EXPECT_EQ(1, list.Hide(palette));
    ASSERT_EQ(1u, list.GetSize());
    EXPECT_EQ(palette, list.GetAt(0)->hwnd);
    EXPECT_STREQ("Palette", list.GetAt(0)->title);
    EXPECT_EQ(0u, list.GetAt(0)->relatedCount);
    EXPECT_EQ("011", wintest::Shown({palette, main, brushes}));
    EXPECT_EQ(1, list.Show(0));
    EXPECT_TRUE(IsWindowVisible(palette));

    // A window owned by the palette goes with it.
    CTestWindow sub("Palette options", palette, WS_EX_TOOLWINDOW);
    list.Hide(palette);
    EXPECT_FALSE(IsWindowVisible(sub));
    ASSERT_EQ(1u, list.GetAt(0)->relatedCount);
    list.ShowAll();
    EXPECT_TRUE(IsWindowVisible(sub));

    list.Hide(main);
    list.Hide(second);
    list.Hide(second2);
    EXPECT_EQ(3u, list.GetAt(0)->relatedCount);
    EXPECT_EQ(0u, list.GetAt(1)->relatedCount);
    EXPECT_EQ("000000", wintest::Shown({main, palette, brushes, sub, second, second2}));
    list.ShowAll();
    EXPECT_EQ(0u, list.GetSize());
    EXPECT_EQ("111111", wintest::Shown({main, palette, brushes, sub, second, second2}));

    list.Hide(second);
    PostMessageA(second, WM_CLOSE, 0, 0);
    PostMessageA(second2, WM_CLOSE, 0, 0);
    ASSERT_TRUE(two.Exited(10000));
    list.Refresh();
    EXPECT_EQ(0u, list.GetSize());
}

// --- The dialog ----------------------------------------------------------------

using agenttest::Rows;

TEST(HiddenWindowsDialog, ListsIconsShowsAndRefreshesEverySecond)
{
    CHiddenWindows list;
    CTestWindow a("Hidden alpha");
    CTestWindow b("Hidden beta");
    HICON icon = LoadIconA(NULL, (LPCSTR)IDI_WARNING);
    SendMessageA(b, WM_SETICON, ICON_SMALL, (LPARAM)icon);
    list.Hide(a);
    list.Hide(b);

    HWND slot = NULL;
    HWND dlg = OpenHiddenWindowsDialog(GetModuleHandleA(NULL), &list, &slot);
    ASSERT_TRUE(dlg);
    EXPECT_EQ(dlg, slot);
    EXPECT_EQ("Hidden Windows", wintest::TextOf(dlg));
    EXPECT_TRUE(GetWindowLongPtrA(dlg, GWL_EXSTYLE) & WS_EX_APPWINDOW);
    EXPECT_EQ(dlg, OpenHiddenWindowsDialog(GetModuleHandleA(NULL), &list, &slot));
    HWND view = GetDlgItem(dlg, IDC_HIDDENWND_LIST);
    ASSERT_TRUE(view);

    EXPECT_EQ((std::vector<std::string>{"Hidden alpha", "Hidden beta"}), Rows(view));
    HIMAGELIST images = ListView_GetImageList(view, LVSIL_SMALL);
    ASSERT_TRUE(images);
    EXPECT_EQ(2, ImageList_GetImageCount(images));

    // Windows hidden or closed meanwhile show up within a second.
    auto c = std::make_unique<CTestWindow>("Hidden gamma");
    list.Hide(*c);
    EXPECT_TRUE(PumpUntil([&] { return ListView_GetItemCount(view) == 3; }, 3000));
    ListView_SetItemState(view, 2, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
    c.reset();
    EXPECT_TRUE(PumpUntil([&] { return ListView_GetItemCount(view) == 2; }, 3000));
    EXPECT_EQ((std::vector<std::string>{"Hidden alpha", "Hidden beta"}), Rows(view));

    // Show without a selection does nothing; with one it shows that record.
    for (int i = 0; i < 2; i++)
        ListView_SetItemState(view, i, 0, LVIS_SELECTED);
    SendMessageA(dlg, WM_COMMAND, IDC_HIDDENWND_SHOW, 0);
    EXPECT_EQ(2u, list.GetSize());
    ListView_SetItemState(view, 1, LVIS_SELECTED, LVIS_SELECTED);
    SendMessageA(dlg, WM_COMMAND, IDC_HIDDENWND_SHOW, 0);
    EXPECT_EQ("10", wintest::Shown({b, a}));
    ASSERT_EQ(1u, list.GetSize());
    EXPECT_EQ(a.Get(), list.GetAt(0)->hwnd);
    EXPECT_EQ((std::vector<std::string>{"Hidden alpha"}), Rows(view));

    SendMessageA(dlg, WM_COMMAND, IDC_HIDDENWND_CLOSE, 0);
    EXPECT_FALSE(IsWindow(dlg));
    EXPECT_EQ(NULL, slot);
    list.ShowAll();

    // Opened again after closing: a new dialog; the close box ends it too.
    dlg = OpenHiddenWindowsDialog(GetModuleHandleA(NULL), &list, &slot);
    ASSERT_TRUE(dlg);
    SendMessageA(dlg, WM_CLOSE, 0, 0);
    EXPECT_FALSE(IsWindow(dlg));
    EXPECT_EQ(NULL, slot);
}

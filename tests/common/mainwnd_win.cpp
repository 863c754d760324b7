// The main windows' shared scaffolding: settings kept under a program's key
// and the toolbar made from a table.
#include <windows.h>
#include <commctrl.h>

#include <string>

#include <gtest/gtest.h>

#include "mainwnd.h"
#include "regutils.h"

namespace
{
const char kKey[] = "Software\\Norvale\\Tarvin 2 Tests\\MainWnd";

class MainWnd : public ::testing::Test
{
  protected:
    void SetUp() override
    {
        RegDeleteTreeA(HKEY_CURRENT_USER, kKey);
    }
    void TearDown() override
    {
        RegDeleteTreeA(HKEY_CURRENT_USER, kKey);
    }
};

TEST_F(MainWnd, StoredRectangleIsUsedOnlyWhenItHasAnArea)
{
    const RECT kPreset = {1, 2, 3, 4};
    struct Case
    {
        RECT stored;
        bool used;
    } cases[] = {
        {{10, 20, 410, 320}, true},
        {{10, 20, 10, 320}, false},  // no width
        {{10, 20, 410, 20}, false},  // no height
        {{410, 20, 10, 320}, false}, // right of left
    };
    RECT rc = kPreset;
    EXPECT_FALSE(ReadWindowRect(kKey, &rc)) << "nothing stored";
    for (const Case& c : cases)
    {
        WriteWindowRect(kKey, c.stored);
        rc = kPreset;
        EXPECT_EQ(ReadWindowRect(kKey, &rc), c.used) << c.stored.left << "," << c.stored.right;
        const RECT& want = c.used ? c.stored : kPreset;
        EXPECT_TRUE(EqualRect(&rc, &want)) << c.stored.left << "," << c.stored.right;
    }
    // Every program finds its rectangle under the same value name.
    EXPECT_TRUE(RegReadRECT(HKEY_CURRENT_USER, kKey, "Editor WindowPos", &rc));
}

TEST_F(MainWnd, ColumnWidthsMissingFromTheKeyKeepTheirDefaults)
{
    RegWriteDWORD(HKEY_CURRENT_USER, kKey, "Column 2 Width", 77);
    int widths[3] = {100, 200, 300};
    ReadColumnWidths(kKey, widths, 3);
    EXPECT_EQ(widths[0], 100);
    EXPECT_EQ(widths[1], 77);
    EXPECT_EQ(widths[2], 300);
    EXPECT_EQ(RegReadDWORDOr(HKEY_CURRENT_USER, kKey, "Column 3 Width", 5), 5u);

    // Without a list nothing is written.
    WriteColumnWidths(kKey, nullptr, 3);
    EXPECT_EQ(RegReadDWORDOr(HKEY_CURRENT_USER, kKey, "Column 1 Width", 5), 5u);
}

TEST(ButtonToolbar, TableGivesButtonsSeparatorsAndDropDownArrows)
{
    INITCOMMONCONTROLSEX icc = {sizeof(icc), ICC_BAR_CLASSES};
    InitCommonControlsEx(&icc);
    HWND parent = CreateWindowExA(0, "STATIC", "", WS_POPUP, 0, 0, 400, 300, nullptr, nullptr,
                                  GetModuleHandleA(nullptr), nullptr);
    ASSERT_TRUE(parent);
    static const ToolbarButton kPlain[] = {{1, 101, 0, "One"}, {0, 0, 0, nullptr}, {2, 102, 0, "Two"}};
    static const ToolbarButton kWithMenu[] = {{1, 101, 0, nullptr}, {2, 102, BTNS_DROPDOWN, nullptr}};
    struct Case
    {
        const ToolbarButton* table;
        int count;
        bool arrows;
    } cases[] = {{kPlain, 3, false}, {kWithMenu, 2, true}};
    for (const Case& c : cases)
    {
        CImageList images;
        HWND tb = CreateButtonToolbar(parent, GetModuleHandleA(nullptr), 500, 0, c.table, c.count, &images);
        ASSERT_TRUE(tb);
        EXPECT_EQ(GetDlgCtrlID(tb), 500);
        EXPECT_FALSE(IsWindowVisible(tb)) << "shown only by the layout";
        ASSERT_EQ((int)SendMessageA(tb, TB_BUTTONCOUNT, 0, 0), c.count);
        for (int i = 0; i < c.count; i++)
        {
            TBBUTTON b = {};
            ASSERT_TRUE(SendMessageA(tb, TB_GETBUTTON, i, (LPARAM)&b));
            EXPECT_EQ(b.idCommand, c.table[i].command) << i;
            EXPECT_EQ((b.fsStyle & BTNS_SEP) != 0, c.table[i].command == 0) << i;
            EXPECT_EQ(b.fsStyle & BTNS_DROPDOWN, c.table[i].style & BTNS_DROPDOWN) << i;
            if (c.table[i].command)
            {
                EXPECT_TRUE(SendMessageA(tb, TB_ISBUTTONENABLED, b.idCommand, 0)) << i;
            }
        }
        DWORD ex = (DWORD)SendMessageA(tb, TB_GETEXTENDEDSTYLE, 0, 0);
        EXPECT_EQ((ex & TBSTYLE_EX_DRAWDDARROWS) != 0, c.arrows);
        DestroyWindow(tb);
    }
    DestroyWindow(parent);
}
} // namespace

// The in-memory dialog template builder: what it builds makes a working
// dialog, and a buffer too small for it is reported, never overrun.
#include <windows.h>
#include <string.h>

#include <gtest/gtest.h>

#include "dlgtemplate.h"

namespace
{

bool Build(CDlgTemplate& t)
{
    t.Begin(WS_POPUP | DS_SETFONT, 0, 10, 10, 120, 60, nullptr, "Built in code", 8, "MS Shell Dlg");
    t.AddControl(WS_CHILD | WS_VISIBLE | BS_PUSHBUTTON, 0, 5, 5, 50, 14, IDOK, "BUTTON", "&OK");
    return t.AddControl(WS_CHILD | WS_VISIBLE | ES_AUTOHSCROLL, WS_EX_CLIENTEDGE, 5, 25, 100, 12, 1001,
                        "EDIT", "some text");
}

TEST(DlgTemplate, BuildsAWorkingDialogAndReportsABufferTooSmall)
{
    DWORD buffer[128];
    CDlgTemplate full(buffer, sizeof(buffer));
    ASSERT_TRUE(Build(full));
    const size_t needed = full.GetSize();
    HWND dlg = CreateDialogIndirectParamA(
        GetModuleHandleA(nullptr), full.Get(), nullptr,
        [](HWND, UINT, WPARAM, LPARAM) -> INT_PTR { return FALSE; }, 0);
    ASSERT_TRUE(dlg);
    char text[64];
    GetWindowTextA(dlg, text, sizeof(text));
    EXPECT_STREQ("Built in code", text);
    GetDlgItemTextA(dlg, IDOK, text, sizeof(text));
    EXPECT_STREQ("&OK", text);
    GetDlgItemTextA(dlg, 1001, text, sizeof(text));
    EXPECT_STREQ("some text", text);
    DestroyWindow(dlg);

    // Every shorter buffer fails, and the bytes after it stay as they were.
    for (size_t size = 0; size < needed; size += 2)
    {
        SCOPED_TRACE(size);
        memset(buffer, 0xAB, sizeof(buffer));
        CDlgTemplate small(buffer, size);
        EXPECT_FALSE(Build(small));
        EXPECT_EQ(nullptr, small.Get());
        for (size_t i = size; i < sizeof(buffer); i++)
            ASSERT_EQ(0xAB, ((BYTE*)buffer)[i]) << "written past the buffer at " << i;
    }
    CDlgTemplate unaligned((BYTE*)buffer + 2, sizeof(buffer) - 2);
    EXPECT_FALSE(Build(unaligned));
}

} // namespace

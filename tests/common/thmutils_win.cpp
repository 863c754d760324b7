#include <windows.h>
#include <commctrl.h>
#include <gtest/gtest.h>
#include "thmutils.h"
#include "wintestutil.h"

namespace
{
const COLORREF kMarker = RGB(255, 0, 255);

// A 32 x 32 bitmap in the marker colour: drawing anything changes it.
class Canvas : public wintest::Canvas
{
  public:
    Canvas() : wintest::Canvas(32, 32, kMarker)
    {
    }
    bool Untouched() const
    {
        return Count({0, 0, 32, 32}, kMarker) == 32 * 32;
    }
};

NMCUSTOMDRAW CustomDraw(HDC dc, DWORD stage)
{
    NMCUSTOMDRAW cd = {};
    cd.dwDrawStage = stage;
    cd.hdc = dc;
    SetRect(&cd.rc, 0, 0, 32, 32);
    return cd;
}

bool AllFallbacks()
{
    return g_SetWindowTheme == SetWindowThemeFail && g_OpenThemeData == OpenThemeDataFail &&
           g_CloseThemeData == CloseThemeDataFail && g_DrawThemeBackground == DrawThemeBackgroundFail &&
           g_EnableThemeDialogTexture == EnableThemeDialogTextureFail &&
           g_DrawThemeParentBackground == DrawThemeParentBackgroundFail && g_IsAppThemed == IsAppThemedFail;
}
} // namespace

// Loaded, the entry points lead into the library; freed, every one is a
// harmless fallback again, never a pointer into the unloaded library.
TEST(ThemeLib, BindsOnInitAndUnbindsOnFree)
{
    FreeThemeLib();
    EXPECT_EQ(FreeThemeLib(), 0);
    EXPECT_TRUE(AllFallbacks());
    ASSERT_EQ(InitThemeLib(), 1);
    ASSERT_NE(g_hThemeLib, (HMODULE)NULL);
    EXPECT_EQ(InitThemeLib(), 1);
    EXPECT_EQ((void*)g_OpenThemeData, (void*)GetProcAddress(g_hThemeLib, "OpenThemeData"));
    EXPECT_EQ((void*)g_IsAppThemed, (void*)GetProcAddress(g_hThemeLib, "IsAppThemed"));

    EXPECT_EQ(FreeThemeLib(), 1);
    EXPECT_EQ(g_hThemeLib, (HMODULE)NULL);
    EXPECT_TRUE(AllFallbacks());
    EXPECT_EQ(g_OpenThemeData(NULL, L"SCROLLBAR"), (HTHEME)NULL);
    EXPECT_FALSE(g_IsAppThemed());
}

TEST(ThemeLib, ToolbarBackgroundDrawsOnlyAtPrePaintWhenThemed)
{
    HWND toolbar = CreateWindowExA(0, "STATIC", "", WS_POPUP, 0, 0, 32, 32, NULL, NULL, NULL, NULL);
    ASSERT_TRUE(toolbar);

    FreeThemeLib();
    {
        Canvas canvas;
        NMCUSTOMDRAW cd = CustomDraw(canvas.Dc(), CDDS_PREPAINT);
        EXPECT_EQ(TBDrawBackground(toolbar, &cd), 0);
        EXPECT_TRUE(canvas.Untouched()) << "drew without the library";
    }

    ASSERT_EQ(InitThemeLib(), 1);
    {
        Canvas canvas;
        NMCUSTOMDRAW cd = CustomDraw(canvas.Dc(), CDDS_ITEMPREPAINT);
        EXPECT_EQ(TBDrawBackground(toolbar, &cd), 0);
        EXPECT_TRUE(canvas.Untouched()) << "drew at another stage";
    }
    {
        Canvas canvas;
        NMCUSTOMDRAW cd = CustomDraw(canvas.Dc(), CDDS_PREPAINT);
        EXPECT_EQ(TBDrawBackground(toolbar, &cd), 0);
        if (g_IsAppThemed())
            EXPECT_FALSE(canvas.Untouched()) << "themed, but the track was not drawn";
        else
            EXPECT_TRUE(canvas.Untouched()) << "drew while not themed";
    }
    FreeThemeLib();
    DestroyWindow(toolbar);
}

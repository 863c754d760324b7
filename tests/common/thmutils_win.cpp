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

TEST(ThemeLib, FallbacksFailHarmlessly)
{
    RECT rc = {0, 0, 1, 1};
    EXPECT_EQ(OpenThemeDataFail(NULL, L"SCROLLBAR"), (HTHEME)NULL);
    EXPECT_FALSE(IsAppThemedFail());
    EXPECT_EQ(CloseThemeDataFail(NULL), E_FAIL);
    EXPECT_EQ(DrawThemeBackgroundFail(NULL, NULL, 7, 1, &rc, NULL), E_FAIL);
    EXPECT_EQ(SetWindowThemeFail(NULL, L"", L""), E_FAIL);
    EXPECT_EQ(EnableThemeDialogTextureFail(NULL, 0), E_FAIL);
    EXPECT_EQ(DrawThemeParentBackgroundFail(NULL, NULL, &rc), E_FAIL);
}

TEST(ThemeLib, BindsEveryEntryPointAndUnbindsOnFree)
{
    FreeThemeLib();
    EXPECT_EQ(FreeThemeLib(), 0);
    EXPECT_TRUE(AllFallbacks());

    ASSERT_EQ(InitThemeLib(), 1);
    ASSERT_NE(g_hThemeLib, (HMODULE)NULL);
    EXPECT_EQ(InitThemeLib(), 1);

    struct Entry
    {
        const char* name;
        void* bound;
    } entries[] = {
        {"SetWindowTheme", (void*)g_SetWindowTheme},
        {"OpenThemeData", (void*)g_OpenThemeData},
        {"CloseThemeData", (void*)g_CloseThemeData},
        {"DrawThemeBackground", (void*)g_DrawThemeBackground},
        {"EnableThemeDialogTexture", (void*)g_EnableThemeDialogTexture},
        {"DrawThemeParentBackground", (void*)g_DrawThemeParentBackground},
        {"IsAppThemed", (void*)g_IsAppThemed},
    };
    for (const Entry& e : entries)
    {
        SCOPED_TRACE(e.name);
        EXPECT_EQ(e.bound, (void*)GetProcAddress(g_hThemeLib, e.name));
    }

    // Freed: the pointers must not lead into the unloaded library.
    EXPECT_EQ(FreeThemeLib(), 1);
    EXPECT_EQ(g_hThemeLib, (HMODULE)NULL);
    EXPECT_TRUE(AllFallbacks());
    EXPECT_EQ(g_OpenThemeData(NULL, L"SCROLLBAR"), (HTHEME)NULL);
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

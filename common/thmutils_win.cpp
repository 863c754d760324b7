#include "thmutils.h"
#include <vsstyle.h>

HRESULT WINAPI SetWindowThemeFail(HWND, LPCWSTR, LPCWSTR)
{
    return E_FAIL;
}

HTHEME WINAPI OpenThemeDataFail(HWND, LPCWSTR)
{
    return NULL;
}

HRESULT WINAPI CloseThemeDataFail(HTHEME)
{
    return E_FAIL;
}

HRESULT WINAPI DrawThemeBackgroundFail(HTHEME, HDC, int, int, const RECT*, const RECT*)
{
    return E_FAIL;
}

HRESULT WINAPI EnableThemeDialogTextureFail(HWND, DWORD)
{
    return E_FAIL;
}

HRESULT WINAPI DrawThemeParentBackgroundFail(HWND, HDC, const RECT*)
{
    return E_FAIL;
}

BOOL WINAPI IsAppThemedFail(void)
{
    return FALSE;
}

// The pointers start on the fallbacks, so a call before InitThemeLib is safe.
HMODULE g_hThemeLib = NULL;
PFN_SETWINDOWTHEME g_SetWindowTheme = SetWindowThemeFail;
PFN_OPENTHEMEDATA g_OpenThemeData = OpenThemeDataFail;
PFN_CLOSETHEMEDATA g_CloseThemeData = CloseThemeDataFail;
PFN_DRAWTHEMEBACKGROUND g_DrawThemeBackground = DrawThemeBackgroundFail;
PFN_ENABLETHEMEDIALOGTEXTURE g_EnableThemeDialogTexture = EnableThemeDialogTextureFail;
PFN_DRAWTHEMEPARENTBACKGROUND g_DrawThemeParentBackground = DrawThemeParentBackgroundFail;
PFN_ISAPPTHEMED g_IsAppThemed = IsAppThemedFail;

namespace
{
// The entry point, or the fallback when the library or the export is missing.
template <class Fn> Fn Bind(const char* name, Fn fallback)
{
    if (!g_hThemeLib)
        return fallback;
    Fn fn = reinterpret_cast<Fn>(reinterpret_cast<void*>(GetProcAddress(g_hThemeLib, name)));
    return fn ? fn : fallback;
}

void BindAll()
{
    g_SetWindowTheme = Bind("SetWindowTheme", SetWindowThemeFail);
    g_OpenThemeData = Bind("OpenThemeData", OpenThemeDataFail);
    g_CloseThemeData = Bind("CloseThemeData", CloseThemeDataFail);
    g_DrawThemeBackground = Bind("DrawThemeBackground", DrawThemeBackgroundFail);
    g_EnableThemeDialogTexture = Bind("EnableThemeDialogTexture", EnableThemeDialogTextureFail);
    g_DrawThemeParentBackground = Bind("DrawThemeParentBackground", DrawThemeParentBackgroundFail);
    g_IsAppThemed = Bind("IsAppThemed", IsAppThemedFail);
}
} // namespace

int InitThemeLib()
{
    // A second load would take a second reference that FreeThemeLib never drops.
    if (!g_hThemeLib)
        g_hThemeLib = LoadLibraryA("UxTheme.dll");
    BindAll();
    return g_hThemeLib ? 1 : 0;
}

int FreeThemeLib()
{
    if (!g_hThemeLib)
        return 0;
    FreeLibrary(g_hThemeLib);
    g_hThemeLib = NULL;
    // The bound pointers now lead into an unloaded module.
    BindAll();
    return 1;
}

LRESULT TBDrawBackground(HWND hwnd, NMCUSTOMDRAW* cd)
{
    if (!g_hThemeLib || !cd || cd->dwDrawStage != CDDS_PREPAINT || !g_IsAppThemed())
        return 0;

    HTHEME theme = g_OpenThemeData(hwnd, L"SCROLLBAR");
    if (!theme)
        return 0;
    g_DrawThemeBackground(theme, cd->hdc, SBP_UPPERTRACKVERT, SCRBS_NORMAL, &cd->rc, NULL);
    g_CloseThemeData(theme);
    return 0;
}

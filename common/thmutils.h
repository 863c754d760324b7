// The visual-styles library, bound at run time so that the programs also run,
// unthemed, where it is missing. Call the entry points only through the
// pointers below: each is the library's function or a fallback that fails
// harmlessly, from program start until exit.
#pragma once

#include <windows.h>
#include <commctrl.h>
#include <uxtheme.h>

typedef HRESULT(WINAPI* PFN_SETWINDOWTHEME)(HWND, LPCWSTR, LPCWSTR);
typedef HTHEME(WINAPI* PFN_OPENTHEMEDATA)(HWND, LPCWSTR);
typedef HRESULT(WINAPI* PFN_CLOSETHEMEDATA)(HTHEME);
typedef HRESULT(WINAPI* PFN_DRAWTHEMEBACKGROUND)(HTHEME, HDC, int, int, const RECT*, const RECT*);
typedef HRESULT(WINAPI* PFN_ENABLETHEMEDIALOGTEXTURE)(HWND, DWORD);
typedef HRESULT(WINAPI* PFN_DRAWTHEMEPARENTBACKGROUND)(HWND, HDC, const RECT*);
typedef BOOL(WINAPI* PFN_ISAPPTHEMED)(void);

extern HMODULE g_hThemeLib;
extern PFN_SETWINDOWTHEME g_SetWindowTheme;
extern PFN_OPENTHEMEDATA g_OpenThemeData;
extern PFN_CLOSETHEMEDATA g_CloseThemeData;
extern PFN_DRAWTHEMEBACKGROUND g_DrawThemeBackground;
extern PFN_ENABLETHEMEDIALOGTEXTURE g_EnableThemeDialogTexture;
extern PFN_DRAWTHEMEPARENTBACKGROUND g_DrawThemeParentBackground;
extern PFN_ISAPPTHEMED g_IsAppThemed;

// Fallbacks: a null theme, "not themed", and E_FAIL for the rest.
HRESULT WINAPI SetWindowThemeFail(HWND hwnd, LPCWSTR subAppName, LPCWSTR subIdList);
HTHEME WINAPI OpenThemeDataFail(HWND hwnd, LPCWSTR classList);
HRESULT WINAPI CloseThemeDataFail(HTHEME theme);
HRESULT WINAPI DrawThemeBackgroundFail(HTHEME theme, HDC hdc, int part, int state, const RECT* rect,
                                       const RECT* clip);
HRESULT WINAPI EnableThemeDialogTextureFail(HWND hwnd, DWORD flags);
HRESULT WINAPI DrawThemeParentBackgroundFail(HWND hwnd, HDC hdc, const RECT* rect);
BOOL WINAPI IsAppThemedFail(void);

// Loads "UxTheme.dll" and binds the seven entry points, each missing one to
// its fallback. 1 when the library is loaded (also when it already was).
int InitThemeLib();
// Frees the library and puts the fallbacks back; 1 when it was loaded.
int FreeThemeLib();
// Toolbar custom draw: at pre-paint, when themed, fills the item rectangle
// with the scroll bar's upper vertical track. Always 0, so the system draws
// the rest as usual.
LRESULT TBDrawBackground(HWND hwnd, NMCUSTOMDRAW* cd);

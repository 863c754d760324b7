// The tips library tvtip.dll: the tip-of-the-day dialog of the editors.
#pragma once

#include <windows.h>

#ifdef TVTIP_BUILDING
#define TVTIP_API __declspec(dllexport)
#else
#define TVTIP_API __declspec(dllimport)
#endif

#ifdef __cplusplus
#define TVTIP_EXTERN extern "C"
#else
#define TVTIP_EXTERN
#endif

// Filled by the caller.
typedef struct tagTIPS_DATA
{
    HWND hwndOwner;          // the dialog is centred over it
    HINSTANCE hInstance;     // the caller's instance, owner of the dialog
    const char* title;       // null: "Tarvin Tips DLLVERSION 1.01"
    const char* tipsFile;    // full path of "tvdt.sys"
    const char* setName;     // the caller's tip set; null: the file's first set
    const char* pictureFile; // full path of "tvtip.sys", the 48 x 256 strip
} TIPS_DATA;

// Registers the dialog's window class with the caller's instance; 1 when it
// did. Once, before the first ShowTips.
TVTIP_EXTERN TVTIP_API int __cdecl InitTips(HINSTANCE instance);
// Shows the modal tip-of-the-day dialog. 2 when the tips file is missing or
// damaged (nothing is shown), else what the dialog ended with.
TVTIP_EXTERN TVTIP_API int __cdecl ShowTips(TIPS_DATA* data);

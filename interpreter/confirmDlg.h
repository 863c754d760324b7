// The confirmation asked before Exit, Shutdown and Restart: a Yes/No dialog
// that, with a count-down, answers by itself when the time runs out.
#pragma once

#include <windows.h>

struct tagDONFIRMTIMEOUT_DATA
{
    HINSTANCE hInstance; // holds dialog resource 1000
    HWND hwndOwner;
    const char* pszCaption;
    const char* pszText;
    int bAssumeYes;      // the answer given when the count-down runs out
    unsigned nCountdown; // seconds; 0 waits for the user
    HICON hIcon;         // 32 x 32, not destroyed
};

// 1 for Yes; 0 for No, for closing the dialog, or when it cannot be shown.
int ShowConfirmTimeout(const tagDONFIRMTIMEOUT_DATA* data);

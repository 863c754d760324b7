// The favourites browser: a modal list of the user's Internet favourites
// and an address field. Programs call InitBrowseFavorites once at start.
#pragma once

#include <windows.h>

class CFavList;

struct tagBROWSEFAVS
{
    DWORD dwReserved; // 0
    HWND hwndOwner;
    HINSTANCE hInstance;
    const char* pszTitle;  // null: "Browse Favourites"
    const char* pszPrompt; // null: "Select a favourite or type a new URL."
    char* pszResult;       // MAX_PATH bytes: the Address field's start, the address on OK
    char* pszName;         // MAX_PATH bytes or null: the favourite's name on OK
    CFavList* pFavList;    // kept by the caller between calls, or null
};

#define BROWSEFAVS_CLASS "_mh_BROWSEFAVS_CLS__"

int InitBrowseFavorites(HINSTANCE instance);
// 1 for OK, 0 otherwise.
int BrowseFavorites(tagBROWSEFAVS* bf);

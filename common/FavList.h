// The user's Internet favourites: every ".url" file in the favourites folder
// and the folders below it, once per name.
#pragma once

#include <windows.h>
#include "PtrList.h"

class CFavList
{
  public:
    class CFav
    {
      public:
        CFav();
        virtual ~CFav();
        CFav(const CFav&) = delete;
        CFav& operator=(const CFav&) = delete;

        char* m_pszName; // file name without ".url"; MAX_PATH bytes, owned
        char* m_pszPath; // the shortcut file
        char* m_pszURL;
        HICON m_hIcon; // never set
    };
    // A folder still to visit during Update.
    class CTempPath
    {
      public:
        char m_szPath[MAX_PATH];
    };

    explicit CFavList(HINSTANCE instance = nullptr);
    virtual ~CFavList();
    CFavList(const CFavList&) = delete;
    CFavList& operator=(const CFavList&) = delete;

    // Rebuilds the list from the favourites folder.
    void Update();
    // Rebuilds the list from the given folder and those below it.
    void UpdateFrom(const char* folder);
    // The default browser's icon, for every entry.
    HICON GetFavIcon(unsigned index);
    static HICON GetIconFromPath(const char* path);
    static int SortAlphabetically(const CFav* a, const CFav* b);

    CPtrList<CFav> m_list;
    DWORD m_bUpdated;
    HINSTANCE m_hInstance;
    HICON m_hBrowserIcon; // owned
};

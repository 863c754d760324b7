// The programs the system knows as handlers of file types, with their
// friendly names and small icons: the data behind the application browser.
#pragma once

#include <windows.h>
#include "PtrList.h"

class CAppList
{
  public:
    class CApp
    {
      public:
        CApp();
        virtual ~CApp();
        CApp(const CApp&) = delete;
        CApp& operator=(const CApp&) = delete;

        char* m_pszName; // MAX_PATH bytes, owned
        char* m_pszPath; // MAX_PATH bytes, owned
        HICON m_hIcon;   // owned, may be null
    };

    explicit CAppList(HINSTANCE instance = nullptr);
    virtual ~CAppList();
    CAppList(const CAppList&) = delete;
    CAppList& operator=(const CAppList&) = delete;

    // Rebuilds the list from the file types under the classes root.
    void Update();
    // The program behind verb of progId, or null when there is none or it is
    // no executable. Its name is the version description, or empty when it
    // has none.
    CApp* GetVerbApp(const char* verb, const char* progId);
    // Length + 1 of the program's version description, 0 when it has none;
    // copies it into buf (MAX_PATH bytes) when buf is given.
    static int GetDescriptionFromPath(const char* path, char* buf);
    // Takes app over; appends it unless an entry of that name (any case)
    // exists, in which case app is deleted. 1 when appended.
    int AppendIfNotFound(CApp* app);
    HICON GetAppIcon(unsigned index);
    static HICON GetIconFromPath(const char* path);
    static int SortAlphabetically(const CApp* a, const CApp* b);

    CPtrList<CApp> m_list;
    DWORD m_bUpdated;
    HINSTANCE m_hInstance;
};

// The top-level windows and their titles, for the editor's window picker.
#pragma once

#include <windows.h>
#include "PtrList.h"

class CEnumWindows
{
  public:
    class CWindow
    {
      public:
        CWindow() : m_hwnd(NULL)
        {
            m_szTitle[0] = '\0';
        }
        virtual ~CWindow()
        {
        }

        char m_szTitle[128];
        HWND m_hwnd;
    };

    CEnumWindows()
    {
    }
    virtual ~CEnumWindows()
    {
        m_windows.Clear();
    }
    CEnumWindows(const CEnumWindows&) = delete;
    CEnumWindows& operator=(const CEnumWindows&) = delete;

    // Replaces the list with every top-level window in the system's order,
    // titles cut to 127 characters. No filtering: hidden and untitled
    // windows are listed too.
    void Enumerate();
    int Count() const
    {
        return (int)m_windows.GetSize();
    }
    // Null when index is out of range.
    CWindow* GetWindow(int index);

  private:
    static BOOL CALLBACK EnumProc(HWND hwnd, LPARAM lParam);

    CPtrList<CWindow> m_windows;
};

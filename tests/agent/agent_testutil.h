// Helpers of the agent's unit tests: waiting with the message loop running,
// plain test windows, and tvtarget.exe as a second process.
#pragma once

#include <windows.h>
#include <commctrl.h>
#include <functional>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "e2e/driver.h"
#include "strutils.h"
#include "wintestutil.h"

namespace agenttest
{

using wintest::FindTop;
using wintest::ProgramDir;
using wintest::PumpPending;
using wintest::PumpUntil;

inline const char* TestClass()
{
    static bool registered = false;
    if (!registered)
    {
        WNDCLASSA wc;
        ZeroMemory(&wc, sizeof(wc));
        wc.lpfnWndProc = DefWindowProcA;
        wc.hInstance = GetModuleHandleA(NULL);
        wc.hCursor = LoadCursorA(NULL, (LPCSTR)IDC_ARROW);
        wc.hbrBackground = (HBRUSH)(COLOR_WINDOW + 1);
        wc.lpszClassName = "TVAgentTestWindow";
        registered = RegisterClassA(&wc) != 0;
    }
    return "TVAgentTestWindow";
}

// A visible top-level window of this process, destroyed with the object.
class CTestWindow
{
  public:
    explicit CTestWindow(const char* title, HWND owner = NULL, DWORD exStyle = 0, int x = 100, int y = 100)
    {
        m_hwnd = CreateWindowExA(exStyle, TestClass(), title, WS_OVERLAPPEDWINDOW, x, y, 300, 200, owner,
                                 NULL, GetModuleHandleA(NULL), NULL);
        if (m_hwnd)
            ShowWindow(m_hwnd, owner ? SW_SHOWNOACTIVATE : SW_SHOW);
        PumpPending();
    }
    ~CTestWindow()
    {
        if (m_hwnd && IsWindow(m_hwnd))
            DestroyWindow(m_hwnd);
        PumpPending();
    }
    CTestWindow(const CTestWindow&) = delete;
    CTestWindow& operator=(const CTestWindow&) = delete;

    HWND Get() const
    {
        return m_hwnd;
    }
    operator HWND() const
    {
        return m_hwnd;
    }

  private:
    HWND m_hwnd;
};

inline HWND FindTopLevel(const char* title, DWORD pid, bool includeHidden = true)
{
    return FindTop(pid, NULL, title, includeHidden);
}

// tvtarget.exe with the given arguments; killed when the object goes.
class CTargetProcess : public CDrvProcess
{
  public:
    bool Start(const std::string& args)
    {
        return CDrvProcess::Start((ProgramDir() + "tvtarget.exe").c_str(), args.c_str());
    }
    // Waits for the visible window with that title.
    HWND WaitWindow(const char* title, DWORD timeoutMs = 10000)
    {
        HWND found = NULL;
        PumpUntil([&] { return (found = FindTopLevel(title, Pid(), false)) != NULL; }, timeoutMs);
        return found;
    }
    bool Exited(DWORD timeoutMs)
    {
        return Handle() && WaitForSingleObject(Handle(), timeoutMs) == WAIT_OBJECT_0;
    }
};

inline std::string WindowTextOf(HWND hwnd)
{
    char text[1024];
    GetWindowTextA(hwnd, text, sizeof(text));
    return text;
}

// A list view of this process: one cell, one row's image, a column's title
// and width ("<none>" when there is no such column), the first column.
inline std::string Cell(HWND list, int row, int column)
{
    char text[1100] = "";
    ListView_GetItemText(list, row, column, text, sizeof(text));
    return text;
}

inline int ImageOf(HWND list, int row)
{
    LVITEMA item;
    ZeroMemory(&item, sizeof(item));
    item.mask = LVIF_IMAGE;
    item.iItem = row;
    ListView_GetItem(list, &item);
    return item.iImage;
}

inline std::string ColumnTitle(HWND list, int index, int* width)
{
    char text[64] = "";
    LVCOLUMNA col;
    ZeroMemory(&col, sizeof(col));
    col.mask = LVCF_TEXT | LVCF_WIDTH;
    col.pszText = text;
    col.cchTextMax = sizeof(text);
    if (!ListView_GetColumn(list, index, &col))
        return "<none>";
    *width = col.cx;
    return text;
}

inline std::vector<std::string> Rows(HWND list)
{
    std::vector<std::string> out;
    for (int i = 0; i < ListView_GetItemCount(list); i++)
        out.push_back(Cell(list, i, 0));
    return out;
}

} // namespace agenttest

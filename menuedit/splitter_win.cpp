// The bar between the tree and the list: dragging it tells the parent how far
// the mouse moved (WM_USER + 100), and the parent lays itself out again.
#include <windows.h>
#include <windowsx.h>

#include "meditstate.h"

#define SPLITTER_CLASS "TVCLS_SPLITTER"

// Window extra bytes: the point of the bar that was grabbed, and a flag set
// while a move is being handed to the parent, so that a move caused by the
// parent's layout is not reported again.
static const int kGrabX = 0;
static const int kBusy = sizeof(LONG_PTR);

static LRESULT CALLBACK SplitterProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    switch (msg)
    {
        case WM_LBUTTONDOWN:
            SetWindowLongPtrA(hwnd, kGrabX, GET_X_LPARAM(lParam));
            SetCapture(hwnd);
            return 0;
        case WM_LBUTTONUP:
            if (GetCapture() == hwnd)
                ReleaseCapture();
            return 0;
        case WM_MOUSEMOVE:
            if (GetCapture() == hwnd && !GetWindowLongPtrA(hwnd, kBusy))
            {
                int offset = GET_X_LPARAM(lParam) - (int)GetWindowLongPtrA(hwnd, kGrabX);
                if (offset == 0)
                    return 0;
                SetWindowLongPtrA(hwnd, kBusy, 1);
                SendMessageA(GetParent(hwnd), WM_MEDIT_SPLITTER, MAKEWPARAM((WORD)(short)offset, 0), lParam);
                SetWindowLongPtrA(hwnd, kBusy, 0);
            }
            return 0;
        case WM_PAINT: {
            PAINTSTRUCT ps;
            HDC hdc = BeginPaint(hwnd, &ps);
            FillRect(hdc, &ps.rcPaint, GetSysColorBrush(COLOR_BTNFACE));
            EndPaint(hwnd, &ps);
            return 0;
        }
    }
    return DefWindowProcA(hwnd, msg, wParam, lParam);
}

bool RegisterSplitterClass(HINSTANCE instance)
{
    WNDCLASSEXA wc;
    if (GetClassInfoExA(instance, SPLITTER_CLASS, &wc))
        return true;
    ZeroMemory(&wc, sizeof(wc));
    wc.cbSize = sizeof(wc);
    wc.style = CS_DBLCLKS;
    wc.lpfnWndProc = SplitterProc;
    wc.cbWndExtra = 2 * sizeof(LONG_PTR);
    wc.hInstance = instance;
    wc.hCursor = LoadCursorA(nullptr, (LPCSTR)IDC_SIZEWE);
    wc.hbrBackground = (HBRUSH)(COLOR_BTNFACE + 1);
    wc.lpszClassName = SPLITTER_CLASS;
    return RegisterClassExA(&wc) != 0;
}

HWND CreateSplitter(HWND parent, int id)
{
    return CreateWindowExA(0, SPLITTER_CLASS, "", WS_CHILD, 0, 0, 0, 0, parent, (HMENU)(INT_PTR)id,
                           (HINSTANCE)GetWindowLongPtrA(parent, GWLP_HINSTANCE), nullptr);
}

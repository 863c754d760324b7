// The browsers' shared frame.
#include "browseDlg.h"
#include <commctrl.h>
#include "dlgtemplate.h"

int RegisterBrowseClass(HINSTANCE instance, const char* className)
{
    WNDCLASSA wc;
    if (GetClassInfoA(instance, className, &wc))
        return 1;
    ZeroMemory(&wc, sizeof(wc));
    wc.style = CS_DBLCLKS;
    wc.lpfnWndProc = DefDlgProcA;
    // Room for the dialog manager's own data (DWLP_USER included).
    wc.cbWndExtra = DLGWINDOWEXTRA + 4 > 34 ? DLGWINDOWEXTRA + 4 : 34;
    wc.hInstance = instance;
    wc.hIcon = LoadIconA(nullptr, (LPCSTR)IDI_APPLICATION);
    wc.hCursor = LoadCursorA(nullptr, (LPCSTR)IDC_ARROW);
    wc.hbrBackground = (HBRUSH)(COLOR_BTNFACE + 1);
    wc.lpszClassName = className;
    return RegisterClassA(&wc) ? 1 : 0;
}

INT_PTR RunBrowseDialog(HINSTANCE instance, HWND owner, const char* className, DLGPROC proc, LPARAM param)
{
    CDlgTemplate* tpl = new CDlgTemplate;
    tpl->Begin(WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME, 0, 100, 100, 161, 158, "", className);
    LPCDLGTEMPLATEA data = tpl->Get();
    INT_PTR result = data ? DialogBoxIndirectParamA(instance, data, owner, proc, param) : 0;
    delete tpl;
    return result;
}

void CentreBrowseDialog(HWND dialog, HWND owner)
{
    HWND over = owner ? GetParent(owner) : nullptr;
    if (!over)
        over = owner;
    RECT area, rc;
    if (!over || !GetWindowRect(over, &area))
        SystemParametersInfoA(SPI_GETWORKAREA, 0, &area, 0);
    GetWindowRect(dialog, &rc);
    int w = rc.right - rc.left, h = rc.bottom - rc.top;
    int x = area.left + ((area.right - area.left) - w) / 2;
    int y = area.top + ((area.bottom - area.top) - h) / 2;
    SetWindowPos(dialog, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

HWND CreateBrowseControl(HWND dialog, DWORD exStyle, const char* className, const char* text, DWORD style,
                         int x, int y, int cx, int cy, int id)
{
    HWND ctl =
        CreateWindowExA(exStyle, className, text, WS_CHILD | WS_VISIBLE | style, x, y, cx, cy, dialog,
                        (HMENU)(INT_PTR)id, (HINSTANCE)GetWindowLongPtrA(dialog, GWLP_HINSTANCE), nullptr);
    if (ctl)
        SendMessageA(ctl, WM_SETFONT, (WPARAM)GetStockObject(DEFAULT_GUI_FONT), FALSE);
    return ctl;
}

HWND CreateBrowseFrame(HWND dialog, const char* prompt, const char* column, const char* label, int editX,
                       int editWidth, const char* editText)
{
    CreateBrowseControl(dialog, 0, "STATIC", prompt, 0, 10, 10, 300, 42, IDC_BROWSE_PROMPT);
    HWND list = CreateBrowseControl(dialog, WS_EX_CLIENTEDGE, WC_LISTVIEWA, "",
                                    WS_TABSTOP | LVS_REPORT | LVS_SINGLESEL | LVS_SHOWSELALWAYS, 10, 45, 300,
                                    150, IDC_BROWSE_LIST);
    if (list)
    {
        ListView_SetExtendedListViewStyle(list, LVS_EX_FULLROWSELECT | LVS_EX_ONECLICKACTIVATE);
        LVCOLUMNA col;
        ZeroMemory(&col, sizeof(col));
        col.mask = LVCF_TEXT | LVCF_WIDTH;
        col.pszText = (char*)column;
        col.cx = 278;
        ListView_InsertColumn(list, 0, &col);
    }
    CreateBrowseControl(dialog, 0, "STATIC", label, 0, 10, 208, editX - 10, 16, IDC_BROWSE_LABEL);
    CreateBrowseControl(dialog, WS_EX_CLIENTEDGE, "EDIT", editText, WS_TABSTOP | ES_AUTOHSCROLL, editX, 203,
                        editWidth, 24, IDC_BROWSE_EDIT);
    CreateBrowseControl(dialog, 0, "STATIC", "", SS_ETCHEDHORZ, 0, 270, 350, 2, IDC_BROWSE_LINE);
    CreateBrowseControl(dialog, 0, "BUTTON", "&OK", WS_TABSTOP | BS_PUSHBUTTON, 120, 280, 90, 24,
                        IDC_BROWSE_OK);
    CreateBrowseControl(dialog, 0, "BUTTON", "&Cancel", WS_TABSTOP | BS_PUSHBUTTON, 220, 280, 90, 24,
                        IDC_BROWSE_CANCEL);
    return list;
}

void UpdateBrowseOk(HWND dialog)
{
    bool any = GetWindowTextLengthA(GetDlgItem(dialog, IDC_BROWSE_EDIT)) > 0;
    EnableWindow(GetDlgItem(dialog, IDC_BROWSE_OK), any);
    SendMessageA(dialog, DM_SETDEFID, any ? IDC_BROWSE_OK : IDC_BROWSE_CANCEL, 0);
    // DM_SETDEFID leaves the old default's look alone.
    SendDlgItemMessageA(dialog, any ? IDC_BROWSE_CANCEL : IDC_BROWSE_OK, BM_SETSTYLE, BS_PUSHBUTTON, TRUE);
    SendDlgItemMessageA(dialog, any ? IDC_BROWSE_OK : IDC_BROWSE_CANCEL, BM_SETSTYLE, BS_DEFPUSHBUTTON, TRUE);
}

void ReleaseBrowseImages(HWND dialog, HIMAGELIST* images)
{
    HWND list = GetDlgItem(dialog, IDC_BROWSE_LIST);
    if (list)
        ListView_SetImageList(list, nullptr, LVSIL_SMALL);
    if (images && *images)
    {
        ImageList_Destroy(*images);
        *images = nullptr;
    }
}

// The floor of bench/editors: a window with a report list, filled with the
// rows of a text file (one row a line, cells separated by tabs, the first
// line the column headers), each row with a 16x16 picture, as the editors
// fill theirs. It is what an editor's start costs without its own work:
// reading its file format, building its model and its row texts.
//
//   list_floor <rows file>            fills the list at start
//   list_floor -onmessage <rows file> starts hidden and fills the list when
//                                     its window gets WM_APP (the floor for a
//                                     dialog that an already running program
//                                     opens)
#include <windows.h>
#include <commctrl.h>

#include <stdio.h>
#include <string.h>
#include <string>
#include <vector>

static const char kClassName[] = "_TV_LIST_FLOOR";
static std::vector<std::vector<std::string>> g_rows;
static HWND g_list;

static void ReadRows(const char* path)
{
    FILE* f = fopen(path, "rb");
    if (!f)
        return;
    char line[2048];
    while (fgets(line, sizeof(line), f))
    {
        line[strcspn(line, "\r\n")] = '\0';
        std::vector<std::string> cells;
        for (char* p = line;;)
        {
            char* tab = strchr(p, '\t');
            if (tab)
                *tab = '\0';
            cells.push_back(p);
            if (!tab)
                break;
            p = tab + 1;
        }
        g_rows.push_back(cells);
    }
    fclose(f);
}

static void Fill(HWND hwnd)
{
    if (g_rows.empty())
        return;
    SendMessageA(g_list, WM_SETREDRAW, FALSE, 0);
    for (size_t c = 0; c < g_rows[0].size(); c++)
    {
        LVCOLUMNA col = {};
        col.mask = LVCF_TEXT | LVCF_WIDTH;
        col.cx = 150;
        col.pszText = (LPSTR)g_rows[0][c].c_str();
        ListView_InsertColumn(g_list, (int)c, &col);
    }
    for (size_t r = 1; r < g_rows.size(); r++)
    {
        LVITEMA item = {};
        item.mask = LVIF_TEXT | LVIF_IMAGE;
        item.iItem = (int)r - 1;
        item.iImage = 0;
        item.pszText = (LPSTR)g_rows[r][0].c_str();
        int at = ListView_InsertItem(g_list, &item);
        for (size_t c = 1; c < g_rows[r].size(); c++)
            ListView_SetItemText(g_list, at, (int)c, (LPSTR)g_rows[r][c].c_str());
    }
    SendMessageA(g_list, WM_SETREDRAW, TRUE, 0);
    ShowWindow(hwnd, SW_SHOW);
    InvalidateRect(g_list, NULL, TRUE);
}

static LRESULT CALLBACK Proc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    switch (msg)
    {
        case WM_SIZE:
            if (g_list)
                MoveWindow(g_list, 0, 0, LOWORD(lParam), HIWORD(lParam), TRUE);
            return 0;
        case WM_APP:
            Fill(hwnd);
            return 0;
        case WM_CLOSE:
            DestroyWindow(hwnd);
            return 0;
        case WM_DESTROY:
            PostQuitMessage(0);
            return 0;
    }
    return DefWindowProcA(hwnd, msg, wParam, lParam);
}

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR cmdLine, int)
{
    bool onMessage = strncmp(cmdLine, "-onmessage ", 11) == 0;
    ReadRows(onMessage ? cmdLine + 11 : cmdLine);
    INITCOMMONCONTROLSEX icc = {sizeof(icc), ICC_LISTVIEW_CLASSES};
    InitCommonControlsEx(&icc);
    WNDCLASSEXA wc = {};
    wc.cbSize = sizeof(wc);
    wc.lpfnWndProc = Proc;
    wc.hInstance = instance;
    wc.hCursor = LoadCursor(NULL, IDC_ARROW);
    wc.hbrBackground = (HBRUSH)(COLOR_WINDOW + 1);
    wc.lpszClassName = kClassName;
    if (!RegisterClassExA(&wc))
        return 1;
    HWND hwnd = CreateWindowExA(0, kClassName, "List floor", WS_OVERLAPPEDWINDOW, 40, 40, 640, 480, NULL,
                                NULL, instance, NULL);
    if (!hwnd)
        return 1;
    g_list = CreateWindowExA(WS_EX_CLIENTEDGE, WC_LISTVIEWA, "",
                             WS_CHILD | WS_VISIBLE | LVS_REPORT | LVS_SINGLESEL | LVS_SHOWSELALWAYS, 0, 0,
                             640, 480, hwnd, (HMENU)1, instance, NULL);
    ListView_SetExtendedListViewStyle(g_list, LVS_EX_FULLROWSELECT);
    HIMAGELIST images = ImageList_Create(16, 16, ILC_COLOR32 | ILC_MASK, 1, 1);
    ImageList_AddIcon(images, LoadIcon(NULL, IDI_APPLICATION));
    ListView_SetImageList(g_list, images, LVSIL_SMALL);
    RECT rc;
    GetClientRect(hwnd, &rc);
    MoveWindow(g_list, 0, 0, rc.right, rc.bottom, TRUE);
    if (!onMessage)
        Fill(hwnd);
    MSG msg;
    while (GetMessageA(&msg, NULL, 0, 0) > 0)
    {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
    ImageList_Destroy(images);
    return 0;
}

// The application browser.
#include "browseAppsDlg.h"
#include "winstate.h"
#include <windowsx.h>
#include <commctrl.h>
#include <commdlg.h>
#include <new>
#include "AppList.h"
#include "browseDlg.h"
#include "strutils.h"

namespace
{
struct BrowseAppsState
{
    tagBROWSEAPPS* ba;
    CAppList* list;
    HIMAGELIST images;
};
} // namespace

int InitBrowseApplications(HINSTANCE instance)
{
    return RegisterBrowseClass(instance, BROWSEAPPS_CLASS);
}

static void BrowseAppsDlg_FillList(HWND hwnd, BrowseAppsState* st)
{
    HWND list = GetDlgItem(hwnd, IDC_BROWSE_LIST);
    st->images = ImageList_Create(GetSystemMetrics(SM_CXSMICON), GetSystemMetrics(SM_CYSMICON),
                                  ILC_COLOR32 | ILC_MASK, (int)st->list->m_list.GetSize() + 1, 8);
    ListView_SetImageList(list, st->images, LVSIL_SMALL);
    int row = 0;
    st->list->m_list.ResetCur();
    for (CAppList::CApp* app = st->list->m_list.GetCur(); app; app = st->list->m_list.GetNext())
    {
        LVITEMA item;
        ZeroMemory(&item, sizeof(item));
        item.mask = LVIF_TEXT | LVIF_PARAM | LVIF_IMAGE;
        item.iItem = row++;
        item.pszText = app->m_pszName;
        item.lParam = (LPARAM)app;
        item.iImage = (app->m_hIcon && st->images) ? ImageList_AddIcon(st->images, app->m_hIcon) : -1;
        ListView_InsertItem(list, &item);
    }
}

static BOOL BrowseAppsDlg_OnInit(HWND hwnd, HWND, LPARAM lParam)
{
    BrowseAppsState* st = (BrowseAppsState*)lParam;
    SetDialogState(hwnd, st);
    tagBROWSEAPPS* ba = st->ba;
    CentreBrowseDialog(hwnd, ba->hwndOwner);
    if (!st->list->m_bUpdated)
        st->list->Update();
    SetWindowTextA(hwnd, ba->pszTitle);
    CreateBrowseFrame(hwnd, ba->pszPrompt, "Applications", "File:", 40, 270,
                      ba->pszResult ? ba->pszResult : "");
    if (ba->pszButton1)
        CreateBrowseControl(hwnd, 0, "BUTTON", ba->pszButton1, WS_TABSTOP | BS_PUSHBUTTON, 10, 235, 145, 24,
                            IDC_BROWSE_BUTTON1);
    if (ba->pszButton2)
        CreateBrowseControl(hwnd, 0, "BUTTON", ba->pszButton2, WS_TABSTOP | BS_PUSHBUTTON, 165, 235, 145, 24,
                            IDC_BROWSE_BUTTON2);
    BrowseAppsDlg_FillList(hwnd, st);
    UpdateBrowseOk(hwnd);
    return TRUE;
}

static const char* SelectedPath(HWND hwnd, int row)
{
    LVITEMA item;
    ZeroMemory(&item, sizeof(item));
    item.mask = LVIF_PARAM;
    item.iItem = row;
    if (row < 0 || !ListView_GetItem(GetDlgItem(hwnd, IDC_BROWSE_LIST), &item) || !item.lParam)
        return nullptr;
    return ((CAppList::CApp*)item.lParam)->m_pszPath;
}

static void BrowseAppsDlg_OnBrowse(HWND hwnd, const char* caption, const char* folder, const char* filter)
{
    char file[MAX_PATH] = "";
    char dir[MAX_PATH] = "";
    if (folder && !ExpandEnvironmentStringsA(folder, dir, sizeof(dir)))
        dir[0] = '\0';
    OPENFILENAMEA ofn;
    ZeroMemory(&ofn, sizeof(ofn));
    ofn.lStructSize = sizeof(ofn);
    ofn.hwndOwner = hwnd;
    ofn.lpstrFilter = filter;
    ofn.nFilterIndex = 1;
    ofn.lpstrFile = file;
    ofn.nMaxFile = sizeof(file);
    ofn.lpstrInitialDir = dir[0] ? dir : nullptr;
    ofn.lpstrTitle = caption;
    ofn.lpstrDefExt = "*";
    ofn.Flags = OFN_PATHMUSTEXIST | OFN_FILEMUSTEXIST | OFN_HIDEREADONLY;
    if (!GetOpenFileNameA(&ofn))
        return;
    SetDlgItemTextA(hwnd, IDC_BROWSE_EDIT, file);
    ListView_SetItemState(GetDlgItem(hwnd, IDC_BROWSE_LIST), -1, 0, LVIS_SELECTED);
}

static void BrowseAppsDlg_OnCommand(HWND hwnd, int id, HWND, UINT code)
{
    BrowseAppsState* st = DialogState<BrowseAppsState>(hwnd);
    if (!st)
        return;
    tagBROWSEAPPS* ba = st->ba;
    switch (id)
    {
        case IDC_BROWSE_EDIT:
            if (code == EN_CHANGE)
                UpdateBrowseOk(hwnd);
            break;
        case IDC_BROWSE_BUTTON1:
            BrowseAppsDlg_OnBrowse(hwnd, ba->pszButton1, ba->pszFolder1, ba->pszFilter1);
            break;
        case IDC_BROWSE_BUTTON2:
            BrowseAppsDlg_OnBrowse(hwnd, ba->pszButton2, ba->pszFolder2, ba->pszFilter2);
            break;
        case IDOK:
        case IDC_BROWSE_OK:
            // Enter with an empty field must not end the dialog as confirmed.
            if (!IsWindowEnabled(GetDlgItem(hwnd, IDC_BROWSE_OK)))
                break;
            if (ba->pszResult)
                GetDlgItemTextA(hwnd, IDC_BROWSE_EDIT, ba->pszResult, MAX_PATH);
            EndDialog(hwnd, 1);
            break;
        case IDCANCEL:
        case IDC_BROWSE_CANCEL:
            EndDialog(hwnd, 0);
            break;
    }
}

static LRESULT BrowseAppsDlg_OnNotify(HWND hwnd, int id, NMHDR* nm)
{
    if (id != IDC_BROWSE_LIST)
        return 0;
    if (nm->code == LVN_ITEMCHANGED)
    {
        NMLISTVIEW* lv = (NMLISTVIEW*)nm;
        if ((lv->uChanged & LVIF_STATE) && (lv->uNewState & LVIS_SELECTED) &&
            !(lv->uOldState & LVIS_SELECTED))
        {
            const char* path = SelectedPath(hwnd, lv->iItem);
            if (path)
                SetDlgItemTextA(hwnd, IDC_BROWSE_EDIT, path);
        }
    }
    else if (nm->code == NM_DBLCLK)
    {
        // The caller's buffer changes only on OK, so a double click
        // followed by Cancel leaves it as it was.
        const char* path = SelectedPath(hwnd, ((NMITEMACTIVATE*)nm)->iItem);
        if (path)
            SetDlgItemTextA(hwnd, IDC_BROWSE_EDIT, path);
    }
    return 0;
}

static void BrowseAppsDlg_OnDestroy(HWND hwnd)
{
    BrowseAppsState* st = DialogState<BrowseAppsState>(hwnd);
    ReleaseBrowseImages(hwnd, st ? &st->images : nullptr);
}

static INT_PTR CALLBACK BrowseAppsDlgProc(HWND hwnd, UINT uMsg, WPARAM wParam, LPARAM lParam)
{
    switch (uMsg)
    {
        case WM_INITDIALOG:
            return BrowseAppsDlg_OnInit(hwnd, (HWND)wParam, lParam);
        case WM_COMMAND:
            BrowseAppsDlg_OnCommand(hwnd, LOWORD(wParam), (HWND)lParam, HIWORD(wParam));
            return TRUE;
        case WM_NOTIFY:
            return SetDlgMsgResult(hwnd, uMsg, BrowseAppsDlg_OnNotify(hwnd, (int)wParam, (NMHDR*)lParam));
        case WM_DESTROY:
            BrowseAppsDlg_OnDestroy(hwnd);
            return TRUE;
    }
    return FALSE;
}

int BrowseApplications(tagBROWSEAPPS* ba)
{
    if (!ba)
        return 0;
    tagBROWSEAPPS copy = *ba;
    if (!copy.pszTitle)
        copy.pszTitle = "Browse Applications";
    if (!copy.pszPrompt)
        copy.pszPrompt = "Select an application or click a browse button to browse for more files.";
    BrowseAppsState st = {&copy, ba->pAppList, nullptr};
    CAppList* temp = nullptr;
    if (!st.list)
        st.list = temp = new (std::nothrow) CAppList(ba->hInstance);
    if (!st.list)
        return 0;
    INT_PTR result =
        RunBrowseDialog(ba->hInstance, ba->hwndOwner, BROWSEAPPS_CLASS, BrowseAppsDlgProc, (LPARAM)&st);
    delete temp;
    return result == 1 ? 1 : 0;
}

bool BrowseProgramsAndLaunchFiles(HWND owner, CAppList* apps, const char* launchFolder, bool launchFilesFirst,
                                  const char* initial, char* path, size_t size)
{
    static const char kProgramsButton[] = "Browse &Program Files...";
    static const char kProgramsFolder[] = "%ProgramFiles%";
    static const char kProgramsFilter[] = "Executables (*.exe)\0*.exe\0All Files (*.*)\0*.*\0";
    static const char kLaunchButton[] = "Browse &Launch Files...";
    static const char kLaunchFilter[] = "Launch Files (*.launch)\0*.launch\0All Files (*.*)\0*.*\0";
    char result[MAX_PATH];
    StrCopy(result, initial);
    tagBROWSEAPPS ba;
    ZeroMemory(&ba, sizeof(ba));
    ba.hwndOwner = owner;
    ba.hInstance = (HINSTANCE)GetModuleHandleA(nullptr);
    ba.pszResult = result;
    ba.pszButton1 = launchFilesFirst ? kLaunchButton : kProgramsButton;
    ba.pszFolder1 = launchFilesFirst ? launchFolder : kProgramsFolder;
    ba.pszFilter1 = launchFilesFirst ? kLaunchFilter : kProgramsFilter;
    ba.pszButton2 = launchFilesFirst ? kProgramsButton : kLaunchButton;
    ba.pszFolder2 = launchFilesFirst ? kProgramsFolder : launchFolder;
    ba.pszFilter2 = launchFilesFirst ? kProgramsFilter : kLaunchFilter;
    ba.pAppList = apps;
    if (!BrowseApplications(&ba))
        return false;
    return StrCopy(path, size, result);
}

// The favourites browser.
#include "browseFavsDlg.h"
#include "winstate.h"
#include <windowsx.h>
#include <commctrl.h>
#include <new>
#include "FavList.h"
#include "browseDlg.h"
#include "strutils.h"

namespace
{
struct BrowseFavsState
{
    tagBROWSEFAVS* bf;
    CFavList* list;
    HIMAGELIST images;
    char name[MAX_PATH]; // follows the field; reaches the caller on OK
};
} // namespace

int InitBrowseFavorites(HINSTANCE instance)
{
    return RegisterBrowseClass(instance, BROWSEFAVS_CLASS);
}

static BOOL BrowseFavsDlg_OnInit(HWND hwnd, HWND, LPARAM lParam)
{
    BrowseFavsState* st = (BrowseFavsState*)lParam;
    SetDialogState(hwnd, st);
    tagBROWSEFAVS* bf = st->bf;
    CentreBrowseDialog(hwnd, bf->hwndOwner);
    if (!st->list->m_bUpdated)
        st->list->Update();
    SetWindowTextA(hwnd, bf->pszTitle);
    HWND list = CreateBrowseFrame(hwnd, bf->pszPrompt, "Favourites", "Address:", 60, 250,
                                  bf->pszResult ? bf->pszResult : "");
    st->images = ImageList_Create(GetSystemMetrics(SM_CXSMICON), GetSystemMetrics(SM_CYSMICON),
                                  ILC_COLOR32 | ILC_MASK, 1, 1);
    int image = -1;
    HICON icon = st->list->GetFavIcon(0);
    if (st->images && icon)
        image = ImageList_AddIcon(st->images, icon);
    ListView_SetImageList(list, st->images, LVSIL_SMALL);
    int row = 0;
    st->list->m_list.ResetCur();
    for (CFavList::CFav* fav = st->list->m_list.GetCur(); fav; fav = st->list->m_list.GetNext())
    {
        LVITEMA item;
        ZeroMemory(&item, sizeof(item));
        item.mask = LVIF_TEXT | LVIF_PARAM | LVIF_IMAGE;
        item.iItem = row++;
        item.pszText = fav->m_pszName;
        item.lParam = (LPARAM)fav;
        item.iImage = image;
        ListView_InsertItem(list, &item);
    }
    UpdateBrowseOk(hwnd);
    return TRUE;
}

// The name of the last favourite with the typed address (any case), else the
// typed text itself.
static void BrowseFavsDlg_FollowName(HWND hwnd, BrowseFavsState* st)
{
    char address[MAX_PATH];
    GetDlgItemTextA(hwnd, IDC_BROWSE_EDIT, address, sizeof(address));
    StrCopy(st->name, address);
    st->list->m_list.ResetCur();
    for (CFavList::CFav* fav = st->list->m_list.GetCur(); fav; fav = st->list->m_list.GetNext())
    {
        if (StrCompareNoCase(fav->m_pszURL, address) == 0)
            StrCopy(st->name, fav->m_pszName);
    }
}

static void BrowseFavsDlg_OnCommand(HWND hwnd, int id, HWND, UINT code)
{
    BrowseFavsState* st = DialogState<BrowseFavsState>(hwnd);
    if (!st)
        return;
    switch (id)
    {
        case IDC_BROWSE_EDIT:
            if (code == EN_CHANGE)
            {
                UpdateBrowseOk(hwnd);
                BrowseFavsDlg_FollowName(hwnd, st);
            }
            break;
        case IDOK:
        case IDC_BROWSE_OK:
            if (!IsWindowEnabled(GetDlgItem(hwnd, IDC_BROWSE_OK)))
                break;
            if (st->bf->pszResult)
                GetDlgItemTextA(hwnd, IDC_BROWSE_EDIT, st->bf->pszResult, MAX_PATH);
            if (st->bf->pszName)
            {
                BrowseFavsDlg_FollowName(hwnd, st);
                StrCopy(st->bf->pszName, MAX_PATH, st->name);
            }
            EndDialog(hwnd, 1);
            break;
        case IDCANCEL:
        case IDC_BROWSE_CANCEL:
            EndDialog(hwnd, 0);
            break;
    }
}

static LRESULT BrowseFavsDlg_OnNotify(HWND hwnd, int id, NMHDR* nm)
{
    if (id != IDC_BROWSE_LIST || nm->code != LVN_ITEMCHANGED)
        return 0;
    NMLISTVIEW* lv = (NMLISTVIEW*)nm;
    if (!(lv->uChanged & LVIF_STATE) || !(lv->uNewState & LVIS_SELECTED) || (lv->uOldState & LVIS_SELECTED))
        return 0;
    CFavList::CFav* fav = (CFavList::CFav*)lv->lParam;
    if (fav)
        SetDlgItemTextA(hwnd, IDC_BROWSE_EDIT, fav->m_pszURL);
    return 0;
}

static void BrowseFavsDlg_OnDestroy(HWND hwnd)
{
    BrowseFavsState* st = DialogState<BrowseFavsState>(hwnd);
    ReleaseBrowseImages(hwnd, st ? &st->images : nullptr);
}

static INT_PTR CALLBACK BrowseFavsDlgProc(HWND hwnd, UINT uMsg, WPARAM wParam, LPARAM lParam)
{
    switch (uMsg)
    {
        case WM_INITDIALOG:
            return BrowseFavsDlg_OnInit(hwnd, (HWND)wParam, lParam);
        case WM_COMMAND:
            BrowseFavsDlg_OnCommand(hwnd, LOWORD(wParam), (HWND)lParam, HIWORD(wParam));
            return TRUE;
        case WM_NOTIFY:
            return SetDlgMsgResult(hwnd, uMsg, BrowseFavsDlg_OnNotify(hwnd, (int)wParam, (NMHDR*)lParam));
        case WM_DESTROY:
            BrowseFavsDlg_OnDestroy(hwnd);
            return TRUE;
    }
    return FALSE;
}

int BrowseFavorites(tagBROWSEFAVS* bf)
{
    if (!bf)
        return 0;
    tagBROWSEFAVS copy = *bf;
    if (!copy.pszTitle)
        copy.pszTitle = "Browse Favourites";
    if (!copy.pszPrompt)
        copy.pszPrompt = "Select a favourite or type a new URL.";
    BrowseFavsState* st = new (std::nothrow) BrowseFavsState;
    if (!st)
        return 0;
    st->bf = &copy;
    st->list = bf->pFavList;
    st->images = nullptr;
    st->name[0] = '\0';
    CFavList* temp = nullptr;
    if (!st->list)
        st->list = temp = new (std::nothrow) CFavList(bf->hInstance);
    if (!st->list)
    {
        delete st;
        return 0;
    }
    INT_PTR result =
        RunBrowseDialog(bf->hInstance, bf->hwndOwner, BROWSEFAVS_CLASS, BrowseFavsDlgProc, (LPARAM)st);
    delete temp;
    delete st;
    return result == 1 ? 1 : 0;
}

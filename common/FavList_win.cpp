// The favourites list, gathered breadth first through a work list of
// folders.
#include "FavList.h"
#include <shlobj.h>
#include <new>
#include "AppList.h"
#include "dirutils_win.h"
#include "shelllink.h"
#include "strutils.h"

CFavList::CFav::CFav()
    : m_pszName(new char[MAX_PATH]), m_pszPath(new char[MAX_PATH]), m_pszURL(new char[MAX_PATH]),
      m_hIcon(nullptr)
{
    m_pszName[0] = m_pszPath[0] = m_pszURL[0] = '\0';
}

CFavList::CFav::~CFav()
{
    delete[] m_pszName;
    delete[] m_pszPath;
    delete[] m_pszURL;
}

CFavList::CFavList(HINSTANCE instance) : m_bUpdated(0), m_hInstance(instance), m_hBrowserIcon(nullptr)
{
}

CFavList::~CFavList()
{
    if (m_hBrowserIcon)
        DestroyIcon(m_hBrowserIcon);
}

HICON CFavList::GetFavIcon(unsigned)
{
    return m_hBrowserIcon;
}

HICON CFavList::GetIconFromPath(const char* path)
{
    return CAppList::GetIconFromPath(path);
}

int CFavList::SortAlphabetically(const CFav* a, const CFav* b)
{
    return StrCompareNoCase(a->m_pszName, b->m_pszName);
}

void CFavList::Update()
{
    char folder[MAX_PATH];
    if (!SHGetSpecialFolderPathA(nullptr, folder, CSIDL_FAVORITES, FALSE))
    {
        m_list.Clear();
        m_bUpdated = 0;
        return;
    }
    UpdateFrom(folder);
}

static bool EndsWithUrl(const char* name)
{
    size_t n = strlen(name);
    return n >= 4 && StrCompareNoCase(name + n - 4, ".url") == 0;
}

void CFavList::UpdateFrom(const char* root)
{
    m_list.Clear();
    m_bUpdated = 0;
    if (!m_hBrowserIcon)
        m_hBrowserIcon = GetDefaultBrowserIcon(m_hInstance);
    HCURSOR old = SetCursor(LoadCursorA(nullptr, (LPCSTR)IDC_WAIT));

    CPtrList<CTempPath> work;
    CTempPath* first = new (std::nothrow) CTempPath;
    if (!first)
        return;
    StrCopy(first->m_szPath, root);
    work.Add(first, true);
    CShellURL url;
    while (work.GetSize())
    {
        char folder[MAX_PATH];
        StrCopy(folder, work.GetAt(0)->m_szPath);
        work.Delete(0);
        char pattern[MAX_PATH];
        if (!StrFormat(pattern, sizeof(pattern), "%s\\*", folder))
            continue;
        WIN32_FIND_DATAA fd;
        HANDLE find = FindFirstFileA(pattern, &fd);
        if (find == INVALID_HANDLE_VALUE)
            continue;
        do
        {
            if (!strcmp(fd.cFileName, ".") || !strcmp(fd.cFileName, ".."))
                continue;
            char path[MAX_PATH];
            if (!StrFormat(path, sizeof(path), "%s\\%s", folder, fd.cFileName))
                continue; // a path too long to open
            if (fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
            {
                CTempPath* next = new (std::nothrow) CTempPath;
                if (!next)
                    continue;
                StrCopy(next->m_szPath, path);
                work.Add(next, true);
                continue;
            }
            if (!EndsWithUrl(fd.cFileName) || FAILED(url.Load(path)))
                continue;
            CFav* fav = new (std::nothrow) CFav;
            if (!fav)
                continue;
            StrCopyN(fav->m_pszName, MAX_PATH, fd.cFileName, strlen(fd.cFileName) - 4);
            StrCopy(fav->m_pszPath, MAX_PATH, path);
            StrCopy(fav->m_pszURL, MAX_PATH, url.GetURL());
            bool found = false;
            m_list.ResetCur();
            for (CFav* p = m_list.GetCur(); p && !found; p = m_list.GetNext())
                found = StrCompareNoCase(p->m_pszName, fav->m_pszName) == 0;
            if (found)
                delete fav;
            else
                m_list.Add(fav, true);
        } while (FindNextFileA(find, &fd));
        FindClose(find);
    }
    SortPtrList(m_list, SortAlphabetically);
    m_bUpdated = 1;
    SetCursor(old ? old : LoadCursorA(nullptr, (LPCSTR)IDC_ARROW));
}

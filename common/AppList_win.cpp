// The application list: every file type's "open", "edit" and "print" handler
// that is an executable with a version description, once per name.
#include "AppList.h"
#include "regutils.h"
#include "winholders.h"
#include <shellapi.h>
#include "dirutils.h"
#include "strutils.h"

CAppList::CApp::CApp() : m_pszName(new char[MAX_PATH]), m_pszPath(new char[MAX_PATH]), m_hIcon(nullptr)
{
    m_pszName[0] = m_pszPath[0] = '\0';
}

CAppList::CApp::~CApp()
{
    delete[] m_pszName;
    delete[] m_pszPath;
    if (m_hIcon)
        DestroyIcon(m_hIcon);
}

CAppList::CAppList(HINSTANCE instance) : m_bUpdated(0), m_hInstance(instance)
{
}

CAppList::~CAppList()
{
}

CAppList::CApp* CAppList::GetVerbApp(const char* verb, const char* progId)
{
    char key[MAX_PATH * 2];
    if (!StrFormat(key, sizeof(key), "%s\\shell\\%s\\command", progId, verb))
        return nullptr;
    char command[MAX_PATH];
    if (!RegReadClassesDefault(key, command, sizeof(command)))
        return nullptr;
    char path[MAX_PATH];
    if (!GetCommandProgram(command, path, sizeof(path)))
        return nullptr;
    SHFILEINFOA sfi;
    if (!SHGetFileInfoA(path, 0, &sfi, sizeof(sfi), SHGFI_EXETYPE))
        return nullptr;
    // A program without a version description is still a handler the user
    // may want: it goes by its file name (AppendIfNotFound gives it that).
    char desc[MAX_PATH] = "";
    GetDescriptionFromPath(path, desc);
    CApp* app = new CApp;
    StrCopy(app->m_pszName, MAX_PATH, desc);
    StrCopy(app->m_pszPath, MAX_PATH, path);
    app->m_hIcon = GetIconFromPath(path);
    return app;
}

int CAppList::GetDescriptionFromPath(const char* path, char* buf)
{
    DWORD handle = 0;
    DWORD size = GetFileVersionInfoSizeA(path, &handle);
    if (!size)
        return 0;
    char* data = new char[size];
    int result = 0;
    struct Translation
    {
        WORD language;
        WORD codePage;
    }* tr = nullptr;
    UINT len = 0;
    if (GetFileVersionInfoA(path, 0, size, data) &&
        VerQueryValueA(data, "\\VarFileInfo\\Translation", (void**)&tr, &len) && tr && len >= sizeof(*tr))
    {
        char query[64];
        StrFormat(query, sizeof(query), "\\StringFileInfo\\%04x%04x\\FileDescription", tr->language,
                  tr->codePage);
        char* desc = nullptr;
        if (VerQueryValueA(data, query, (void**)&desc, &len) && desc && *desc)
        {
            if (buf)
                StrCopy(buf, MAX_PATH, desc);
            result = (int)strlen(desc) + 1;
        }
    }
    delete[] data;
    return result;
}

int CAppList::AppendIfNotFound(CApp* app)
{
    if (!app)
        return 0;
    if (!app->m_pszName[0])
    {
        const char* slash = strrchr(app->m_pszPath, '\\');
        char base[MAX_PATH];
        StrCopy(base, slash ? slash + 1 : app->m_pszPath);
        char* dot = strrchr(base, '.');
        if (dot)
            *dot = '\0';
        StrCopy(app->m_pszName, MAX_PATH, base);
    }
    m_list.ResetCur();
    for (CApp* p = m_list.GetCur(); p; p = m_list.GetNext())
    {
        if (StrCompareNoCase(p->m_pszName, app->m_pszName) == 0)
        {
            delete app;
            return 0;
        }
    }
    m_list.Add(app, true);
    return 1;
}

HICON CAppList::GetAppIcon(unsigned index)
{
    CApp* app = m_list.GetAt(index);
    return app ? app->m_hIcon : nullptr;
}

HICON CAppList::GetIconFromPath(const char* path)
{
    HICON small = nullptr;
    if (ExtractIconExA(path, 0, nullptr, &small, 1) > 0 && small)
        return small;
    SHFILEINFOA sfi;
    ZeroMemory(&sfi, sizeof(sfi));
    if (SHGetFileInfoA(path, 0, &sfi, sizeof(sfi), SHGFI_ICON | SHGFI_SMALLICON))
        return sfi.hIcon;
    return nullptr;
}

int CAppList::SortAlphabetically(const CApp* a, const CApp* b)
{
    return StrCompareNoCase(a->m_pszName, b->m_pszName);
}

void CAppList::Update()
{
    m_list.Clear();
    m_bUpdated = 0;
    HCURSOR old = SetCursor(LoadCursorA(nullptr, (LPCSTR)IDC_WAIT));
    char name[MAX_PATH];
    for (DWORD index = 0;; index++)
    {
        DWORD len = sizeof(name);
        LONG rc = RegEnumKeyExA(HKEY_CLASSES_ROOT, index, name, &len, nullptr, nullptr, nullptr, nullptr);
        if (rc == ERROR_MORE_DATA)
            continue; // a name too long for any file type
        if (rc != ERROR_SUCCESS)
            break;
        if (name[0] != '.')
            continue;
        char progId[MAX_PATH];
        if (!RegReadClassesDefault(name, progId, sizeof(progId)))
            continue;
        static const char* const verbs[] = {"open", "edit", "print"};
        for (const char* verb : verbs)
            AppendIfNotFound(GetVerbApp(verb, progId));
    }
    SetCursor(old ? old : LoadCursorA(nullptr, (LPCSTR)IDC_ARROW));
    SortPtrList(m_list, SortAlphabetically);
    m_bUpdated = 1;
}

// Shell shortcuts. The objects need the component library in this thread;
// each object initialises it for itself and undoes that when it goes, so
// they work in any program, whether it initialised the library or not.
#include "shelllink.h"
#include "strutils.h"

static bool ComInit()
{
    HRESULT hr = CoInitialize(nullptr);
    return hr == S_OK || hr == S_FALSE;
}

// --- CShellLinkInfo -----------------------------------------------------------

CShellLinkInfo::CShellLinkInfo() : m_pidl(nullptr), m_wHotkey(0), m_nIconIndex(0), m_nShowCmd(SW_SHOWNORMAL)
{
    m_szPath[0] = m_szArguments[0] = m_szDescription[0] = m_szIconLocation[0] = m_szWorkingDirectory[0] =
        '\0';
}

CShellLinkInfo::CShellLinkInfo(const CShellLinkInfo& other) : CShellLinkInfo()
{
    *this = other;
}

CShellLinkInfo& CShellLinkInfo::operator=(const CShellLinkInfo& other)
{
    if (this == &other)
        return *this;
    StrCopy(m_szPath, other.m_szPath);
    StrCopy(m_szArguments, other.m_szArguments);
    StrCopy(m_szDescription, other.m_szDescription);
    StrCopy(m_szIconLocation, other.m_szIconLocation);
    StrCopy(m_szWorkingDirectory, other.m_szWorkingDirectory);
    m_wHotkey = other.m_wHotkey;
    m_nIconIndex = other.m_nIconIndex;
    m_nShowCmd = other.m_nShowCmd;
    if (m_pidl)
        CoTaskMemFree(m_pidl);
    m_pidl = other.m_pidl ? ILClone(other.m_pidl) : nullptr;
    return *this;
}

CShellLinkInfo::~CShellLinkInfo()
{
    if (m_pidl)
        CoTaskMemFree(m_pidl);
}

// --- CShellLink -----------------------------------------------------------------

CShellLink::CShellLink() : m_psl(nullptr), m_ppf(nullptr), m_initialised(0), m_comInit(false)
{
}

CShellLink::~CShellLink()
{
    if (m_ppf)
        m_ppf->Release();
    if (m_psl)
        m_psl->Release();
    // The info's item list goes with the library still up.
    if (m_info.m_pidl)
    {
        CoTaskMemFree(m_info.m_pidl);
        m_info.m_pidl = nullptr;
    }
    if (m_comInit)
        CoUninitialize();
}

int CShellLink::Initialise()
{
    if (m_initialised)
        return m_initialised > 0;
    m_initialised = -1;
    m_comInit = ComInit();
    if (FAILED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkA,
                                (void**)&m_psl)))
    {
        m_psl = nullptr;
        return 0;
    }
    if (FAILED(m_psl->QueryInterface(IID_IPersistFile, (void**)&m_ppf)))
    {
        m_ppf = nullptr;
        return 0;
    }
    m_initialised = 1;
    return 1;
}

int CShellLink::Create(const CShellLinkInfo& info)
{
    m_info = info;
    return 1;
}

int CShellLink::Save(const char* path)
{
    if (!Initialise() || !path)
        return 0;
    if (m_info.m_pidl)
        m_psl->SetIDList(m_info.m_pidl);
    else
        m_psl->SetPath(m_info.m_szPath);
    m_psl->SetWorkingDirectory(m_info.m_szWorkingDirectory);
    m_psl->SetIconLocation(m_info.m_szIconLocation, m_info.m_nIconIndex);
    m_psl->SetDescription(m_info.m_szDescription);
    m_psl->SetArguments(m_info.m_szArguments);
    m_psl->SetHotkey(m_info.m_wHotkey);
    m_psl->SetShowCmd(m_info.m_nShowCmd);
    WCHAR wide[MAX_PATH];
    if (!MultiByteToWideChar(CP_ACP, 0, path, -1, wide, MAX_PATH))
        return 0;
    return SUCCEEDED(m_ppf->Save(wide, TRUE)) ? 1 : 0;
}

// The show command in a shell link file's fixed header: a header of 0x4C
// bytes, then the link class id, with the show command at offset 0x3C.
static bool ReadHeaderShowCommand(const char* path, DWORD* show)
{
    HANDLE file = CreateFileA(path, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    BYTE header[0x4C];
    DWORD got = 0;
    bool ok = ReadFile(file, header, sizeof(header), &got, nullptr) && got == sizeof(header);
    CloseHandle(file);
    DWORD size;
    CLSID clsid;
    memcpy(&size, header, sizeof(size));
    memcpy(&clsid, header + 4, sizeof(clsid));
    if (!ok || size != sizeof(header) || !IsEqualCLSID(clsid, CLSID_ShellLink))
        return false;
    memcpy(show, header + 0x3C, sizeof(*show));
    return true;
}

int CShellLink::Load(const char* path)
{
    if (!Initialise() || !path)
        return 0;
    WCHAR wide[MAX_PATH];
    if (!MultiByteToWideChar(CP_ACP, 0, path, -1, wide, MAX_PATH))
        return 0;
    if (FAILED(m_ppf->Load(wide, STGM_READ)))
        return 0;
    char text[MAX_PATH];
    if (SUCCEEDED(m_psl->GetPath(text, MAX_PATH, nullptr, 0)))
        StrCopy(m_info.m_szPath, text);
    LPITEMIDLIST pidl = nullptr;
    if (SUCCEEDED(m_psl->GetIDList(&pidl)))
    {
        if (m_info.m_pidl)
            CoTaskMemFree(m_info.m_pidl);
        m_info.m_pidl = pidl;
    }
    if (SUCCEEDED(m_psl->GetWorkingDirectory(text, MAX_PATH)))
        StrCopy(m_info.m_szWorkingDirectory, text);
    int index = 0;
    if (SUCCEEDED(m_psl->GetIconLocation(text, MAX_PATH, &index)))
    {
        StrCopy(m_info.m_szIconLocation, text);
        m_info.m_nIconIndex = index;
    }
    if (SUCCEEDED(m_psl->GetDescription(text, MAX_PATH)))
        StrCopy(m_info.m_szDescription, text);
    if (SUCCEEDED(m_psl->GetArguments(text, MAX_PATH)))
        StrCopy(m_info.m_szArguments, text);
    WORD hotkey = 0;
    if (SUCCEEDED(m_psl->GetHotkey(&hotkey)))
        m_info.m_wHotkey = hotkey;
    int show = SW_SHOWNORMAL;
    if (SUCCEEDED(m_psl->GetShowCmd(&show)))
        m_info.m_nShowCmd = show;
    // Wine's link object loads every field but the show command; the file's
    // header holds it, so it is taken from there.
    DWORD stored;
    if (ReadHeaderShowCommand(path, &stored))
        m_info.m_nShowCmd = (int)stored;
    return 1;
}

int CShellLink::Resolve(HWND hwnd, DWORD flags)
{
    if (!Initialise())
        return 0;
    return SUCCEEDED(m_psl->Resolve(hwnd, flags)) ? 1 : 0;
}

void CShellLink::SetPath(const char* path)
{
    StrCopy(m_info.m_szPath, path ? path : "");
}
void CShellLink::SetArguments(const char* args)
{
    StrCopy(m_info.m_szArguments, args ? args : "");
}
void CShellLink::SetDescription(const char* text)
{
    StrCopy(m_info.m_szDescription, text ? text : "");
}
void CShellLink::SetHotKey(WORD hotkey)
{
    m_info.m_wHotkey = hotkey;
}
void CShellLink::SetIconLocation(const char* path)
{
    StrCopy(m_info.m_szIconLocation, path ? path : "");
}
void CShellLink::SetIconLocationIndex(int index)
{
    m_info.m_nIconIndex = index;
}
void CShellLink::SetPathIDList(LPCITEMIDLIST pidl)
{
    if (m_info.m_pidl)
        CoTaskMemFree(m_info.m_pidl);
    m_info.m_pidl = pidl ? ILClone(pidl) : nullptr;
}
void CShellLink::SetShowCommand(int show)
{
    m_info.m_nShowCmd = show;
}
void CShellLink::SetWorkingDirectory(const char* dir)
{
    StrCopy(m_info.m_szWorkingDirectory, dir ? dir : "");
}

// --- CShellURL ---------------------------------------------------------------------

CShellURL::CShellURL() : m_purl(nullptr), m_comInit(false)
{
    m_szURL[0] = '\0';
}

CShellURL::~CShellURL()
{
    if (m_purl)
        m_purl->Release();
    if (m_comInit)
        CoUninitialize();
}

bool CShellURL::Create()
{
    if (m_purl)
        return true;
    if (!m_comInit)
        m_comInit = ComInit();
    if (FAILED(CoCreateInstance(CLSID_InternetShortcut, nullptr, CLSCTX_INPROC_SERVER,
                                IID_IUniformResourceLocatorA, (void**)&m_purl)))
        m_purl = nullptr;
    return m_purl != nullptr;
}

HRESULT CShellURL::Load(const char* path)
{
    if (!Create())
        return E_FAIL;
    IPersistFile* ppf = nullptr;
    HRESULT hr = m_purl->QueryInterface(IID_IPersistFile, (void**)&ppf);
    if (FAILED(hr))
        return hr;
    WCHAR wide[MAX_PATH];
    if (!path || !MultiByteToWideChar(CP_ACP, 0, path, -1, wide, MAX_PATH))
    {
        ppf->Release();
        return E_INVALIDARG;
    }
    hr = ppf->Load(wide, STGM_READ);
    ppf->Release();
    if (FAILED(hr))
        return hr;
    char* url = nullptr;
    hr = m_purl->GetURL(&url);
    if (FAILED(hr))
        return hr;
    StrCopy(m_szURL, url ? url : "");
    if (url)
        CoTaskMemFree(url);
    return hr;
}

HRESULT CShellURL::Save(const char* path, const char* url)
{
    if (!Create())
        return E_FAIL;
    HRESULT hr = m_purl->SetURL(url, 0);
    if (FAILED(hr))
        return hr;
    StrCopy(m_szURL, url);
    IPersistFile* ppf = nullptr;
    hr = m_purl->QueryInterface(IID_IPersistFile, (void**)&ppf);
    if (FAILED(hr))
        return hr;
    WCHAR wide[MAX_PATH];
    if (!path || !MultiByteToWideChar(CP_ACP, 0, path, -1, wide, MAX_PATH))
    {
        ppf->Release();
        return E_INVALIDARG;
    }
    hr = ppf->Save(wide, TRUE);
    ppf->Release();
    return hr;
}

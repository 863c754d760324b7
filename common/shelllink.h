// Shell shortcut files (".lnk") and Internet shortcut files (".url") through
// the shell's own objects.
#pragma once

#include <windows.h>
#include <shlobj.h>
#include <intshcut.h>

class CShellLinkInfo
{
  public:
    CShellLinkInfo();
    CShellLinkInfo(const CShellLinkInfo& other);
    CShellLinkInfo& operator=(const CShellLinkInfo& other);
    virtual ~CShellLinkInfo();

    char m_szPath[MAX_PATH];
    LPITEMIDLIST m_pidl; // owned copy, may be null
    char m_szArguments[MAX_PATH];
    char m_szDescription[MAX_PATH];
    WORD m_wHotkey;
    char m_szIconLocation[MAX_PATH];
    int m_nIconIndex;
    int m_nShowCmd;
    char m_szWorkingDirectory[MAX_PATH];
};

class CShellLink
{
  public:
    CShellLink();
    virtual ~CShellLink();
    CShellLink(const CShellLink&) = delete;
    CShellLink& operator=(const CShellLink&) = delete;

    // Creates the link object once; later calls return the first result.
    int Initialise();
    int Create(const CShellLinkInfo& info);
    int Save(const char* path);
    int Load(const char* path);
    int Resolve(HWND hwnd, DWORD flags);

    const char* GetPath() const
    {
        return m_info.m_szPath;
    }
    const char* GetArguments() const
    {
        return m_info.m_szArguments;
    }
    const char* GetDescription() const
    {
        return m_info.m_szDescription;
    }
    WORD GetHotKey() const
    {
        return m_info.m_wHotkey;
    }
    const char* GetIconLocation() const
    {
        return m_info.m_szIconLocation;
    }
    int GetIconLocationIndex() const
    {
        return m_info.m_nIconIndex;
    }
    LPCITEMIDLIST GetPathIDList() const
    {
        return m_info.m_pidl;
    }
    int GetShowCommand() const
    {
        return m_info.m_nShowCmd;
    }
    const char* GetWorkingDirectory() const
    {
        return m_info.m_szWorkingDirectory;
    }
    // Texts are cut at MAX_PATH - 1 characters.
    void SetPath(const char* path);
    void SetArguments(const char* args);
    void SetDescription(const char* text);
    void SetHotKey(WORD hotkey);
    void SetIconLocation(const char* path);
    void SetIconLocationIndex(int index);
    void SetPathIDList(LPCITEMIDLIST pidl);
    void SetShowCommand(int show);
    void SetWorkingDirectory(const char* dir);

  private:
    CShellLinkInfo m_info;
    IShellLinkA* m_psl;
    IPersistFile* m_ppf;
    int m_initialised; // 0 not tried, 1 ready, -1 failed
    bool m_comInit;
};

class CShellURL
{
  public:
    CShellURL();
    virtual ~CShellURL();
    CShellURL(const CShellURL&) = delete;
    CShellURL& operator=(const CShellURL&) = delete;

    // Loads a ".url" file and takes its address; the shell's status code.
    HRESULT Load(const char* path);
    // Writes an Internet shortcut to the address; the shell's status code.
    HRESULT Save(const char* path, const char* url);
    const char* GetURL() const
    {
        return m_szURL;
    }

  private:
    bool Create();

    char m_szURL[MAX_PATH];
    IUniformResourceLocatorA* m_purl;
    bool m_comInit;
};

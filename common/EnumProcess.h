// Processes with their full executable paths, and the modules of one process,
// for the editor's process picker. Two methods, whichever the system has:
// the process-status library (1) and the snapshot functions (2). Every entry
// point is bound by name at construction.
#pragma once

#include <windows.h>
#include <tlhelp32.h>

enum
{
    ENUM_METHOD_PSAPI = 1,
    ENUM_METHOD_TOOLHELP = 2
};

class CEnumProcess
{
  public:
    struct CProcessEntry
    {
        // Method 1: the full path, or "N/A (security restriction)" when the
        // process cannot be opened, "N/A (error)" when its name cannot be
        // read. Method 2: the snapshot's executable path (the bare file name
        // on the NT family).
        char lpFilename[MAX_PATH];
        DWORD dwPID;
        WORD hTask16; // 16-bit tasks are not listed: always 0
    };

    struct CModuleEntry
    {
        char lpFilename[MAX_PATH];
        PVOID pLoadBase;
        PVOID pPreferredBase;
    };

    CEnumProcess();
    virtual ~CEnumProcess();
    CEnumProcess(const CEnumProcess&) = delete;
    CEnumProcess& operator=(const CEnumProcess&) = delete;

    int GetAvailableMethods() const;
    // Takes 1 or 2 only when that method is available; returns the method in use.
    int SetMethod(int method);
    int GetSuggestedMethod() const
    {
        return m_suggestedMethod;
    }

    // 1 with the entry filled, 0 at the end or on failure.
    BOOL GetProcessFirst(CProcessEntry* entry);
    BOOL GetProcessNext(CProcessEntry* entry);
    BOOL GetModuleFirst(DWORD pid, CModuleEntry* entry);
    BOOL GetModuleNext(DWORD pid, CModuleEntry* entry);

    // The image base the module's own header asks for, read from the process;
    // 0 when the memory cannot be read or holds no executable header.
    PVOID GetModulePreferredBase(DWORD pid, PVOID moduleBase);

    // The identifier and module buffers start with this many entries and
    // grow by as many whenever the system fills them (256 by default). Tests
    // set it small to exercise the growth.
    void SetBufferStep(DWORD entries);

  private:
    typedef BOOL(WINAPI* PFN_EnumProcesses)(DWORD*, DWORD, DWORD*);
    typedef BOOL(WINAPI* PFN_EnumProcessModules)(HANDLE, HMODULE*, DWORD, DWORD*);
    typedef DWORD(WINAPI* PFN_GetModuleFileNameExA)(HANDLE, HMODULE, LPSTR, DWORD);
    typedef HANDLE(WINAPI* PFN_CreateToolhelp32Snapshot)(DWORD, DWORD);
    typedef BOOL(WINAPI* PFN_Process32First)(HANDLE, LPPROCESSENTRY32);
    typedef BOOL(WINAPI* PFN_Process32Next)(HANDLE, LPPROCESSENTRY32);
    typedef BOOL(WINAPI* PFN_Module32First)(HANDLE, LPMODULEENTRY32);
    typedef BOOL(WINAPI* PFN_Module32Next)(HANDLE, LPMODULEENTRY32);

    bool GrowBuffer(void** buffer, DWORD* capacity, size_t entrySize);
    void CloseProcessSnapshot();
    void CloseModuleSnapshot();
    void FillModuleEntry(DWORD pid, HMODULE module, CModuleEntry* entry);
    // The snapshot walk's step: `found` is what Process32First/Next or
    // Module32First/Next returned. Fills the entry from the record, or closes
    // the snapshot at the end.
    BOOL TakeProcess(BOOL found, CProcessEntry* entry);
    BOOL TakeModule(BOOL found, DWORD pid, CModuleEntry* entry);

    int m_method;
    int m_suggestedMethod;

    HMODULE m_hPsapi;
    PFN_EnumProcesses m_pEnumProcesses;
    PFN_EnumProcessModules m_pEnumProcessModules;
    PFN_GetModuleFileNameExA m_pGetModuleFileNameExA;

    DWORD m_bufferStep;
    DWORD* m_pProcesses;
    DWORD m_cProcessesCapacity;
    DWORD m_nCurrentProcess;
    DWORD m_cProcessesLeft;

    HMODULE* m_pModules;
    DWORD m_cModulesCapacity;
    DWORD m_nCurrentModule;
    DWORD m_cModulesLeft;

    HMODULE m_hKernel;
    PFN_CreateToolhelp32Snapshot m_pCreateToolhelp32Snapshot;
    PFN_Process32First m_pProcess32First;
    PFN_Process32Next m_pProcess32Next;
    PFN_Module32First m_pModule32First;
    PFN_Module32Next m_pModule32Next;

    HANDLE m_hProcessSnap;
    HANDLE m_hModuleSnap;
    PROCESSENTRY32 m_pe;
    MODULEENTRY32 m_me;
};

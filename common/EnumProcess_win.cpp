#include <windows.h>
#include <tlhelp32.h>
#include <stddef.h>
#include <stdlib.h>
#include "EnumProcess.h"
#include "strutils.h"

static const DWORD DEFAULT_BUFFER_STEP = 256;
// Far beyond any real system; keeps the byte counts inside a DWORD.
static const DWORD MAX_BUFFER_ENTRIES = 1u << 24;

template <class T> static T Bind(HMODULE module, const char* name)
{
    return module ? (T)(void*)GetProcAddress(module, name) : NULL;
}

CEnumProcess::CEnumProcess()
    : m_method(0), m_suggestedMethod(0), m_hPsapi(NULL), m_pEnumProcesses(NULL), m_pEnumProcessModules(NULL),
      m_pGetModuleFileNameExA(NULL), m_bufferStep(DEFAULT_BUFFER_STEP), m_pProcesses(NULL),
      m_cProcessesCapacity(0), m_nCurrentProcess(0), m_cProcessesLeft(0), m_pModules(NULL),
      m_cModulesCapacity(0), m_nCurrentModule(0), m_cModulesLeft(0), m_hKernel(NULL),
      m_pCreateToolhelp32Snapshot(NULL), m_pProcess32First(NULL), m_pProcess32Next(NULL),
      m_pModule32First(NULL), m_pModule32Next(NULL), m_hProcessSnap(INVALID_HANDLE_VALUE),
      m_hModuleSnap(INVALID_HANDLE_VALUE)
{
    ZeroMemory(&m_pe, sizeof(m_pe));
    ZeroMemory(&m_me, sizeof(m_me));

    m_hPsapi = LoadLibraryA("PSAPI.DLL");
    m_pEnumProcesses = Bind<PFN_EnumProcesses>(m_hPsapi, "EnumProcesses");
    m_pEnumProcessModules = Bind<PFN_EnumProcessModules>(m_hPsapi, "EnumProcessModules");
    m_pGetModuleFileNameExA = Bind<PFN_GetModuleFileNameExA>(m_hPsapi, "GetModuleFileNameExA");

    m_hKernel = LoadLibraryA("KERNEL32.DLL");
    m_pCreateToolhelp32Snapshot = Bind<PFN_CreateToolhelp32Snapshot>(m_hKernel, "CreateToolhelp32Snapshot");
    m_pProcess32First = Bind<PFN_Process32First>(m_hKernel, "Process32First");
    m_pProcess32Next = Bind<PFN_Process32Next>(m_hKernel, "Process32Next");
    m_pModule32First = Bind<PFN_Module32First>(m_hKernel, "Module32First");
    m_pModule32Next = Bind<PFN_Module32Next>(m_hKernel, "Module32Next");

    int available = GetAvailableMethods();
    if (available & ENUM_METHOD_PSAPI)
        m_suggestedMethod = ENUM_METHOD_PSAPI;
    if (available & ENUM_METHOD_TOOLHELP)
        m_suggestedMethod = ENUM_METHOD_TOOLHELP;
    m_method = m_suggestedMethod;
}

CEnumProcess::~CEnumProcess()
{
    CloseProcessSnapshot();
    CloseModuleSnapshot();
    free(m_pProcesses);
    free(m_pModules);
    if (m_hPsapi)
        FreeLibrary(m_hPsapi);
    if (m_hKernel)
        FreeLibrary(m_hKernel);
}

int CEnumProcess::GetAvailableMethods() const
{
    int methods = 0;
    if (m_pEnumProcesses && m_pEnumProcessModules && m_pGetModuleFileNameExA)
        methods |= ENUM_METHOD_PSAPI;
    if (m_pCreateToolhelp32Snapshot && m_pProcess32First && m_pProcess32Next && m_pModule32First &&
        m_pModule32Next)
        methods |= ENUM_METHOD_TOOLHELP;
    return methods;
}

int CEnumProcess::SetMethod(int method)
{
    if ((method == ENUM_METHOD_PSAPI || method == ENUM_METHOD_TOOLHELP) && (GetAvailableMethods() & method))
        m_method = method;
    return m_method;
}

void CEnumProcess::SetBufferStep(DWORD entries)
{
    m_bufferStep = entries > 0 ? entries : DEFAULT_BUFFER_STEP;
}

bool CEnumProcess::GrowBuffer(void** buffer, DWORD* capacity, size_t entrySize)
{
    if (*capacity >= MAX_BUFFER_ENTRIES)
        return false;
    DWORD grown = *capacity + m_bufferStep;
    void* p = realloc(*buffer, (size_t)grown * entrySize);
    if (!p)
        return false;
    *buffer = p;
    *capacity = grown;
    return true;
}

void CEnumProcess::CloseProcessSnapshot()
{
    if (m_hProcessSnap != INVALID_HANDLE_VALUE)
        CloseHandle(m_hProcessSnap);
    m_hProcessSnap = INVALID_HANDLE_VALUE;
}

void CEnumProcess::CloseModuleSnapshot()
{
    if (m_hModuleSnap != INVALID_HANDLE_VALUE)
        CloseHandle(m_hModuleSnap);
    m_hModuleSnap = INVALID_HANDLE_VALUE;
}

BOOL CEnumProcess::GetProcessFirst(CProcessEntry* entry)
{
    if (m_method == ENUM_METHOD_PSAPI)
    {
        m_nCurrentProcess = 0;
        m_cProcessesLeft = 0;
        if (!m_pProcesses && !GrowBuffer((void**)&m_pProcesses, &m_cProcessesCapacity, sizeof(DWORD)))
            return FALSE;
        // A full buffer may have cut the list: grow and ask again.
        for (;;)
        {
            DWORD bytes = 0;
            DWORD capacityBytes = m_cProcessesCapacity * (DWORD)sizeof(DWORD);
            if (!m_pEnumProcesses(m_pProcesses, capacityBytes, &bytes))
                return FALSE;
            if (bytes < capacityBytes)
            {
                m_cProcessesLeft = bytes / sizeof(DWORD);
                break;
            }
            if (!GrowBuffer((void**)&m_pProcesses, &m_cProcessesCapacity, sizeof(DWORD)))
                return FALSE;
        }
        return GetProcessNext(entry);
    }

    if (m_method == ENUM_METHOD_TOOLHELP)
    {
        CloseProcessSnapshot();
        m_hProcessSnap = m_pCreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
        if (m_hProcessSnap == INVALID_HANDLE_VALUE)
            return FALSE;
        ZeroMemory(&m_pe, sizeof(m_pe));
        m_pe.dwSize = sizeof(m_pe);
        return TakeProcess(m_pProcess32First(m_hProcessSnap, &m_pe), entry);
    }
    return FALSE;
}

BOOL CEnumProcess::GetProcessNext(CProcessEntry* entry)
{
    if (m_method == ENUM_METHOD_PSAPI)
    {
        if (m_cProcessesLeft == 0)
            return FALSE;
        entry->hTask16 = 0;
        entry->dwPID = m_pProcesses[m_nCurrentProcess++];
        m_cProcessesLeft--;

        HANDLE process = OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ, FALSE, entry->dwPID);
        if (!process)
        {
            StrCopy(entry->lpFilename, "N/A (security restriction)");
            return TRUE;
        }
        HMODULE first;
        DWORD needed;
        if (!m_pEnumProcessModules(process, &first, sizeof(first), &needed) ||
            !m_pGetModuleFileNameExA(process, first, entry->lpFilename, sizeof(entry->lpFilename)))
            StrCopy(entry->lpFilename, "N/A (error)");
        entry->lpFilename[sizeof(entry->lpFilename) - 1] = '\0';
        CloseHandle(process);
        return TRUE;
    }

    if (m_method == ENUM_METHOD_TOOLHELP)
    {
        if (m_hProcessSnap == INVALID_HANDLE_VALUE)
            return FALSE;
        return TakeProcess(m_pProcess32Next(m_hProcessSnap, &m_pe), entry);
    }
    return FALSE;
}

BOOL CEnumProcess::TakeProcess(BOOL found, CProcessEntry* entry)
{
    if (!found)
    {
        CloseProcessSnapshot();
        return FALSE;
    }
    entry->hTask16 = 0;
    entry->dwPID = m_pe.th32ProcessID;
    StrCopyN(entry->lpFilename, sizeof(entry->lpFilename), m_pe.szExeFile, sizeof(m_pe.szExeFile));
    return TRUE;
}

void CEnumProcess::FillModuleEntry(DWORD pid, HMODULE module, CModuleEntry* entry)
{
    entry->pLoadBase = (PVOID)module;
    entry->pPreferredBase = GetModulePreferredBase(pid, (PVOID)module);
    StrCopy(entry->lpFilename, "N/A (error)");
    HANDLE process = OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ, FALSE, pid);
    if (!process)
        return;
    if (!m_pGetModuleFileNameExA(process, module, entry->lpFilename, sizeof(entry->lpFilename)))
        StrCopy(entry->lpFilename, "N/A (error)");
    entry->lpFilename[sizeof(entry->lpFilename) - 1] = '\0';
    CloseHandle(process);
}

BOOL CEnumProcess::GetModuleFirst(DWORD pid, CModuleEntry* entry)
{
    if (m_method == ENUM_METHOD_PSAPI)
    {
        m_nCurrentModule = 0;
        m_cModulesLeft = 0;
        HANDLE process = OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ, FALSE, pid);
        if (!process)
            return FALSE;
        BOOL ok = m_pModules || GrowBuffer((void**)&m_pModules, &m_cModulesCapacity, sizeof(HMODULE));
        while (ok)
        {
            DWORD needed = 0;
            DWORD capacityBytes = m_cModulesCapacity * (DWORD)sizeof(HMODULE);
            ok = m_pEnumProcessModules(process, m_pModules, capacityBytes, &needed);
            if (ok && needed <= capacityBytes)
            {
                m_cModulesLeft = needed / sizeof(HMODULE);
                break;
            }
            ok = ok && GrowBuffer((void**)&m_pModules, &m_cModulesCapacity, sizeof(HMODULE));
        }
        CloseHandle(process);
        return ok && GetModuleNext(pid, entry);
    }

    if (m_method == ENUM_METHOD_TOOLHELP)
    {
        CloseModuleSnapshot();
        m_hModuleSnap = m_pCreateToolhelp32Snapshot(TH32CS_SNAPMODULE, pid);
        if (m_hModuleSnap == INVALID_HANDLE_VALUE)
            return FALSE;
        ZeroMemory(&m_me, sizeof(m_me));
        m_me.dwSize = sizeof(m_me);
        return TakeModule(m_pModule32First(m_hModuleSnap, &m_me), pid, entry);
    }
    return FALSE;
}

BOOL CEnumProcess::GetModuleNext(DWORD pid, CModuleEntry* entry)
{
    if (m_method == ENUM_METHOD_PSAPI)
    {
        if (m_cModulesLeft == 0)
            return FALSE;
        HMODULE module = m_pModules[m_nCurrentModule++];
        m_cModulesLeft--;
        FillModuleEntry(pid, module, entry);
        return TRUE;
    }

    if (m_method == ENUM_METHOD_TOOLHELP)
    {
        if (m_hModuleSnap == INVALID_HANDLE_VALUE)
            return FALSE;
        return TakeModule(m_pModule32Next(m_hModuleSnap, &m_me), pid, entry);
    }
    return FALSE;
}

BOOL CEnumProcess::TakeModule(BOOL found, DWORD pid, CModuleEntry* entry)
{
    if (!found)
    {
        CloseModuleSnapshot();
        return FALSE;
    }
    StrCopyN(entry->lpFilename, sizeof(entry->lpFilename), m_me.szExePath, sizeof(m_me.szExePath));
    entry->pLoadBase = (PVOID)m_me.modBaseAddr;
    entry->pPreferredBase = GetModulePreferredBase(pid, entry->pLoadBase);
    return TRUE;
}

PVOID CEnumProcess::GetModulePreferredBase(DWORD pid, PVOID moduleBase)
{
    HANDLE process = OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ, FALSE, pid);
    if (!process)
        return NULL;

    PVOID preferred = NULL;
    IMAGE_DOS_HEADER dos;
    // The 32-bit header is the shorter one; it still covers the image base
    // field of the 64-bit header.
    BYTE nt[sizeof(IMAGE_NT_HEADERS32)];
    SIZE_T got = 0;
    if (ReadProcessMemory(process, moduleBase, &dos, sizeof(dos), &got) && got == sizeof(dos) &&
        dos.e_magic == IMAGE_DOS_SIGNATURE && dos.e_lfanew > 0 && dos.e_lfanew < 0x10000000 &&
        ReadProcessMemory(process, (const BYTE*)moduleBase + dos.e_lfanew, nt, sizeof(nt), &got) &&
        got == sizeof(nt))
    {
        DWORD signature;
        WORD magic;
        memcpy(&signature, nt, sizeof(signature));
        memcpy(&magic, nt + offsetof(IMAGE_NT_HEADERS32, OptionalHeader.Magic), sizeof(magic));
        if (signature == IMAGE_NT_SIGNATURE && magic == IMAGE_NT_OPTIONAL_HDR64_MAGIC)
        {
            ULONGLONG base;
            memcpy(&base, nt + offsetof(IMAGE_NT_HEADERS64, OptionalHeader.ImageBase), sizeof(base));
            preferred = (PVOID)(ULONG_PTR)base;
        }
        else if (signature == IMAGE_NT_SIGNATURE && magic == IMAGE_NT_OPTIONAL_HDR32_MAGIC)
        {
            DWORD base;
            memcpy(&base, nt + offsetof(IMAGE_NT_HEADERS32, OptionalHeader.ImageBase), sizeof(base));
            preferred = (PVOID)(ULONG_PTR)base;
        }
    }
    CloseHandle(process);
    return preferred;
}

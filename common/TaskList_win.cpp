#include <windows.h>
#include <winperf.h>
#include <tlhelp32.h>
#include <stdlib.h>
#include <new>
#include "TaskList.h"
#include "winholders.h"
#include "winutils.h"
#include "strutils.h"

typedef HANDLE(WINAPI* PFN_CreateToolhelp32Snapshot)(DWORD, DWORD);
typedef BOOL(WINAPI* PFN_Process32First)(HANDLE, LPPROCESSENTRY32);
typedef BOOL(WINAPI* PFN_Process32Next)(HANDLE, LPPROCESSENTRY32);

static const char g_szPerfKey[] = "software\\microsoft\\windows nt\\currentversion\\perflib";
static const DWORD PERF_INITIAL_SIZE = 51200;
static const DWORD PERF_GROW_SIZE = 25600;
// A system that keeps answering "more data" must not make us allocate forever.
static const DWORD PERF_MAX_SIZE = 64 * 1024 * 1024;
static const DWORD IDLE_PROCESS_ID = (DWORD)-2;

CTaskList::CTaskList()
{
    ZeroMemory(&m_osvi, sizeof(m_osvi));
    m_osvi.dwOSVersionInfoSize = sizeof(m_osvi);
    GetVersionExA(&m_osvi);
}

CTaskList::~CTaskList()
{
    Clear();
}

bool CTaskList::IsNT() const
{
    return m_osvi.dwPlatformId == VER_PLATFORM_WIN32_NT;
}

void CTaskList::AddTask(DWORD pid, const char* name)
{
    tagTASK_RECORD* task = new (std::nothrow) tagTASK_RECORD;
    if (!task)
        return;
    ZeroMemory(task, sizeof(*task));
    task->dwProcessId = pid;
    StrCopy(task->ProcessName, name);
    Add(task, true);
}

int CTaskList::EnableDebugPriv()
{
    return IsNT() ? EnablePrivilege("SeDebugPrivilege") : 0;
}

int CTaskList::GetTaskList()
{
    return IsNT() ? GetTaskListNT() : GetTaskList95();
}

int CTaskList::GetTaskList95()
{
    Clear();
    return ReadSnapshot(false);
}

int CTaskList::GetTaskListNT()
{
    Clear();
    int count = ReadPerformanceData();
    if (count > 0)
        return count;
    Clear();
    return ReadSnapshot(true);
}

int CTaskList::ReadSnapshot(bool ntNames)
{
    HMODULE kernel = GetModuleHandleA("KERNEL32.DLL");
    if (!kernel)
        return -1;
    PFN_CreateToolhelp32Snapshot pCreateSnapshot =
        (PFN_CreateToolhelp32Snapshot)(void*)GetProcAddress(kernel, "CreateToolhelp32Snapshot");
    PFN_Process32First pFirst = (PFN_Process32First)(void*)GetProcAddress(kernel, "Process32First");
    PFN_Process32Next pNext = (PFN_Process32Next)(void*)GetProcAddress(kernel, "Process32Next");
    if (!pCreateSnapshot || !pFirst || !pNext)
        return -1;

    HANDLE snapshot = pCreateSnapshot(TH32CS_SNAPPROCESS, 0);
    if (snapshot == INVALID_HANDLE_VALUE)
        return -1;

    int count = 0;
    PROCESSENTRY32 pe;
    ZeroMemory(&pe, sizeof(pe));
    pe.dwSize = sizeof(pe);
    for (BOOL ok = pFirst(snapshot, &pe); ok; ok = pNext(snapshot, &pe))
    {
        pe.szExeFile[sizeof(pe.szExeFile) - 1] = '\0';
        const char* slash = strrchr(pe.szExeFile, '\\');
        char name[MAX_PATH];
        DWORD pid = pe.th32ProcessID;
        if (!ntNames)
        {
            StrCopy(name, slash ? slash : pe.szExeFile);
        }
        else
        {
            // The form the performance data gives: no folder, ending in ".exe".
            StrCopy(name, slash ? slash + 1 : pe.szExeFile);
            size_t len = strlen(name);
            if ((len < 4 || StrCompareNoCase(name + len - 4, ".exe") != 0) && len + 4 < sizeof(name))
                StrAppend(name, ".exe");
            if (pid == 0)
                pid = IDLE_PROCESS_ID;
        }
        AddTask(pid, name);
        count++;
    }
    CloseHandle(snapshot);
    // Our own process is always running: an empty list means the snapshot
    // could not be read.
    return count > 0 ? count : -1;
}

bool CTaskList::FindPerfIndexes(const char* counters, DWORD size, char* processIndex, size_t indexSize,
                                DWORD* idProcessIndex)
{
    bool haveProcess = false, haveId = false;
    const char* end = counters + size;
    const char* p = counters;
    // Pairs of strings: the index, then its name. Each string must end
    // inside the block.
    while (p < end && *p)
    {
        const char* index = p;
        const char* indexEnd = (const char*)memchr(index, '\0', end - index);
        if (!indexEnd || indexEnd + 1 >= end)
            break;
        const char* name = indexEnd + 1;
        const char* nameEnd = (const char*)memchr(name, '\0', end - name);
        if (!nameEnd)
            break;
        if (!haveProcess && StrCompareNoCase(name, "process") == 0)
            haveProcess = StrCopy(processIndex, indexSize, index);
        else if (!haveId && StrCompareNoCase(name, "id process") == 0)
        {
            *idProcessIndex = strtoul(index, NULL, 10);
            haveId = true;
        }
        p = nameEnd + 1;
    }
    return haveProcess && haveId;
}

// True when [p, p + len) lies inside [base, base + size).
static bool InBlock(const BYTE* base, DWORD size, const void* p, size_t len)
{
    const BYTE* b = (const BYTE*)p;
    return b >= base && b <= base + size && len <= (size_t)(base + size - b);
}

int CTaskList::AddFromPerfData(const void* block, DWORD size, DWORD processIndex, DWORD idProcessIndex)
{
    const BYTE* base = (const BYTE*)block;
    const PERF_DATA_BLOCK* data = (const PERF_DATA_BLOCK*)base;
    if (!InBlock(base, size, data, sizeof(*data)) || memcmp(data->Signature, L"PERF", 4 * sizeof(WCHAR)) != 0)
        return -1;

    const PERF_OBJECT_TYPE* object = (const PERF_OBJECT_TYPE*)(base + data->HeaderLength);
    bool found = false;
    for (DWORD i = 0; i < data->NumObjectTypes; i++)
    {
        if (!InBlock(base, size, object, sizeof(*object)) || object->TotalByteLength < sizeof(*object))
            return -1;
        if (object->ObjectNameTitleIndex == processIndex)
        {
            found = true;
            break;
        }
        object = (const PERF_OBJECT_TYPE*)((const BYTE*)object + object->TotalByteLength);
    }
    if (!found || object->NumInstances == PERF_NO_INSTANCES)
        return -1;

    const PERF_COUNTER_DEFINITION* counter =
        (const PERF_COUNTER_DEFINITION*)((const BYTE*)object + object->HeaderLength);
    DWORD idOffset = 0;
    found = false;
    for (DWORD i = 0; i < object->NumCounters; i++)
    {
        if (!InBlock(base, size, counter, sizeof(*counter)) || counter->ByteLength < sizeof(*counter))
            return -1;
        if (counter->CounterNameTitleIndex == idProcessIndex)
        {
            idOffset = counter->CounterOffset;
            found = true;
            break;
        }
        counter = (const PERF_COUNTER_DEFINITION*)((const BYTE*)counter + counter->ByteLength);
    }
    if (!found)
        return -1;

    int count = 0;
    const PERF_INSTANCE_DEFINITION* instance =
        (const PERF_INSTANCE_DEFINITION*)((const BYTE*)object + object->DefinitionLength);
    for (LONG i = 0; i < object->NumInstances; i++)
    {
        if (!InBlock(base, size, instance, sizeof(*instance)) || instance->ByteLength < sizeof(*instance))
            return -1;
        const PERF_COUNTER_BLOCK* values =
            (const PERF_COUNTER_BLOCK*)((const BYTE*)instance + instance->ByteLength);
        if (!InBlock(base, size, values, sizeof(*values)) || values->ByteLength < sizeof(*values) ||
            !InBlock(base, size, values, values->ByteLength))
            return -1;

        char name[MAX_PATH];
        const WCHAR* wide = (const WCHAR*)((const BYTE*)instance + instance->NameOffset);
        int chars = (int)(instance->NameLength / sizeof(WCHAR));
        int len = 0;
        if (InBlock(base, size, wide, (size_t)chars * sizeof(WCHAR)))
        {
            while (chars > 0 && wide[chars - 1] == 0)
                chars--;
            if (chars > 0)
                len = WideCharToMultiByte(CP_ACP, 0, wide, chars, name, sizeof(name) - 1, NULL, NULL);
        }
        if (len > 0)
        {
            name[len] = '\0';
            if ((size_t)len + 4 < sizeof(name))
                StrAppend(name, ".exe");
        }
        else
            StrCopy(name, "unknown");

        DWORD pid = 0;
        if ((size_t)idOffset + sizeof(DWORD) <= values->ByteLength)
            memcpy(&pid, (const BYTE*)values + idOffset, sizeof(pid));
        AddTask(pid == 0 ? IDLE_PROCESS_ID : pid, name);
        count++;
        instance = (const PERF_INSTANCE_DEFINITION*)((const BYTE*)values + values->ByteLength);
    }
    return count;
}

int CTaskList::ReadPerformanceData()
{
    char keyName[MAX_PATH];
    if (!StrFormat(keyName, sizeof(keyName), "%s\\%03x", g_szPerfKey, 9))
        return -1;
    CRegKey key;
    if (key.Open(HKEY_LOCAL_MACHINE, keyName, KEY_READ) != ERROR_SUCCESS)
        return -1;

    int result = -1;
    char* counters = NULL;
    BYTE* data = NULL;
    DWORD size = 0;
    char processIndex[32];
    DWORD idProcessIndex = 0;
    if (RegQueryValueExA(key.Get(), "Counters", NULL, NULL, NULL, &size) != ERROR_SUCCESS || size == 0)
        goto done;
    // Two spare zeros so the string list ends even when the value does not.
    counters = (char*)calloc(size + 2, 1);
    if (!counters ||
        RegQueryValueExA(key.Get(), "Counters", NULL, NULL, (BYTE*)counters, &size) != ERROR_SUCCESS)
        goto done;
    if (!FindPerfIndexes(counters, size, processIndex, sizeof(processIndex), &idProcessIndex))
        goto done;

    {
        DWORD capacity = PERF_INITIAL_SIZE;
        LONG rc;
        for (;;)
        {
            BYTE* grown = (BYTE*)realloc(data, capacity);
            if (!grown)
                goto done;
            data = grown;
            size = capacity;
            rc = RegQueryValueExA(HKEY_PERFORMANCE_DATA, processIndex, NULL, NULL, data, &size);
            if (rc != ERROR_MORE_DATA || capacity >= PERF_MAX_SIZE)
                break;
            capacity += PERF_GROW_SIZE;
        }
        if (rc == ERROR_SUCCESS)
            result = AddFromPerfData(data, size, strtoul(processIndex, NULL, 10), idProcessIndex);
    }

done:
    free(data);
    free(counters);
    RegCloseKey(HKEY_PERFORMANCE_DATA);
    return result;
}

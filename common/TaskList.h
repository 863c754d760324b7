// The process list behind the interpreter's Kill action: executable names and
// identifiers, by one of two methods chosen by the operating-system family.
#pragma once

#include <windows.h>
#include "PtrList.h"

// One process. The identifier of the idle process (0) is stored as -2.
struct tagTASK_RECORD
{
    DWORD dwProcessId;
    DWORD dwInheritedProcessId; // always 0
    DWORD flags;                // always 0
    HWND hwnd;                  // always null
    char ProcessName[MAX_PATH];
    char WindowTitle[MAX_PATH];
};

// The list owns its records. Both GetTaskList methods clear it first, so a
// second call replaces the list instead of listing every process twice.
//
// Results: the number of processes listed, or -1 when no process list could
// be obtained at all. A system always has at least the calling process, so
// callers must treat -1 as a failure ("cannot tell what runs"), never as "no
// process matched".
class CTaskList : public CPtrList<tagTASK_RECORD>
{
  public:
    // Reads the running system's version; an owner may replace it.
    CTaskList();
    ~CTaskList() override;

    // NT family only: enables "SeDebugPrivilege" for this process. 1 when the
    // adjustment reported no error; 0 on failure or on other families.
    int EnableDebugPriv();

    // Snapshot method: names are the snapshot's executable path from its last
    // backslash on, the backslash included ("\notepad.exe" on the 95 family,
    // where the snapshot holds full paths; the bare name on NT).
    int GetTaskList95();

    // Performance-data method: names are the instance names with ".exe"
    // appended ("notepad.exe"). When the performance data lists no process
    // (Wine publishes none), the snapshot functions are used instead, with
    // names in the same form: no folder, ending in ".exe".
    int GetTaskListNT();

    // The method the version information selects: NT family or not.
    int GetTaskList();

    // The steps of the performance-data method, open for tests with made-up
    // data. FindPerfIndexes reads the "Counters" list (index and name
    // strings, alternating) and gives the index text of "process" and the
    // index of "id process"; false when either is missing.
    static bool FindPerfIndexes(const char* counters, DWORD size, char* processIndex, size_t indexSize,
                                DWORD* idProcessIndex);
    // Appends the instances of the process object found in a performance-data
    // block; the count appended, or -1 when the block is malformed or has no
    // process object or no "id process" counter. Nothing outside the block's
    // size is read.
    int AddFromPerfData(const void* block, DWORD size, DWORD processIndex, DWORD idProcessIndex);

    // The version that chooses the method.
    const OSVERSIONINFOA& GetVersionInfo() const
    {
        return m_osvi;
    }
    void SetVersionInfo(const OSVERSIONINFOA& info)
    {
        m_osvi = info;
    }

  private:
    OSVERSIONINFOA m_osvi;
    bool IsNT() const;
    int ReadPerformanceData();
    int ReadSnapshot(bool ntNames);
    void AddTask(DWORD pid, const char* name);
};

// Process and window enumeration against real processes: each test starts
// tvtarget.exe and looks for it.
#include <windows.h>
#include <winperf.h>
#include <algorithm>
#include <set>
#include <string>
#include <vector>

#include "EnumProcess.h"
#include "EnumWindows.h"
#include "TaskList.h"
#include "e2e/e2e_testutil.h"
#include "testutil.h"
#include "strutils.h"

namespace
{

using e2etest::StartTarget;

std::string TargetPath()
{
    return e2etest::Program("tvtarget.exe");
}

bool EndsWithNoCase(const std::string& s, const std::string& tail)
{
    return s.size() >= tail.size() && StrCompareNoCase(s.c_str() + s.size() - tail.size(), tail.c_str()) == 0;
}

std::string FileName(const std::string& path)
{
    size_t slash = path.find_last_of('\\');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

std::vector<tagTASK_RECORD> Records(CTaskList& list)
{
    std::vector<tagTASK_RECORD> out;
    list.ResetCur();
    for (tagTASK_RECORD* t = list.GetCur(); t; t = list.GetNext())
        out.push_back(*t);
    return out;
}

} // namespace

// Two copies of the target: every method lists each once by its file name,
// and the Kill action's match (lower-cased name contains the text) finds both.
TEST(TaskList, EveryMethodListsProcessesByFileNameWithTheirIds)
{
    CDrvProcess first, second;
    StartTarget(first, "-title=\"Kill Me 1\"", "Kill Me 1");
    StartTarget(second, "-title=\"Kill Me 2\"", "Kill Me 2");

    CTaskList list;
    ASSERT_EQ((DWORD)VER_PLATFORM_WIN32_NT, list.GetVersionInfo().dwPlatformId);
    EXPECT_EQ(1, list.EnableDebugPriv());
    for (int method = 0; method < 3; method++)
    {
        SCOPED_TRACE("method " + std::to_string(method));
        // Calls after the first replace the list rather than adding to it.
        int count = method == 0   ? list.GetTaskListNT()
                    : method == 1 ? list.GetTaskList()
                                  : list.GetTaskList95();
        ASSERT_GT(count, 0);
        ASSERT_EQ((unsigned)count, list.GetSize());
        std::set<DWORD> found;
        int selves = 0;
        for (const tagTASK_RECORD& t : Records(list))
        {
            std::string name = t.ProcessName;
            // The snapshot keeps "" before the file name when the entry has a folder.
            size_t slash = name.rfind('\\');
            EXPECT_TRUE(slash == std::string::npos || (method == 2 && slash == 0)) << name;
            EXPECT_NE(0u, t.dwProcessId) << name;
            char lower[MAX_PATH];
            StrCopy(lower, t.ProcessName);
            CharLowerA(lower);
            if (strstr(lower, "tvtarget"))
            {
                EXPECT_EQ(0, StrCompareNoCase(FileName(name).c_str(), "tvtarget.exe")) << name;
                found.insert(t.dwProcessId);
            }
            selves += t.dwProcessId == GetCurrentProcessId();
        }
        EXPECT_EQ((std::set<DWORD>{first.Pid(), second.Pid()}), found);
        EXPECT_EQ(1, selves);
    }
}

TEST(TaskList, CounterNamesGiveTheProcessIndexes)
{
    struct Case
    {
        const char* counters; // '|' stands for each zero byte
        bool ok;
        const char* processIndex;
        DWORD idIndex;
    } cases[] = {
        {"1|1847|230|Process|784|ID Process||", true, "230", 784},
        {"784|id process|230|PROCESS||", true, "230", 784},
        {"230|Process||", false, "", 0},
        {"784|ID Process||", false, "", 0},
        {"230|Process|784|ID Proc", false, "", 0}, // the last name runs off the end of the value
        {"", false, "", 0},
    };
    for (const Case& c : cases)
    {
        // The buffer holds exactly the value: nothing after it may be read.
        std::vector<char> value(c.counters, c.counters + strlen(c.counters));
        std::replace(value.begin(), value.end(), '|', '\0');
        char index[32] = "";
        DWORD id = 0;
        bool ok = CTaskList::FindPerfIndexes(value.data(), (DWORD)value.size(), index, sizeof(index), &id);
        EXPECT_EQ(c.ok, ok) << c.counters;
        if (c.ok)
        {
            EXPECT_STREQ(c.processIndex, index);
            EXPECT_EQ(c.idIndex, id);
        }
    }
}

namespace
{

// A performance-data block in the system's layout: another object, then the
// process object with two counters and the given instances.
class PerfBlock
{
  public:
    static const DWORD PROCESS = 230, ID_PROCESS = 784, OTHER_COUNTER = 6;
    static const DWORD ID_OFFSET = 16, VALUES_SIZE = 24;

    void AddInstance(const std::wstring& name, DWORD pid)
    {
        m_instances.push_back({name, pid});
    }

    std::vector<BYTE> Build() const
    {
        std::vector<BYTE> b(sizeof(PERF_DATA_BLOCK));
        PERF_DATA_BLOCK head = {};
        memcpy(head.Signature, L"PERF", sizeof(head.Signature));
        head.HeaderLength = sizeof(head);
        head.NumObjectTypes = 2;

        PERF_OBJECT_TYPE other = {};
        other.TotalByteLength = other.DefinitionLength = other.HeaderLength = sizeof(other);
        other.ObjectNameTitleIndex = 2;
        other.NumInstances = PERF_NO_INSTANCES;
        Append(b, &other, sizeof(other));

        size_t objectAt = b.size();
        PERF_OBJECT_TYPE object = {};
        object.HeaderLength = sizeof(object);
        object.DefinitionLength = sizeof(object) + 2 * sizeof(PERF_COUNTER_DEFINITION);
        object.ObjectNameTitleIndex = PROCESS;
        object.NumCounters = 2;
        object.NumInstances = (LONG)m_instances.size();
        Append(b, &object, sizeof(object));
        PERF_COUNTER_DEFINITION counter = {};
        counter.ByteLength = sizeof(counter);
        counter.CounterNameTitleIndex = OTHER_COUNTER;
        counter.CounterOffset = 8;
        Append(b, &counter, sizeof(counter));
        counter.CounterNameTitleIndex = ID_PROCESS;
        counter.CounterOffset = ID_OFFSET;
        Append(b, &counter, sizeof(counter));

        for (const Instance& i : m_instances)
        {
            DWORD nameBytes = (DWORD)((i.name.size() + 1) * sizeof(WCHAR));
            DWORD padded = (nameBytes + 7) & ~7u;
            PERF_INSTANCE_DEFINITION inst = {};
            inst.ByteLength = sizeof(inst) + padded;
            inst.NameOffset = sizeof(inst);
            inst.NameLength = nameBytes;
            Append(b, &inst, sizeof(inst));
            std::vector<BYTE> name(padded);
            memcpy(name.data(), i.name.c_str(), nameBytes);
            Append(b, name.data(), padded);
            BYTE values[VALUES_SIZE] = {};
            DWORD length = VALUES_SIZE;
            memcpy(values, &length, sizeof(length));
            memcpy(values + ID_OFFSET, &i.pid, sizeof(i.pid));
            Append(b, values, sizeof(values));
        }
        ((PERF_OBJECT_TYPE*)(b.data() + objectAt))->TotalByteLength = (DWORD)(b.size() - objectAt);
        head.TotalByteLength = (DWORD)b.size();
        memcpy(b.data(), &head, sizeof(head));
        return b;
    }

  private:
    struct Instance
    {
        std::wstring name;
        DWORD pid;
    };
    static void Append(std::vector<BYTE>& b, const void* p, size_t n)
    {
        b.insert(b.end(), (const BYTE*)p, (const BYTE*)p + n);
    }
    std::vector<Instance> m_instances;
};

} // namespace

TEST(TaskList, PerformanceDataInstancesBecomeTaskRecords)
{
    PerfBlock perf;
    perf.AddInstance(L"notepad", 1234);
    perf.AddInstance(L"Idle", 0);
    perf.AddInstance(std::wstring(300, L'x'), 77); // does not fit in 260 bytes
    perf.AddInstance(std::wstring(257, L'y'), 78); // fits, ".exe" does not
    perf.AddInstance(std::wstring(255, L'z'), 79); // fits with ".exe"
    std::vector<BYTE> block = perf.Build();

    CTaskList list;
    ASSERT_EQ(5, list.AddFromPerfData(block.data(), (DWORD)block.size(), PerfBlock::PROCESS,
                                      PerfBlock::ID_PROCESS));
    std::vector<tagTASK_RECORD> r = Records(list);
    ASSERT_EQ(5u, r.size());
    EXPECT_STREQ("notepad.exe", r[0].ProcessName);
    EXPECT_EQ(1234u, r[0].dwProcessId);
    EXPECT_STREQ("Idle.exe", r[1].ProcessName);
    EXPECT_EQ((DWORD)-2, r[1].dwProcessId);
    EXPECT_STREQ("unknown", r[2].ProcessName);
    EXPECT_EQ(77u, r[2].dwProcessId);
    EXPECT_EQ(std::string(257, 'y'), r[3].ProcessName);
    EXPECT_EQ(std::string(255, 'z') + ".exe", r[4].ProcessName);
}

TEST(TaskList, BrokenPerformanceDataGivesNoList)
{
    PerfBlock perf;
    perf.AddInstance(L"notepad", 1234);
    perf.AddInstance(L"calc", 99);
    const std::vector<BYTE> good = perf.Build();

    struct Case
    {
        const char* what;
        size_t size;      // bytes handed over
        DWORD processIdx; // object looked for
        DWORD idIdx;      // counter looked for
        size_t patchAt;   // a DWORD to overwrite, 0 for none
        DWORD patch;
    };
    const Case cases[] = {
        {"cut inside the last instance", good.size() - 30, PerfBlock::PROCESS, PerfBlock::ID_PROCESS, 0, 0},
        {"cut inside the header", 20, PerfBlock::PROCESS, PerfBlock::ID_PROCESS, 0, 0},
        {"no process object", good.size(), 999, PerfBlock::ID_PROCESS, 0, 0},
        {"no id counter", good.size(), PerfBlock::PROCESS, 999, 0, 0},
        {"wrong signature", good.size(), PerfBlock::PROCESS, PerfBlock::ID_PROCESS, 4, 0x00410041}, // "PEAA"
        {"object length zero", good.size(), PerfBlock::PROCESS, PerfBlock::ID_PROCESS,
         sizeof(PERF_DATA_BLOCK) + offsetof(PERF_OBJECT_TYPE, TotalByteLength), 0},
    };
    for (const Case& c : cases)
    {
        std::vector<BYTE> block(good.begin(), good.begin() + c.size);
        if (c.patchAt)
            memcpy(block.data() + c.patchAt, &c.patch, sizeof(c.patch));
        CTaskList list;
        EXPECT_EQ(-1, list.AddFromPerfData(block.data(), (DWORD)block.size(), c.processIdx, c.idIdx))
            << c.what;
    }
}

TEST(EnumProcess, EveryProcessIsListedWhileTheIdBufferGrows)
{
    const int kTargets = 3;
    CDrvProcess targets[kTargets];
    for (int i = 0; i < kTargets; i++)
    {
        std::string title = "Grow " + std::to_string(i);
        StartTarget(targets[i], "-title=\"" + title + "\"", title.c_str());
    }
    const std::string exe = TargetPath();

    // A step of 1 fills the buffer again and again before it is large enough.
    ASSERT_EQ(ENUM_METHOD_PSAPI | ENUM_METHOD_TOOLHELP, CEnumProcess().GetAvailableMethods());
    for (int method : {ENUM_METHOD_PSAPI, ENUM_METHOD_TOOLHELP})
    {
        for (DWORD step : {1u, 256u})
        {
            CEnumProcess e;
            ASSERT_EQ(method, e.SetMethod(method));
            e.SetBufferStep(step);
            std::set<DWORD> pids;
            int entries = 0, targetsFound = 0;
            CEnumProcess::CProcessEntry entry;
            memset(&entry, 0x55, sizeof(entry));
            for (BOOL ok = e.GetProcessFirst(&entry); ok; ok = e.GetProcessNext(&entry))
            {
                entries++;
                pids.insert(entry.dwPID);
                EXPECT_EQ(0, entry.hTask16);
                EXPECT_LT(strlen(entry.lpFilename), sizeof(entry.lpFilename));
                for (CDrvProcess& t : targets)
                {
                    if (entry.dwPID != t.Pid())
                        continue;
                    targetsFound++;
                    // The process-status library gives full paths; the NT
                    // snapshot only the file name.
                    if (method == ENUM_METHOD_PSAPI)
                        EXPECT_EQ(0, StrCompareNoCase(entry.lpFilename, exe.c_str())) << entry.lpFilename;
                    else
                        EXPECT_TRUE(EndsWithNoCase(entry.lpFilename, "tvtarget.exe")) << entry.lpFilename;
                }
            }
            SCOPED_TRACE("method " + std::to_string(method) + " step " + std::to_string(step));
            EXPECT_EQ((size_t)entries, pids.size()) << "an identifier came twice";
            EXPECT_EQ(kTargets, targetsFound);
            EXPECT_EQ(1u, pids.count(GetCurrentProcessId()));
            EXPECT_GT(entries, kTargets);
        }
    }
}

namespace
{

// The image base written in an executable's header on disk.
ULONGLONG ImageBaseOnDisk(const std::string& path)
{
    std::string bytes = ReadBytes(path);
    if (bytes.size() < sizeof(IMAGE_DOS_HEADER))
        return 0;
    const IMAGE_DOS_HEADER* dos = (const IMAGE_DOS_HEADER*)bytes.data();
    if ((size_t)dos->e_lfanew + sizeof(IMAGE_NT_HEADERS64) > bytes.size())
        return 0;
    return ((const IMAGE_NT_HEADERS64*)(bytes.data() + dos->e_lfanew))->OptionalHeader.ImageBase;
}

struct ModuleSeen
{
    std::string path;
    PVOID base;
    PVOID preferred;
};

std::vector<ModuleSeen> Modules(int method, DWORD pid, DWORD step)
{
    CEnumProcess e;
    EXPECT_EQ(method, e.SetMethod(method));
    e.SetBufferStep(step);
    std::vector<ModuleSeen> out;
    CEnumProcess::CModuleEntry m;
    for (BOOL ok = e.GetModuleFirst(pid, &m); ok; ok = e.GetModuleNext(pid, &m))
        out.push_back({m.lpFilename, m.pLoadBase, m.pPreferredBase});
    return out;
}

} // namespace

TEST(EnumProcess, ModulesOfAnotherProcessByBothMethodsAndNoneWhenItIsGone)
{
    CDrvProcess target;
    StartTarget(target, "-title=\"Module Target\"", "Module Target");
    const std::string exe = TargetPath();
    const ULONGLONG imageBase = ImageBaseOnDisk(exe);
    ASSERT_NE(0u, imageBase);

    std::set<PVOID> bases[2];
    for (int method : {ENUM_METHOD_PSAPI, ENUM_METHOD_TOOLHELP})
    {
        SCOPED_TRACE("method " + std::to_string(method));
        std::vector<ModuleSeen> mods = Modules(method, target.Pid(), 2);
        ASSERT_GT(mods.size(), 3u);
        EXPECT_EQ(0, StrCompareNoCase(mods[0].path.c_str(), exe.c_str())) << mods[0].path;
        EXPECT_EQ(imageBase, (ULONGLONG)(ULONG_PTR)mods[0].preferred);
        bool ntdll = false;
        for (const ModuleSeen& m : mods)
        {
            EXPECT_NE(nullptr, m.base) << m.path;
            EXPECT_NE(nullptr, m.preferred) << m.path;
            ntdll = ntdll || StrCompareNoCase(FileName(m.path).c_str(), "ntdll.dll") == 0;
            bases[method - 1].insert(m.base);
        }
        EXPECT_TRUE(ntdll);
        // The default step gives the same list as the small one.
        EXPECT_EQ(mods.size(), Modules(method, target.Pid(), 256).size());
    }
    EXPECT_EQ(bases[0], bases[1]);

    // Once the process is gone there are none.
    DWORD pid = target.Pid();
    ASSERT_TRUE(target.Kill());
    for (int method : {ENUM_METHOD_PSAPI, ENUM_METHOD_TOOLHELP})
        EXPECT_EQ(0u, Modules(method, pid, 256).size()) << method;
}

TEST(EnumProcess, PreferredBaseComesFromTheHeaderInMemory)
{
    // Headers laid out in our own memory and read back through the process.
    struct Case
    {
        const char* what;
        WORD mz;
        LONG lfanew;
        DWORD pe;
        WORD magic;
        ULONGLONG expected;
    };
    const ULONGLONG base64 = 0x0000012345670000ull;
    const DWORD base32 = 0x00400000;
    const Case cases[] = {
        {"64-bit image", IMAGE_DOS_SIGNATURE, 0x80, IMAGE_NT_SIGNATURE, IMAGE_NT_OPTIONAL_HDR64_MAGIC,
         base64},
        {"32-bit image", IMAGE_DOS_SIGNATURE, 0x80, IMAGE_NT_SIGNATURE, IMAGE_NT_OPTIONAL_HDR32_MAGIC,
         base32},
        {"no MZ", 0x1234, 0x80, IMAGE_NT_SIGNATURE, IMAGE_NT_OPTIONAL_HDR64_MAGIC, 0},
        {"no PE", IMAGE_DOS_SIGNATURE, 0x80, 0x4551, IMAGE_NT_OPTIONAL_HDR64_MAGIC, 0},
        {"negative offset", IMAGE_DOS_SIGNATURE, -64, IMAGE_NT_SIGNATURE, IMAGE_NT_OPTIONAL_HDR64_MAGIC, 0},
        {"offset beyond memory", IMAGE_DOS_SIGNATURE, 0x7000000, IMAGE_NT_SIGNATURE,
         IMAGE_NT_OPTIONAL_HDR64_MAGIC, 0},
    };
    CEnumProcess e;
    for (const Case& c : cases)
    {
        BYTE* image = (BYTE*)VirtualAlloc(NULL, 4096, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE);
        ASSERT_NE(nullptr, image);
        IMAGE_DOS_HEADER* dos = (IMAGE_DOS_HEADER*)image;
        dos->e_magic = c.mz;
        dos->e_lfanew = c.lfanew;
        BYTE* nt = image + 0x80;
        memcpy(nt, &c.pe, sizeof(c.pe));
        if (c.magic == IMAGE_NT_OPTIONAL_HDR64_MAGIC)
        {
            IMAGE_NT_HEADERS64* h = (IMAGE_NT_HEADERS64*)nt;
            h->OptionalHeader.Magic = c.magic;
            h->OptionalHeader.ImageBase = base64;
        }
        else
        {
            IMAGE_NT_HEADERS32* h = (IMAGE_NT_HEADERS32*)nt;
            h->OptionalHeader.Magic = c.magic;
            h->OptionalHeader.ImageBase = base32;
        }
        EXPECT_EQ(c.expected, (ULONGLONG)(ULONG_PTR)e.GetModulePreferredBase(GetCurrentProcessId(), image))
            << c.what;
        VirtualFree(image, 0, MEM_RELEASE);
    }
    // Memory that is not there at all.
    EXPECT_EQ(nullptr, e.GetModulePreferredBase(GetCurrentProcessId(), (PVOID)0x10));
}

TEST(EnumWindows, ListsEveryTopLevelWindowOnceWithItsTitle)
{
    const std::string longTitle(200, 'T');
    CDrvProcess shown, hidden;
    StartTarget(shown, "-title=\"Window One\" -title=" + longTitle + " -owned=\"Tool A\"", "Window One");
    StartTarget(hidden, "-hidden -title=\"Hidden Window\"", "Hidden Window");
    HWND one = DrvFindWindow(DrvQuery(TARGET_CLASS, "Window One"));
    HWND tool = DrvFindWindow(DrvQuery(TARGET_TOOL_CLASS, "Tool A"));
    DrvWindowQuery hiddenQuery = DrvQuery(TARGET_CLASS, "Hidden Window");
    hiddenQuery.includeHidden = true;
    HWND hiddenHwnd = DrvFindWindow(hiddenQuery);
    ASSERT_TRUE(one && tool && hiddenHwnd);

    CEnumWindows windows;
    for (int round = 0; round < 2; round++)
    {
        windows.Enumerate();
        SCOPED_TRACE("round " + std::to_string(round));
        ASSERT_GT(windows.Count(), 4);
        std::set<HWND> seen;
        std::string titleOf[3];
        std::string longSeen;
        for (int i = 0; i < windows.Count(); i++)
        {
            CEnumWindows::CWindow* w = windows.GetWindow(i);
            ASSERT_NE(nullptr, w);
            EXPECT_TRUE(seen.insert(w->m_hwnd).second) << "listed twice: " << w->m_szTitle;
            EXPECT_LT(strlen(w->m_szTitle), sizeof(w->m_szTitle));
            if (w->m_hwnd == one)
                titleOf[0] = w->m_szTitle;
            if (w->m_hwnd == tool)
                titleOf[1] = w->m_szTitle;
            if (w->m_hwnd == hiddenHwnd)
                titleOf[2] = w->m_szTitle;
            if (w->m_szTitle[0] == 'T' && GetWindowTextLengthA(w->m_hwnd) == 200)
                longSeen = w->m_szTitle;
        }
        EXPECT_EQ("Window One", titleOf[0]);
        EXPECT_EQ("Tool A", titleOf[1]);
        EXPECT_EQ("Hidden Window", titleOf[2]);
        EXPECT_EQ(longTitle.substr(0, 127), longSeen);
    }
    EXPECT_EQ(nullptr, windows.GetWindow(-1));
    EXPECT_EQ(nullptr, windows.GetWindow(windows.Count()));
    EXPECT_NE(nullptr, windows.GetWindow(windows.Count() - 1));
}

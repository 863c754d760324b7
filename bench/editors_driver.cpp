// Timing driver of bench/editors; runs inside one Wine session.
//
//   editors_driver RUNS BIN_FOLDER WORK_FOLDER FLOOR_EXE [ONLY]
//
// Writes a 5,000-line launch file, a 2,000-entry menu, a 1,000-task schedule
// and a full log (9,999 entries) with the suite's own classes, and for each a
// rows file with as many rows of about the same texts for the floor program
// (bench/list_floor.cpp). Then, RUNS times each, alternating with its floor:
//   tvedit -file=big.launch, tvmedit -file=big.menu, tvsched: from
//       CreateProcess to the list painted (visible, every row in it, no part
//       of it left to paint), next to the floor program started on the rows;
//   the agent's log viewer: from the View Log command posted to the running
//       agent to its list painted, next to the floor program told to fill
//       its list by a posted message.
// Each program is closed (and waited for) before the next start. Prints the
// runs, the medians and one "figure" line a case.
#include <windows.h>
#include <commctrl.h>

#include <algorithm>
#include <stdio.h>
#include <string.h>
#include <string>
#include <vector>

#include "LogFile.h"
#include "Menu.h"
#include "ScheduledTask.h"
#include "firstrun.h"
#include "strutils.h"
#include "agent_res.h"
#include "agentproto.h"
#include "keysfile.h"
#include "agentSettings.h"
#include "editorSettings.h"
#include "meditSettings.h"
#include "schedSettings.h"
#include "regutils.h"

static const DWORD kTimeoutMs = 20000;
static const int kLaunchLines = 5000;
static const int kMenuEntries = 2000;
static const int kTasks = 1000;
static const int kLogEntries = 9999;

static std::string g_bin;
static std::string g_work;
static std::string g_floor;

static std::string Path(const std::string& folder, const char* name)
{
    return folder + "\\" + name;
}

static bool WriteText(const std::string& path, const std::string& text)
{
    HANDLE f = CreateFileA(path.c_str(), GENERIC_WRITE, 0, NULL, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, NULL);
    if (f == INVALID_HANDLE_VALUE)
        return false;
    DWORD written = 0;
    BOOL ok = WriteFile(f, text.data(), (DWORD)text.size(), &written, NULL);
    CloseHandle(f);
    return ok && written == text.size();
}

// Nothing waits for a user: no splash, wizard, tips or start-up dialogs.
static bool QuietStarts()
{
    SetFirstRun(0);
    // RegWriteSetting gives 0 on success.
    bool ok = true;
    for (const DwordSetting& off :
         {AGENT_SHOW_WIZARD, AGENT_EXIT_MESSAGE, EDITOR_SHOW_TIPS, EDITOR_SHOW_STARTUP, MEDIT_SHOW_TIPS,
          MEDIT_SHOW_STARTUP, SCHED_SHOW_TIPS})
        ok = ok && RegWriteSetting(off, 0) == 0;
    return ok && RegWriteSetting(AGENT_NO_SPLASH, 1) == 0;
}

// --- The files -------------------------------------------------------------------

static bool PrepareLaunch()
{
    std::string file, rows = "Action\tDescription\n";
    char line[256];
    for (int i = 0; i < kLaunchLines; i++)
    {
        StrFormat(line, sizeof(line),
                  "Launch \"C:\\Program Files\\Application %d\\app.exe\",\"C:\\\",\"-n %d\",Normal", i, i);
        file += line;
        file += "\r\n";
        StrFormat(line, sizeof(line),
                  "Launch\t\"C:\\Program Files\\Application %d\\app.exe -n %d\", Normal\n", i, i);
        rows += line;
    }
    return WriteText(Path(g_work, "big.launch"), file) && WriteText(Path(g_work, "rows-launch.txt"), rows);
}

static bool PrepareMenu()
{
    CMenu menu;
    if (!menu.New())
        return false;
    std::string rows = "Name\tType\tTarget\n";
    char name[64], target[MAX_PATH];
    for (int i = 0; i < kMenuEntries; i++)
    {
        CMenuItem* item = new CMenuItem();
        StrFormat(name, sizeof(name), "Entry %d", i);
        StrFormat(target, sizeof(target), "C:\\Program Files\\Application %d\\app.exe", i);
        item->SetStyle(MENU_STYLE_ITEM);
        item->SetText(name);
        item->SetTarget(target);
        if (!menu.InsertItem(item, 0, 1))
        {
            delete item;
            return false;
        }
        rows += std::string(name) + "\tProgram\t" + target + "\n";
    }
    return menu.WriteFile(Path(g_work, "big.menu").c_str()) && WriteText(Path(g_work, "rows-menu.txt"), rows);
}

static bool PrepareSchedule()
{
    CSTaskList tasks;
    std::string rows = "Name\tTarget\tNext Scheduled Time\tLast Run Time\n";
    SYSTEMTIME now;
    GetLocalTime(&now);
    CTime when;
    when.Set(&now);
    char name[64], target[MAX_PATH];
    for (int i = 0; i < kTasks; i++)
    {
        CSTask* task = new CSTask();
        StrFormat(name, sizeof(name), "Task %d", i);
        StrFormat(target, sizeof(target), "C:\\Program Files\\Application %d\\app.exe", i);
        task->SetName(name);
        task->SetActive(1);
        CSTRecRule* rule = task->AddRecurrenceRule();
        rule->type = ST_TYPE_PERIODIC;
        rule->subtype = (DWORD)ST_PERIOD_DAYS;
        rule->data = 1;
        rule->time = when;
        task->SetScheduledTime(when);
        task->SetAction(target, "C:\\", "", SW_SHOWNORMAL);
        tasks.AddTask(task);
        rows += std::string(name) + "\t" + target + "\t12/07/2026 10:00 AM\tNever\n";
    }
    char path[MAX_PATH];
    return GetMyTarvinFilesFolder(path, "Tarvin Schedule.dat") && tasks.Save(path) &&
           WriteText(Path(g_work, "rows-sched.txt"), rows);
}

static bool PrepareLog()
{
    char path[MAX_PATH];
    if (!GetMyTarvinFilesFolder(path, "Tarvin.log"))
        return false;
    std::string rows = "Date and Time\tSource\tEvent\n";
    {
        CLogFile log(kLogEntries);
        log.SetFileName(path);
        char text[128];
        for (int i = 0; i < kLogEntries; i++)
        {
            StrFormat(text, sizeof(text), "Launch file C:\\Users\\Files\\job %d.launch ran to its end", i);
            log.Append(new CLogFile::CLogItem(CLogFile::LOG_INFO, "Tarvin Interpreter", text));
            rows += std::string("12/07/2026 10:00:00 AM\tTarvin Interpreter\t") + text + "\n";
        }
        log.Flush();
    }
    // The agent asks about a keys file it cannot read.
    char keys[MAX_PATH];
    if (!GetMyTarvinFilesFolder(keys, "Tarvin Keys.keys") || !WriteText(keys, KEYSFILE_HEADER "\r\n"))
        return false;
    return RegWriteSetting(AGENT_LOG_FILE, kLogEntries) == 0 && WriteText(Path(g_work, "rows-log.txt"), rows);
}

// --- Watching a program ----------------------------------------------------------

struct Search
{
    DWORD pid;
    int rows;
    HWND list;
};

static BOOL CALLBACK FindListChild(HWND hwnd, LPARAM param)
{
    Search* s = (Search*)param;
    char cls[64];
    if (GetClassNameA(hwnd, cls, sizeof(cls)) && lstrcmpiA(cls, WC_LISTVIEWA) == 0 && IsWindowVisible(hwnd) &&
        ListView_GetItemCount(hwnd) >= s->rows)
    {
        s->list = hwnd;
        return FALSE;
    }
    return TRUE;
}

static BOOL CALLBACK FindListTop(HWND hwnd, LPARAM param)
{
    Search* s = (Search*)param;
    DWORD pid = 0;
    GetWindowThreadProcessId(hwnd, &pid);
    if (pid == s->pid && IsWindowVisible(hwnd))
        EnumChildWindows(hwnd, FindListChild, param);
    return s->list ? FALSE : TRUE;
}

// True once a visible list of the process holds all its rows and has
// nothing left to paint.
static bool ListPainted(DWORD pid, int rows, HWND* list)
{
    Search s = {pid, rows, NULL};
    EnumWindows(FindListTop, (LPARAM)&s);
    if (!s.list || GetUpdateRect(s.list, NULL, FALSE))
        return false;
    if (list)
        *list = s.list;
    return true;
}

static BOOL CALLBACK PrintChild(HWND hwnd, LPARAM)
{
    char text[256] = "";
    char cls[32] = "";
    GetClassNameA(hwnd, cls, sizeof(cls));
    if (lstrcmpiA(cls, "Static") == 0 && GetWindowTextA(hwnd, text, sizeof(text)) > 0)
        fprintf(stderr, "    \"%s\"\n", text);
    if (lstrcmpiA(cls, WC_LISTVIEWA) == 0)
        fprintf(stderr, "    a list of %d rows, %s\n", ListView_GetItemCount(hwnd),
                GetUpdateRect(hwnd, NULL, FALSE) ? "some left to paint" : "painted");
    return TRUE;
}

static BOOL CALLBACK PrintTop(HWND hwnd, LPARAM pid)
{
    DWORD owner = 0;
    GetWindowThreadProcessId(hwnd, &owner);
    char title[128] = "";
    if (owner == (DWORD)pid && IsWindowVisible(hwnd) && GetWindowTextA(hwnd, title, sizeof(title)) >= 0)
    {
        fprintf(stderr, "  a window of the program: \"%s\"\n", title);
        EnumChildWindows(hwnd, PrintChild, 0);
    }
    return TRUE;
}

static double WaitPainted(DWORD pid, int rows, LARGE_INTEGER start, HWND* list = NULL)
{
    LARGE_INTEGER freq, now;
    QueryPerformanceFrequency(&freq);
    DWORD begin = GetTickCount();
    while (!ListPainted(pid, rows, list))
    {
        if (GetTickCount() - begin > kTimeoutMs)
        {
            fprintf(stderr, "editors_driver: no list of %d rows painted in %u s\n", rows,
                    (unsigned)(kTimeoutMs / 1000));
            EnumWindows(PrintTop, (LPARAM)pid);
            return -1;
        }
        Sleep(1);
    }
    QueryPerformanceCounter(&now);
    return (now.QuadPart - start.QuadPart) * 1000.0 / freq.QuadPart;
}

static BOOL CALLBACK CloseTop(HWND hwnd, LPARAM pid)
{
    DWORD owner = 0;
    GetWindowThreadProcessId(hwnd, &owner);
    if (owner == (DWORD)pid && IsWindowVisible(hwnd))
        PostMessageA(hwnd, WM_CLOSE, 0, 0);
    return TRUE;
}

static void EndProcess(PROCESS_INFORMATION& pi)
{
    EnumWindows(CloseTop, (LPARAM)pi.dwProcessId);
    if (WaitForSingleObject(pi.hProcess, 10000) != WAIT_OBJECT_0)
    {
        TerminateProcess(pi.hProcess, 1);
        WaitForSingleObject(pi.hProcess, 5000);
    }
    CloseHandle(pi.hProcess);
    CloseHandle(pi.hThread);
}

static bool Start(const std::string& command, PROCESS_INFORMATION* pi, LARGE_INTEGER* start)
{
    STARTUPINFOA si = {};
    si.cb = sizeof(si);
    std::vector<char> line(command.begin(), command.end());
    line.push_back('\0');
    QueryPerformanceCounter(start);
    return CreateProcessA(NULL, line.data(), NULL, NULL, FALSE, 0, NULL, g_work.c_str(), &si, pi) != 0;
}

// From CreateProcess to the list painted; -1 when it never is.
static double TimeStart(const std::string& command, int rows)
{
    PROCESS_INFORMATION pi;
    LARGE_INTEGER start;
    if (!Start(command, &pi, &start))
        return -1;
    double ms = WaitPainted(pi.dwProcessId, rows, start);
    EndProcess(pi);
    return ms;
}

static HWND FindFloorWindow(DWORD pid)
{
    for (DWORD begin = GetTickCount(); GetTickCount() - begin < kTimeoutMs; Sleep(1))
    {
        HWND hwnd = NULL;
        while ((hwnd = FindWindowExA(NULL, hwnd, "_TV_LIST_FLOOR", NULL)) != NULL)
        {
            DWORD owner = 0;
            GetWindowThreadProcessId(hwnd, &owner);
            if (owner == pid)
                return hwnd;
        }
    }
    return NULL;
}

// The floor of a dialog opened by a running program: from the posted
// message to the list painted.
static double TimeFloorOnMessage(const std::string& rowsFile, int rows)
{
    PROCESS_INFORMATION pi;
    LARGE_INTEGER start;
    if (!Start("\"" + g_floor + "\" -onmessage " + rowsFile, &pi, &start))
        return -1;
    double ms = -1;
    if (HWND hwnd = FindFloorWindow(pi.dwProcessId))
    {
        QueryPerformanceCounter(&start);
        PostMessageA(hwnd, WM_APP, 0, 0);
        ms = WaitPainted(pi.dwProcessId, rows, start);
    }
    EndProcess(pi);
    return ms;
}

static double TimeLogViewer(HWND agent, DWORD agentPid)
{
    LARGE_INTEGER start;
    QueryPerformanceCounter(&start);
    PostMessageA(agent, WM_COMMAND, IDM_VIEWLOG, 0);
    HWND list = NULL;
    double ms = WaitPainted(agentPid, kLogEntries, start, &list);
    if (list)
    {
        HWND dialog = GetAncestor(list, GA_ROOT);
        PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
        for (DWORD begin = GetTickCount(); IsWindow(dialog) && GetTickCount() - begin < 10000;)
            Sleep(5);
    }
    return ms;
}

// --- Figures ---------------------------------------------------------------------

static double Median(std::vector<double> v)
{
    if (v.empty())
        return -1;
    std::sort(v.begin(), v.end());
    size_t n = v.size();
    return n % 2 ? v[n / 2] : (v[n / 2 - 1] + v[n / 2]) / 2;
}

static void PrintRuns(const char* label, const char* who, const std::vector<double>& v)
{
    printf("%s  %-6s runs ms:", label, who);
    for (double ms : v)
        printf(" %.0f", ms);
    printf("\n");
}

static bool Report(const char* label, const std::vector<double>& prog, const std::vector<double>& floor)
{
    PrintRuns(label, "prog", prog);
    PrintRuns(label, "floor", floor);
    bool failed =
        std::count(prog.begin(), prog.end(), -1.0) + std::count(floor.begin(), floor.end(), -1.0) > 0;
    double p = Median(prog), f = Median(floor);
    double ratio = f > 0 ? p / f : 0;
    printf("figure: %-40s %7.0f ms / floor %6.0f ms = %.2f   goal <= 1.5  %s\n", label, p, f, ratio,
           failed         ? "FAILED (a run timed out)"
           : ratio <= 1.5 ? "met"
                          : "NOT MET");
    fflush(stdout);
    return !failed;
}

int main(int argc, char** argv)
{
    if (argc < 5 || argc > 6 || atoi(argv[1]) <= 0)
    {
        fprintf(stderr, "usage: editors_driver RUNS BIN_FOLDER WORK_FOLDER FLOOR_EXE [ONLY]\n");
        return 2;
    }
    int runs = atoi(argv[1]);
    g_bin = argv[2];
    g_work = argv[3];
    g_floor = argv[4];
    // ONLY: just the cases whose label holds this text.
    const char* only = argc > 5 ? argv[5] : "";
    // A fresh prefix has no files folder until a program's first start.
    char folder[MAX_PATH];
    if (GetMyTarvinFilesFolder(folder, ""))
        CreateDirectoryA(folder, NULL);
    const char* failed = !QuietStarts()       ? "settings"
                         : !PrepareLaunch()   ? "launch file"
                         : !PrepareMenu()     ? "menu"
                         : !PrepareSchedule() ? "schedule"
                         : !PrepareLog()      ? "log"
                                              : nullptr;
    if (failed)
    {
        fprintf(stderr, "editors_driver: the %s could not be written\n", failed);
        return 1;
    }
    struct Case
    {
        const char* label;
        std::string command;
        const char* rows;
        int count;
    } cases[] = {
        {"tvedit 5,000-line launch file",
         "\"" + Path(g_bin, "tvedit.exe") + "\" -file=\"" + Path(g_work, "big.launch") + "\"",
         "rows-launch.txt", kLaunchLines},
        {"tvmedit 2,000-entry menu",
         "\"" + Path(g_bin, "tvmedit.exe") + "\" -file=\"" + Path(g_work, "big.menu") + "\"", "rows-menu.txt",
         kMenuEntries},
        {"tvsched 1,000-task schedule", "\"" + Path(g_bin, "tvsched.exe") + "\"", "rows-sched.txt", kTasks},
    };
    bool ok = true;
    for (const Case& c : cases)
    {
        if (!strstr(c.label, only))
            continue;
        std::vector<double> prog, floor;
        std::string floorCmd = "\"" + g_floor + "\" " + Path(g_work, c.rows);
        // One warm-up start of each, not counted.
        TimeStart(c.command, c.count);
        TimeStart(floorCmd, c.count);
        for (int i = 0; i < runs; i++)
        {
            prog.push_back(TimeStart(c.command, c.count));
            floor.push_back(TimeStart(floorCmd, c.count));
        }
        ok = Report(c.label, prog, floor) && ok;
    }

    if (!strstr("agent log viewer", only))
        return ok ? 0 : 1;
    PROCESS_INFORMATION agentPi;
    LARGE_INTEGER start;
    HWND agent = NULL;
    if (Start("\"" + Path(g_bin, "tvagent.exe") + "\"", &agentPi, &start))
    {
        for (DWORD begin = GetTickCount(); !agent && GetTickCount() - begin < kTimeoutMs; Sleep(10))
            agent = FindWindowA(AGENT_WINDOW_CLASS, NULL);
    }
    if (!agent)
    {
        fprintf(stderr, "editors_driver: the agent did not start\n");
        return 1;
    }
    std::vector<double> prog, floor;
    TimeLogViewer(agent, agentPi.dwProcessId);
    TimeFloorOnMessage(Path(g_work, "rows-log.txt"), kLogEntries);
    for (int i = 0; i < runs; i++)
    {
        prog.push_back(TimeLogViewer(agent, agentPi.dwProcessId));
        floor.push_back(TimeFloorOnMessage(Path(g_work, "rows-log.txt"), kLogEntries));
    }
    ok = Report("agent log viewer, full log (9,999)", prog, floor) && ok;
    PostMessageA(agent, WM_COMMAND, IDM_EXIT, 0);
    if (WaitForSingleObject(agentPi.hProcess, 15000) != WAIT_OBJECT_0)
        TerminateProcess(agentPi.hProcess, 1);
    CloseHandle(agentPi.hProcess);
    CloseHandle(agentPi.hThread);
    return ok ? 0 : 1;
}

// tvstress: the Windows half of tools/stress. Each command runs one
// reliability scenario against the real programs beside it (tvint, tvagent,
// tvedit, tvmedit, tvsched, with tvtarget as the user's windows), prints one
// line of figures and exits 0 when nothing was lost, 1 when something was,
// 2 when the scenario could not be set up.
//
//   tvstress requests -work=DIR [-interpreters=4] [-lines=N]
//   tvstress kills    -work=DIR [-n=N] [-seed=S]
//   tvstress writers  -work=DIR [-n=N]
//   tvstress damaged  -work=DIR -corpus=DIR [-n=N] [-seed=S]
//   tvstress readonly -work=DIR          (DIR\files made read-only by the caller)
//   tvstress prepare  -work=DIR          (the files "readonly" opens)
//
// DIR is a scratch folder; the files folder is DIR\files. The settings the
// programs read go into this prefix's registry.
#include <windows.h>
#include <stdio.h>
#include <stdlib.h>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "support/tvdriver/driver.h"
#include "support/tvtarget/tvtarget.h"
#include "ScheduledTask.h"
#include "agentproto.h"
#include "hiddenjournal.h"
#include "keysfile.h"
#include "logline.h"
#include "strutils.h"

namespace
{
const DWORD kTimeout = 20000;
const char kSuiteKey[] = "Software\\Norvale\\Tarvin 2";
const char kScheduleChanged[] = "FD891CBC-B188-4471-B9A5-CE617A9005CB";
const int kAgentExit = 200;
const int kEditSave = 2004;
const int kMeditSave = 405;
const int kSchedUpdate = 417;

int g_argc;
char** g_argv;
std::string g_work, g_files;

const char* Opt(const char* name)
{
    size_t len = strlen(name);
    for (int i = 2; i < g_argc; i++)
        if (g_argv[i][0] == '-' && strncmp(g_argv[i] + 1, name, len) == 0 && g_argv[i][1 + len] == '=')
            return g_argv[i] + len + 2;
    return NULL;
}

int OptInt(const char* name, int fallback)
{
    const char* v = Opt(name);
    return v && *v ? atoi(v) : fallback;
}

std::string ReadBytes(const std::string& path)
{
    std::string bytes;
    HANDLE h = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                           NULL, OPEN_EXISTING, 0, NULL);
    if (h == INVALID_HANDLE_VALUE)
        return bytes;
    char buf[65536];
    DWORD got;
    while (ReadFile(h, buf, sizeof(buf), &got, NULL) && got)
        bytes.append(buf, got);
    CloseHandle(h);
    return bytes;
}

bool WriteBytes(const std::string& path, const std::string& bytes)
{
    HANDLE h = CreateFileA(path.c_str(), GENERIC_WRITE, 0, NULL, CREATE_ALWAYS, 0, NULL);
    if (h == INVALID_HANDLE_VALUE)
        return false;
    DWORD put = 0;
    bool ok = WriteFile(h, bytes.data(), (DWORD)bytes.size(), &put, NULL) && put == bytes.size();
    CloseHandle(h);
    return ok;
}

std::vector<std::string> Lines(const std::string& text)
{
    std::vector<std::string> lines;
    size_t at = 0;
    while (at < text.size())
    {
        size_t end = text.find('\n', at);
        if (end == std::string::npos)
            end = text.size();
        std::string line = text.substr(at, end - at);
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        lines.push_back(line);
        at = end + 1;
    }
    return lines;
}

std::string File(const char* name)
{
    return g_files + "\\" + name;
}

std::string Program(const char* name)
{
    char path[MAX_PATH] = "";
    DrvProgramPath(name, path, sizeof(path));
    return path;
}

void SetDword(const char* sub, const char* name, DWORD value)
{
    std::string key = std::string(kSuiteKey) + (sub[0] ? "\\" : "") + sub;
    HKEY h;
    if (RegCreateKeyExA(HKEY_CURRENT_USER, key.c_str(), 0, NULL, 0, KEY_SET_VALUE, NULL, &h, NULL) != 0)
        return;
    RegSetValueExA(h, name, 0, REG_DWORD, (const BYTE*)&value, sizeof(value));
    RegCloseKey(h);
}

void SetString(const char* name, const std::string& value)
{
    HKEY h;
    if (RegCreateKeyExA(HKEY_CURRENT_USER, kSuiteKey, 0, NULL, 0, KEY_SET_VALUE, NULL, &h, NULL) != 0)
        return;
    RegSetValueExA(h, name, 0, REG_SZ, (const BYTE*)value.c_str(), (DWORD)value.size() + 1);
    RegCloseKey(h);
}

// A files folder of its own and every program set up so that nothing waits
// for a user: no splash, wizard, tips or start-up dialogs.
void SetUpFilesFolder()
{
    CreateDirectoryA(g_work.c_str(), NULL);
    CreateDirectoryA(g_files.c_str(), NULL);
    SetString("Files Folder", g_files);
    SetDword("", "First Run", 0);
    SetDword("Agent", "No Splash", 1);
    SetDword("Agent", "Show Wizard", 0);
    SetDword("Agent", "Exit Message", 0);
    SetDword("Agent", "Log File", 100);
    SetDword("Interpreter", "Show Status", 0);
    SetDword("Interpreter", "Confirm Exit", 0);
    for (const char* editor : {"Editor", "Menu Editor", "Scheduler"})
    {
        SetDword(editor, "Show Tips", 0);
        SetDword(editor, "Show Startup", 0);
    }
    SetDword("Editor", "Add Shortcuts", 0);
    if (GetFileAttributesA(File("Tarvin.log").c_str()) == INVALID_FILE_ATTRIBUTES)
        WriteBytes(File("Tarvin.log"), "<?TarvinLogFile version='1.00'?>\r\n");
    if (GetFileAttributesA(File("Tarvin Keys.keys").c_str()) == INVALID_FILE_ATTRIBUTES)
        WriteBytes(File("Tarvin Keys.keys"), KEYSFILE_HEADER "\r\n");
}

// Waits for cond with this thread's messages pumped (the schedule-changed
// counter below lives on them).
bool Wait(const std::function<bool()>& cond, DWORD timeoutMs)
{
    DWORD start = GetTickCount();
    for (;;)
    {
        MSG msg;
        while (PeekMessageA(&msg, NULL, 0, 0, PM_REMOVE))
            DispatchMessageA(&msg);
        if (cond())
            return true;
        if (GetTickCount() - start >= timeoutMs)
            return false;
        Sleep(20);
    }
}

// --- Message boxes -------------------------------------------------------

// A ready message box (or any dialog with that caption) of the process.
HWND FindBox(DWORD pid, const char* caption = NULL)
{
    HWND found[8];
    int n = DrvFindWindows(DrvQuery("#32770", caption, TVD_MATCH_EXACT, pid), found, 8);
    for (int i = 0; i < n && i < 8; i++)
        if (IsWindowVisible(found[i]) && DrvIsReady(found[i], 500))
            return found[i];
    return NULL;
}

// Answers the box: No where it has one (go on without the failed step),
// else OK. Its text, first line only.
std::string AnswerBox(HWND box, int prefer = IDNO)
{
    char text[1024] = "";
    DrvMessageBoxText(box, text, sizeof(text));
    DrvPressButton(box, DrvFindChildById(box, prefer) ? prefer : IDOK);
    DrvWaitDestroyed(box, 5000);
    std::string first = text;
    return first.substr(0, first.find('\n'));
}

// --- The agent and the user's windows --------------------------------------

HWND FindAgent()
{
    DrvWindowQuery q = DrvQuery(AGENT_WINDOW_CLASS, NULL);
    q.includeHidden = true;
    return DrvFindWindow(q);
}

void KillProcess(DWORD pid)
{
    HANDLE h = OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, pid);
    if (!h)
        return;
    TerminateProcess(h, 1);
    WaitForSingleObject(h, kTimeout);
    CloseHandle(h);
}

// Ends every agent of the prefix: Exit first, then by force.
void EndAgent()
{
    HWND agent = FindAgent();
    if (!agent)
        return;
    DWORD pid = DrvWindowProcess(agent);
    // Its window goes before the process ends: what it saves at exit may
    // still be on its way, so the process itself is waited for.
    HANDLE process = OpenProcess(SYNCHRONIZE, FALSE, pid);
    PostMessageA(agent, WM_COMMAND, kAgentExit, 0);
    if (!Wait([&]() { return !IsWindow(agent); }, 10000))
        KillProcess(pid);
    if (process)
    {
        WaitForSingleObject(process, 10000);
        CloseHandle(process);
    }
    Wait([&]() { return FindAgent() == NULL; }, 5000);
}

// Starts the agent and waits for its window; boxes it shows at start are
// answered and counted in *boxes (null: not counted).
std::unique_ptr<CDrvProcess> StartAgent(int* boxes = NULL)
{
    std::unique_ptr<CDrvProcess> agent(new CDrvProcess);
    if (!agent->Start(Program("tvagent.exe").c_str(), ""))
        return NULL;
    if (!Wait([&]() { return FindAgent() != NULL || !agent->IsRunning(); }, 60000) || !FindAgent())
        return NULL;
    // The window exists before the start steps end; it answers once they have.
    DrvIsReady(FindAgent(), 10000);
    while (HWND box = FindBox(agent->Pid()))
    {
        fprintf(stderr, "tvstress: agent at start: %s\n", AnswerBox(box, IDOK).c_str());
        if (boxes)
            (*boxes)++;
    }
    agent->Detach();
    return agent;
}

std::unique_ptr<CDrvProcess> StartTarget(const std::string& title, const std::string& extra = "")
{
    std::unique_ptr<CDrvProcess> target(new CDrvProcess);
    if (!target->Start(Program("tvtarget.exe").c_str(), ("-title=\"" + title + "\" " + extra).c_str()) ||
        DrvWaitWindow(DrvQuery(TARGET_CLASS, title.c_str()), kTimeout, NULL) != TVD_OK)
        return NULL;
    return target;
}

// Every top-level window of the process, hidden or not.
void WriteLaunch(const std::string& path, const std::vector<std::string>& lines)
{
    std::string text;
    for (const std::string& line : lines)
        text += line + "\r\n";
    WriteBytes(path, text);
}

// --- 1. Requests under load ---------------------------------------------------

// Interpreters at once, each running Hide/Show pairs on a window of its own
// against one agent with its log on: every line is two requests (the action
// and its log entry). A failed line is a box of an interpreter (the time-out
// question, answered No, or any error); a run is failed when its exit code
// is not 0; a window is lost when it is left hidden.
int Requests()
{
    int interpreters = OptInt("interpreters", 4), lines = OptInt("lines", 10) & ~1;
    SetUpFilesFolder();
    EndAgent();
    std::unique_ptr<CDrvProcess> agent = StartAgent();
    if (!agent)
    {
        printf("requests: the agent did not start\n");
        return 2;
    }
    std::vector<std::unique_ptr<CDrvProcess>> targets, runs;
    std::vector<HWND> windows;
    for (int i = 0; i < interpreters; i++)
    {
        std::string title = "stress window " + std::to_string(i);
        targets.push_back(StartTarget(title));
        HWND w = DrvFindWindow(DrvQuery(TARGET_CLASS, title.c_str()));
        if (!targets.back() || !w)
        {
            printf("requests: tvtarget did not start\n");
            return 2;
        }
        windows.push_back(w);
        std::vector<std::string> file;
        for (int k = 0; k < lines; k++)
            file.push_back(std::string(k % 2 ? "Show" : "Hide") + " \"" + title + "\"");
        std::string path = g_work + "\\requests " + std::to_string(i) + ".launch";
        WriteLaunch(path, file);
        runs.emplace_back(new CDrvProcess);
    }
    for (int i = 0; i < interpreters; i++)
        runs[i]->Start(Program("tvint.exe").c_str(),
                       ("-file=\"" + g_work + "\\requests " + std::to_string(i) + ".launch\"").c_str());

    int failedLines = 0, failedRuns = 0, hung = 0;
    std::string firstBox;
    // Generous: every line may time out once and be answered.
    DWORD deadline = GetTickCount() + 60000 + (DWORD)lines * 4000;
    for (int i = 0; i < interpreters; i++)
    {
        DWORD code = 0;
        while (runs[i]->WaitExit(50, &code) == TVD_TIMEOUT)
        {
            for (int j = 0; j < interpreters; j++)
                if (HWND box = runs[j]->IsRunning() ? FindBox(runs[j]->Pid()) : NULL)
                {
                    std::string text = AnswerBox(box);
                    if (firstBox.empty())
                        firstBox = text;
                    failedLines++;
                }
            if ((LONG)(GetTickCount() - deadline) > 0)
                break;
        }
        if (runs[i]->IsRunning())
        {
            hung++;
            runs[i]->Kill();
        }
        else if (code != 0)
            failedRuns++;
    }
    int hidden = 0;
    for (HWND w : windows)
        if (!Wait([&]() { return IsWindowVisible(w) != FALSE; }, 2000))
            hidden++;
    EndAgent();
    int requests = interpreters * lines * 2;
    printf("requests: %d interpreters x %d Hide/Show lines with logging, %d requests: %d failed lines, %d "
           "runs with a non-zero exit, %d hung, %d windows left hidden%s%s\n",
           interpreters, lines, requests, failedLines, failedRuns, hung, hidden,
           firstBox.empty() ? "" : "; first box: ", firstBox.c_str());
    return failedLines || failedRuns || hung || hidden ? 1 : 0;
}

// --- File checks ------------------------------------------------------------

// The number of keys, or -1 when the file is not a whole keys file.
int LoadKeys(const std::string& path)
{
    std::vector<std::string> lines = Lines(ReadBytes(path));
    if (lines.empty() || !ReadKeysHeader(lines[0].c_str()))
        return -1;
    int keys = 0;
    for (size_t i = 1; i < lines.size(); i++)
    {
        tagKEY_LINE key;
        if (lines[i].empty())
            continue;
        if (!ReadKeyLine(lines[i].c_str(), &key))
            return -1;
        keys++;
    }
    return keys;
}

// The number of entries, or -1 when the file is not a whole log.
int LoadLog(const std::string& path)
{
    std::vector<std::string> lines = Lines(ReadBytes(path));
    if (lines.empty() || ReadLogHeader(lines[0].c_str()) != 0)
        return -1;
    int entries = 0;
    for (size_t i = 1; i < lines.size(); i++)
    {
        tagLOG_LINE item;
        if (lines[i].empty())
            continue;
        if (!ReadLogItemLine(lines[i].c_str(), false, &item))
            return -1;
        entries++;
    }
    return entries;
}

void CountWindow(const tagHIDDEN_LINE&, void* count)
{
    (*(int*)count)++;
}

// Windows listed, -1 when the journal is not whole; a missing one is empty.
int LoadJournal(const std::string& path)
{
    if (GetFileAttributesA(path.c_str()) == INVALID_FILE_ATTRIBUTES)
        return 0;
    int count = 0;
    return ReadHiddenJournal(path.c_str(), CountWindow, &count) ? count : -1;
}

int LoadSchedule(const std::string& path, DWORD* runs = NULL)
{
    CSTaskList tasks;
    if (!tasks.Load(path.c_str()))
        return -1;
    if (runs && tasks.GetCount() > 0)
        *runs = tasks.GetAt(0)->GetRecurrenceCount();
    return tasks.GetCount();
}

// Temporary files of a save left in the files folder.
int CountTempFiles()
{
    WIN32_FIND_DATAA fd;
    HANDLE h = FindFirstFileA(File("~tv*").c_str(), &fd);
    if (h == INVALID_HANDLE_VALUE)
        return 0;
    int n = 0;
    do
        n++;
    while (FindNextFileA(h, &fd));
    FindClose(h);
    return n;
}

void RemoveTempFiles()
{
    WIN32_FIND_DATAA fd;
    HANDLE h = FindFirstFileA(File("~tv*").c_str(), &fd);
    if (h == INVALID_HANDLE_VALUE)
        return;
    do
        DeleteFileA(File(fd.cFileName).c_str());
    while (FindNextFileA(h, &fd));
    FindClose(h);
}

CTime MinutesFromNow(int minutes)
{
    SYSTEMTIME st;
    GetLocalTime(&st);
    st.wSecond = st.wMilliseconds = 0;
    FILETIME ft;
    SystemTimeToFileTime(&st, &ft);
    ULARGE_INTEGER v = {{ft.dwLowDateTime, ft.dwHighDateTime}};
    v.QuadPart += (LONGLONG)minutes * 60 * 10000000LL;
    ft.dwLowDateTime = v.LowPart;
    ft.dwHighDateTime = v.HighPart;
    FileTimeToSystemTime(&ft, &st);
    CTime t;
    t.Set(&st);
    return t;
}

// A schedule of a start-up task (run and saved at every agent start) that
// starts a hidden tvtarget, and an inactive daily task.
bool WriteSchedule()
{
    CSTaskList tasks;
    for (int i = 0; i < 2; i++)
    {
        CSTask* task = new CSTask();
        task->SetName(i ? "stress idle" : "stress startup");
        task->SetActive(i ? 0 : 1);
        CSTRecRule* rule = task->AddRecurrenceRule();
        rule->type = i ? ST_TYPE_PERIODIC : ST_TYPE_EVENT;
        rule->subtype = i ? (DWORD)ST_PERIOD_DAYS : (DWORD)ST_EVENT_STARTUP;
        rule->data = 1;
        rule->time = MinutesFromNow(24 * 60);
        if (i)
            task->SetScheduledTime(rule->time);
        task->SetAction(Program("tvtarget.exe").c_str(), g_files.c_str(), "-hidden -title=\"stress task\"",
                        SW_HIDE);
        tasks.AddTask(task);
    }
    return tasks.Save(File("Tarvin Schedule.dat").c_str()) != 0;
}

void KeysFile(int count)
{
    std::string text = KEYSFILE_HEADER "\r\n";
    for (int i = 0; i < count; i++)
    {
        tagKEY_LINE key = {VK_F5 + i, KEYMOD_CONTROL | KEYMOD_ALT, KEYACT_SHOW_ALL, ""};
        char line[KEY_LINE_SIZE];
        FormatKeyLine(line, sizeof(line), &key);
        text += std::string(line) + "\r\n";
    }
    WriteBytes(File("Tarvin Keys.keys"), text);
}

// Closes the hidden tvtarget windows the start-up task left.
void CloseTaskWindows()
{
    DrvWindowQuery q = DrvQuery(TARGET_CLASS, "stress task");
    q.includeHidden = true;
    HWND found[32];
    int n = DrvFindWindows(q, found, 32);
    for (int i = 0; i < n && i < 32; i++)
        KillProcess(DrvWindowProcess(found[i]));
}

// --- 2. The agent killed during its saves -----------------------------------

// Each round kills the agent by TerminateProcess at a random moment of one
// of three busy times, then checks every file it writes and starts it again:
//   0. interpreters making it hide and show a window (journal, log);
//   1. its exit (keys, journal, log);
//   2. its start (start-up task run and the schedule saved, log).
// Damaged: a file that does not load whole, or lost keys or tasks. Lost
// window: one it had hidden that is not visible after the restart.
int Kills()
{
    int rounds = OptInt("n", 6);
    srand((unsigned)OptInt("seed", (int)GetTickCount()));
    const int kKeys = 3;
    SetUpFilesFolder();
    EndAgent();
    KeysFile(kKeys);
    if (!WriteSchedule())
    {
        printf("kills: the schedule could not be written\n");
        return 2;
    }
    std::unique_ptr<CDrvProcess> target = StartTarget("stress kill", "-owned=\"stress kill tool\"");
    if (!target || DrvWaitWindow(DrvQuery(TARGET_TOOL_CLASS, "stress kill tool"), kTimeout, NULL) != TVD_OK)
    {
        printf("kills: tvtarget did not start\n");
        return 2;
    }
    HWND mainWindow = DrvFindWindow(DrvQuery(TARGET_CLASS, "stress kill"));
    HWND toolWindow = DrvFindWindow(DrvQuery(TARGET_TOOL_CLASS, "stress kill tool"));
    std::string launch = g_work + "\\kills.launch";
    std::vector<std::string> lines;
    for (int k = 0; k < 200; k++)
        lines.push_back(k % 2 ? "Show \"stress kill\"" : "Hide \"stress kill\"");
    WriteLaunch(launch, lines);

    int damaged = 0, hidden = 0, complaints = 0, failedStarts = 0, temps = 0, listed = 0;
    DWORD startupRuns = 0;
    int kills[3] = {0, 0, 0};
    std::string firstDamage;
    std::unique_ptr<CDrvProcess> agent = StartAgent(&complaints);
    for (int round = 0; round < rounds; round++)
    {
        int mode = round % 3;
        std::unique_ptr<CDrvProcess> run;
        HWND window = FindAgent();
        DWORD pid = window ? DrvWindowProcess(window) : 0;
        if (mode == 0)
        {
            run.reset(new CDrvProcess);
            run->Start(Program("tvint.exe").c_str(), ("-file=\"" + launch + "\"").c_str());
            Sleep(200 + rand() % 1500);
        }
        else if (mode == 1)
        {
            PostMessageA(window, WM_COMMAND, kAgentExit, 0);
            Sleep(rand() % 300);
        }
        else
        {
            KillProcess(pid);
            CDrvProcess starting;
            starting.Start(Program("tvagent.exe").c_str(), "");
            pid = starting.Pid();
            Wait([&]() { return FindAgent() != NULL; }, kTimeout);
            Sleep(rand() % 400);
            starting.Detach();
        }
        KillProcess(pid);
        kills[mode]++;
        if (run)
            run->Kill();
        Wait([&]() { return FindAgent() == NULL; }, 5000);

        int keys = LoadKeys(File("Tarvin Keys.keys")), log = LoadLog(File("Tarvin.log"));
        int journal = LoadJournal(File(HIDDENFILE_NAME));
        int schedule = LoadSchedule(File("Tarvin Schedule.dat"), &startupRuns);
        listed += journal > 0 ? 1 : 0;
        fprintf(
            stderr,
            "tvstress: round %d (kill %d): keys %d, log %d, journal %d, schedule %d (start-up runs %lu)\n",
            round, mode, keys, log, journal, schedule, (unsigned long)startupRuns);
        if (keys != kKeys || log < 0 || journal < 0 || schedule != 2)
        {
            damaged++;
            if (firstDamage.empty())
                firstDamage = "keys " + std::to_string(keys) + ", log " + std::to_string(log) + ", journal " +
                              std::to_string(journal) + ", schedule " + std::to_string(schedule);
        }
        temps += CountTempFiles();
        RemoveTempFiles();
        agent = StartAgent(&complaints);
        if (!agent)
        {
            failedStarts++;
            continue;
        }
        auto shown = [&]() {
            return (IsWindowVisible(mainWindow) ? 1 : 0) + (IsWindowVisible(toolWindow) ? 2 : 0);
        };
        if (!Wait([&]() { return shown() == 3; }, 5000))
        {
            int now = shown();
            hidden += (now & 1 ? 0 : 1) + (now & 2 ? 0 : 1);
            fprintf(stderr,
                    "tvstress: round %d (kill %d): after the restart the window is %s, its tool window %s; "
                    "%d listed at the kill\n",
                    round, mode, now & 1 ? "visible" : "hidden", now & 2 ? "visible" : "hidden", journal);
            // Brought back for the next round.
            ShowWindowAsync(mainWindow, SW_SHOWNA);
            ShowWindowAsync(toolWindow, SW_SHOWNA);
            Wait([&]() { return shown() == 3; }, 5000);
        }
        CloseTaskWindows();
    }
    EndAgent();
    CloseTaskWindows();
    printf(
        "kills: %d kills (%d during requests, %d during exit, %d during start and schedule save): %d with "
        "damaged files, %d windows left hidden after restart, %d agent starts failed, %d boxes at restart, "
        "%d temporary files left by the killed saves (%d kills with windows listed hidden, %lu start-up "
        "runs saved)%s%s\n",
        rounds, kills[0], kills[1], kills[2], damaged, hidden, failedStarts, complaints, temps, listed,
        (unsigned long)startupRuns, firstDamage.empty() ? "" : "; first damage: ", firstDamage.c_str());
    return damaged || hidden || failedStarts || complaints ? 1 : 0;
}

// --- 3. Two writers -------------------------------------------------------------

// A hidden window that counts the schedule-changed broadcasts: each
// successful schedule save (the scheduler's Update, the agent's save after a
// run) sends one.
UINT g_msgChanged;
int g_changed;

LRESULT CALLBACK CounterProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    if (msg == g_msgChanged && msg)
        g_changed++;
    return DefWindowProcA(hwnd, msg, wParam, lParam);
}

HWND MakeCounter()
{
    g_msgChanged = RegisterWindowMessageA(kScheduleChanged);
    WNDCLASSA wc = {};
    wc.lpfnWndProc = CounterProc;
    wc.hInstance = GetModuleHandleA(NULL);
    wc.lpszClassName = "TVStressCounter";
    RegisterClassA(&wc);
    return CreateWindowA(wc.lpszClassName, "tvstress", WS_OVERLAPPED, 0, 0, 10, 10, NULL, NULL, wc.hInstance,
                         NULL);
}

// One editor on one file, saving on command. The file on disk is replaced
// behind it by other bytes with the same write time (so it sees no outside
// change); after the save the file must hold the editor's bytes again, or a
// box must have said why not.
struct EditorSave
{
    const char* exe;
    const char* mainClass;
    int saveCommand;
    std::string path;
    std::string content;
    std::unique_ptr<CDrvProcess> process;
    HWND main;
};

bool StartEditor(EditorSave& ed, const std::string& args)
{
    ed.process.reset(new CDrvProcess);
    ed.main = NULL;
    return ed.process->Start(Program(ed.exe).c_str(), args.c_str()) &&
           DrvWaitWindow(DrvQuery(ed.mainClass, NULL, TVD_MATCH_EXACT, ed.process->Pid()), kTimeout,
                         &ed.main) == TVD_OK &&
           DrvIsReady(ed.main, kTimeout);
}

void ReplaceKeepingTime(const std::string& path, const std::string& bytes)
{
    HANDLE h = CreateFileA(path.c_str(), GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ, NULL, OPEN_EXISTING,
                           0, NULL);
    if (h == INVALID_HANDLE_VALUE)
        return;
    FILETIME written;
    GetFileTime(h, NULL, NULL, &written);
    DWORD put;
    SetFilePointer(h, 0, NULL, FILE_BEGIN);
    WriteFile(h, bytes.data(), (DWORD)bytes.size(), &put, NULL);
    SetEndOfFile(h);
    SetFileTime(h, NULL, NULL, &written);
    CloseHandle(h);
}

void CloseEditor(EditorSave& ed)
{
    if (!ed.process || !ed.process->IsRunning())
        return;
    PostMessageA(ed.main, WM_CLOSE, 0, 0);
    DWORD start = GetTickCount();
    while (ed.process->WaitExit(50) == TVD_TIMEOUT && GetTickCount() - start < 10000)
        if (HWND box = FindBox(ed.process->Pid()))
            AnswerBox(box);
    ed.process->Kill();
}

// The scheduler's Update, the agent's save after a run (a start-up task at
// its start) and two launch file editors' saves into the files folder, all
// posted at one moment, N times.
int Writers()
{
    int rounds = OptInt("n", 3);
    SetUpFilesFolder();
    EndAgent();
    if (!WriteSchedule())
    {
        printf("writers: the schedule could not be written\n");
        return 2;
    }
    HWND counter = MakeCounter();
    EditorSave eds[3] = {
        {"tvedit.exe", "_TVEDIT_MAINWND", kEditSave, File("first.launch"), "", NULL, NULL},
        {"tvedit.exe", "_TVEDIT_MAINWND", kEditSave, File("second.launch"), "", NULL, NULL},
        {"tvsched.exe", "_TVSCHED_MAINWND", kSchedUpdate, File("Tarvin Schedule.dat"), "", NULL, NULL}};
    WriteLaunch(eds[0].path, {"Message \"first\""});
    WriteLaunch(eds[1].path, {"Message \"second\""});
    for (int i = 0; i < 3; i++)
    {
        if (!StartEditor(eds[i], i < 2 ? "-file='" + eds[i].path + "'" : ""))
        {
            printf("writers: %s did not start\n", eds[i].exe);
            return 2;
        }
    }
    // What each editor writes: its first save, unraced.
    for (int i = 0; i < 2; i++)
    {
        ReplaceKeepingTime(eds[i].path, "// replaced behind the editor\r\n");
        PostMessageA(eds[i].main, WM_COMMAND, eds[i].saveCommand, 0);
        Wait([&]() { return ReadBytes(eds[i].path).find("replaced") == std::string::npos; }, kTimeout);
        eds[i].content = ReadBytes(eds[i].path);
    }
    int saves = 0, withBox = 0, silent = 0, agentSilent = 0, temps = 0, damaged = 0;
    std::string firstBox;
    for (int round = 0; round < rounds; round++)
    {
        for (int i = 0; i < 2; i++)
            ReplaceKeepingTime(eds[i].path, "// replaced behind the editor\r\n");
        Wait([]() { return false; }, 50);
        g_changed = 0;
        CDrvProcess agent;
        agent.Start(Program("tvagent.exe").c_str(), "");
        for (int i = 0; i < 3; i++)
            PostMessageA(eds[i].main, WM_COMMAND, eds[i].saveCommand, 0);
        saves += 4;
        Wait([&]() { return FindAgent() != NULL; }, kTimeout);
        // Each editor has saved, or shows why not.
        for (int i = 0; i < 2; i++)
            Wait([&]() { return ReadBytes(eds[i].path) == eds[i].content || FindBox(eds[i].process->Pid()); },
                 kTimeout);
        Wait([&]() { return g_changed >= 2 || FindBox(eds[2].process->Pid()); }, 5000);
        int boxes = 0, schedBoxes = 0;
        bool reported[2] = {false, false};
        for (int i = 0; i < 3; i++)
            while (HWND box = FindBox(eds[i].process->Pid()))
            {
                std::string text = AnswerBox(box, IDOK);
                fprintf(stderr, "tvstress: round %d: %s: %s\n", round, eds[i].exe, text.c_str());
                if (firstBox.empty())
                    firstBox = std::string(eds[i].exe) + ": " + text;
                boxes++;
                if (i < 2)
                    reported[i] = true; // this round's file is not checked
                else
                    schedBoxes++;
            }
        withBox += boxes;
        for (int i = 0; i < 2; i++)
            if (!reported[i] && ReadBytes(eds[i].path) != eds[i].content)
            {
                fprintf(stderr, "tvstress: round %d: %s lost its save without a box\n", round, eds[i].exe);
                silent++;
            }
        // The scheduler's and the agent's save each announce themselves; a
        // scheduler box accounts for its own.
        int expected = 2 - (schedBoxes ? 1 : 0);
        Wait([&]() { return g_changed >= expected; }, 3000);
        if (g_changed < expected)
        {
            fprintf(stderr, "tvstress: round %d: %d schedule saves announced, %d expected\n", round,
                    g_changed, expected);
            agentSilent += expected - g_changed;
        }
        if (LoadSchedule(File("Tarvin Schedule.dat")) != 2)
            damaged++;
        EndAgent();
        CloseTaskWindows();
        temps += CountTempFiles();
        RemoveTempFiles();
    }
    for (EditorSave& ed : eds)
        CloseEditor(ed);
    DestroyWindow(counter);
    printf("writers: %d rounds of 4 saves at once (2 tvedit, tvsched Update, agent after a start-up run), %d "
           "saves: %d failed with a box, %d editor saves lost without a box, %d schedule saves missing "
           "without a "
           "box, %d damaged schedules, %d temporary files left%s%s\n",
           rounds, saves, withBox, silent, agentSilent, damaged, temps,
           firstBox.empty() ? "" : "; first box: ", firstBox.c_str());
    return withBox || silent || agentSilent || damaged || temps ? 1 : 0;
}

// --- 4. Damaged files in the editors ------------------------------------------

std::vector<std::string> CorpusFiles(const std::string& folder)
{
    std::vector<std::string> files;
    WIN32_FIND_DATAA fd;
    HANDLE h = FindFirstFileA((folder + "\\*").c_str(), &fd);
    if (h == INVALID_HANDLE_VALUE)
        return files;
    do
        if (!(fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
            files.push_back(folder + "\\" + fd.cFileName);
    while (FindNextFileA(h, &fd));
    FindClose(h);
    return files;
}

// A damaged copy of a seed: cut, doubled, bytes overwritten, or noise.
std::string Damage(const std::string& seed, int how)
{
    std::string bytes = seed;
    switch (how % 4)
    {
        case 0:
            bytes.resize(bytes.empty() ? 0 : (size_t)rand() % bytes.size());
            break;
        case 1:
            bytes += seed;
            break;
        case 2:
            for (int i = 0, n = 1 + rand() % 16; i < n && !bytes.empty(); i++)
                bytes[(size_t)rand() % bytes.size()] = (char)(rand() % 256);
            break;
        default:
            bytes.resize((size_t)(rand() % 4096));
            for (char& c : bytes)
                c = (char)(rand() % 256);
            break;
    }
    return bytes;
}

struct DamageCounts
{
    int opened = 0, crashes = 0, hangs = 0, boxes = 0, silentExits = 0, emptyBoxes = 0, changed = 0;
};

// Opens one damaged file and closes the editor without saving.
void OpenDamaged(EditorSave& ed, const std::string& args, DamageCounts& c)
{
    std::string before = ReadBytes(ed.path);
    ed.process.reset(new CDrvProcess);
    if (!ed.process->Start(Program(ed.exe).c_str(), args.c_str()))
        return;
    c.opened++;
    HWND main = NULL;
    bool answered = false;
    DWORD start = GetTickCount();
    // Ready: the main window answers and no box is up, or the program ended.
    while (GetTickCount() - start < kTimeout)
    {
        if (HWND box = FindBox(ed.process->Pid()))
        {
            char text[1024] = "";
            DrvMessageBoxText(box, text, sizeof(text));
            c.boxes++;
            if (!text[0])
                c.emptyBoxes++;
            AnswerBox(box, IDNO);
            answered = true;
            continue;
        }
        if (!ed.process->IsRunning())
            break;
        main = DrvFindWindow(DrvQuery(ed.mainClass, NULL, TVD_MATCH_EXACT, ed.process->Pid()));
        if (main && IsWindowVisible(main) && DrvIsReady(main, 500) && !FindBox(ed.process->Pid()))
            break;
        main = NULL;
        Sleep(20);
    }
    DWORD code = 0;
    if (!ed.process->IsRunning())
    {
        ed.process->WaitExit(1000, &code);
        if (code >= 0xC0000000)
            c.crashes++;
        else if (!answered)
            c.silentExits++;
    }
    else if (!main)
    {
        c.hangs++;
        ed.process->Kill();
    }
    else
    {
        ed.main = main;
        PostMessageA(main, WM_CLOSE, 0, 0);
        DWORD closing = GetTickCount();
        while (ed.process->WaitExit(50, &code) == TVD_TIMEOUT && GetTickCount() - closing < kTimeout)
            if (HWND box = FindBox(ed.process->Pid()))
                AnswerBox(box, IDNO);
        if (ed.process->IsRunning())
        {
            c.hangs++;
            ed.process->Kill();
        }
        else if (code >= 0xC0000000)
            c.crashes++;
    }
    if (ReadBytes(ed.path) != before)
        c.changed++;
}

int Damaged()
{
    int count = OptInt("n", 4);
    srand((unsigned)OptInt("seed", (int)GetTickCount()));
    const char* corpus = Opt("corpus");
    if (!corpus)
    {
        printf("damaged: no -corpus folder\n");
        return 2;
    }
    SetUpFilesFolder();
    EndAgent();
    struct
    {
        const char* corpus;
        EditorSave ed;
    } editors[] = {
        {"launchfile", {"tvedit.exe", "_TVEDIT_MAINWND", 0, File("damaged.launch"), "", NULL, NULL}},
        {"menu_read", {"tvmedit.exe", "_TVMEDIT_MAINWND", 0, File("damaged.menu"), "", NULL, NULL}},
        {"schedule_load",
         {"tvsched.exe", "_TVSCHED_MAINWND", 0, File("Tarvin Schedule.dat"), "", NULL, NULL}},
    };
    std::string figures;
    bool lost = false;
    for (auto& e : editors)
    {
        std::vector<std::string> seeds = CorpusFiles(std::string(corpus) + "\\" + e.corpus);
        if (seeds.empty())
        {
            printf("damaged: no seeds in %s\\%s\n", corpus, e.corpus);
            return 2;
        }
        DamageCounts c;
        for (int i = 0; i < count; i++)
        {
            // Each editor starts at another kind of damage, so that a short run still meets each.
            WriteBytes(e.ed.path,
                       Damage(ReadBytes(seeds[(size_t)rand() % seeds.size()]), i + (int)(&e - editors)));
            std::string args = strcmp(e.ed.exe, "tvedit.exe") == 0    ? "-file='" + e.ed.path + "'"
                               : strcmp(e.ed.exe, "tvmedit.exe") == 0 ? "-file=\"" + e.ed.path + "\""
                                                                      : "";
            OpenDamaged(e.ed, args, c);
        }
        char line[256];
        StrFormat(line, sizeof(line),
                  "%s%s %d opened, %d boxes, %d crashes, %d hangs, %d ended silently, %d "
                  "empty boxes, %d changed on disk",
                  figures.empty() ? "" : "; ", e.ed.exe, c.opened, c.boxes, c.crashes, c.hangs, c.silentExits,
                  c.emptyBoxes, c.changed);
        figures += line;
        lost =
            lost || c.opened != count || c.crashes || c.hangs || c.silentExits || c.emptyBoxes || c.changed;
    }
    printf("damaged: %d damaged files per editor (cut, doubled, overwritten, noise): %s\n", count,
           figures.c_str());
    return lost ? 1 : 0;
}

// --- 5. A folder that refuses writes -------------------------------------------

const char kLaunchText[] = "Message \"kept\"\r\n";
const char kMenuText[] = "<?TarvinMenu version=\"1.00\"?>\r\n"
                         "<menu text=\"Kept\" iconpath=\"\" iconnumber=\"0\" sidebar=\"false\">\r\n"
                         "<menuitem text=\"Notepad\" target=\"C:\\windows\\notepad.exe\" cmdline=\"\" "
                         "workdir=\"\" windowstate=\"1\" iconpath=\"\" iconnumber=\"0\" />\r\n"
                         "</menu>\r\n";

FILETIME WriteTime(const std::string& path)
{
    FILETIME t = {0, 0};
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data))
        t = data.ftLastWriteTime;
    return t;
}

// The files the read-only run opens, written while the folder can be written.
int Prepare()
{
    SetUpFilesFolder();
    WriteBytes(File("kept.launch"), kLaunchText);
    WriteBytes(File("kept.menu"), kMenuText);
    // Without it every editor's start would write a default one.
    WriteBytes(File("Tarvin.menu"), kMenuText);
    if (!WriteSchedule())
        return 2;
    return 0;
}

// Each editor opens its file in the read-only folder and saves: a box must
// report the failure and the file must be unchanged.
int ReadOnly()
{
    SetUpFilesFolder();
    EndAgent();
    struct
    {
        EditorSave ed;
        std::string args;
    } editors[] = {
        {{"tvedit.exe", "_TVEDIT_MAINWND", kEditSave, File("kept.launch"), "", NULL, NULL},
         "-file='" + File("kept.launch") + "'"},
        {{"tvmedit.exe", "_TVMEDIT_MAINWND", kMeditSave, File("kept.menu"), "", NULL, NULL},
         "-file=\"" + File("kept.menu") + "\""},
        {{"tvsched.exe", "_TVSCHED_MAINWND", kSchedUpdate, File("Tarvin Schedule.dat"), "", NULL, NULL}, ""},
    };
    int reported = 0, silent = 0, changed = 0;
    std::string texts;
    HANDLE probe = CreateFileA(File("probe.tmp").c_str(), GENERIC_WRITE, 0, NULL, CREATE_NEW, 0, NULL);
    if (probe != INVALID_HANDLE_VALUE)
    {
        CloseHandle(probe);
        DeleteFileA(File("probe.tmp").c_str());
        printf("readonly: the files folder can still be written; nothing to measure\n");
        return 2;
    }
    for (auto& e : editors)
    {
        std::string before = ReadBytes(e.ed.path);
        FILETIME written = WriteTime(e.ed.path), now;
        if (!StartEditor(e.ed, e.args))
        {
            if (HWND box = e.ed.process ? FindBox(e.ed.process->Pid()) : NULL)
                fprintf(stderr, "tvstress: %s at start: %s\n", e.ed.exe, AnswerBox(box, IDOK).c_str());
            printf("readonly: %s did not start\n", e.ed.exe);
            return 2;
        }
        PostMessageA(e.ed.main, WM_COMMAND, e.ed.saveCommand, 0);
        HWND box = NULL;
        // A box, or a save that went through after all.
        Wait(
            [&]() {
                now = WriteTime(e.ed.path);
                return (box = FindBox(e.ed.process->Pid())) != NULL || CompareFileTime(&now, &written) != 0;
            },
            10000);
        if (box)
        {
            reported++;
            texts += std::string(texts.empty() ? "" : "; ") + e.ed.exe + " \"" + AnswerBox(box, IDOK) + "\"";
        }
        else
            silent++;
        now = WriteTime(e.ed.path);
        if (ReadBytes(e.ed.path) != before || CompareFileTime(&now, &written) != 0)
            changed++;
        CloseEditor(e.ed);
    }
    printf("readonly: 3 saves into a read-only files folder: %d reported, %d not reported, %d files changed "
           "(%s)\n",
           reported, silent, changed, texts.c_str());
    return silent || changed ? 1 : 0;
}
} // namespace

int main(int argc, char** argv)
{
    g_argc = argc;
    g_argv = argv;
    setvbuf(stdout, NULL, _IONBF, 0);
    const char* work = argc >= 2 ? Opt("work") : NULL;
    if (!work)
    {
        fprintf(stderr,
                "usage: tvstress requests|kills|writers|damaged|readonly|prepare -work=DIR [options]\n");
        return 2;
    }
    g_work = work;
    g_files = g_work + "\\files";
    std::string what = argv[1];
    if (what == "requests")
        return Requests();
    if (what == "kills")
        return Kills();
    if (what == "writers")
        return Writers();
    if (what == "damaged")
        return Damaged();
    if (what == "readonly")
        return ReadOnly();
    if (what == "prepare")
        return Prepare();
    fprintf(stderr, "tvstress: unknown scenario %s\n", argv[1]);
    return 2;
}

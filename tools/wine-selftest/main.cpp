// tvwineselftest: checks that the Wine test environment behaves as the suite's
// tests assume. Returns 0 when every check passes, 1 otherwise, and prints one
// line per failed check.
//
//   tvwineselftest [--keepalive] [--pair DIR NAME PEER]
//   tvwineselftest --exit N | --hang | --crash | --env | --stop-keepalive close|quit
//
// --keepalive  also require the keep-alive window of tools/winerun.
// --pair       run the named-object checks while a peer instance (another test
//              run, another prefix) does the same; the two meet through marker
//              files in DIR so their checks overlap in time. In a shared prefix
//              one of them would see the other's mutex and registry value.
// --exit, --hang, --crash, --env serve the tests of tools/winerun itself.
// --stop-keepalive sends WM_CLOSE or WM_QUIT to the keep-alive and checks
//              that its process ends.
#include <windows.h>

#include <stdio.h>
#include <string.h>

static int g_failures;

#define CHECK(cond, ...)                                                                                     \
    do                                                                                                       \
    {                                                                                                        \
        if (!(cond))                                                                                         \
        {                                                                                                    \
            printf("FAIL line %d: %s: ", __LINE__, #cond);                                                   \
            printf(__VA_ARGS__);                                                                             \
            printf("\n");                                                                                    \
            g_failures++;                                                                                    \
        }                                                                                                    \
    } while (0)

static const char g_mutexName[] = "Local\\TvWineSelftest";
static const char g_regKey[] = "Software\\Tarvin\\WineSelftest";

static LRESULT CALLBACK Probe_WndProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    return DefWindowProcA(hwnd, msg, wParam, lParam);
}

// A visible window must appear, be found by class, and go away quickly: hiding
// or destroying a window takes seconds when Wine waits for a window manager
// that Xvfb does not have.
static void CheckWindow()
{
    WNDCLASSA wc = {};
    wc.lpfnWndProc = Probe_WndProc;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.lpszClassName = "TvWineSelftestProbe";
    CHECK(RegisterClassA(&wc) != 0, "error %lu", GetLastError());

    HWND hwnd = CreateWindowExA(0, wc.lpszClassName, "Wine selftest", WS_OVERLAPPEDWINDOW, 10, 10, 300, 200,
                                nullptr, nullptr, wc.hInstance, nullptr);
    CHECK(hwnd != nullptr, "error %lu", GetLastError());
    if (!hwnd)
        return;
    ShowWindow(hwnd, SW_SHOW);
    UpdateWindow(hwnd);
    CHECK(IsWindowVisible(hwnd), "window not visible");
    CHECK(FindWindowA(wc.lpszClassName, nullptr) == hwnd, "FindWindowA did not find the window");

    char title[64] = "";
    GetWindowTextA(hwnd, title, sizeof(title));
    CHECK(strcmp(title, "Wine selftest") == 0, "title \"%s\"", title);

    DWORD start = GetTickCount();
    ShowWindow(hwnd, SW_HIDE);
    CHECK(!IsWindowVisible(hwnd), "window still visible after SW_HIDE");
    DestroyWindow(hwnd);
    DWORD elapsed = GetTickCount() - start;
    CHECK(elapsed < 1500, "hide and destroy took %lu ms (X11 Driver Managed not N?)", elapsed);
    CHECK(!IsWindow(hwnd), "window survived DestroyWindow");
}

// Named objects must report ERROR_ALREADY_EXISTS on the second create.
// Returns the first handle, still open, so a paired run can hold it.
static HANDLE CheckMutex()
{
    SetLastError(0xdead);
    HANDLE first = CreateMutexA(nullptr, FALSE, g_mutexName);
    DWORD firstError = GetLastError();
    CHECK(first != nullptr, "error %lu", firstError);
    CHECK(firstError == ERROR_SUCCESS, "first create: error %lu (mutex left by someone else?)", firstError);

    HANDLE second = CreateMutexA(nullptr, FALSE, g_mutexName);
    DWORD secondError = GetLastError();
    CHECK(second != nullptr, "error %lu", secondError);
    CHECK(secondError == ERROR_ALREADY_EXISTS, "second create: error %lu", secondError);
    if (second)
        CloseHandle(second);
    return first;
}

static void WriteRegistry(const char* value)
{
    HKEY key;
    LONG rc =
        RegCreateKeyExA(HKEY_CURRENT_USER, g_regKey, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr);
    CHECK(rc == ERROR_SUCCESS, "RegCreateKeyExA: %ld", rc);
    if (rc != ERROR_SUCCESS)
        return;
    rc = RegSetValueExA(key, "Owner", 0, REG_SZ, (const BYTE*)value, (DWORD)strlen(value) + 1);
    CHECK(rc == ERROR_SUCCESS, "RegSetValueExA: %ld", rc);
    RegCloseKey(key);
}

static void CheckRegistry(const char* expected)
{
    char data[128] = "";
    DWORD size = sizeof(data);
    DWORD type = 0;
    LONG rc = RegGetValueA(HKEY_CURRENT_USER, g_regKey, "Owner", RRF_RT_REG_SZ, &type, data, &size);
    CHECK(rc == ERROR_SUCCESS, "RegGetValueA: %ld", rc);
    CHECK(strcmp(data, expected) == 0, "read \"%s\", wrote \"%s\"", data, expected);
}

static bool FileExists(const char* path)
{
    return GetFileAttributesA(path) != INVALID_FILE_ATTRIBUTES;
}

// Marks this instance as ready and waits, bounded, until the peer is too.
static bool MeetPeer(const char* dir, const char* name, const char* peer)
{
    char mine[MAX_PATH];
    char theirs[MAX_PATH];
    if (snprintf(mine, sizeof(mine), "%s\\%s.ready", dir, name) >= (int)sizeof(mine) ||
        snprintf(theirs, sizeof(theirs), "%s\\%s.ready", dir, peer) >= (int)sizeof(theirs))
        return false;

    HANDLE file = CreateFileA(mine, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    CloseHandle(file);

    const DWORD timeoutMs = 120000;
    DWORD start = GetTickCount();
    while (!FileExists(theirs))
    {
        if (GetTickCount() - start > timeoutMs)
            return false;
        Sleep(20);
    }
    return true;
}

static bool CheckKeepAlive()
{
    return FindWindowExA(HWND_MESSAGE, nullptr, "_TV_KEEPALIVE", nullptr) != nullptr;
}

// The keep-alive must end on WM_CLOSE and on WM_QUIT posted to its window.
static int StopKeepAlive(const char* how)
{
    HWND hwnd = FindWindowExA(HWND_MESSAGE, nullptr, "_TV_KEEPALIVE", nullptr);
    CHECK(hwnd != nullptr, "no _TV_KEEPALIVE window");
    if (!hwnd)
        return 1;
    DWORD pid = 0;
    GetWindowThreadProcessId(hwnd, &pid);
    HANDLE process = OpenProcess(SYNCHRONIZE, FALSE, pid);
    CHECK(process != nullptr, "OpenProcess(%lu): error %lu", pid, GetLastError());
    if (!process)
        return 1;

    UINT msg = strcmp(how, "quit") == 0 ? WM_QUIT : WM_CLOSE;
    CHECK(PostMessageA(hwnd, msg, 0, 0), "PostMessageA: error %lu", GetLastError());
    DWORD wait = WaitForSingleObject(process, 10000);
    CHECK(wait == WAIT_OBJECT_0, "keep-alive still running 10 s after %s", how);
    CloseHandle(process);
    return g_failures ? 1 : 0;
}

static int Hang()
{
    // Never signalled: stands in for a test that hangs.
    HANDLE never = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    WaitForSingleObject(never, INFINITE);
    return 0;
}

static void PrintEnv(const char* name)
{
    char value[MAX_PATH] = "";
    GetEnvironmentVariableA(name, value, sizeof(value));
    printf("%s=%s\n", name, value);
}

int main(int argc, char** argv)
{
    bool keepAlive = false;
    const char* pairDir = nullptr;
    const char* pairName = nullptr;
    const char* pairPeer = nullptr;
    for (int i = 1; i < argc; i++)
    {
        if (strcmp(argv[i], "--exit") == 0 && i + 1 < argc)
        {
            fprintf(stderr, "exiting with %s\n", argv[i + 1]);
            return atoi(argv[i + 1]);
        }
        if (strcmp(argv[i], "--hang") == 0)
            return Hang();
        if (strcmp(argv[i], "--crash") == 0)
        {
            // Unhandled: must end the process, not wait on a crash dialog.
            RaiseException(EXCEPTION_ACCESS_VIOLATION, EXCEPTION_NONCONTINUABLE, 0, nullptr);
            return 0;
        }
        if (strcmp(argv[i], "--env") == 0)
        {
            PrintEnv("WINEPREFIX");
            PrintEnv("DISPLAY");
            PrintEnv("TV_TEST_DISPLAY");
            return 0;
        }
        if (strcmp(argv[i], "--stop-keepalive") == 0 && i + 1 < argc)
            return StopKeepAlive(argv[i + 1]);
        if (strcmp(argv[i], "--keepalive") == 0)
            keepAlive = true;
        else if (strcmp(argv[i], "--pair") == 0 && i + 3 < argc)
        {
            pairDir = argv[++i];
            pairName = argv[++i];
            pairPeer = argv[++i];
        }
        else
        {
            printf("unknown argument %s\n", argv[i]);
            return 1;
        }
    }

    if (keepAlive)
        CHECK(CheckKeepAlive(), "no _TV_KEEPALIVE window");

    CheckWindow();

    const char* owner = pairName ? pairName : "selftest";
    HANDLE mutex = CheckMutex();
    WriteRegistry(owner);
    if (pairDir)
        CHECK(MeetPeer(pairDir, pairName, pairPeer), "peer %s never became ready", pairPeer);
    CheckRegistry(owner);
    if (mutex)
        CloseHandle(mutex);

    printf("%s: %s\n", owner, g_failures ? "FAILED" : "passed");
    return g_failures ? 1 : 0;
}

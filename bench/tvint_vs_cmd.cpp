// Timing driver for bench/tvint-vs-cmd; runs inside one Wine session.
//
//   tvint_vs_cmd N TVINT_EXE WORK_FOLDER NULL_GUI_EXE NULL_GUI_LIBS_EXE
//
// WORK_FOLDER holds one.launch (a comment), thousand.launch (1,000 comments)
// and thousand.bat (1,000 rem lines); NULL_GUI_EXE (bench/null_gui.cpp) is
// the floor for any GUI program, NULL_GUI_LIBS_EXE (bench/null_gui_libs.cpp)
// the same with the libraries tvint imports. Each pair is timed N times, the two
// commands alternating, after one warm-up run of each; every run must exit 0.
// Prints one "median" line per command and one "ratio" line per pair, then
// one "figure" line per goal: 1,000 lines with the strip on against the same
// with it off, and a one-line file against the empty GUI program (a pair of
// its own, at least kMinOneLinePairs runs of each).
#include <windows.h>

#include <algorithm>
#include <stdio.h>
#include <stdlib.h>
#include <string>
#include <vector>

#include "agentSettings.h"
#include "interpreterSettings.h"

static const int kStaySeconds = 2;
static const int kMinOneLinePairs = 25;

static bool SetDword(const DwordSetting& setting, DWORD value)
{
    HKEY h;
    if (RegCreateKeyExA(HKEY_CURRENT_USER, setting.key, 0, NULL, 0, KEY_SET_VALUE, NULL, &h, NULL) !=
        ERROR_SUCCESS)
        return false;
    LONG rc = RegSetValueExA(h, setting.name, 0, REG_DWORD, (const BYTE*)&value, sizeof(value));
    RegCloseKey(h);
    return rc == ERROR_SUCCESS;
}

static double Now()
{
    static LARGE_INTEGER freq;
    if (!freq.QuadPart)
        QueryPerformanceFrequency(&freq);
    LARGE_INTEGER t;
    QueryPerformanceCounter(&t);
    return (double)t.QuadPart / (double)freq.QuadPart;
}

// Seconds from CreateProcess to the process's end; negative on failure.
static double TimeOne(const std::string& cmdline)
{
    std::vector<char> buf(cmdline.begin(), cmdline.end());
    buf.push_back('\0');
    STARTUPINFOA si = {};
    si.cb = sizeof(si);
    PROCESS_INFORMATION pi = {};
    double start = Now();
    if (!CreateProcessA(NULL, buf.data(), NULL, NULL, FALSE, 0, NULL, NULL, &si, &pi))
    {
        fprintf(stderr, "CreateProcess failed (%lu): %s\n", GetLastError(), cmdline.c_str());
        return -1;
    }
    if (WaitForSingleObject(pi.hProcess, 120000) != WAIT_OBJECT_0)
    {
        fprintf(stderr, "no exit after 120 s: %s\n", cmdline.c_str());
        TerminateProcess(pi.hProcess, 99);
        CloseHandle(pi.hThread);
        CloseHandle(pi.hProcess);
        return -1;
    }
    double elapsed = Now() - start;
    DWORD code = 1;
    GetExitCodeProcess(pi.hProcess, &code);
    CloseHandle(pi.hThread);
    CloseHandle(pi.hProcess);
    if (code != 0)
    {
        fprintf(stderr, "exit code %lu: %s\n", code, cmdline.c_str());
        return -1;
    }
    return elapsed;
}

static double Median(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    size_t n = v.size();
    return n % 2 ? v[n / 2] : (v[n / 2 - 1] + v[n / 2]) / 2;
}

// Times a and b alternately; *median gets a's median in seconds, *ratios
// (when given) the ratio a / b of each pair of runs.
static bool Pair(const char* name, int n, const std::string& a, const std::string& b, double* median,
                 const char* what = "tvint", const char* other = "cmd", std::vector<double>* ratios = NULL)
{
    std::vector<double> ta, tb;
    if (TimeOne(a) < 0 || TimeOne(b) < 0)
        return false;
    for (int i = 0; i < n; i++)
    {
        double x = TimeOne(a);
        double y = TimeOne(b);
        if (x < 0 || y < 0)
            return false;
        ta.push_back(x);
        tb.push_back(y);
        if (ratios)
            ratios->push_back(x / y);
    }
    double ma = Median(ta), mb = Median(tb);
    printf("%s  %-5s runs ms:", name, what);
    for (double x : ta)
        printf(" %.0f", x * 1000);
    printf("\n%s  %-5s runs ms:", name, other);
    for (double y : tb)
        printf(" %.0f", y * 1000);
    printf("\nmedian %-30s %-5s %8.1f ms   min %8.1f ms\n", name, what, ma * 1000,
           *std::min_element(ta.begin(), ta.end()) * 1000);
    printf("median %-30s %-5s %8.1f ms   min %8.1f ms\n", name, other, mb * 1000,
           *std::min_element(tb.begin(), tb.end()) * 1000);
    printf("ratio  %-30s %s/%s %.2f\n", name, what, other, ma / mb);
    fflush(stdout);
    *median = ma;
    return true;
}

int main(int argc, char** argv)
{
    if (argc != 6)
    {
        fprintf(stderr, "usage: tvint_vs_cmd N TVINT_EXE WORK_FOLDER NULL_GUI_EXE NULL_GUI_LIBS_EXE\n");
        return 2;
    }
    int n = atoi(argv[1]);
    std::string tvint = std::string("\"") + argv[2] + "\"";
    std::string work = argv[3];
    std::string one = tvint + " -file=\"" + work + "\\one.launch\"";
    std::string thousand = tvint + " -file=\"" + work + "\\thousand.launch\"";
    std::string cmdExit = "cmd.exe /c exit";
    std::string cmdBat = "cmd.exe /c \"" + work + "\\thousand.bat\"";
    std::string nullGui = std::string("\"") + argv[4] + "\"";
    std::string nullLibs = std::string("\"") + argv[5] + "\"";

    // No log handshake (no agent is needed for comments), no exit question;
    // the strip stays up for a known time after the last line.
    if (!SetDword(AGENT_LOG_FILE, 0) || !SetDword(INTERPRETER_CONFIRM_EXIT, 0) ||
        !SetDword(INTERPRETER_SHOW_STATUS, 1) || !SetDword(INTERPRETER_STATUS_WINDOW, kStaySeconds))
        return 1;

    double gui, oneOn, thousandOn, oneOff, thousandOff;
    if (!Pair("floor: empty GUI program", n, nullGui, cmdExit, &gui, "gui"))
        return 1;
    // The settings as installed: status strip on, shown 2 s.
    if (!Pair("(a) 1 comment, status on", n, one, cmdExit, &oneOn))
        return 1;
    if (!Pair("(b) 1000 comments, status on", n, thousand, cmdBat, &thousandOn))
        return 1;
    if (!SetDword(INTERPRETER_SHOW_STATUS, 0))
        return 1;
    if (!Pair("(a) 1 comment, status off", n, one, cmdExit, &oneOff))
        return 1;
    if (!Pair("(b) 1000 comments, status off", n, thousand, cmdBat, &thousandOff))
        return 1;

    // The one-line file straight against the empty GUI program, alternating,
    // with more runs: the two differ by a few per cent, the noise of a
    // loaded machine by more. The ratio of each pair (the load changes less
    // within a pair than across the run), their median and middle half.
    int pairs = n < kMinOneLinePairs ? kMinOneLinePairs : n;
    std::vector<double> ratios;
    double oneVsGui;
    if (!Pair("one comment vs empty GUI", pairs, one, nullGui, &oneVsGui, "tvint", "gui", &ratios))
        return 1;
    std::sort(ratios.begin(), ratios.end());
    double mr = Median(ratios), q1 = ratios[ratios.size() / 4], q3 = ratios[(ratios.size() * 3) / 4];
    // What the libraries cost: the same pair against the empty program that
    // binds them.
    std::vector<double> libRatios;
    double oneVsLibs;
    if (!Pair("one comment vs GUI with libs", pairs, one, nullLibs, &oneVsLibs, "tvint", "libs", &libRatios))
        return 1;
    std::sort(libRatios.begin(), libRatios.end());
    double ml = Median(libRatios), l1 = libRatios[libRatios.size() / 4],
           l3 = libRatios[(libRatios.size() * 3) / 4];

    // With the strip on, the program stays for the "Status Window" time after
    // the last line; that stay is not the cost of the lines.
    double lines = thousandOn - kStaySeconds;
    printf("figure: tvint 1,000 comment lines, strip on / strip off   %6.0f ms / %6.0f ms = %.2f"
           "   (strip on less its %d s stay; floor: strip off)   goal <= 1.2  %s\n",
           lines * 1000, thousandOff * 1000, lines / thousandOff, kStaySeconds,
           lines / thousandOff <= 1.2 ? "met" : "NOT MET");
    printf("figure: tvint one-line file, strip off / empty GUI program   %.2f   (median of %d alternating "
           "pairs; "
           "middle half %.2f-%.2f; floor: empty GUI program)   goal <= 1.1  %s\n",
           mr, pairs, q1, q3, mr <= 1.1 ? "met" : "NOT MET");
    printf(
        "figure: tvint one-line file, strip off / GUI program with tvint's libraries   %.2f   (median of %d "
        "alternating pairs; middle half %.2f-%.2f; what the libraries leave to tvint)   goal <= 1.1  %s\n",
        ml, pairs, l1, l3, ml <= 1.1 ? "met" : "NOT MET");
    fflush(stdout);
    return 0;
}

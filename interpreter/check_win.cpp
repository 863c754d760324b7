#include <windows.h>

#include "check.h"
#include "LaunchCheck.h"
#include "strutils.h"
#include "dirutils_win.h"
#include "xmlutils.h"

#include <string>

namespace
{
const char kCaption[] = "Tarvin Interpretor";

struct Report
{
    std::string file;
    std::string text;
    int count = 0;
};

void OnFinding(int line, bool error, const char* message, void* ctx)
{
    Report* report = static_cast<Report*>(ctx);
    AppendFinding(report->text, report->file, line, error, message);
    report->count++;
}

bool Exists(const char* path, void*)
{
    if (strpbrk(path, "*?"))
    {
        WIN32_FIND_DATAA data;
        HANDLE find = FindFirstFileA(path, &data);
        if (find == INVALID_HANDLE_VALUE)
            return false;
        FindClose(find);
        return true;
    }
    return FileExists(path) != 0;
}

bool WriteAll(HANDLE out, const std::string& text)
{
    DWORD written = 0;
    return text.empty() ||
           (WriteFile(out, text.data(), (DWORD)text.size(), &written, NULL) && written == text.size());
}

// The handle the program was given for its output, or its parent's console.
HANDLE OpenOutput(bool* opened)
{
    *opened = false;
    HANDLE out = GetStdHandle(STD_OUTPUT_HANDLE);
    if (out && out != INVALID_HANDLE_VALUE && GetFileType(out) != FILE_TYPE_UNKNOWN)
        return out;
    if (!AttachConsole(ATTACH_PARENT_PROCESS))
        return INVALID_HANDLE_VALUE;
    out = CreateFileA("CONOUT$", GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, NULL,
                      OPEN_EXISTING, 0, NULL);
    *opened = out != INVALID_HANDLE_VALUE;
    return out;
}
} // namespace

// Writes the text where the program's output goes; false when it has none
// (started from the shell), and the caller shows a box instead.
static bool Print(const std::string& text)
{
    bool opened;
    HANDLE out = OpenOutput(&opened);
    if (out == INVALID_HANDLE_VALUE)
        return false;
    WriteAll(out, text);
    if (opened)
        CloseHandle(out);
    return true;
}

int RunCheck(const char* cmdLine)
{
    static const char kNoFile[] = "This application must be run with a -file parameter";
    char path[MAX_PATH];
    if (GetPropertyValue(cmdLine, "-file", path, sizeof(path)) <= 0 || !path[0])
    {
        if (!Print(std::string(kNoFile) + "\r\n"))
            MessageBoxA(NULL, kNoFile, NULL, MB_OK | MB_ICONERROR);
        return LCHECK_ERRORS;
    }

    Report report;
    report.file = path;
    LaunchCheckHooks hooks = {Exists, OnFinding, &report};
    int result = CheckLaunchFile(path, hooks);
    if (Print(report.text))
        return result;

    std::string text = CheckBoxText(report.file, report.text);
    UINT icon = result == LCHECK_ERRORS     ? MB_ICONERROR
                : result == LCHECK_WARNINGS ? MB_ICONWARNING
                                            : MB_ICONINFORMATION;
    MessageBoxA(NULL, text.c_str(), kCaption, MB_OK | icon);
    return result;
}

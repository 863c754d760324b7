// Helpers of the end-to-end tests: the suite's programs beside the test,
// quoting, and files that appear.
#pragma once

#include <windows.h>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "e2e/driver.h"
#include "support/tvtarget/tvtarget.h"
#include "testutil.h"

namespace e2etest
{
const DWORD kTimeout = 15000;

inline std::string Program(const char* name)
{
    char path[MAX_PATH] = "";
    EXPECT_TRUE(DrvProgramPath(name, path, sizeof(path)));
    return path;
}

inline std::string Quote(const std::string& s)
{
    return "\"" + s + "\"";
}

inline bool Exists(const std::string& path)
{
    return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

// The default value of a key under HKEY_CLASSES_ROOT ("<missing>" if none).
inline std::string ClassesDefault(const char* key)
{
    char value[MAX_PATH * 2] = "";
    LONG size = sizeof(value);
    return RegQueryValueA(HKEY_CLASSES_ROOT, key, value, &size) == ERROR_SUCCESS ? value : "<missing>";
}

inline bool WaitFile(const std::string& path, DWORD timeoutMs = kTimeout)
{
    return DrvWaitFor([&]() { return Exists(path); }, timeoutMs) == TVD_OK;
}

// Waits for a message box of that process (any caption when null), presses
// the button (none: 0) and returns the box's text ("<no box>" when none came).
inline std::string AnswerBox(DWORD pid, const char* caption, int button)
{
    HWND box = NULL;
    EXPECT_EQ(TVD_OK, DrvWaitMessageBox(caption, pid, kTimeout, &box))
        << "no box " << (caption ? caption : "");
    if (!box)
        return "<no box>";
    char text[2048] = "";
    DrvMessageBoxText(box, text, sizeof(text));
    EXPECT_TRUE(!button || DrvPressButton(box, button));
    EXPECT_EQ(TVD_OK, DrvWaitDestroyed(box, kTimeout));
    return text;
}

// A menu file: header, root (with a side bar when it has a text), the given
// entry lines, end of root.
inline void WriteMenu(const std::string& path, const std::vector<std::string>& entries,
                      const char* sidebar = nullptr)
{
    std::string text = "<?TarvinMenu version=\"1.00\"?>\r\n";
    text += std::string("<menu text=\"") + (sidebar ? sidebar : "Tarvin Test") +
            "\" iconpath=\"\" iconnumber=\"0\" sidebar=\"" + (sidebar ? "true" : "false") + "\">\r\n";
    for (const std::string& line : entries)
        text += line + "\r\n";
    WriteBytes(path, text + "</menu>\r\n");
}

inline std::string MenuItem(const std::string& text, const std::string& target, const std::string& cmdline,
                            const std::string& workdir = "")
{
    return "<menuitem text=\"" + text + "\" target=\"" + target + "\" cmdline=\"" + cmdline +
           "\" workdir=\"" + workdir + "\" windowstate=\"1\" iconpath=\"\" iconnumber=\"0\" />";
}

// Starts tvtarget.exe with those arguments and waits until its window with
// that title is shown (or, with "-hidden", made) and ready.
inline void StartTarget(CDrvProcess& process, const std::string& args, const char* title)
{
    ASSERT_TRUE(process.Start(Program("tvtarget.exe").c_str(), args.c_str())) << GetLastError();
    DrvWindowQuery wanted = DrvQuery(TARGET_CLASS, title, TVD_MATCH_EXACT, process.Pid());
    wanted.includeHidden = args.find("-hidden") != std::string::npos;
    ASSERT_EQ(TVD_OK, DrvWaitWindow(wanted, kTimeout, NULL)) << title;
}
} // namespace e2etest

// The fixture of tvint.exe's end-to-end tests: writes a launch file, starts
// the real program on it, answers its boxes as a user would and reads its
// exit code.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "tvint_testutil.h"

namespace tvint_test
{
const char kMainClass[] = "_TVINT_HIDDENMAINWND";
const char kMainTitle[] = "Tarvin Interpretor";

class Interpreter : public ::testing::Test
{
  protected:
    void SetUp() override
    {
        // Most tests do not look at the strip; without it a run ends at once.
        m_settings.Interpreter("Show Status", 0);
    }

    // The launch file lives in a folder whose name has a space.
    std::string WriteFile(const std::vector<std::string>& lines)
    {
        std::string folder = m_dir.Path("launch files");
        CreateDirectoryA(folder.c_str(), NULL);
        std::string path = folder + "\\run " + std::to_string(++m_runs) + ".launch";
        WriteLaunchFile(path, lines);
        return path;
    }

    // Starts tvint.exe (or the given copy of it) with these arguments.
    void StartArgs(const std::string& args, const std::string& exe = "")
    {
        m_tvint.reset(new CDrvProcess());
        ASSERT_TRUE(m_tvint->Start(exe.empty() ? Program("tvint.exe").c_str() : exe.c_str(), args.c_str()))
            << GetLastError();
    }

    void Start(const std::vector<std::string>& lines, const std::string& exe = "")
    {
        StartArgs("-file=" + Quote(WriteFile(lines)), exe);
    }

    DWORD WaitExit(DWORD timeoutMs = kTimeout)
    {
        DWORD code = 0xDEAD;
        EXPECT_EQ(TVD_OK, m_tvint->WaitExit(timeoutMs, &code)) << "tvint.exe did not end";
        return code;
    }

    DWORD Run(const std::vector<std::string>& lines)
    {
        Start(lines);
        if (!m_tvint)
            return 0xDEAD;
        return WaitExit();
    }

    // Waits for a box of tvint.exe (any caption when null), returns its text
    // and presses the button.
    std::string Answer(const char* caption, int button, HWND* box = NULL)
    {
        HWND found = NULL;
        EXPECT_EQ(TVD_OK, DrvWaitMessageBox(caption, m_tvint->Pid(), kTimeout, &found))
            << "no box " << (caption ? caption : "");
        if (!found)
            return "<no box>";
        char text[2048] = "";
        EXPECT_TRUE(DrvMessageBoxText(found, text, sizeof(text)));
        if (box)
            *box = found;
        EXPECT_TRUE(DrvPressButton(found, button));
        EXPECT_EQ(TVD_OK, DrvWaitDestroyed(found, kTimeout));
        return text;
    }

    // For the shell's own dialogs, whose text is not a window text.
    void Press(const char* caption, int button)
    {
        HWND found = NULL;
        ASSERT_EQ(TVD_OK, DrvWaitMessageBox(caption, m_tvint->Pid(), kTimeout, &found)) << caption;
        EXPECT_TRUE(DrvPressButton(found, button));
        EXPECT_EQ(TVD_OK, DrvWaitDestroyed(found, kTimeout));
    }

    // The interpreter's main window (the status strip), shown or not.
    HWND MainWindow()
    {
        DrvWindowSpec wanted = DrvSpec(kMainClass, kMainTitle, TVD_MATCH_EXACT, m_tvint->Pid());
        wanted.includeHidden = true;
        HWND hwnd = NULL;
        DrvWaitFor(
            [&]() {
                hwnd = DrvFindWindow(wanted);
                return hwnd != NULL;
            },
            kTimeout);
        return hwnd;
    }

    static std::string ContinueQuestion(const std::string& text)
    {
        return "An error occured:\n\n" + text + "\n\nWould you like to continue to process this launch file?";
    }

    ScratchDir m_dir;
    RegSettings m_settings;
    std::unique_ptr<CDrvProcess> m_tvint;
    int m_runs = 0;
};
} // namespace tvint_test

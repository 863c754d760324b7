// The installer and uninstaller as a user runs them: a silent per-user install,
// the installed programs with their help and tips, the Start-menu shortcuts,
// the help windows, the refusal while the suite runs, and a silent uninstall
// that keeps the user's files and nothing else.
#include <windows.h>
#include <shellapi.h>
#include <shlobj.h>

#include <algorithm>
#include <filesystem>
#include <iostream>
#include <string>
#include <vector>

#include "support/tvdriver/driver.h"
#include "installer_build.h"
#include "agentproto.h"
#include "regutils.h"
#include "testutil.h"
#include "tvversion.h"
#include "wintestutil.h"

namespace
{

const char kSuiteKey[] = "Software\\Norvale\\Tarvin 2";
const DWORD kTimeout = 30000;

std::string Folder(int csidl, const char* below)
{
    char path[MAX_PATH] = "";
    SHGetFolderPathA(NULL, csidl, NULL, SHGFP_TYPE_CURRENT, path);
    return path + std::string(below);
}

// Runs a program to its end: its exit code, or -1 when it does not end in time.
int RunToEnd(const std::string& exe, const std::string& args)
{
    CDrvProcess process;
    DWORD code = 0;
    if (!process.Start(exe.c_str(), args.c_str()) || process.WaitExit(kTimeout, &code) != TVD_OK)
        return -1;
    return (int)code;
}

class InstallerE2E : public ::testing::Test
{
  protected:
    void SetUp() override
    {
        CoInitialize(NULL);
        m_registry.SetDword("Software\\Norvale\\Tarvin 2\\Agent", "No Splash", 1);
        m_registry.SetDword("Software\\Norvale\\Tarvin 2\\Agent", "Show Wizard", 0);
        m_registry.SetDword("Software\\Norvale\\Tarvin 2\\Agent", "Exit Message", 0);
        m_registry.SetDword("Software\\Norvale\\Tarvin 2\\Interpreter", "Show Status", 0);
        m_registry.SetDword(kSuiteKey, "First Run", 0);
        m_registry.Save(kSuiteKey, "Files Folder");
        m_dir = Folder(CSIDL_LOCAL_APPDATA, "\\Programs\\Tarvin 2");
        DWORD start = GetTickCount();
        ASSERT_EQ(0, RunToEnd(kInstaller, "/S"));
        std::cout << "silent install: " << GetTickCount() - start << " ms\n";
        UseFilesFolder(m_scratch.Path("files"));
    }
    void TearDown() override
    {
        StopAgent();
        CoUninitialize();
    }

    // A files folder with what the agent needs to start without greeting boxes.
    void UseFilesFolder(const std::string& folder)
    {
        m_files = folder;
        CreateDirectoryA(folder.c_str(), NULL);
        wintest::SetRegString(kSuiteKey, "Files Folder", folder);
        WriteBytes(folder + "\\Tarvin.log", "<?TarvinLogFile version='1.00'?>\r\n");
        WriteBytes(folder + "\\Tarvin Keys.keys", "<?TarvinTarvinKeys version=\"1.00\"?>\r\n");
    }

    void StopAgent() // by its Exit command, as a user does
    {
        HWND agent = DrvFindWindow({AGENT_WINDOW_CLASS, nullptr, TVD_MATCH_EXACT, m_agent.Pid(), true});
        if (m_agent.IsRunning() &&
            (!agent || !DrvPostCommand(agent, 200) || m_agent.WaitExit(kTimeout) != TVD_OK))
            m_agent.Kill();
    }

    ScratchDir m_scratch;
    wintest::RegRestorer m_registry;
    std::string m_dir, m_files;
    CDrvProcess m_agent;
};

// Right after a silent install, before any program of the suite ran, the
// shell opens a launch file with the installed interpreter (which runs it)
// and a menu file with the installed menu program. No program has had the
// chance to register anything: every key comes from the installer.
TEST_F(InstallerE2E, ShellOpensLaunchAndMenuFilesRightAfterInstall)
{
    for (const char* key : {".launch", "Tarvin.LaunchFile", ".menu", "Tarvin.MenuFile"})
    {
        RegDeleteTreeA(HKEY_CLASSES_ROOT, key);
        RegDeleteTreeA(HKEY_CURRENT_USER, (std::string("Software\\Classes\\") + key).c_str());
    }
    ASSERT_EQ(0, RunToEnd(kInstaller, "/S"));

    // The shell's "open", without its boxes: a missing association fails.
    auto open = [](const std::string& file, HANDLE* process) {
        SHELLEXECUTEINFOA info = {};
        info.cbSize = sizeof(info);
        info.fMask = SEE_MASK_NOCLOSEPROCESS | SEE_MASK_FLAG_NO_UI;
        info.lpVerb = "open";
        info.lpFile = file.c_str();
        info.nShow = SW_SHOWNORMAL;
        *process = NULL;
        return ShellExecuteExA(&info) && (*process = info.hProcess) != NULL;
    };
    HANDLE process = NULL;
    WriteBytes(m_files + "\\source.txt", "payload");
    std::string launch = m_files + "\\Morning copy.launch";
    WriteBytes(launch, "Copy \"" + m_files + "\\source.txt\",\"" + m_files + "\\copied.txt\",Overwrite\r\n");
    ASSERT_TRUE(open(launch, &process));
    EXPECT_EQ(WAIT_OBJECT_0, WaitForSingleObject(process, kTimeout));
    CloseHandle(process);
    EXPECT_EQ("payload", ReadBytes(m_files + "\\copied.txt"));

    // The menu program pops its menu up and waits: its image is checked, and
    // it is ended here.
    std::string menu = m_files + "\\Tarvin.menu";
    WriteBytes(menu, "<?TarvinMenu version=\"1.00\"?>\r\n");
    ASSERT_TRUE(open(menu, &process));
    char image[MAX_PATH] = "";
    DWORD size = sizeof(image);
    EXPECT_TRUE(QueryFullProcessImageNameA(process, 0, image, &size));
    EXPECT_EQ(m_dir + "\\tvmint.exe", std::string(image));
    TerminateProcess(process, 0);
    CloseHandle(process);
}

} // namespace

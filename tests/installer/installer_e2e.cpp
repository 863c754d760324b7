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

#include "e2e/driver.h"
#include "installer_build.h"
#include "agentproto.h"
#include "regutils.h"
#include "testutil.h"
#include "tvversion.h"
#include "wintestutil.h"

namespace
{

const char kUninstallKey[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Tarvin 2";
const char kSuiteKey[] = "Software\\Norvale\\Tarvin 2";
const DWORD kTimeout = 30000;

std::string Folder(int csidl, const char* below)
{
    char path[MAX_PATH] = "";
    SHGetFolderPathA(NULL, csidl, NULL, SHGFP_TYPE_CURRENT, path);
    return path + std::string(below);
}

bool Exists(const std::string& path)
{
    return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

// A value as text ("" when absent), and whether a key exists.
std::string RegText(HKEY root, const std::string& key, const char* name)
{
    char value[1024] = "";
    DWORD cb = sizeof(value);
    RegGetValueA(root, key.c_str(), name, RRF_RT_REG_SZ, NULL, value, &cb);
    return value;
}

bool KeyExists(HKEY root, const std::string& key)
{
    HKEY h;
    bool found = RegOpenKeyExA(root, key.c_str(), 0, KEY_READ, &h) == ERROR_SUCCESS;
    if (found)
        RegCloseKey(h);
    return found;
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

// Where a shell link points, read back through the shell's link object.
std::string LinkTarget(const std::string& lnk)
{
    char path[MAX_PATH] = "<unreadable>";
    IShellLinkA* link = nullptr;
    IPersistFile* file = nullptr;
    std::wstring wide(lnk.begin(), lnk.end());
    if (SUCCEEDED(
            CoCreateInstance(CLSID_ShellLink, NULL, CLSCTX_INPROC_SERVER, IID_IShellLinkA, (void**)&link)) &&
        SUCCEEDED(link->QueryInterface(IID_IPersistFile, (void**)&file)) &&
        SUCCEEDED(file->Load(wide.c_str(), STGM_READ)))
        link->GetPath(path, MAX_PATH, NULL, SLGP_RAWPATH);
    for (IUnknown* object : {(IUnknown*)file, (IUnknown*)link})
        if (object)
            object->Release();
    return path;
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

    // The installed agent's main window once its message loop answers.
    HWND StartAgent()
    {
        HWND window = NULL;
        if (m_agent.Start((m_dir + "\\tvagent.exe").c_str(), "", m_dir.c_str()))
            DrvWaitWindow({AGENT_WINDOW_CLASS, nullptr, TVD_MATCH_EXACT, m_agent.Pid(), true}, kTimeout,
                          &window);
        return window && DrvIsReady(window, kTimeout) ? window : NULL;
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

TEST_F(InstallerE2E, SilentInstallPutsProgramsShortcutsAndUninstallEntryInPlace)
{
    std::vector<std::string> files(std::begin(kBuiltPrograms), std::end(kBuiltPrograms));
    files.insert(files.end(), {"tv2.chm", "tvdt.sys", "tvtip.sys"});
    for (const std::string& file : files)
        EXPECT_TRUE(ReadBytes(m_dir + "\\" + file) == ReadBytes(wintest::ProgramDir() + file)) << file;
    std::cout << "installer size: " << std::filesystem::file_size(kInstaller) << " bytes\n";

    EXPECT_EQ(TV_VERSION_STR, RegText(HKEY_CURRENT_USER, kUninstallKey, "DisplayVersion"));
    EXPECT_EQ("\"" + m_dir + "\\uninstall.exe\"",
              RegText(HKEY_CURRENT_USER, kUninstallKey, "UninstallString"));
    // Start at logon: the very value the agent's Preferences show as checked.
    EXPECT_EQ(1, IsRunningAtStartUp("Tarvin", (m_dir + "\\tvagent.exe").c_str()));

    // Shortcuts for the agent, the editors this build made, and the help.
    const char* shortcuts[][2] = {{"Tarvin 2 Agent", "tvagent.exe"},
                                  {"Tarvin 2 Editor", "tvedit.exe"},
                                  {"Tarvin 2 Menu Editor", "tvmedit.exe"},
                                  {"Tarvin 2 Scheduler", "tvsched.exe"},
                                  {"Tarvin 2 Help", "tv2.chm"}};
    for (auto& s : shortcuts)
    {
        std::string lnk = Folder(CSIDL_PROGRAMS, "\\Tarvin 2\\") + s[0] + ".lnk";
        bool built = std::find(files.begin(), files.end(), s[1]) != files.end();
        EXPECT_EQ(built, Exists(lnk)) << lnk;
        EXPECT_EQ(built ? m_dir + "\\" + s[1] : "<unreadable>", LinkTarget(lnk));
    }
}

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

// While the installed agent runs, setup and the uninstaller refuse to go on.
TEST_F(InstallerE2E, InstalledProgramsFindTheirHelpAndTipsAndBlockSetupWhileRunning)
{
    HWND agent = StartAgent();
    ASSERT_TRUE(agent);
    DrvPostCommand(agent, 210); // Help
    EXPECT_EQ(TVD_OK, DrvWaitWindow(DrvQuery(nullptr, "Tarvin 2 Help", TVD_MATCH_EXACT, m_agent.Pid()),
                                    kTimeout, nullptr));

    // The installed tips library with the installed tips and picture, as the
    // editors use it: without tips the dialog does not open.
    std::string show = m_dir + "\\tvtipshow.exe";
    ASSERT_TRUE(CopyFileA((wintest::ProgramDir() + "tvtipshow.exe").c_str(), show.c_str(), FALSE));
    CDrvProcess tips;
    HWND dialog = NULL;
    ASSERT_TRUE(tips.Start(show.c_str(), "", m_dir.c_str()));
    ASSERT_EQ(TVD_OK, DrvWaitWindow(DrvQuery("_mh_TVTIPS_CLS__", nullptr, TVD_MATCH_EXACT, tips.Pid()),
                                    kTimeout, &dialog));
    EXPECT_EQ(0, wintest::PrintedClient(dialog).Count({8, 8, 56, 264}, RGB(255, 255, 255))) << "the picture";
    DrvPressButton(dialog, 100);
    EXPECT_EQ(TVD_OK, tips.WaitExit(kTimeout));
    DeleteFileA(show.c_str());

    std::string elsewhere = m_scratch.Path("elsewhere");
    CDrvProcess setup;
    HWND box = NULL;
    char text[512] = "";
    DWORD code = 0;
    ASSERT_TRUE(setup.Start(kInstaller, ("/D=" + elsewhere).c_str()));
    ASSERT_EQ(TVD_OK, DrvWaitMessageBox("Tarvin 2 Setup", setup.Pid(), kTimeout, &box));
    DrvMessageBoxText(box, text, sizeof(text));
    EXPECT_NE(nullptr, strstr(text, "Tarvin 2 is running.")) << text;
    DrvPressButton(box, IDOK);
    ASSERT_EQ(TVD_OK, setup.WaitExit(kTimeout, &code));
    EXPECT_EQ(3u, code);

    EXPECT_EQ(3, RunToEnd(kInstaller, "/S /D=" + elsewhere));
    EXPECT_FALSE(Exists(elsewhere));
    // In place, so that the uninstaller's own exit code comes back.
    EXPECT_EQ(3, RunToEnd(m_dir + "\\uninstall.exe", "/S _?=" + m_dir));
    EXPECT_TRUE(Exists(m_dir + "\\tvagent.exe"));
    EXPECT_TRUE(KeyExists(HKEY_CURRENT_USER, kUninstallKey));
}

// Wine's viewer gives every window the file's first window type, even when
// the call names the tutorials' own ("...>TVEDIT_TUT").
TEST_F(InstallerE2E, HtmlHelpOpensEveryProgramTopicInTheHelpFilesWindow)
{
    typedef HWND(WINAPI * HtmlHelpFn)(HWND, LPCSTR, UINT, DWORD_PTR);
    HtmlHelpFn htmlHelp = (HtmlHelpFn)(void*)GetProcAddress(LoadLibraryA("hhctrl.ocx"), "HtmlHelpA");
    ASSERT_TRUE(htmlHelp);
    for (const char* topic : {"tvagent_main.html", "tvqtour_1.html", "tvsched_main.html", "tvedit_main.html",
                              "tvedit_startupwizard.html", "tvedit_tutorial_intro.html>TVEDIT_TUT",
                              "tvmedit_main.html", "tvmedit_dtop.html", "tvmedit_quicklaunch.html",
                              "tvmedit_startupwizard.html", "tvmedit_tutorial_intro.html>TVMEDIT_TUT"})
    {
        HWND window =
            htmlHelp(GetDesktopWindow(), (m_dir + "\\tv2.chm::/" + topic).c_str(), 0 /* topic */, 0);
        char title[256] = "";
        GetWindowTextA(window, title, sizeof(title));
        EXPECT_STREQ("Tarvin 2 Help", title) << topic;
        EXPECT_TRUE(IsWindowVisible(window)) << topic;
        htmlHelp(NULL, NULL, 0x12 /* close all */, 0);
        EXPECT_EQ(TVD_OK, DrvWaitDestroyed(window, kTimeout)) << topic;
    }
}

TEST_F(InstallerE2E, SilentUninstallKeepsTheUsersFilesAndRemovesEverythingElse)
{
    // The user keeps his files inside the program folder; the programs have
    // run once, and the interpreter has registered its file type.
    UseFilesFolder(m_dir + "\\My Tarvin Files");
    WriteBytes(m_files + "\\Morning.launch", "// a comment only\r\n");
    ASSERT_TRUE(StartAgent());
    StopAgent();
    EXPECT_EQ(0, RunToEnd(m_dir + "\\tvint.exe", "-file=\"" + m_files + "\\Morning.launch\""));
    ASSERT_EQ("Tarvin.LaunchFile", RegText(HKEY_CLASSES_ROOT, ".launch", ""));
    std::vector<std::string> kept = {"My Tarvin Files"};
    for (auto& entry : std::filesystem::directory_iterator(m_files))
        kept.push_back("My Tarvin Files\\" + entry.path().filename().string());

    // The uninstaller runs from a copy of itself; removing its key is its last step.
    DWORD start = GetTickCount();
    ASSERT_EQ(0, RunToEnd(m_dir + "\\uninstall.exe", "/S"));
    EXPECT_EQ(TVD_OK, DrvWaitFor([] { return !KeyExists(HKEY_CURRENT_USER, kUninstallKey); }, kTimeout));
    std::cout << "silent uninstall: " << GetTickCount() - start << " ms\n";

    std::vector<std::string> left;
    for (auto& entry : std::filesystem::recursive_directory_iterator(m_dir))
        left.push_back(std::filesystem::relative(entry.path(), m_dir).string());
    std::sort(left.begin(), left.end());
    std::sort(kept.begin(), kept.end());
    EXPECT_EQ(kept, left) << "what is left in the program folder";
    EXPECT_EQ("// a comment only\r\n", ReadBytes(m_files + "\\Morning.launch"));
    EXPECT_FALSE(Exists(Folder(CSIDL_PROGRAMS, "\\Tarvin 2")));
    EXPECT_EQ("", RegText(HKEY_CURRENT_USER, "Software\\Microsoft\\Windows\\CurrentVersion\\Run", "Tarvin"));
    for (const char* key : {".launch", "Tarvin.LaunchFile", ".menu", "Tarvin.MenuFile"})
        EXPECT_FALSE(KeyExists(HKEY_CLASSES_ROOT, key) ||
                     KeyExists(HKEY_CURRENT_USER, std::string("Software\\Classes\\") + key))
            << key;
    EXPECT_EQ(m_files, RegText(HKEY_CURRENT_USER, kSuiteKey, "Files Folder")) << "the user's settings stay";
}

} // namespace

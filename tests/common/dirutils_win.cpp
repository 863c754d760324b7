#include <windows.h>

#include "dirutils_win.h"
#include "regutils.h"
#include "strutils.h"
#include "testutil.h"

namespace
{
void SetClassesDefault(const char* subkey, const char* value)
{
    ASSERT_EQ(0, RegWriteTSTR(HKEY_CLASSES_ROOT, subkey, "", value));
}
} // namespace

TEST(MyDir, IsTheProgramsFolderWithBackslash)
{
    char module[MAX_PATH];
    GetModuleFileNameA(nullptr, module, sizeof(module));
    char dir[MAX_PATH];
    int len = GetMyDir(dir, sizeof(dir), nullptr);
    EXPECT_EQ(len, (int)strlen(dir));
    ASSERT_GT(len, 0);
    EXPECT_EQ(dir[len - 1], '\\');
    EXPECT_EQ(std::string(module).rfind(dir, 0), 0u);
    EXPECT_EQ(strchr(module + len, '\\'), nullptr);

    char withFile[MAX_PATH];
    GetMyDir(withFile, sizeof(withFile), "tvagent.exe");
    EXPECT_EQ(std::string(withFile), std::string(dir) + "tvagent.exe");
    char small[8];
    EXPECT_EQ(GetMyDir(small, sizeof(small), "x"), 7);
}

TEST(Files, ExistAndGetNumberedNames)
{
    ScratchDir dir;
    std::string folder = dir.Root().string();
    WriteBytes(dir.Path("New 1.launch"), "");
    EXPECT_EQ(FileExists(dir.Path("New 1.launch").c_str()), 1);
    EXPECT_EQ(FileExists(folder.c_str()), 1);
    EXPECT_EQ(FileExists(dir.Path("New 2.launch").c_str()), 0);

    char name[MAX_PATH] = "New";
    GetFileNameNumber(folder.c_str(), name, sizeof(name), ".launch");
    EXPECT_EQ(std::string(name), dir.Path("New 2.launch"));
}

TEST(Strings, ConvertWideToAnsiWithinTheBuffer)
{
    char out[16];
    EXPECT_EQ(ConvertString(out, L"Tarvin", sizeof(out)), 1);
    EXPECT_STREQ(out, "Tarvin");
    char tiny[4];
    EXPECT_EQ(ConvertString(tiny, L"too long", sizeof(tiny)), 0);
    EXPECT_STREQ(tiny, "");
}

TEST(DefaultBrowser, PathComesFromTheHtmAssociation)
{
    SetClassesDefault(".htm", "TvTest.Html");
    SetClassesDefault("TvTest.Html\\shell\\open\\command", "\"C:\\Web Browser\\browse.exe\" -url \"%1\"");
    char path[MAX_PATH];
    EXPECT_STREQ(GetDefaultBrowserPath(path, sizeof(path)), "C:\\Web Browser\\browse.exe");

    SetClassesDefault("TvTest.Html\\shell\\open\\command", "C:\\b\\plain.exe -new %1");
    EXPECT_STREQ(GetDefaultBrowserPath(path, sizeof(path)), "C:\\b\\plain.exe -new");

    SetClassesDefault(".htm", "TvTest.Missing");
    EXPECT_STREQ(GetDefaultBrowserPath(path, sizeof(path)), "");
    // No browser at all still gives a usable (possibly null) icon and no crash.
    HICON icon = GetDefaultBrowserIcon(GetModuleHandleA(nullptr));
    if (icon)
        DestroyIcon(icon);
}

TEST(LaunchFromMyDir, ReportsTheShellsResult)
{
    EXPECT_LE(LaunchFromMyDir("no-such-program.exe", nullptr, nullptr, SW_SHOWNORMAL), 32);
    char module[MAX_PATH];
    GetModuleFileNameA(nullptr, module, sizeof(module));
    char name[MAX_PATH];
    GetFileNameFromPath(module, name, sizeof(name));
    // Starts a second copy of this test program that runs no test.
    EXPECT_GT(LaunchFromMyDir(name, "--gtest_filter=-*", nullptr, SW_HIDE), 32);
}

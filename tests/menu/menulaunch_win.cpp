// Starting a menu entry: the shell calls made, the retry for a moved target
// and the messages for a failed start.
#include <windows.h>
#include <shellapi.h>
#include <string>
#include <vector>

#include "Menu.h"
#include "MenuLaunch.h"
#include "dirutils_win.h"
#include "testutil.h"

namespace
{
struct Call
{
    std::string file;
    bool noParams, noDir;
    int show;
};
std::vector<Call> g_calls;
std::vector<int> g_results; // one per call; the last one repeats

HINSTANCE WINAPI FakeShellExecute(HWND, LPCSTR verb, LPCSTR file, LPCSTR params, LPCSTR dir, INT show)
{
    EXPECT_EQ(nullptr, verb) << "the file's default action";
    g_calls.push_back(Call{file ? file : "<null>", params == nullptr, dir == nullptr, show});
    size_t i = g_calls.size() - 1;
    return (HINSTANCE)(INT_PTR)g_results[i < g_results.size() ? i : g_results.size() - 1];
}

class FakeShell
{
  public:
    explicit FakeShell(std::vector<int> results) : m_fake(g_MenuShellExecute, FakeShellExecute)
    {
        g_calls.clear();
        g_results = std::move(results);
    }

  private:
    Replaced<PFN_MENUSHELLEXECUTE> m_fake;
};

CMenuItem Entry(const char* target, const char* cmdLine = "", const char* workDir = "")
{
    CMenuItem item(0UL);
    item.SetStyle(MENU_STYLE_ITEM);
    item.SetTarget(target);
    item.SetCmdLine(cmdLine);
    item.SetWorkDir(workDir);
    item.SetWindowState(3);
    return item;
}
} // namespace

TEST(MenuLaunch, RetriesAMovedTargetByItsFileNameOnly)
{
    ScratchDir dir;
    std::string menuPath = dir.Path("my.menu");
    WriteBytes(dir.Path("beside.exe"), "x");
    char myDir[MAX_PATH];
    GetMyDir(myDir, sizeof(myDir), "");
    struct
    {
        const char* target;
        std::vector<int> results;
        int result;
        std::vector<std::string> files;
    } cases[] = {
        {"C:\\old\\beside.exe", {2, 42}, 42, {"C:\\old\\beside.exe", dir.Path("beside.exe")}},
        {"C:\\old\\elsewhere.exe",
         {3, 2},
         2,
         {"C:\\old\\elsewhere.exe", std::string(myDir) + "elsewhere.exe"}},
        // Without a file name the retry would open the menu file's folder
        // (or the program's) in its place.
        {"C:\\no such folder\\", {2}, 2, {"C:\\no such folder\\"}},
        {"", {2}, 2, {""}},
        // Only a target that is not found is retried.
        {"C:\\old\\beside.exe", {5}, 5, {"C:\\old\\beside.exe"}},
        {"C:\\old\\beside.exe", {33}, 33, {"C:\\old\\beside.exe"}},
    };
    for (const auto& c : cases)
    {
        SCOPED_TRACE(c.target);
        FakeShell shell(c.results);
        CMenuItem item = Entry(c.target);
        EXPECT_EQ(c.result, LaunchMenuItem(&item, menuPath.c_str()));
        std::vector<std::string> files;
        for (const Call& call : g_calls)
            files.push_back(call.file);
        EXPECT_EQ(c.files, files);
    }

    // The entry's command line, folder and window state go with every try;
    // empty ones as none at all.
    FakeShell shell({2, 42});
    CMenuItem given = Entry("C:\\old\\beside.exe", "-x", "C:\\");
    LaunchMenuItem(&given, menuPath.c_str());
    ASSERT_EQ(2u, g_calls.size());
    for (const Call& call : g_calls)
    {
        EXPECT_FALSE(call.noParams);
        EXPECT_FALSE(call.noDir);
        EXPECT_EQ(3, call.show);
    }
    CMenuItem bare = Entry("C:\\old\\beside.exe");
    LaunchMenuItem(&bare, menuPath.c_str());
    ASSERT_EQ(3u, g_calls.size());
    EXPECT_TRUE(g_calls[2].noParams);
    EXPECT_TRUE(g_calls[2].noDir);
}

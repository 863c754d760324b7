// tvmint.exe end to end: the real program pops its menu up, the test chooses
// with the keyboard as a user would, and checks what was started, the message
// boxes and the exit code.
//
// Started as "tvmint_e2e --marker <file> [words...]" this program is the
// menu's target instead: it writes its arguments and its current folder into
// the file and exits.
#include <windows.h>
#include <memory>
#include <string>
#include <gtest/gtest.h>

#include "support/tvdriver/driver.h"
#include "e2e/e2e_testutil.h"
#include "testutil.h"

namespace
{
using e2etest::Exists;
using e2etest::kTimeout;
using e2etest::Program;
using e2etest::Quote;
using e2etest::WaitFile;

using e2etest::MenuItem;
using e2etest::WriteMenu;

class MenuInterpreter : public ::testing::Test
{
  protected:
    void SetUp() override
    {
        m_menuDir = m_dir.Path("menu dir");
        CreateDirectoryA(m_menuDir.c_str(), NULL);
        m_menuFile = m_menuDir + "\\test.menu";
        m_elsewhere = m_dir.Path("elsewhere");
        CreateDirectoryA(m_elsewhere.c_str(), NULL);
    }

    // An entry that starts this program, which writes the marker file. A
    // menu file value cannot hold a double quote: the marker path must not
    // need quoting.
    std::string MarkerItem(const std::string& text, const std::string& marker,
                           const std::string& workdir = "")
    {
        EXPECT_EQ(marker.find(' '), std::string::npos) << marker;
        return MenuItem(text, Program("tvmint_e2e.exe"), "--marker " + marker + " " + text, workdir);
    }

    // Starts tvmint in a folder that holds neither the menu nor its targets.
    // A tvmint left from an earlier start is ended first.
    void Start(const std::string& args)
    {
        m_mint.reset(new CDrvProcess());
        ASSERT_TRUE(m_mint->Start(Program("tvmint.exe").c_str(), args.c_str(), m_elsewhere.c_str()));
    }

    HWND WaitPopup()
    {
        HWND popup = NULL;
        EXPECT_EQ(TVD_OK,
                  DrvWaitWindow(DrvQuery("#32768", NULL, TVD_MATCH_EXACT, m_mint->Pid()), kTimeout, &popup));
        return popup;
    }

    // The menu's own loop takes keys posted to its window.
    static void Key(HWND popup, WPARAM vk)
    {
        PostMessageA(popup, WM_KEYDOWN, vk, 1);
        PostMessageA(popup, WM_KEYUP, vk, 0xC0000001);
    }

    // Waits for the menu, steps down to the entry and presses Enter.
    void Choose(int downs)
    {
        HWND popup = WaitPopup();
        ASSERT_TRUE(popup);
        for (int i = 0; i < downs; i++)
            Key(popup, VK_DOWN);
        Key(popup, VK_RETURN);
    }

    DWORD WaitExit()
    {
        DWORD code = 0xDEAD;
        EXPECT_EQ(TVD_OK, m_mint->WaitExit(kTimeout, &code));
        return code;
    }

    ScratchDir m_dir;
    std::string m_menuDir;
    std::string m_menuFile;
    std::string m_elsewhere;
    std::unique_ptr<CDrvProcess> m_mint;
};
} // namespace

TEST_F(MenuInterpreter, StartsTheChosenEntryWithItsArgumentsAndFolderThenExits)
{
    std::string first = m_dir.Path("first.txt");
    std::string second = m_dir.Path("second.txt");
    WriteMenu(m_menuFile,
              {MarkerItem("First", first), "<menuseparator />", MarkerItem("Second", second, m_menuDir)});
    Start("-file=" + Quote(m_menuFile));
    // The separator is an entry of its own (drawn by the program): three
    // steps down to the second entry.
    Choose(3);
    EXPECT_EQ(0u, WaitExit());
    ASSERT_TRUE(WaitFile(second));
    EXPECT_FALSE(Exists(first));
    ASSERT_TRUE(DrvWaitFor([&]() { return ReadBytes(second).find("dir=") != std::string::npos; }, kTimeout) ==
                TVD_OK);
    std::string record = ReadBytes(second);
    EXPECT_NE(record.find("args=Second\r\n"), std::string::npos) << record;
    EXPECT_NE(record.find("dir=" + m_menuDir + "\r\n"), std::string::npos) << record;
}

// The target mode: record the arguments and the current folder, then exit.
static int WriteMarker(int argc, char** argv)
{
    std::string text = "args=";
    for (int i = 3; i < argc; ++i)
        text += (i > 3 ? " " : "") + std::string(argv[i]);
    char dir[MAX_PATH] = "";
    GetCurrentDirectoryA(sizeof(dir), dir);
    text += "\r\ndir=" + std::string(dir) + "\r\n";
    // Written under another name and renamed, so a reader never sees half.
    std::string temp = std::string(argv[2]) + ".tmp";
    WriteBytes(temp, text);
    return MoveFileExA(temp.c_str(), argv[2], MOVEFILE_REPLACE_EXISTING) ? 0 : 1;
}

int main(int argc, char** argv)
{
    if (argc >= 2 && strcmp(argv[1], "--marker") == 0)
        return argc >= 3 ? WriteMarker(argc, argv) : 2;
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}

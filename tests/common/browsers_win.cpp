// Shell shortcuts through the shell's own objects.
#include <windows.h>
#include <string>

#include <gtest/gtest.h>

#include "shelllink.h"
#include "strutils.h"
#include "testutil.h"
#include "wintestutil.h"

namespace
{

TEST(ShellLink, RoundTripsEveryPropertyThroughAShortcutFile)
{
    ScratchDir dir;
    std::string target = wintest::ProgramDir() + "browsehost.exe";
    std::string lnk = dir.Path("Host shortcut.lnk");
    CShellLinkInfo info;
    StrCopy(info.m_szPath, target.c_str());
    StrCopy(info.m_szArguments, "apps \"C:\\with space\\x.exe\"");
    StrCopy(info.m_szDescription, "Runs the browser");
    StrCopy(info.m_szIconLocation, "C:\\windows\\system32\\shell32.dll");
    info.m_nIconIndex = 3;
    info.m_nShowCmd = SW_SHOWMAXIMIZED;
    info.m_wHotkey = MAKEWORD('K', HOTKEYF_CONTROL | HOTKEYF_ALT);
    StrCopy(info.m_szWorkingDirectory, dir.Root().string().c_str());
    {
        CShellLink link;
        ASSERT_EQ(1, link.Create(info));
        ASSERT_EQ(1, link.Save(lnk.c_str()));
    }
    CShellLink back;
    ASSERT_EQ(1, back.Load(lnk.c_str()));
    EXPECT_STRCASEEQ(target.c_str(), back.GetPath());
    EXPECT_STREQ(info.m_szArguments, back.GetArguments());
    EXPECT_STREQ(info.m_szDescription, back.GetDescription());
    EXPECT_STRCASEEQ(info.m_szIconLocation, back.GetIconLocation());
    EXPECT_EQ(3, back.GetIconLocationIndex());
    EXPECT_EQ(SW_SHOWMAXIMIZED, back.GetShowCommand());
    EXPECT_EQ(info.m_wHotkey, back.GetHotKey());
    EXPECT_STRCASEEQ(info.m_szWorkingDirectory, back.GetWorkingDirectory());
    EXPECT_NE(nullptr, back.GetPathIDList());

    CShellLink missing;
    EXPECT_EQ(0, missing.Load(dir.Path("none.lnk").c_str()));
}

} // namespace

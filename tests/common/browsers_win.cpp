// Shell shortcuts through the shell's own objects, and the two browsers run
// in a program of their own and driven across processes as a user would.
#include <windows.h>
#include <commctrl.h>
#include <string>

#include <gtest/gtest.h>

#include "AppList.h"
#include "dlgtemplate.h"
#include "PickIconDialog.h"
#include "shelllink.h"
#include "strutils.h"
#include "e2e/driver.h"
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

TEST(ShellURL, RoundTripsTheAddressAndReportsAMissingFile)
{
    ScratchDir dir;
    std::string path = dir.Path("Site.url");
    {
        CShellURL url;
        ASSERT_TRUE(SUCCEEDED(url.Save(path.c_str(), "http://www.example.org/a?b=c")));
    }
    CShellURL back;
    ASSERT_TRUE(SUCCEEDED(back.Load(path.c_str())));
    EXPECT_STREQ("http://www.example.org/a?b=c", back.GetURL());
    CShellURL none;
    EXPECT_LT(none.Load(dir.Path("none.url").c_str()), 0);
}

TEST(AppList, OneEntryPerNameSortedIgnoringCase)
{
    CAppList list;
    const char* names[][2] = {{"zed", "C:\\z.exe"},
                              {"Alpha", "C:\\a.exe"},
                              {"ALPHA", "C:\\other.exe"},
                              {"", "C:\\tools\\Beta.exe"}};
    int appended = 0;
    for (auto& n : names)
    {
        CAppList::CApp* app = new CAppList::CApp;
        StrCopy(app->m_pszName, MAX_PATH, n[0]);
        StrCopy(app->m_pszPath, MAX_PATH, n[1]);
        appended += list.AppendIfNotFound(app);
    }
    EXPECT_EQ(3, appended);
    SortPtrList(list.m_list, CAppList::SortAlphabetically);
    ASSERT_EQ(3u, list.m_list.GetSize());
    EXPECT_STREQ("Alpha", list.m_list.GetAt(0)->m_pszName);
    EXPECT_STREQ("C:\\a.exe", list.m_list.GetAt(0)->m_pszPath);
    EXPECT_STREQ("Beta", list.m_list.GetAt(1)->m_pszName);
    EXPECT_STREQ("zed", list.m_list.GetAt(2)->m_pszName);
    EXPECT_EQ(nullptr, list.GetAppIcon(3));
}

// browsehost.exe running one browser; its answer once it has ended.
class BrowserHost
{
  public:
    bool Start(const char* args, const char* className)
    {
        std::string exe = wintest::ProgramDir() + "browsehost.exe";
        if (!m_process.StartCaptured(exe.c_str(), args))
            return false;
        DrvWindowQuery query = DrvQuery(className, nullptr, TVD_MATCH_EXACT, m_process.Pid());
        // The application list reads every file type first.
        return DrvWaitWindow(query, 30000, &m_dialog) == TVD_OK;
    }
    HWND Dialog() const
    {
        return m_dialog;
    }
    HWND Item(int id) const
    {
        return DrvFindChildById(m_dialog, id);
    }
    std::string Text(int id) const
    {
        char text[MAX_PATH] = "";
        DrvGetText(Item(id), text, sizeof(text));
        return text;
    }
    std::string Answer()
    {
        if (m_process.WaitExit(10000) != TVD_OK)
            return "<running>";
        return m_process.Output();
    }

  private:
    CDrvProcess m_process;
    HWND m_dialog = nullptr;
};

int FindRow(HWND list, const char* needle)
{
    for (int row = 0; row < DrvListViewRowCount(list); row++)
    {
        char text[MAX_PATH] = "";
        DrvListViewText(list, row, 0, text, sizeof(text));
        if (strstr(text, needle))
            return row;
    }
    return -1;
}

TEST(BrowseApplications, ListsNotepadAndAnswersItsPathOnOk)
{
    BrowserHost host;
    ASSERT_TRUE(host.Start("apps", "_mh_BROWSEAPPS_CLS__"));
    // An empty field: OK is off until something is typed.
    EXPECT_FALSE(IsWindowEnabled(host.Item(105)));
    DrvSetText(host.Item(104), "x");
    EXPECT_TRUE(IsWindowEnabled(host.Item(105)));
    DrvSetText(host.Item(104), "");
    EXPECT_FALSE(IsWindowEnabled(host.Item(105)));

    HWND list = host.Item(100);
    int row = FindRow(list, "notepad");
    ASSERT_GE(row, 0) << "rows: " << DrvListViewRowCount(list);
    ASSERT_TRUE(DrvListViewSelect(list, row));
    std::string path = host.Text(104);
    EXPECT_NE(std::string::npos, path.find("notepad.exe")) << path;
    EXPECT_TRUE(IsWindowEnabled(host.Item(105)));
    DrvPressButton(host.Dialog(), 105);
    EXPECT_EQ("result=1\ntext=" + path + "\nname=\n", host.Answer());
}

TEST(BrowseApplications, CancelLeavesTheCallersTextAlone)
{
    BrowserHost host;
    ASSERT_TRUE(host.Start("apps C:\\start.exe", "_mh_BROWSEAPPS_CLS__"));
    EXPECT_EQ("C:\\start.exe", host.Text(104));
    HWND list = host.Item(100);
    ASSERT_GT(DrvListViewRowCount(list), 0);
    DrvListViewSelect(list, 0);
    EXPECT_NE("C:\\start.exe", host.Text(104));
    DrvPressButton(host.Dialog(), 106);
    EXPECT_EQ("result=0\ntext=C:\\start.exe\nname=\n", host.Answer());
}

// A favourites folder of the test's own, set where the shell looks for it.
class FavouritesFolder
{
  public:
    static constexpr const char* kKey =
        "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\User Shell Folders";
    FavouritesFolder()
    {
        m_reg.Save(kKey, "Favorites");
        wintest::SetRegString(kKey, "Favorites", m_dir.Root().string());
    }
    void Add(const char* relPath, const char* url)
    {
        std::string path = m_dir.Path(relPath);
        CreateDirectoryA(path.substr(0, path.rfind('\\')).c_str(), nullptr);
        CShellURL shortcut;
        ASSERT_TRUE(SUCCEEDED(shortcut.Save(path.c_str(), url))) << path;
    }
    std::string Path(const char* name)
    {
        return m_dir.Path(name);
    }

  private:
    wintest::RegRestorer m_reg;
    ScratchDir m_dir;
};

TEST(BrowseFavorites, ListsTheUrlFilesOfEveryLevelOnceByName)
{
    FavouritesFolder favs;
    favs.Add("Zoo.url", "http://zoo.example/");
    favs.Add("apple.url", "http://apple.example/");
    favs.Add("News\\Daily.url", "http://daily.example/");
    favs.Add("News\\Deep\\zoo.url", "http://other-zoo.example/"); // same name: dropped
    WriteBytes(favs.Path("notes.txt"), "not a favourite");

    BrowserHost host;
    ASSERT_TRUE(host.Start("favs", "_mh_BROWSEFAVS_CLS__"));
    HWND list = host.Item(100);
    std::string rows;
    for (int row = 0; row < DrvListViewRowCount(list); row++)
    {
        char text[MAX_PATH] = "";
        DrvListViewText(list, row, 0, text, sizeof(text));
        rows += std::string(text) + ";";
    }
    EXPECT_EQ("apple;Daily;Zoo;", rows);

    ASSERT_TRUE(DrvListViewSelect(list, 1));
    EXPECT_EQ("http://daily.example/", host.Text(104));
    // Typing a favourite's address (any case) names that favourite.
    DrvSetText(host.Item(104), "HTTP://ZOO.example/");
    DrvPressButton(host.Dialog(), 105);
    EXPECT_EQ("result=1\ntext=HTTP://ZOO.example/\nname=Zoo\n", host.Answer());
}

TEST(BrowseFavorites, AnyOtherAddressIsItsOwnNameAndCancelAnswersNothing)
{
    FavouritesFolder favs;
    favs.Add("Zoo.url", "http://zoo.example/");
    {
        BrowserHost host;
        ASSERT_TRUE(host.Start("favs", "_mh_BROWSEFAVS_CLS__"));
        DrvSetText(host.Item(104), "http://new.example/");
        DrvPressButton(host.Dialog(), 105);
        EXPECT_EQ("result=1\ntext=http://new.example/\nname=http://new.example/\n", host.Answer());
    }
    BrowserHost host;
    ASSERT_TRUE(host.Start("favs", "_mh_BROWSEFAVS_CLS__"));
    DrvListViewSelect(host.Item(100), 0);
    DrvClose(host.Dialog());
    EXPECT_EQ("result=0\ntext=\nname=\n", host.Answer());
}

} // namespace

namespace
{

TEST(DlgTemplate, BuildsARunnableTemplateAndRefusesOneThatOverflows)
{
    CDlgTemplate tpl;
    ASSERT_TRUE(tpl.Begin(WS_POPUP | WS_CAPTION | DS_SETFONT, 0, 10, 10, 120, 60, "Built in memory", nullptr,
                          8, "MS Shell Dlg"));
    ASSERT_TRUE(
        tpl.AddItem(WS_CHILD | WS_VISIBLE | BS_PUSHBUTTON, 0, 5, 5, 50, 14, 7, 0x0080, nullptr, "&Odd"));
    ASSERT_TRUE(tpl.AddItem(WS_CHILD | WS_VISIBLE, 0, 5, 25, 60, 10, 8, 0, "STATIC", "Label text"));
    DLGPROC plain = [](HWND, UINT, WPARAM, LPARAM) -> INT_PTR { return FALSE; };
    HWND dlg = CreateDialogIndirectParamA(GetModuleHandleA(nullptr), tpl.Get(), nullptr, plain, 0);
    ASSERT_NE(nullptr, dlg);
    char text[64] = "";
    GetWindowTextA(dlg, text, sizeof(text));
    EXPECT_STREQ("Built in memory", text);
    GetDlgItemTextA(dlg, 7, text, sizeof(text));
    EXPECT_STREQ("&Odd", text);
    GetDlgItemTextA(dlg, 8, text, sizeof(text));
    EXPECT_STREQ("Label text", text);
    DestroyWindow(dlg);

    std::string longText(500, 'x');
    int added = 0;
    while (tpl.AddItem(WS_CHILD, 0, 0, 0, 10, 10, 9, 0x0082, nullptr, longText.c_str()))
        added++;
    EXPECT_GT(added, 5);
    EXPECT_TRUE(tpl.Overflowed());
    EXPECT_EQ(nullptr, tpl.Get());
    EXPECT_TRUE(tpl.Begin(WS_POPUP, 0, 0, 0, 10, 10, "", nullptr));
    EXPECT_NE(nullptr, tpl.Get()) << "a new start clears the overflow";
}

TEST(SelectIcon, APickerThatCannotShowItselfIsNoChoice)
{
    // Wine's picker is a stub that answers -1 at once: the caller must see
    // no choice and keep its path and index.
    char path[MAX_PATH] = "C:\\windows\\system32\\shell32.dll";
    int index = 4;
    EXPECT_EQ(0, SelectIconA(nullptr, path, sizeof(path), &index));
    EXPECT_STREQ("C:\\windows\\system32\\shell32.dll", path);
    EXPECT_EQ(4, index);
    WCHAR wide[MAX_PATH] = L"C:\\windows\\system32\\shell32.dll";
    EXPECT_EQ(0, SelectIconW(nullptr, wide, MAX_PATH, &index));
    EXPECT_STREQ(L"C:\\windows\\system32\\shell32.dll", wide);
}

} // namespace

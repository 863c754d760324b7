// Several lines at once, disabled lines, Run Selected Lines, the save check
// and the recent files, end to end in the real tvedit.exe (and tvmedit.exe
// for its recent files).
#include <windows.h>

#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "e2e/editor_testutil.h"

namespace
{

using namespace edittest;

const char* const kMeditKey = "Software\\Norvale\\Tarvin 2\\Menu Editor";
const int kMeditRecentFirst = 460;

std::string RegText(const char* key, const char* name)
{
    char value[MAX_PATH] = "";
    DWORD size = sizeof(value);
    if (RegGetValueA(HKEY_CURRENT_USER, key, name, RRF_RT_REG_SZ, nullptr, value, &size) != ERROR_SUCCESS)
        return "<missing>";
    return value;
}

class EditLines : public EditorTest
{
  protected:
    // Selects exactly those rows.
    void SelectRows(Editor& ed, std::initializer_list<int> rows)
    {
        ASSERT_TRUE(ed.Select(*rows.begin()));
        for (int row : rows)
            ASSERT_TRUE(DrvListViewSetSelected(ed.List(), row, true));
    }
    void SaveAndWait(Editor& ed, const std::string& title)
    {
        ed.Post(IDM_SAVE);
        ASSERT_TRUE(ed.WaitTitle(title));
    }
};

// Move, delete, cut and paste of several rows are one undo step each; what is
// saved after an undo is the file as it was. Where moved rows land is the
// host's LineBlock test.
TEST_F(EditLines, EditsOfSeveralRowsAreOneUndoStep)
{
    std::vector<std::string> lines = {"Message \"a\"", "Message \"b\"", "Message \"c\"", "Message \"d\"",
                                      "Message \"e\""};
    std::string path = WriteLaunch("five.launch", lines);
    Editor& ed = StartEditor(path);
    const std::string title = "Tarvin Editor - [five.launch]";
    ASSERT_TRUE(ed.WaitTitle(title));
    Rows start = ed.Rows();
    auto rows = [&](const char* order) {
        Rows r;
        for (const char* c = order; *c; c++)
            r.push_back(start[(size_t)(*c - 'a')]);
        return r;
    };

    SelectRows(ed, {1, 3});
    ed.Post(IDM_MOVEDOWN);
    ASSERT_TRUE(ed.WaitRows(rows("acbed")));
    EXPECT_EQ(2, DrvListViewSelected(ed.List())) << "the moved rows stay selected";
    EXPECT_EQ(LVIS_SELECTED, DrvListViewState(ed.List(), 4, LVIS_SELECTED));

    SelectRows(ed, {0, 1, 4});
    ed.Post(IDM_DELETE);
    EXPECT_EQ("Are you sure you want to delete these 3 actions?", ed.Answer("Confirm Delete", IDYES));
    ASSERT_TRUE(ed.WaitRows(rows("be")));
    ed.Post(IDM_UNDO);
    ASSERT_TRUE(ed.WaitRows(rows("acbed")));

    SelectRows(ed, {1, 2});
    ed.Post(IDM_CUT);
    ASSERT_TRUE(ed.WaitRows(rows("aed")));
    ASSERT_TRUE(ed.Select(2));
    ed.Post(IDM_PASTE);
    ASSERT_TRUE(ed.WaitRows(rows("aedcb")));
    ed.Post(IDM_UNDO);
    ASSERT_TRUE(ed.WaitRows(rows("aed")));
    ed.Post(IDM_UNDO);
    ASSERT_TRUE(ed.WaitRows(rows("acbed")));

    SaveAndWait(ed, title);
    EXPECT_EQ(Rows({lines[0], lines[2], lines[1], lines[4], lines[3]}), ReadLines(path));
    for (int i = 0; i < 3; i++)
        ed.Post(IDM_UNDO); // nothing left to undo after the save
    ed.Post(IDM_REDO);
    EXPECT_TRUE(ed.WaitRows(rows("acbed")));
    EXPECT_EQ(title, ed.Title());
}

// Disabled lines are saved as marked comments, shown greyed under their own
// action's name, and come back byte for byte; a hand-written comment that
// looks alike is left alone.
TEST_F(EditLines, DisableAndEnableRoundTripExactly)
{
    std::string original = "Launch \"C:\\a b\\x.exe\",\"\",\"-q  1\",Normal\r\n//disabled by hand\r\n"
                           "Wait \"5 ms\"\r\n";
    std::string path = File("switch.launch");
    WriteBytes(path, original);
    Editor& ed = StartEditor(path);
    const std::string title = "Tarvin Editor - [switch.launch]";
    ASSERT_TRUE(ed.WaitTitle(title));

    SelectRows(ed, {0, 1, 2});
    ed.Post(IDM_DISABLE);
    ASSERT_TRUE(ed.WaitTitle(title + "*"));
    Rows shown = ed.Rows();
    ASSERT_EQ(3u, shown.size());
    EXPECT_EQ("Launch (disabled)", shown[0].substr(0, shown[0].find('|')));
    EXPECT_EQ("Wait (disabled)", shown[2].substr(0, shown[2].find('|')));
    SaveAndWait(ed, title);
    EXPECT_EQ("//[disabled] Launch \"C:\\a b\\x.exe\",\"\",\"-q  1\",Normal\r\n//[disabled] //disabled by "
              "hand\r\n//[disabled] Wait \"5 ms\"\r\n",
              ReadBytes(path));

    SelectRows(ed, {0, 1, 2});
    ed.Post(IDM_ENABLE);
    ASSERT_TRUE(ed.WaitTitle(title + "*"));
    SaveAndWait(ed, title);
    EXPECT_EQ(original, ReadBytes(path));
}

// Only the selected line runs, from a temporary file that is gone afterwards.
TEST_F(EditLines, RunSelectedLinesRunsOnlyThose)
{
    std::string source = File("source.txt");
    WriteBytes(source, "data");
    std::string path =
        WriteLaunch("run.launch", {"Copy \"" + source + "\",\"" + File("first.txt") + "\",Overwrite",
                                   "Copy \"" + source + "\",\"" + File("second.txt") + "\",Overwrite"});
    char temp[MAX_PATH];
    GetTempPathA(sizeof(temp), temp);
    auto tempFiles = [&]() {
        int n = 0;
        WIN32_FIND_DATAA data;
        HANDLE find = FindFirstFileA((std::string(temp) + "tve*.tmp").c_str(), &data);
        for (BOOL more = find != INVALID_HANDLE_VALUE; more; more = FindNextFileA(find, &data))
            n++;
        if (find != INVALID_HANDLE_VALUE)
            FindClose(find);
        return n;
    };
    int before = tempFiles();
    Editor& ed = StartEditor(path);
    ASSERT_TRUE(ed.WaitRowCount(2));
    ASSERT_TRUE(ed.Select(1));
    ed.Post(IDM_RUNSELECTED);
    ASSERT_TRUE(e2etest::WaitFile(File("second.txt")));
    EXPECT_EQ(TVD_OK, DrvWaitFor([&]() { return tempFiles() == before; }, 2 * kTimeout));
    EXPECT_FALSE(e2etest::Exists(File("first.txt")));
}

// A file with an error is saved only when the user says so.
TEST_F(EditLines, SaveOfABrokenFileAsks)
{
    std::string path = WriteLaunch("broken.launch", {"Message \"ok\"", "Frobnicate \"x\""});
    std::string before = ReadBytes(path);
    Editor& ed = StartEditor(path);
    const std::string title = "Tarvin Editor - [broken.launch]";
    ASSERT_TRUE(ed.WaitTitle(title));
    ASSERT_TRUE(ed.Select(0));
    ed.Post(IDM_MOVEDOWN);
    ASSERT_TRUE(ed.WaitTitle(title + "*"));

    ed.Post(IDM_SAVE);
    std::string text = ed.Answer("Save", IDNO);
    EXPECT_NE(std::string::npos, text.find("Line 1: error: ")) << text;
    EXPECT_NE(std::string::npos, text.find("Do you want to save it anyway?")) << text;
    EXPECT_TRUE(ed.Ready());
    EXPECT_EQ(title + "*", ed.Title());
    EXPECT_EQ(before, ReadBytes(path));

    ed.Post(IDM_SAVE);
    ed.Answer("Save", IDYES);
    ASSERT_TRUE(ed.WaitTitle(title));
    EXPECT_EQ(Rows({"Frobnicate \"x\"", "Message \"ok\""}), ReadLines(path));
}

// Each editor keeps its last files under its own key; a file that is gone
// leaves the list with a message. The list's order is the host's RecentFiles
// test.
TEST_F(EditLines, RecentFilesOfBothEditors)
{
    for (const char* name : {"Show Tips", "Show Startup"})
        wintest::SetRegDword(kMeditKey, name, 0);
    const std::string launch = WriteLaunch("a.launch", {"Message \"a\""}), menu = File("mine.menu");
    e2etest::WriteMenu(menu, {});
    const struct
    {
        const char *exe, *mainClass, *key;
        const std::string& file;
        int recentFirst;
    } cases[] = {{"tvedit.exe", "_TVEDIT_MAINWND", kEditorKey, launch, IDM_RECENT_FIRST},
                 {"tvmedit.exe", "_TVMEDIT_MAINWND", kMeditKey, menu, kMeditRecentFirst}};
    for (const auto& c : cases)
    {
        SCOPED_TRACE(c.exe);
        e2etest::CProgramWindow ed;
        ASSERT_TRUE(ed.Start(c.exe, "-file=\"" + c.file + "\"", c.mainClass));
        EXPECT_EQ(TVD_OK, DrvWaitFor([&]() { return RegText(c.key, "Recent File 1") == c.file; }, kTimeout));
        ASSERT_TRUE(DeleteFileA(c.file.c_str()));
        ed.Post(c.recentFirst);
        EXPECT_EQ("The file " + c.file +
                      " no longer exists.\n\nIt has been removed from the list of recent files.",
                  ed.Answer("File Not Found", IDOK));
        EXPECT_EQ("<missing>", RegText(c.key, "Recent File 1"));
        DrvClose(ed.Main());
    }
    RegDeleteKeyA(HKEY_CURRENT_USER, kMeditKey);
}

} // namespace

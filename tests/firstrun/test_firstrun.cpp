// tvfrfld.dll as its callers see it: the files folder, the first-run set-up
// and the caller contract of TarvinFileExists.
#include <windows.h>
#include <shlobj.h>

#include <algorithm>
#include <string>
#include <vector>

#include "firstrun.h"
#include "userfiles.h"
#include "keysfile.h"
#include "logline.h"
#include "LaunchFile.h"
#include "Menu.h"
#include "testutil.h"
#include "wintestutil.h"
#include "strutils.h"

namespace
{

const char kKey[] = "Software\\Norvale\\Tarvin 2";

bool IsFolder(const std::string& path)
{
    DWORD attr = GetFileAttributesA(path.c_str());
    return attr != INVALID_FILE_ATTRIBUTES && (attr & FILE_ATTRIBUTE_DIRECTORY);
}

// The lines of a file whose every line ends in CR LF; a last line without
// one shows as "<missing CR LF>".
std::vector<std::string> SplitCrLfLines(const std::string& bytes)
{
    std::vector<std::string> lines;
    for (size_t pos = 0, end; pos < bytes.size(); pos = end + 2)
    {
        end = bytes.find("\r\n", pos);
        lines.push_back(end == std::string::npos ? "<missing CR LF>" : bytes.substr(pos, end - pos));
        if (end == std::string::npos)
            break;
    }
    return lines;
}

class FirstRun : public ::testing::Test
{
  protected:
    void SetUp() override
    {
        m_registry.Save(kKey, "Files Folder");
        m_registry.Save(kKey, "First Run");
        m_folder = m_scratch.Path("profile\\Tarvin Files");
        wintest::SetRegString(kKey, "Files Folder", m_folder);
        wintest::DeleteRegValue(kKey, "First Run");
    }
    std::string File(const char* name) const
    {
        return m_folder + "\\" + name;
    }
    int Check()
    {
        tagFIRSTRUN_DATA data = {nullptr, GetModuleHandleA(nullptr), "tvtip.sys", nullptr, nullptr};
        return CheckFirstRunAndMenu(&data);
    }

    wintest::RegRestorer m_registry;
    ScratchDir m_scratch;
    std::string m_folder;
};

TEST_F(FirstRun, CreatesFolderMenuAndSample)
{
    ASSERT_FALSE(IsFolder(m_folder));
    EXPECT_NE(0, TarvinFileExists("")); // no folder yet
    ASSERT_EQ(0, Check());
    ASSERT_TRUE(IsFolder(m_folder)); // parents included
    EXPECT_EQ(0, TarvinFileExists(""));
    EXPECT_EQ(0, TarvinFileExists("Tarvin.menu"));
    EXPECT_EQ(0, TarvinFileExists("Sample.launch"));

    // An empty log and an empty keys file that the agent reads without a word.
    std::vector<std::string> log = SplitCrLfLines(ReadBytes(File("Tarvin.log")));
    ASSERT_EQ(1u, log.size());
    EXPECT_EQ(0, ReadLogHeader(log[0].c_str()));
    std::vector<std::string> keys = SplitCrLfLines(ReadBytes(File("Tarvin Keys.keys")));
    ASSERT_EQ(1u, keys.size());
    EXPECT_EQ(1, ReadKeysHeader(keys[0].c_str()));

    // The menu file reads without a fault in the menu's own reader: a root
    // with a side bar and entries for the folder and the sample.
    CMenu menu;
    ASSERT_TRUE(menu.ReadFile(File("Tarvin.menu").c_str())) << menu.GetLastError();
    EXPECT_EQ(MENU_STYLE_SUBMENU | MENU_STYLE_SIDEBAR, menu.FindItem(0)->GetData()->GetStyle());
    std::vector<std::string> targets;
    for (unsigned long id = 1; id <= menu.GetLastId(); id++)
    {
        CPtrTree<CMenuItem>* node = menu.FindItem(id);
        ASSERT_TRUE(node) << id;
        if (node->GetData()->GetStyle() == MENU_STYLE_ITEM)
            targets.push_back(node->GetData()->GetTarget());
    }
    EXPECT_NE(targets.end(), std::find(targets.begin(), targets.end(), m_folder));
    EXPECT_NE(targets.end(), std::find(targets.begin(), targets.end(), File("Sample.launch")));
    // CR LF after every line, nothing more.
    std::vector<std::string> lines = SplitCrLfLines(ReadBytes(File("Tarvin.menu")));
    EXPECT_EQ("<?TarvinMenu version=\"1.00\"?>", lines[0]);
    EXPECT_EQ("</menu>", lines.back());

    // The sample: comments and actions in the forms the editor writes.
    CLaunchFile sample;
    ASSERT_EQ(1, sample.Load(File("Sample.launch").c_str()));
    std::vector<int> codes;
    for (int i = 0; i < sample.GetCount(); i++)
    {
        CLaunchAction* action = sample.GetAction(i);
        codes.push_back(action->GetAction());
        char param[1036];
        if (codes.back() == 14)
        {
            ASSERT_EQ(1, action->GetParam(1, param, sizeof(param)));
            EXPECT_GT(atoi(param), 0);
            EXPECT_STREQ(" ms", param + strspn(param, "0123456789"));
        }
        EXPECT_TRUE(codes.back() == 0 || codes.back() == 14 || codes.back() == 18) << codes.back();
    }
    EXPECT_EQ(0, codes.front());
    // CR LF after every line, nothing more: the file round-trips through the model.
    std::string bytes = ReadBytes(File("Sample.launch"));
    EXPECT_EQ((size_t)sample.GetCount(), SplitCrLfLines(bytes).size());
}

TEST_F(FirstRun, NeverOverwritesTheUsersFiles)
{
    // Files the user already has, whatever they hold, stay byte for byte.
    ASSERT_TRUE(CreateDirectoryA(m_scratch.Path("profile").c_str(), nullptr));
    ASSERT_TRUE(CreateDirectoryA(m_folder.c_str(), nullptr));
    const std::string menu = "<?TarvinMenu version=\"1.00\"?>\r\nnot a menu, but the user's\r\n";
    const std::string launch = "Wait \"1 ms\"";
    const std::string log = "not a log, but the user's";
    const std::string keys = "";
    WriteBytes(File("Tarvin.menu"), menu);
    WriteBytes(File("Sample.launch"), launch);
    WriteBytes(File("Tarvin.log"), log);
    WriteBytes(File("Tarvin Keys.keys"), keys);
    ASSERT_EQ(0, Check());
    EXPECT_EQ("Sample.launch=" + launch + "|Tarvin Keys.keys=" + keys + "|Tarvin.log=" + log +
                  "|Tarvin.menu=" + menu,
              Contents(m_folder));

    EXPECT_EQ(4, wintest::CountFiles(m_folder)) << "no temporary files left behind";
}

// A program's start ends the first run even when the check failed and the
// program is about to exit: the next start does not run it again.
TEST_F(FirstRun, AProgramsStartEndsTheFirstRunWhateverTheCheckSaid)
{
    WriteBytes(m_scratch.Path("profile"), "in the way");
    wintest::SetRegDword(kKey, "First Run", 1);
    EXPECT_FALSE(PrepareUserFiles(nullptr, GetModuleHandleA(nullptr)));
    EXPECT_EQ(0, wintest::StoredDword(kKey, "First Run"));
}

} // namespace

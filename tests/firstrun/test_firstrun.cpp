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

// Saves the library's two registry values and puts them back afterwards.
class RegistrySandbox : public wintest::RegRestorer
{
  public:
    RegistrySandbox()
    {
        Save(kKey, "Files Folder");
        Save(kKey, "First Run");
    }
};

void SetFolderValue(const std::string& value, DWORD type = REG_SZ)
{
    wintest::SetRegString(kKey, "Files Folder", value, type);
}

void DeleteValue(const char* name)
{
    wintest::DeleteRegValue(kKey, name);
}

bool IsFolder(const std::string& path)
{
    DWORD attr = GetFileAttributesA(path.c_str());
    return attr != INVALID_FILE_ATTRIBUTES && (attr & FILE_ATTRIBUTE_DIRECTORY);
}

std::vector<std::string> SplitCrLfLines(const std::string& bytes)
{
    std::vector<std::string> lines;
    size_t pos = 0;
    while (pos < bytes.size())
    {
        size_t end = bytes.find("\r\n", pos);
        if (end == std::string::npos)
        {
            lines.push_back(bytes.substr(pos)); // unterminated: the check below sees it
            lines.push_back("<missing CR LF>");
            break;
        }
        lines.push_back(bytes.substr(pos, end - pos));
        pos = end + 2;
    }
    return lines;
}

class FirstRun : public ::testing::Test
{
  protected:
    void SetUp() override
    {
        m_folder = m_scratch.Path("profile\\Tarvin Files");
        SetFolderValue(m_folder);
        DeleteValue("First Run");
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

    RegistrySandbox m_registry;
    ScratchDir m_scratch;
    std::string m_folder;
};

TEST(FirstRunExports, PlainNamesInTheDll)
{
    HMODULE dll = GetModuleHandleA("tvfrfld.dll");
    ASSERT_NE(nullptr, dll);
    for (const char* name :
         {"CheckFirstRunAndMenu", "SetFirstRun", "GetMyTarvinFilesFolder", "TarvinFileExists"})
        EXPECT_NE(nullptr, GetProcAddress(dll, name)) << name;
}

TEST(FilesFolder, RegistryValueOverridesDocuments)
{
    RegistrySandbox registry;
    char docs[MAX_PATH];
    ASSERT_TRUE(SUCCEEDED(SHGetFolderPathA(nullptr, CSIDL_PERSONAL, nullptr, SHGFP_TYPE_CURRENT, docs)));
    char temp[MAX_PATH];
    ASSERT_TRUE(ExpandEnvironmentStringsA("%TEMP%", temp, sizeof(temp)) > 0);

    struct Case
    {
        const char* value; // nullptr: no value at all
        DWORD type;
        std::string folder; // "" when the library must refuse
    } cases[] = {
        {nullptr, REG_SZ, std::string(docs) + "\\Tarvin Files\\"},
        {"", REG_SZ, std::string(docs) + "\\Tarvin Files\\"},
        {"C:\\Data\\Tarvin", REG_SZ, "C:\\Data\\Tarvin\\"},
        {"C:\\Data\\Tarvin\\\\", REG_SZ, "C:\\Data\\Tarvin\\"},
        {"D:\\", REG_SZ, "D:\\"},
        {"\\\\server\\share\\tv", REG_SZ, "\\\\server\\share\\tv\\"},
        {"%TEMP%\\tv", REG_EXPAND_SZ, std::string(temp) + "\\tv\\"},
        {"relative\\folder", REG_SZ, ""},
        {"C:", REG_SZ, ""},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.value ? c.value : "(no value)");
        if (c.value)
            SetFolderValue(c.value, c.type);
        else
            DeleteValue("Files Folder");
        char path[MAX_PATH] = "junk";
        EXPECT_EQ(c.folder.empty() ? 0 : 1, GetMyTarvinFilesFolder(path, ""));
        EXPECT_EQ(c.folder, path);
        GetMyTarvinFilesFolder(path, nullptr);
        EXPECT_EQ(c.folder, path);
        GetMyTarvinFilesFolder(path, "Tarvin Keys.keys");
        EXPECT_EQ(c.folder.empty() ? "" : c.folder + "Tarvin Keys.keys", path);
    }
}

TEST(FilesFolder, PathThatDoesNotFitIsEmptyAndStaysInItsBuffer)
{
    RegistrySandbox registry;
    std::string folder = "C:\\" + std::string(240, 'f'); // 243 characters, then the backslash
    SetFolderValue(folder);
    struct Case
    {
        std::string name;
        bool fits;
    } cases[] = {
        {std::string(15, 'n'), true},  // 259 characters: the longest path
        {std::string(16, 'n'), false}, // 260
        {std::string(300, 'n'), false},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.name.size());
        char buffer[MAX_PATH + 64];
        memset(buffer, 'x', sizeof(buffer));
        EXPECT_EQ(c.fits ? 1 : 0, GetMyTarvinFilesFolder(buffer, c.name.c_str()));
        EXPECT_EQ(c.fits ? folder + "\\" + c.name : "", buffer);
        for (size_t i = MAX_PATH; i < sizeof(buffer); i++)
            ASSERT_EQ('x', buffer[i]) << "byte " << i;
        EXPECT_NE(0, TarvinFileExists(c.name.c_str()));
    }
    // A stored folder longer than a path is refused, not cut.
    SetFolderValue("C:\\" + std::string(300, 'f'));
    char path[MAX_PATH];
    EXPECT_EQ(0, GetMyTarvinFilesFolder(path, ""));
    EXPECT_STREQ("", path);
}

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

    // A second first run over files it wrote itself changes nothing either.
    DeleteFileA(File("Tarvin.menu").c_str());
    DeleteFileA(File("Sample.launch").c_str());
    ASSERT_EQ(0, Check());
    const std::string firstMenu = ReadBytes(File("Tarvin.menu"));
    const std::string firstSample = ReadBytes(File("Sample.launch"));
    ASSERT_FALSE(firstMenu.empty());
    WriteBytes(File("Tarvin.menu"), firstMenu + "// edited\r\n");
    ASSERT_EQ(0, Check());
    EXPECT_EQ(firstMenu + "// edited\r\n", ReadBytes(File("Tarvin.menu")));
    EXPECT_EQ(firstSample, ReadBytes(File("Sample.launch")));

    EXPECT_EQ(4, wintest::CountFiles(m_folder)) << "no temporary files left behind";
}

TEST_F(FirstRun, AfterTheFirstRunOnlyTheMenuComesBack)
{
    ASSERT_EQ(0, Check());
    SetFirstRun(0);
    EXPECT_EQ(0, wintest::StoredDword(kKey, "First Run"));
    for (const char* name : {"Sample.launch", "Tarvin.menu", "Tarvin.log", "Tarvin Keys.keys"})
        ASSERT_TRUE(DeleteFileA(File(name).c_str())) << name;

    // The menu editor's case: the menu file is missing after the first run.
    ASSERT_NE(0, TarvinFileExists("Tarvin.menu"));
    ASSERT_EQ(0, Check());
    EXPECT_EQ(0, TarvinFileExists("Tarvin.menu"));
    EXPECT_NE(0, TarvinFileExists("Sample.launch")) << "a deleted sample stays deleted";
    // A log or keys file lost later is the agent's to report, not to hide.
    EXPECT_NE(0, TarvinFileExists("Tarvin.log"));
    EXPECT_NE(0, TarvinFileExists("Tarvin Keys.keys"));
    std::string menu = ReadBytes(File("Tarvin.menu"));
    EXPECT_EQ(std::string::npos, menu.find("Sample.launch")) << "no entry for a missing sample";

    SetFirstRun(1);
    EXPECT_EQ(1, wintest::StoredDword(kKey, "First Run"));
    ASSERT_EQ(0, Check());
    EXPECT_EQ(0, TarvinFileExists("Sample.launch"));
}

TEST_F(FirstRun, TarvinFileExistsIsNonzeroForMissing)
{
    ASSERT_EQ(0, Check());
    WriteBytes(File("Tarvin.log"), "");
    ASSERT_TRUE(DeleteFileA(File("Tarvin Keys.keys").c_str()));
    ASSERT_TRUE(CreateDirectoryA(File("Tarvin Keys.keys").c_str(), nullptr));
    struct Case
    {
        const char* name;
        bool missing;
    } cases[] = {
        {"Tarvin.menu", false},
        {"tarvin.MENU", false},
        {"Tarvin.log", false}, // empty, but there
        {"Tarvin Schedule.dat", true},
        {"Tarvin Keys.keys", true}, // a folder is not the file
        {"", false},                // the folder itself
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(c.missing, TarvinFileExists(c.name) != 0);
    }
}

TEST_F(FirstRun, FailsWhenFolderOrMenuCannotBeMade)
{
    // A file where a parent folder should be.
    WriteBytes(m_scratch.Path("profile"), "in the way");
    EXPECT_NE(0, Check());
    EXPECT_FALSE(IsFolder(m_folder));
    ASSERT_TRUE(DeleteFileA(m_scratch.Path("profile").c_str()));

    // A folder where the menu file should be: it cannot be written.
    ASSERT_EQ(0, SHCreateDirectoryExA(nullptr, File("Tarvin.menu").c_str(), nullptr));
    EXPECT_NE(0, Check());
    EXPECT_TRUE(IsFolder(File("Tarvin.menu")));
    // The failed save left no temporary file behind.
    EXPECT_EQ(0, wintest::CountFiles(m_folder, "~tv*"));

    // A folder that fits but leaves no room for "Tarvin.menu".
    std::string base = m_scratch.Path("");
    std::string longFolder = base + std::string(MAX_PATH - 12 - base.size(), 'L');
    SetFolderValue(longFolder);
    EXPECT_NE(0, Check());
    EXPECT_TRUE(IsFolder(longFolder)) << "the folder itself could be made";

    // A relative folder is refused rather than taken from the current folder.
    SetFolderValue("Tarvin Files");
    EXPECT_NE(0, Check());
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

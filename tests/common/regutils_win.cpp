#include <windows.h>
#include <string>
#include <gtest/gtest.h>
#include "regutils.h"
#include "strutils.h"

namespace
{
const char kRunKey[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Run";

// A private subkey of the current user, removed with everything below it.
class RegUtils : public ::testing::Test
{
  protected:
    void SetUp() override
    {
        const ::testing::TestInfo* info = ::testing::UnitTest::GetInstance()->current_test_info();
        m_key = std::string("Software\\Norvale\\Tarvin 2 Tests\\") + info->name();
        RegDeleteTreeA(HKEY_CURRENT_USER, m_key.c_str());
    }
    void TearDown() override
    {
        RegDeleteTreeA(HKEY_CURRENT_USER, m_key.c_str());
    }
    const char* Key() const
    {
        return m_key.c_str();
    }
    // Raw bytes and type of a value, as the registry holds them.
    static bool ReadRaw(HKEY root, const char* subkey, const char* name, DWORD* type, std::string* bytes)
    {
        HKEY key;
        if (RegOpenKeyExA(root, subkey, 0, KEY_QUERY_VALUE, &key) != ERROR_SUCCESS)
            return false;
        char buf[1024];
        DWORD cb = sizeof(buf);
        LONG rc = RegQueryValueExA(key, name, NULL, type, (BYTE*)buf, &cb);
        RegCloseKey(key);
        if (rc != ERROR_SUCCESS)
            return false;
        bytes->assign(buf, cb);
        return true;
    }
    void WriteRaw(const char* name, DWORD type, const void* data, DWORD size)
    {
        HKEY key;
        ASSERT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, Key(), 0, NULL, 0, KEY_WRITE, NULL, &key, NULL),
                  ERROR_SUCCESS);
        ASSERT_EQ(RegSetValueExA(key, name, 0, type, (const BYTE*)data, size), ERROR_SUCCESS);
        RegCloseKey(key);
    }

    std::string m_key;
};
} // namespace

TEST_F(RegUtils, TypedValuesWriteCreatesTheKeyAndFailedReadsKeepTheDefault)
{
    unsigned long value = 1234;
    EXPECT_EQ(RegReadDWORD(HKEY_CURRENT_USER, Key(), "Missing", &value), 0);
    EXPECT_EQ(value, 1234u);

    EXPECT_EQ(RegWriteDWORD(HKEY_CURRENT_USER, Key(), "Status Window", 7), 0);
    EXPECT_EQ(RegReadDWORD(HKEY_CURRENT_USER, Key(), "Missing", &value), 0);
    EXPECT_EQ(value, 1234u);
    EXPECT_EQ(RegReadDWORD(HKEY_CURRENT_USER, Key(), "Status Window", &value), 1);
    EXPECT_EQ(value, 7u);

    DWORD type = 0;
    std::string raw;
    ASSERT_TRUE(ReadRaw(HKEY_CURRENT_USER, Key(), "Status Window", &type, &raw));
    EXPECT_EQ(type, (DWORD)REG_DWORD);
    EXPECT_EQ(raw, std::string("\x07\0\0\0", 4));

    // Wider than 4 bytes: the read fails and the default stays.
    unsigned long long wide = 0x1122334455667788ull;
    WriteRaw("Wide", REG_QWORD, &wide, sizeof(wide));
    value = 99;
    EXPECT_EQ(RegReadDWORD(HKEY_CURRENT_USER, Key(), "Wide", &value), 0);
    EXPECT_EQ(value, 99u);

    // The key cannot be created: 1, not an error code of the write.
    EXPECT_EQ(RegWriteDWORD(NULL, Key(), "x", 1), 1);

    // A RECT is 16 bytes of binary in field order.
    RECT rc = {-5, 10, 300, 400};
    EXPECT_EQ(RegWriteRECT(HKEY_CURRENT_USER, Key(), "Window", rc), 1);
    ASSERT_TRUE(ReadRaw(HKEY_CURRENT_USER, Key(), "Window", &type, &raw));
    EXPECT_EQ(type, (DWORD)REG_BINARY);
    const int32_t fields[4] = {-5, 10, 300, 400};
    EXPECT_EQ(raw, std::string((const char*)fields, 16));
    RECT back = {1, 2, 3, 4};
    EXPECT_EQ(RegReadRECT(HKEY_CURRENT_USER, Key(), "Window", &back), 1);
    EXPECT_TRUE(EqualRect(&back, &rc));
    RECT keep = {1, 2, 3, 4};
    EXPECT_EQ(RegReadRECT(HKEY_CURRENT_USER, Key(), "Missing", &keep), 0);
    EXPECT_EQ(keep.right, 3);
    EXPECT_EQ(RegWriteRECT(NULL, Key(), "Window", rc), 0);

    // Deleting reports whether there was something to delete.
    EXPECT_EQ(RegDeleteVal(HKEY_CURRENT_USER, Key(), "Status Window"), 1);
    EXPECT_EQ(RegDeleteVal(HKEY_CURRENT_USER, Key(), "Status Window"), 0);
    EXPECT_EQ(RegDeleteVal(HKEY_CURRENT_USER, "Software\\Norvale\\No Such Key", "Gone"), 0);
    EXPECT_EQ(RegReadDWORD(HKEY_CURRENT_USER, Key(), "Status Window", &value), 0);
}

// A string value need not carry a terminator (other writers, or data counted
// without one and not followed by a zero). One that fills the buffer exactly
// must still come back terminated.
TEST_F(RegUtils, StringReadAlwaysTerminatesAndFailedReadsKeepTheDefault)
{
    WriteRaw("Bare", REG_SZ, "abcdefgh!", 8);
    EXPECT_EQ(RegWriteTSTR(HKEY_CURRENT_USER, Key(), "Written", "abcdefgh"), 0);
    EXPECT_EQ(RegWriteTSTR(HKEY_CURRENT_USER, Key(), "Empty", ""), 0);
    EXPECT_NE(RegWriteTSTR(NULL, Key(), "Name", "hello"), 0);
    DWORD type = 0;
    std::string raw;
    ASSERT_TRUE(ReadRaw(HKEY_CURRENT_USER, Key(), "Written", &type, &raw));
    EXPECT_EQ(type, (DWORD)REG_SZ);

    struct Case
    {
        const char* name;
        unsigned long size;
        bool ok;
        const char* expected;
    } cases[] = {
        {"Bare", 16, true, "abcdefgh"},
        {"Bare", 9, true, "abcdefgh"},
        {"Bare", 8, true, "abcdefg"}, // exactly the buffer: the last byte gives way
        {"Bare", 7, false, "dflt"},   // longer than the buffer: a failed read
        {"Written", 9, true, "abcdefgh"},
        {"Written", 8, false, "dflt"}, // stored with its zero, so one byte too long
        {"Empty", 8, true, ""},
        {"Missing", 16, false, "dflt"},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(std::string(c.name) + " in " + std::to_string(c.size) + " bytes");
        char buf[32];
        memset(buf, 'X', sizeof(buf));
        StrCopy(buf, c.size, "dflt");
        int rc = RegReadTSTR(HKEY_CURRENT_USER, Key(), c.name, buf, c.size);
        EXPECT_EQ(rc == 0, c.ok);
        EXPECT_STREQ(buf, c.expected);
        EXPECT_EQ(buf[c.size], 'X') << "wrote past the buffer";
    }

    char buf[8] = "dflt";
    EXPECT_NE(RegReadTSTR(HKEY_CURRENT_USER, "Software\\Norvale\\No Such Key", "Name", buf, sizeof(buf)), 0);
    EXPECT_STREQ(buf, "dflt");
}

TEST_F(RegUtils, StartUpEntryIsTheQuotedPathComparedIgnoringCase)
{
    const char* name = "Tarvin 2 Test Agent";
    const char* path = "C:\\Program Files\\Tarvin 2\\tvagent.exe";
    RegDeleteVal(HKEY_CURRENT_USER, kRunKey, name);
    EXPECT_EQ(IsRunningAtStartUp(name, path), 0);

    EXPECT_EQ(RunAtStartUp(name, path, 1), 0);
    DWORD type = 0;
    std::string raw;
    ASSERT_TRUE(ReadRaw(HKEY_CURRENT_USER, kRunKey, name, &type, &raw));
    EXPECT_EQ(type, (DWORD)REG_SZ);
    EXPECT_STREQ(raw.c_str(), "\"C:\\Program Files\\Tarvin 2\\tvagent.exe\"");

    EXPECT_EQ(IsRunningAtStartUp(name, path), 1);
    EXPECT_EQ(IsRunningAtStartUp(name, "c:\\PROGRAM FILES\\tarvin 2\\TVAGENT.EXE"), 1);
    EXPECT_EQ(IsRunningAtStartUp(name, "D:\\Other\\tvagent.exe"), 2);
    EXPECT_EQ(IsRunningAtStartUp(name, "C:\\Program Files\\Tarvin 2\\tvagent.ex"), 2);

    EXPECT_EQ(RunAtStartUp(name, path, 0), 1);
    EXPECT_EQ(IsRunningAtStartUp(name, path), 0);
    EXPECT_EQ(RunAtStartUp(name, path, 0), 0);

    // An empty entry counts as none.
    ASSERT_EQ(RegWriteTSTR(HKEY_CURRENT_USER, kRunKey, name, ""), 0);
    EXPECT_EQ(IsRunningAtStartUp(name, path), 0);

    // The longest path still compares whole once quoted.
    std::string longPath = "C:\\" + std::string(MAX_PATH - 8, 'p') + ".exe";
    ASSERT_EQ(longPath.size(), (size_t)MAX_PATH - 1);
    EXPECT_EQ(RunAtStartUp(name, longPath.c_str(), 1), 0);
    EXPECT_EQ(IsRunningAtStartUp(name, longPath.c_str()), 1);
    std::string otherLong = longPath;
    otherLong[otherLong.size() - 5] = 'q';
    EXPECT_EQ(IsRunningAtStartUp(name, otherLong.c_str()), 2);

    RegDeleteVal(HKEY_CURRENT_USER, kRunKey, name);
}

// Over an existing key its other values stay; a value that differs, in case
// only or in its type, is written again. (Whether an equal value is written
// again cannot be seen under Wine, whose registry drops such a write itself.)
TEST_F(RegUtils, AssociateFileOverAnExistingKeyRewritesWhatDiffers)
{
    const char* ext = ".tvtestlaunch2";
    const char* progId = "Tarvin.TestLaunchFile2";
    const char* commandKey = "Tarvin.TestLaunchFile2\\shell\\Open\\command";
    const char* command = "\"C:\\Tarvin 2\\tvint.exe\" -file=\"%1\"";
    RegDeleteTreeA(HKEY_CLASSES_ROOT, ext);
    RegDeleteTreeA(HKEY_CLASSES_ROOT, progId);
    // Over an existing extension key: its default changes, its other values stay.
    ASSERT_EQ(RegWriteTSTR(HKEY_CLASSES_ROOT, ext, "", "Someone.Else"), 0);
    ASSERT_EQ(RegWriteTSTR(HKEY_CLASSES_ROOT, ext, "Content Type", "text/plain"), 0);
    ASSERT_EQ(AssociateFile(ext, progId, "Tarvin File", command, "Open"), 1);
    struct Expect
    {
        const char* key;
        const char* name;
        const char* value;
    } expected[] = {{ext, "", progId},
                    {ext, "Content Type", "text/plain"},
                    {progId, "", "Tarvin File"},
                    {commandKey, "", command}};
    for (const Expect& e : expected)
    {
        char buf[MAX_PATH] = "";
        EXPECT_EQ(RegReadTSTR(HKEY_CLASSES_ROOT, e.key, e.name, buf, sizeof(buf)), 0) << e.key;
        EXPECT_STREQ(buf, e.value) << e.key << " " << e.name;
    }
    // A value that differs, in case only or in its type, is written again.
    const char* moved = "\"C:\\Tarvin 2\\TVINT.EXE\" -file=\"%1\"";
    HKEY h;
    ASSERT_EQ(RegOpenKeyExA(HKEY_CLASSES_ROOT, progId, 0, KEY_SET_VALUE, &h), ERROR_SUCCESS);
    RegSetValueExA(h, "", 0, REG_EXPAND_SZ, (const BYTE*)"Tarvin File", 12);
    RegCloseKey(h);
    EXPECT_EQ(AssociateFile(ext, progId, "Tarvin File", moved, "Open"), 1);
    DWORD type = REG_NONE;
    std::string bytes;
    ASSERT_TRUE(ReadRaw(HKEY_CLASSES_ROOT, progId, "", &type, &bytes));
    EXPECT_EQ(type, (DWORD)REG_SZ);
    char buf[MAX_PATH] = "";
    EXPECT_EQ(RegReadTSTR(HKEY_CLASSES_ROOT, commandKey, "", buf, sizeof(buf)), 0);
    EXPECT_STREQ(buf, moved);
    // A second verb joins the first.
    EXPECT_EQ(AssociateFile(ext, progId, "Tarvin File", "edit.exe \"%1\"", "Edit"), 1);
    EXPECT_EQ(RegReadTSTR(HKEY_CLASSES_ROOT, commandKey, "", buf, sizeof(buf)), 0);
    EXPECT_STREQ(buf, moved);

    RegDeleteTreeA(HKEY_CLASSES_ROOT, ext);
    RegDeleteTreeA(HKEY_CLASSES_ROOT, progId);
}

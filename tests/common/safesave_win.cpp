#include <windows.h>

#include <thread>
#include <vector>

#include "safesave.h"
#include "strutils.h"
#include "testutil.h"

// A reader that holds the file without letting it be replaced (as another
// program reading the schedule does) delays the save; it does not lose it.
TEST(SafeSave, WaitsForAReaderOfTheTargetToLetGo)
{
    ScratchDir dir;
    std::string path = dir.Path("Tarvin Schedule.dat");
    WriteBytes(path, "old\r\n");
    HANDLE reader = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, NULL, OPEN_EXISTING, 0, NULL);
    ASSERT_NE(INVALID_HANDLE_VALUE, reader);
    std::thread release([reader]() {
        Sleep(150);
        CloseHandle(reader);
    });
    CSafeSave save;
    ASSERT_TRUE(save.Begin(path.c_str()));
    save.WriteLine("new");
    bool committed = save.Commit();
    release.join();
    EXPECT_TRUE(committed);
    EXPECT_EQ("new\r\n", ReadBytes(path));
}

namespace
{
// This program's first temporary name.
std::string Candidate()
{
    char name[32];
    StrFormat(name, sizeof(name), "~tv%x.tmp", (unsigned)GetCurrentProcessId());
    return name;
}
} // namespace

// Programs saving into one folder at once: the others' temporary files are
// held open without sharing. Neither the names every program once took first
// (~tv0.tmp, ~tv1.tmp, ...) nor this program's own first name stops the save,
// and no held file is touched.
TEST(SafeSave, PassesOverTemporaryNamesHeldByOtherPrograms)
{
    ScratchDir dir;
    std::string path = dir.Path("Tarvin.menu");
    std::vector<std::string> names = {Candidate()};
    for (int i = 0; i < 64; i++)
        names.push_back("~tv" + std::to_string(i) + ".tmp");
    std::vector<HANDLE> held;
    for (const std::string& name : names)
    {
        HANDLE h = CreateFileA(dir.Path(name).c_str(), GENERIC_WRITE, 0, NULL, CREATE_NEW, 0, NULL);
        ASSERT_NE(INVALID_HANDLE_VALUE, h) << name;
        held.push_back(h);
    }
    CSafeSave save;
    EXPECT_TRUE(save.Begin(path.c_str()));
    save.WriteLine("saved");
    EXPECT_TRUE(save.Commit());
    for (HANDLE h : held)
        CloseHandle(h);
    EXPECT_EQ("saved\r\n", ReadBytes(path));
    EXPECT_EQ(names.size() + 1, (size_t)std::distance(std::filesystem::directory_iterator(dir.Root()), {}));
}

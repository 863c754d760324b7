#include <windows.h>

#include <thread>

#include "safesave.h"
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

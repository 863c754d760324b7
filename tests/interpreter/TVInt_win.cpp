// The interpreter engine in-process: a Kill that names the interpreter
// itself leaves it running.
#include <windows.h>
#include <string>

#include "TVInt.h"
#include "dirutils.h"
#include "tvint_testutil.h"

using namespace tvint_test;

TEST(Engine, KillNeverEndsTheInterpreterItself)
{
    // This test program stands in for the interpreter: a Kill matching its
    // own name must leave it running (the test goes on) and say so.
    char self[MAX_PATH];
    ASSERT_TRUE(GetModuleFileNameA(NULL, self, sizeof(self)));
    char name[MAX_PATH];
    GetFileNameFromPath(self, name, sizeof(name));
    ScratchDir dir;
    const std::string path = dir.Path("kill.launch");
    WriteLaunchFile(path, {"Kill " + Quote(name)});
    // No channel, nothing confirmed.
    CTVInt engine(GetModuleHandleA(NULL));
    ASSERT_EQ(1, engine.Init(GetModuleHandleA(NULL), GetDesktopWindow(), path.c_str(), NULL, 0, 0, 0, 0, 0));
    EXPECT_EQ(TVINT_DONE, engine.Step());
    EXPECT_EQ(std::string("Kill ") + name + ": no such process is running", engine.GetError());
}

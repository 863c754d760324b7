// The interpreter engine in-process: a Kill that names the interpreter
// itself leaves it running.
#include <windows.h>
#include <string>
#include <vector>

#include "TVInt.h"
#include "dirutils.h"
#include "tvint_testutil.h"

using namespace tvint_test;

namespace
{
class Engine : public ::testing::Test
{
  protected:
    std::string File(const std::vector<std::string>& lines)
    {
        std::string path = m_dir.Path("test" + std::to_string(++m_files) + ".launch");
        WriteLaunchFile(path, lines);
        return path;
    }

    // An engine on a file of the given lines; no channel, nothing confirmed.
    void Load(CTVInt& engine, const std::vector<std::string>& lines)
    {
        ASSERT_EQ(1, engine.Init(GetModuleHandleA(NULL), GetDesktopWindow(), File(lines).c_str(), NULL, 0, 0,
                                 0, 0, 0));
    }

    // Runs a one-line file: the code of its only step.
    int RunLine(CTVInt& engine, const std::string& line)
    {
        Load(engine, {line});
        return engine.Step();
    }

    ScratchDir m_dir;
    int m_files = 0;
};

} // namespace

TEST_F(Engine, KillNeverEndsTheInterpreterItself)
{
    // This test program stands in for the interpreter: a Kill matching its
    // own name must leave it running (the test goes on) and say so.
    char self[MAX_PATH];
    ASSERT_TRUE(GetModuleFileNameA(NULL, self, sizeof(self)));
    char name[MAX_PATH];
    GetFileNameFromPath(self, name, sizeof(name));
    CTVInt engine(GetModuleHandleA(NULL));
    EXPECT_EQ(TVINT_DONE, RunLine(engine, "Kill " + Quote(name)));
    EXPECT_EQ(std::string("Kill ") + name + ": no such process is running", engine.GetError());
}

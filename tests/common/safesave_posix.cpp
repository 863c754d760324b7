// A disk that fills up mid-save, played by a file-size limit: the save
// reports the failure and the previous file survives whole.
#include "safesave.h"
#include "testutil.h"

#include <signal.h>
#include <sys/resource.h>

#include <string>

namespace
{
class FileSizeLimit
{
  public:
    explicit FileSizeLimit(rlim_t bytes)
    {
        getrlimit(RLIMIT_FSIZE, &m_saved);
        m_handler = signal(SIGXFSZ, SIG_IGN);
        rlimit limit = m_saved;
        limit.rlim_cur = bytes;
        m_set = setrlimit(RLIMIT_FSIZE, &limit) == 0;
    }
    ~FileSizeLimit()
    {
        setrlimit(RLIMIT_FSIZE, &m_saved);
        signal(SIGXFSZ, m_handler);
    }
    bool IsSet() const
    {
        return m_set;
    }

  private:
    rlimit m_saved;
    void (*m_handler)(int);
    bool m_set;
};

TEST(SafeSave, AFullDiskMidSaveKeepsThePreviousFile)
{
    ScratchDir dir;
    std::string path = dir.Path("schedule.dat");
    std::string previous(100 * 1024, 'p');
    WriteBytes(path, previous);
    std::string line(999, 'n');

    for (bool commitOnly : {false, true})
    {
        FileSizeLimit limit(200 * 1024);
        ASSERT_TRUE(limit.IsSet());
        CSafeSave save;
        ASSERT_TRUE(save.Begin(path.c_str()));
        bool written = true;
        // Far past the limit, or just below the buffer's size so that only
        // Commit meets the full disk.
        size_t lines = commitOnly ? 1 : 1000;
        for (size_t i = 0; i < lines && written; i++)
            written = save.WriteLine(line.c_str());
        if (commitOnly)
        {
            std::string block(190 * 1024, 'b');
            written = save.Write(block.data(), (unsigned)block.size()) && save.Write(block.data(), 20 * 1024);
        }
        EXPECT_FALSE(written && save.Commit());
        EXPECT_EQ(previous, ReadBytes(path));
    }
    // No temporary file is left behind.
    EXPECT_EQ(1, std::distance(std::filesystem::directory_iterator(dir.Root()), {}));
}
} // namespace

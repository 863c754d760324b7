// The line reader over arbitrary bytes with every line limit of the suite.
#include "TextFile.h"
#include "fuzz_util.h"

#include <string.h>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    std::string path = FuzzFile(data, size);
    for (int limit : {CTextFile::lineLaunch, CTextFile::lineMenu, CTextFile::lineKeys,
                      CTextFile::lineSchedule, CTextFile::lineTips, 2})
    {
        CTextFile file;
        if (!file.Open(path.c_str(), CTextFile::modeRead))
            return 0;
        file.Init(1024);
        std::vector<char> line((size_t)limit);
        size_t total = 0;
        while (file.ReadLine(line.data(), limit))
        {
            size_t len = strnlen(line.data(), (size_t)limit);
            // A delivered line is terminated in its buffer, never blank and
            // never holds a break.
            FUZZ_FAIL_IF(len >= (size_t)limit || memchr(line.data(), '\r', len) ||
                         memchr(line.data(), '\n', len));
            total += len;
            FUZZ_FAIL_IF(total > size);
        }
        FUZZ_FAIL_IF(!file.IsEOF() && !file.IsLineTooLong());
    }
    return 0;
}

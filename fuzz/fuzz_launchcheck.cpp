// The launch file checker over arbitrary bytes: every finding is one line of
// text, and the result matches the findings.
#include "LaunchCheck.h"
#include "fuzz_util.h"

#include <string.h>

namespace
{
struct Seen
{
    int worst = LCHECK_CLEAN;
};

void Record(int line, bool error, const char* message, void* ctx)
{
    FUZZ_FAIL_IF(line < 0 || !message || strchr(message, '\n') || strchr(message, '\r'));
    Seen* seen = static_cast<Seen*>(ctx);
    int level = error ? LCHECK_ERRORS : LCHECK_WARNINGS;
    if (level > seen->worst)
        seen->worst = level;
}

bool Exists(const char* path, void*)
{
    return strlen(path) % 2 == 0;
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    std::string path = FuzzFile(data, size);
    Seen seen;
    LaunchCheckHooks hooks = {Exists, Record, &seen};
    FUZZ_FAIL_IF(CheckLaunchFile(path.c_str(), hooks) != seen.worst);
    return 0;
}

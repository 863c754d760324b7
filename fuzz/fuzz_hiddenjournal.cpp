// The journal of hidden windows from arbitrary bytes, read as the agent reads
// it at start: every line handed on names a handle and a process, its texts
// are terminated, and it writes back into a line that reads the same.
#include "fuzz_util.h"
#include "hiddenjournal.h"

#include <string.h>

namespace
{
void Check(const tagHIDDEN_LINE& window, void*)
{
    FUZZ_FAIL_IF(window.hwnd == 0 || window.pid == 0 || window.hwnd > 0xFFFFFFFFul ||
                 window.pid > 0xFFFFFFFFul);
    FUZZ_FAIL_IF(strnlen(window.className, sizeof(window.className)) >= sizeof(window.className) ||
                 strnlen(window.title, sizeof(window.title)) >= sizeof(window.title));
    char out[HIDDEN_LINE_SIZE];
    FUZZ_FAIL_IF(!FormatHiddenLine(out, sizeof(out), &window));
    tagHIDDEN_LINE again;
    FUZZ_FAIL_IF(!ReadHiddenLine(out, &again) || again.hwnd != window.hwnd || again.pid != window.pid ||
                 again.owned != window.owned);
    FUZZ_FAIL_IF(!strpbrk(window.className, "\"'") && strcmp(again.className, window.className) != 0);
    FUZZ_FAIL_IF(!strpbrk(window.title, "\"'") && strcmp(again.title, window.title) != 0);
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    std::string path = FuzzFile(data, size);
    ReadHiddenJournal(path.c_str(), Check, nullptr);
    return 0;
}

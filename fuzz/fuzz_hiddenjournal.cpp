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
    if (window.hwnd == 0 || window.pid == 0 || window.hwnd > 0xFFFFFFFFul || window.pid > 0xFFFFFFFFul)
        __builtin_trap();
    if (strnlen(window.className, sizeof(window.className)) >= sizeof(window.className) ||
        strnlen(window.title, sizeof(window.title)) >= sizeof(window.title))
        __builtin_trap();
    char out[HIDDEN_LINE_SIZE];
    if (!FormatHiddenLine(out, sizeof(out), &window))
        __builtin_trap();
    tagHIDDEN_LINE again;
    if (!ReadHiddenLine(out, &again) || again.hwnd != window.hwnd || again.pid != window.pid ||
        again.owned != window.owned)
        __builtin_trap();
    if (!strpbrk(window.className, "\"'") && strcmp(again.className, window.className) != 0)
        __builtin_trap();
    if (!strpbrk(window.title, "\"'") && strcmp(again.title, window.title) != 0)
        __builtin_trap();
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    std::string path = FuzzFile(data, size);
    ReadHiddenJournal(path.c_str(), Check, nullptr);
    return 0;
}

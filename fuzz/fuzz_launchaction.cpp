// One launch file line: action code, parameters and description.
#include "LaunchFile.h"
#include "fuzz_util.h"
#include "tvintTimes.h"

#include <string.h>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    std::string text = FuzzText(data, size, 4096);
    CLaunchAction action(text.c_str());
    int code = action.GetAction();
    FUZZ_FAIL_IF(code < -1 || code > 18);
    action.GetActionName();
    FUZZ_FAIL_IF(WaitMilliseconds(text.c_str()) > TVINT_TIMER_MAXIMUM);

    std::vector<char> out(LAUNCH_LINE_SIZE);
    action.TrimCommand(out.data(), out.size());
    for (int n = 1; n <= 5; n++)
    {
        action.GetParam(n, out.data(), out.size());
        FUZZ_FAIL_IF(strnlen(out.data(), out.size()) >= out.size());
        // An editor's field: exactly its own size, so a write past it is caught.
        std::vector<char> field(260);
        action.GetParam(n, field.data(), field.size());
        FUZZ_FAIL_IF(strnlen(field.data(), field.size()) >= field.size());
    }
    for (size_t descSize : {(size_t)1, (size_t)40, (size_t)LAUNCH_DESCRIPTION_SIZE})
    {
        std::vector<char> desc(descSize);
        action.GetDescription(desc.data(), desc.size());
        FUZZ_FAIL_IF(strnlen(desc.data(), desc.size()) >= desc.size());
    }
    return 0;
}

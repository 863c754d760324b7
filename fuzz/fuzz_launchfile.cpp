// A whole launch file from arbitrary bytes: load, walk and describe.
#include "LaunchFile.h"
#include "fuzz_util.h"

#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    std::string path = FuzzFile(data, size);
    CLaunchFile file;
    int loaded = file.Load(path.c_str());
    FUZZ_FAIL_IF(!loaded && file.GetLastError() != LAUNCH_ERR_LINE_TOO_LONG);
    std::vector<char> desc(LAUNCH_DESCRIPTION_SIZE);
    for (int i = 0; i < file.GetCount(); i++)
    {
        CLaunchAction* action = file.GetAction(i);
        action->GetAction();
        action->GetDescription(desc.data(), desc.size());
    }
    if (file.GetCount() > 1)
        file.MoveAction(0, file.GetCount() - 1);
    return 0;
}

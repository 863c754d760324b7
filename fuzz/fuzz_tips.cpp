// The tips file from arbitrary bytes, read as the tip-of-the-day dialog reads
// it: the result is one of the documented codes, every text stays inside its
// field with no backslash-n pair left, every set can be selected by its name,
// and Next and Previous walk each set round to where they started.
#include "fuzz_util.h"
#include "Tips.h"

#include <string.h>
#include <string>

#include "strutils.h"

static void CheckText(const char* text)
{
    FUZZ_FAIL_IF(strlen(text) >= CTips::TEXT_SIZE || strstr(text, "\\n"));
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    std::string path = FuzzFile(data, size);
    CTips tips;
    int rc = tips.Load(path.c_str());
    FUZZ_FAIL_IF(rc != 0 && rc != 2 && rc != 3 && rc != 4);
    FUZZ_FAIL_IF((rc == 3 || rc == 4) && tips.GetSetCount() != 0);
    if (tips.GetSetCount() == 0)
    {
        FUZZ_FAIL_IF(tips.OpenFirstSet() || tips.GetRandomTip()[0] ||
                     strcmp(tips.GetRegPath(), "\\Software\\Tarvin Tips"));
        return 0;
    }

    for (unsigned i = 0; i < tips.GetSetCount() && i < 200; i++)
    {
        CTips::CTipSet* set = tips.GetSet(i);
        FUZZ_FAIL_IF(!set || strlen(set->GetName()) >= CTips::NAME_SIZE ||
                     strlen(set->GetRegPath()) >= CTips::PATH_SIZE);
        FUZZ_FAIL_IF(tips.OpenSet(set->GetName()) != 1);
        // A name used twice reaches the first set of that name.
        unsigned count = 0;
        for (unsigned j = 0; j <= i; j++)
        {
            CTips::CTipSet* named = tips.GetSet(j);
            if (StrCompareNoCase(named->GetName(), set->GetName()) == 0)
            {
                count = named->GetTips().GetSize();
                break;
            }
        }
        std::string start = tips.GetRandomTip();
        CheckText(start.c_str());
        FUZZ_FAIL_IF(count == 0 && !start.empty());
        if (count == 0 || count > 1000)
            continue;
        // A full round each way ends on the tip it started from.
        std::string last;
        for (unsigned n = 0; n < count; n++)
        {
            last = tips.GetNextTip();
            CheckText(last.c_str());
        }
        FUZZ_FAIL_IF(last != start);
        for (unsigned n = 0; n < count; n++)
            last = tips.GetPrevTip();
        FUZZ_FAIL_IF(last != start);
    }
    return 0;
}

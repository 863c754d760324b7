// Tag-line parsers over arbitrary lines, with every buffer size the readers
// use and a few tight ones.
#include "fuzz_util.h"
#include "xmlutils.h"

#include <string.h>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size < 1)
        return 0;
    static const char* props[] = {"file", "-file", "text", "path", "name", "x", "=", "\"", "time", ""};
    const char* prop = props[data[0] % (sizeof(props) / sizeof(props[0]))];
    std::string line = FuzzText(data + 1, size - 1, 4096);

    for (unsigned bufSize : {1u, 2u, 16u, 64u, 260u, 1024u})
    {
        // Exact-size heap buffers: any write past them is caught.
        std::vector<char> name(bufSize);
        int len = GetTagName(line.c_str(), name.data(), bufSize);
        FUZZ_FAIL_IF(len >= 0 && (unsigned)len < bufSize && strlen(name.data()) != (size_t)len);

        std::vector<char> value(bufSize);
        FUZZ_FAIL_IF(GetPropertyValue(line.c_str(), *prop ? prop : "a", value.data(), bufSize) >= 0 &&
                     strnlen(value.data(), bufSize) >= bufSize);
    }
    IsEndTag(line.c_str());
    return 0;
}

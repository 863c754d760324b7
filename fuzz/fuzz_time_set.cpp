// Feeds arbitrary bytes to the CTime text reader, then writes and normalises
// whatever it read.
#include "Time.h"

#include <stdint.h>
#include <stdlib.h>
#include <string.h>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    char* text = (char*)malloc(size + 1);
    if (!text)
        return 0;
    memcpy(text, data, size);
    text[size] = '\0';

    CTime t;
    int rc = t.Set(text);
    free(text);
    if (rc < 0 || rc > 2)
        abort();
    if (rc != 0 && t.GetSystemTimePtr()->wYear != 0)
        abort();

    char buf[64];
    t.GetString(buf, sizeof(buf));
    t.Add(0, 0);
    t.GetString(buf, sizeof(buf));
    return 0;
}

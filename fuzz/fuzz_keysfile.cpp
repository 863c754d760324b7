// The keys file from arbitrary bytes, read as the agent reads it; each key
// written back reads the same, and a file of canonical lines saves byte for
// byte as it was read.
#include "fuzz_util.h"
#include "TextFile.h"
#include "keysfile.h"

#include <string.h>
#include <vector>

#include "strutils.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    std::string path = FuzzFile(data, size);
    CTextFile file;
    file.Init(1024);
    if (!file.Open(path.c_str(), CTextFile::modeRead))
        return 0;
    char line[CTextFile::lineKeys];
    if (!file.ReadLine(line, sizeof(line)))
        return 0;
    ReadKeysHeader(line);
    for (int guard = 0; guard < 100000 && file.ReadCutLine(line, sizeof(line), nullptr); guard++)
    {
        std::vector<char> exact(line, line + strlen(line) + 1);
        tagKEY_LINE key;
        if (!ReadKeyLine(exact.data(), &key))
            continue;
        FUZZ_FAIL_IF(strnlen(key.target, sizeof(key.target)) >= sizeof(key.target));

        char out[KEY_LINE_SIZE];
        FUZZ_FAIL_IF(!FormatKeyLine(out, sizeof(out), &key));
        // Every key line written fits the reader's limit.
        FUZZ_FAIL_IF(strlen(out) > (size_t)CTextFile::lineKeys - 2);
        tagKEY_LINE again;
        FUZZ_FAIL_IF(!ReadKeyLine(out, &again) || again.vcode != key.vcode || again.mods != key.mods ||
                     again.action != key.action);
        // A target read from one line holds at most one kind of quote, and
        // comes back whole in the other kind.
        FUZZ_FAIL_IF(strcmp(again.target, key.target) != 0);
        // A line in the written form comes back byte for byte.
        if (strcmp(exact.data(), out) == 0)
        {
            char twice[KEY_LINE_SIZE];
            FormatKeyLine(twice, sizeof(twice), &again);
            FUZZ_FAIL_IF(strcmp(twice, out) != 0);
        }

        char text[128];
        char desc[KEY_TARGET_SIZE + 16];
        FormatKeyText(text, sizeof(text), key.vcode, key.mods);
        FormatActionDesc(desc, sizeof(desc), key.action, key.target);
        FUZZ_FAIL_IF(!GetKeyName(key.vcode));
    }
    return 0;
}

// Helpers of the end-to-end tests: the suite's programs beside the test,
// quoting, and files that appear.
#pragma once

#include <windows.h>
#include <string>

#include <gtest/gtest.h>

#include "e2e/driver.h"

namespace e2etest
{
const DWORD kTimeout = 15000;

inline std::string Program(const char* name)
{
    char path[MAX_PATH] = "";
    EXPECT_TRUE(DrvProgramPath(name, path, sizeof(path)));
    return path;
}

inline std::string Quote(const std::string& s)
{
    return "\"" + s + "\"";
}

inline bool Exists(const std::string& path)
{
    return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

// The default value of a key under HKEY_CLASSES_ROOT ("<missing>" if none).
inline std::string ClassesDefault(const char* key)
{
    char value[MAX_PATH * 2] = "";
    LONG size = sizeof(value);
    return RegQueryValueA(HKEY_CLASSES_ROOT, key, value, &size) == ERROR_SUCCESS ? value : "<missing>";
}

inline bool WaitFile(const std::string& path, DWORD timeoutMs = kTimeout)
{
    return DrvWaitFor([&]() { return Exists(path); }, timeoutMs) == TVD_OK;
}
} // namespace e2etest

// Fuzz inputs as files: the readers under test take paths.
#pragma once

#include <stdint.h>
#include <stdio.h>
#include <string>
#include <sys/mman.h>
#include <unistd.h>

// Fills one in-memory file with the input and returns a path that opens it
// afresh (its own read position each time).
inline std::string FuzzFile(const uint8_t* data, size_t size)
{
    static int fd = memfd_create("tvfuzz", 0);
    if (fd < 0 || ftruncate(fd, 0) != 0 || pwrite(fd, data, size, 0) != (ssize_t)size)
        return "";
    return "/proc/self/fd/" + std::to_string(fd);
}

// A whole file's bytes (empty when it cannot be read).
inline std::string ReadFuzzFile(const std::string& path)
{
    std::string bytes;
    if (FILE* f = fopen(path.c_str(), "rb"))
    {
        char buf[4096];
        for (size_t n; (n = fread(buf, 1, sizeof(buf), f)) > 0;)
            bytes.append(buf, n);
        fclose(f);
    }
    return bytes;
}

// The input as a terminated string of at most `limit` bytes.
inline std::string FuzzText(const uint8_t* data, size_t size, size_t limit)
{
    std::string s(reinterpret_cast<const char*>(data), size < limit ? size : limit);
    return std::string(s.c_str()); // up to the first zero byte
}

// Stops the fuzzer, so that it keeps the input, where an expectation fails.
#define FUZZ_FAIL_IF(cond) ((cond) ? __builtin_trap() : (void)0)

// Helpers shared by the tests: a private scratch folder and whole-file I/O.
#pragma once

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "platform.h"

// A fresh folder under the system's temporary folder, removed at the end. Its
// name carries the process id: two runs of the same test at once (two build
// trees, two suites of one program) must not share or remove each other's.
class ScratchDir
{
  public:
    ScratchDir()
    {
        const ::testing::TestInfo* info = ::testing::UnitTest::GetInstance()->current_test_info();
        std::string name = std::string("tvtest_") + (info ? info->test_suite_name() : "x") + "_" +
                           (info ? info->name() : "y") + "_" + std::to_string(PfGetProcessId()) + "_" +
                           std::to_string(++Counter());
        m_path = std::filesystem::temp_directory_path() / name;
        std::filesystem::remove_all(m_path);
        std::filesystem::create_directories(m_path);
    }
    ~ScratchDir()
    {
        std::error_code ec;
        std::filesystem::remove_all(m_path, ec);
    }
    ScratchDir(const ScratchDir&) = delete;
    ScratchDir& operator=(const ScratchDir&) = delete;

    std::string Path(const std::string& name) const
    {
        return (m_path / name).string();
    }
    const std::filesystem::path& Root() const
    {
        return m_path;
    }

  private:
    static int& Counter()
    {
        static int n = 0;
        return n;
    }
    std::filesystem::path m_path;
};

inline void WriteBytes(const std::string& path, const std::string& bytes)
{
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), (std::streamsize)bytes.size());
}

inline std::string ReadBytes(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// The complete lines of a text, without their CR LF or LF; an unfinished
// last line (still being written) is left out.
inline std::vector<std::string> Lines(const std::string& text)
{
    std::vector<std::string> lines;
    for (size_t at = 0, nl; (nl = text.find('\n', at)) != std::string::npos; at = nl + 1)
        lines.push_back(text.substr(at, nl - at - (nl > at && text[nl - 1] == '\r')));
    return lines;
}

// A variable (a replaceable function pointer, say) set for the object's life
// and put back afterwards.
template <typename T> class Replaced
{
  public:
    Replaced(T& variable, T value) : m_variable(variable), m_saved(variable)
    {
        variable = value;
    }
    ~Replaced()
    {
        m_variable = m_saved;
    }
    Replaced(const Replaced&) = delete;
    Replaced& operator=(const Replaced&) = delete;

  private:
    T& m_variable;
    T m_saved;
};

// A folder's entries by name: "name=bytes" for a file, "name\\" for a
// folder, sorted and joined by '|'.
inline std::string Contents(const std::filesystem::path& dir)
{
    std::vector<std::string> entries;
    for (const auto& e : std::filesystem::directory_iterator(dir))
        entries.push_back(e.path().filename().string() +
                          (e.is_directory() ? "\\" : "=" + ReadBytes(e.path().string())));
    std::sort(entries.begin(), entries.end());
    std::string out;
    for (const std::string& e : entries)
        out += (out.empty() ? "" : "|") + e;
    return out;
}

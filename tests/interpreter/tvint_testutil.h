// Helpers of the interpreter's tests: launch files, the target application's
// record, the fake agent's record, and registry settings put back afterwards.
#pragma once

#include <windows.h>
#include <map>
#include <string>
#include <vector>

#include "support/tvdriver/driver.h"
#include "e2e/e2e_testutil.h"
#include "wintestutil.h"
#include "support/tvtarget/tvtarget.h"
#include "testutil.h"
#include "strutils.h"

namespace tvint_test
{
using e2etest::Exists;
using e2etest::kTimeout;
using e2etest::Program;
using e2etest::Quote;
using e2etest::WaitFile;

const char kInterpreterKey[] = "Software\\Norvale\\Tarvin 2\\Interpreter";
const char kAgentKey[] = "Software\\Norvale\\Tarvin 2\\Agent";

// One action per line, each ending in CR LF.
inline void WriteLaunchFile(const std::string& path, const std::vector<std::string>& lines)
{
    std::string text;
    for (const std::string& line : lines)
        text += line + "\r\n";
    WriteBytes(path, text);
}

// The fake agent's record: one "<sender>|<body>" line per request.
struct AgentRequest
{
    std::string from;
    std::string body;
};

inline std::vector<AgentRequest> ReadAgentRecord(const std::string& path)
{
    std::vector<AgentRequest> out;
    for (const std::string& line : Lines(ReadBytes(path)))
    {
        size_t bar = line.find('|');
        if (bar != std::string::npos)
            out.push_back({line.substr(0, bar), line.substr(bar + 1)});
    }
    return out;
}

inline std::vector<std::string> AgentBodies(const std::string& path)
{
    std::vector<std::string> out;
    for (const AgentRequest& r : ReadAgentRecord(path))
        out.push_back(r.body);
    return out;
}

// Sets DWORD values under HKCU and puts the previous state back on
// destruction, so one test's settings never leak into the next.
class RegSettings : public wintest::RegRestorer
{
  public:
    void Set(const char* subkey, const char* name, DWORD value)
    {
        SetDword(subkey, name, value);
    }
    void Interpreter(const char* name, DWORD value)
    {
        SetDword(kInterpreterKey, name, value);
    }
};

} // namespace tvint_test

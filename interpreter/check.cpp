#include "check.h"
#include "strutils.h"

namespace
{
// A box longer than this would not fit on the screen.
const size_t kBoxTextLimit = 3000;
} // namespace

bool IsCheckCommandLine(const char* cmdLine)
{
    // A quote is closed only by its own kind: "O'Brien" is one quoted word.
    char quote = '\0';
    for (const char* p = cmdLine; *p; p++)
    {
        if (quote)
        {
            if (*p == quote)
                quote = '\0';
            continue;
        }
        if (*p == '"' || *p == '\'')
        {
            quote = *p;
            continue;
        }
        if (StrCompareNoCaseN(p, "-check", 6) != 0)
            continue;
        bool startsWord = p == cmdLine || p[-1] == ' ' || p[-1] == '\t';
        bool endsWord = p[6] == '\0' || p[6] == ' ' || p[6] == '\t';
        if (startsWord && endsWord)
            return true;
    }
    return false;
}

void AppendFinding(std::string& report, const std::string& file, int line, bool error, const char* message)
{
    char head[40];
    StrFormat(head, sizeof(head), ":%d: %s", line, error ? "error: " : "warning: ");
    report += file + head + message + "\r\n";
}

std::string CheckBoxText(const std::string& file, const std::string& report)
{
    if (report.empty())
        return file + ": no problems found.";
    if (report.size() <= kBoxTextLimit)
        return report;
    size_t cut = report.rfind("\r\n", kBoxTextLimit);
    return report.substr(0, cut == std::string::npos ? kBoxTextLimit : cut + 2) + "...";
}

#include "LaunchCheck.h"
#include "platform.h"
#include "strutils.h"

#include <ctype.h>

namespace
{
struct Checker
{
    const LaunchCheckHooks& hooks;
    int line;
    int worst;

    void Report(bool error, const char* fmt, const char* arg = "")
    {
        char message[400];
        StrFormat(message, sizeof(message), fmt, arg);
        if (hooks.report)
            hooks.report(line, error, message, hooks.ctx);
        int level = error ? LCHECK_ERRORS : LCHECK_WARNINGS;
        if (level > worst)
            worst = level;
    }
};

bool IsOneOf(const char* value, const char* const* words)
{
    for (; *words; words++)
    {
        if (StrCompareNoCase(value, *words) == 0)
            return true;
    }
    return false;
}

// Names that the shell finds without a folder of ours (a program on the path,
// an address) are not looked for.
bool IsLookedFor(const char* path)
{
    if (StrFind(path, "://", 0) >= 0 || StrCompareNoCaseN(path, "mailto:", 7) == 0)
        return false;
    return CharFind(path, '\\', 0) >= 0 || CharFind(path, '/', 0) >= 0 || CharFind(path, ':', 0) >= 0;
}

const char* const g_windowStates[] = {"Normal", "Maximized", "Minimized", nullptr};
const char* const g_copyOptions[] = {"Overwrite", "NoOverwrite", "AskOverwrite", nullptr};
const char* const g_deleteOptions[] = {"Delete", "AskDelete", nullptr};
const char* const g_moveOptions[] = {"AskMoveOverwrite", "AskMove",      "AskNone",
                                     "NoOverwrite",      "AskOverwrite", nullptr};

struct Rule
{
    int required;               // parameters that must be there (1 or 2)
    int target;                 // the parameter naming a file that should exist (0: none)
    int option;                 // the parameter holding an option word (0: none)
    const char* const* options; // the words it may hold
    int most;                   // parameters the action takes
};

bool RuleFor(int code, Rule& rule)
{
    LaunchLineShape shape = GetLaunchLineShape(code);
    rule = {0, 0, shape.option, nullptr, shape.params};
    switch (code)
    {
        case LA_LAUNCH:
        case LA_OPEN:
        case LA_PRINT:
            rule.options = g_windowStates;
            break;
        case LA_COPY:
            rule.options = g_copyOptions;
            break;
        case LA_MOVE:
            rule.options = g_moveOptions;
            break;
        case LA_DELETE:
            rule.options = g_deleteOptions;
            break;
    }
    rule.required = code == LA_COPY || code == LA_MOVE ? 2 : shape.params ? 1 : 0;
    rule.target = rule.options ? 1 : 0;
    return shape.params > 0;
}

// Commas outside quotes in the parameter text, or -1 when a quote is open.
int CountCommas(const char* params)
{
    bool quoted = false;
    int commas = 0;
    for (const char* p = params; *p; p++)
    {
        if (*p == '"')
            quoted = !quoted;
        else if (*p == ',' && !quoted)
            commas++;
    }
    return quoted ? -1 : commas;
}
} // namespace

int CheckLaunchLine(const char* text, int line, const LaunchCheckHooks& hooks)
{
    Checker check{hooks, line, LCHECK_CLEAN};
    CLaunchAction action(text);
    int code = action.GetAction();
    if (code == LA_COMMENT)
        return LCHECK_CLEAN;
    if (code == LA_UNKNOWN)
    {
        char word[64];
        StrCopy(word, text);
        for (char* p = word; *p; p++)
        {
            if (*p == ' ')
            {
                *p = '\0';
                break;
            }
        }
        check.Report(true, "unknown action \"%s\"", word);
        return check.worst;
    }

    char params[LAUNCH_LINE_SIZE];
    if (!action.TrimCommand(params, sizeof(params)))
        params[0] = '\0';
    int commas = CountCommas(params);
    if (commas < 0)
    {
        check.Report(true, "unbalanced quote: the line's parameters cannot be read");
        return check.worst;
    }

    Rule rule;
    if (!RuleFor(code, rule))
    {
        if (params[0])
            check.Report(true, "%s takes no parameters", action.GetActionName());
        return check.worst;
    }
    if (commas + 1 > rule.most)
    {
        char what[80];
        StrFormat(what, sizeof(what), "%s takes at most %d parameter%s", action.GetActionName(), rule.most,
                  rule.most == 1 ? "" : "s");
        check.Report(true, "%s", what);
    }

    char value[LAUNCH_LINE_SIZE];
    static const char* const kWhat[] = {"", "first", "second"};
    for (int n = 1; n <= rule.required; n++)
    {
        if (!action.GetParam(n, value, sizeof(value)) || !value[0])
        {
            char what[120];
            StrFormat(what, sizeof(what), "%s needs its %s parameter", action.GetActionName(), kWhat[n]);
            check.Report(true, "%s", what);
        }
    }

    if (code == LA_WAIT && action.GetParam(1, value, sizeof(value)) && value[0] &&
        !isdigit((unsigned char)value[0]))
        check.Report(true, "the time to wait is not a number of milliseconds: \"%s\"", value);

    if (rule.option && action.GetParam(rule.option, value, sizeof(value)) && value[0] &&
        !IsOneOf(value, rule.options))
    {
        char what[400];
        StrFormat(what, sizeof(what), "\"%s\" is not an option of %s (one of: ", value,
                  action.GetActionName());
        for (const char* const* w = rule.options; *w; w++)
        {
            StrAppend(what, *w);
            StrAppend(what, w[1] ? ", " : ")");
        }
        check.Report(true, "%s", what);
    }

    if (rule.target && hooks.exists && action.GetParam(rule.target, value, sizeof(value)) && value[0] &&
        IsLookedFor(value) && !hooks.exists(value, hooks.ctx))
        check.Report(false, "\"%s\" does not exist (yet)", value);
    return check.worst;
}

int CheckLaunchFile(const char* path, const LaunchCheckHooks& hooks)
{
    PfHandle file = PfOpenRead(path);
    if (file == PF_INVALID_HANDLE)
    {
        if (hooks.report)
            hooks.report(0, true, "the file cannot be opened", hooks.ctx);
        return LCHECK_ERRORS;
    }

    int worst = LCHECK_CLEAN;
    char text[LAUNCH_LINE_SIZE];
    size_t length = 0;
    bool tooLong = false;
    int line = 0;
    char block[1024];
    char last = '\0';
    // Numbers lines as the editor's list shows them: blank lines (and lines
    // of spaces and tabs) are no actions and are not counted. The interpreter
    // takes at most 1034 characters before a break and 1035 on a last line
    // without one; a longer line makes it refuse the whole file.
    auto finish = [&](bool ended) {
        text[length] = '\0';
        if (ended && length > (size_t)LAUNCH_LINE_SIZE - 2)
            tooLong = true;
        if (tooLong)
        {
            if (hooks.report)
                hooks.report(++line, true,
                             "the line is too long for the interpreter (at most 1034 characters)", hooks.ctx);
            worst = LCHECK_ERRORS;
        }
        else
        {
            TrimStr(text);
            if (text[0])
            {
                int level = CheckLaunchLine(text, ++line, hooks);
                if (level > worst)
                    worst = level;
            }
        }
        length = 0;
        tooLong = false;
    };
    for (;;)
    {
        int got = PfRead(file, block, sizeof(block));
        if (got <= 0)
        {
            if (got < 0 && hooks.report)
                hooks.report(0, true, "the file cannot be read", hooks.ctx);
            if (got < 0)
                worst = LCHECK_ERRORS;
            break;
        }
        for (int i = 0; i < got; i++)
        {
            char c = block[i];
            if (c == '\n' && last == '\r')
            {
                last = c;
                continue;
            }
            last = c;
            if (c == '\r' || c == '\n')
                finish(true);
            else if (length + 1 < sizeof(text))
                text[length++] = c;
            else
                tooLong = true;
        }
    }
    if (length || tooLong)
        finish(false);
    PfClose(file);
    return worst;
}

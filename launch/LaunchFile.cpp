#include "LaunchFile.h"
#include "TextFile.h"
#include "safesave.h"
#include "strutils.h"

namespace
{
struct ActionWord
{
    const char* keyword;
    const char* name;
};

// Indexed by action code.
const ActionWord g_actions[] = {
    {"//", "Comment"},      {"launch", "Launch"},
    {"kill", "Kill"},       {"open", "Open"},
    {"print", "Print"},     {"copy", "Copy"},
    {"delete", "Delete"},   {"move", "Move"},
    {"close", "Close"},     {"destroy", "Destroy"},
    {"hide", "Hide"},       {"show", "Show"},
    {"showall", "ShowAll"}, {"screensaver", "Screensaver"},
    {"wait", "Wait"},       {"shutdown", "Shutdown"},
    {"restart", "Restart"}, {"exit", "Exit"},
    {"message", "Message"},
};
const int g_actionCount = (int)(sizeof(g_actions) / sizeof(g_actions[0]));

bool IsOption(const char* value, const char* word)
{
    return StrCompareNoCase(value, word) == 0;
}
} // namespace

CLaunchAction::CLaunchAction(const char* text)
{
    m_szAction[0] = '\0';
    if (text)
        SetString(text);
}

int CLaunchAction::SetString(const char* text)
{
    StrCopy(m_szAction, text);
    return 1;
}

void CLaunchAction::Copy(const CLaunchAction& other)
{
    StrCopy(m_szAction, other.m_szAction);
}

int CLaunchAction::GetAction() const
{
    char line[LAUNCH_LINE_SIZE];
    StrCopy(line, m_szAction);
    TrimStr(line);
    if (line[0] == '/' && line[1] == '/')
        return LA_COMMENT;
    int space = CharFind(line, ' ', 0);
    if (space >= 0)
        line[space] = '\0';
    for (int code = 1; code < g_actionCount; code++)
    {
        if (IsOption(line, g_actions[code].keyword))
            return code;
    }
    return LA_UNKNOWN;
}

LaunchLineShape GetLaunchLineShape(int code)
{
    switch (code)
    {
        case LA_LAUNCH:
        case LA_OPEN:
        case LA_PRINT:
            return {4, 4};
        case LA_COPY:
        case LA_MOVE:
            return {3, 3};
        case LA_DELETE:
            return {2, 2};
        case LA_KILL:
        case LA_CLOSE:
        case LA_DESTROY:
        case LA_HIDE:
        case LA_SHOW:
        case LA_MESSAGE:
        case LA_WAIT:
            return {1, 0};
        default:
            return {0, 0};
    }
}

const char* LaunchActionName(int code)
{
    return code >= 0 && code < g_actionCount ? g_actions[code].name : "Unknown";
}

const char* CLaunchAction::GetActionName() const
{
    return LaunchActionName(GetAction());
}

int CLaunchAction::TrimCommand(char* out, size_t size) const
{
    if (size > 0)
        out[0] = '\0';
    char line[LAUNCH_LINE_SIZE];
    StrCopy(line, m_szAction);
    TrimStr(line);
    if (line[0] == '/' && line[1] == '/')
        return 1;
    int space = CharFind(line, ' ', 0);
    if (space < 0)
        return 0;
    StrCopy(out, size, line + space);
    return 1;
}

int CLaunchAction::GetParam(int n, char* out, size_t size) const
{
    if (size > 0)
        out[0] = '\0';
    char params[LAUNCH_LINE_SIZE];
    if (n < 1 || !TrimCommand(params, sizeof(params)))
        return 0;

    // Commas outside quotes separate the parameters; a quote has no escape.
    int begin = -1, end = -1, index = 1, quotes = 0;
    int start = 0;
    int len = (int)strlen(params);
    for (int i = 0; i <= len; i++)
    {
        char c = params[i];
        if (c == '"')
            quotes ^= 1;
        if (c == '\0' || (c == ',' && !quotes))
        {
            if (index == n)
            {
                begin = start;
                end = i;
            }
            index++;
            start = i + 1;
        }
    }
    if (quotes || begin < 0)
        return 0;

    char piece[LAUNCH_LINE_SIZE];
    StrCopyN(piece, sizeof(piece), params + begin, (size_t)(end - begin));
    TrimStr(piece);
    if (piece[0] == '"')
    {
        size_t pieceLen = strlen(piece);
        if (pieceLen < 2)
            piece[0] = '\0';
        else
        {
            piece[pieceLen - 1] = '\0';
            memmove(piece, piece + 1, pieceLen - 1);
        }
    }
    StrCopy(out, size, piece);
    return 1;
}

int CLaunchAction::GetDescription(char* out, size_t size) const
{
    char p1[LAUNCH_LINE_SIZE], p2[LAUNCH_LINE_SIZE], p3[LAUNCH_LINE_SIZE];
    int code = GetAction();
    if (size > 0)
        out[0] = '\0';
    switch (code)
    {
        case LA_COMMENT:
            return StrCopy(out, size, m_szAction);
        case LA_LAUNCH:
        case LA_OPEN:
        case LA_PRINT: {
            char state[LAUNCH_LINE_SIZE];
            GetParam(1, p1, sizeof(p1));
            GetParam(3, p3, sizeof(p3));
            GetParam(4, state, sizeof(state));
            StrFormat(out, size, "\"%s %s\", ", p1, p3);
            if (IsOption(state, "Normal"))
                StrAppend(out, size, "Normal");
            else if (IsOption(state, "Maximized"))
                StrAppend(out, size, "Maximized");
            else if (IsOption(state, "Minimized"))
                StrAppend(out, size, "Minimized");
            return 1;
        }
        case LA_KILL:
            GetParam(1, p1, sizeof(p1));
            return StrFormat(out, size, "Executables called \"%s\"", p1);
        case LA_COPY:
            GetParam(1, p1, sizeof(p1));
            GetParam(2, p2, sizeof(p2));
            GetParam(3, p3, sizeof(p3));
            StrFormat(out, size, "\"%s\" to \"%s\", ", p1, p2);
            if (IsOption(p3, "Overwrite"))
                return StrAppend(out, size, "Overwrite");
            if (IsOption(p3, "NoOverwrite"))
                return StrAppend(out, size, "Do not overwrite");
            return StrAppend(out, size, "Confirm overwrite");
        case LA_DELETE:
            GetParam(1, p1, sizeof(p1));
            GetParam(2, p2, sizeof(p2));
            StrFormat(out, size, "\"%s\", ", p1);
            return StrAppend(out, size, IsOption(p2, "Delete") ? "Do not confirm" : "Confirm delete");
        case LA_MOVE:
            GetParam(1, p1, sizeof(p1));
            GetParam(2, p2, sizeof(p2));
            GetParam(3, p3, sizeof(p3));
            StrFormat(out, size, "\"%s\" to \"%s\", ", p1, p2);
            if (IsOption(p3, "AskMoveOverwrite") || IsOption(p3, "AskMove"))
                StrAppend(out, size, "Confirm move");
            else
                StrAppend(out, size, "Do not confirm move");
            if (IsOption(p3, "AskNone") || IsOption(p3, "AskMove"))
                return StrAppend(out, size, ", Do not confirm overwrite");
            if (IsOption(p3, "NoOverwrite"))
                return StrAppend(out, size, ", Do not overwrite");
            return StrAppend(out, size, ", Confirm overwrite");
        case LA_CLOSE:
        case LA_DESTROY:
        case LA_HIDE:
        case LA_SHOW:
            GetParam(1, p1, sizeof(p1));
            return StrFormat(out, size, "Windows named \"%s\"", p1);
        case LA_SHOWALL:
            return StrCopy(out, size, "Show all hidden windows");
        case LA_SCREENSAVER:
            return StrCopy(out, size, "Start the screen saver");
        case LA_WAIT:
            GetParam(1, p1, sizeof(p1));
            return StrFormat(out, size, "Wait for %s", p1);
        case LA_SHUTDOWN:
            return StrCopy(out, size, "Shut down my computer");
        case LA_RESTART:
            return StrCopy(out, size, "Restart my computer");
        case LA_EXIT:
            return StrCopy(out, size, "Exit the Tarvin Agent");
        case LA_MESSAGE:
            GetParam(1, p1, sizeof(p1));
            return StrFormat(out, size, "\"%s\"", p1);
        default:
            return StrFormat(out, size, "Unrecognized action: \"%s\"", m_szAction);
    }
}

int CLaunchFile::Load(const char* path)
{
    Clear();
    CTextFile file;
    if (!file.Open(path, CTextFile::modeRead))
    {
        m_nLastError = LAUNCH_ERR_CANNOT_OPEN;
        return 0;
    }
    file.Init(1024);
    char line[CTextFile::lineLaunch];
    while (file.ReadLine(line, sizeof(line)))
    {
        TrimStr(line);
        if (line[0] != '\0')
            AppendAction(line);
    }
    if (file.IsLineTooLong())
    {
        m_nLastError = LAUNCH_ERR_LINE_TOO_LONG;
        return 0;
    }
    return 1;
}

int CLaunchFile::Save(const char* path)
{
    CSafeSave save;
    if (save.Begin(path))
    {
        ResetCur();
        for (CLaunchAction* action = GetCur(); action; action = GetNext())
            save.WriteLine(action->GetString());
        if (save.Commit())
            return 0;
    }
    m_nLastError = LAUNCH_ERR_CANNOT_OPEN;
    return LAUNCH_ERR_CANNOT_OPEN;
}

int CLaunchFile::Clear()
{
    CPtrList<CLaunchAction>::Clear();
    return 1;
}

int CLaunchFile::AppendAction(const char* text)
{
    Add(new CLaunchAction(text), true);
    return 1;
}

int CLaunchFile::InsertAction(const char* text, int index)
{
    if (index < 0)
        index = 0;
    Insert(new CLaunchAction(text), (unsigned)index, true);
    return 1;
}

int CLaunchFile::DeleteAction(int index)
{
    if (index < 0 || index >= GetCount())
        return 0;
    return Delete((unsigned)index) ? 1 : 0;
}

int CLaunchFile::MoveAction(int from, int to)
{
    int count = GetCount();
    if (from < 0 || to < 0 || from >= count || to >= count)
        return 0;
    if (from == to)
        return 1;
    CLaunchAction moved(GetAction(from)->GetString());
    Delete((unsigned)from);
    // Among the remaining actions, index `to` is where it must end up.
    InsertAction(moved.GetString(), to);
    return 1;
}

// The launch file model: one action per line, kept as the text that was
// written and interpreted on demand.
#pragma once

#include <stddef.h>

#include "PtrList.h"

enum
{
    LA_UNKNOWN = -1,
    LA_COMMENT = 0,
    LA_LAUNCH = 1,
    LA_KILL = 2,
    LA_OPEN = 3,
    LA_PRINT = 4,
    LA_COPY = 5,
    LA_DELETE = 6,
    LA_MOVE = 7,
    LA_CLOSE = 8,
    LA_DESTROY = 9,
    LA_HIDE = 10,
    LA_SHOW = 11,
    LA_SHOWALL = 12,
    LA_SCREENSAVER = 13,
    LA_WAIT = 14,
    LA_SHUTDOWN = 15,
    LA_RESTART = 16,
    LA_EXIT = 17,
    LA_MESSAGE = 18
};

const int LAUNCH_LINE_SIZE = 1036;        // one line and its terminator
const int LAUNCH_DESCRIPTION_SIZE = 2200; // room for two whole parameters and the texts

// The display name of an action code: "Launch", "ShowAll", ..., "Comment"
// for a comment and "Unknown" for any other code.
const char* LaunchActionName(int code);

// The parameters an action's line takes, and which of them (1-based) is a
// bare option word rather than a quoted value (0: none). Actions without
// parameters take 0.
struct LaunchLineShape
{
    int params;
    int option;
};
LaunchLineShape GetLaunchLineShape(int code);

class CLaunchAction
{
  public:
    explicit CLaunchAction(const char* text = nullptr);

    // Lines longer than 1035 characters are cut.
    int SetString(const char* text);
    const char* GetString() const
    {
        return m_szAction;
    }
    void Copy(const CLaunchAction& other);

    int GetAction() const;
    const char* GetActionName() const;
    // Both cut their text to the size of out (LAUNCH_LINE_SIZE holds any).
    int TrimCommand(char* out, size_t size) const;
    int GetParam(int n, char* out, size_t size) const;
    int GetDescription(char* out, size_t size) const;

  private:
    char m_szAction[LAUNCH_LINE_SIZE];
};

// What Load and Save leave for GetLastError.
enum
{
    LAUNCH_ERR_NONE = 0,
    LAUNCH_ERR_CANNOT_OPEN = 2,    // Load: the file cannot be opened; Save: it cannot be written
    LAUNCH_ERR_LINE_TOO_LONG = 301 // Load: a line is longer than a launch line may be
};

class CLaunchFile : public CPtrList<CLaunchAction>
{
  public:
    CLaunchFile() : m_nLastError(0)
    {
    }
    ~CLaunchFile()
    {
        Clear();
    }

    int Load(const char* path);
    // 0 on success; LAUNCH_ERR_CANNOT_OPEN when the file could not be written
    // (the previous file is then left as it was).
    int Save(const char* path);
    int Clear();
    int AppendAction(const char* text);
    int InsertAction(const char* text, int index);
    int DeleteAction(int index);
    int MoveAction(int from, int to);
    int GetCount()
    {
        return (int)GetSize();
    }
    CLaunchAction* GetAction(int index)
    {
        return GetAt((unsigned)index);
    }
    int GetLastError() const
    {
        return m_nLastError;
    }

  private:
    int m_nLastError;
};

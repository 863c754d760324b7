// Scheduled tasks: what to run, when to run it first and the rule that says
// when to run it again; and the schedule file that holds them. Shared by the
// agent (which runs the tasks) and the scheduler (which edits them).
#pragma once

#include "PtrList.h"
#include "Time.h"

#include <stddef.h>

// CSTRecRule::type
enum
{
    ST_TYPE_UNDEFINED = 0, // a new rule nobody has filled in
    ST_TYPE_DATE = 1,      // "Specific date": run once
    ST_TYPE_PERIODIC = 2,  // "Periodically"
    ST_TYPE_EVENT = 3      // "On event"
};

// CSTRecRule::subtype of a periodic rule: the unit of `data`.
enum
{
    ST_PERIOD_MINUTES = 1,
    ST_PERIOD_HOURS = 2,
    ST_PERIOD_DAYS = 3,
    ST_PERIOD_WEEKS = 4,
    ST_PERIOD_MONTHS = 5,
    ST_PERIOD_YEARS = 6
};

// CSTRecRule::subtype of an event rule; any other value is a generic event.
enum
{
    ST_EVENT_STARTUP = 1,
    ST_EVENT_SHUTDOWN = 2
};

const int ST_TEXT_SIZE = 260;        // name, target, folder, command line
const int ST_DATE_TEXT_SIZE = 64;    // one date or time of day as text
const int ST_DESCRIPTION_SIZE = 160; // room for any rule description
const int ST_RESULT_SIZE = 160;      // the outcome of the last start
#define ST_RESULT_OK "OK"            // the last result of a task that started

// Recurrence rule. The fields are public: the editors fill them in directly.
class CSTRecRule
{
  public:
    // With no source, the new-rule defaults: all numbers 0 and all three
    // times at the next full hour.
    explicit CSTRecRule(const CSTRecRule* source = nullptr);
    CSTRecRule(const CSTRecRule& source);
    CSTRecRule& operator=(const CSTRecRule& source);
    virtual ~CSTRecRule();

    int Copy(const CSTRecRule& source);
    int SetScheduledTime(const CTime& t);
    int SetExceptTime(const CTime& from, const CTime& to);

    // One line for lists and dialogs; cut to fit in maximum bytes. Always 1.
    int GetDescription(char* buffer, size_t maximum) const;

    // The first time this rule fires strictly after `after`. "No next time"
    // is an all-zero `next` (wDayOfWeek aside) and, except for event rules,
    // result 0. `next` may be the same object as `after`.
    int GetNextScheduledTimeAfter(const CTime& after, CTime& next) const;

    // The current hour plus one, on the hour: the time a new rule starts at.
    static void GetNextFullHour(const CTime& now, CTime& out);

    DWORD type;
    DWORD subtype;
    DWORD data;       // periodic: the interval in units of the subtype
    CTime time;       // specific date: when; periodic: the last computed time
    DWORD except;     // days: bit 0 Monday ... bit 6 Sunday; months: bit 0 January ... bit 11 December
    CTime exceptfrom; // minutes and hours: no runs after this time of day ...
    CTime exceptto;   // ... and before this one; equal times of day mean no window
};

// Exception rule: carried and copied with a task, never stored or consulted.
class CSTExcRule
{
  public:
    explicit CSTExcRule(const CSTExcRule* source = nullptr);
    CSTExcRule(const CSTExcRule& source);
    CSTExcRule& operator=(const CSTExcRule& source);
    virtual ~CSTExcRule();

    int Copy(const CSTExcRule& source);
    // Writes nothing.
    int GetDescription(char* buffer, size_t maximum) const;

    DWORD type;
    DWORD subtype;
    DWORD data;
    CTime timefrom;
    CTime timeto;
};

class CSTask
{
  public:
    // With a source, a copy of it; otherwise New(nullptr, 0, 0).
    explicit CSTask(const CSTask* source = nullptr);
    virtual ~CSTask();
    CSTask(const CSTask&) = delete;
    CSTask& operator=(const CSTask&) = delete;

    // Back to the defaults: no name (or the given one), no times, active,
    // normal window, no rules.
    int New(const char* name, DWORD id, DWORD overdueId);
    // Every field and a copy of every rule of source.
    int Copy(const CSTask& source);

    // Texts longer than 259 characters are cut; the setters return 0 then.
    const char* GetName() const
    {
        return m_szName;
    }
    int SetName(const char* name);
    const char* GetTarget() const
    {
        return m_szTarget;
    }
    int SetTarget(const char* target);
    const char* GetDir() const
    {
        return m_szDir;
    }
    int SetDir(const char* dir);
    const char* GetCmdLine() const
    {
        return m_szCmdLine;
    }
    int SetCmdLine(const char* cmdLine);
    // Sets each text that is given (non-null) and the window state.
    int SetAction(const char* target, const char* dir, const char* cmdLine, int windowState);
    // false when a text holds both quote characters: the schedule file cannot
    // keep it (an editor refuses it with TAG_VALUE_QUOTES_TEXT). field, when
    // given, receives the first such text.
    bool IsStorable(const char** field = nullptr) const;

    DWORD GetId() const
    {
        return m_nId;
    }
    void SetId(DWORD id)
    {
        m_nId = id;
    }
    DWORD GetOverdueId() const
    {
        return m_nOverdueId;
    }
    void SetOverdueId(DWORD id)
    {
        m_nOverdueId = id;
    }
    DWORD GetRecurrenceCount() const
    {
        return m_nRecurrences;
    }
    void SetRecurrenceCount(DWORD count)
    {
        m_nRecurrences = count;
    }
    void Recurred()
    {
        m_nRecurrences++;
    }

    CTime GetScheduledTime() const
    {
        return m_tmScheduled;
    }
    // Also marks the task as scheduled.
    void SetScheduledTime(const CTime& t);
    CTime GetOrigScheduledTime() const
    {
        return m_tmOrigScheduled;
    }
    void SetOrigScheduledTime(const CTime& t)
    {
        m_tmOrigScheduled.Set(t);
    }
    CTime GetLastScheduledTime() const
    {
        return m_tmLastScheduled;
    }
    void SetLastScheduledTime(const CTime& t)
    {
        m_tmLastScheduled.Set(t);
    }

    // How the last start went: "OK", the system's reason it failed, or empty
    // when the task has not been started since it was stored without one.
    const char* GetLastResult() const
    {
        return m_szLastResult;
    }
    // Cut to fit; line breaks become spaces, so the text stays one line.
    void SetLastResult(const char* result);

    // A show-window command: 1 normal, 2 minimised, 3 maximised.
    int GetWindowState() const
    {
        return m_nWindowState;
    }
    void SetWindowState(int state)
    {
        m_nWindowState = state;
    }

    int MustRemove() const
    {
        return m_bMustRemove;
    }
    void SetMustRemove(int flag)
    {
        m_bMustRemove = flag;
    }
    int IsActive() const
    {
        return m_bActive;
    }
    void SetActive(int flag)
    {
        m_bActive = flag;
    }
    int MustShowOverdue() const
    {
        return m_bMustShowOverdue;
    }
    void SetMustShowOverdue(int flag)
    {
        m_bMustShowOverdue = flag;
    }
    int IsScheduled() const
    {
        return m_bScheduled;
    }
    void SetScheduled(int flag)
    {
        m_bScheduled = flag;
    }
    int SetProperties(int mustRemove, int active, int mustShowOverdue);

    // Only the first recurrence rule is ever used. The lists own their rules.
    CPtrList<CSTRecRule>* GetRecurrenceRules()
    {
        return &m_recRules;
    }
    CPtrList<CSTExcRule>* GetExceptionRules()
    {
        return &m_excRules;
    }
    // A rule with the new-rule defaults, appended for the caller to fill in.
    CSTRecRule* AddRecurrenceRule();
    CSTExcRule* AddExceptionRule();
    // The rule that counts, or null for a task that has none yet.
    CSTRecRule* GetFirstRule();
    const CSTRecRule* GetFirstRule() const;

    // Moves the task to its next run after its current scheduled time (not
    // after now, so it stays on its grid); the old time becomes the last
    // scheduled time. An all-zero time means it will not run again. 1, or 0
    // for a task without a rule (which then has no next time).
    int SetNextScheduledTime();
    // A run of a task that was several occurrences late: SetNextScheduledTime
    // at least once, and again while the task is overdue at now, so that the
    // missed occurrences are not offered one by one. The last scheduled time
    // is the occurrence before the new one. 1, or 0 for a task without a rule.
    int MoveOnPast(const CTime& now);
    // 1 when now is later than the scheduled time. Event tasks and tasks
    // without a time are never overdue. Activity is the caller's business.
    int IsOverdue(const CTime& now) const;

  private:
    char m_szName[ST_TEXT_SIZE];
    DWORD m_nId;
    DWORD m_nOverdueId;
    DWORD m_nRecurrences;
    CTime m_tmScheduled;
    CTime m_tmOrigScheduled;
    CTime m_tmLastScheduled;
    char m_szTarget[ST_TEXT_SIZE];
    char m_szDir[ST_TEXT_SIZE];
    char m_szCmdLine[ST_TEXT_SIZE];
    char m_szLastResult[ST_RESULT_SIZE];
    int m_nWindowState;
    int m_bMustRemove;
    int m_bActive;
    int m_bMustShowOverdue;
    int m_bScheduled;
    CPtrList<CSTRecRule> m_recRules;
    CPtrList<CSTExcRule> m_excRules;
};

// The schedule: tasks in file order, owned by the list.
class CSTaskList : public CPtrList<CSTask>
{
  public:
    CSTaskList();
    ~CSTaskList() override;

    int GetCount() const
    {
        return (int)GetSize();
    }
    // Appends the task (the list takes it) and gives it the id of its
    // position counted from 1. Ids are never reused by renumbering.
    int AddTask(CSTask* task);
    // 1, or 0 when there is no such task.
    int DeleteTask(int index);

    // 1 when the whole file was written and has replaced the old one; on 0
    // the old file is left as it was.
    int Save(const char* path);
    // 1 when the file was read completely. On 0 the list holds what could be
    // recovered; every task in it has a recurrence rule.
    int Load(const char* path);
};

// Date texts for descriptions and lists: the long date and the time of day
// without seconds. The portable half writes fixed English texts; the Win32
// half can install the user's locale formats (ScheduledTask_win.h). An
// invalid or all-zero time gives two empty texts and result 0.
typedef int (*TaskDateFormatter)(const CTime& t, char* date, size_t dateSize, char* timeOfDay,
                                 size_t timeSize);
int FormatTaskDate(const CTime& t, char* date, size_t dateSize, char* timeOfDay, size_t timeSize);
int FormatTaskDateEnglish(const CTime& t, char* date, size_t dateSize, char* timeOfDay, size_t timeSize);
// Null restores the English texts.
void SetTaskDateFormatter(TaskDateFormatter formatter);

// A real calendar time: year 1-9999, a day that exists in its month, and a
// time of day within range.
bool IsValidTaskTime(const CTime& t);
// Day of the week of the calendar date, 0 Monday ... 6 Sunday (wDayOfWeek is
// not trusted: the arithmetic leaves it stale).
int GetTaskWeekday(const CTime& t);

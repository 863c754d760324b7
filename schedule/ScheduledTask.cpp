#include "ScheduledTask.h"
#include "TextFile.h"
#include "dtmutils.h"
#include "safesave.h"
#include "xmlutils.h"

#include <limits.h>
#include <stdlib.h>

#include "strutils.h"

namespace
{

// The text form of a time has a four-digit year, so no computed time may go
// past this one.
const long long kLastYear = 9999;
// Candidates a periodic rule examines before it gives up.
const int kMaxCandidates = 3600;

const char kHeader[] = "<?TarvinSchedule version='1.00'?>";
const unsigned kTagSize = 32;

// A time in wide fields, so that a large interval cannot wrap a 16-bit one.
typedef CalendarFields<long long> WideTime;

// One step of a periodic rule: the carries of CTime::Add, done wide. False
// when the result would lie past the last year the file can hold.
bool StepWide(WideTime& w, unsigned long long amount, DWORD subtype)
{
    switch (subtype)
    {
        case ST_PERIOD_MINUTES:
            return CalendarAdd(w, (long long)amount, 2, kLastYear);
        case ST_PERIOD_HOURS:
            return CalendarAdd(w, (long long)amount, 3, kLastYear);
        case ST_PERIOD_DAYS:
            return CalendarAdd(w, (long long)amount, 4, kLastYear);
        case ST_PERIOD_WEEKS:
            return CalendarAdd(w, 7 * (long long)amount, 4, kLastYear);
        case ST_PERIOD_MONTHS:
            return CalendarAdd(w, (long long)amount, 5, kLastYear);
        case ST_PERIOD_YEARS:
            return CalendarAdd(w, (long long)amount, 6, kLastYear);
        default:
            return false;
    }
}

void ClearTime(CTime& t)
{
    // wDayOfWeek is left alone, as everywhere else.
    SYSTEMTIME* st = t.GetSystemTimePtr();
    WORD dayOfWeek = st->wDayOfWeek;
    t.Set(0, 0, 0, 0, 0, 0, 0);
    st->wDayOfWeek = dayOfWeek;
}

bool IsLater(const CTime& a, const CTime& b)
{
    int r = a.CompareDate(b);
    return r > 0 || (r == 0 && a.CompareTime(b) > 0);
}

// The attribute's value cut to size bytes; false when the line lacks it, in
// which case value is untouched.
bool ReadAttr(const char* line, const char* name, char* value, unsigned size)
{
    return GetPropertyValue(line, name, value, size) >= 0;
}

int ToInt(const char* text)
{
    return StrToInt(text);
}

bool ReadIntAttr(const char* line, const char* name, int* out)
{
    char value[CTextFile::lineSchedule];
    if (!ReadAttr(line, name, value, sizeof(value)))
        return false;
    *out = ToInt(value);
    return true;
}

void ReadDwordAttr(const char* line, const char* name, DWORD* out)
{
    int v;
    if (ReadIntAttr(line, name, &v))
        *out = (DWORD)v;
}

// A value that does not parse gives an all-zero time.
bool ReadTimeAttr(const char* line, const char* name, CTime* out)
{
    char value[CTextFile::lineSchedule];
    if (!ReadAttr(line, name, value, sizeof(value)))
        return false;
    out->Set(value);
    return true;
}

bool HasTag(const char* line, const char* tag)
{
    char name[kTagSize];
    return GetTagName(line, name, sizeof(name)) > 0 && StrCompareNoCase(name, tag) == 0;
}

// A task starts with a task line; a stray "</task>" starts nothing.
bool IsTaskStart(const char* line)
{
    return HasTag(line, "task") && !IsEndTag(line);
}

bool IsHeader(const char* line)
{
    return ReadFileHeader(line, "?TarvinSchedule") == FILE_HEADER_OK;
}

void ReadTaskLine(CSTask* task, const char* line)
{
    char text[ST_TEXT_SIZE];
    if (ReadAttr(line, "name", text, sizeof(text)))
        task->SetName(text);
    if (ReadAttr(line, "target", text, sizeof(text)))
        task->SetTarget(text);
    if (ReadAttr(line, "workdir", text, sizeof(text)))
        task->SetDir(text);
    if (ReadAttr(line, "cmdline", text, sizeof(text)))
        task->SetCmdLine(text);

    int v;
    if (ReadIntAttr(line, "windowstate", &v))
        task->SetWindowState(v);
    if (ReadIntAttr(line, "recurrences", &v))
        task->SetRecurrenceCount((DWORD)v);
    if (ReadIntAttr(line, "active", &v))
        task->SetActive(v);

    CTime t;
    if (ReadTimeAttr(line, "time", &t))
        task->SetScheduledTime(t);
    if (ReadTimeAttr(line, "last", &t))
        task->SetLastScheduledTime(t);
    if (ReadTimeAttr(line, "orig", &t))
        task->SetOrigScheduledTime(t);
    char result[ST_RESULT_SIZE];
    if (ReadAttr(line, "result", result, sizeof(result)))
        task->SetLastResult(result);
    task->SetScheduled(1);
}

void ReadRuleLine(CSTRecRule* rule, const char* line)
{
    ReadDwordAttr(line, "type", &rule->type);
    ReadDwordAttr(line, "subtype", &rule->subtype);
    ReadDwordAttr(line, "data", &rule->data);
    ReadTimeAttr(line, "time", &rule->time);
    ReadDwordAttr(line, "except", &rule->except);
    ReadTimeAttr(line, "exceptfrom", &rule->exceptfrom);
    ReadTimeAttr(line, "exceptto", &rule->exceptto);
}

void FormatTaskLine(const CSTask& task, char* line, size_t size)
{
    char t1[64], t2[64], t3[64];
    task.GetScheduledTime().GetString(t1, sizeof(t1));
    task.GetLastScheduledTime().GetString(t2, sizeof(t2));
    task.GetOrigScheduledTime().GetString(t3, sizeof(t3));
    // A text with a double quote goes in single quotes; written raw it would
    // end early and the rest would read as further attributes.
    char name[ST_TEXT_SIZE + 3], target[ST_TEXT_SIZE + 3], dir[ST_TEXT_SIZE + 3], cmdLine[ST_TEXT_SIZE + 3];
    QuoteValue(name, sizeof(name), task.GetName());
    QuoteValue(target, sizeof(target), task.GetTarget());
    QuoteValue(dir, sizeof(dir), task.GetDir());
    QuoteValue(cmdLine, sizeof(cmdLine), task.GetCmdLine());
    // The last result is an attribute of its own at the end of the line: a
    // reader that does not know it looks its attributes up by name and passes
    // over it, and a file without it reads as "no result yet".
    char result[ST_RESULT_SIZE + 16] = "";
    if (task.GetLastResult()[0])
    {
        char quoted[ST_RESULT_SIZE + 3];
        QuoteValue(quoted, sizeof(quoted), task.GetLastResult());
        StrFormat(result, sizeof(result), " result=%s", quoted);
    }
    StrFormat(line, size,
              "<task name=%s target=%s workdir=%s cmdline=%s windowstate=\"%d\" "
              "recurrences=\"%d\" active=\"%d\" time=\"%s\" last=\"%s\" orig=\"%s\"%s >",
              name, target, dir, cmdLine, task.GetWindowState(), (int)task.GetRecurrenceCount(),
              task.IsActive() ? 1 : 0, t1, t2, t3, result);
}

void FormatRuleLine(const CSTRecRule& rule, char* line, size_t size)
{
    char t1[64], t2[64], t3[64];
    rule.time.GetString(t1, sizeof(t1));
    rule.exceptfrom.GetString(t2, sizeof(t2));
    rule.exceptto.GetString(t3, sizeof(t3));
    StrFormat(line, size,
              "<rule type=\"%d\" subtype=\"%d\" data=\"%d\" time=\"%s\" except=\"%d\" exceptfrom=\"%s\" "
              "exceptto=\"%s\" />",
              (int)rule.type, (int)rule.subtype, (int)rule.data, t1, (int)rule.except, t2, t3);
}

TaskDateFormatter g_pfnFormatTaskDate = FormatTaskDateEnglish;

} // namespace

// ---------------------------------------------------------------------------
// Date texts

bool IsValidTaskTime(const CTime& t)
{
    const SYSTEMTIME* st = t.GetSystemTimePtr();
    return st->wYear >= 1 && st->wYear <= kLastYear && st->wMonth >= 1 && st->wMonth <= 12 && st->wDay >= 1 &&
           st->wDay <= CalendarDaysInMonth(st->wMonth, st->wYear) && st->wHour <= 23 && st->wMinute <= 59 &&
           st->wSecond <= 59 && st->wMilliseconds <= 999;
}

int GetTaskWeekday(const CTime& t)
{
    // Counted from a known Monday.
    SYSTEMTIME monday = {2003, 5, 0, 12, 0, 0, 0, 0};
    int days = DateDiffDays(&monday, t.GetSystemTimePtr()) % 7;
    return days < 0 ? days + 7 : days;
}

int FormatTaskDateEnglish(const CTime& t, char* date, size_t dateSize, char* timeOfDay, size_t timeSize)
{
    static const char* const days[7] = {"Monday", "Tuesday",  "Wednesday", "Thursday",
                                        "Friday", "Saturday", "Sunday"};
    static const char* const months[12] = {"January",   "February", "March",    "April",
                                           "May",       "June",     "July",     "August",
                                           "September", "October",  "November", "December"};
    StrCopy(date, dateSize, "");
    StrCopy(timeOfDay, timeSize, "");
    if (!IsValidTaskTime(t))
        return 0;
    const SYSTEMTIME* st = t.GetSystemTimePtr();
    StrFormat(date, dateSize, "%s, %d %s %d", days[GetTaskWeekday(t)], st->wDay, months[st->wMonth - 1],
              st->wYear);
    StrFormat(timeOfDay, timeSize, "%02d:%02d", st->wHour, st->wMinute);
    return 1;
}

void SetTaskDateFormatter(TaskDateFormatter formatter)
{
    g_pfnFormatTaskDate = formatter ? formatter : FormatTaskDateEnglish;
}

int FormatTaskDate(const CTime& t, char* date, size_t dateSize, char* timeOfDay, size_t timeSize)
{
    return g_pfnFormatTaskDate(t, date, dateSize, timeOfDay, timeSize);
}

// ---------------------------------------------------------------------------
// CSTRecRule

CSTRecRule::CSTRecRule(const CSTRecRule* source)
{
    if (source)
    {
        Copy(*source);
        return;
    }
    type = ST_TYPE_UNDEFINED;
    subtype = 0;
    data = 0;
    except = 0;
    CTime now;
    GetNextFullHour(now, time);
    exceptfrom.Set(time);
    exceptto.Set(time);
}

CSTRecRule::CSTRecRule(const CSTRecRule& source)
{
    Copy(source);
}

CSTRecRule& CSTRecRule::operator=(const CSTRecRule& source)
{
    Copy(source);
    return *this;
}

CSTRecRule::~CSTRecRule()
{
}

int CSTRecRule::Copy(const CSTRecRule& source)
{
    type = source.type;
    subtype = source.subtype;
    data = source.data;
    time.Set(source.time);
    except = source.except;
    exceptfrom.Set(source.exceptfrom);
    exceptto.Set(source.exceptto);
    return 1;
}

int CSTRecRule::SetScheduledTime(const CTime& t)
{
    time.Set(t);
    return 1;
}

int CSTRecRule::SetExceptTime(const CTime& from, const CTime& to)
{
    exceptfrom.Set(from);
    exceptto.Set(to);
    return 1;
}

void CSTRecRule::GetNextFullHour(const CTime& now, CTime& out)
{
    out.Set(now);
    out.Add(1, 3);
    SYSTEMTIME* st = out.GetSystemTimePtr();
    st->wMinute = 0;
    st->wSecond = 0;
    st->wMilliseconds = 0;
}

int CSTRecRule::GetDescription(char* buffer, size_t maximum) const
{
    if (!buffer || maximum == 0)
        return 1;
    switch (type)
    {
        case ST_TYPE_DATE: {
            char date[ST_DATE_TEXT_SIZE], timeOfDay[ST_DATE_TEXT_SIZE], phrase[2 * ST_DATE_TEXT_SIZE + 8];
            FormatTaskDate(time, date, sizeof(date), timeOfDay, sizeof(timeOfDay));
            if (date[0])
                StrFormat(phrase, sizeof(phrase), "%s at %s", date, timeOfDay);
            else
                StrCopy(phrase, "Not scheduled to run again");
            StrFormat(buffer, maximum, "Schedule to run on %s", phrase);
            break;
        }
        case ST_TYPE_PERIODIC: {
            static const char* const units[6] = {"minutes", "hours", "days", "weeks", "months", "years"};
            if (subtype >= ST_PERIOD_MINUTES && subtype <= ST_PERIOD_YEARS)
                StrFormat(buffer, maximum, "Reschedule every %d %s.", (int)data, units[subtype - 1]);
            else
                StrCopy(buffer, maximum, "Reschedule periodically.");
            break;
        }
        case ST_TYPE_EVENT:
            StrCopy(buffer, maximum,
                    subtype == ST_EVENT_STARTUP    ? "Run at startup."
                    : subtype == ST_EVENT_SHUTDOWN ? "Run at shutdown."
                                                   : "Run at an event.");
            break;
        default:
            StrCopy(buffer, maximum, "Undefined (New Rule)");
            break;
    }
    return 1;
}

int CSTRecRule::GetNextScheduledTimeAfter(const CTime& after, CTime& next) const
{
    switch (type)
    {
        case ST_TYPE_DATE:
            if (IsLater(time, after))
            {
                next.Set(time);
                return 1;
            }
            ClearTime(next);
            return 0;
        case ST_TYPE_EVENT:
            // Events never fall due by the clock.
            ClearTime(next);
            return 1;
        case ST_TYPE_PERIODIC:
            break;
        default:
            ClearTime(next);
            return 0;
    }

    const SYSTEMTIME a = *after.GetSystemTimePtr();
    // A rule that cannot move forward (no unit, a zero interval) has no next
    // time: answering with the reference itself would make the runner start
    // the task on every tick of its minute and never let it stop being
    // overdue. A reference outside the calendar has no grid to step on.
    if (a.wYear == 0 || a.wYear > kLastYear || a.wMonth < 1 || a.wMonth > 12 || subtype < ST_PERIOD_MINUTES ||
        subtype > ST_PERIOD_YEARS || data == 0)
    {
        ClearTime(next);
        return 0;
    }

    WideTime w = {a.wYear, a.wMonth, a.wDay, a.wHour, a.wMinute, a.wSecond, a.wMilliseconds};
    for (int i = 0; i < kMaxCandidates; i++)
    {
        if (!StepWide(w, data, subtype))
            break;
        CTime q;
        q.Set((WORD)w.year, (WORD)w.month, (WORD)w.day, (WORD)w.hour, (WORD)w.minute, (WORD)w.second,
              (WORD)w.ms);
        q.GetSystemTimePtr()->wDayOfWeek = a.wDayOfWeek;

        bool excluded = false;
        switch (subtype)
        {
            case ST_PERIOD_MINUTES:
            case ST_PERIOD_HOURS: {
                // Only the time of day counts; the bounds themselves are allowed.
                int order = exceptto.CompareTime(exceptfrom);
                if (order > 0)
                    excluded = q.CompareTime(exceptfrom) > 0 && q.CompareTime(exceptto) < 0;
                else if (order < 0) // the window wraps past midnight
                    excluded = q.CompareTime(exceptfrom) > 0 || q.CompareTime(exceptto) < 0;
                break;
            }
            case ST_PERIOD_DAYS:
                excluded = (except >> GetTaskWeekday(q)) & 1;
                break;
            case ST_PERIOD_MONTHS:
                excluded = (except >> (w.month - 1)) & 1;
                break;
            default:
                break;
        }
        if (!excluded)
        {
            next.Set(q);
            return 1;
        }
    }
    ClearTime(next);
    return 0;
}

// ---------------------------------------------------------------------------
// CSTExcRule

CSTExcRule::CSTExcRule(const CSTExcRule* source)
{
    if (source)
    {
        Copy(*source);
        return;
    }
    type = 0;
    subtype = 0;
    data = 0;
    timefrom.Set(0, 0, 0, 0, 0, 0, 0);
    timeto.Set(0, 0, 0, 0, 0, 0, 0);
}

CSTExcRule::CSTExcRule(const CSTExcRule& source)
{
    Copy(source);
}

CSTExcRule& CSTExcRule::operator=(const CSTExcRule& source)
{
    Copy(source);
    return *this;
}

CSTExcRule::~CSTExcRule()
{
}

int CSTExcRule::Copy(const CSTExcRule& source)
{
    type = source.type;
    subtype = source.subtype;
    data = source.data;
    timefrom.Set(source.timefrom);
    timeto.Set(source.timeto);
    return 1;
}

int CSTExcRule::GetDescription(char*, size_t) const
{
    return 1;
}

// ---------------------------------------------------------------------------
// CSTask

CSTask::CSTask(const CSTask* source)
{
    if (source)
        Copy(*source);
    else
        New(nullptr, 0, 0);
}

CSTask::~CSTask()
{
}

int CSTask::New(const char* name, DWORD id, DWORD overdueId)
{
    m_recRules.Clear();
    m_excRules.Clear();
    StrCopy(m_szName, name ? name : "");
    m_nId = id;
    m_nOverdueId = overdueId;
    m_nRecurrences = 0;
    m_tmScheduled.Set(0, 0, 0, 0, 0, 0, 0);
    m_tmOrigScheduled.Set(0, 0, 0, 0, 0, 0, 0);
    m_tmLastScheduled.Set(0, 0, 0, 0, 0, 0, 0);
    m_szTarget[0] = '\0';
    m_szDir[0] = '\0';
    m_szCmdLine[0] = '\0';
    m_szLastResult[0] = '\0';
    m_nWindowState = 1;
    m_bMustRemove = 0;
    m_bActive = 1;
    m_bMustShowOverdue = 1;
    m_bScheduled = 1;
    return 1;
}

int CSTask::Copy(const CSTask& source)
{
    if (&source == this)
        return 1;
    m_recRules.Clear();
    m_excRules.Clear();
    StrCopy(m_szName, source.m_szName);
    m_nId = source.m_nId;
    m_nOverdueId = source.m_nOverdueId;
    m_nRecurrences = source.m_nRecurrences;
    m_tmScheduled.Set(source.m_tmScheduled);
    m_tmOrigScheduled.Set(source.m_tmOrigScheduled);
    m_tmLastScheduled.Set(source.m_tmLastScheduled);
    StrCopy(m_szTarget, source.m_szTarget);
    StrCopy(m_szDir, source.m_szDir);
    StrCopy(m_szCmdLine, source.m_szCmdLine);
    StrCopy(m_szLastResult, source.m_szLastResult);
    m_nWindowState = source.m_nWindowState;
    m_bMustRemove = source.m_bMustRemove;
    m_bActive = source.m_bActive;
    m_bMustShowOverdue = source.m_bMustShowOverdue;
    m_bScheduled = source.m_bScheduled;

    // Walking a list moves only its cursor, which is not part of the task.
    CPtrList<CSTRecRule>& recRules = const_cast<CPtrList<CSTRecRule>&>(source.m_recRules);
    recRules.ResetCur();
    for (CSTRecRule* rule = recRules.GetCur(); rule; rule = recRules.GetNext())
        m_recRules.Add(new CSTRecRule(*rule), true);
    CPtrList<CSTExcRule>& excRules = const_cast<CPtrList<CSTExcRule>&>(source.m_excRules);
    excRules.ResetCur();
    for (CSTExcRule* rule = excRules.GetCur(); rule; rule = excRules.GetNext())
        m_excRules.Add(new CSTExcRule(*rule), true);
    return 1;
}

int CSTask::SetName(const char* name)
{
    return StrCopy(m_szName, name ? name : "") ? 1 : 0;
}

int CSTask::SetTarget(const char* target)
{
    return StrCopy(m_szTarget, target ? target : "") ? 1 : 0;
}

int CSTask::SetDir(const char* dir)
{
    return StrCopy(m_szDir, dir ? dir : "") ? 1 : 0;
}

int CSTask::SetCmdLine(const char* cmdLine)
{
    return StrCopy(m_szCmdLine, cmdLine ? cmdLine : "") ? 1 : 0;
}

int CSTask::SetAction(const char* target, const char* dir, const char* cmdLine, int windowState)
{
    int fitted = 1;
    if (target && !SetTarget(target))
        fitted = 0;
    if (dir && !SetDir(dir))
        fitted = 0;
    if (cmdLine && !SetCmdLine(cmdLine))
        fitted = 0;
    m_nWindowState = windowState;
    return fitted;
}

void CSTask::SetLastResult(const char* result)
{
    StrCopy(m_szLastResult, result ? result : "");
    for (char* c = m_szLastResult; *c; c++)
    {
        if (*c == '\r' || *c == '\n' || *c == '\t')
            *c = ' ';
    }
}

bool CSTask::IsStorable(const char** field) const
{
    const char* texts[] = {m_szName, m_szTarget, m_szDir, m_szCmdLine};
    for (const char* text : texts)
    {
        if (!IsStorableValue(text))
        {
            if (field)
                *field = text;
            return false;
        }
    }
    return true;
}

int CSTask::SetProperties(int mustRemove, int active, int mustShowOverdue)
{
    m_bMustRemove = mustRemove;
    m_bActive = active;
    m_bMustShowOverdue = mustShowOverdue;
    return 1;
}

void CSTask::SetScheduledTime(const CTime& t)
{
    m_tmScheduled.Set(t);
    m_bScheduled = 1;
}

CSTRecRule* CSTask::AddRecurrenceRule()
{
    CSTRecRule* rule = new CSTRecRule();
    m_recRules.Add(rule, true);
    return rule;
}

CSTExcRule* CSTask::AddExceptionRule()
{
    CSTExcRule* rule = new CSTExcRule();
    m_excRules.Add(rule, true);
    return rule;
}

CSTRecRule* CSTask::GetFirstRule()
{
    return m_recRules.GetAt(0);
}

const CSTRecRule* CSTask::GetFirstRule() const
{
    return const_cast<CPtrList<CSTRecRule>&>(m_recRules).GetAt(0);
}

int CSTask::SetNextScheduledTime()
{
    m_tmLastScheduled.Set(m_tmScheduled);
    CSTRecRule* rule = GetFirstRule();
    if (!rule)
    {
        ClearTime(m_tmScheduled);
        return 0;
    }
    CTime next;
    rule->GetNextScheduledTimeAfter(m_tmLastScheduled, next);
    rule->time.Set(next);
    m_tmScheduled.Set(next);
    return 1;
}

int CSTask::MoveOnPast(const CTime& now)
{
    // Every step moves the time forward or ends it all zero (never overdue),
    // so the walk ends; a minute task a year late takes half a million steps.
    int moved = SetNextScheduledTime();
    while (moved && IsOverdue(now))
        moved = SetNextScheduledTime();
    return moved;
}

int CSTask::IsOverdue(const CTime& now) const
{
    const CSTRecRule* rule = GetFirstRule();
    if (rule && rule->type == ST_TYPE_EVENT)
        return 0;
    if (m_tmScheduled.GetSystemTimePtr()->wYear == 0)
        return 0;
    return IsLater(now, m_tmScheduled) ? 1 : 0;
}

// ---------------------------------------------------------------------------
// CSTaskList

CSTaskList::CSTaskList()
{
}

CSTaskList::~CSTaskList()
{
    Clear();
}

int CSTaskList::AddTask(CSTask* task)
{
    if (!task)
        return 0;
    Add(task, true);
    task->SetId(GetSize());
    return 1;
}

int CSTaskList::DeleteTask(int index)
{
    if (index < 0)
        return 0;
    return Delete((unsigned)index) ? 1 : 0;
}

int CSTaskList::Save(const char* path)
{
    CSafeSave out;
    if (!out.Begin(path))
        return 0;
    out.WriteLine(kHeader);
    char line[CTextFile::lineSchedule];
    ResetCur();
    for (CSTask* task = GetCur(); task; task = GetNext())
    {
        FormatTaskLine(*task, line, sizeof(line));
        out.WriteLine(line);
        const CSTRecRule* rule = task->GetFirstRule();
        if (rule)
        {
            FormatRuleLine(*rule, line, sizeof(line));
        }
        else
        {
            // The file has no form for a task without a rule; it gets the
            // rule a reader would give it.
            CSTRecRule fresh;
            FormatRuleLine(fresh, line, sizeof(line));
        }
        out.WriteLine(line);
        out.WriteLine("</task>");
    }
    return out.Commit() ? 1 : 0;
}

int CSTaskList::Load(const char* path)
{
    Clear();
    CTextFile file;
    file.Init(1024);
    if (!file.Open(path, CTextFile::modeRead))
        return 0;

    char line[CTextFile::lineSchedule];
    if (!file.ReadLine(line, sizeof(line)) || !IsHeader(line))
        return 0;

    bool damaged = false;
    bool haveLine = false; // a task line already read in place of an end line
    for (;;)
    {
        if (!haveLine && !file.ReadLine(line, sizeof(line)))
            return file.IsLineTooLong() || damaged ? 0 : 1;
        haveLine = false;
        if (!IsTaskStart(line))
        {
            // An end line with no task open: nothing of a task is on it, so
            // none is made up (it would hold no target and be saved back),
            // but the file is not as written and is reported as damaged.
            if (HasTag(line, "task"))
                damaged = true;
            continue;
        }

        CSTask* task = new CSTask();
        ReadTaskLine(task, line);
        AddTask(task);

        // A task that lost its rule line keeps a new, undefined rule, so that
        // what was recovered can still be listed, shown and saved.
        if (!file.ReadLine(line, sizeof(line)) || !HasTag(line, "rule"))
        {
            task->AddRecurrenceRule();
            return 0;
        }
        ReadRuleLine(task->AddRecurrenceRule(), line);

        if (!file.ReadLine(line, sizeof(line)))
            return 0;
        if (IsTaskStart(line))
        {
            // The end line is missing. Taking the next task's line for it
            // would drop that task without a word; read it as the next task
            // and report the damage at the end.
            damaged = true;
            haveLine = true;
            continue;
        }
        if (IsEndTag(line) && !HasTag(line, "task"))
            return 0;
    }
}

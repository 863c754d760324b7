// A schedule file from arbitrary bytes: load, use every task, save, reload.
#include "ScheduledTask.h"
#include "fuzz_util.h"

#include <string.h>
#include <unistd.h>

#include "strutils.h"

// Times that the text form carries unchanged: none, or a real date from the
// year 1000 on (the reader takes the year's own digits only).
static bool IsCanonical(const CTime& t)
{
    const SYSTEMTIME* st = t.GetSystemTimePtr();
    if (st->wYear == 0)
        return st->wMonth == 0 && st->wDay == 0 && st->wHour == 0 && st->wMinute == 0 && st->wSecond == 0 &&
               st->wMilliseconds == 0;
    return st->wYear >= 1000 && IsValidTaskTime(t);
}

static bool IsCanonical(CSTask* task)
{
    const CSTRecRule* rule = task->GetFirstRule();
    return !strchr(task->GetName(), '"') && !strchr(task->GetTarget(), '"') && !strchr(task->GetDir(), '"') &&
           !strchr(task->GetCmdLine(), '"') && IsCanonical(task->GetScheduledTime()) &&
           IsCanonical(task->GetLastScheduledTime()) && IsCanonical(task->GetOrigScheduledTime()) &&
           IsCanonical(rule->time) && IsCanonical(rule->exceptfrom) && IsCanonical(rule->exceptto);
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    std::string path = FuzzFile(data, size);
    CSTaskList list;
    int rc = list.Load(path.c_str());
    FUZZ_FAIL_IF(rc != 0 && rc != 1);

    bool canonical = true;
    for (int i = 0; i < list.GetCount(); i++)
    {
        CSTask* task = list.GetAt(i);
        FUZZ_FAIL_IF(!task->GetFirstRule() || task->GetId() != (DWORD)(i + 1));
        FUZZ_FAIL_IF(strlen(task->GetName()) >= ST_TEXT_SIZE || strlen(task->GetTarget()) >= ST_TEXT_SIZE ||
                     strlen(task->GetDir()) >= ST_TEXT_SIZE || strlen(task->GetCmdLine()) >= ST_TEXT_SIZE);
        canonical = canonical && IsCanonical(task);
        char desc[ST_DESCRIPTION_SIZE];
        task->GetFirstRule()->GetDescription(desc, sizeof(desc));
    }

    // What was read saves, and reads back complete. When every value survives
    // the text form, a second save writes the same bytes.
    // Memory-backed where there is such a folder: every save flushes to disk.
    static const std::string base = std::string(access("/dev/shm", W_OK) == 0 ? "/dev/shm" : "/tmp") +
                                    "/tvfuzz_sched_" + std::to_string(getpid());
    static const std::string first = base + "_1";
    static const std::string second = base + "_2";
    FUZZ_FAIL_IF(list.Save(first.c_str()) != 1);
    CSTaskList again;
    FUZZ_FAIL_IF(again.Load(first.c_str()) != 1 || again.GetCount() != list.GetCount());
    if (canonical)
    {
        FUZZ_FAIL_IF(again.Save(second.c_str()) != 1 || ReadFuzzFile(first) != ReadFuzzFile(second));
    }

    // Running the tasks forward never hangs and always ends up not overdue.
    CTime now;
    now.Set(2030, 1, 1, 0, 0, 0, 0);
    for (int i = 0; i < list.GetCount(); i++)
    {
        CSTask* task = list.GetAt(i);
        for (int n = 0; n < 3 && task->IsOverdue(now); n++)
            task->SetNextScheduledTime();
        task->IsOverdue(now);
    }
    unlink(first.c_str());
    unlink(second.c_str());
    return 0;
}

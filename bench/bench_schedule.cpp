// Builds a schedule of many tasks with varied rules, saves it and loads it
// back; prints the best of five save and load times and their rates in MB/s.
#include "ScheduledTask.h"
#include "strutils.h"

#include <algorithm>
#include <chrono>
#include <stdio.h>
#include <stdlib.h>

static const char* g_targets[] = {
    "C:\\Program Files\\Tarvin 2\\tvedit.exe", "C:\\Windows\\notepad.exe",
    "D:\\Tools\\backup\\run backup.cmd",       "C:\\Users\\Public\\Documents\\Weekly report.doc",
    "\\\\server\\share\\scripts\\sync.bat",
};

static const char* g_names[] = {"Backup", "Report", "Clean temp", "Sync 'docs'", "Reminder, <lunch>"};

// One rule per kind, in turn: each period unit, a specific date and the events.
static void FillRule(CSTRecRule* rule, int i)
{
    CTime t;
    t.Set((WORD)(2020 + i % 10), (WORD)(1 + i % 12), (WORD)(1 + i % 28), (WORD)(i % 24), (WORD)(i % 60), 0,
          0);
    rule->SetScheduledTime(t);
    switch (i % 10)
    {
        case 0:
            rule->type = ST_TYPE_DATE;
            break;
        case 7:
            rule->type = ST_TYPE_EVENT;
            rule->subtype = ST_EVENT_STARTUP;
            break;
        case 8:
            rule->type = ST_TYPE_EVENT;
            rule->subtype = ST_EVENT_SHUTDOWN;
            break;
        default:
            rule->type = ST_TYPE_PERIODIC;
            rule->subtype = (DWORD)(ST_PERIOD_MINUTES + (i % 10 - 1) % 6);
            rule->data = (DWORD)(1 + i % 45);
            rule->except = (DWORD)(i * 37 % 128);
            if (i % 3 == 0)
            {
                CTime from, to;
                from.Set(2020, 1, 1, 22, 0, 0, 0);
                to.Set(2020, 1, 2, 6, 30, 0, 0);
                rule->SetExceptTime(from, to);
            }
            break;
    }
}

static void BuildSchedule(CSTaskList& list, int count)
{
    const int nTargets = (int)(sizeof(g_targets) / sizeof(g_targets[0]));
    const int nNames = (int)(sizeof(g_names) / sizeof(g_names[0]));
    for (int i = 0; i < count; i++)
    {
        CSTask* task = new CSTask();
        char text[ST_TEXT_SIZE];
        StrFormat(text, sizeof(text), "%s %d", g_names[i % nNames], i);
        task->SetName(text);
        const char* target = g_targets[i % nTargets];
        char dir[ST_TEXT_SIZE];
        StrCopy(dir, target);
        int slash = CharFindRev(dir, '\\', 0);
        if (slash > 0)
            dir[slash] = '\0';
        StrFormat(text, sizeof(text), "/log=\"C:\\Logs\\task%d.log\" /quiet", i);
        task->SetAction(target, dir, i % 4 ? text : "", 1 + i % 3);
        task->SetProperties(i % 5 == 0, i % 7 != 0, i % 2);
        FillRule(task->AddRecurrenceRule(), i);
        task->SetScheduledTime(task->GetFirstRule()->time);
        task->SetOrigScheduledTime(task->GetFirstRule()->time);
        task->SetRecurrenceCount((DWORD)(i % 100));
        list.AddTask(task);
    }
}

static long FileSize(const char* path)
{
    FILE* f = fopen(path, "rb");
    if (!f)
        return -1;
    fseek(f, 0, SEEK_END);
    long size = ftell(f);
    fclose(f);
    return size;
}

int main(int argc, char** argv)
{
    const char* path = argc > 1 ? argv[1] : "bench_schedule.dat";
    int count = argc > 2 ? atoi(argv[2]) : 10000;
    if (count <= 0)
        count = 10000;

    CSTaskList schedule;
    BuildSchedule(schedule, count);

    using Clock = std::chrono::steady_clock;
    double bestSave = 1e9, bestLoad = 1e9;
    int loaded = 0;
    for (int round = 0; round < 5; round++)
    {
        auto t0 = Clock::now();
        if (!schedule.Save(path))
        {
            fprintf(stderr, "cannot save %s\n", path);
            return 1;
        }
        auto t1 = Clock::now();
        CSTaskList back;
        if (!back.Load(path))
        {
            fprintf(stderr, "load failed after %d tasks\n", back.GetCount());
            return 1;
        }
        auto t2 = Clock::now();
        loaded = back.GetCount();
        // A round trip that lost or changed tasks would make the figures meaningless.
        if (loaded != count ||
            StrCompareNoCase(back.GetAt(count - 1)->GetName(), schedule.GetAt(count - 1)->GetName()) != 0)
        {
            fprintf(stderr, "round trip differs: %d of %d tasks\n", loaded, count);
            return 1;
        }
        bestSave = std::min(bestSave, std::chrono::duration<double>(t1 - t0).count());
        bestLoad = std::min(bestLoad, std::chrono::duration<double>(t2 - t1).count());
    }
    double mb = (double)FileSize(path) / (1024.0 * 1024.0);
    remove(path);
    printf("schedule %d tasks, file %.2f MB\n", loaded, mb);
    printf("save: %.4f s = %.1f MB/s\n", bestSave, mb / bestSave);
    printf("load: %.4f s = %.1f MB/s\n", bestLoad, mb / bestLoad);
    return 0;
}

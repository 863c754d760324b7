#include "LineBlock.h"

#include <stdlib.h>
#include <string.h>

#include "LaunchFile.h"
#include "strutils.h"

static int CompareInts(const void* a, const void* b)
{
    int x = *(const int*)a, y = *(const int*)b;
    return x < y ? -1 : x > y;
}

int NormalizeSelection(int* rows, int n, int count)
{
    if (n <= 0)
        return 0;
    qsort(rows, (size_t)n, sizeof(int), CompareInts);
    int kept = 0;
    for (int i = 0; i < n; i++)
    {
        if (rows[i] < 0 || rows[i] >= count || (kept > 0 && rows[kept - 1] == rows[i]))
            continue;
        rows[kept++] = rows[i];
    }
    return kept;
}

void FormatLineRanges(const int* rows, int n, char* out, size_t size)
{
    if (size == 0)
        return;
    out[0] = '\0';
    for (int i = 0; i < n;)
    {
        int end = i;
        while (end + 1 < n && rows[end + 1] == rows[end] + 1)
            end++;
        char part[32];
        if (end == i)
            StrFormat(part, sizeof(part), "%s%d", i ? ", " : "", rows[i] + 1);
        else
            StrFormat(part, sizeof(part), "%s%d-%d", i ? ", " : "", rows[i] + 1, rows[end] + 1);
        StrAppend(out, size, part);
        i = end + 1;
    }
}

int PlanShift(const int* rows, int n, int count, bool up, LineMove* out)
{
    if (n <= 0 || (up ? rows[0] <= 0 : rows[n - 1] >= count - 1))
        return 0;
    // Up from the top and down from the bottom: each row passes over a row
    // that is not selected, so the gaps stay as they were.
    for (int i = 0; i < n; i++)
    {
        int row = up ? rows[i] : rows[n - 1 - i];
        out[i] = {row, up ? row - 1 : row + 1};
    }
    return n;
}

int PlanDrop(const int* rows, int n, int count, int before, LineMove* out, int* first)
{
    if (before < 0)
        before = 0;
    if (before > count)
        before = count;
    int above = 0;
    while (above < n && rows[above] < before)
        above++;
    int start = before - above;
    if (first)
        *first = start;
    int moves = 0;
    // Rows above the place, the lowest first: each lands just above the one
    // placed before it, and the rows still to come keep their indices.
    for (int i = above - 1; i >= 0; i--)
        if (rows[i] != start + i)
            out[moves++] = {rows[i], start + i};
    // Rows below it, the nearest first: each lands just below the one placed
    // before it, and the rows further down keep their indices.
    for (int i = above; i < n; i++)
        if (rows[i] != start + i)
            out[moves++] = {rows[i], start + i};
    return moves;
}

bool IsDisabledLine(const char* line)
{
    return line && strncmp(line, LAUNCH_DISABLED_MARK, sizeof(LAUNCH_DISABLED_MARK) - 1) == 0;
}

bool DisableLine(const char* line, char* out, size_t size)
{
    if (size > 0)
        out[0] = '\0';
    if (!line || IsDisabledLine(line))
        return false;
    if (strlen(LAUNCH_DISABLED_MARK) + strlen(line) >= (size_t)LAUNCH_LINE_SIZE)
        return false;
    if (!StrCopy(out, size, LAUNCH_DISABLED_MARK) || !StrAppend(out, size, line))
    {
        out[0] = '\0';
        return false;
    }
    return true;
}

bool EnableLine(const char* line, char* out, size_t size)
{
    if (size > 0)
        out[0] = '\0';
    if (!IsDisabledLine(line))
        return false;
    if (!StrCopy(out, size, line + sizeof(LAUNCH_DISABLED_MARK) - 1))
    {
        out[0] = '\0';
        return false;
    }
    return true;
}

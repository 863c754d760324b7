// Work on several lines of a launch file at once: the selected rows as
// sorted indices, the single-line moves that shift them or drop them
// elsewhere, and lines switched off by turning them into comments.
//
// A disabled line is the whole original line behind the marker
//     //[disabled] <the line exactly as it was>
// Every reader takes it for a comment (it starts with two slashes), so older
// interpreters and checkers skip it; only a comment that starts with the
// marker is a disabled line, so a hand-written comment stays a comment.
#pragma once

#include <stddef.h>

#define LAUNCH_DISABLED_MARK "//[disabled] "

struct LineMove
{
    int from;
    int to; // index after the move, as CLaunchFile::MoveAction takes it
};

// Sorts the rows, drops duplicates and rows outside 0..count-1; returns how
// many are left.
int NormalizeSelection(int* rows, int n, int count);

// "2-4, 7" for the rows 1, 2, 3 and 6 (0-based rows, 1-based numbers); cut
// to size. rows as NormalizeSelection leaves them.
void FormatLineRanges(const int* rows, int n, char* out, size_t size);

// The moves (at most n, written to out) that shift every selected row one
// place up or down, keeping the gaps between them. 0 when a selected row is
// already at that edge, or nothing is selected.
int PlanShift(const int* rows, int n, int count, bool up, LineMove* out);

// The moves (at most n) that take the selected rows out and put them, in
// their order, where the row `before` stands (count: at the end). The block
// then starts at *first. Moves that would change nothing are left out.
int PlanDrop(const int* rows, int n, int count, int before, LineMove* out, int* first);

// Whether the line is a disabled line (the marker at its very start).
bool IsDisabledLine(const char* line);
// The disabled form of line; false (out emptied) when the line is already
// disabled or the result would not fit a launch line or out.
bool DisableLine(const char* line, char* out, size_t size);
// The line a disabled line stands for, exactly; false (out emptied) when the
// line is not disabled.
bool EnableLine(const char* line, char* out, size_t size);

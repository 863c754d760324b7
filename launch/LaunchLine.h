// The one writer of action lines. Every line an editor puts into a launch
// file is built here, in the form the readers of LaunchFile expect:
//     Launch "<file>","<folder>","<parameters>",Normal      (Open, Print alike)
//     Copy "<source>","<destination>",AskOverwrite           (Move alike)
//     Delete "<files>",AskDelete
//     Kill "<name>"   Close, Destroy, Hide, Show "<title>"   Message "<text>"
//     Wait "<n> ms"
//     ShowAll   Screensaver   Shutdown   Restart   Exit
//     //<text>                                              (a comment)
// The keyword is the action's display name; values are quoted, options are
// bare words, and no space follows a comma.
#pragma once

#include <stddef.h>

// The action's values in order:
//   Launch, Open, Print: file, folder, parameters, window state word
//   Copy, Move: source, destination, option word; Delete: files, option word
//   Kill, Close, Destroy, Hide, Show, Message: the one value
//   Wait: the milliseconds as a decimal number
//   LA_COMMENT: the text after the two slashes; LA_UNKNOWN: the whole line
// A missing or null value is empty. false, with out emptied, when the line
// cannot be written faithfully: a quoted value that holds a double quote
// (the readers have no escape), any value that holds a line break, a Wait
// that is not a number, or a line longer than a launch line (1035
// characters) or than out.
bool BuildLaunchLine(int action, const char* const* values, int count, char* out, size_t size);

// "Normal", "Minimized" or "Maximized" for the show states 1, 2 and 3 (any
// other state is normal), and back: the state a line's window state word
// stands for (any other word is normal).
const char* WindowStateWord(int state);
int WindowStateFromWord(const char* word);

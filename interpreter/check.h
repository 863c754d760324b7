// tvint -check -file="<launch file>": reads the file and reports what would go
// wrong when it runs, without running anything. The command line and the
// report's texts are portable (check.cpp); check_win.cpp reads the file and
// shows the report.
#pragma once

#include <string>

// True when the command line asks for a check ("-check" as a word of its own,
// outside quotes).
bool IsCheckCommandLine(const char* cmdLine);
// Appends the finding's line, "<file>:<line>: error: <message>" (or
// "warning: "), ended by CR LF.
void AppendFinding(std::string& report, const std::string& file, int line, bool error, const char* message);
// The report as one message box shows it: a note when there are no findings,
// and cut after the last whole line that fits the box, with "...", when
// there are too many.
std::string CheckBoxText(const std::string& file, const std::string& report);
// Checks the file named by -file and reports one line per finding to the
// console or the output handle the program was started with, or in one
// message box when it has neither. Returns the exit code: 0 clean, 1 warnings
// only, 2 errors.
int RunCheck(const char* cmdLine);

// tvint -check -file="<launch file>": reads the file and reports what would go
// wrong when it runs, without running anything.
#pragma once

// True when the command line asks for a check ("-check" as a word of its own,
// outside quotes).
bool IsCheckCommandLine(const char* cmdLine);
// Checks the file named by -file and reports one line per finding
// ("<file>:<line>: <message>") to the console or the output handle the program
// was started with, or in one message box when it has neither. Returns the
// exit code: 0 clean, 1 warnings only, 2 errors.
int RunCheck(const char* cmdLine);

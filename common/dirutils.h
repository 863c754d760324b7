// Paths and files. Paths use backslashes; outputs are cut to their buffer.
#pragma once

#include <stddef.h>

char* GetDirFromPath(const char* path, char* dir, size_t size);
char* GetFileNameFromPath(const char* path, char* name, size_t size);
char* GetFileTitleFromPath(const char* path, char* title, size_t size);
char* GetExtFromPath(const char* path, char* ext, size_t size);

// The program path of a shell command line: the text between the quotes
// when it starts with a double quote (false when the quote is not closed),
// else everything before the last space (all of it without a space). False
// when there is no path.
bool GetCommandProgram(const char* command, char* buf, size_t size);

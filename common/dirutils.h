// Paths and files. Paths use backslashes; outputs are cut to their buffer.
#pragma once

#include <stddef.h>

char* GetDirFromPath(const char* path, char* dir, size_t size);
char* GetFileNameFromPath(const char* path, char* name, size_t size);
char* GetFileTitleFromPath(const char* path, char* title, size_t size);
char* GetExtFromPath(const char* path, char* ext, size_t size);

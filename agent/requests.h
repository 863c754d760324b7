// Serving the interpreter's requests over the channel.
#pragma once

#include <windows.h>

#include "agentreq.h"
#include "MMapIPC_win.h"

// Serves the message just read from ipc: replies "OK" to a known request,
// then acts on it. Always 1.
int OnProcessMessage(HWND hwnd, CMMapIPC* ipc);

int CALLBACK HideWindowsEnumProc(HWND hwnd, LPARAM pattern);
int ShowWindowsProc(const char* pattern);

// Serving the interpreter's requests over the channel.
#pragma once

#include <windows.h>

#include "agentreq.h"

struct AgentState;

// Serves the message just read from the channel of the agent whose main
// window is hwnd: replies "OK" to a known request, then acts on it. Always 1.
int OnProcessMessage(HWND hwnd);

// lParam: the hide request (the agent and the lower-case pattern).
int CALLBACK HideWindowsEnumProc(HWND hwnd, LPARAM request);
int ShowWindowsProc(AgentState* st, const char* pattern);

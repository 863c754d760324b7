// Stands in for the shell's file operation (g_ShellFileOperation) and records
// what it was handed.
#pragma once

#include <windows.h>
#include <shellapi.h>
#include <string.h>
#include <string>

#include "ShellFileOp.h"
#include "testutil.h"

struct ShellCall
{
    int calls = 0;
    UINT func = 0;
    HWND hwnd = NULL;
    FILEOP_FLAGS flags = 0;
    std::string from, to;
    int result = 0;
};
inline ShellCall g_shell;

// A double-zero list as bytes, up to and including its final zero.
inline std::string Szz(const char* p)
{
    if (!p)
        return "<null>";
    const char* q = p;
    while (*q)
        q += strlen(q) + 1;
    return std::string(p, q - p + 1);
}

inline int WINAPI FakeShellOp(SHFILEOPSTRUCTA* op)
{
    g_shell.calls++;
    g_shell.func = op->wFunc;
    g_shell.hwnd = op->hwnd;
    g_shell.flags = op->fFlags;
    g_shell.from = Szz(op->pFrom);
    g_shell.to = Szz(op->pTo);
    return g_shell.result;
}

// The fake in place for the object's life; g_shell starts afresh.
class FakeShell
{
  public:
    explicit FakeShell(int result) : m_fake(g_ShellFileOperation, FakeShellOp)
    {
        g_shell = ShellCall();
        g_shell.result = result;
    }

  private:
    Replaced<PFN_SHFILEOPERATION> m_fake;
};

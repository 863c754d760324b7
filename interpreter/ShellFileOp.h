// The shell's copy, move and delete (SHFileOperation) for the Copy, Move and
// Delete actions: paths are collected one by one and handed to the shell as
// double-zero-terminated lists.
#pragma once

#include <windows.h>
#include <shellapi.h>
#include "PtrList.h"

class CShellFileOp
{
  public:
    // One path in a buffer of MAX_PATH bytes, cut to fit.
    class CSFOPath
    {
      public:
        explicit CSFOPath(const char* path);
        virtual ~CSFOPath();
        CSFOPath(const CSFOPath&) = delete;
        CSFOPath& operator=(const CSFOPath&) = delete;

        const char* GetPath() const;
        // True when the path had to be cut.
        bool IsCut() const;

      private:
        char* m_path;
        bool m_cut;
    };

    CShellFileOp();
    virtual ~CShellFileOp();
    CShellFileOp(const CShellFileOp&) = delete;
    CShellFileOp& operator=(const CShellFileOp&) = delete;

    // Both return the number of paths in their list.
    int AddSource(const char* path);
    int AddDest(const char* path);
    // operation: FO_MOVE, FO_COPY or FO_DELETE; flags are the FOF_ flags.
    void SetOperationFlags(UINT operation, HWND owner, FILEOP_FLAGS flags);
    // Writes each path and a zero, then one more zero, into buf when it is
    // not null; returns that size in bytes (1 for an empty list).
    int GetSzzBuffer(char* buf, CPtrList<CSFOPath>* list);
    // Runs the operation; 1 when the shell reports success. A cancelled
    // operation that the shell calls a success counts as one. A move, or a
    // copy that renames on collision, to "" or a drive alone ("D:") is
    // refused (0) without asking the shell.
    int Go();
    // Drops all paths and clears the operation block.
    void Reset();

  private:
    int ResolveCollisions(CPtrList<CSFOPath>* sources, CPtrList<CSFOPath>* dests, bool rename);

    CPtrList<CSFOPath> m_sources;
    CPtrList<CSFOPath> m_dests;
    SHFILEOPSTRUCTA m_op;
};

// The shell call Go makes; tests put their own in its place to see the block.
typedef int(WINAPI* PFN_SHFILEOPERATION)(SHFILEOPSTRUCTA*);
extern PFN_SHFILEOPERATION g_ShellFileOperation;

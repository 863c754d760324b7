#include "ShellFileOp.h"
#include <new>
#include <stdlib.h>
#include "strutils.h"
#include "dirutils_win.h"

PFN_SHFILEOPERATION g_ShellFileOperation = SHFileOperationA;

typedef CShellFileOp::CSFOPath CSFOPath;
typedef CPtrList<CSFOPath> PathList;

CSFOPath::CSFOPath(const char* path) : m_path(new (std::nothrow) char[MAX_PATH]), m_cut(true)
{
    if (m_path)
        m_cut = !StrCopy(m_path, MAX_PATH, path);
}

CSFOPath::~CSFOPath()
{
    delete[] m_path;
}

const char* CSFOPath::GetPath() const
{
    return m_path ? m_path : "";
}

bool CSFOPath::IsCut() const
{
    return m_cut;
}

namespace
{
bool IsSeparator(char c)
{
    return c == '\\' || c == '/';
}

// Offset of the name part: just past the last separator.
size_t NamePos(const char* path)
{
    size_t pos = 0;
    for (size_t i = 0; path[i]; i++)
    {
        if (IsSeparator(path[i]) || path[i] == ':')
            pos = i + 1;
    }
    return pos;
}

bool HasWildcard(const char* path)
{
    return strpbrk(path + NamePos(path), "*?") != NULL;
}

bool ListHas(PathList* list, const char* path)
{
    list->ResetCur();
    for (CSFOPath* p = list->GetCur(); p; p = list->GetNext())
    {
        if (lstrcmpiA(p->GetPath(), path) == 0)
            return true;
    }
    return false;
}

// "" or a drive alone ("D:"): no folder the targets could be named in.
// Joined with file names these would land at the drive's root ("\a.txt",
// "D:\a.txt"), while the shell itself reads them by the current folder.
bool AnyBare(PathList* list)
{
    list->ResetCur();
    for (CSFOPath* p = list->GetCur(); p; p = list->GetNext())
    {
        const char* path = p->GetPath();
        if (!path[0] || (path[1] == ':' && !path[2]))
            return true;
    }
    return false;
}

bool AnyCut(PathList* list)
{
    list->ResetCur();
    for (CSFOPath* p = list->GetCur(); p; p = list->GetNext())
    {
        if (p->IsCut())
            return true;
    }
    return false;
}

bool JoinPath(char* out, size_t size, const char* dir, const char* name)
{
    size_t len = strlen(dir);
    bool hasSeparator = len > 0 && IsSeparator(dir[len - 1]);
    return StrFormat(out, size, hasSeparator ? "%s%s" : "%s\\%s", dir, name);
}

// The files (and, without filesOnly, folders) a source stands for, appended
// to out: its wildcard matches, or the source itself. false when a path does
// not fit.
bool Expand(const char* source, bool filesOnly, PathList* out)
{
    if (!HasWildcard(source))
    {
        char path[MAX_PATH];
        StrCopy(path, source);
        // "C:\a\sub\" names the folder sub; a root keeps its separator.
        size_t len = strlen(path);
        while (len > 3 && IsSeparator(path[len - 1]))
            path[--len] = '\0';
        out->Add(new CSFOPath(path), true);
        return true;
    }

    char dir[MAX_PATH];
    StrCopyN(dir, sizeof(dir), source, NamePos(source));
    WIN32_FIND_DATAA found;
    HANDLE find = FindFirstFileA(source, &found);
    if (find == INVALID_HANDLE_VALUE)
        return true;
    bool ok = true;
    do
    {
        if (strcmp(found.cFileName, ".") == 0 || strcmp(found.cFileName, "..") == 0)
            continue;
        if (filesOnly && (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
            continue;
        char path[MAX_PATH];
        if (!StrFormat(path, sizeof(path), "%s%s", dir, found.cFileName))
        {
            ok = false;
            break;
        }
        out->Add(new CSFOPath(path), true);
    } while (FindNextFileA(find, &found));
    FindClose(find);
    return ok;
}

// The first free name of the form "x (2).txt", "x (3).txt", ...; folders and
// names without an extension get "x (2)".
bool FreeName(const char* target, bool folder, PathList* taken, char* out, size_t size)
{
    const char* name = target + NamePos(target);
    const char* dot = folder ? NULL : strrchr(name, '.');
    if (dot == name)
        dot = NULL; // ".profile" is a name, not an extension
    int stemLength = dot ? (int)(dot - target) : (int)strlen(target);
    const char* ext = dot ? dot : "";
    for (int n = 2; n < 100000; n++)
    {
        if (!StrFormat(out, size, "%.*s (%d)%s", stemLength, target, n, ext))
            return false;
        if (!FileExists(out) && !ListHas(taken, out))
            return true;
    }
    return false;
}

// Pairs each path of group with its target under dest, renaming the targets
// that exist or were already handed out. The shell reads dest as a folder
// unless it is not an existing folder and there is one source: then it is
// the target file itself.
bool PlanTargets(PathList* group, const char* dest, bool rename, PathList* sources, PathList* dests,
                 bool* collided)
{
    bool destIsFolder = IsFolder(dest);
    unsigned count = group->GetSize();
    group->ResetCur();
    for (CSFOPath* s = group->GetCur(); s; s = group->GetNext())
    {
        const char* source = s->GetPath();
        char target[MAX_PATH];
        bool fits = !destIsFolder && count == 1
                        ? StrCopy(target, dest)
                        : JoinPath(target, sizeof(target), dest, source + NamePos(source));
        if (!fits)
            return false;
        if (rename && (FileExists(target) || ListHas(dests, target)))
        {
            char renamed[MAX_PATH];
            if (!FreeName(target, IsFolder(source), dests, renamed, sizeof(renamed)))
                return false;
            StrCopy(target, renamed);
            *collided = true;
        }
        sources->Add(new CSFOPath(source), true);
        dests->Add(new CSFOPath(target), true);
    }
    return true;
}
} // namespace

CShellFileOp::CShellFileOp()
{
    ZeroMemory(&m_op, sizeof(m_op));
}

CShellFileOp::~CShellFileOp()
{
    Reset();
}

int CShellFileOp::AddSource(const char* path)
{
    m_sources.Add(new CSFOPath(path), true);
    return (int)m_sources.GetSize();
}

int CShellFileOp::AddDest(const char* path)
{
    m_dests.Add(new CSFOPath(path), true);
    return (int)m_dests.GetSize();
}

void CShellFileOp::SetOperationFlags(UINT operation, HWND owner, FILEOP_FLAGS flags)
{
    m_op.wFunc = operation;
    m_op.hwnd = owner;
    m_op.fFlags = flags;
}

int CShellFileOp::GetSzzBuffer(char* buf, CPtrList<CSFOPath>* list)
{
    int size = 0;
    list->ResetCur();
    for (CSFOPath* p = list->GetCur(); p; p = list->GetNext())
    {
        int length = (int)strlen(p->GetPath()) + 1;
        if (buf)
            memcpy(buf + size, p->GetPath(), length);
        size += length;
    }
    if (buf)
        buf[size] = '\0';
    return size + 1;
}

// true when every wildcard source matches at least one file (or, without
// filesOnly, folder).
static bool AllMatch(PathList* sources, bool filesOnly)
{
    for (unsigned i = 0; i < sources->GetSize(); i++)
    {
        const char* source = sources->GetAt(i)->GetPath();
        PathList matched;
        if (HasWildcard(source) && (!Expand(source, filesOnly, &matched) || matched.GetSize() == 0))
            return false;
    }
    return true;
}

// Wine's shell ignores FOF_RENAMEONCOLLISION and overwrites, and cannot move
// several files to one destination. Here every source is paired with its
// target (colliding targets get a free name when renaming), so that the shell
// is given one explicit destination per source. 1 when such lists were made,
// 0 when the caller's lists can be used as they are, -1 when no safe name fits.
int CShellFileOp::ResolveCollisions(CPtrList<CSFOPath>* sources, CPtrList<CSFOPath>* dests, bool rename)
{
    bool multiDest = (m_op.fFlags & FOF_MULTIDESTFILES) != 0;
    bool filesOnly = (m_op.fFlags & FOF_FILESONLY) != 0;
    if (m_dests.GetSize() == 0 || (multiDest && m_dests.GetSize() != m_sources.GetSize()))
        return 0;
    if (multiDest && !rename)
        return 0;

    bool collided = false;
    if (!multiDest)
    {
        // With one destination, "one source" means one file in all.
        PathList all;
        m_sources.ResetCur();
        for (CSFOPath* s = m_sources.GetCur(); s; s = m_sources.GetNext())
        {
            if (!Expand(s->GetPath(), filesOnly, &all))
                return -1;
        }
        if (!rename && all.GetSize() < 2)
            return 0;
        m_dests.ResetCur();
        if (!PlanTargets(&all, m_dests.GetCur()->GetPath(), rename, sources, dests, &collided))
            return -1;
        return collided || !rename ? 1 : 0;
    }

    for (unsigned i = 0; i < m_sources.GetSize(); i++)
    {
        PathList group;
        if (!Expand(m_sources.GetAt(i)->GetPath(), filesOnly, &group) ||
            !PlanTargets(&group, m_dests.GetAt(i)->GetPath(), true, sources, dests, &collided))
            return -1;
    }
    return collided ? 1 : 0;
}

int CShellFileOp::Go()
{
    // A cut path names another file than the one meant.
    if (AnyCut(&m_sources) || AnyCut(&m_dests))
        return 0;

    // A wildcard that matches nothing leaves nothing to do, which the shell
    // answers as a success: that is the action's failure.
    if (!AllMatch(&m_sources, (m_op.fFlags & FOF_FILESONLY) != 0))
        return 0;

    bool isDelete = m_op.wFunc == FO_DELETE;
    PathList* sources = &m_sources;
    PathList* dests = &m_dests;
    PathList renamedSources;
    PathList renamedDests;
    FILEOP_FLAGS flags = m_op.fFlags;
    bool renaming = !isDelete && (flags & FOF_RENAMEONCOLLISION);
    bool pairing = m_op.wFunc == FO_MOVE && !(flags & FOF_MULTIDESTFILES);
    if (renaming || pairing)
    {
        // Targets are named here, so a destination must name a folder or a
        // file; otherwise where the files went would depend on how many
        // matched.
        if (AnyBare(&m_dests))
            return 0;
        int resolved = ResolveCollisions(&renamedSources, &renamedDests, renaming);
        if (resolved < 0)
            return 0;
        if (resolved > 0)
        {
            sources = &renamedSources;
            dests = &renamedDests;
            flags |= FOF_MULTIDESTFILES;
        }
    }

    char* from = (char*)malloc(GetSzzBuffer(NULL, sources));
    char* to = isDelete ? NULL : (char*)malloc(GetSzzBuffer(NULL, dests));
    if (!from || (!isDelete && !to))
    {
        free(from);
        free(to);
        return 0;
    }
    GetSzzBuffer(from, sources);
    if (to)
        GetSzzBuffer(to, dests);

    FILEOP_FLAGS callerFlags = m_op.fFlags;
    m_op.pFrom = from;
    m_op.pTo = to;
    m_op.fFlags = flags;
    int rc = g_ShellFileOperation(&m_op);
    m_op.fFlags = callerFlags;
    m_op.pFrom = NULL;
    m_op.pTo = NULL;
    free(from);
    free(to);
    return rc == 0 ? 1 : 0;
}

void CShellFileOp::Reset()
{
    m_sources.Clear();
    m_dests.Clear();
    if (m_op.hNameMappings)
        SHFreeNameMappings(m_op.hNameMappings);
    ZeroMemory(&m_op, sizeof(m_op));
}

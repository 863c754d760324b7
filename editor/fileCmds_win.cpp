// File commands of the editor: New, Open, Save, Save As, the save question,
// reloading a file changed by another program, and Test.
#include <windows.h>
#include <commdlg.h>
#include <string.h>

#include <string>

#include "editor.h"
#include "editmain.h"
#include "wizardDlg.h"
#include "LaunchCheck.h"
#include "firstrun.h"
#include "dirutils_win.h"
#include "filedlg.h"
#include "strutils.h"

static const char kFilter[] = "Launch Files (*.launch)\0*.launch\0All Files (*.*)\0*.*\0";

// The user's files folder without its trailing backslash ("" when unknown).
static void FilesFolder(char* folder)
{
    if (!GetMyTarvinFilesFolder(folder, ""))
        folder[0] = '\0';
    size_t len = strlen(folder);
    if (len > 0 && folder[len - 1] == '\\')
        folder[len - 1] = '\0';
}

static bool LastWriteTime(const char* path, FILETIME* time)
{
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (!GetFileAttributesExA(path, GetFileExInfoStandard, &data))
        return false;
    *time = data.ftLastWriteTime;
    return true;
}

static void RememberWriteTime(EditorState* st)
{
    if (!LastWriteTime(st->path, &st->lastWrite))
        st->lastWrite = FILETIME{0, 0};
}

static void ShowFile(EditorState* st)
{
    st->fileOpen = true;
    BuildList(st);
    ClearUndo(st);
    st->showToolbar = true;
    LayoutWindow(st);
    UpdateUI(st);
}

bool ConfirmSave(EditorState* st, bool offerMenu)
{
    if (!IsModified(st))
        return true;
    CModalScope scope(st);
    int answer = MessageBoxA(st->hwnd, "Do you want to save changes before closing this launch file?",
                             "Confirm", MB_YESNOCANCEL | MB_ICONQUESTION);
    if (answer == IDCANCEL)
        return false;
    return answer == IDNO || OnSave(st, offerMenu);
}

bool OnNew(EditorState* st)
{
    if (!ConfirmSave(st))
        return false;
    st->path[0] = '\0';
    st->newFile = true;
    st->file.Clear();
    ShowFile(st);
    return true;
}

bool OpenFile(EditorState* st, const char* path, bool quiet)
{
    if (st->hList)
        ListView_DeleteAllItems(st->hList);
    if (!st->file.Load(path))
    {
        // A file that could only be read in part is not edited: saving it
        // would drop what could not be read.
        int error = st->file.GetLastError();
        st->file.Clear();
        st->path[0] = '\0';
        st->fileOpen = false;
        ClearUndo(st);
        if (!quiet)
        {
            char text[160];
            StrFormat(text, sizeof(text),
                      "An error has occured while reading the launch file.\nThe reported error code is %d.",
                      error);
            MessageBoxA(st->hwnd, text, "Error Reading Launch File", MB_OK | MB_ICONERROR);
        }
        UpdateUI(st);
        return false;
    }
    StrCopy(st->path, path);
    RememberWriteTime(st);
    st->newFile = false;
    ShowFile(st);
    AddRecentFile(st, path);
    return true;
}

bool OnOpen(EditorState* st)
{
    if (!ConfirmSave(st))
        return false;
    char folder[MAX_PATH], path[MAX_PATH] = "";
    FilesFolder(folder);
    FileDialogOptions options = {"Select a launch file", kFilter, folder[0] ? folder : nullptr, "launch",
                                 OFN_FILEMUSTEXIST | OFN_HIDEREADONLY};
    {
        CModalScope scope(st);
        if (!AskOpenFileName(st->hwnd, options, path, sizeof(path)))
            return false;
    }
    return OpenFile(st, path, false);
}

// --- Test ------------------------------------------------------------------------

struct TestFindings
{
    std::string text;
    int count = 0;
    const int* rows = nullptr; // the list's row of each checked line (null: the same)
    int rowCount = 0;
    bool errorsOnly = false;
};

static bool TargetExists(const char* path, void*)
{
    WIN32_FIND_DATAA data;
    HANDLE find = FindFirstFileA(path, &data);
    if (find != INVALID_HANDLE_VALUE)
    {
        FindClose(find);
        return true;
    }
    return FileExists(path) != 0;
}

static void OnFinding(int line, bool error, const char* message, void* ctx)
{
    TestFindings* findings = static_cast<TestFindings*>(ctx);
    if (findings->errorsOnly && !error)
        return;
    // A box cannot show more than a screenful; the rest is counted.
    if (++findings->count > 12)
        return;
    if (findings->rows && line >= 1 && line <= findings->rowCount)
        line = findings->rows[line - 1] + 1;
    char head[48];
    StrFormat(head, sizeof(head), "Line %d: %s", line, error ? "error: " : "warning: ");
    findings->text += std::string(head) + message + "\n";
}

// A file with errors is saved only when the user says so: the lines are
// checked as they stand in the editor (targets are not looked for).
static bool ConfirmSaveErrors(EditorState* st)
{
    TestFindings findings;
    findings.errorsOnly = true;
    LaunchCheckHooks hooks = {nullptr, OnFinding, &findings};
    int count = st->file.GetCount();
    for (int i = 0; i < count; i++)
    {
        char line[LAUNCH_LINE_SIZE];
        StrCopy(line, st->file.GetAction(i)->GetString());
        TrimStr(line);
        if (line[0])
            CheckLaunchLine(line, i + 1, hooks);
    }
    if (findings.count == 0)
        return true;
    std::string text = "The launch file has errors:\n\n" + findings.text;
    if (findings.count > 12)
        text += "...\n";
    text += "\nDo you want to save it anyway?";
    CModalScope scope(st);
    return MessageBoxA(st->hwnd, text.c_str(), "Save", MB_YESNO | MB_ICONWARNING) == IDYES;
}

// Writes the model to path. A failure is reported and changes nothing: the
// document keeps its path, its rows and its undo history.
static bool SaveTo(EditorState* st, const char* path)
{
    if (!ConfirmSaveErrors(st))
        return false;
    // A read-only file is never replaced, even where the file system would
    // let the safe save's rename through.
    DWORD attributes = GetFileAttributesA(path);
    bool readOnly = attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY);
    int result = readOnly ? 2 : st->file.Save(path);
    if (result != 0)
    {
        char text[160];
        StrFormat(text, sizeof(text),
                  "An error occured while saving the launch file.\n\nThe reported error code was %d", result);
        MessageBoxA(st->hwnd, text, "Tarvin Editor", MB_OK | MB_ICONWARNING);
        return false;
    }
    StrCopy(st->path, path);
    RememberWriteTime(st);
    ClearUndo(st);
    AddRecentFile(st, path);
    return true;
}

static void AfterFirstSave(EditorState* st, bool offerMenu)
{
    bool offer = st->newFile && offerMenu && st->addShortcuts;
    st->newFile = false;
    UpdateUI(st);
    CModalScope scope(st);
    if (offer)
        ShowAddToMenuDialog(st->hwnd, g_hInst, st->path, true);
}

bool OnSave(EditorState* st, bool offerMenu)
{
    if (!st->fileOpen)
        return false;
    if (!st->path[0])
        return OnSaveAs(st, offerMenu);
    char path[MAX_PATH];
    StrCopy(path, st->path);
    if (!SaveTo(st, path))
        return false;
    AfterFirstSave(st, offerMenu);
    return true;
}

bool OnSaveAs(EditorState* st, bool offerMenu)
{
    if (!st->fileOpen)
        return false;
    char folder[MAX_PATH], path[MAX_PATH];
    FilesFolder(folder);
    if (st->path[0])
        StrCopy(path, st->path);
    else
    {
        StrCopy(path, "New Launch File");
        GetFileNameNumber(folder, path, sizeof(path), ".launch");
    }
    FileDialogOptions options = {"Save Launch File As", kFilter, folder[0] ? folder : nullptr, "launch",
                                 OFN_HIDEREADONLY};
    CModalScope scope(st);
    if (!AskSaveFileName(st->hwnd, options, path, sizeof(path)))
        return false;
    if (FileExists(path))
    {
        char text[MAX_PATH + 80];
        StrFormat(text, sizeof(text), "The file %s already exists.\n\nDo you want to overwrite this file?",
                  path);
        if (MessageBoxA(st->hwnd, text, "Confirm", MB_YESNO | MB_ICONQUESTION) != IDYES)
            return false;
    }
    if (!SaveTo(st, path))
        return false;
    AfterFirstSave(st, offerMenu);
    return true;
}

// The window became active: a file changed on disk by another program is
// offered for reloading. No keeps the editor's version and asks again at the
// next activation while the times differ.
void OnCheckFile(EditorState* st)
{
    if (st->askingReload || !st->fileOpen || !st->path[0])
        return;
    if (st->modalDepth > 0)
    {
        st->checkPending = true;
        return;
    }
    FILETIME now;
    if (!LastWriteTime(st->path, &now) || CompareFileTime(&now, &st->lastWrite) == 0)
        return;
    CModalScope scope(st);
    st->askingReload = true;
    int answer = MessageBoxA(
        st->hwnd, "The launch file has been modified outside of the editor.\n\nWould you like to reload it?",
        "Reload?", MB_YESNO | MB_ICONQUESTION);
    st->askingReload = false;
    if (answer != IDYES)
        return;
    char path[MAX_PATH];
    StrCopy(path, st->path);
    OpenFile(st, path, false);
}

// The interpreter always runs the file as it is on disk, so unsaved changes
// are offered a save first; declining runs the version last saved. The file
// is checked before it runs, and any finding is shown with the choice to stop.
void OnTest(EditorState* st)
{
    if (!st->fileOpen)
        return;
    CModalScope scope(st);
    if (!st->path[0])
    {
        if (MessageBoxA(
                st->hwnd,
                "You must save the launch file before you can test it.\n\nWould you like to save the launch "
                "file now?",
                "Save?", MB_YESNO | MB_ICONQUESTION) != IDYES ||
            !OnSave(st, true))
            return;
    }
    else if (IsModified(st))
    {
        if (MessageBoxA(
                st->hwnd,
                "The latest changes have not yet been saved.\n\nWould you like to save the launch file now?",
                "Save?", MB_YESNO | MB_ICONQUESTION) == IDYES &&
            !OnSave(st, true))
            return;
    }

    if (!CheckBeforeRun(st, st->path, nullptr, 0))
        return;
    char params[MAX_PATH + 16];
    StrFormat(params, sizeof(params), "-file=\"%s\"", st->path);
    if (LaunchFromMyDir("tvint.exe", params, nullptr, SW_SHOWNORMAL) <= 32)
        MessageBoxA(st->hwnd, "The Tarvin interpreter (tvint.exe) could not be started.", "Test",
                    MB_OK | MB_ICONERROR);
}

bool CheckBeforeRun(EditorState* st, const char* path, const int* rows, int n)
{
    TestFindings findings;
    findings.rows = rows;
    findings.rowCount = n;
    LaunchCheckHooks hooks = {TargetExists, OnFinding, &findings};
    int worst = CheckLaunchFile(path, hooks);
    if (worst == LCHECK_CLEAN)
        return true;
    std::string text = rows ? "The selected lines were checked before running them:\n\n"
                            : "The launch file was checked before running it:\n\n";
    text += findings.text;
    if (findings.count > 12)
        text += "...\n";
    text += "\nWould you like to run it anyway?";
    CModalScope scope(st);
    return MessageBoxA(st->hwnd, text.c_str(), rows ? "Run Selected Lines" : "Test",
                       MB_YESNO | (worst == LCHECK_ERRORS ? MB_ICONERROR : MB_ICONWARNING)) == IDYES;
}

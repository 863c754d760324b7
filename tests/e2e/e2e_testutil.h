// Helpers of the end-to-end tests: the suite's programs beside the test,
// quoting, files that appear, message boxes and dialogs of another process,
// the clipboard, and one running program with its main window.
#pragma once

#include <windows.h>
#include <future>
#include <memory>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "support/tvdriver/driver.h"
#include "support/tvtarget/tvtarget.h"
#include "testutil.h"

namespace e2etest
{
const DWORD kTimeout = 15000;

inline std::string Program(const char* name)
{
    char path[MAX_PATH] = "";
    EXPECT_TRUE(DrvProgramPath(name, path, sizeof(path)));
    return path;
}

inline std::string Quote(const std::string& s)
{
    return "\"" + s + "\"";
}

inline bool Exists(const std::string& path)
{
    return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

// The default value of a key under HKEY_CLASSES_ROOT ("<missing>" if none).
inline std::string ClassesDefault(const char* key)
{
    char value[MAX_PATH * 2] = "";
    LONG size = sizeof(value);
    return RegQueryValueA(HKEY_CLASSES_ROOT, key, value, &size) == ERROR_SUCCESS ? value : "<missing>";
}

inline bool WaitFile(const std::string& path, DWORD timeoutMs = kTimeout)
{
    return DrvWaitFor([&]() { return Exists(path); }, timeoutMs) == TVD_OK;
}

// A window's text, read across processes.
inline std::string TextOf(HWND hwnd)
{
    char text[2048] = "";
    DrvGetText(hwnd, text, sizeof(text));
    return text;
}

// The text of a dialog's control ("(no control)" when there is none).
inline std::string ChildText(HWND dialog, int id)
{
    HWND child = DrvFindChildById(dialog, id);
    return child ? TextOf(child) : "(no control)";
}

// A control of the dialog once it is shown and the dialog has finished the
// message that made it (pages are made hidden and shown last).
inline HWND Control(HWND dialog, int id)
{
    HWND found = NULL;
    DrvWaitFor(
        [&]() {
            return (found = DrvFindChildById(dialog, id)) != NULL && IsWindowVisible(found) &&
                   DrvIsReady(dialog);
        },
        kTimeout);
    EXPECT_TRUE(found != NULL) << "control " << id;
    return found;
}

// Waits for a message box of that process (any caption when null; never the
// window `over`, a dialog that may have the same caption), presses the
// button (none: 0) and returns the box's text ("<no box>" when none came).
inline std::string AnswerBox(DWORD pid, const char* caption, int button, HWND over = NULL)
{
    HWND box = NULL;
    DrvWindowQuery query = DrvQuery("#32770", caption, TVD_MATCH_EXACT, pid);
    DrvWaitFor(
        [&]() {
            HWND found[8];
            int n = DrvFindWindows(query, found, 8);
            for (int i = 0; i < n && i < 8 && !box; i++)
                if (found[i] != over && IsWindowVisible(found[i]) && DrvIsReady(found[i]))
                    box = found[i];
            return box != NULL;
        },
        kTimeout);
    EXPECT_TRUE(box != NULL) << "no box " << (caption ? caption : "");
    if (!box)
        return "<no box>";
    char text[2048] = "";
    DrvMessageBoxText(box, text, sizeof(text));
    EXPECT_TRUE(!button || DrvPressButton(box, button));
    EXPECT_EQ(TVD_OK, DrvWaitDestroyed(box, kTimeout));
    return text;
}

// Types the path into a common file dialog's name field (an edit inside a
// combo box inside a ComboBoxEx, all with one id; edt1 in the old dialog)
// and presses the button with that caption: the dialog's file list shares
// the id of OK.
inline bool FileDialogTake(HWND dialog, const std::string& path, const char* button)
{
    HWND name = NULL;
    DrvWaitFor(
        [&]() {
            HWND edit = DrvFindChild(dialog, "Edit", NULL);
            name = edit && GetDlgCtrlID(edit) == 0x47c ? edit : DrvFindChildById(dialog, 0x480);
            return name != NULL;
        },
        kTimeout);
    return name && DrvSetText(name, path.c_str()) && DrvClickButtonText(dialog, button);
}

// The clipboard's data in a format ("(none)" when there is none), and the
// clipboard emptied and given that data.
inline bool PutClipboard(UINT format, const std::string& text)
{
    if (!OpenClipboard(NULL))
        return false;
    EmptyClipboard();
    HGLOBAL mem = GlobalAlloc(GMEM_MOVEABLE, text.size() + 1);
    bool put = false;
    if (char* data = mem ? (char*)GlobalLock(mem) : NULL)
    {
        memcpy(data, text.c_str(), text.size() + 1);
        GlobalUnlock(mem);
        put = SetClipboardData(format, mem) != NULL;
    }
    if (mem && !put)
        GlobalFree(mem);
    CloseClipboard();
    return put;
}

inline std::string GetClipboard(UINT format)
{
    if (!OpenClipboard(NULL))
        return "(not opened)";
    std::string text = "(none)";
    HANDLE mem = GetClipboardData(format);
    if (const char* data = mem ? (const char*)GlobalLock(mem) : NULL)
    {
        text = data;
        GlobalUnlock(mem);
    }
    CloseClipboard();
    return text;
}

// WM_QUERYENDSESSION sent to the window as a log-off sends it, from a thread
// of its own so that the caller can answer the question it may ask. The
// window's answer (TRUE or FALSE), or -1 when it gave none in time.
inline std::future<LRESULT> QueryEndSession(HWND hwnd)
{
    return std::async(std::launch::async, [hwnd]() {
        DWORD_PTR result = 0;
        if (!SendMessageTimeoutA(hwnd, WM_QUERYENDSESSION, 0, ENDSESSION_LOGOFF, SMTO_NORMAL, 2 * kTimeout,
                                 &result))
            return (LRESULT)-1;
        return (LRESULT)result;
    });
}

// One running program of the suite and its main window; killed with the
// object unless it has ended.
class CProgramWindow
{
  public:
    // Starts the program beside the test and waits for its main window.
    bool Start(const char* exe, const std::string& args, const char* mainClass)
    {
        m_proc.reset(new CDrvProcess);
        return m_proc->Start(Program(exe).c_str(), args.c_str()) &&
               DrvWaitWindow(DrvQuery(mainClass, NULL, TVD_MATCH_EXACT, m_proc->Pid()), kTimeout, &m_main) ==
                   TVD_OK;
    }
    HWND Main() const
    {
        return m_main;
    }
    DWORD Pid() const
    {
        return m_proc ? m_proc->Pid() : 0;
    }
    bool Ready() const
    {
        return DrvIsReady(m_main, kTimeout);
    }
    std::string Title() const
    {
        return TextOf(m_main);
    }
    bool WaitTitle(const std::string& title) const
    {
        return DrvWaitFor([&]() { return Title() == title; }, kTimeout) == TVD_OK;
    }
    // The first part of the status bar with that id.
    std::string Status(int id) const
    {
        char buf[MAX_PATH + 32] = "";
        DrvStatusText(DrvFindChildById(m_main, id), 0, buf, sizeof(buf));
        return buf;
    }
    // A command that may open a box or a dialog.
    bool Post(int id) const
    {
        return DrvPostCommand(m_main, id);
    }
    // A command that shows nothing modal: done when this returns.
    bool Do(int id) const
    {
        DWORD_PTR result = 0;
        return SendMessageTimeoutA(m_main, WM_COMMAND, (WPARAM)id, 0, SMTO_ABORTIFHUNG, kTimeout, &result) !=
               0;
    }
    // A dialog of this program with that caption, once it is ready.
    HWND Dialog(const char* caption) const
    {
        HWND dlg = NULL;
        EXPECT_EQ(TVD_OK, DrvWaitWindow(DrvQuery("#32770", caption, TVD_MATCH_EXACT, Pid()), kTimeout, &dlg))
            << caption;
        return dlg;
    }
    std::string Answer(const char* caption, int button, HWND over = NULL) const
    {
        return AnswerBox(Pid(), caption, button, over);
    }

  protected:
    std::unique_ptr<CDrvProcess> m_proc;
    HWND m_main = NULL;
};

// A menu file: header, root (with a side bar when it has a text), the given
// entry lines, end of root.
inline void WriteMenu(const std::string& path, const std::vector<std::string>& entries,
                      const char* sidebar = nullptr)
{
    std::string text = "<?TarvinMenu version=\"1.00\"?>\r\n";
    text += std::string("<menu text=\"") + (sidebar ? sidebar : "Tarvin Test") +
            "\" iconpath=\"\" iconnumber=\"0\" sidebar=\"" + (sidebar ? "true" : "false") + "\">\r\n";
    for (const std::string& line : entries)
        text += line + "\r\n";
    WriteBytes(path, text + "</menu>\r\n");
}

inline std::string MenuItem(const std::string& text, const std::string& target, const std::string& cmdline,
                            const std::string& workdir = "")
{
    return "<menuitem text=\"" + text + "\" target=\"" + target + "\" cmdline=\"" + cmdline +
           "\" workdir=\"" + workdir + "\" windowstate=\"1\" iconpath=\"\" iconnumber=\"0\" />";
}

// Starts tvtarget.exe with those arguments and waits until its window with
// that title is shown (or, with "-hidden", made) and ready.
inline void StartTarget(CDrvProcess& process, const std::string& args, const char* title)
{
    ASSERT_TRUE(process.Start(Program("tvtarget.exe").c_str(), args.c_str())) << GetLastError();
    DrvWindowQuery wanted = DrvQuery(TARGET_CLASS, title, TVD_MATCH_EXACT, process.Pid());
    wanted.includeHidden = args.find("-hidden") != std::string::npos;
    ASSERT_EQ(TVD_OK, DrvWaitWindow(wanted, kTimeout, NULL)) << title;
}
} // namespace e2etest

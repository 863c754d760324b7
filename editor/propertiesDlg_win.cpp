// The action properties dialog: a frame with one tab, "General", over the
// page that fits the action. The page shows the line's values; OK has it
// build the whole line again through BuildLaunchLine, and a line the writer
// refuses keeps the dialog open instead of reaching the file damaged.
#include <windows.h>
#include <windowsx.h>
#include <commctrl.h>
#include <commdlg.h>
#include <shlobj.h>
#include <new>
#include <initializer_list>
#include <string>

#include "propertiesDlg.h"
#include "winstate.h"
#include "propertiesDlg_res.h"
#include "edit_res.h"
#include "selDlg.h"
#include "LaunchFile.h"
#include "LaunchLine.h"
#include "browseAppsDlg.h"
#include "dirutils.h"
#include "filedlg.h"
#include "strutils.h"
#include "thmutils.h"
#include "winholders.h"
#include "winutils.h"

namespace
{

const int kPathLimit = MAX_PATH - 1;         // a path, parameters or a name
const int kTextLimit = 780;                  // a comment's or a message's text
const int kLineLimit = LAUNCH_LINE_SIZE - 1; // an unknown line
const int kWaitMax = 9999;

struct FrameState
{
    CLaunchAction* action;
    HINSTANCE instance;
    bool insertMode;
    int windowState;
    CAppList* apps;
    HWND hTab;
    HWND hPage;
};

// The choices of page 1100's list and the option word each writes.
struct OptionSet
{
    const char* label;
    const char* texts[5];
    const char* words[5];
    int count;
    // The choice that means what the readers do with any other word, so that
    // opening a line and pressing OK never changes what it does.
    int otherWords;
};

const OptionSet kWindowStates = {
    "Window State:", {"Normal Window", "Minimized", "Maximized"}, {"Normal", "Minimized", "Maximized"}, 3, 0};
const OptionSet kCopyOptions = {"Overwrite:",
                                {"Always overwrite", "Do not overwrite", "Confirm overwrite"},
                                {"Overwrite", "NoOverwrite", "AskOverwrite"},
                                3,
                                2};
const OptionSet kDeleteOptions = {
    "Delete:", {"Do not confirm", "Confirm delete"}, {"Delete", "AskDelete"}, 2, 1};
const OptionSet kMoveOptions = {
    "Overwrite:",
    {"Confirm move and overwrite", "Confirm move", "Confirm overwrite", "Do not overwrite", "Do not confirm"},
    {"AskMoveOverwrite", "AskMove", "AskOverwrite", "NoOverwrite", "AskNone"},
    5,
    2};

struct PageState
{
    FrameState* frame;
    int code;
    int page;
    const OptionSet* options; // page 1100
    int waitValue;            // page 1240: the line's own time
    CGdiObject<HFONT> nameFont;
    // What the page's controls showed at first: OK while they still show
    // it keeps the action's text as it was written.
    std::string untouched;
};

int PageFor(int code)
{
    switch (code)
    {
        case LA_LAUNCH:
        case LA_OPEN:
        case LA_PRINT:
        case LA_COPY:
        case LA_DELETE:
        case LA_MOVE:
            return IDD_PAGE_FILE;
        case LA_KILL:
        case LA_CLOSE:
        case LA_DESTROY:
        case LA_HIDE:
        case LA_SHOW:
            return IDD_PAGE_NAME;
        case LA_SHOWALL:
        case LA_SCREENSAVER:
        case LA_SHUTDOWN:
        case LA_RESTART:
        case LA_EXIT:
            return IDD_PAGE_NONE;
        case LA_WAIT:
            return IDD_PAGE_TIME;
        default:
            return IDD_PAGE_TEXT;
    }
}

// Indexed by action code + 1 (the unknown action is -1).
const char* const kHelpTexts[] = {
    "This action is unknown. The full text for this action is displayed.",
    "The \"Comment\" action has no effect and is merely for you to provide a comment within your launch "
    "file.",
    "The \"Launch\" action will run an application.",
    "The \"Kill\" action will terminate the application with the name, partial name or full path of the "
    "executable. WARNING: This action forces the application to end. If not all data the application is "
    "working with is saved, data can be lost. Use with care.",
    "The \"Open\" action will open a file with the associated application. You can also open web pages by "
    "entering the address of the website in the \"Open\" field.",
    "The \"Print\" action will print a file with the associated application.",
    "The \"Copy\" action will copy the \"Source\" file(s) or folder to the \"Destination\" file or folder.",
    "The \"Delete\" action will delete the target file(s) or folder.",
    "The \"Move\" action will move the \"Source\" file(s) or folder to the \"Destination\" file or folder.",
    "The \"Close\" action will close the window with the title or partial title given by name. Using this "
    "action will cause the window to undergo normal closing actions, such as asking to save changes, "
    "before closing.",
    "The \"Destroy\" action will terminate the application whose window has the title or partial title "
    "given by name. WARNING: This action forces the application to end. If not all data the application is "
    "working with is saved, data can be lost. Use with care.",
    "The \"Hide\" action will hide the window with the title or partial title given by name. The hidden "
    "window is added to the Hidden Window List of the Tarvin Agent. If the Tarvin Agent is not running, it "
    "will be started and the window will be hidden.",
    "The \"Show\" action will show the hidden window with the title or partial title given by name. The "
    "window is removed from the Hidden Window List of the Tarvin Agent. If the Tarvin Agent is not "
    "running, no window will be shown.",
    "The \"ShowAll\" action will cause all hidden windows to be shown and removed from the Hidden Window "
    "List of the Tarvin Agent.",
    "The \"Screensaver\" action will start your default screen saver.",
    "The \"Wait\" action will cause the Launch file to sleep for the specified amount of time. The time "
    "can be in the range of 0 to 9999 milliseconds",
    "The \"Shutdown\" action will shut down your computer.",
    "The \"Restart\" action will restart your computer.",
    "The \"Exit\" action exit the Tarvin Agent, if it is running.",
    "The \"Message\" action cause the Tarvin Agent to display the message. If the Tarvin Agent is not "
    "running, it will be started and the message will be displayed.",
};

// The editor's action icons; indexed like the help texts.
const int kActionIcons[] = {IDI_ACT_COMMENT,  IDI_ACT_COMMENT, IDI_ACT_LAUNCH,      IDI_ACT_KILL,
                            IDI_ACT_OPEN,     IDI_ACT_PRINT,   IDI_ACT_COPY,        IDI_ACT_DELETE,
                            IDI_ACT_MOVE,     IDI_ACT_CLOSE,   IDI_ACT_DESTROY,     IDI_ACT_HIDE,
                            IDI_ACT_SHOW,     IDI_ACT_SHOWALL, IDI_ACT_SCREENSAVER, IDI_ACT_WAIT,
                            IDI_ACT_SHUTDOWN, IDI_ACT_RESTART, IDI_ACT_EXIT,        IDI_ACT_MESSAGE};

int CodeIndex(int code)
{
    return code >= LA_UNKNOWN && code <= LA_MESSAGE ? code + 1 : 0;
}

// A launch line is one line: every line break a field holds becomes one
// space (a CR LF pair too).
void JoinLines(char* text)
{
    char* out = text;
    for (const char* in = text; *in; in++)
    {
        if (*in == '\r' || *in == '\n')
        {
            if (*in == '\r' && in[1] == '\n')
                in++;
            *out++ = ' ';
        }
        else
            *out++ = *in;
    }
    *out = '\0';
}

void ReadField(HWND page, int id, char* buf, size_t size)
{
    buf[0] = '\0';
    GetDlgItemTextA(page, id, buf, (int)size);
    JoinLines(buf);
}

// A field of blanks alone counts as empty: it would write an empty value.
bool FieldHasText(HWND page, int id)
{
    char text[LAUNCH_LINE_SIZE] = "";
    ReadField(page, id, text, sizeof(text));
    for (const char* p = text; *p; p++)
        if (*p != ' ' && *p != '\t')
            return true;
    return false;
}

// --- Wait time -----------------------------------------------------------------

// The time a field shows once it is left: a number is kept within 1 to 9999,
// anything else gives back the line's own time (within the same range).
int WaitTimeOf(const char* text, int lineValue)
{
    char buf[32];
    StrCopy(buf, text);
    TrimStr(buf);
    const char* digits = buf[0] == '-' || buf[0] == '+' ? buf + 1 : buf;
    bool number = digits[0] != '\0';
    for (const char* p = digits; *p; p++)
        number = number && *p >= '0' && *p <= '9';
    int value = !number ? lineValue : buf[0] == '-' ? 0 : StrToInt(digits);
    if (value > kWaitMax)
        return kWaitMax;
    return value < 1 ? 1 : value;
}

// Leaving the field: it and the up-down control show the time to be written.
int TimePage_FixField(HWND page)
{
    PageState* ps = DialogState<PageState>(page);
    char text[32] = "";
    GetDlgItemTextA(page, IDC_PAGE_FIELD, text, sizeof(text));
    int value = WaitTimeOf(text, ps->waitValue);
    SendDlgItemMessageA(page, IDC_PAGE_SPIN, UDM_SETPOS32, 0, value);
    SetDlgItemInt(page, IDC_PAGE_FIELD, (UINT)value, FALSE);
    return value;
}

// --- OK rule -------------------------------------------------------------------

void PropDlg_General_OnEnableOK(HWND page)
{
    PageState* ps = DialogState<PageState>(page);
    if (!ps)
        return;
    bool ok = true;
    if (ps->page != IDD_PAGE_NONE)
        ok = FieldHasText(page, IDC_PAGE_FIELD);
    if (ps->code == LA_COPY || ps->code == LA_MOVE)
        ok = ok && FieldHasText(page, IDC_PAGE_FIELD2);
    EnableWindow(GetDlgItem(GetParent(page), IDOK), ok);
}

// --- Page 1100: file actions ---------------------------------------------------

const OptionSet* OptionsFor(int code)
{
    switch (code)
    {
        case LA_COPY:
            return &kCopyOptions;
        case LA_DELETE:
            return &kDeleteOptions;
        case LA_MOVE:
            return &kMoveOptions;
        default:
            return &kWindowStates;
    }
}

// The choice a line's option word stands for: the word itself, else what
// the readers make of any other word. A new action starts at the first.
int OptionChoice(const PageState* ps, const CLaunchAction* action, int param)
{
    if (ps->options == &kWindowStates)
    {
        if (ps->frame->insertMode)
            return ps->frame->windowState >= 1 && ps->frame->windowState <= 3 ? ps->frame->windowState - 1
                                                                              : 0;
        char word[LAUNCH_LINE_SIZE];
        action->GetParam(param, word, sizeof(word));
        return WindowStateFromWord(word) - 1;
    }
    if (ps->frame->insertMode)
        return 0;
    char word[LAUNCH_LINE_SIZE];
    action->GetParam(param, word, sizeof(word));
    for (int i = 0; i < ps->options->count; i++)
        if (StrCompareNoCase(word, ps->options->words[i]) == 0)
            return i;
    return ps->options->otherWords;
}

// Puts a control at a row of the page (in dialog units), where a hidden
// row left room.
void MoveToRow(HWND page, int id, int top)
{
    HWND control = GetDlgItem(page, id);
    RECT row = {0, top, 0, 0};
    MapDialogRect(page, &row);
    RECT rc;
    GetWindowRect(control, &rc);
    MapWindowPoints(nullptr, page, (POINT*)&rc, 2);
    SetWindowPos(control, nullptr, rc.left, row.top, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
}

void FilePage_Init(HWND page, PageState* ps, const CLaunchAction* action)
{
    int code = ps->code;
    bool launch = code == LA_LAUNCH || code == LA_OPEN || code == LA_PRINT;
    const char* label = code == LA_LAUNCH   ? "Run:"
                        : code == LA_OPEN   ? "Open:"
                        : code == LA_PRINT  ? "Print:"
                        : code == LA_DELETE ? "File(s):"
                                            : "Source:";
    SetDlgItemTextA(page, IDC_PAGE_LABEL, label);
    if (code == LA_COPY || code == LA_MOVE)
        SetDlgItemTextA(page, IDC_PAGE_LABEL2, "Destination:");
    const int fields[] = {IDC_PAGE_FIELD, IDC_PAGE_FIELD2, IDC_PAGE_PARAMS};
    int shown = launch ? 3 : code == LA_DELETE ? 1 : 2;
    for (int i = 0; i < 3; i++)
    {
        SendDlgItemMessageA(page, fields[i], EM_LIMITTEXT, kPathLimit, 0);
        char value[LAUNCH_LINE_SIZE] = "";
        if (i < shown)
            action->GetParam(i + 1, value, sizeof(value));
        SetDlgItemTextA(page, fields[i], value);
    }
    // Delete has no second field; Copy, Move and Delete no parameters. The
    // list moves up into the first free row.
    if (!launch)
    {
        ShowWindow(GetDlgItem(page, IDC_PAGE_PARAMSLABEL), SW_HIDE);
        ShowWindow(GetDlgItem(page, IDC_PAGE_PARAMS), SW_HIDE);
        int labelTop = 98, listTop = 96;
        if (code == LA_DELETE)
        {
            for (int id : {IDC_PAGE_LABEL2, IDC_PAGE_FIELD2, IDC_PAGE_BROWSE2})
                ShowWindow(GetDlgItem(page, id), SW_HIDE);
            labelTop = 70;
            listTop = 68;
        }
        MoveToRow(page, IDC_PAGE_OPTIONSLABEL, labelTop);
        MoveToRow(page, IDC_PAGE_OPTIONS, listTop);
    }
    ps->options = OptionsFor(code);
    SetDlgItemTextA(page, IDC_PAGE_OPTIONSLABEL, ps->options->label);
    HWND list = GetDlgItem(page, IDC_PAGE_OPTIONS);
    for (int i = 0; i < ps->options->count; i++)
        ComboBox_AddString(list, ps->options->texts[i]);
    ComboBox_SetCurSel(list, OptionChoice(ps, action, shown + 1));
}

int FilePage_Values(HWND page, const PageState* ps, char (*buf)[LAUNCH_LINE_SIZE], const char** values)
{
    int code = ps->code;
    int fieldCount = code == LA_DELETE ? 1 : (code == LA_COPY || code == LA_MOVE) ? 2 : 3;
    const int fields[] = {IDC_PAGE_FIELD, IDC_PAGE_FIELD2, IDC_PAGE_PARAMS};
    for (int i = 0; i < fieldCount; i++)
    {
        ReadField(page, fields[i], buf[i], LAUNCH_LINE_SIZE);
        values[i] = buf[i];
    }
    int choice = ComboBox_GetCurSel(GetDlgItem(page, IDC_PAGE_OPTIONS));
    values[fieldCount] = ps->options->words[choice >= 0 && choice < ps->options->count ? choice : 0];
    return fieldCount + 1;
}

// The documents folder, or "" when the system has none.
void GetDocumentsFolder(char* path)
{
    path[0] = '\0';
    if (FAILED(SHGetFolderPathA(nullptr, CSIDL_PERSONAL, nullptr, SHGFP_TYPE_CURRENT, path)))
        path[0] = '\0';
}

void FilePage_BrowseApplication(HWND page, PageState* ps)
{
    char path[MAX_PATH] = "";
    GetDlgItemTextA(page, IDC_PAGE_FIELD, path, sizeof(path));
    if (BrowseForApplication(page, ps->frame->instance, ps->frame->apps, path))
        SetDlgItemTextA(page, IDC_PAGE_FIELD, path);
}

void FilePage_BrowseFile(HWND page)
{
    char current[MAX_PATH] = "", folder[MAX_PATH] = "";
    GetDlgItemTextA(page, IDC_PAGE_FIELD, current, sizeof(current));
    if (current[0])
        GetDirFromPath(current, folder, sizeof(folder));
    if (!folder[0])
        GetDocumentsFolder(folder);
    char file[MAX_PATH] = "";
    FileDialogOptions options = {"Select a file", "All Files (*.*)\0*.*\0", folder, nullptr,
                                 OFN_HIDEREADONLY | OFN_NOCHANGEDIR | OFN_PATHMUSTEXIST};
    if (AskOpenFileName(page, options, file, sizeof(file)))
        SetDlgItemTextA(page, IDC_PAGE_FIELD, file);
}

void FilePage_BrowseFolder(HWND page, int code)
{
    const char* title = code == LA_COPY || code == LA_MOVE
                            ? "Select the destination folder."
                            : "Select the working folder for this application.";
    char folder[MAX_PATH];
    if (BrowseForFolder(page, title, folder))
        SetDlgItemTextA(page, IDC_PAGE_FIELD2, folder);
}

// --- Page 1200: comment, message and unknown lines -------------------------------

void TextPage_Init(HWND page, PageState* ps, const CLaunchAction* action)
{
    char text[LAUNCH_LINE_SIZE] = "";
    int limit = kTextLimit;
    if (ps->code == LA_COMMENT)
    {
        // The line without its two slashes (a line is stored trimmed).
        char line[LAUNCH_LINE_SIZE];
        StrCopy(line, action->GetString());
        TrimStr(line);
        StrCopy(text, line[0] && line[1] ? line + 2 : "");
    }
    else if (ps->code == LA_MESSAGE)
        action->GetParam(1, text, sizeof(text));
    else
    {
        StrCopy(text, action->GetString());
        limit = kLineLimit;
    }
    SendDlgItemMessageA(page, IDC_PAGE_FIELD, EM_LIMITTEXT, limit, 0);
    SetDlgItemTextA(page, IDC_PAGE_FIELD, text);
}

// --- Page 1240: Wait -----------------------------------------------------------

void TimePage_Init(HWND page, PageState* ps, const CLaunchAction* action)
{
    char text[LAUNCH_LINE_SIZE] = "";
    action->GetParam(1, text, sizeof(text));
    ps->waitValue = StrToInt(text);
    int pos = ps->waitValue < 0 ? 0 : ps->waitValue > kWaitMax ? kWaitMax : ps->waitValue;
    SendDlgItemMessageA(page, IDC_PAGE_SPIN, UDM_SETRANGE32, 0, kWaitMax);
    SendDlgItemMessageA(page, IDC_PAGE_SPIN, UDM_SETPOS32, 0, pos);
    // The field shows the line's own number until it is left.
    SendDlgItemMessageA(page, IDC_PAGE_FIELD, EM_LIMITTEXT, 10, 0);
    SetDlgItemInt(page, IDC_PAGE_FIELD, (UINT)ps->waitValue, TRUE);
}

// --- Pages ---------------------------------------------------------------------

// The texts of the page's fields and its option, as they stand: read
// without fixing anything up, unlike building the line.
std::string Page_Controls(HWND page)
{
    std::string shown;
    for (int id : {IDC_PAGE_FIELD, IDC_PAGE_FIELD2, IDC_PAGE_PARAMS})
    {
        char text[LAUNCH_LINE_SIZE] = "";
        GetDlgItemTextA(page, id, text, sizeof(text));
        shown += std::string(text) + '\n';
    }
    return shown + std::to_string(SendDlgItemMessageA(page, IDC_PAGE_OPTIONS, CB_GETCURSEL, 0, 0));
}

BOOL Page_OnInitDialog(HWND page, HWND, LPARAM lParam)
{
    FrameState* fs = (FrameState*)lParam;
    PageState* ps = new (std::nothrow) PageState();
    SetDialogState(page, ps);
    if (!ps)
        return TRUE;
    ps->frame = fs;
    ps->code = fs->action->GetAction();
    ps->page = PageFor(ps->code);
    ps->options = nullptr;
    ps->waitValue = 0;

    int index = CodeIndex(ps->code);
    HICON icon =
        (HICON)LoadImageA(fs->instance, MAKEINTRESOURCEA(kActionIcons[index]), IMAGE_ICON, 32, 32, LR_SHARED);
    SendDlgItemMessageA(page, IDC_PAGE_ICON, STM_SETICON, (WPARAM)icon, 0);
    ps->nameFont.Reset(CreateBoldFontFrom((HFONT)SendMessageA(page, WM_GETFONT, 0, 0)));
    if (ps->nameFont.Get())
        SendDlgItemMessageA(page, IDC_PAGE_NAME, WM_SETFONT, (WPARAM)ps->nameFont.Get(), FALSE);
    SetDlgItemTextA(page, IDC_PAGE_NAME, LaunchActionName(ps->code));
    SetDlgItemTextA(page, IDC_PAGE_HELP, kHelpTexts[index]);

    switch (ps->page)
    {
        case IDD_PAGE_FILE:
            FilePage_Init(page, ps, fs->action);
            break;
        case IDD_PAGE_TEXT:
            TextPage_Init(page, ps, fs->action);
            break;
        case IDD_PAGE_NAME: {
            char name[LAUNCH_LINE_SIZE] = "";
            fs->action->GetParam(1, name, sizeof(name));
            SendDlgItemMessageA(page, IDC_PAGE_FIELD, EM_LIMITTEXT, kPathLimit, 0);
            SetDlgItemTextA(page, IDC_PAGE_FIELD, name);
            break;
        }
        case IDD_PAGE_TIME:
            TimePage_Init(page, ps, fs->action);
            break;
        default:
            break;
    }
    PropDlg_General_OnEnableOK(page);
    ps->untouched = Page_Controls(page);
    return TRUE;
}

void Page_OnCommand(HWND page, int id, HWND, UINT code)
{
    PageState* ps = DialogState<PageState>(page);
    if (!ps)
        return;
    if ((id == IDC_PAGE_FIELD || id == IDC_PAGE_FIELD2) && code == EN_CHANGE)
        PropDlg_General_OnEnableOK(page);
    else if (id == IDC_PAGE_FIELD && code == EN_KILLFOCUS && ps->page == IDD_PAGE_TIME)
        TimePage_FixField(page);
    else if (id == IDC_PAGE_BROWSE && code == BN_CLICKED)
    {
        if (ps->page == IDD_PAGE_NAME)
        {
            char name[MAX_PATH] = "";
            if (ShowSelectDialog(page, ps->frame->instance, ps->code == LA_KILL, name, sizeof(name)))
                SetDlgItemTextA(page, IDC_PAGE_FIELD, name);
        }
        else if (ps->code == LA_LAUNCH)
            FilePage_BrowseApplication(page, ps);
        else
            FilePage_BrowseFile(page);
    }
    else if (id == IDC_PAGE_BROWSE2 && code == BN_CLICKED)
        FilePage_BrowseFolder(page, ps->code);
}

void Page_OnDestroy(HWND page)
{
    delete DialogState<PageState>(page);
    SetDialogState(page, nullptr);
}

INT_PTR CALLBACK PageProc(HWND hwnd, UINT uMsg, WPARAM wParam, LPARAM lParam)
{
    switch (uMsg)
    {
        HANDLE_DLGMSG(hwnd, WM_INITDIALOG, Page_OnInitDialog);
        HANDLE_DLGMSG(hwnd, WM_COMMAND, Page_OnCommand);
        HANDLE_DLGMSG(hwnd, WM_DESTROY, Page_OnDestroy);
    }
    return FALSE;
}

// The line the page's controls make, through the one writer of lines. false
// when the writer refuses it; *quoteAt then names the field whose double
// quote is the reason (0 when the line is simply too long).
bool Page_BuildLine(HWND page, char* line, size_t size, int* quoteAt)
{
    PageState* ps = DialogState<PageState>(page);
    *quoteAt = 0;
    if (!ps)
        return false;
    char buf[3][LAUNCH_LINE_SIZE];
    const char* values[4] = {};
    int count = 0;
    switch (ps->page)
    {
        case IDD_PAGE_FILE:
            count = FilePage_Values(page, ps, buf, values);
            break;
        case IDD_PAGE_TIME: {
            StrFormat(buf[0], sizeof(buf[0]), "%d", TimePage_FixField(page));
            values[0] = buf[0];
            count = 1;
            break;
        }
        case IDD_PAGE_NONE:
            break;
        default:
            ReadField(page, IDC_PAGE_FIELD, buf[0], sizeof(buf[0]));
            if (ps->code == LA_UNKNOWN)
                TrimStr(buf[0]);
            values[0] = buf[0];
            count = 1;
            break;
    }
    if (BuildLaunchLine(ps->code, values, count, line, size))
        return true;
    const int fields[] = {IDC_PAGE_FIELD, IDC_PAGE_FIELD2, IDC_PAGE_PARAMS};
    if (ps->code != LA_COMMENT && ps->code != LA_UNKNOWN)
        for (int i = 0; i < count && i < 3; i++)
            if (CharFind(values[i], '"', 0) >= 0)
            {
                *quoteAt = fields[i];
                break;
            }
    return false;
}

// --- Frame ---------------------------------------------------------------------

void Frame_DestroyPage(FrameState* fs)
{
    if (fs->hPage)
        DestroyWindow(fs->hPage);
    fs->hPage = nullptr;
}

bool Frame_CreatePage(HWND hwnd, FrameState* fs)
{
    int id = PageFor(fs->action->GetAction());
    fs->hPage = CreateDialogParamA(fs->instance, MAKEINTRESOURCEA(id), hwnd, PageProc, (LPARAM)fs);
    if (!fs->hPage)
        return false;
    ShowTabPage(hwnd, fs->hTab, fs->hPage);
    return true;
}

BOOL Frame_OnInitDialog(HWND hwnd, HWND, LPARAM lParam)
{
    FrameState* fs = (FrameState*)lParam;
    SetDialogState(hwnd, fs);
    if (fs->insertMode)
        SetWindowTextA(hwnd, "Insert Action");
    fs->hTab = GetDlgItem(hwnd, IDC_ACTIONPROPS_TAB);
    TCITEMA item;
    ZeroMemory(&item, sizeof(item));
    item.mask = TCIF_TEXT;
    item.pszText = (LPSTR) "General";
    SendMessageA(fs->hTab, TCM_INSERTITEMA, 0, (LPARAM)&item);
    CenterWindow(hwnd);
    if (!Frame_CreatePage(hwnd, fs))
    {
        MessageBoxA(hwnd,
                    "Cannot create subdialog.\n\nIf you consistently receive this error, please notify the "
                    "developers.",
                    "Properties - Error", MB_OK | MB_ICONWARNING);
        EndDialog(hwnd, 0);
        return TRUE;
    }
    HWND field = GetDlgItem(fs->hPage, IDC_PAGE_FIELD);
    if (!field)
        return TRUE;
    SetFocus(field);
    return FALSE;
}

void Frame_OnOk(HWND hwnd, FrameState* fs)
{
    // Enter reaches here even while the rule keeps OK disabled.
    if (!fs->hPage || !IsWindowEnabled(GetDlgItem(hwnd, IDOK)))
        return;
    // Nothing changed on the page: the line keeps its own spelling, spacing
    // and anything the page does not show.
    const PageState* ps = DialogState<PageState>(fs->hPage);
    if (!fs->insertMode && ps && Page_Controls(fs->hPage) == ps->untouched)
    {
        Frame_DestroyPage(fs);
        EndDialog(hwnd, 1);
        return;
    }
    char line[LAUNCH_LINE_SIZE];
    int quoteAt = 0;
    if (!Page_BuildLine(fs->hPage, line, sizeof(line), &quoteAt))
    {
        MessageBoxA(hwnd,
                    quoteAt
                        ? "A value of this action contains a double quote (\"), which a launch file cannot "
                          "keep inside a value.\n\nPlease remove it and try again."
                        : "This action is too long to be written to a launch file.\n\nPlease shorten its "
                          "values and try again.",
                    "Properties - Error", MB_OK | MB_ICONWARNING);
        SetFocus(GetDlgItem(fs->hPage, quoteAt ? quoteAt : IDC_PAGE_FIELD));
        return;
    }
    fs->action->SetString(line);
    Frame_DestroyPage(fs);
    EndDialog(hwnd, 1);
}

void Frame_OnCommand(HWND hwnd, int id, HWND, UINT)
{
    FrameState* fs = DialogState<FrameState>(hwnd);
    if (!fs)
        return;
    if (id == IDOK)
        Frame_OnOk(hwnd, fs);
    else if (id == IDCANCEL)
    {
        Frame_DestroyPage(fs);
        EndDialog(hwnd, 0);
    }
}

INT_PTR CALLBACK PropertiesDlgProc(HWND hwnd, UINT uMsg, WPARAM wParam, LPARAM lParam)
{
    switch (uMsg)
    {
        HANDLE_DLGMSG(hwnd, WM_INITDIALOG, Frame_OnInitDialog);
        HANDLE_DLGMSG(hwnd, WM_COMMAND, Frame_OnCommand);
    }
    return FALSE;
}

} // namespace

bool BrowseForApplication(HWND owner, HINSTANCE instance, CAppList* apps, char* path)
{
    char docs[MAX_PATH];
    GetDocumentsFolder(docs);
    tagBROWSEAPPS ba;
    ZeroMemory(&ba, sizeof(ba));
    ba.hwndOwner = owner;
    ba.hInstance = instance;
    ba.pszResult = path;
    ba.pszButton1 = "Browse &Program Files...";
    ba.pszFolder1 = "%programfiles%";
    ba.pszFilter1 = "Executables (*.exe)\0*.exe\0";
    ba.pszButton2 = "Browse &My Documents...";
    ba.pszFolder2 = docs;
    ba.pszFilter2 = "Executables (*.exe)\0*.exe\0All Files (*.*)\0*.*\0";
    ba.pAppList = apps;
    return BrowseApplications(&ba) == 1 && path[0];
}

int ShowActionProperties(HWND owner, HINSTANCE instance, CLaunchAction* action, bool insertMode,
                         int windowState, CAppList* apps, CFavList*)
{
    if (!action)
        return 0;
    FrameState fs = {action, instance, insertMode, windowState, apps, nullptr, nullptr};
    INT_PTR result =
        DialogBoxParamA(instance, MAKEINTRESOURCEA(IDD_ACTIONPROPS), owner, PropertiesDlgProc, (LPARAM)&fs);
    return result == 1 ? 1 : 0;
}

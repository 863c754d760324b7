// tvdriver: the GUI test driver as a console program, for tests that drive
// Wine from a script. Results go to stdout; exit code 0 success, 1 failure,
// 2 timeout. Run without arguments for the usage.
#include <windows.h>
#include <commctrl.h>
#include <stdio.h>
#include <stdlib.h>
#include "support/tvdriver/driver.h"
#include "strutils.h"

static const char g_szUsage[] =
    "usage: tvdriver <command> [options]\n"
    "Top-level window: -class=C -title=T -match=exact|sub|nocase -pid=N -hidden, or -hwnd=0xHEX\n"
    "Control inside it: -id=N, or -text=CAPTION [-childclass=C]\n"
    "Waiting: -timeout=MS (default 10000)\n"
    "  find      wait until a window is ready; prints hwnd=, pid=, class=, title=\n"
    "  list      print every matching window, no waiting\n"
    "  gone      wait until no matching window is visible (-hwnd: until hidden or destroyed)\n"
    "  command   -cmd=N: post WM_COMMAND N\n"
    "  click     click the button -id=N or -text=CAPTION\n"
    "  close     post WM_CLOSE\n"
    "  rect      print the window's screen rectangle: left=, top=, right=, bottom=\n"
    "  text      print the window's (or the control's) text\n"
    "  settext   -value=TEXT\n"
    "  listview  print the rows, columns separated by tabs; -select=N selects row N instead\n"
    "  tree      print the items, two spaces of indent per level\n"
    "  status    print the status bar parts, one per line\n"
    "  msgbox    wait for a message box (-title=CAPTION, -pid=N), print its text,\n"
    "            and with -press=IDOK|IDCANCEL|IDYES|IDNO|N press that button\n"
    "  tray      -tip=TEXT -button=left|right|double: click a tray icon; -list prints them\n"
    "            (screenx=, screeny=: the icon's centre in screen coordinates)\n"
    "  memory    -pid=N or a window: print workingset=, peak=, private= in bytes\n";

static int g_argc;
static char** g_argv;

// The value of -name=value, "" for a bare -name, null when absent.
static const char* Opt(const char* name)
{
    size_t len = strlen(name);
    for (int i = 2; i < g_argc; i++)
    {
        const char* arg = g_argv[i];
        if (arg[0] != '-' || strncmp(arg + 1, name, len) != 0)
            continue;
        if (arg[1 + len] == '=')
            return arg + len + 2;
        if (arg[1 + len] == '\0')
            return "";
    }
    return NULL;
}

static DWORD OptNumber(const char* name, DWORD fallback)
{
    const char* v = Opt(name);
    return v && *v ? (DWORD)strtoul(v, NULL, 0) : fallback;
}

static DrvWindowQuery QueryFromOptions()
{
    DrvWindowQuery wanted = DrvQuery(Opt("class"), Opt("title"));
    const char* match = Opt("match");
    if (match && strcmp(match, "sub") == 0)
        wanted.match = TVD_MATCH_SUBSTRING;
    else if (match && strcmp(match, "nocase") == 0)
        wanted.match = TVD_MATCH_NOCASE;
    wanted.pid = OptNumber("pid", 0);
    wanted.includeHidden = Opt("hidden") != NULL;
    return wanted;
}

static DWORD Timeout()
{
    return OptNumber("timeout", TVD_DEFAULT_TIMEOUT);
}

static void PrintWindow(HWND hwnd)
{
    char cls[256], title[1024];
    if (!GetClassNameA(hwnd, cls, sizeof(cls)))
        cls[0] = '\0';
    title[0] = '\0';
    GetWindowTextA(hwnd, title, sizeof(title));
    printf("hwnd=0x%llx pid=%lu class=%s title=%s\n", (unsigned long long)(ULONG_PTR)hwnd,
           (unsigned long)DrvWindowProcess(hwnd), cls, title);
}

// The top-level window the options name, waited for; TVD_* result.
static int FindTopWindow(HWND* hwnd)
{
    const char* handle = Opt("hwnd");
    if (handle)
    {
        *hwnd = (HWND)(ULONG_PTR)strtoull(handle, NULL, 0);
        return IsWindow(*hwnd) ? TVD_OK : TVD_FAIL;
    }
    DrvWindowQuery wanted = QueryFromOptions();
    if (!wanted.className && !wanted.title && !wanted.pid)
    {
        fprintf(stderr, "tvdriver: name a window with -class, -title, -pid or -hwnd\n");
        return TVD_FAIL;
    }
    int rc = DrvWaitWindow(wanted, Timeout(), hwnd);
    if (rc == TVD_TIMEOUT)
        fprintf(stderr, "tvdriver: no such window is ready\n");
    return rc;
}

// The control named by -id or -text inside the window, else the first child
// of defaultClass, else (no defaultClass) the window itself.
static int GetTarget(const char* defaultClass, HWND* target)
{
    HWND top;
    int rc = FindTopWindow(&top);
    if (rc != TVD_OK)
        return rc;
    const char* id = Opt("id");
    const char* text = Opt("text");
    const char* childClass = Opt("childclass");
    if (id)
        *target = DrvFindChildById(top, (int)strtol(id, NULL, 0));
    else if (text)
        *target = DrvFindChild(top, childClass ? childClass : defaultClass, text);
    else if (defaultClass)
        *target = DrvFindChild(top, defaultClass, NULL);
    else
        *target = top;
    if (!*target)
    {
        fprintf(stderr, "tvdriver: no such control\n");
        return TVD_FAIL;
    }
    return TVD_OK;
}

static int CmdFind()
{
    HWND hwnd;
    int rc = FindTopWindow(&hwnd);
    if (rc == TVD_OK)
        PrintWindow(hwnd);
    return rc;
}

static int CmdList()
{
    HWND list[256];
    int n = DrvFindWindows(QueryFromOptions(), list, 256);
    for (int i = 0; i < n && i < 256; i++)
        PrintWindow(list[i]);
    return n > 0 ? TVD_OK : TVD_FAIL;
}

static int CmdGone()
{
    const char* handle = Opt("hwnd");
    if (handle)
        return DrvWaitHidden((HWND)(ULONG_PTR)strtoull(handle, NULL, 0), Timeout());
    return DrvWaitWindowGone(QueryFromOptions(), Timeout());
}

static int CmdCommand()
{
    HWND hwnd;
    int rc = FindTopWindow(&hwnd);
    if (rc != TVD_OK)
        return rc;
    const char* cmd = Opt("cmd");
    if (!cmd || !*cmd)
    {
        fprintf(stderr, "tvdriver: command needs -cmd=N\n");
        return TVD_FAIL;
    }
    return DrvPostCommand(hwnd, (int)strtol(cmd, NULL, 0)) ? TVD_OK : TVD_FAIL;
}

static int CmdClick()
{
    HWND top;
    int rc = FindTopWindow(&top);
    if (rc != TVD_OK)
        return rc;
    const char* id = Opt("id");
    const char* text = Opt("text");
    if (id)
        return DrvPressButton(top, (int)strtol(id, NULL, 0)) ? TVD_OK : TVD_FAIL;
    if (text)
        return DrvClickButtonText(top, text) ? TVD_OK : TVD_FAIL;
    fprintf(stderr, "tvdriver: click needs -id or -text\n");
    return TVD_FAIL;
}

static int CmdClose()
{
    HWND hwnd;
    int rc = FindTopWindow(&hwnd);
    if (rc != TVD_OK)
        return rc;
    return DrvClose(hwnd) ? TVD_OK : TVD_FAIL;
}

static int CmdRect()
{
    HWND hwnd;
    int rc = FindTopWindow(&hwnd);
    if (rc != TVD_OK)
        return rc;
    RECT r;
    if (!GetWindowRect(hwnd, &r))
        return TVD_FAIL;
    printf("left=%ld top=%ld right=%ld bottom=%ld\n", r.left, r.top, r.right, r.bottom);
    return TVD_OK;
}

static int CmdText()
{
    HWND target;
    int rc = GetTarget(NULL, &target);
    if (rc != TVD_OK)
        return rc;
    char text[4096];
    if (DrvGetText(target, text, sizeof(text)) < 0)
        return TVD_FAIL;
    printf("%s\n", text);
    return TVD_OK;
}

static int CmdSetText()
{
    HWND target;
    int rc = GetTarget(NULL, &target);
    if (rc != TVD_OK)
        return rc;
    const char* value = Opt("value");
    return DrvSetText(target, value ? value : "") ? TVD_OK : TVD_FAIL;
}

static int CmdListView()
{
    HWND list;
    int rc = GetTarget(WC_LISTVIEWA, &list);
    if (rc != TVD_OK)
        return rc;
    const char* select = Opt("select");
    if (select)
        return DrvListViewSelect(list, atoi(select)) ? TVD_OK : TVD_FAIL;
    int rows = DrvListViewRowCount(list);
    int columns = DrvListViewColumnCount(list);
    if (rows < 0 || columns < 0)
        return TVD_FAIL;
    for (int r = 0; r < rows; r++)
    {
        for (int c = 0; c < columns; c++)
        {
            char text[1024];
            if (!DrvListViewText(list, r, c, text, sizeof(text)))
                return TVD_FAIL;
            printf("%s%s", c ? "\t" : "", text);
        }
        printf("\n");
    }
    return TVD_OK;
}

static int CmdTree()
{
    HWND tree;
    int rc = GetTarget(WC_TREEVIEWA, &tree);
    if (rc != TVD_OK)
        return rc;
    static char dump[65536];
    bool fitted = DrvTreeDump(tree, dump, sizeof(dump));
    fputs(dump, stdout);
    return fitted ? TVD_OK : TVD_FAIL;
}

static int CmdStatus()
{
    HWND status;
    int rc = GetTarget(STATUSCLASSNAMEA, &status);
    if (rc != TVD_OK)
        return rc;
    int parts = DrvStatusPartCount(status);
    if (parts < 0)
        return TVD_FAIL;
    for (int i = 0; i < parts; i++)
    {
        char text[1024];
        if (!DrvStatusText(status, i, text, sizeof(text)))
            return TVD_FAIL;
        printf("%s\n", text);
    }
    return TVD_OK;
}

static int ButtonId(const char* name)
{
    static const struct
    {
        const char* name;
        int id;
    } ids[] = {{"IDOK", IDOK},         {"IDCANCEL", IDCANCEL}, {"IDABORT", IDABORT}, {"IDRETRY", IDRETRY},
               {"IDIGNORE", IDIGNORE}, {"IDYES", IDYES},       {"IDNO", IDNO}};
    for (size_t i = 0; i < sizeof(ids) / sizeof(ids[0]); i++)
    {
        if (StrCompareNoCase(name, ids[i].name) == 0)
            return ids[i].id;
    }
    return (int)strtol(name, NULL, 0);
}

static int CmdMsgBox()
{
    HWND box;
    int rc = DrvWaitMessageBox(Opt("title"), OptNumber("pid", 0), Timeout(), &box);
    if (rc != TVD_OK)
        return rc;
    char text[4096];
    if (!DrvMessageBoxText(box, text, sizeof(text)))
        return TVD_FAIL;
    printf("%s\n", text);
    const char* press = Opt("press");
    if (press)
    {
        int id = ButtonId(press);
        if (id <= 0 || !DrvPressButton(box, id))
            return TVD_FAIL;
        return DrvWaitDestroyed(box, Timeout());
    }
    return TVD_OK;
}

static int CmdTray()
{
    if (Opt("list"))
    {
        DrvTrayIcon icons[64];
        int n = DrvTrayIcons(icons, 64);
        for (int i = 0; i < n && i < 64; i++)
        {
            char tip[1024];
            if (!DrvTrayIconTip(icons[i], tip, sizeof(tip)))
                tip[0] = '\0';
            POINT screen = icons[i].at;
            ClientToScreen(icons[i].window, &screen);
            printf("window=0x%llx x=%ld y=%ld screenx=%ld screeny=%ld tip=%s\n",
                   (unsigned long long)(ULONG_PTR)icons[i].window, icons[i].at.x, icons[i].at.y, screen.x,
                   screen.y, tip);
        }
        return n > 0 ? TVD_OK : TVD_FAIL;
    }
    const char* tip = Opt("tip");
    DrvTrayIcon icon;
    int rc = DrvWaitFor([&]() { return DrvFindTrayIcon(tip, &icon); }, Timeout());
    if (rc != TVD_OK)
        return rc;
    const char* button = Opt("button");
    int how = TVD_CLICK_LEFT;
    if (button && strcmp(button, "right") == 0)
        how = TVD_CLICK_RIGHT;
    else if (button && strcmp(button, "double") == 0)
        how = TVD_CLICK_DOUBLE;
    return DrvClickTrayIcon(icon, how) ? TVD_OK : TVD_FAIL;
}

static int CmdMemory()
{
    DWORD pid = OptNumber("pid", 0);
    if (!pid || Opt("class") || Opt("title") || Opt("hwnd"))
    {
        HWND hwnd;
        int rc = FindTopWindow(&hwnd);
        if (rc != TVD_OK)
            return rc;
        pid = DrvWindowProcess(hwnd);
    }
    DrvMemoryInfo info;
    if (!DrvProcessMemory(pid, &info))
        return TVD_FAIL;
    printf("workingset=%llu\npeak=%llu\nprivate=%llu\n", (unsigned long long)info.workingSet,
           (unsigned long long)info.peakWorkingSet, (unsigned long long)info.privateBytes);
    return TVD_OK;
}

int main(int argc, char** argv)
{
    g_argc = argc;
    g_argv = argv;
    if (argc < 2)
    {
        fputs(g_szUsage, stderr);
        return TVD_FAIL;
    }
    static const struct
    {
        const char* name;
        int (*run)();
    } commands[] = {{"find", CmdFind},         {"list", CmdList},   {"gone", CmdGone},
                    {"command", CmdCommand},   {"click", CmdClick}, {"close", CmdClose},
                    {"rect", CmdRect},         {"text", CmdText},   {"settext", CmdSetText},
                    {"listview", CmdListView}, {"tree", CmdTree},   {"status", CmdStatus},
                    {"msgbox", CmdMsgBox},     {"tray", CmdTray},   {"memory", CmdMemory}};
    for (size_t i = 0; i < sizeof(commands) / sizeof(commands[0]); i++)
    {
        if (strcmp(argv[1], commands[i].name) == 0)
        {
            int rc = commands[i].run();
            fflush(stdout);
            return rc;
        }
    }
    fprintf(stderr, "tvdriver: unknown command %s\n", argv[1]);
    fputs(g_szUsage, stderr);
    return TVD_FAIL;
}

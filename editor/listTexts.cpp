// The main window's title, status and row texts.
#include <string.h>

#include "listTexts.h"
#include "LineBlock.h"
#include "strutils.h"

void EditorTitle(bool fileOpen, const char* path, bool modified, char* buf, size_t size)
{
    StrCopy(buf, size, "Tarvin Editor");
    if (!fileOpen)
        return;
    const char* slash = strrchr(path, '\\');
    const char* name = !path[0] ? "New Launch File" : slash ? slash + 1 : path;
    StrAppend(buf, size, " - [");
    StrAppend(buf, size, name);
    StrAppend(buf, size, "]");
    if (modified)
        StrAppend(buf, size, "*");
}

const char* EditorStatusText(bool fileOpen, const char* path)
{
    return !fileOpen ? "Select a startup action." : path[0] ? path : "Unsaved (new) launch file";
}

void FormatEditorRow(const CLaunchAction& action, EditorRowTexts* row)
{
    CLaunchAction inner;
    char line[LAUNCH_LINE_SIZE];
    bool disabled = EnableLine(action.GetString(), line, sizeof(line));
    if (disabled)
        inner.SetString(line);
    const CLaunchAction& shown = disabled ? inner : action;
    StrCopy(row->name, shown.GetActionName());
    if (disabled)
        StrAppend(row->name, " (disabled)");
    shown.GetDescription(row->description, sizeof(row->description));
    row->action = shown.GetAction();
}

// The lines a finished action wizard puts into the launch file, and the
// summary of them its confirm page shows.
#include <initializer_list>

#include "wizardLines.h"
#include "LaunchFile.h"
#include "LaunchLine.h"
#include "dirutils.h"
#include "strutils.h"

namespace
{

const char* WizardName(int branch)
{
    switch (branch)
    {
        case EWIZ_BRANCH_WEB:
            return "Open Web Pages Wizard";
        case EWIZ_BRANCH_BACKUP:
            return "Backup Files Wizard";
    }
    return "Open Files or Applications Wizard";
}

// Collects the lines and stops at the first that cannot be built or taken.
struct LineWriter
{
    WizardLineSink sink;
    void* context;
    int count;
    bool failed;

    void Put(int action, std::initializer_list<const char*> values)
    {
        char line[LAUNCH_LINE_SIZE];
        bool built = BuildLaunchLine(action, values.begin(), (int)values.size(), line, sizeof(line));
        Take(built ? line : nullptr);
    }
    // A line already built; null: it could not be.
    void Take(const char* line)
    {
        if (failed)
            return;
        if (!line || !sink(context, line))
        {
            failed = true;
            return;
        }
        count++;
    }
};

} // namespace

bool BuildWebPageLine(const char* browser, const char* address, const char* state, char* line, size_t size)
{
    // With no default browser known, the address itself is launched and the
    // shell picks the program; an empty file would launch nothing.
    if (browser && browser[0])
    {
        const char* values[] = {browser, "", address, state};
        return BuildLaunchLine(LA_LAUNCH, values, 4, line, size);
    }
    const char* values[] = {address, "", "", state};
    return BuildLaunchLine(LA_LAUNCH, values, 4, line, size);
}

int BuildWizardLines(WizardChoices& data, const tagWIZARD_PREFS& prefs, const char* browser,
                     WizardLineSink sink, void* context)
{
    LineWriter out = {sink, context, 0, false};
    char comment[128];
    if (prefs.insertComments)
    {
        StrFormat(comment, sizeof(comment), "The following actions were added by the %s",
                  WizardName(data.branch));
        out.Put(LA_COMMENT, {comment});
    }
    const char* state = WindowStateWord(prefs.windowState);
    char delay[16];
    StrFormat(delay, sizeof(delay), "%d", data.delay);
    bool waits = data.branch != EWIZ_BRANCH_BACKUP && prefs.insertDelay && data.delay > 0;
    CPtrList<tagWIZARD_ITEM>& items = data.items;
    unsigned count = items.GetSize();
    for (unsigned i = 0; i < count; i++)
    {
        const char* item = items.GetAt(i)->text;
        if (data.branch == EWIZ_BRANCH_BACKUP)
        {
            if (data.backupMove)
                out.Put(LA_MOVE, {item, data.destination, "AskMoveOverwrite"});
            else
                out.Put(LA_COPY, {item, data.destination, "AskOverwrite"});
            continue;
        }
        if (data.branch == EWIZ_BRANCH_WEB)
        {
            char line[LAUNCH_LINE_SIZE];
            out.Take(BuildWebPageLine(browser, item, state, line, sizeof(line)) ? line : nullptr);
        }
        else
        {
            char folder[WIZARD_TEXT_SIZE] = "", ext[WIZARD_TEXT_SIZE];
            GetDirFromPath(item, folder, sizeof(folder));
            GetExtFromPath(item, ext, sizeof(ext));
            out.Put(StrCompareNoCase(ext, ".exe") == 0 ? LA_LAUNCH : LA_OPEN, {item, folder, "", state});
        }
        if (waits && i + 1 < count)
            out.Put(LA_WAIT, {delay});
    }
    if (prefs.insertComments)
    {
        StrFormat(comment, sizeof(comment), "End of actions added by the %s", WizardName(data.branch));
        out.Put(LA_COMMENT, {comment});
    }
    return out.failed ? -1 : out.count;
}

void WizardSummary(WizardChoices& data, const tagWIZARD_PREFS& prefs, char* buf, size_t size)
{
    int count = (int)data.items.GetSize();
    bool withDelay = prefs.insertDelay && data.delay > 0;
    switch (data.branch)
    {
        case EWIZ_BRANCH_FILES:
            if (count == 1)
                StrCopy(buf, size, "You have selected to open a single file or application.");
            else if (withDelay)
                StrFormat(
                    buf, size,
                    "You have selected to open %d files or applications with a delay of %d milliseconds "
                    "between each.",
                    count, data.delay);
            else
                StrFormat(buf, size, "You have selected to open %d files or applications.", count);
            return;
        case EWIZ_BRANCH_WEB:
            if (count == 1)
                StrCopy(buf, size, "You have selected to open a single webpage.");
            else if (withDelay)
                StrFormat(
                    buf, size,
                    "You have selected to open %d webpages with a delay of %d milliseconds between each.",
                    count, data.delay);
            else
                StrFormat(buf, size, "You have selected to open %d webpages.", count);
            return;
    }
    const char* operation = data.backupMove ? "move" : "copy";
    if (count == 1)
        StrFormat(buf, size, "You have selected to %s %s to %s.", operation, data.items.GetAt(0)->text,
                  data.destination);
    else
        StrFormat(buf, size, "You have selected to %s %d files to %s.", operation, count, data.destination);
}

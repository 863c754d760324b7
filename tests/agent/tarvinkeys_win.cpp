// Tarvin Keys: the keys file kept when it could not be read, and the
// modifier rule of the add dialog.
#include <windows.h>
#include <limits.h>
#include <algorithm>
#include <string>
#include <vector>

#include "TarvinKeys.h"
#include "tarvinKeysDlg.h"
#include "HiddenWindows.h"
#include "keysfile.h"
#include "agent_testutil.h"
#include "testutil.h"
#include "strutils.h"

namespace
{

CTarvinKey* NewKey(int vcode, UINT mods, int action, const char* target = "")
{
    CTarvinKey* key = new CTarvinKey;
    key->vcode = vcode;
    key->mods = mods;
    key->action = action;
    key->SetTarget(target);
    return key;
}

} // namespace

// A keys file the agent could not read is never written over unseen: left
// alone when no key changed, otherwise kept beside (under the first free
// name) before the session's keys are saved. A key whose line cannot be
// written whole is left out and counted, never cut.
TEST(KeysFile, AnUnreadFileIsKeptBeforeTheSessionsKeysAreSaved)
{
    const std::string other = "<?TarvinTarvinKeys version=\"2.00\"?>\r\n<key vcode=\"84\">\r\n";
    const std::string added = std::string(KEYSFILE_HEADER) + "\r\n<key vcode=\"65\" mods=\"3\" action=\"2\" "
                                                             "target=\"\">\r\n";
    const struct
    {
        const char* what;
        bool add;
        bool olderCopy; // a copy from an earlier run is there already
        int outcome;
        std::string contents; // of the folder afterwards
    } cases[] = {
        {"nothing added", false, false, KEYS_LEFT_UNREAD, "Tarvin Keys.keys=" + other},
        {"a key added", true, false, KEYS_SAVED_OLD_KEPT,
         "Tarvin Keys.keys.old=" + other + "|Tarvin Keys.keys=" + added},
        {"a key added, an older copy there", true, true, KEYS_SAVED_OLD_KEPT,
         "Tarvin Keys.keys.old2=" + other + "|Tarvin Keys.keys.old=older|Tarvin Keys.keys=" + added},
    };
    for (const auto& c : cases)
    {
        SCOPED_TRACE(c.what);
        ScratchDir dir;
        std::string path = dir.Path("Tarvin Keys.keys");
        WriteBytes(path, other);
        if (c.olderCopy)
            WriteBytes(path + ".old", "older");
        CTarvinKeys keys;
        EXPECT_EQ(0, keys.Load(path.c_str()));
        if (c.add)
            keys.AddKey(NewKey(65, 3, 2));
        tagKEYS_SAVE result;
        EXPECT_EQ(c.add ? 1 : 0, SaveKeysFile(keys, path.c_str(), &result));
        EXPECT_EQ(c.outcome, result.outcome);
        EXPECT_EQ(c.contents, Contents(dir.Root()));
    }

    // Read well, a file is saved as always; a target with both quote kinds
    // (which the Add dialog now refuses) is not written at all.
    ScratchDir dir;
    std::string path = dir.Path("Tarvin Keys.keys");
    WriteBytes(path, std::string(KEYSFILE_HEADER) + "\r\n");
    CTarvinKeys keys;
    ASSERT_EQ(1, keys.Load(path.c_str()));
    keys.AddKey(NewKey(66, 3, 1, "say \"it's\".launch"));
    keys.AddKey(NewKey(65, 3, 2));
    tagKEYS_SAVE result;
    EXPECT_EQ(1, SaveKeysFile(keys, path.c_str(), &result));
    EXPECT_EQ(KEYS_SAVED, result.outcome);
    EXPECT_EQ(1u, result.unwritten);
    EXPECT_EQ("Tarvin Keys.keys=" + added, Contents(dir.Root()));
}

TEST(AddTarvinKey, ModifierRuleKeepsAModifierOtherThanShiftAlone)
{
    struct
    {
        unsigned in, out;
    } cases[] = {{0, KEYMOD_CONTROL | KEYMOD_ALT},
                 {KEYMOD_SHIFT, KEYMOD_SHIFT | KEYMOD_ALT},
                 {KEYMOD_WIN, KEYMOD_WIN},
                 {KEYMOD_SHIFT | KEYMOD_CONTROL, KEYMOD_SHIFT | KEYMOD_CONTROL},
                 {KEYMOD_ALT, KEYMOD_ALT}};
    for (const auto& c : cases)
        EXPECT_EQ(c.out, ApplyModifierRule(c.in)) << c.in;
}

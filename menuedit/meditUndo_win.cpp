// Undo and redo as whole-tree copies, and the clipboard: an entry and its
// subtree travel as the menu file's text under a format of their own.
#include <windows.h>
#include <new>

#include "meditUndo.h"
#include "meditstate.h"
#include "strutils.h"
#include "winutils.h"

// --- Undo and redo -----------------------------------------------------------------

void InitUndo(HWND hwnd)
{
    ClearUndo(hwnd);
}

void ClearUndo(HWND hwnd)
{
    MeditState* st = GetMeditState(hwnd);
    if (st)
        st->undo.Clear();
}

void AddUndo(HWND hwnd)
{
    MeditState* st = GetMeditState(hwnd);
    st->undo.Record(st->menu.GetMenuTree());
    MarkModified(st);
}

// The tree goes back to a recorded step; the submenu that was shown stays
// shown when it is there.
static void Restore(MeditState* st, bool undo)
{
    if (!(undo ? st->undo.CanUndo() : st->undo.CanRedo()))
    {
        MessageBeep(MB_ICONHAND);
        return;
    }
    long selected = SelectedTreeId(st);
    CPtrTree<CMenuItem>* tree = st->menu.GetMenuTree();
    if (!(undo ? st->undo.Undo(tree) : st->undo.Redo(tree)))
        return;
    BuildTree(st);
    if (selected > 0)
        SelectTreeNode(st, (unsigned long)selected);
    MarkModified(st);
}

void Undo(HWND hwnd)
{
    Restore(GetMeditState(hwnd), true);
}

void Redo(HWND hwnd)
{
    Restore(GetMeditState(hwnd), false);
}

// --- Clipboard -----------------------------------------------------------------------

bool CanPaste(MeditState* st)
{
    return st->clipFormat && IsClipboardFormatAvailable(st->clipFormat);
}

static bool CopySelected(MeditState* st)
{
    long id = SelectedEntryId(st);
    CPtrTree<CMenuItem>* node = id >= 0 ? st->menu.FindItem((unsigned long)id) : nullptr;
    if (!node)
    {
        MessageBeep(MB_ICONHAND);
        return false;
    }
    int size = st->menu.GetXMLString(node, nullptr, 0);
    if (size <= 1)
    {
        MessageBeep(MB_ICONHAND);
        return false;
    }
    char* text = new (std::nothrow) char[size];
    if (!text)
        return false;
    st->menu.GetXMLString(node, text, (size_t)size);
    bool put = PutClipboardText(st->hwnd, st->clipFormat, text);
    delete[] text;
    return put;
}

void CopyEntry(MeditState* st)
{
    CopySelected(st);
    UpdateUI(st);
}

void CutEntry(MeditState* st)
{
    if (SelectedEntryId(st) == 0)
    {
        // The root can be copied but never taken away.
        MessageBoxA(st->hwnd, "You cannot delete or cut the root item in the menu hierarchy.", nullptr,
                    MB_OK | MB_ICONERROR);
        return;
    }
    if (CopySelected(st))
        DeleteEntry(st, false);
}

void PasteEntry(MeditState* st)
{
    if (!st->menuOpen || !CanPaste(st))
    {
        MessageBeep(MB_ICONHAND);
        return;
    }
    long listId = SelectedListId(st);
    long treeId = SelectedTreeId(st);
    if (listId < 0 && treeId < 0)
    {
        MessageBeep(MB_ICONHAND);
        return;
    }
    // The text is copied out at once: the clipboard stays open only briefly.
    char* text = CopyClipboardText(st->hwnd, st->clipFormat);
    if (!text)
    {
        MessageBeep(MB_ICONHAND);
        return;
    }

    // Text that yields no entry at all is refused before anything is
    // recorded: the menu stays unmodified and undo gains no empty step.
    CMenu trial;
    bool ok = trial.InsertFromXML(text, 0, 1);
    int error = trial.GetLastError();
    if (ok || trial.GetLastId() > 0)
    {
        AddUndo(st->hwnd);
        ok = listId >= 0 ? st->menu.InsertFromXML(text, (unsigned long)listId, 0)
                         : st->menu.InsertFromXML(text, (unsigned long)treeId, 1);
        error = st->menu.GetLastError();
    }
    if (!ok)
    {
        char message[96];
        StrFormat(message, sizeof(message), "Could not paste all items.\n\nThe reported error code was %d",
                  error);
        MessageBoxA(st->hwnd, message, nullptr, MB_OK | MB_ICONERROR);
        MessageBoxA(st->hwnd, text, nullptr, MB_OK);
    }
    delete[] text;
    BuildTree(st);
    if (treeId >= 0)
        SelectTreeNode(st, (unsigned long)treeId);
    UpdateUI(st);
}

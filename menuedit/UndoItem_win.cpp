// Undo and redo as whole-tree copies, and the clipboard: an entry and its
// subtree travel as the menu file's text under a format of their own.
#include <windows.h>
#include <new>

#include "UndoItem.h"
#include "meditstate.h"
#include "strutils.h"
#include "winutils.h"

CUndoItem::CUndoItem(CPtrTree<CMenuItem>* tree) : m_pMenuTree(nullptr)
{
    SetMenuTree(tree);
}

CUndoItem::~CUndoItem()
{
    delete m_pMenuTree;
}

void CUndoItem::SetMenuTree(CPtrTree<CMenuItem>* tree)
{
    delete m_pMenuTree;
    m_pMenuTree = new (std::nothrow) CPtrTree<CMenuItem>(nullptr, nullptr, true);
    if (m_pMenuTree && tree)
        m_pMenuTree->Copy(tree);
}

// --- Undo and redo -----------------------------------------------------------------

void InitUndo(HWND hwnd)
{
    ClearUndo(hwnd);
}

void ClearUndo(HWND hwnd)
{
    MeditState* st = GetMeditState(hwnd);
    if (!st)
        return;
    st->undoList.Clear();
    st->redoList.Clear();
}

static bool PushCopy(MeditState* st, CPtrList<CUndoItem>& list)
{
    CUndoItem* item = new (std::nothrow) CUndoItem(st->menu.GetMenuTree());
    if (!item)
        return false;
    if (!item->GetMenuTree())
    {
        delete item;
        return false;
    }
    list.Add(item, true);
    return true;
}

void AddUndo(HWND hwnd)
{
    MeditState* st = GetMeditState(hwnd);
    PushCopy(st, st->undoList);
    st->redoList.Clear();
    MarkModified(st);
}

// Takes the last copy of `from` as the menu, after saving the current tree
// onto `to`. Ids travel with the entries and the model's last id stays, so
// entries made later never reuse an id of the restored tree.
static void Restore(MeditState* st, CPtrList<CUndoItem>& from, CPtrList<CUndoItem>& to)
{
    unsigned size = from.GetSize();
    if (size == 0)
    {
        MessageBeep(MB_ICONHAND);
        return;
    }
    long selected = SelectedTreeId(st);
    if (!PushCopy(st, to))
        return;
    CUndoItem* item = from.GetAt(size - 1);
    st->menu.GetMenuTree()->Copy(item->GetMenuTree());
    from.Delete(size - 1);
    BuildTree(st);
    if (selected > 0)
        SelectTreeNode(st, (unsigned long)selected);
    MarkModified(st);
}

void Undo(HWND hwnd)
{
    MeditState* st = GetMeditState(hwnd);
    Restore(st, st->undoList, st->redoList);
}

void Redo(HWND hwnd)
{
    MeditState* st = GetMeditState(hwnd);
    Restore(st, st->redoList, st->undoList);
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

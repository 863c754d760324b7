// The undo and redo histories applied to the open file's model and list, and
// the edits of several lines that make one step.
#include <windows.h>
#include <commctrl.h>

#include "editor.h"

namespace
{

// Steps land in the model and the list together.
class CEditorUndoTarget : public CUndoTarget
{
  public:
    explicit CEditorUndoTarget(EditorState* st) : m_st(st)
    {
    }
    void Apply(unsigned kind, int index, int to, const char* text) override
    {
        switch (kind)
        {
            case UNDO_INSERT:
                ApplyInsert(m_st, text, index);
                break;
            case UNDO_DELETE:
                ApplyDelete(m_st, index);
                break;
            case UNDO_CHANGE:
                ApplyReplace(m_st, index, text);
                break;
            case UNDO_MOVE:
                ApplyMove(m_st, index, to);
                break;
        }
    }
    void BeginGroup() override
    {
        BeginLineGroup(m_st, false);
    }
    void EndGroup() override
    {
        EndLineGroup(m_st);
    }

  private:
    EditorState* m_st;
};

} // namespace

bool AddUndo(EditorState* st, unsigned kind, const char* fromText, unsigned fromIndex, const char* toText,
             unsigned toIndex)
{
    CUndoItem step(kind, fromText, fromIndex, toText, toIndex);
    step.m_nGroup = st->undoGroup;
    if (!AddUndoStep(st->undo, st->redo, step))
    {
        MessageBoxA(st->hwnd, "Failed to add undo", "Tarvin Editor", MB_OK | MB_ICONERROR);
        return false;
    }
    UpdateUI(st);
    return true;
}

unsigned BeginLineGroup(EditorState* st, bool record)
{
    st->undoGroup = record ? ++st->lastGroup : 0;
    st->addSelect = true;
    SelectRow(st, -1);
    return st->undoGroup;
}

void EndLineGroup(EditorState* st)
{
    st->undoGroup = 0;
    st->addSelect = false;
    if (st->hList && ListView_GetSelectedCount(st->hList) == 0 && st->file.GetCount() > 0)
        SelectRow(st, st->lastTouched < st->file.GetCount() ? st->lastTouched : st->file.GetCount() - 1);
    UpdateUI(st);
}

bool RecordStep(EditorState* st, unsigned kind, const char* fromText, unsigned fromIndex, const char* toText,
                unsigned toIndex)
{
    if (!AddUndo(st, kind, fromText, fromIndex, toText, toIndex))
        return false;
    CEditorUndoTarget target(st);
    ApplyUndoStep(target, *st->undo.GetAt(st->undo.GetSize() - 1), false);
    return true;
}

void Undo(EditorState* st)
{
    CEditorUndoTarget target(st);
    if (TransferUndoSteps(st->undo, st->redo, true, target) > 0)
        UpdateUI(st);
}

void Redo(EditorState* st)
{
    CEditorUndoTarget target(st);
    if (TransferUndoSteps(st->redo, st->undo, false, target) > 0)
        UpdateUI(st);
}

void ClearUndo(EditorState* st)
{
    st->undo.Clear();
    st->redo.Clear();
    UpdateUI(st);
}

// The launch file editor's undo and redo histories: each edit of the open
// file is one step; undo applies its opposite, redo applies it again. The
// histories' rules are portable, so that the host tests check them;
// UndoItem_win.cpp applies the steps to the model and the list together.
#pragma once

#include "LaunchFile.h"
#include "PtrList.h"

enum
{
    UNDO_MOVE = 1,   // from-text moved from from-index to to-index
    UNDO_INSERT = 2, // from-text inserted at from-index
    UNDO_DELETE = 3, // from-text deleted from from-index
    UNDO_CHANGE = 4  // the line at from-index changed from from-text to to-text
};

class CUndoItem
{
  public:
    // Null texts are stored empty; longer ones are cut to a launch line.
    CUndoItem(unsigned kind, const char* fromText, unsigned fromIndex, const char* toText, unsigned toIndex);
    explicit CUndoItem(const CUndoItem& other);
    virtual ~CUndoItem()
    {
    }
    CUndoItem& operator=(const CUndoItem&) = delete;

    void Copy(const CUndoItem& other);
    const char* GetFromString() const
    {
        return m_szFrom;
    }
    void SetFromString(const char* text);
    const char* GetToString() const
    {
        return m_szTo;
    }
    void SetToString(const char* text);

    unsigned m_nKind;
    unsigned m_nFromIndex;
    unsigned m_nToIndex;
    // Steps of one edit of several lines share a group (0: a step alone);
    // undo and redo take a whole group at once.
    unsigned m_nGroup = 0;

  private:
    char m_szFrom[LAUNCH_LINE_SIZE];
    char m_szTo[LAUNCH_LINE_SIZE];
};

// Where undo and redo apply steps: the open file's lines by index.
class CUndoTarget
{
  public:
    virtual ~CUndoTarget()
    {
    }
    // One change, its kind as a step's: UNDO_INSERT puts text at index,
    // UNDO_DELETE removes the line at index, UNDO_CHANGE makes it text,
    // UNDO_MOVE moves it to to.
    virtual void Apply(unsigned kind, int index, int to, const char* text) = 0;
    // Around the changes of one group.
    virtual void BeginGroup()
    {
    }
    virtual void EndGroup()
    {
    }
};

// Applies the step again (redo) or its opposite (undo).
void ApplyUndoStep(CUndoTarget& target, const CUndoItem& item, bool undo);
// A copy of step, group and all, at the end of undo; the redo history is
// dropped. Null, with nothing changed, when there is no memory for it.
CUndoItem* AddUndoStep(CPtrList<CUndoItem>& undo, CPtrList<CUndoItem>& redo, const CUndoItem& step);
// Moves the newest step of from to the end of to, and with it the rest of its
// group, applying each as undo (or redo) on the way. The number of steps
// moved.
int TransferUndoSteps(CPtrList<CUndoItem>& from, CPtrList<CUndoItem>& to, bool undo, CUndoTarget& target);

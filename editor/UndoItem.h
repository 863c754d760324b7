// One step of the launch file editor's undo and redo histories.
#pragma once

#include "LaunchFile.h"

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

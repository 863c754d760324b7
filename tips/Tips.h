// The tip-of-the-day texts of the suite: the tips file "tvdt.sys", read into
// named tip sets, one per program. Portable, so the reader is tested and
// fuzzed on the host too.
#pragma once

#include "PtrList.h"

class CTips
{
  public:
    enum
    {
        TEXT_SIZE = 256,
        NAME_SIZE = 32,
        PATH_SIZE = 260
    };
    // Results of Load.
    enum
    {
        TIPS_OK = 0,
        TIPS_ERR_TIP_OUTSIDE_SET = 2,
        TIPS_ERR_BAD_VERSION = 3,
        TIPS_ERR_NO_VERSION = 4,
        TIPS_ERR_CANNOT_OPEN = 5
    };

    class CTip
    {
      public:
        explicit CTip(const char* text);
        virtual ~CTip() = default;
        const char* GetText() const
        {
            return m_text;
        }

      private:
        char m_text[TEXT_SIZE];
    };

    class CTipSet
    {
      public:
        CTipSet(const char* name, const char* regPath);
        virtual ~CTipSet() = default;
        const char* GetName() const
        {
            return m_name;
        }
        const char* GetRegPath() const
        {
            return m_regPath;
        }
        CPtrList<CTip>& GetTips()
        {
            return m_tips;
        }

      private:
        char m_name[NAME_SIZE];
        char m_regPath[PATH_SIZE];
        CPtrList<CTip> m_tips;
    };

    CTips();
    virtual ~CTips();
    CTips(const CTips&) = delete;
    CTips& operator=(const CTips&) = delete;

    // Replaces the collection by the file's content; TIPS_OK or an error
    // above. A file without the header is no tips file: success, no sets.
    // The sets read before a failure stay.
    int Load(const char* path);
    // Selects the set of that name (any case): 1. None has it: 0, and the
    // last set stays selected.
    int OpenSet(const char* name);
    // Selects the first set: 1; 0 when there is none.
    int OpenFirstSet();
    unsigned GetSetCount() const
    {
        return m_sets.GetSize();
    }
    // The set at that position in file order, or null; selects nothing.
    CTipSet* GetSet(unsigned index);

    // "" when no set is selected or it has no tips. The text belongs to the
    // collection.
    const char* GetRandomTip();
    const char* GetNextTip();
    const char* GetPrevTip();
    // The selected set's registry path, under the current user, where its
    // program keeps "Show Tips".
    const char* GetRegPath() const;
    // Tips are never written.
    int Save(const char* path);

  private:
    const char* TipAt(int index);
    void Clear();

    CPtrList<CTipSet> m_sets;
    int m_curTip;
    CTipSet* m_curSet;
};

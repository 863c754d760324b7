// The agent's event log: at most GetSize() entries in memory, oldest first,
// read from and written to "Tarvin.log" as a whole.
#pragma once

#include "platform.h"
#include "PtrList.h"
#include "logline.h"

class CLogFile
{
  public:
    enum LOG_SEVERITY : int
    {
        LOG_INFO = 0,
        LOG_WARNING = 1,
        LOG_MINOR = 2,
        LOG_MAJOR = 3,
        LOG_CRITICAL = 4
    };

    class CLogItem
    {
      public:
        // No time: now, in universal time.
        CLogItem(LOG_SEVERITY severity = LOG_INFO, const char* name = nullptr,
                 const char* description = nullptr, const SYSTEMTIME* time = nullptr);
        CLogItem(const CLogItem& other);
        CLogItem& operator=(const CLogItem& other);
        virtual ~CLogItem()
        {
        }

        void Set(LOG_SEVERITY severity, const char* name, const char* description,
                 const SYSTEMTIME* time = nullptr);
        void Copy(const CLogItem& other);

        void SetSeverity(LOG_SEVERITY severity)
        {
            m_severity = severity;
        }
        LOG_SEVERITY GetSeverity() const
        {
            return m_severity;
        }
        void SetName(const char* name);
        const char* GetName() const
        {
            return m_name;
        }
        void SetDescription(const char* description);
        const char* GetDescription() const
        {
            return m_description;
        }
        // No time: now, in universal time.
        void SetDateTime(const SYSTEMTIME* time);
        const SYSTEMTIME* GetDateTime() const
        {
            return &m_time;
        }

      private:
        SYSTEMTIME m_time;
        char m_description[LOG_DESCRIPTION_SIZE];
        char m_name[LOG_NAME_SIZE];
        LOG_SEVERITY m_severity;
    };

    // Opens fileName at once when one is given.
    explicit CLogFile(unsigned size = 100, const char* fileName = nullptr);
    // Writes the file, then frees the entries.
    virtual ~CLogFile();
    CLogFile(const CLogFile&) = delete;
    CLogFile& operator=(const CLogFile&) = delete;

    // Replaces the entries by the file's: 0 read, 4 the file cannot be opened,
    // 2 its first line is no log header with a version, 3 another version.
    // The name is kept in every case, so the next Flush writes there.
    int Open(const char* fileName);
    // Names the file without reading it; the next Flush creates it.
    void SetFileName(const char* fileName);
    const char* GetFileName() const
    {
        return m_fileName;
    }
    // Writes the whole log through a safe save; nothing is written without a
    // name. Always 0.
    int Flush();
    int Clear();
    // Takes the entry over (it is freed at once when the size is 0) and drops
    // the oldest entry when the log is full. Always 0.
    int Append(CLogItem* item);
    void SetSize(unsigned size);
    unsigned GetSize() const
    {
        return m_size;
    }
    unsigned GetLength() const
    {
        return m_entries.GetSize();
    }
    // Oldest first; null past the end.
    CLogItem* GetLogItem(unsigned index);
    // Calls visit(const CLogItem&) for every entry, oldest first, in one
    // walk (GetLogItem walks from the start each time).
    template <class F> void ForEachEntry(F visit)
    {
        m_entries.ResetCur();
        for (CLogItem* item = m_entries.GetCur(); item; item = m_entries.GetNext())
            visit(*item);
    }

  private:
    void DropOldest();

    char m_fileName[260];
    CPtrList<CLogItem> m_entries;
    unsigned m_size;
};

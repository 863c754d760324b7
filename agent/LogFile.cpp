#include "LogFile.h"
#include "TextFile.h"
#include "safesave.h"

#include "strutils.h"

// --- CLogItem --------------------------------------------------------------

CLogFile::CLogItem::CLogItem(LOG_SEVERITY severity, const char* name, const char* description,
                             const SYSTEMTIME* time)
{
    Set(severity, name, description, time);
}

CLogFile::CLogItem::CLogItem(const CLogItem& other)
{
    Copy(other);
}

CLogFile::CLogItem& CLogFile::CLogItem::operator=(const CLogItem& other)
{
    if (this != &other)
        Copy(other);
    return *this;
}

void CLogFile::CLogItem::Set(LOG_SEVERITY severity, const char* name, const char* description,
                             const SYSTEMTIME* time)
{
    m_severity = severity;
    SetName(name);
    SetDescription(description);
    SetDateTime(time);
}

void CLogFile::CLogItem::Copy(const CLogItem& other)
{
    m_time = other.m_time;
    StrCopy(m_description, other.m_description);
    StrCopy(m_name, other.m_name);
    m_severity = other.m_severity;
}

void CLogFile::CLogItem::SetName(const char* name)
{
    StrCopy(m_name, name ? name : "");
}

void CLogFile::CLogItem::SetDescription(const char* description)
{
    StrCopy(m_description, description ? description : "");
}

void CLogFile::CLogItem::SetDateTime(const SYSTEMTIME* time)
{
    if (time)
        m_time = *time;
    else
        PfGetSystemTime(&m_time);
}

// --- CLogFile --------------------------------------------------------------

CLogFile::CLogFile(unsigned size, const char* fileName) : m_size(size)
{
    m_fileName[0] = '\0';
    if (fileName)
        Open(fileName);
}

CLogFile::~CLogFile()
{
    Flush();
    m_entries.Clear();
}

void CLogFile::SetFileName(const char* fileName)
{
    StrCopy(m_fileName, fileName ? fileName : "");
}

int CLogFile::Open(const char* fileName)
{
    Clear();
    SetFileName(fileName);

    CTextFile file;
    file.Init(1024);
    if (!m_fileName[0] || !file.Open(m_fileName, CTextFile::modeRead))
        return 4;

    char line[CTextFile::lineLog];
    if (!file.ReadLine(line, sizeof(line)))
    {
        // A first line over the limit is no header either.
        return 2;
    }
    int rc = ReadLogHeader(line);
    if (rc != 0)
        return rc;

    bool cut = false;
    while (file.ReadCutLine(line, sizeof(line), &cut))
    {
        tagLOG_LINE item;
        if (!ReadLogItemLine(line, cut, &item))
            continue;
        Append(new CLogItem((LOG_SEVERITY)item.severity, item.name, item.description, &item.time));
    }
    return 0;
}

int CLogFile::Flush()
{
    if (!m_fileName[0])
        return 0;
    CSafeSave save;
    if (!save.Begin(m_fileName))
        return 0;
    save.WriteLine(LOGFILE_HEADER);
    char line[LOG_LINE_SIZE];
    m_entries.ResetCur();
    for (CLogItem* item = m_entries.GetCur(); item; item = m_entries.GetNext())
    {
        FormatLogItemLine(line, sizeof(line), item->GetSeverity(), item->GetName(), item->GetDescription(),
                          item->GetDateTime());
        save.WriteLine(line);
    }
    save.Commit();
    return 0;
}

int CLogFile::Clear()
{
    m_entries.Clear();
    return 0;
}

void CLogFile::DropOldest()
{
    m_entries.Delete(0);
}

int CLogFile::Append(CLogItem* item)
{
    if (!item)
        return 0;
    if (m_size == 0)
    {
        delete item;
        return 0;
    }
    m_entries.Add(item, true);
    while (m_entries.GetSize() > m_size)
        DropOldest();
    return 0;
}

void CLogFile::SetSize(unsigned size)
{
    m_size = size;
    while (m_entries.GetSize() > m_size)
        DropOldest();
}

CLogFile::CLogItem* CLogFile::GetLogItem(unsigned index)
{
    return m_entries.GetAt(index);
}

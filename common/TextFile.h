// Line reader and writer behind every text file of the suite. Files are read
// through one block; each reader passes its own line limit.
#pragma once

#include <stdlib.h>
#include <string.h>
#include "platform.h"

class CFile
{
  public:
    CFile() : m_hFile(PF_INVALID_HANDLE)
    {
    }
    ~CFile()
    {
        Close();
    }
    CFile(const CFile&) = delete;
    CFile& operator=(const CFile&) = delete;

    void Close()
    {
        if (m_hFile != PF_INVALID_HANDLE)
            PfClose(m_hFile);
        m_hFile = PF_INVALID_HANDLE;
    }

  protected:
    PfHandle m_hFile;
};

class CTextFile : public CFile
{
  public:
    enum Mode
    {
        modeRead,
        modeWrite
    };
    // Line limits (maximum line length plus one) of the suite's readers.
    static constexpr int lineLaunch = 1036;
    static constexpr int lineMenu = 1360;
    static constexpr int lineLog = 1360;
    static constexpr int lineKeys = 520;
    static constexpr int lineSchedule = 2048;
    static constexpr int lineTips = 320;
    static constexpr int lineHidden = 640;

    CTextFile()
        : m_lineEnded(0), m_eof(0), m_lastBlock(0), m_buffer(nullptr), m_bufferSize(0), m_readPos(0),
          m_blockPos(0), m_filePos(0), m_valid(0), m_lineCount(0), m_tooLong(0)
    {
    }
    ~CTextFile()
    {
        free(m_buffer);
    }

    void Init(int blockSize)
    {
        free(m_buffer);
        m_bufferSize = blockSize > 0 ? blockSize : 1024;
        m_buffer = (char*)malloc((size_t)m_bufferSize);
        if (!m_buffer)
            abort();
        m_lineEnded = m_eof = m_lastBlock = 0;
        m_readPos = m_blockPos = m_filePos = 0;
        m_valid = (unsigned)m_bufferSize;
        m_lineCount = 0;
        m_tooLong = 0;
    }

    bool Open(const char* path, Mode mode)
    {
        Close();
        m_hFile = mode == modeRead ? PfOpenRead(path) : PfOpenWrite(path);
        return m_hFile != PF_INVALID_HANDLE;
    }

    // Delivers the next non-blank line without its break. False at the end of
    // the file (IsEOF) or when a line does not fit in size - 1 characters
    // (IsLineTooLong): a line followed by a break may hold size - 2 characters,
    // an unterminated last line size - 1.
    bool ReadLine(char* line, int size)
    {
        line[0] = '\0';
        m_lineEnded = 0;
        int len = 0;
        if (!m_buffer || size < 1)
            return false;
        for (;;)
        {
            if ((m_lineCount == 0 || m_readPos >= m_valid) && FillBlock() == 0)
                return Finish(line, len);
            while (m_readPos < m_valid)
            {
                if (len >= size - 1)
                {
                    m_tooLong = 1;
                    return false;
                }
                char c = m_buffer[m_readPos++];
                if (c != '\r' && c != '\n')
                {
                    line[len++] = c;
                    continue;
                }
                m_lineEnded = 1;
                if (m_readPos < m_valid && (m_buffer[m_readPos] == '\r' || m_buffer[m_readPos] == '\n'))
                    m_readPos++;
                if (len > 0)
                {
                    line[len] = '\0';
                    m_lineCount++;
                    if (m_lastBlock && m_readPos >= m_valid)
                        m_eof = 1;
                    return true;
                }
            }
            if (m_lastBlock)
                return Finish(line, len);
        }
    }

    // After a line that was too long: drops the rest of that line, up to and
    // including its break, so that reading goes on with the next line. A
    // reader that keeps the cut part uses this; the rest of the line is no
    // line of its own. Clears IsLineTooLong.
    void SkipRestOfLine()
    {
        m_tooLong = 0;
        if (!m_buffer)
            return;
        for (;;)
        {
            if (m_readPos >= m_valid)
            {
                if (m_lastBlock)
                {
                    m_eof = 1;
                    return;
                }
                if (FillBlock() == 0)
                {
                    m_eof = 1;
                    return;
                }
            }
            char c = m_buffer[m_readPos++];
            if (c != '\r' && c != '\n')
                continue;
            // The break and its partner, as ReadLine takes them; a partner in
            // the next block is an empty line there, which ReadLine skips.
            if (m_readPos < m_valid && (m_buffer[m_readPos] == '\r' || m_buffer[m_readPos] == '\n'))
                m_readPos++;
            m_lineCount++;
            if (m_lastBlock && m_readPos >= m_valid)
                m_eof = 1;
            return;
        }
    }

    // ReadLine for a reader that keeps the cut part of a line over the limit:
    // such a line is cut at size - 1 characters (cut, when given, says so)
    // and the rest of it skipped, so that none of its text is read as a line
    // of its own. False only at the end of the file.
    bool ReadCutLine(char* line, int size, bool* cut)
    {
        if (cut)
            *cut = false;
        if (ReadLine(line, size))
            return true;
        if (IsEOF() || !IsLineTooLong())
            return false;
        line[size - 1] = '\0';
        if (cut)
            *cut = true;
        SkipRestOfLine();
        return true;
    }

    // Writes the text and CR LF; false when the system did not take it all.
    bool WriteLine(const char* text)
    {
        size_t len = strlen(text);
        char small[512];
        if (len + 2 <= sizeof(small))
        {
            memcpy(small, text, len);
            small[len] = '\r';
            small[len + 1] = '\n';
            return PfWrite(m_hFile, small, (unsigned)(len + 2));
        }
        bool ok = PfWrite(m_hFile, text, (unsigned)len);
        return PfWrite(m_hFile, "\r\n", 2) && ok;
    }

    int IsEOF() const
    {
        return m_eof;
    }
    int IsLineTooLong() const
    {
        return m_tooLong;
    }
    int IsLineEnded() const
    {
        return m_lineEnded;
    }
    int GetLineCount() const
    {
        return m_lineCount;
    }

  private:
    // Reads the next block into the buffer; the bytes read, 0 at the end (a
    // failing read counts as the end).
    int FillBlock()
    {
        m_blockPos = m_filePos;
        int got = PfRead(m_hFile, m_buffer, (unsigned)m_bufferSize);
        if (got < 0)
            got = 0;
        m_valid = (unsigned)got;
        m_filePos += (unsigned)got;
        m_readPos = 0;
        if (got < m_bufferSize)
            m_lastBlock = 1;
        return got;
    }

    bool Finish(char* line, int len)
    {
        m_eof = 1;
        line[len] = '\0';
        return len > 0;
    }

    int m_lineEnded;
    int m_eof;
    int m_lastBlock;
    char* m_buffer;
    int m_bufferSize;
    unsigned m_readPos;
    unsigned m_blockPos;
    unsigned m_filePos;
    unsigned m_valid;
    int m_lineCount;
    int m_tooLong;
};

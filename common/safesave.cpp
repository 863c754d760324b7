#include "safesave.h"
#include "strutils.h"

#include <new>
#include <string.h>

CSafeSave::CSafeSave() : m_handle(PF_INVALID_HANDLE), m_buffer(nullptr), m_used(0), m_failed(false)
{
    m_target[0] = '\0';
    m_temp[0] = '\0';
}

CSafeSave::~CSafeSave()
{
    Abandon();
    delete[] m_buffer;
}

bool CSafeSave::Begin(const char* path)
{
    Abandon();
    m_failed = false;
    if (!StrCopy(m_target, path) || !CreateTemp())
    {
        m_failed = true;
        return false;
    }
    // Without memory for the buffer the save still works, only slower.
    if (!m_buffer)
        m_buffer = new (std::nothrow) char[kBufferSize];
    m_used = 0;
    return true;
}

// The temporary file sits in the target's own folder, so that the final
// replace is a rename on one volume. Its name carries the process id
// ("~tv<pid>.tmp", then "~tv<pid>-1.tmp", ...), so programs saving into one
// folder at once start from names of their own; it is short (as few
// characters as the target's own name where the path is near the 259
// character limit), so any path that can be written directly can be saved
// this way too; and it is made only where no file of that name exists. A
// name that exists, or is held open by another program, is passed over.
bool CSafeSave::CreateTemp()
{
    const char* name = m_target;
    for (const char* p = m_target; *p; p++)
    {
        if (*p == '\\' || *p == '/' || *p == ':')
            name = p + 1;
    }
    size_t dirLength = (size_t)(name - m_target);
    size_t room = sizeof(m_temp) - 1 - dirLength;
    if (room < 1)
        return false;
    static const char digits[] = "0123456789abcdefghijklmnopqrstuvwxyz";
    const unsigned pid = (unsigned)PfGetProcessId();
    for (unsigned attempt = 0; attempt < 1000; attempt++)
    {
        char candidate[32];
        StrFormat(candidate, sizeof(candidate), attempt ? "~tv%x-%u.tmp" : "~tv%x.tmp", pid, attempt);
        if (strlen(candidate) > room)
        {
            // Near the limit: "~" and base-36 digits, or the digits alone.
            unsigned n = pid * 1000u + attempt;
            char tail[8];
            size_t len = 0;
            do
            {
                tail[len++] = digits[n % 36];
                n /= 36;
            } while (n && len < sizeof(tail) - 1);
            tail[len] = '\0';
            StrFormat(candidate, sizeof(candidate), room > len ? "~%s" : "%s", tail);
            if (strlen(candidate) > room)
                candidate[room] = '\0';
        }
        if (StrCompareNoCase(candidate, name) == 0)
            continue;
        StrCopyN(m_temp, sizeof(m_temp), m_target, dirLength);
        StrAppend(m_temp, candidate);
        m_handle = PfCreateNew(m_temp);
        if (m_handle != PF_INVALID_HANDLE)
            return true;
        // A folder that cannot be written refuses every name: only a name
        // that is there already is worth passing over.
        if (!PfPathExists(m_temp))
            break;
    }
    m_temp[0] = '\0';
    return false;
}

bool CSafeSave::WriteBuffer()
{
    if (m_used > 0 && !PfWrite(m_handle, m_buffer, m_used))
        m_failed = true;
    m_used = 0;
    return !m_failed;
}

bool CSafeSave::Write(const void* data, unsigned size)
{
    if (m_handle == PF_INVALID_HANDLE || m_failed)
        return false;
    if (size == 0)
        return true;
    if (m_buffer && size <= kBufferSize - m_used)
    {
        memcpy(m_buffer + m_used, data, size);
        m_used += size;
        return true;
    }
    if (!WriteBuffer())
        return false;
    if (m_buffer && size < kBufferSize)
    {
        memcpy(m_buffer, data, size);
        m_used = size;
        return true;
    }
    if (!PfWrite(m_handle, data, size))
        m_failed = true;
    return !m_failed;
}

bool CSafeSave::WriteLine(const char* text)
{
    Write(text, (unsigned)strlen(text));
    return Write("\r\n", 2);
}

bool CSafeSave::Commit()
{
    if (m_handle == PF_INVALID_HANDLE)
        return false;
    if (!m_failed)
        WriteBuffer();
    if (!m_failed && !PfFlush(m_handle))
        m_failed = true;
    PfClose(m_handle);
    m_handle = PF_INVALID_HANDLE;
    if (!m_failed && !PfReplaceFile(m_temp, m_target))
        m_failed = true;
    if (m_failed)
    {
        PfDeleteFile(m_temp);
        return false;
    }
    return true;
}

void CSafeSave::Abandon()
{
    if (m_handle == PF_INVALID_HANDLE)
        return;
    m_used = 0;
    PfClose(m_handle);
    m_handle = PF_INVALID_HANDLE;
    PfDeleteFile(m_temp);
}

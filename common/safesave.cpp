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
    // The temporary file sits in the target's own folder so that the final
    // replace is a rename on one volume.
    if (!StrCopy(m_target, path) || !StrFormat(m_temp, sizeof(m_temp), "%s.tv~", path))
    {
        m_failed = true;
        return false;
    }
    m_handle = PfOpenWrite(m_temp);
    if (m_handle == PF_INVALID_HANDLE)
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

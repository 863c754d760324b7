#include "safesave.h"
#include "strutils.h"

CSafeSave::CSafeSave() : m_handle(PF_INVALID_HANDLE), m_failed(false)
{
    m_target[0] = '\0';
    m_temp[0] = '\0';
}

CSafeSave::~CSafeSave()
{
    Abandon();
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
    return true;
}

bool CSafeSave::Write(const void* data, unsigned size)
{
    if (m_handle == PF_INVALID_HANDLE || m_failed)
        return false;
    if (size > 0 && !PfWrite(m_handle, data, size))
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
    PfClose(m_handle);
    m_handle = PF_INVALID_HANDLE;
    PfDeleteFile(m_temp);
}

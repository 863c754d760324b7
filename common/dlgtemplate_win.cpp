#include "dlgtemplate.h"

#include <string.h>

CDlgTemplate::CDlgTemplate(void* buffer, size_t size)
    : m_buffer((BYTE*)buffer), m_size(size), m_used(0), m_ok(buffer && ((UINT_PTR)buffer & 3) == 0)
{
}

bool CDlgTemplate::Align(size_t to)
{
    while (m_ok && m_used % to != 0)
        PutWord(0);
    return m_ok;
}

bool CDlgTemplate::Put(const void* data, size_t size)
{
    if (!m_ok || size > m_size - m_used)
    {
        m_ok = false;
        return false;
    }
    memcpy(m_buffer + m_used, data, size);
    m_used += size;
    return true;
}

bool CDlgTemplate::PutWord(WORD value)
{
    return Put(&value, sizeof(value));
}

// Texts are stored wide and terminated.
bool CDlgTemplate::PutText(const char* text)
{
    if (!text || !text[0])
        return PutWord(0);
    int chars = MultiByteToWideChar(CP_ACP, 0, text, -1, nullptr, 0);
    if (chars <= 0 || (size_t)chars > (m_size - m_used) / sizeof(WCHAR) || !m_ok)
    {
        m_ok = false;
        return false;
    }
    MultiByteToWideChar(CP_ACP, 0, text, -1, (WCHAR*)(m_buffer + m_used), chars);
    m_used += (size_t)chars * sizeof(WCHAR);
    return true;
}

bool CDlgTemplate::Begin(DWORD style, DWORD exStyle, short x, short y, short cx, short cy,
                         const char* className, const char* title, WORD pointSize, const char* face)
{
    m_used = 0;
    m_ok = m_buffer && ((UINT_PTR)m_buffer & 3) == 0;
    DLGTEMPLATE header = {style, exStyle, 0, x, y, cx, cy};
    Put(&header, sizeof(header));
    PutWord(0); // no menu
    PutText(className);
    PutText(title);
    if (style & DS_SETFONT)
    {
        PutWord(pointSize);
        PutText(face ? face : "MS Shell Dlg");
    }
    return m_ok;
}

bool CDlgTemplate::AddControl(DWORD style, DWORD exStyle, short x, short y, short cx, short cy, WORD id,
                              const char* className, const char* text)
{
    if (!m_ok || m_used < sizeof(DLGTEMPLATE))
        return m_ok = false;
    Align(sizeof(DWORD));
    DLGITEMTEMPLATE item = {style, exStyle, x, y, cx, cy, id};
    Put(&item, sizeof(item));
    PutText(className);
    PutText(text);
    PutWord(0); // no creation data
    if (!m_ok)
        return false;
    ((DLGTEMPLATE*)m_buffer)->cdit++;
    return true;
}

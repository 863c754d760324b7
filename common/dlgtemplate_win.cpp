// In-memory dialog templates: the classic DLGTEMPLATE layout, texts in UTF-16.
#include "dlgtemplate.h"

CDlgTemplate::CDlgTemplate() : m_used(0), m_countAt(0), m_begun(false), m_overflow(false)
{
}

bool CDlgTemplate::PutWord(WORD w)
{
    if (m_used >= kCapacity)
    {
        m_overflow = true;
        return false;
    }
    ((WORD*)m_store)[m_used++] = w;
    return true;
}

bool CDlgTemplate::PutDword(DWORD d)
{
    return PutWord(LOWORD(d)) && PutWord(HIWORD(d));
}

bool CDlgTemplate::AlignDword()
{
    return (m_used % 2 == 0) || PutWord(0);
}

// A zero-terminated UTF-16 text; null or empty writes just the terminator.
bool CDlgTemplate::PutString(const char* text)
{
    if (text && *text)
    {
        size_t room = kCapacity - m_used;
        int n = MultiByteToWideChar(CP_ACP, 0, text, -1, nullptr, 0);
        if (n <= 0 || (size_t)n > room)
        {
            m_overflow = true;
            return false;
        }
        MultiByteToWideChar(CP_ACP, 0, text, -1, (WCHAR*)((WORD*)m_store + m_used), (int)room);
        m_used += (size_t)n;
        return true;
    }
    return PutWord(0);
}

bool CDlgTemplate::Begin(DWORD style, DWORD exStyle, short x, short y, short cx, short cy, const char* title,
                         const char* className, WORD pointSize, const char* font)
{
    m_used = 0;
    m_overflow = false;
    m_begun = true;
    PutDword(style);
    PutDword(exStyle);
    m_countAt = m_used;
    PutWord(0);
    PutWord((WORD)x);
    PutWord((WORD)y);
    PutWord((WORD)cx);
    PutWord((WORD)cy);
    PutWord(0); // no menu
    PutString(className);
    PutString(title);
    if (style & DS_SETFONT)
    {
        PutWord(pointSize);
        PutString(font ? font : "MS Shell Dlg");
    }
    return !m_overflow;
}

bool CDlgTemplate::AddItem(DWORD style, DWORD exStyle, short x, short y, short cx, short cy, WORD id,
                           WORD classAtom, const char* className, const char* text)
{
    if (!m_begun || m_overflow)
        return false;
    AlignDword();
    PutDword(style);
    PutDword(exStyle);
    PutWord((WORD)x);
    PutWord((WORD)y);
    PutWord((WORD)cx);
    PutWord((WORD)cy);
    PutWord(id);
    if (classAtom)
    {
        PutWord(0xFFFF);
        PutWord(classAtom);
    }
    else
        PutString(className);
    PutString(text);
    PutWord(0); // no creation data
    if (m_overflow)
        return false;
    WORD* count = (WORD*)m_store + m_countAt;
    (*count)++;
    return true;
}

LPCDLGTEMPLATEA CDlgTemplate::Get() const
{
    if (!m_begun || m_overflow)
        return nullptr;
    return (LPCDLGTEMPLATEA)m_store;
}

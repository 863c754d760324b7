// In-memory dialog templates: every dialog built in code writes its template
// through this builder into a fixed buffer of the caller's. The builder keeps
// the alignment the system needs (DWORD for the header and each item, WORD
// for texts) and never writes past the buffer: once something does not fit,
// Ok() stays false and the template must not be used.
#pragma once

#include <windows.h>

class CDlgTemplate
{
  public:
    // The buffer must be DWORD-aligned; an unaligned one is refused (Ok()
    // is false).
    CDlgTemplate(void* buffer, size_t size);
    CDlgTemplate(const CDlgTemplate&) = delete;
    CDlgTemplate& operator=(const CDlgTemplate&) = delete;

    // The header: no menu; className null for the standard dialog class;
    // with DS_SETFONT in style, pointSize and face name the font. Starts the
    // template afresh.
    bool Begin(DWORD style, DWORD exStyle, short x, short y, short cx, short cy, const char* className,
               const char* title, WORD pointSize = 0, const char* face = nullptr);
    // One control; className is a window class name ("BUTTON", "EDIT",
    // "SysListView32" ...). No creation data.
    bool AddControl(DWORD style, DWORD exStyle, short x, short y, short cx, short cy, WORD id,
                    const char* className, const char* text);

    bool Ok() const
    {
        return m_ok;
    }
    // The template for DialogBoxIndirectParam and CreateDialogIndirectParam;
    // null unless Ok().
    LPCDLGTEMPLATEA Get() const
    {
        return m_ok && m_used ? (LPCDLGTEMPLATEA)m_buffer : nullptr;
    }
    size_t GetSize() const
    {
        return m_used;
    }

  private:
    bool Align(size_t to);
    bool Put(const void* data, size_t size);
    bool PutWord(WORD value);
    bool PutText(const char* text);

    BYTE* m_buffer;
    size_t m_size;
    size_t m_used;
    bool m_ok;
};

// Dialog templates built in memory, for dialogs that must work in any
// program, whatever resources it carries. The builder writes into its own
// fixed buffer with the alignment the dialog manager expects and remembers an
// overflow: a template that did not fit is never handed out.
#pragma once

#include <windows.h>

class CDlgTemplate
{
  public:
    CDlgTemplate();
    CDlgTemplate(const CDlgTemplate&) = delete;
    CDlgTemplate& operator=(const CDlgTemplate&) = delete;

    // Starts the template afresh. className may be null (the standard dialog
    // class); a font is used only when style has DS_SETFONT.
    bool Begin(DWORD style, DWORD exStyle, short x, short y, short cx, short cy, const char* title,
               const char* className, WORD pointSize = 0, const char* font = nullptr);
    // One control in dialog units. classAtom is one of the predefined
    // control atoms (0x0080 button, 0x0081 edit, 0x0082 static ...); with 0,
    // className names the class.
    bool AddItem(DWORD style, DWORD exStyle, short x, short y, short cx, short cy, WORD id, WORD classAtom,
                 const char* className, const char* text);

    // True when something did not fit since Begin.
    bool Overflowed() const
    {
        return m_overflow;
    }
    // The template, or null after an overflow or before Begin.
    LPCDLGTEMPLATEA Get() const;
    size_t Size() const
    {
        return m_used * sizeof(WORD);
    }

    static const size_t kCapacity = 4096; // in WORDs

  private:
    bool AlignDword();
    bool PutWord(WORD w);
    bool PutDword(DWORD d);
    bool PutString(const char* text);

    // DWORD-aligned storage, addressed as WORDs.
    DWORD m_store[kCapacity / 2];
    size_t m_used;
    size_t m_countAt; // position of the control count in the header
    bool m_begun;
    bool m_overflow;
};

// Small owners of Win32 handles and GDI objects: each releases its handle
// when it goes, cannot be copied and never throws.
#pragma once

#include <windows.h>
#include <commctrl.h>

// Owns one handle of type T and frees it with Free when it goes (or is
// replaced); a null handle is never freed.
template <class T, class Free> class CHandleHolder
{
  public:
    explicit CHandleHolder(T handle = nullptr) : m_handle(handle)
    {
    }
    ~CHandleHolder()
    {
        Reset(nullptr);
    }
    CHandleHolder(const CHandleHolder&) = delete;
    CHandleHolder& operator=(const CHandleHolder&) = delete;

    T Get() const
    {
        return m_handle;
    }
    void Reset(T handle)
    {
        if (m_handle)
            Free()(m_handle);
        m_handle = handle;
    }
    // Gives up ownership, for a caller that frees the handle in its own order.
    T Release()
    {
        T handle = m_handle;
        m_handle = nullptr;
        return handle;
    }

  private:
    T m_handle;
};

// Frees a handle with the system function F, as a holder's Free.
template <class T, BOOL(WINAPI* F)(T)> struct FreeWith
{
    void operator()(T handle) const
    {
        F(handle);
    }
};

// The screen's DC goes back with ReleaseDC.
struct ReleaseScreenDC
{
    void operator()(HDC hdc) const
    {
        ReleaseDC(nullptr, hdc);
    }
};

// One GDI object (brush, pen, bitmap, font), deleted.
template <class T> using CGdiObject = CHandleHolder<T, FreeWith<HGDIOBJ, DeleteObject>>;
// A kernel object handle (mutex, semaphore, process), closed.
using CKernelHandle = CHandleHolder<HANDLE, FreeWith<HANDLE, CloseHandle>>;
// An image list that no control holds any more when it goes: controls that
// show it must be told to let go first (ReleaseListViewImages).
using CImageList = CHandleHolder<HIMAGELIST, FreeWith<HIMAGELIST, ImageList_Destroy>>;
// An icon made for the holder alone (loaded from a file or resource with
// LoadImage, extracted, or shrunk). Shared icons (LoadIcon, LR_SHARED) need
// no holder.
using CIcon = CHandleHolder<HICON, FreeWith<HICON, DestroyIcon>>;

// A memory DC compatible with another, deleted when it goes.
class CMemoryDC : public CHandleHolder<HDC, FreeWith<HDC, DeleteDC>>
{
  public:
    explicit CMemoryDC(HDC compatible) : CHandleHolder(CreateCompatibleDC(compatible))
    {
    }
};

// The screen's DC, released when it goes.
class CScreenDC : public CHandleHolder<HDC, ReleaseScreenDC>
{
  public:
    CScreenDC() : CHandleHolder(GetDC(nullptr))
    {
    }
};

// Selects an object into a DC and puts the previous one back on every path.
// A null object selects nothing.
class CSelectObject
{
  public:
    CSelectObject(HDC hdc, HGDIOBJ obj) : m_hdc(hdc), m_old(obj ? SelectObject(hdc, obj) : nullptr)
    {
    }
    ~CSelectObject()
    {
        if (m_old)
            SelectObject(m_hdc, m_old);
    }
    CSelectObject(const CSelectObject&) = delete;
    CSelectObject& operator=(const CSelectObject&) = delete;

  private:
    HDC m_hdc;
    HGDIOBJ m_old;
};

// An open registry key, closed when it goes. Open and Create return the
// system's result; the key is held only when it is ERROR_SUCCESS.
class CRegKey
{
  public:
    CRegKey() = default;
    ~CRegKey()
    {
        Close();
    }
    CRegKey(const CRegKey&) = delete;
    CRegKey& operator=(const CRegKey&) = delete;

    LONG Open(HKEY root, const char* subkey, REGSAM access)
    {
        Close();
        LONG rc = RegOpenKeyExA(root, subkey, 0, access, &m_key);
        if (rc != ERROR_SUCCESS)
            m_key = nullptr;
        return rc;
    }
    LONG Create(HKEY root, const char* subkey, REGSAM access)
    {
        Close();
        LONG rc = RegCreateKeyExA(root, subkey, 0, nullptr, REG_OPTION_NON_VOLATILE, access, nullptr, &m_key,
                                  nullptr);
        if (rc != ERROR_SUCCESS)
            m_key = nullptr;
        return rc;
    }
    HKEY Get() const
    {
        return m_key;
    }
    void Close()
    {
        if (m_key)
            RegCloseKey(m_key);
        m_key = nullptr;
    }

  private:
    HKEY m_key = nullptr;
};

// Text colour, background colour and mode, restored on every path.
class CTextState
{
  public:
    explicit CTextState(HDC hdc)
        : m_hdc(hdc), m_text(GetTextColor(hdc)), m_back(GetBkColor(hdc)), m_mode(GetBkMode(hdc))
    {
    }
    ~CTextState()
    {
        SetTextColor(m_hdc, m_text);
        SetBkColor(m_hdc, m_back);
        SetBkMode(m_hdc, m_mode);
    }
    CTextState(const CTextState&) = delete;
    CTextState& operator=(const CTextState&) = delete;

  private:
    HDC m_hdc;
    COLORREF m_text;
    COLORREF m_back;
    int m_mode;
};

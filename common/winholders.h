// Small owners of Win32 handles and GDI objects: each releases its handle
// when it goes, cannot be copied and never throws.
#pragma once

#include <windows.h>
#include <commctrl.h>

// Owns one GDI object (brush, pen, bitmap, font) and deletes it.
template <class T> class CGdiObject
{
  public:
    explicit CGdiObject(T handle = nullptr) : m_handle(handle)
    {
    }
    ~CGdiObject()
    {
        Reset(nullptr);
    }
    CGdiObject(const CGdiObject&) = delete;
    CGdiObject& operator=(const CGdiObject&) = delete;

    T Get() const
    {
        return m_handle;
    }
    void Reset(T handle)
    {
        if (m_handle)
            DeleteObject(m_handle);
        m_handle = handle;
    }

  private:
    T m_handle;
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

// A kernel object handle (mutex, semaphore, process), closed when it goes.
class CKernelHandle
{
  public:
    explicit CKernelHandle(HANDLE handle = nullptr) : m_handle(handle)
    {
    }
    ~CKernelHandle()
    {
        if (m_handle)
            CloseHandle(m_handle);
    }
    CKernelHandle(const CKernelHandle&) = delete;
    CKernelHandle& operator=(const CKernelHandle&) = delete;

    HANDLE Get() const
    {
        return m_handle;
    }

  private:
    HANDLE m_handle;
};

// An image list that no control holds any more when it goes: controls that
// show it must be told to let go first (ReleaseListViewImages).
class CImageList
{
  public:
    explicit CImageList(HIMAGELIST list = nullptr) : m_list(list)
    {
    }
    ~CImageList()
    {
        Reset(nullptr);
    }
    CImageList(const CImageList&) = delete;
    CImageList& operator=(const CImageList&) = delete;

    HIMAGELIST Get() const
    {
        return m_list;
    }
    void Reset(HIMAGELIST list)
    {
        if (m_list)
            ImageList_Destroy(m_list);
        m_list = list;
    }
    // Gives up ownership, for a caller that destroys the list in its own order.
    HIMAGELIST Release()
    {
        HIMAGELIST list = m_list;
        m_list = nullptr;
        return list;
    }

  private:
    HIMAGELIST m_list;
};

// An icon made for the holder alone (loaded from a file or resource with
// LoadImage, extracted, or shrunk), destroyed when it goes. Shared icons
// (LoadIcon, LR_SHARED) need no holder.
class CIcon
{
  public:
    explicit CIcon(HICON icon = nullptr) : m_icon(icon)
    {
    }
    ~CIcon()
    {
        Reset(nullptr);
    }
    CIcon(const CIcon&) = delete;
    CIcon& operator=(const CIcon&) = delete;

    HICON Get() const
    {
        return m_icon;
    }
    void Reset(HICON icon)
    {
        if (m_icon)
            DestroyIcon(m_icon);
        m_icon = icon;
    }

  private:
    HICON m_icon;
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

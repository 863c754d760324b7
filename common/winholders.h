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

// Helpers shared by the Win32 tests: waiting with the message loop running,
// plain test windows, finding top-level windows, the test program's folder,
// values under HKCU, icons made from pixels, and pixels read back from a
// bitmap, a window or the screen.
#pragma once

#include <windows.h>
#include <string.h>
#include <functional>
#include <string>
#include <vector>

#include <gtest/gtest.h>

namespace wintest
{

inline void PumpPending()
{
    MSG msg;
    while (PeekMessageA(&msg, NULL, 0, 0, PM_REMOVE))
    {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
}

// Runs this thread's messages until cond holds or timeoutMs has passed;
// cond is tried once more at the end.
inline bool PumpUntil(const std::function<bool()>& cond, DWORD timeoutMs = 5000)
{
    DWORD start = GetTickCount();
    for (;;)
    {
        PumpPending();
        if (cond())
            return true;
        if (GetTickCount() - start >= timeoutMs)
            return cond();
        MsgWaitForMultipleObjects(0, NULL, FALSE, 20, QS_ALLINPUT);
    }
}

// The folder of the test program, with a trailing backslash.
inline std::string ProgramDir()
{
    char path[MAX_PATH];
    DWORD n = GetModuleFileNameA(NULL, path, sizeof(path));
    if (n == 0 || n >= sizeof(path))
        return "";
    char* slash = strrchr(path, '\\');
    if (slash)
        slash[1] = '\0';
    return path;
}

// A window's text ("<none>" without a window).
inline std::string TextOf(HWND hwnd)
{
    char text[1024] = "<none>";
    if (hwnd)
        GetWindowTextA(hwnd, text, sizeof(text));
    return text;
}

// '1' for each of the windows that is visible, '0' for each that is not.
inline std::string Shown(std::initializer_list<HWND> windows)
{
    std::string out;
    for (HWND w : windows)
        out += IsWindowVisible(w) ? '1' : '0';
    return out;
}

struct FindTopData
{
    DWORD pid;
    const char* className;
    const char* title;
    bool includeHidden;
    HWND found;
};

inline BOOL CALLBACK FindTopProc(HWND hwnd, LPARAM lParam)
{
    FindTopData* f = (FindTopData*)lParam;
    DWORD pid = 0;
    GetWindowThreadProcessId(hwnd, &pid);
    if ((f->pid && pid != f->pid) || (!f->includeHidden && !IsWindowVisible(hwnd)))
        return TRUE;
    char buf[256] = "";
    if (f->className && (!GetClassNameA(hwnd, buf, sizeof(buf)) || strcmp(buf, f->className) != 0))
        return TRUE;
    buf[0] = '\0';
    if (f->title && (GetWindowTextA(hwnd, buf, sizeof(buf)) < 0 || strcmp(buf, f->title) != 0))
        return TRUE;
    f->found = hwnd;
    return FALSE;
}

// A top-level window of that process (0: any) with that class and title
// (null: any), or null.
inline HWND FindTop(DWORD pid, const char* className, const char* title, bool includeHidden = true)
{
    FindTopData f = {pid, className, title, includeHidden, NULL};
    EnumWindows(FindTopProc, (LPARAM)&f);
    return f.found;
}

// A plain window class of that name and procedure, registered once.
inline const char* TestClass(const char* name = "TVTestWindow", WNDPROC proc = DefWindowProcA)
{
    WNDCLASSA wc = {};
    wc.lpfnWndProc = proc;
    wc.hInstance = GetModuleHandleA(NULL);
    wc.hCursor = LoadCursorA(NULL, (LPCSTR)IDC_ARROW);
    wc.hbrBackground = (HBRUSH)(COLOR_BTNFACE + 1);
    wc.lpszClassName = name;
    RegisterClassA(&wc); // fails harmlessly once registered
    return name;
}

// A window of this process, destroyed with the object. An overlapped one is
// shown (an owned one without taking the activation); other styles are
// created as given.
class TestWindow
{
  public:
    explicit TestWindow(const char* title, HWND owner = NULL, DWORD exStyle = 0, int x = 100, int y = 100,
                        DWORD style = WS_OVERLAPPEDWINDOW, int cx = 300, int cy = 200,
                        const char* className = TestClass())
    {
        m_hwnd = CreateWindowExA(exStyle, className, title, style, x, y, cx, cy, owner, NULL,
                                 GetModuleHandleA(NULL), NULL);
        if (m_hwnd && style == WS_OVERLAPPEDWINDOW)
            ShowWindow(m_hwnd, owner ? SW_SHOWNOACTIVATE : SW_SHOW);
        PumpPending();
    }
    ~TestWindow()
    {
        if (m_hwnd && IsWindow(m_hwnd))
            DestroyWindow(m_hwnd);
        PumpPending();
    }
    TestWindow(const TestWindow&) = delete;
    TestWindow& operator=(const TestWindow&) = delete;

    HWND Get() const
    {
        return m_hwnd;
    }
    operator HWND() const
    {
        return m_hwnd;
    }

  private:
    HWND m_hwnd;
};

// Values under HKEY_CURRENT_USER; the key is made when missing.
inline bool SetRegValue(const char* key, const char* name, DWORD type, const void* data, DWORD size)
{
    HKEY h;
    LONG rc = RegCreateKeyExA(HKEY_CURRENT_USER, key, 0, NULL, 0, KEY_SET_VALUE, NULL, &h, NULL);
    EXPECT_EQ(ERROR_SUCCESS, rc) << key;
    if (rc != ERROR_SUCCESS)
        return false;
    rc = RegSetValueExA(h, name, 0, type, (const BYTE*)data, size);
    RegCloseKey(h);
    return rc == ERROR_SUCCESS;
}

inline bool SetRegDword(const char* key, const char* name, DWORD value)
{
    return SetRegValue(key, name, REG_DWORD, &value, sizeof(value));
}

inline bool SetRegString(const char* key, const char* name, const std::string& value, DWORD type = REG_SZ)
{
    return SetRegValue(key, name, type, value.c_str(), (DWORD)value.size() + 1);
}

inline void DeleteRegValue(const char* key, const char* name)
{
    HKEY h;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, key, 0, KEY_SET_VALUE, &h) != ERROR_SUCCESS)
        return;
    RegDeleteValueA(h, name);
    RegCloseKey(h);
}

// A DWORD under HKEY_CURRENT_USER, or -1 when it is missing.
inline long long StoredDword(const char* key, const char* name)
{
    DWORD value = 0, size = sizeof(value);
    if (RegGetValueA(HKEY_CURRENT_USER, key, name, RRF_RT_REG_DWORD, NULL, &value, &size) != ERROR_SUCCESS)
        return -1;
    return (long long)value;
}

// Values under HKEY_CURRENT_USER as they were (or their absence), put back
// when the object goes, the last saved first.
class RegRestorer
{
  public:
    RegRestorer() = default;
    ~RegRestorer()
    {
        for (auto it = m_saved.rbegin(); it != m_saved.rend(); ++it)
        {
            if (it->present)
                SetRegValue(it->key.c_str(), it->name.c_str(), it->type, it->data.data(),
                            (DWORD)it->data.size());
            else
                DeleteRegValue(it->key.c_str(), it->name.c_str());
        }
    }
    RegRestorer(const RegRestorer&) = delete;
    RegRestorer& operator=(const RegRestorer&) = delete;

    void Save(const char* key, const char* name)
    {
        Saved saved = {key, name, false, 0, {}};
        HKEY h;
        if (RegOpenKeyExA(HKEY_CURRENT_USER, key, 0, KEY_QUERY_VALUE, &h) == ERROR_SUCCESS)
        {
            DWORD cb = 0;
            if (RegQueryValueExA(h, name, NULL, &saved.type, NULL, &cb) == ERROR_SUCCESS)
            {
                saved.data.resize(cb);
                saved.present =
                    RegQueryValueExA(h, name, NULL, &saved.type, saved.data.data(), &cb) == ERROR_SUCCESS;
            }
            RegCloseKey(h);
        }
        m_saved.push_back(saved);
    }
    void SetDword(const char* key, const char* name, DWORD value)
    {
        Save(key, name);
        SetRegDword(key, name, value);
    }
    // Saves the value and removes it, for a test that needs it missing.
    void Clear(const char* key, const char* name)
    {
        Save(key, name);
        DeleteRegValue(key, name);
    }

  private:
    struct Saved
    {
        std::string key;
        std::string name;
        bool present;
        DWORD type;
        std::vector<BYTE> data;
    };
    std::vector<Saved> m_saved;
};

// The centre of a window in screen coordinates.
inline POINT CentreOf(HWND hwnd)
{
    RECT rc;
    GetWindowRect(hwnd, &rc);
    POINT pt = {(rc.left + rc.right) / 2, (rc.top + rc.bottom) / 2};
    return pt;
}

// A size x size icon; colour(x, y) gives 0x00RRGGBB, or kTransparent.
const DWORD kTransparent = 0xFFFFFFFF;
inline HICON MakeIcon(int size, const std::function<DWORD(int, int)>& colour)
{
    BITMAPINFO bi = {};
    bi.bmiHeader.biSize = sizeof(bi.bmiHeader);
    bi.bmiHeader.biWidth = size;
    bi.bmiHeader.biHeight = -size;
    bi.bmiHeader.biPlanes = 1;
    bi.bmiHeader.biBitCount = 32;
    bi.bmiHeader.biCompression = BI_RGB;
    void* bits = NULL;
    HBITMAP colourBmp = CreateDIBSection(NULL, &bi, DIB_RGB_COLORS, &bits, NULL, 0);
    // Mask: 1 = transparent, rows padded to 16 bits; black under it.
    const int stride = (size + 15) / 16 * 2;
    std::vector<BYTE> mask((size_t)stride * size, 0);
    for (int y = 0; y < size; y++)
        for (int x = 0; x < size; x++)
        {
            DWORD c = colour(x, y);
            if (c == kTransparent)
                mask[y * stride + x / 8] |= (BYTE)(0x80 >> (x % 8));
            ((DWORD*)bits)[y * size + x] = c == kTransparent ? 0 : c;
        }
    HBITMAP maskBmp = CreateBitmap(size, size, 1, 1, mask.data());
    ICONINFO ii = {TRUE, 0, 0, maskBmp, colourBmp};
    HICON icon = CreateIconIndirect(&ii);
    DeleteObject(colourBmp);
    DeleteObject(maskBmp);
    return icon;
}

// Pixels read back: 0x00RRGGBB, top-down.
struct Pixels
{
    int width = 0;
    int height = 0;
    std::vector<DWORD> bits;

    bool operator==(const Pixels& other) const
    {
        return width == other.width && height == other.height && bits == other.bits;
    }
    bool operator!=(const Pixels& other) const
    {
        return !(*this == other);
    }
    COLORREF At(int x, int y) const
    {
        DWORD p = bits[(size_t)y * width + x];
        return RGB((p >> 16) & 0xFF, (p >> 8) & 0xFF, p & 0xFF);
    }
    // Pixels of that colour inside rc (clipped to the image).
    int Count(const RECT& rc, COLORREF colour) const
    {
        int n = 0;
        for (int y = rc.top; y < rc.bottom && y < height; y++)
            for (int x = rc.left; x < rc.right && x < width; x++)
                n += At(x, y) == colour;
        return n;
    }
    // The left- (or right-) most column of rc holding the colour; -1 when none.
    int Column(const RECT& rc, COLORREF colour, bool last = false) const
    {
        for (int i = 0; i < rc.right - rc.left; i++)
        {
            int x = last ? rc.right - 1 - i : rc.left + i;
            if (Count({x, rc.top, x + 1, rc.bottom}, colour))
                return x;
        }
        return -1;
    }
};

// A 32-bit top-down memory bitmap whose pixels can be read back.
class Canvas
{
  public:
    Canvas(int width, int height, COLORREF fill = RGB(255, 0, 255))
        : m_width(width), m_height(height), m_dc(CreateCompatibleDC(nullptr))
    {
        BITMAPINFO bmi = {};
        bmi.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
        bmi.bmiHeader.biWidth = width;
        bmi.bmiHeader.biHeight = -height;
        bmi.bmiHeader.biPlanes = 1;
        bmi.bmiHeader.biBitCount = 32;
        bmi.bmiHeader.biCompression = BI_RGB;
        void* bits = nullptr;
        m_bitmap = CreateDIBSection(m_dc, &bmi, DIB_RGB_COLORS, &bits, nullptr, 0);
        m_bits = (DWORD*)bits;
        m_old = SelectObject(m_dc, m_bitmap);
        RECT rc = {0, 0, width, height};
        HBRUSH brush = CreateSolidBrush(fill);
        FillRect(m_dc, &rc, brush);
        DeleteObject(brush);
    }
    ~Canvas()
    {
        SelectObject(m_dc, m_old);
        DeleteObject(m_bitmap);
        DeleteDC(m_dc);
    }
    Canvas(const Canvas&) = delete;
    Canvas& operator=(const Canvas&) = delete;

    HDC Dc() const
    {
        return m_dc;
    }
    int Width() const
    {
        return m_width;
    }
    int Height() const
    {
        return m_height;
    }
    Pixels Read() const
    {
        GdiFlush();
        Pixels out;
        out.width = m_width;
        out.height = m_height;
        out.bits.assign((size_t)m_width * m_height, 0);
        if (m_bits)
            out.bits.assign(m_bits, m_bits + (size_t)m_width * m_height);
        return out;
    }
    COLORREF At(int x, int y) const
    {
        return Read().At(x, y);
    }
    int Count(const RECT& rc, COLORREF colour) const
    {
        return Read().Count(rc, colour);
    }

  private:
    int m_width;
    int m_height;
    HDC m_dc;
    HBITMAP m_bitmap;
    HGDIOBJ m_old;
    DWORD* m_bits;
};

// The client area of a window as it paints it through the printing path
// every window supports (printed non-null), else a rectangle of the screen.
inline Pixels GrabPixels(HWND printed, int x, int y, int w, int h)
{
    Canvas canvas(w, h, RGB(0, 0, 0));
    if (printed)
        PrintWindow(printed, canvas.Dc(), PW_CLIENTONLY);
    else
    {
        HDC screen = GetDC(NULL);
        BitBlt(canvas.Dc(), 0, 0, w, h, screen, x, y, SRCCOPY);
        ReleaseDC(NULL, screen);
    }
    return canvas.Read();
}

inline Pixels PrintedClient(HWND hwnd)
{
    RECT rc;
    GetClientRect(hwnd, &rc);
    return GrabPixels(hwnd, 0, 0, rc.right, rc.bottom);
}

// The files (not folders) of a folder whose names match the pattern.
inline int CountFiles(const std::string& folder, const char* pattern = "*")
{
    int count = 0;
    WIN32_FIND_DATAA found;
    HANDLE find = FindFirstFileA((folder + "\\" + pattern).c_str(), &found);
    if (find == INVALID_HANDLE_VALUE)
        return 0;
    do
        count += (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) ? 0 : 1;
    while (FindNextFileA(find, &found));
    FindClose(find);
    return count;
}

} // namespace wintest

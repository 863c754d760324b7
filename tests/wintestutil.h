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

// Pixels read back: 0x00RRGGBB, top-down.
struct Pixels
{
    int width = 0;
    int height = 0;
    std::vector<DWORD> bits;

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
};

// The client area of a window as it paints it through the printing path
// every window supports, read from a 32-bit top-down memory bitmap.
inline Pixels PrintedClient(HWND hwnd)
{
    RECT rc;
    GetClientRect(hwnd, &rc);
    Pixels out;
    out.width = rc.right;
    out.height = rc.bottom;
    BITMAPINFO bmi = {};
    bmi.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    bmi.bmiHeader.biWidth = rc.right;
    bmi.bmiHeader.biHeight = -rc.bottom;
    bmi.bmiHeader.biPlanes = 1;
    bmi.bmiHeader.biBitCount = 32;
    bmi.bmiHeader.biCompression = BI_RGB;
    HDC dc = CreateCompatibleDC(nullptr);
    void* bits = nullptr;
    HBITMAP bitmap = CreateDIBSection(dc, &bmi, DIB_RGB_COLORS, &bits, nullptr, 0);
    HGDIOBJ old = SelectObject(dc, bitmap);
    PrintWindow(hwnd, dc, PW_CLIENTONLY);
    GdiFlush();
    out.bits.assign((size_t)rc.right * rc.bottom, 0);
    if (bits)
        out.bits.assign((DWORD*)bits, (DWORD*)bits + (size_t)rc.right * rc.bottom);
    SelectObject(dc, old);
    DeleteObject(bitmap);
    DeleteDC(dc);
    return out;
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

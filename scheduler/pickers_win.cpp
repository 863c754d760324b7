#include <windows.h>
#include <commctrl.h>
#include <stdlib.h>

#include "pickers.h"
#include "ScheduledTask.h"

void SetPickerTime(HWND picker, const CTime& t)
{
    SYSTEMTIME st = *t.GetSystemTimePtr();
    if (!IsValidTaskTime(t))
    {
        SYSTEMTIME now;
        GetLocalTime(&now);
        if (st.wHour > 23 || st.wMinute > 59)
            st = now;
        else
        {
            now.wHour = st.wHour;
            now.wMinute = st.wMinute;
            st = now;
        }
    }
    st.wSecond = 0;
    st.wMilliseconds = 0;
    SendMessageA(picker, DTM_SETSYSTEMTIME, GDT_VALID, (LPARAM)&st);
}

bool GetPickerTime(HWND picker, CTime& out)
{
    SYSTEMTIME st;
    ZeroMemory(&st, sizeof(st));
    if (SendMessageA(picker, DTM_GETSYSTEMTIME, 0, (LPARAM)&st) != GDT_VALID)
        return false;
    out.Set(&st);
    return true;
}

CTime CombinePickers(HWND datePicker, HWND timePicker)
{
    CTime date, timeOfDay;
    GetPickerTime(datePicker, date);
    GetPickerTime(timePicker, timeOfDay);
    const SYSTEMTIME* d = date.GetSystemTimePtr();
    const SYSTEMTIME* h = timeOfDay.GetSystemTimePtr();
    CTime result;
    result.Set(d->wYear, d->wMonth, d->wDay, h->wHour, h->wMinute, 0, 0);
    return result;
}

bool ReadInterval(HWND edit, DWORD* value)
{
    char text[32] = "";
    GetWindowTextA(edit, text, sizeof(text));
    if (text[0] < '0' || text[0] > '9')
        return false;
    long n = strtol(text, nullptr, 10);
    if (n < INTERVAL_MIN)
        n = INTERVAL_MIN;
    if (n > INTERVAL_MAX)
        n = INTERVAL_MAX;
    *value = (DWORD)n;
    return true;
}

void FixInterval(HWND edit, HWND spin, DWORD stored)
{
    DWORD value = stored;
    ReadInterval(edit, &value);
    SendMessageA(spin, UDM_SETPOS32, 0, (LPARAM)value);
}

void SetUpInterval(HWND spin, DWORD value)
{
    SendMessageA(spin, UDM_SETRANGE32, INTERVAL_MIN, INTERVAL_MAX);
    SendMessageA(spin, UDM_SETPOS32, 0, (LPARAM)value);
}

// Date-time pickers and interval fields shared by the properties dialog and
// the wizard.
#pragma once

#include <windows.h>
#include "Time.h"

#define PICKER_DATE_FORMAT "dd' 'MMMM' 'yyyy"
#define PICKER_TIME_FORMAT "HH':'mm"
#define WIZARD_DATE_FORMAT "dd MMMM yyyy"

const int INTERVAL_MIN = 1;
const int INTERVAL_MAX = 9999;

// Shows t; a time the picker cannot hold (all zero, or not a calendar date)
// shows the current date with t's time of day where that is valid.
void SetPickerTime(HWND picker, const CTime& t);
// The picker's time; false when it holds none.
bool GetPickerTime(HWND picker, CTime& out);
// The date of one picker with the hour and minute of another, seconds 0.
CTime CombinePickers(HWND datePicker, HWND timePicker);

// The interval field: a number is clamped to 1-9999 (true, *value set);
// anything else gives false.
bool ReadInterval(HWND edit, DWORD* value);
// On leaving the field: a number is clamped and shown through the up-down
// control; anything else puts back the stored value.
void FixInterval(HWND edit, HWND spin, DWORD stored);
// The up-down control's range and position.
void SetUpInterval(HWND spin, DWORD value);

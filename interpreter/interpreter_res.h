// Resource ids of tvint.
#pragma once

// The program's icon is the named resource "IDI_MAIN" (class icon, status
// strip, shell); IDI_MAIN itself stays undefined so the .rc names it.
#define TVINT_ICON_NAME "IDI_MAIN"

// Confirmation dialog (Exit, Shutdown, Restart).
#define IDD_CONFIRM 1000
#define IDC_CONFIRM_ICON 1001
#define IDC_CONFIRM_TEXT 101
#define IDC_CONFIRM_COUNTDOWN 102

// Resource and control ids of the agent program: 1-299 (other agent dialogs
// keep theirs in 300-499 in their own headers). The command ids 200-224 and
// 501 are also the main window's WM_COMMAND vocabulary, and dialog control
// ids above 1600 are fixed because other programs and tests address them.
#pragma once

// Icons
#define IDA_MAIN 1
#define IDI_TRAY 2
#define IDI_TRAY16 3
#define IDI_STARTUP 10
#define IDI_EDIT 11
#define IDI_MEDIT 12
#define IDI_SCHED 13
#define IDI_PREF 14
#define IDI_PREF_GEN 15
#define IDI_PREF_SS 16
#define IDI_PREF_PKEY 17
#define IDI_PREF_LOG 18
#define IDI_PREF_LFILE 19
#define IDI_VIEW 20
#define IDI_HIDDEN 21
#define IDI_VIEWLOG 22
#define IDI_HELP 23
#define IDI_ABOUTTV2 24
#define IDI_EDITLRG 30
#define IDI_MEDITLRG 31
#define IDI_SCHEDLRG 32
#define IDI_PREFLRG 33
#define IDI_HELPLRG 34

// Bitmaps
#define IDB_ABOUT 40
#define IDB_TRAYICON 41

// Dialogs
#define IDD_WIZARD 50
#define IDD_NOEXIT 51

// Main window commands
#define IDM_EXIT 200
#define IDM_EDITOR 201
#define IDM_ABOUT 204
#define IDM_MENUEDITOR 205
#define IDM_SCHEDULER 206
#define IDM_HIDDENWINDOWS 208
#define IDM_HELP 210
#define IDM_STARTUPWIZARD 212
#define IDM_VIEWLOG 213
#define IDM_OVERDUE 214
#define IDM_PREF_GENERAL 220
#define IDM_PREF_SCREENSAVER 221
#define IDM_PREF_KEYS 222
#define IDM_PREF_LOGGING 223
#define IDM_PREF_LAUNCHFILE 224
#define IDC_WEBLINK 501

// Welcome wizard
#define IDC_WIZ_EDIT 1601
#define IDC_WIZ_MEDIT 1602
#define IDC_WIZ_SCHED 1603
#define IDC_WIZ_PREF 1604
#define IDC_WIZ_DONTSHOW 1605
#define IDC_WIZ_HELP 1608
#define IDC_WIZ_HEADING 1609
#define IDC_WIZ_LINE 1610

// No-exit notice
#define IDC_NOEXIT_DONTSHOW 1701
#define IDC_NOEXIT_TEXT 1702
#define IDC_NOEXIT_PICTURE 1703
#define IDC_NOEXIT_LINE 1704

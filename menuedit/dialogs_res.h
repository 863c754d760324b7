// Resource and control ids of the menu editor's dialogs. Icons and bitmaps of
// the dialogs take 100-199; the dialogs' own numbers are fixed, and the tests
// address the controls by these ids.
#pragma once

// Icons
#define IDI_STARTUPNEW 100
#define IDI_STARTUPOPEN 101
#define IDI_STARTUPOPENTV 102

// Preferences: frame and its one page
#define IDD_PREFERENCES 500
#define IDC_PREF_TAB 501
#define IDD_PREF_GENERAL 510
#define IDC_PREF_TESTFULL 511
#define IDC_PREF_ADVANCED 512
#define IDC_PREF_SHOWSTARTUP 513
#define IDC_PREF_WINDOWSTATE 514

// Entry properties: frame and its General page
#define IDD_PROPERTIES 1000
#define IDC_PROP_TAB 1001
#define IDD_PROP_GENERAL 1100
#define IDC_PROP_ICON 1101
#define IDC_PROP_TEXT 1102
#define IDC_PROP_CHANGEICON 1103
#define IDC_PROP_TARGET 1104
#define IDC_PROP_BROWSE 1105
#define IDC_PROP_WORKDIR 1106
#define IDC_PROP_CMDLINE 1107
#define IDC_PROP_WINDOWSTATE 1108
#define IDC_PROP_TARGETLABEL 1109
#define IDC_PROP_WORKDIRLABEL 1110
#define IDC_PROP_CMDLINELABEL 1111
#define IDC_PROP_STATELABEL 1112

// Item wizard: frame and pages
#define IDD_WIZARD 1300
#define IDC_WIZ_PAGEAREA 1301
#define IDC_WIZ_BACK 1302
#define IDC_WIZ_NEXT 1303
#define IDC_WIZ_TEST 1304
#define IDC_WIZ_PICTURE 1305
#define IDD_WIZ_TARGET 1310
#define IDD_WIZ_NAME 1320
#define IDD_WIZ_ANOTHER 1330
#define IDD_WIZ_WHAT 1340
#define IDD_WIZ_SAVE 1350
#define IDD_WIZ_SHORTCUTS 1360
#define IDD_WIZ_LOCATION 1370
#define IDD_WIZ_SUMMARY 1380
// Controls of the pages (one id may serve on several pages)
#define IDC_WIZ_TITLE 1390
#define IDC_WIZ_TEXT 1391
#define IDC_WIZ_HINT 1392
#define IDC_WIZ_TARGET 1393
#define IDC_WIZ_BROWSE 1394
#define IDC_WIZ_NAME 1395
#define IDC_WIZ_ICON 1396
#define IDC_WIZ_CHANGEICON 1397
#define IDC_WIZ_OPENPROPS 1398
#define IDC_WIZ_YES 1399
#define IDC_WIZ_NO 1400
#define IDC_WIZ_ITEM 1401
#define IDC_WIZ_SUBMENU 1402
#define IDC_WIZ_SAVENOW 1403
#define IDC_WIZ_SHORTCUTS 1404
#define IDC_WIZ_TREE 1405
#define IDC_WIZ_SUMMARY 1406
#define IDC_WIZ_QUESTION 1407

// Startup wizard
#define IDD_STARTUP 1800
#define IDC_START_TITLE 1801
#define IDC_START_NEW 1802
#define IDC_START_OPEN 1803
#define IDC_START_OPENTV 1804
#define IDC_START_HELP 1805
#define IDC_START_TUTORIAL 1806
#define IDC_START_ADVANCED 1807
#define IDC_START_LINE 1808

// Shortcuts dialog
#define IDD_SHORTCUTS 2000
#define IDC_SC_DESKTOP 2001
#define IDC_SC_QUICKLAUNCH 2002
#define IDC_SC_DESKTOPEXAMPLE 2003
#define IDC_SC_QUICKEXAMPLE 2004
#define IDC_SC_TEXT 2005

// Plain submenu dialog
#define IDD_SUBMENU 2100
#define IDC_SUB_PROMPT 2101
#define IDC_SUB_NAME 2102
#define IDC_SUB_ICON 2103
#define IDC_SUB_CHANGEICON 2104

// Resource and control ids of the scheduler. The dialog and control numbers
// are fixed: other programs and the tests address the controls by them.
#pragma once

// Icons and bitmaps
#define IDA_MAIN 1
#define IDI_UPDATE 10
#define IDI_PROPERTIES 11
#define IDI_INSERT 12
#define IDI_DELETE 13
#define IDI_ABOUT 14
#define IDI_HELP 15
#define IDB_NEWWIZARD 20
#define IDB_ABOUT 21

// Main window: menu and accelerators 400, commands 401-453
#define IDR_MAINMENU 400
#define IDM_EXIT 401
#define IDM_DELETE 411
#define IDM_PROPERTIES 413
#define IDM_INSERT 414
#define IDM_VIEWTOOLBAR 415
#define IDM_VIEWSTATUSBAR 416
#define IDM_UPDATE 417
#define IDM_NEXTFUTURE 418
#define IDM_RUNNOW 419
#define IDM_HELPCONTENTS 451
#define IDM_ABOUT 452
#define IDM_TIPOFTHEDAY 453
#define IDC_STATUSBAR 301
#define IDC_TOOLBAR 302
#define IDC_TASKLIST 303

// About
#define IDD_ABOUT 500
#define IDC_ABOUT_PICTURE 501
#define IDC_ABOUT_NAME 502

// Task properties: frame and pages
#define IDD_PROPERTIES 106
#define IDC_PROP_TAB 107
#define IDD_PROP_TASK 108
#define IDD_PROP_SCHEDULE 109
#define IDD_PROP_NOSETTINGS 146
#define IDD_PROP_MINUTES 147
#define IDD_PROP_HOURS 163
#define IDD_PROP_DAYS 168
#define IDD_PROP_WEEKS 177
#define IDD_PROP_MONTHS 182
#define IDD_PROP_YEARS 196
#define IDD_PROP_INFO 1300

// Task page
#define IDC_TASK_RUN 127
#define IDC_TASK_NAME 128
#define IDC_TASK_DIR 129
#define IDC_TASK_ICON 130
#define IDC_TASK_PARAMS 131
#define IDC_TASK_WINDOWSTATE 132
#define IDC_TASK_BROWSE 134
#define IDC_TASK_ENABLED 139

// Schedule page
#define IDC_SCHED_TYPE 144
#define IDC_SCHED_SUBTYPE 145
#define IDC_SCHED_AT 178
#define IDC_SCHED_NEXTLABEL 179
#define IDC_SCHED_DATE 180
#define IDC_SCHED_TIME 181
#define IDC_SCHED_STARTUP 1105
#define IDC_SUB_EVERY 159
#define IDC_SUB_SPIN 198
#define IDC_SUB_LIMIT 1100
#define IDC_SUB_BETWEENLABEL 1101
#define IDC_SUB_BETWEEN 1102
#define IDC_SUB_ANDLABEL 1103
#define IDC_SUB_AND 1104
#define IDC_SUB_MONDAY 170  // ... 176 Sunday
#define IDC_SUB_JANUARY 184 // ... 195 December

// Information page
#define IDC_INFO_SETNEXT 102
#define IDC_INFO_CAPTION 111
#define IDC_INFO_MORE 113
#define IDC_INFO_LIST 1301
#define IDC_INFO_ORIG 1302
#define IDC_INFO_LAST 1303
#define IDC_INFO_NEXT 1304
#define IDC_INFO_RECURRENCES 1305

// New scheduled task wizard: frame and pages
#define IDD_WIZARD 2000
#define IDD_WIZ_TARGET 2010
#define IDD_WIZ_TYPE 2020
#define IDD_WIZ_DATE 2030
#define IDD_WIZ_MINUTES 2040
#define IDD_WIZ_HOURS 2050
#define IDD_WIZ_DAYS 2060
#define IDD_WIZ_WEEKS 2070
#define IDD_WIZ_MONTHS 2080
#define IDD_WIZ_YEARS 2095
#define IDD_WIZ_CONFIRM 2100
#define IDC_WIZ_BACK 101
#define IDC_WIZ_NEXT 102
#define IDC_WIZ_TITLE 103
#define IDC_WIZ_BROWSE 108
#define IDC_WIZ_SUMMARY 111
#define IDC_WIZ_PICTURE 104
#define IDC_WIZ_PAGEAREA 105
#define IDC_WIZ_TARGET 2011
#define IDC_WIZ_ONCE 2021 // ... 2028 "At Startup"
#define IDC_WIZ_DATE 2031
#define IDC_WIZ_TIME 2032
#define IDC_WIZ_EVERY 2032
#define IDC_WIZ_SPIN 2041
#define IDC_WIZ_BETWEEN 2042
#define IDC_WIZ_AND 2043
#define IDC_WIZ_LIMIT 2044
#define IDC_WIZ_BETWEENLABEL 2045
#define IDC_WIZ_ANDLABEL 2046
#define IDC_WIZ_MONDAY 2061  // ... 2067 Sunday
#define IDC_WIZ_JANUARY 2081 // ... 2092 December
#define IDC_WIZ_NAME 2101
#define IDC_WIZ_ADVANCED 2102

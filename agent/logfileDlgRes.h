// Resource ids of the Log File Viewer and Set Log File Size dialogs (300-399).
#pragma once

#define IDD_LOGVIEW 300
#define IDC_LOGVIEW_LIST 301
#define IDC_LOGVIEW_FLUSH 302
#define IDC_LOGVIEW_REFRESH 303
#define IDC_LOGVIEW_CLOSE IDCANCEL

#define IDD_SETLOGSIZE 310
#define IDC_SETLOGSIZE_CURRENT 311
#define IDC_SETLOGSIZE_LABEL 312
#define IDC_SETLOGSIZE_EDIT 313
// The up-down control is made at run time with the id it always had.
#define IDC_SETLOGSIZE_UPDOWN 1543

// The severity icons are named resources, in severity order; the names stay
// undefined here so that the .rc file names them.
#define LOG_ICON_INFO "IDI_LOG_INFO"
#define LOG_ICON_WARNING "IDI_LOG_WARNING"
#define LOG_ICON_MINOR "IDI_LOG_MINOR"
#define LOG_ICON_MAJOR "IDI_LOG_MAJOR"
#define LOG_ICON_CRITICAL "IDI_LOG_CRITICAL"

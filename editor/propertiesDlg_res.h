// Resource ids of the action properties dialog, its pages and the process
// and window picker.
#pragma once

// The frame: a tab control over one page, OK (1) and Cancel (2).
#define IDD_ACTIONPROPS 1000
#define IDC_ACTIONPROPS_TAB 1001

// The pages, one per kind of action.
#define IDD_PAGE_FILE 1100
#define IDD_PAGE_TEXT 1200
#define IDD_PAGE_NAME 1220
#define IDD_PAGE_TIME 1240
#define IDD_PAGE_NONE 1260

// Controls every page has.
#define IDC_PAGE_NAME 1101
#define IDC_PAGE_FIELD 1103
#define IDC_PAGE_ICON 1112
#define IDC_PAGE_LABEL 1113
#define IDC_PAGE_HELP 1117

// Page 1100: browse buttons, the second field, the parameters and the list.
#define IDC_PAGE_BROWSE 1104
#define IDC_PAGE_FIELD2 1105
#define IDC_PAGE_BROWSE2 1106
#define IDC_PAGE_PARAMS 1107
#define IDC_PAGE_OPTIONS 1108
#define IDC_PAGE_LABEL2 1114
#define IDC_PAGE_PARAMSLABEL 1115
#define IDC_PAGE_OPTIONSLABEL 1116

// Page 1240: the up-down control beside the time field.
#define IDC_PAGE_SPIN 1241

// The picker.
#define IDD_SELECT 1800
#define IDC_SELECT_LIST 1801

// Resource ids of the Overdue Tasks dialog (500-599; 501 is the web link).
#pragma once

#define IDD_OVERDUE 500
#define IDC_OVERDUE_LIST 502
// The buttons keep the ids the agent has always used.
#define IDC_OVERDUE_SCHEDULER 1902
#define IDC_OVERDUE_RUN 12
#define IDC_OVERDUE_CLOSE 2

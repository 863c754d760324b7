// Resource ids of the Hidden Windows dialog (400-499).
#pragma once

#define IDD_HIDDENWND 400
#define IDC_HIDDENWND_LIST 401
// "&Show" and "&Close" keep the ids the agent has always used.
#define IDC_HIDDENWND_SHOW 12
#define IDC_HIDDENWND_CLOSE 2

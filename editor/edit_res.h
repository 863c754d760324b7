// Resource and command ids of the launch file editor's main window. The
// command numbers are fixed: the dialogs, the accelerators and the tests
// address them.
#pragma once

// Icons: the program, the toolbar and menu pictures
#define IDA_MAIN 1
#define IDI_TB_NEW 10
#define IDI_TB_OPEN 11
#define IDI_TB_SAVE 12
#define IDI_TB_PROPERTIES 13
#define IDI_TB_INSERT 14
#define IDI_TB_DELETE 15
#define IDI_TB_MOVEUP 16
#define IDI_TB_MOVEDOWN 17
#define IDI_TB_TEST 18
#define IDI_TB_ABOUT 19
#define IDI_TB_HELP 20
#define IDI_TB_WIZARD 21
#define IDI_TB_WEBSITE 22

// Action icons, one per action code (the properties dialog shows them too)
#define IDI_ACT_LAUNCH 5200
#define IDI_ACT_OPEN 5201
#define IDI_ACT_PRINT 5202
#define IDI_ACT_COPY 5203
#define IDI_ACT_MOVE 5204
#define IDI_ACT_DELETE 5205
#define IDI_ACT_KILL 5206
#define IDI_ACT_CLOSE 5207
#define IDI_ACT_DESTROY 5208
#define IDI_ACT_HIDE 5209
#define IDI_ACT_SHOW 5210
#define IDI_ACT_SHOWALL 5211
#define IDI_ACT_SHUTDOWN 5212
#define IDI_ACT_RESTART 5213
#define IDI_ACT_EXIT 5214
#define IDI_ACT_SCREENSAVER 5215
#define IDI_ACT_COMMENT 5216
#define IDI_ACT_MESSAGE 5217
#define IDI_ACT_WAIT 5218

// About box
#define IDD_ABOUT 200

// Main window: menu and accelerators, commands
#define IDR_MAINMENU 2000
#define IDM_EXIT 2001
#define IDM_NEW 2002
#define IDM_OPEN 2003
#define IDM_SAVE 2004
#define IDM_SAVEAS 2005
#define IDM_UNDO 2006
#define IDM_REDO 2007
#define IDM_COPY 2008
#define IDM_CUT 2009
#define IDM_PASTE 2010
#define IDM_DELETE 2011
#define IDM_PREFERENCES 2012
#define IDM_PROPERTIES 2013
#define IDM_INSERT 2014
#define IDM_VIEWTOOLBAR 2015
#define IDM_VIEWSTATUSBAR 2016
#define IDM_TEST2 2017
#define IDM_TEST 2018
#define IDM_MOVEUP 2019
#define IDM_MOVEDOWN 2020
#define IDM_STARTUP 2021
#define IDM_INSERT_FIRST 2030 // 2030-2048: one per action keyword
#define IDM_INSERT_LAST 2048
#define IDM_INSERT_WIZARD 2049
#define IDM_INSERT_WEBSITE 2050
#define IDM_HELPCONTENTS 2051
#define IDM_ABOUT 2052
#define IDM_TIPOFTHEDAY 2053
#define IDM_ADDTOMENU 2060
#define IDM_DISABLE 2061
#define IDM_ENABLE 2062
#define IDM_RUNSELECTED 2063
#define IDM_RECENT_FIRST 2070 // 2070-2073: the File menu's recent files, newest first
#define IDM_RECENT_LAST 2073

// Main window's controls
#define IDC_STATUSBAR 301
#define IDC_TOOLBAR 302
#define IDC_ACTIONLIST 303

// Preferences: frame and pages
#define IDD_PREFERENCES 500
#define IDC_PREF_TAB 501
#define IDD_PREF_GENERAL 510
#define IDC_PREF_TESTFULL 511
#define IDC_PREF_ADVANCED 512
#define IDC_PREF_SHOWSTARTUP 513
#define IDC_PREF_WINDOWSTATE 514
#define IDD_PREF_EDITOR 520
#define IDC_PREF_ADDSHORTCUTS 521
#define IDC_PREF_INSERTDELAY 522
#define IDC_PREF_INSERTCOMMENTS 523

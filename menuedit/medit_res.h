// Resource and control ids of the menu editor's main window. The command
// numbers are fixed: the tests and the dialogs address the window by them.
#pragma once

// Icons (1-99)
#define IDA_MAIN 1
#define IDI_NEW 10
#define IDI_OPEN 11
#define IDI_SAVE 12
#define IDI_PROPERTIES 13
#define IDI_INSERT 14
#define IDI_DELETE 15
#define IDI_MOVEUP 16
#define IDI_MOVEDOWN 17
#define IDI_SORT 18
#define IDI_TEST 19
#define IDI_ABOUT 20
#define IDI_HELP 21
#define IDI_WIZARD 22
#define IDI_APPSHORTCUT 23
#define IDI_LAUNCHSHORTCUT 24
#define IDI_WEBSHORTCUT 25
#define IDI_SUBMENU 26
#define IDI_SEPARATOR 27

// About box
#define IDD_ABOUT 200
#define IDC_ABOUT_ICON 201
#define IDC_ABOUT_NAME 202

// Child windows of the main window
#define IDC_STATUSBAR 301
#define IDC_TOOLBAR 302
#define IDC_TREE 303
#define IDC_LIST 304
#define IDC_SPLITTER 305

// Menu and accelerators 400, commands 401-453
#define IDR_MAINMENU 400
#define IDM_EXIT 401
#define IDM_NEW 402
#define IDM_OPEN 403
#define IDM_OPENTARVIN 404
#define IDM_SAVE 405
#define IDM_SAVEAS 406
#define IDM_UNDO 407
#define IDM_REDO 408
#define IDM_COPY 409
#define IDM_CUT 410
#define IDM_PASTE 411
#define IDM_DELETE 412
#define IDM_PREFERENCES 413
#define IDM_PROPERTIES 414
#define IDM_VIEWTOOLBAR 416
#define IDM_VIEWSTATUSBAR 417
#define IDM_SORT 418
#define IDM_TEST 419
#define IDM_MOVEUP 420
#define IDM_MOVEDOWN 421
#define IDM_STARTUPWIZARD 422
#define IDM_ITEMWIZARD 430
#define IDM_INSERTSUBMENU 431
#define IDM_INSERTSEPARATOR 432
#define IDM_SHORTCUTS 433
#define IDM_APPSHORTCUT 434
#define IDM_LAUNCHSHORTCUT 435
#define IDM_WEBSHORTCUT 436
#define IDM_INSERTMENU 437
#define IDM_HELPCONTENTS 451
#define IDM_ABOUT 452
#define IDM_TIPOFTHEDAY 453
#define IDM_RECENT_FIRST 460 // 460-463: the File menu's recent files, newest first (464 their separator)
#define IDM_RECENT_LAST 463

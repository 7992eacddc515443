#pragma once
// Resource numbers of the desktop viewer QVViewer, shared by QVViewer.rc and
// the C++ code. Only #define lines: the resource compiler reads this file too.

// The frame's menu, accelerators and icon; the desktop windows' menu and icon.
#define IDR_MAINFRAME 128
#define IDR_QVVIEWTYPE 129

#define IDD_VW_ABOUT 100

// The task-switch dialog of a desktop.
#define IDD_VW_TASKSWITCH 102
#define IDC_VW_LIST 1000
#define IDC_VW_MAXIMIZE 1001
#define IDC_VW_HANGON 1002

// The dialog that opens one desktop's window.
#define IDD_VW_OPEN 132
#define IDC_VW_DESKTOPS 1010

// Commands. The picture of a desktop is a button with the task-switch
// command's id, so that a click on it opens the dialog.
#define ID_VW_REFRESH 32771
#define ID_VW_ORIGINAL_SIZE 32773
#define ID_VW_KEEP_ASPECT 32774
#define ID_VW_SHOW_BITMAP 32775
#define ID_VW_SWITCH_AND_END 32776
#define ID_VW_TASKSWITCH 32777
#define ID_VW_OPEN_ALL 32779
#define ID_VW_TILE 32780
#define ID_VW_OPEN 57601
#define ID_VW_CASCADE 57650
#define ID_VW_ABOUT 57664
#define ID_VW_EXIT 57665
#define ID_VW_HELP 57670
#define ID_VW_TOOLBAR 59392
#define ID_VW_STATUSBAR 59393

// The frame's children.
#define IDC_VW_MDICLIENT 59648
#define IDC_VW_TOOLBAR_WINDOW 59649
#define IDC_VW_STATUS_WINDOW 59650
// The first desktop window's id in the window menu.
#define IDM_VW_FIRST_CHILD 60000

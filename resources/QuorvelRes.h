#pragma once
// Resource numbers of the daemon Quorvel, shared by Quorvel.rc and the C++
// code. Only #define lines: the resource compiler reads this file too.

// Menus, dialogs and icons.
#define IDR_QUORVEL_MENU 101
#define IDD_RUN_PROGRAM 102
#define IDD_VERSION 103
#define IDI_QUORVEL 104
#define IDD_SNAPSHOT_SIZE 105

// Commands of the menu and the internal ones; a command's status text in the
// string table has the same number. They equal qv::CommandId.
#define IDM_RUN_PROGRAM 40001
#define IDM_EXIT 40002
#define IDM_NEXT 40003
#define IDM_PREVIOUS 40004
#define IDM_HOME 40005
#define IDM_VERSION 40006
#define IDM_ACTIVATE 40007
#define IDM_CONFIG 40008
#define IDM_COMPANION 40010
#define IDM_MENU 40011
#define IDM_ACTIVATE_WINDOW 40012
#define IDM_SNAPSHOT_SIZE 40013
#define IDM_SOUND 40014
#define IDM_CAPTURE_SNAPSHOT 40015
#define IDM_QUERY_END 40016
#define IDM_BACK 40017

// Run-program dialog (IDD_RUN_PROGRAM): 1000-1009.
#define IDC_RUN_COMMAND 1000
#define IDC_RUN_ARGUMENTS 1001
#define IDC_RUN_DIRECTORY 1002
#define IDC_RUN_BROWSE 1003
#define IDC_RUN_PRIORITY 1004
#define IDC_RUN_WINDOWS_DIR 1005
#define IDC_RUN_QUICK_LAUNCH 1006
#define IDC_RUN_SHELL 1007

// Snapshot-size dialog (IDD_SNAPSHOT_SIZE): its list shares the number 1006
// with a button of the other dialog; each dialog has its own numbering.
#define IDC_SNAPSHOT_RATE 1006

// Version dialog (IDD_VERSION): only the static texts and OK.
#define IDC_VERSION_PRODUCT 1100
#define IDC_VERSION_NUMBER 1101

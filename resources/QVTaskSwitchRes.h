#pragma once
// Resource numbers of the task switch tool QVTaskSwitch, shared by
// QVTaskSwitch.rc and the C++ code. Only #define lines: the resource
// compiler reads this file too.

#define IDI_TASKSWITCH 101

// The main dialog (block 200) and its controls.
#define IDD_TASKSWITCH 200
#define IDC_TS_LIST 201
#define IDC_TS_MAXIMIZE 202
#define IDC_TS_OPTIONS 203
#define IDC_TS_HANGON 204
#define IDC_TS_CAPTURE 205

// The list options dialog (block 300): one box per option bit, in bit order.
#define IDD_TS_LIST_OPTIONS 300
#define IDC_TS_OPTION_FIRST 301
#define IDC_TS_OPTION_LAST 307
#define IDC_TS_VIEW_ONLY_GROUP 310

// The system menu's item for the about box.
#define IDM_TS_ABOUT 0x10

#pragma once
// Resource numbers of the control bar QVCtrlBar, shared by QVCtrlBar.rc and
// the C++ code. Only #define lines: the resource compiler reads this file too.

// The program's icons: large and small.
#define IDI_CTRLBAR 107
#define IDI_CTRLBAR_SMALL 108

// The button images, loaded in this order at start.
#define IDB_SYSTEM 140
#define IDB_PIN_PINNED 144
#define IDB_PIN_LOOSE 145
#define IDB_KNOB 148
#define IDB_PAGE_NEXT 149
#define IDB_PAGE_PREVIOUS 150
#define IDB_SWITCH_MENU 152
#define IDB_HANGER_MENU 153
#define IDB_PAGE_BACK 154
// Menu images: every panel and subfolder, and items without an icon.
#define IDI_MENU_FOLDER 155
#define IDI_MENU_ITEM 156

// Scroll dialog of a knob: OK and the scroll bar.
#define IDD_KNOB_SCROLL 160
#define IDC_KNOB_SCROLL_BAR 1000

// Progress window of the launcher menu: the folder's drive and directory,
// and its last name; Cancel is IDCANCEL.
#define IDD_MENU_PROGRESS 170
#define IDC_PROGRESS_FOLDER 1010
#define IDC_PROGRESS_NAME 1011

// Hanger dialogs: a hung-on window's information, and the sort.
#define IDD_HANGER_PROPERTIES 180
#define IDC_HANGER_INFO 1020
#define IDD_HANGER_SORT 181
#define IDC_HANGER_SORT_KEYS 1021
#define IDC_HANGER_ASCENDING 1022
#define IDC_HANGER_DESCENDING 1023

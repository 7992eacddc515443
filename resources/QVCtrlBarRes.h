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

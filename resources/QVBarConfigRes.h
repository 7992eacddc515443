#pragma once
// Resource numbers of the bar configurator QVBarConfig. Only #define lines:
// the resource compiler reads this file too. Its script includes the
// hot-key dialogs (700 to 749) and the capture dialog (DesktopDialogsRes.h).

#define IDI_BARCONFIG 1
#define IDR_BARCONFIG_MENU 100
#define IDR_BARCONFIG_ACCELERATORS 101
#define IDR_BARCONFIG_LIST_MENU 102

// The main dialog.
#define IDD_BARCONFIG 200
#define IDC_BC_PATH 201
#define IDC_BC_BROWSE 202
#define IDC_BC_DESKTOP 203
#define IDC_BC_DESKTOP_ADD 204
#define IDC_BC_DESKTOP_DELETE 205
#define IDC_BC_ITEMS 206
#define IDC_BC_ITEM_ADD 207
#define IDC_BC_ITEM_EDIT 208
#define IDC_BC_UP 209
#define IDC_BC_DOWN 210
#define IDC_BC_ITEM_DELETE 211
#define IDC_BC_HOTKEY 212
#define IDC_BC_HANGON 213
#define IDC_BC_PIN_OFF 214
#define IDC_BC_PIN_ON 215
#define IDC_BC_ROLL 216
#define IDC_BC_REGION 217
#define IDC_BC_SORT 218
#define IDC_BC_ASCENDING 219
#define IDC_BC_DESCENDING 220
#define IDC_BC_DEFAULTS 221
// The drive types' boxes, in the order of their bits from 0x01.
#define IDC_BC_COND_FIRST 230
#define IDC_BC_COND_LAST 234
// The mouse places' boxes, in the dialog's order (their bits differ).
#define IDC_BC_MOUSE_FIRST 240
#define IDC_BC_MOUSE_LAST 247

// The about box.
#define IDD_BARCONFIG_ABOUT 260

// The menu item dialog.
#define IDD_MENU_ITEM 300
#define IDC_MI_KIND_FIRST 301
#define IDC_MI_KIND_LAST 305
#define IDC_MI_FOLDER 306
#define IDC_MI_NAME 307
#define IDC_MI_BROWSE 308

// The standard-menu chooser.
#define IDD_STANDARD_MENU 320
#define IDC_SM_LIST 321

// The module list dialog.
#define IDD_MODULES 340
#define IDC_ML_LIST 341
#define IDC_ML_EDIT 342
#define IDC_ML_ADD 343
#define IDC_ML_DELETE 344

// Menu commands.
#define ID_BC_LOAD 40201
#define ID_BC_SAVE 40202
#define ID_BC_EXIT 40203
#define ID_BC_DESELECT 40204
#define ID_BC_SELECTALL 40205
#define ID_BC_RESTART 40206
#define ID_BC_HELP 40207
#define ID_BC_ABOUT 40208
#define ID_BC_EDIT 40209
#define ID_BC_MOVEUP 40210
#define ID_BC_MOVEDOWN 40211
#define IDC_ML_CAPTURE 345

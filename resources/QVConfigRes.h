#pragma once
// Resource numbers of the switcher configurator QVConfig, shared by
// QVConfig.rc and the C++ code. Only #define lines: the resource compiler
// reads this file too.

#define IDI_CONFIG 101
#define IDR_CONFIG_MENU 102
#define IDR_CONFIG_ACCELERATORS 103
#define IDR_CONFIG_LIST_MENU 104

// The main dialog and its controls.
#define IDD_CONFIG 200
#define IDC_CF_PATH 201
#define IDC_CF_BROWSE 202
#define IDC_CF_TITLE 203
#define IDC_CF_COLOR_SWATCH 204
#define IDC_CF_COLOR 205
#define IDC_CF_SOUND 206
#define IDC_CF_WAVFILE 207
#define IDC_CF_WAVBROWSE 208
#define IDC_CF_DISPLAY 209
#define IDC_CF_LIST 210
#define IDC_CF_EXISTSOPEN 211
#define IDC_CF_ADD 212
#define IDC_CF_UPDATE 213
#define IDC_CF_UP 214
#define IDC_CF_DOWN 215
#define IDC_CF_DELETE 216
#define IDC_CF_DELAY1 217
#define IDC_CF_DELAY2 218
#define IDC_CF_DELAY3 219
#define IDC_CF_TITLEPOS 220
#define IDC_CF_REDRAW 221
#define IDC_CF_HOTKEYS 222
#define IDC_CF_DEFAULTS 223
#define IDC_CF_CHECKACTIVE 224
#define IDC_CF_INITCHANGE 225
#define IDC_CF_BITMAPSIZE 226
#define IDC_CF_CONTROLBAR 227

#define IDD_CONFIG_ABOUT 300

// Menu and key commands.
#define ID_CF_LOAD 40101
#define ID_CF_SAVE 40102
#define ID_CF_EXIT 40103
#define ID_CF_DESELECT 40104
#define ID_CF_SELECTALL 40105
#define ID_CF_RESTART 40106
#define ID_CF_HELP 40107
#define ID_CF_ABOUT 40108
#define ID_CF_EDIT 40109
#define ID_CF_MOVEUP 40110
#define ID_CF_MOVEDOWN 40111

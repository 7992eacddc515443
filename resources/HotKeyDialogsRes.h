#pragma once
// Resource numbers of the hot-key dialogs shared by both configurators. Only
// #define lines: the resource compiler reads this file too. The block 700 to
// 749 is theirs, so that each configurator's own numbers stay clear of it.

// The controller's hot keys, one tab each, and a single hot key.
#define IDD_HOTKEY_CONTROLLER 700
#define IDD_HOTKEY_ONE 701

// Controls; both dialogs use the same numbers for the same controls.
#define IDC_HK_TABS 710
#define IDC_HK_KEYNAME 711
#define IDC_HK_SENSE 712
#define IDC_HK_CLEAR 713
#define IDC_HK_DEFAULT 714
#define IDC_HK_ALT 715
#define IDC_HK_CTRL 716
#define IDC_HK_SHIFT 717
#define IDC_HK_WIN 718
#define IDC_HK_MARKER 719

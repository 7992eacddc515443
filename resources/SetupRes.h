#pragma once
// Resource numbers of the first setup Setup.

#include "SetupCommonRes.h"

#define IDD_FIRST_SETUP 100
#define IDD_FS_NOTICE 101

#define IDC_FS_FOLDER 1001
#define IDC_FS_BROWSE 1002
#define IDC_FS_MENU_BOX 1003
#define IDC_FS_MENU 1004
#define IDC_FS_ALL_USERS 1005
#define IDC_FS_CURRENT_USER 1006
#define IDC_FS_CONTINUE 1007
#define IDC_FS_INSTALL 1008
#define IDC_FS_TRIAL 1009
// The five document buttons, "setup1.txt" to "setup5.txt" in order.
#define IDC_FS_DOCUMENT1 1011
#define IDC_FS_DOCUMENT5 1015
#define IDC_FS_NOTICE_TEXT 1020

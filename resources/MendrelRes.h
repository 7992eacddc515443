#pragma once
// Resource numbers of Mendrel. Only #define lines: the resource compiler
// reads this file too. Its list's controls take the desktop dialog's
// numbers (DesktopDialogsRes.h), so that one list editor serves both.

#define IDI_MENDREL 1
#define IDD_MENDREL 900
#define IDC_MD_PATH 901

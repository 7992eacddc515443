#pragma once
// Resource numbers shared by the two setup programs: the read-only text
// window.

#define IDD_SETUP_TEXT 300
#define IDC_ST_TEXT 3001
#define IDI_SETUP 301

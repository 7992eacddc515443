#pragma once
// Resource numbers of the per-account setup QVSetup.

#include "SetupCommonRes.h"

#define IDD_ACCOUNT_SETUP 200
#define IDD_PARAMETER_FOLDER 201

#define IDC_AS_MENU_BOX 2001
#define IDC_AS_MENU 2002
#define IDC_AS_STARTUP 2003
#define IDC_AS_ONLY_MISSING 2004
#define IDC_AS_FOLDER 2005
#define IDC_AS_START 2006
#define IDC_AS_HELP 2007
#define IDC_PF_FOLDER 2101
#define IDC_PF_BROWSE 2102

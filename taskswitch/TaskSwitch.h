#pragma once
// The task switch tool from its command line to its end.

#include <windows.h>

namespace qv::taskswitch {

// The exit code: 0 after the usage text, the dialog or the batch hang-on,
// 1 when the daemon's desktops could not be learnt.
int RunTaskSwitch(HINSTANCE instance, const char* commandTail);

}  // namespace qv::taskswitch

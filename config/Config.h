#pragma once
// The configurator's run: its command line, the file loaded (or the default
// content), the main dialog.

#include <windows.h>

namespace qv::config {

int RunConfig(HINSTANCE instance, const char* commandTail);

}  // namespace qv::config

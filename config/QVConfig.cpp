// QVConfig: edits the switcher's parameter file in dialogs, so that nobody
// has to type a key or a code.

#include <windows.h>

#include "Config.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR commandLine, int) {
    return qv::config::RunConfig(instance, commandLine);
}

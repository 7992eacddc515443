#pragma once
// What the configurators' dialogs ask alike: a control's text, a file name
// through the common dialog, a message with a name in it.

#include <windows.h>

#include <string>

#include "WindowBase.h"

namespace qv::config {

std::string ItemText(HWND dialog, int id);
// A file name through the common open or save dialog, starting at start's
// folder with its name; empty when cancelled. extension may be null.
std::string AskFileName(HWND owner, const char* filter, const char* extension, const std::string& start, bool save);
// A folder through the shell's folder chooser; empty when cancelled.
std::string AskFolder(HWND owner, const char* title);
// Starts a program of the suite on its parameter file ("-p" and the path,
// quoted unless it is already); the system's error in a box when it cannot.
bool StartOnParameterFile(HWND owner, const std::string& program, const std::string& path);
// The message loop of a configurator's modeless main dialog, up to the
// WM_QUIT its end posts: its accelerators first, then its own keys.
void RunDialogLoop(const Dialog& dialog, HACCEL accelerators);
// A message whose one %s is text.
std::string Formatted(const char* format, const std::string& text);

}  // namespace qv::config

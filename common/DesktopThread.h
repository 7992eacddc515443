#pragma once
// Work done on another desktop. A window can be found by class or name only
// from a thread on its own desktop, and a thread can move to another desktop
// only while it owns no window, so the work runs on a fresh thread.

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

namespace qv {

// What finding, asking and enumerating the windows of a desktop needs.
inline constexpr ACCESS_MASK kDesktopWorkerAccess = DESKTOP_READOBJECTS | DESKTOP_WRITEOBJECTS | DESKTOP_ENUMERATE;

// Opens the named desktop with the given rights, runs fn on a new thread
// attached to it and waits for fn to return. False when the desktop could not
// be opened, the thread not started or not attached; fn then has not run.
bool RunOnDesktop(const char* desktopName, const std::function<void()>& fn,
                  ACCESS_MASK access = kDesktopWorkerAccess);

// The names of the desktops of the calling process's window station. A
// listing during which another desktop goes away can miss one that stays
// (seen under Wine): the desktops are listed again until a listing brings no
// name that an earlier one did not, a few times at most, and every name seen
// is given once, in the order first seen.
std::vector<std::string> WindowStationDesktops();

}  // namespace qv

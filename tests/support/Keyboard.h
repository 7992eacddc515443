#pragma once
// Keys pressed on a desktop as its keyboard would press them.

#include <windows.h>

#include <initializer_list>
#include <string>

namespace qvtest {

// Each key goes down in the order given, then all come up in the reverse
// order (a chord: Ctrl, Shift, F9), sent with SendInput from a thread
// attached to the desktop. The keys reach the focused window of the
// desktop's active thread, and a hot key registered on that desktop fires
// (under Wine without the X keyboard focus). It returns before they are
// taken: callers wait for their effect. False when not all were sent.
bool PressKeys(const std::string& desktop, std::initializer_list<WORD> keys);

}  // namespace qvtest

#pragma once
// Opening a document as a double click in Explorer would: the shell's
// default verb for the item's type.

#include <windows.h>

namespace qv {

// Opens item (taken as it is, blanks included) in directory (nullptr: the
// current one). Never shows the shell's own error boxes: the helpers that
// call it end at once, and a box nobody answers would hold them. Returns 0,
// or the system error that the shell reported (never 0).
DWORD OpenWithShell(const char* item, const char* directory, int showCommand);

}  // namespace qv

#pragma once
// Desktop titles as typed in the parameter file may hold C-style escapes.

#include "TextString.h"

namespace qv {

// \a \b \f \n \r \t \v become the control characters 7, 8, 12, 10, 13, 9,
// 11; a backslash before any other byte is dropped and that byte kept (a
// double-byte character whole). A backslash as the last byte is dropped.
// Shift-JIS characters pass unchanged even when their second byte is '\\'.
// False when memory ran out; `out` is then unchanged.
bool ResolveTitleEscapes(const char* title, TextString& out);

}  // namespace qv

#pragma once
// Saving a file so that a failure never costs the old one: the new text is
// written to a temporary file beside it, which then replaces it.

#include <cstdio>
#include <functional>

namespace qv {

// write fills the open file (text, or binary when asked) and tells whether it
// could; true once the file at path holds everything it wrote.
bool SaveReplacing(const char* path, const std::function<bool(FILE*)>& write, bool binary = false);

}  // namespace qv

#pragma once
// Paths as Shift-JIS text: a trail byte may be 0x5C, so the separators are
// found by walking characters, never by searching bytes.

#include <cstddef>

#include "TextString.h"

namespace qv {

// Where the file name (with its extension) starts: after the last '\', '/'
// or drive colon.
const char* FileNamePart(const char* path);
// Length of the drive and directory part, its last separator included.
size_t DirectoryLength(const char* path);
// The file name and extension of a path, lower-cased as module names are
// compared.
TextString ModuleNameOf(const char* path);

}  // namespace qv

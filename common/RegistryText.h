#pragma once
// Texts of the registry and of the environment: a string value, its
// environment variables expanded when it is of the expandable type.

#include <windows.h>

#include <string>

namespace qv {

// Where the user's and the machine's special folders are named.
inline constexpr char kShellFoldersKey[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders";

// The text with every %NAME% of the environment replaced; false when it
// would be longer than any path.
bool ExpandEnvironmentText(const std::string& text, std::string* expanded);

// The value (null or "": the key's default value) of the key under root;
// false when the key or value is missing, not a string, empty, or longer
// than any path.
bool ReadRegistryText(HKEY root, const char* keyName, const char* valueName, std::string* text);

}  // namespace qv

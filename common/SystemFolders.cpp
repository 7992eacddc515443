#include "BarSettings.h"

#include <windows.h>

#include "RegistryText.h"

// The bar's panels find their folders here; the file's reader stays free of
// the registry and the file system, so it builds and is tested without them.

namespace qv {

namespace {

constexpr char kMapGroupsKey[] = "Software\\Microsoft\\Windows\\CurrentVersion\\GrpConv\\MapGroups";

}  // namespace

bool SystemFolders::ShellFolder(bool common, const char* valueName, std::string* folder) const {
    return ReadRegistryText(common ? HKEY_LOCAL_MACHINE : HKEY_CURRENT_USER, kShellFoldersKey, valueName, folder);
}

bool SystemFolders::MappedQuickLaunch(std::string* folder) const {
    return ReadRegistryText(HKEY_CURRENT_USER, kMapGroupsKey, "Quick Launch", folder);
}

bool SystemFolders::IsDirectory(const std::string& path) const {
    const DWORD attributes = GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

}  // namespace qv

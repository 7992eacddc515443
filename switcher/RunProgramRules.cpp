#include "RunProgramRules.h"

#include <iterator>

#include "PathText.h"

namespace qv {

namespace {

constexpr char kQuickLaunchUnderAppData[] = "\\Microsoft\\Internet Explorer\\Quick Launch";
// The registry value is read into a path buffer; a longer one is not had.
constexpr size_t kRegistryBuffer = MAX_PATH;
constexpr DWORD kNotAFolderToOpen =
    FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_TEMPORARY | FILE_ATTRIBUTE_OFFLINE;

// Without quotes CreateProcess guesses where a path with blanks ends, and
// would start C:\Program.exe for "C:\Program Files\...".
std::string CommandTextOf(const char* path) {
    std::string text(path);
    if (text.find_first_of(" \t") == std::string::npos) return text;
    return "\"" + text + "\"";
}

std::string FolderOf(const char* path) { return std::string(path, DirectoryLength(path)); }

}  // namespace

DWORD RunPriorityFlag(LRESULT row) {
    if (row < 0 || row >= static_cast<LRESULT>(std::size(kRunPriorities))) return NORMAL_PRIORITY_CLASS;
    return kRunPriorities[row].creationFlag;
}

std::string QuickLaunchStartFolder(const std::string& appData, const std::string& mapped,
                                   const std::function<DWORD(const std::string&)>& attributesOf) {
    if (!appData.empty() && appData.size() < kRegistryBuffer) {
        const std::string folder = appData + kQuickLaunchUnderAppData;
        const DWORD attributes = attributesOf(folder);
        if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) &&
            !(attributes & kNotAFolderToOpen))
            return folder;
    }
    return mapped.size() < kRegistryBuffer ? mapped : std::string();
}

RunFields WithPickedProgram(RunFields fields, const char* path) {
    fields.command = CommandTextOf(path);
    fields.directory = FolderOf(path);
    return fields;
}

RunFields WithPickedDataFile(RunFields fields, const char* ownModule, const char* path) {
    fields.command = CommandTextOf((FolderOf(ownModule) + "QVShlExe.exe").c_str());
    // The helper takes the rest of its command line as the item, quotes and
    // all: the path goes as it is.
    fields.arguments = path;
    fields.directory = FolderOf(path);
    return fields;
}

std::string RunCommandLine(const RunFields& fields) { return fields.command + " " + fields.arguments; }

}  // namespace qv

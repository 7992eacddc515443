#pragma once
// What the run-program dialog decides, apart from its window: the priority
// rows, the folder its Quick Launch button opens in, what a picked file puts
// into the fields, and the command line the fields start.

#include <windows.h>

#include <functional>
#include <string>

namespace qv {

struct RunPriority {
    const char* text;
    DWORD creationFlag;
};
// The rows of the priority list, top to bottom; the first is chosen when the
// dialog opens.
inline constexpr RunPriority kRunPriorities[] = {
    {"普通", NORMAL_PRIORITY_CLASS},
    {"低い", IDLE_PRIORITY_CLASS},
    {"高い", HIGH_PRIORITY_CLASS},
};
// The creation flag of a row; no row (CB_ERR) starts at normal priority.
DWORD RunPriorityFlag(LRESULT row);

// The folder the Quick Launch button opens in: under the user's AppData
// shell folder when that one is a plain directory, else the mapped Quick
// Launch value, else "" (the file dialog's default). appData and mapped are
// the registry texts as read ("" when missing); attributesOf answers as
// GetFileAttributes does.
std::string QuickLaunchStartFolder(const std::string& appData, const std::string& mapped,
                                   const std::function<DWORD(const std::string&)>& attributesOf);

struct RunFields {
    std::string command;
    std::string arguments;
    std::string directory;  // "" starts in the daemon's current directory
};

// A program picked in the file dialog: its path is the command, its folder
// (with the trailing '\') the working directory; the arguments stay.
RunFields WithPickedProgram(RunFields fields, const char* path);
// A data file picked for the shell: the helper QVShlExe.exe beside the
// daemon (ownModule: the daemon's file) opens it on the dialog's desktop.
RunFields WithPickedDataFile(RunFields fields, const char* ownModule, const char* path);

// The command, a blank, the arguments: the blank even when there are none.
std::string RunCommandLine(const RunFields& fields);

}  // namespace qv

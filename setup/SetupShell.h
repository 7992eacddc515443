#pragma once
// The system calls the two setup programs share: folders, copies, text
// files, shortcuts, the checks at start, and starting programs.

#include <windows.h>

#include <string>
#include <vector>

#include "Handle.h"
#include "SetupRules.h"

namespace qvsetup {

// The daemon runs on this desktop (its thread window is here).
bool DaemonRunning();
// A system of the NT family.
bool IsNtFamily();

// Whether the user's token holds the local Administrators group. When the
// test itself fails, *failure is the reason to show and the answer is false.
bool IsAdministrator(std::string* failure);

std::string CurrentFolder();
bool FileExists(const std::string& path);
bool FolderExists(const std::string& path);

// The names of the files (not folders) in the folder that match the pattern.
std::vector<std::string> FilesMatching(const std::string& folder, const char* pattern);

// Makes the folder and its missing parents, one level at a time.
bool MakeFolderTree(const std::string& folder);

// Copies over any earlier copy, read-only or not; marks the copy read-only
// when asked.
bool CopyReplacing(const std::string& from, const std::string& to, bool readOnly);
// Writes (or appends) the text with "\r\n" line ends.
bool WriteText(const std::string& path, const std::string& text, bool append);
// Marks a file read-only, or clears the mark before the file is rewritten.
void SetReadOnly(const std::string& path, bool readOnly);

// A value of the user's (or the machine's) Shell Folders key.
bool ReadShellFolder(bool machine, const char* valueName, std::string* folder);

enum class LinkResult { kMade, kNoTarget, kNoShellLink, kNoPersistFile, kSaveFailed };
// Makes the shortcut when its target exists (normal window).
LinkResult MakeShellLink(const LinkSpec& link);
// Makes the shortcuts in order, noting the targets that are missing; stops at
// the first other failure and returns it (kMade when none failed).
LinkResult MakeShellLinks(const std::vector<LinkSpec>& links, std::vector<std::string>* missingTargets);
// The box text of a failed link ("" for kMade and kNoTarget).
const char* LinkFailureText(LinkResult result);

// Starts a program entry of the medium: the program, its arguments, at
// 16,16 and 800 by 600. The process, or null.
qv::UniqueHandle StartProgramEntry(const std::string& program, const std::string& arguments);
// Starts a program in a folder; false when it could not be created.
bool StartProgram(const std::string& commandLine, const std::string& folder);

}  // namespace qvsetup

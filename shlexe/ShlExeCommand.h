#pragma once
// The command line of QVShlExe: how to open its one shell item.

#include <cstdint>
#include <string>

namespace qv {

struct ShlExeCommand {
    static constexpr uint32_t kDefaultTimeout = 10000;

    bool hasItem = false;  // false: nothing to do, exit at once
    bool waiting = true;   // wait for the program, find and place its window
    uint32_t timeoutMs = kDefaultTimeout;
    std::string item;      // taken literally, blanks and quotes included
};

// text: everything after the program name, as the entry point receives it.
ShlExeCommand ParseShlExeCommand(const char* text);

// The one document of ShellExe's command line: the whole text without the
// blanks around it, and without the double quotes around it when it is
// quoted as a whole (a path with blanks may come either way). Empty: none.
std::string ShellExeDocument(const char* text);

}  // namespace qv

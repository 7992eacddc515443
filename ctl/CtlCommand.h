#pragma once
// QVCtl's command line: the command, its options and its words, read from
// the command line as the system hands it over, and the exit codes that
// scripts test.

#include <cstdint>
#include <string>
#include <vector>

namespace qv {

// What a script can tell apart by the exit code alone.
enum CtlExitCode : int {
    kCtlDone = 0,
    kCtlFailed = 1,       // unknown desktop, number out of range, window gone, file not writable
    kCtlUsage = 2,        // a wrong command line
    kCtlNoDaemon = 3,     // no daemon's window anywhere in the window station
    kCtlNoAnswer = 4,     // the daemon did not answer, or did not switch, in time
    kCtlMalformed = 5,    // the daemon's reply broke its format
};

enum class CtlVerb { kStatus, kSwitch, kWindows, kActivate, kStart, kSnapshot, kExit, kHelp, kVersion };

struct CtlCommand {
    CtlVerb verb = CtlVerb::kHelp;
    bool json = false;
    bool desktopGiven = false;
    std::string desktop;    // --desktop's word
    std::string target;     // switch: the desktop word
    uint32_t window = 0;    // activate: the window handle
    std::string program;    // start: the program, as typed without its quotes
    std::string arguments;  // start: the rest of the line after the program, as typed
    std::string file;       // snapshot: the bitmap file's path
};

// One word of a command line: its text with quotes and escapes resolved, and
// where it begins in the line, so that a tail can be passed on as typed.
struct CommandWord {
    std::string text;
    size_t start = 0;
};

// Cuts a command tail (the program's own name already left out) into words
// by the rules the C runtime applies, stepping over the second byte of every
// Shift-JIS character: a backslash or quote there is part of the character.
std::vector<CommandWord> SplitCommandWords(const std::string& line);

// The command tail of a whole command line: what follows the program's
// name, which may be quoted.
std::string CommandTail(const std::string& commandLine);

// False with a message for the user when the line is wrong.
bool ParseCtlCommand(const std::string& tail, CtlCommand* command, std::string* problem);

// A window handle as `windows` prints it ("0x0001012A"); ParseWindowHandle
// also takes decimal. 0 and values beyond 32 bits are refused.
std::string WindowHandleText(uint32_t handle);
bool ParseWindowHandle(const std::string& text, uint32_t* handle);

extern const char kCtlUsageText[];
extern const char kCtlVersionText[];

}  // namespace qv

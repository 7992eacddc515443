#pragma once
// From the command line to a controller whose desktops run.

namespace qv {

class SwitcherController;

// The process exit codes of the daemon.
enum ExitCode {
    kExitNormal = 0,
    kExitNoProcessApi = 1,  // also the end forced by the session end
    kExitAlreadyRunning = 10,
    kExitNoThreadWindow = 11,
    kExitNoMainWindow = 12,
    kExitSyntax = 20,
    kExitNoController = 30,
    kExitCannotOpen = 40,
    kExitMalformed = 50,
    kExitNoDesktop = 55,
    kExitDesktopInit = 60,
    kExitThreadStart = 70,
    kExitRunFailed = 80,
};

// Runs the start-up; returns the controller with its desktop threads
// running, or null with exitCode set (every failure has shown its box).
SwitcherController* StartUp(const char* commandLine, int* exitCode);

// The usage box, after a box of its own for message when one is given.
void ShowUsage(const char* message);

}  // namespace qv

#pragma once
// What the daemon's threads share: the windows' names, the process-wide
// pointers of the ring and the flags found at start-up.

#include <windows.h>

#include "Protocol.h"
#include "QuorvelRes.h"
#include "TextString.h"

namespace qv {

class SwitcherController;
class SwitcherDesktop;

inline constexpr int kDaemonMenu = IDR_QUORVEL_MENU;
inline constexpr int kVersionDialog = IDD_VERSION;
inline constexpr int kDaemonIcon = IDI_QUORVEL;

struct DaemonState {
    HINSTANCE instance = nullptr;
    TextString launchingDesktop;  // name of the desktop the process started on
    HWND mainWindow = nullptr;
    SwitcherController* controller = nullptr;
    // Written by the main window procedure only; the desktop threads read them.
    SwitcherDesktop* home = nullptr;
    SwitcherDesktop* current = nullptr;
    SwitcherDesktop* previous = nullptr;
    int desktopCount = 0;
    int threadWindowCounter = 0;  // titles "Desktop%d" follow the thread starts
    bool configFound = false;
    bool mendrelFound = false;
    HANDLE startSemaphore = nullptr;
};

DaemonState& Daemon();

// A file that exists and has none of the excluded attributes.
bool IsPlainFile(const char* path, DWORD excluded = FILE_ATTRIBUTE_DIRECTORY);

// Start-up message boxes: task-modal, OK, no icon.
void ShowStartupBox(const char* text);

}  // namespace qv

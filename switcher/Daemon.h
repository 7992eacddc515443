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

// Messages between the daemon's own threads. The main thread waits for a
// desktop thread no longer than kDesktopThreadAnswerMs, so that one busy
// desktop (a slow reader of its snapshot, an application slow to close)
// cannot hold the hot keys and the exit; a desktop thread waits for the main
// thread, which may be waiting for two other desktops in one switch, longer.
// A message that was not answered in time is still handled when its
// receiver gets to it; only its result is lost, and the wait logged.
inline constexpr DWORD kDesktopThreadAnswerMs = 10000;
inline constexpr DWORD kMainThreadAnswerMs = 3 * kDesktopThreadAnswerMs;
LRESULT SendToDesktopThread(HWND threadWindow, UINT message, WPARAM wParam, LPARAM lParam);
LRESULT SendToMainThread(UINT message, WPARAM wParam, LPARAM lParam);

// A file that exists and has none of the excluded attributes.
bool IsPlainFile(const char* path, DWORD excluded = FILE_ATTRIBUTE_DIRECTORY);
// What a program file the daemon starts must not be.
inline constexpr DWORD kNotAProgramFile =
    FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_TEMPORARY | FILE_ATTRIBUTE_OFFLINE;

// Start-up message boxes: task-modal, OK, no icon.
void ShowStartupBox(const char* text);

}  // namespace qv

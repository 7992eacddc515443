#pragma once
// The names by which the programs of the suite find and ask each other: the
// daemon's windows, its request message and request numbers, the query pipe,
// and the control bar's window. Other builds search for these texts and send
// these numbers, so every one of them must stay byte for byte as it is.

#include <cstdint>

namespace qv {

inline constexpr char kQueryPipeName[] = "\\\\.\\pipe\\Quorvel.pip";
// The daemon connects to whichever instance of the pipe listens: the askers
// of every program take turns on this mutex of the session for a question.
inline constexpr char kAskerMutexName[] = "Local\\Quorvel_QueryPipe_Turn";

// The daemon's main window lies on the desktop it was started on; it takes
// the end request only. Each desktop has one thread window, which takes all
// the others. Both bear the same window name.
inline constexpr char kMainWindowClass[] = "MultipleDesktopSwitcher with Mendrel";
inline constexpr char kThreadWindowClass[] = "MultipleDesktopSwitcher:Thread";
inline constexpr char kDaemonWindowName[] = "MultipleDesktopSwitcher";

inline constexpr unsigned kRequestMessage = 0x0401;  // WM_USER+1; wParam is the request

// The requests (wParam of kRequestMessage). Where lParam carries a text, it
// is packed with PackCommandText.
enum DaemonRequest : unsigned {
    kCommandTextRequest = 0,       // lParam: a command text ("N", "+1", "HN" ...)
    kSwitchToNumberRequest = 1,    // lParam: desktop number N as text, counted from 1
    kSwitchFromEndRequest = 2,     // lParam: N as text, counted back from the home desktop
    kNumberOfDesktopsRequest = 3,  // answered through the pipe
    kActivateWindowRequest = 4,    // lParam: the thread window whose desktop becomes current
    kDesktopNameRequest = 5,       // answered through the pipe
    kCurrentDesktopIdRequest = 6,  // answered through the pipe
    kBitmapRequest = 7,            // the snapshot, answered through the pipe
    kVersionRequest = 8,           // answered as the result: kDaemonVersion, 0 while a dialog is open
    kSoundSwitchRequest = 9,       // lParam: 0 toggle, 1 on, 2 off
    kSnapshotSizeRequest = 10,     // lParam: snapshots kept at 1/N of the screen, 0 none (up to 32)
    kInformationRequest = 11,      // answered through the pipe
    kEndDaemonRequest = 12,        // main window only
};

inline constexpr uint32_t kDaemonVersion = 0x200;  // what the daemon answers and the least an asker accepts

// The control bar's thread window on each desktop, which the daemon leaves
// alone when it closes a desktop's applications.
inline constexpr char kBarThreadWindowClass[] = "QVControlBar:ThreadWindow for Quorvel";
inline constexpr char kBarWindowName[] = "QVControlBar for Quorvel";
// The bar's one main window, on the desktop the bar was started on, which
// takes the hanger's requests for every desktop; same window name.
inline constexpr char kBarMainWindowClass[] = "QVControlBar:MainWindow for Quorvel";

enum BarRequest : unsigned {
    kBarHangWindowRequest = 1,  // hang a window on the bar (to the main window or any bar)
    kBarRemoveEntryRequest = 2, // main window: take a hung-on window off the hanger
    kBarRebuildHangerRequest = 3,  // a bar: show the hanger's buttons anew
    kBarShowRequest = 6,        // unroll the bar and drop its hollow frame
    kBarEndRequest = 7,         // end the bar; lParam 0 at once, 1 asks to end it alone, 2 with the daemon
};

}  // namespace qv

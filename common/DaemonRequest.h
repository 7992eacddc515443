#pragma once
// The asking end of the daemon's requests, as the control bar, the viewer
// and the task switch tool send them. The windows are searched on the calling
// thread's desktop; to ask on another desktop, run these through RunOnDesktop
// (DesktopThread.h). Every send is bounded, so a daemon that is busy, hung or
// gone costs the asker time but never its thread.

#include <windows.h>

#include "Protocol.h"

namespace qv {

enum class DaemonWindow {
    kThread,  // the thread window of the calling thread's desktop
    kMain,    // the main window, found only on the desktop the daemon started on
};

enum class RequestOutcome {
    kAnswered,
    kNoWindow,  // none found, or it went away before it answered
    kNoAnswer,  // still there, but no answer in time (busy or hung)
};

struct RequestReply {
    RequestOutcome outcome = RequestOutcome::kNoWindow;
    LRESULT value = 0;  // the window's answer; 0 unless answered

    bool Answered() const { return outcome == RequestOutcome::kAnswered; }
};

// Long enough for any answer the daemon gives from its window procedure.
inline constexpr DWORD kRequestTimeoutMs = 5000;

HWND FindDaemonWindow(DaemonWindow window);

// SendMessageTimeout with SMTO_ABORTIFHUNG unless other flags are given: a
// window whose thread has stopped taking messages is waited for no more than
// a second, to tell it from one whose thread has just woken.
RequestReply SendBounded(HWND window, UINT message, WPARAM wParam, LPARAM lParam,
                         DWORD timeoutMs = kRequestTimeoutMs, UINT flags = SMTO_ABORTIFHUNG);

RequestReply SendRequest(HWND window, DaemonRequest request, LPARAM lParam = 0,
                         DWORD timeoutMs = kRequestTimeoutMs);
RequestReply SendRequest(DaemonWindow window, DaemonRequest request, LPARAM lParam = 0,
                         DWORD timeoutMs = kRequestTimeoutMs);
// False when there is no window or the post failed.
bool PostRequest(DaemonWindow window, DaemonRequest request, LPARAM lParam = 0);

// Request 0 at the thread window, the text packed with PackCommandText.
RequestReply SendCommandText(const char* text, DWORD timeoutMs = kRequestTimeoutMs);
bool PostCommandText(const char* text);

}  // namespace qv

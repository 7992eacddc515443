#pragma once
// More of the daemon as the other programs reach it: any message to its
// windows, and a pipe reply exactly as it came.

#include <windows.h>

#include <optional>
#include <string>

#include "DaemonRequest.h"
#include "PipeFormat.h"

namespace qvtest {

// The daemon's window on the calling thread's desktop, waited for while the
// daemon may still be making it; null when it did not come in time.
HWND WaitForDaemonWindow(qv::DaemonWindow window, DWORD timeoutMs = 5000);

// The message to the desktop's thread window, or to the main window (which
// lies on the desktop the daemon was started on), sent with a time-out from
// a worker thread attached to that desktop; nothing when the window is
// missing or the answer did not come in time.
std::optional<LRESULT> SendToThreadWindow(const std::string& desktop, UINT message, WPARAM wParam, LPARAM lParam,
                                          DWORD timeoutMs = 10000);
std::optional<LRESULT> SendToMainWindow(const std::string& desktop, UINT message, WPARAM wParam, LPARAM lParam,
                                        DWORD timeoutMs = 10000);

// Every byte of the reply to a question at the desktop's thread window;
// "<error n>" when the question failed.
std::string RawReply(const std::string& desktop, qv::PipeQuestion question);

}  // namespace qvtest

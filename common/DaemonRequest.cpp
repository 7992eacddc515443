#include "DaemonRequest.h"

#include "CommandText.h"

namespace qv {

HWND FindDaemonWindow(DaemonWindow window) {
    return FindWindowA(window == DaemonWindow::kMain ? kMainWindowClass : kThreadWindowClass, kDaemonWindowName);
}

RequestReply SendBounded(HWND window, UINT message, WPARAM wParam, LPARAM lParam, DWORD timeoutMs, UINT flags) {
    RequestReply reply;
    if (!window) return reply;
    DWORD_PTR answer = 0;
    if (SendMessageTimeoutA(window, message, wParam, lParam, flags, timeoutMs, &answer)) {
        reply.outcome = RequestOutcome::kAnswered;
        reply.value = static_cast<LRESULT>(answer);
    } else {
        // A daemon that ended while it was asked has nothing more to say; one
        // that is still there may answer later, but not to this caller.
        reply.outcome = IsWindow(window) ? RequestOutcome::kNoAnswer : RequestOutcome::kNoWindow;
    }
    return reply;
}

RequestReply SendRequest(HWND window, DaemonRequest request, LPARAM lParam, DWORD timeoutMs) {
    return SendBounded(window, kRequestMessage, request, lParam, timeoutMs);
}

RequestReply SendRequest(DaemonWindow window, DaemonRequest request, LPARAM lParam, DWORD timeoutMs) {
    return SendRequest(FindDaemonWindow(window), request, lParam, timeoutMs);
}

bool PostRequest(DaemonWindow window, DaemonRequest request, LPARAM lParam) {
    HWND target = FindDaemonWindow(window);
    return target && PostMessageA(target, kRequestMessage, request, lParam);
}

RequestReply SendCommandText(const char* text, DWORD timeoutMs) {
    return SendRequest(DaemonWindow::kThread, kCommandTextRequest, static_cast<LPARAM>(PackCommandText(text)),
                       timeoutMs);
}

bool PostCommandText(const char* text) {
    return PostRequest(DaemonWindow::kThread, kCommandTextRequest, static_cast<LPARAM>(PackCommandText(text)));
}

}  // namespace qv

#include "DaemonRequest.h"

#include "CommandText.h"

namespace qv {

namespace {

constexpr DWORD kHungConfirmMs = 1000;

}  // namespace

HWND FindDaemonWindow(DaemonWindow window) {
    return FindWindowA(window == DaemonWindow::kMain ? kMainWindowClass : kThreadWindowClass, kDaemonWindowName);
}

RequestReply SendBounded(HWND window, UINT message, WPARAM wParam, LPARAM lParam, DWORD timeoutMs, UINT flags) {
    RequestReply reply;
    if (!window) return reply;
    DWORD_PTR answer = 0;
    const DWORD start = GetTickCount();
    BOOL answered = SendMessageTimeoutA(window, message, wParam, lParam, flags, timeoutMs, &answer);
    // The system judges a thread hung when it has fetched no message for 5 s
    // and is not waiting for one, which also holds for a thread idle that
    // long in the moment between its wake-up by another message and its
    // first fetch: the soak run saw a question refused so at once, as a
    // switch request woke the desktop's thread. A refusal before the time-out
    // (the message was not delivered) is confirmed with a short wait.
    if (!answered && (flags & SMTO_ABORTIFHUNG) && GetTickCount() - start < timeoutMs && IsWindow(window))
        answered = SendMessageTimeoutA(window, message, wParam, lParam, flags & ~SMTO_ABORTIFHUNG,
                                       timeoutMs < kHungConfirmMs ? timeoutMs : kHungConfirmMs, &answer);
    if (answered) {
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

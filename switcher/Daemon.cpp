#include "Daemon.h"

#include "DaemonRequest.h"
#include "Log.h"

namespace qv {

DaemonState& Daemon() {
    static DaemonState state;
    return state;
}

namespace {

LRESULT SendWithin(HWND window, UINT message, WPARAM wParam, LPARAM lParam, DWORD timeoutMs, const char* whom) {
    // Not SMTO_ABORTIFHUNG: a thread busy with a bounded step of its own is
    // not hung, and is waited for until the bound.
    const RequestReply reply = SendBounded(window, message, wParam, lParam, timeoutMs, SMTO_NORMAL);
    if (reply.outcome == RequestOutcome::kNoAnswer)
        WriteLog("%s Did Not Answer Message %04X (%u) Within %u ms.\n", whom, message,
                 static_cast<unsigned>(wParam), static_cast<unsigned>(timeoutMs));
    return reply.value;
}

}  // namespace

LRESULT SendToDesktopThread(HWND threadWindow, UINT message, WPARAM wParam, LPARAM lParam) {
    return SendWithin(threadWindow, message, wParam, lParam, kDesktopThreadAnswerMs, "Desktop Thread");
}

LRESULT SendToMainThread(UINT message, WPARAM wParam, LPARAM lParam) {
    return SendWithin(Daemon().mainWindow, message, wParam, lParam, kMainThreadAnswerMs, "Main Thread");
}

bool IsPlainFile(const char* path, DWORD excluded) {
    DWORD attributes = GetFileAttributesA(path);
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & excluded);
}

void ShowStartupBox(const char* text) { MessageBoxA(nullptr, text, kDaemonWindowName, MB_OK | MB_TASKMODAL); }

}  // namespace qv

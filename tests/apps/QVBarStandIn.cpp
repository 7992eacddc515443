// Stands in for the control bar where a test copies it as QVCtrlBar.exe: a
// window of the bar's class and name, as the daemon finds it, and a report
// in its own folder ("bar-report.txt") of its command line and of the
// requests it receives. It ends on the bar's end request, or after a minute.

#include <windows.h>

#include <cstdio>
#include <string>

#include "Log.h"
#include "Protocol.h"

namespace {

std::string g_report;

void Report(const char* line) { qv::AppendToLogFile(g_report.c_str(), "%s\n", line); }

LRESULT CALLBACK BarProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == qv::kRequestMessage) {
        char line[64];
        std::snprintf(line, sizeof(line), "REQUEST %u %ld", static_cast<unsigned>(wParam), static_cast<long>(lParam));
        Report(line);
        if (wParam == qv::kBarEndRequest) DestroyWindow(window);
        return 1;
    }
    if (message == WM_DESTROY) {
        PostQuitMessage(0);
        return 0;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR commandLine, int) {
    char own[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, own, MAX_PATH);
    g_report = own;
    g_report = g_report.substr(0, g_report.find_last_of('\\') + 1) + "bar-report.txt";
    WNDCLASSA wc = {};
    wc.lpfnWndProc = BarProc;
    wc.hInstance = instance;
    wc.lpszClassName = qv::kBarThreadWindowClass;
    if (!RegisterClassA(&wc)) return 2;
    HWND window = CreateWindowExA(WS_EX_TOOLWINDOW, qv::kBarThreadWindowClass, qv::kBarWindowName, WS_POPUP, 0, 0, 1,
                                  1, nullptr, nullptr, instance, nullptr);
    if (!window) return 3;
    // Started once the daemon can find it.
    Report((std::string("START ") + commandLine).c_str());
    SetTimer(window, 1, 60000, [](HWND w, UINT, UINT_PTR, DWORD) { DestroyWindow(w); });
    MSG msg;
    while (GetMessageA(&msg, nullptr, 0, 0) > 0) DispatchMessageA(&msg);
    Report("EXIT");
    return 0;
}

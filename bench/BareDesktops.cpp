// The bare program of the memory figure: what the daemon does per desktop
// with nothing of its own. It adopts the desktop it starts on, makes the
// others, gives each one a thread with a hidden window like the daemon's
// thread window, visits each once (the system switch and a sent activation),
// tells the bench it is done and waits to be ended. With "start" it visits
// nothing: it activates the desktop it started on, as the daemon ends its
// start, and is done.
//   BenchBareDesktops.exe <desktops> <done event> <end event> [start]

#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "Handle.h"

namespace {

constexpr char kBareClass[] = "QVBenchBare:Thread";
constexpr UINT kActivate = WM_APP + 7;
constexpr DWORD kThreadStartMs = 30000;
constexpr DWORD kLongestRunMs = 10 * 60 * 1000;

struct BareDesktop {
    HDESK desktop = nullptr;
    bool owned = false;
    HWND window = nullptr;
    qv::UniqueHandle thread;
    qv::UniqueHandle ready;
};

LRESULT CALLBACK BareProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == kActivate) return 1;
    if (message == WM_CLOSE) {
        DestroyWindow(window);
        return 0;
    }
    if (message == WM_DESTROY) {
        PostQuitMessage(0);
        return 0;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

DWORD WINAPI DesktopThread(void* param) {
    auto* bare = static_cast<BareDesktop*>(param);
    if (SetThreadDesktop(bare->desktop))
        bare->window = CreateWindowExA(WS_EX_TOPMOST | WS_EX_TOOLWINDOW, kBareClass, kBareClass, WS_POPUP | WS_DISABLED,
                                       0, 0, 0, 0, nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
    SetEvent(bare->ready.Get());
    if (!bare->window) return 1;
    MSG message;
    while (GetMessageA(&message, nullptr, 0, 0) > 0) DispatchMessageA(&message);
    return 0;
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
    if (__argc < 4) return 2;
    const int count = std::atoi(__argv[1]);
    qv::UniqueHandle done(OpenEventA(EVENT_MODIFY_STATE, FALSE, __argv[2]));
    qv::UniqueHandle end(OpenEventA(SYNCHRONIZE, FALSE, __argv[3]));
    if (count < 1 || !done || !end) return 2;
    WNDCLASSA windowClass = {};
    windowClass.lpfnWndProc = BareProc;
    windowClass.hInstance = instance;
    windowClass.lpszClassName = kBareClass;
    if (!RegisterClassA(&windowClass)) return 1;

    std::vector<BareDesktop> desktops(count);
    int result = 0;
    for (int i = 0; i < count && result == 0; ++i) {
        BareDesktop& bare = desktops[i];
        if (i == 0) {
            bare.desktop = GetThreadDesktop(GetCurrentThreadId());
        } else {
            char name[64];
            std::snprintf(name, sizeof(name), "QVBare_%lu_%d", GetCurrentProcessId(), i);
            bare.desktop = CreateDesktopA(name, nullptr, nullptr, 0, GENERIC_ALL, nullptr);
            bare.owned = true;
        }
        bare.ready.Reset(CreateEventA(nullptr, TRUE, FALSE, nullptr));
        // One at a time, as the daemon starts its desktop threads.
        if (bare.desktop && bare.ready) bare.thread.Reset(CreateThread(nullptr, 0, DesktopThread, &bare, 0, nullptr));
        if (!bare.thread || WaitForSingleObject(bare.ready.Get(), kThreadStartMs) != WAIT_OBJECT_0 || !bare.window)
            result = 1;
    }
    const bool startOnly = __argc > 4 && std::strcmp(__argv[4], "start") == 0;
    if (result == 0) {
        for (int step = startOnly ? count : 1; step <= count; ++step) {
            BareDesktop& bare = desktops[step % count];
            SwitchDesktop(bare.desktop);
            DWORD_PTR answer = 0;
            SendMessageTimeoutA(bare.window, kActivate, 0, 0, SMTO_ABORTIFHUNG, 5000, &answer);
        }
        SetEvent(done.Get());
        WaitForSingleObject(end.Get(), kLongestRunMs);
    }
    for (BareDesktop& bare : desktops) {
        if (bare.window) PostMessageA(bare.window, WM_CLOSE, 0, 0);
        if (bare.thread) WaitForSingleObject(bare.thread.Get(), 10000);
    }
    SwitchDesktop(desktops[0].desktop);
    for (BareDesktop& bare : desktops)
        if (bare.owned && bare.desktop) CloseDesktop(bare.desktop);
    return result;
}

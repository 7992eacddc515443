// "An application" for the tests: a small window program whose behaviour is
// chosen on its command line and which reports what it received.
//
//   QVFixture.exe [--title=T] [--idle-delay=MS] [--hidden=N] [--owned=N [--owned-popups]]
//                 [--no-window] [--on-close=destroy|ignore] [--on-quit=exit|ignore]
//                 [--on-queryend=yes|no|hang] [--report=PATH] [--exit-code=N]
//                 [--color=0xBBGGRR] [--lifetime=MS] [--daemon-windows] [--hang=MS]
//
// --daemon-windows adds hidden windows of the daemon's main and thread window
// classes, so that a copy of this program named Quorvel.exe stands for a
// running daemon; --hang=MS keeps the thread from taking any message for
// that long once its windows are made.
//
// Report lines (appended to PATH, one per event):
//   START pid=<pid> created=<creation time, 100 ns units> tid=<tid> asked=<desktop its startup information names, - for none> desktop=<name>
//   WINDOW hwnd=<hex> | NO WINDOW error=<code>
//   DAEMON WINDOWS
//   WM_CLOSE | THREAD WM_CLOSE | WM_QUIT | WM_QUERYENDSESSION | WM_ENDSESSION <0|1>
//   LIFETIME | EXIT <code>
// A fixture never outlives --lifetime (60000 ms unless given), so a failed
// test cannot leave it behind for long.

#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "Protocol.h"

namespace {

struct Options {
    std::string title = "QVFixture";
    DWORD idleDelay = 0;
    int hidden = 0;
    int owned = 0;
    bool ownedPopups = false;  // owned pop-ups, whose parent (GetParent) is their owner
    bool window = true;
    bool closeDestroys = true;
    bool quitExits = true;
    std::string queryEnd = "yes";
    std::string report;
    int exitCode = 0;
    COLORREF color = RGB(255, 255, 255);
    DWORD lifetime = 60000;
    bool daemonWindows = false;
    DWORD hang = 0;
};

Options g_options;

void Report(const char* format, ...) {
    if (g_options.report.empty()) return;
    FILE* file = std::fopen(g_options.report.c_str(), "a");
    if (!file) return;
    va_list args;
    va_start(args, format);
    std::vfprintf(file, format, args);
    va_end(args);
    std::fputc('\n', file);
    std::fclose(file);
}

void Parse(const char* commandLine) {
    std::string text(commandLine ? commandLine : "");
    size_t pos = 0;
    while (pos < text.size()) {
        while (pos < text.size() && text[pos] == ' ') ++pos;
        size_t end = text.find(' ', pos);
        if (end == std::string::npos) end = text.size();
        std::string word = text.substr(pos, end - pos);
        pos = end;
        size_t eq = word.find('=');
        std::string name = word.substr(0, eq);
        std::string value = eq == std::string::npos ? "" : word.substr(eq + 1);
        if (name == "--title") g_options.title = value;
        else if (name == "--idle-delay") g_options.idleDelay = std::strtoul(value.c_str(), nullptr, 0);
        else if (name == "--hidden") g_options.hidden = std::atoi(value.c_str());
        else if (name == "--owned") g_options.owned = std::atoi(value.c_str());
        else if (name == "--owned-popups") g_options.ownedPopups = true;
        else if (name == "--no-window") g_options.window = false;
        else if (name == "--on-close") g_options.closeDestroys = value != "ignore";
        else if (name == "--on-quit") g_options.quitExits = value != "ignore";
        else if (name == "--on-queryend") g_options.queryEnd = value;
        else if (name == "--report") g_options.report = value;
        else if (name == "--exit-code") g_options.exitCode = std::atoi(value.c_str());
        else if (name == "--color") g_options.color = std::strtoul(value.c_str(), nullptr, 0);
        else if (name == "--lifetime") g_options.lifetime = std::strtoul(value.c_str(), nullptr, 0);
        else if (name == "--daemon-windows") g_options.daemonWindows = true;
        else if (name == "--hang") g_options.hang = std::strtoul(value.c_str(), nullptr, 0);
    }
}

LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_CLOSE:
        Report("WM_CLOSE");
        if (g_options.closeDestroys) DestroyWindow(window);
        return 0;
    case WM_DESTROY:
        PostQuitMessage(g_options.exitCode);
        return 0;
    case WM_QUERYENDSESSION:
        Report("WM_QUERYENDSESSION");
        if (g_options.queryEnd == "hang") Sleep(INFINITE);
        return g_options.queryEnd == "no" ? FALSE : TRUE;
    case WM_ENDSESSION:
        Report("WM_ENDSESSION %d", wParam ? 1 : 0);
        return 0;
    case WM_ERASEBKGND: {
        RECT rect;
        GetClientRect(window, &rect);
        HBRUSH brush = CreateSolidBrush(g_options.color);
        FillRect(reinterpret_cast<HDC>(wParam), &rect, brush);
        DeleteObject(brush);
        return 1;
    }
    default:
        return DefWindowProcA(window, message, wParam, lParam);
    }
}

void CALLBACK LifetimeOver(HWND, UINT, UINT_PTR, DWORD) {
    Report("LIFETIME");
    ExitProcess(static_cast<UINT>(g_options.exitCode));
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR commandLine, int showCommand) {
    Parse(commandLine);
    char desktop[256] = "?";
    GetUserObjectInformationA(GetThreadDesktop(GetCurrentThreadId()), UOI_NAME, desktop, sizeof(desktop), nullptr);
    STARTUPINFOA startup = {};
    startup.cb = sizeof(startup);
    GetStartupInfoA(&startup);
    // Its creation time with its id: together they name this process alone,
    // however soon the id is given to another after its end.
    FILETIME created = {}, exited, kernel, user;
    GetProcessTimes(GetCurrentProcess(), &created, &exited, &kernel, &user);
    const unsigned long long createdNumber =
        (static_cast<unsigned long long>(created.dwHighDateTime) << 32) | created.dwLowDateTime;
    Report("START pid=%lu created=%llu tid=%lu asked=%s desktop=%s", GetCurrentProcessId(), createdNumber,
           GetCurrentThreadId(),
           startup.lpDesktop && *startup.lpDesktop ? startup.lpDesktop : "-", desktop);
    SetTimer(nullptr, 0, g_options.lifetime, LifetimeOver);
    // Busy before the first message loop: the starter's idle wait sees this.
    if (g_options.idleDelay) Sleep(g_options.idleDelay);

    WNDCLASSA wc = {};
    wc.lpfnWndProc = WindowProc;
    wc.hInstance = instance;
    wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
    wc.lpszClassName = "QVFixtureWindow";
    RegisterClassA(&wc);
    for (int i = 0; i < g_options.hidden; ++i) {
        std::string title = g_options.title + "#hidden" + std::to_string(i);
        CreateWindowExA(0, wc.lpszClassName, title.c_str(), WS_OVERLAPPEDWINDOW, 10, 10, 100, 100, nullptr, nullptr,
                        instance, nullptr);
    }
    HWND main = nullptr;
    if (g_options.window) {
        main = CreateWindowExA(0, wc.lpszClassName, g_options.title.c_str(), WS_OVERLAPPEDWINDOW, CW_USEDEFAULT,
                               CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, nullptr, nullptr, instance, nullptr);
        for (int i = 0; i < g_options.owned; ++i) {
            std::string title = g_options.title + "#owned" + std::to_string(i);
            const DWORD style = g_options.ownedPopups ? WS_POPUP | WS_CAPTION | WS_SYSMENU : WS_OVERLAPPEDWINDOW;
            HWND owned = CreateWindowExA(0, wc.lpszClassName, title.c_str(), style, 20, 20, 120, 90,
                                         main, nullptr, instance, nullptr);
            ShowWindow(owned, SW_SHOWNOACTIVATE);
        }
        // Wine once made no window here on a heavily loaded machine: say so,
        // with the error, rather than report a null window a test acts on.
        if (!main) {
            Report("NO WINDOW error=%lu", GetLastError());
        } else {
            ShowWindow(main, showCommand);
            UpdateWindow(main);
            Report("WINDOW hwnd=%p", static_cast<void*>(main));
        }
    }

    if (g_options.daemonWindows) {
        for (const char* className : {qv::kMainWindowClass, qv::kThreadWindowClass}) {
            WNDCLASSA daemonClass = wc;
            daemonClass.lpszClassName = className;
            RegisterClassA(&daemonClass);
            CreateWindowExA(WS_EX_TOOLWINDOW, className, qv::kDaemonWindowName, WS_POPUP, 0, 0, 0, 0, nullptr, nullptr,
                            instance, nullptr);
        }
        Report("DAEMON WINDOWS");
    }
    if (g_options.hang) Sleep(g_options.hang);

    MSG msg;
    int exitCode = g_options.exitCode;
    for (;;) {
        BOOL got = GetMessageA(&msg, nullptr, 0, 0);
        if (got == -1) break;
        if (got == 0) {
            Report("WM_QUIT");
            if (g_options.quitExits) {
                exitCode = static_cast<int>(msg.wParam);
                break;
            }
            continue;
        }
        if (!msg.hwnd && msg.message == WM_CLOSE) Report("THREAD WM_CLOSE");
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
    Report("EXIT %d", exitCode);
    return exitCode;
}

#include "Desktops.h"

#include <atomic>
#include <cstdio>
#include <stdexcept>

#include "DesktopThread.h"
#include "Processes.h"

namespace qvtest {

TestDesktop::TestDesktop() {
    static std::atomic<int> counter{0};
    m_name = "QVTest_" + std::to_string(GetCurrentProcessId()) + "_" + std::to_string(counter++);
    m_desktop = CreateDesktopA(m_name.c_str(), nullptr, nullptr, 0, GENERIC_ALL, nullptr);
    if (!m_desktop) throw std::runtime_error("CreateDesktop failed for " + m_name);
    // Wine starts a helper process for a desktop when its first window is
    // made. Made by a program the test started, that helper inherits the
    // test's output pipe and outlives it, and ctest waits for the pipe until
    // its time-out; made here, it does not.
    RunOnDesktop(m_name, [] {
        DestroyWindow(CreateWindowExA(0, "STATIC", "", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr, nullptr, nullptr));
    });
    m_leave = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    HANDLE parked = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    // The thread signals through a copy of its own, so that the wait below
    // may give up and close its handle without the thread using a closed one.
    HANDLE signal = nullptr;
    DuplicateHandle(GetCurrentProcess(), parked, GetCurrentProcess(), &signal, 0, FALSE, DUPLICATE_SAME_ACCESS);
    m_parked = std::thread([this, signal] {
        // A handle of its own: Wine closes the handle a thread was set onto
        // when the thread ends.
        HDESK desktop = OpenDesktopA(m_name.c_str(), 0, FALSE, GENERIC_ALL);
        const bool attached = desktop && SetThreadDesktop(desktop);
        if (signal) {
            SetEvent(signal);
            CloseHandle(signal);
        }
        if (attached)
            WaitForSingleObject(m_leave, INFINITE);  // set by the destructor, which joins
        else if (desktop)
            CloseDesktop(desktop);
    });
    WaitForSingleObject(parked, 10000);
    CloseHandle(parked);
}

TestDesktop::~TestDesktop() {
    SetEvent(m_leave);
    m_parked.join();
    CloseHandle(m_leave);
    if (m_desktop) CloseDesktop(m_desktop);
}

bool RunOnDesktop(const std::string& desktopName, const std::function<void()>& fn) {
    if (qv::RunOnDesktop(desktopName.c_str(), fn, GENERIC_ALL)) return true;
    // Every caller then reads as if the desktop had nothing on it: say why.
    std::fprintf(stderr, "RunOnDesktop(%s) failed: error %lu\n", desktopName.c_str(), GetLastError());
    return false;
}

HWND FindWindowOn(const std::string& desktopName, const char* className, const char* title, DWORD timeoutMs) {
    HWND found = nullptr;
    RunOnDesktop(desktopName, [&] {
        DWORD start = GetTickCount();
        while (!(found = FindWindowA(className, title)) && GetTickCount() - start < timeoutMs) Sleep(50);
    });
    return found;
}

std::string DesktopsNamed(const std::string& prefix) {
    std::string names;
    for (const std::string& name : qv::WindowStationDesktops())
        if (name.rfind(prefix, 0) == 0) names += name + " ";
    return names;
}

std::string CurrentDesktopName() {
    char name[256] = {};
    GetUserObjectInformationA(GetThreadDesktop(GetCurrentThreadId()), UOI_NAME, name, sizeof(name) - 1, nullptr);
    return name;
}

HWND FindShownDialog(const std::string& desktopName, const char* caption, DWORD timeoutMs) {
    HWND dialog = nullptr;
    bool shown = false;
    // Visibility is known only on the window's own desktop.
    WaitUntil(
        [&] {
            RunOnDesktop(desktopName, [&] {
                dialog = FindWindowA("#32770", caption);
                shown = dialog && IsWindowVisible(dialog);
            });
            return shown;
        },
        timeoutMs);
    return shown ? dialog : nullptr;
}

bool ShownOn(const std::string& desktopName, HWND window) {
    bool shown = false;
    RunOnDesktop(desktopName, [&] { shown = IsWindowVisible(window) != FALSE; });
    return shown;
}

std::string WindowText(HWND window) {
    char text[2048] = {};
    GetWindowTextA(window, text, sizeof(text));
    return text;
}

}  // namespace qvtest

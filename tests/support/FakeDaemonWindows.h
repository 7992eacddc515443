#pragma once
// Stand-ins for the daemon's windows on a desktop, served by their own
// thread: they note every request and answer as the daemon does for the
// version, for tests of the programs that ask the daemon.

#include <windows.h>

#include <atomic>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace qvtest {

class FakeDaemonWindows {
public:
    struct Received {
        std::string className;
        WPARAM wParam;
        LPARAM lParam;
    };

    // A thread window, and a main window when withMainWindow is set; each
    // request is answered only after answerDelayMs, as by a busy daemon.
    FakeDaemonWindows(const std::string& desktopName, bool withMainWindow, DWORD answerDelayMs = 0);
    ~FakeDaemonWindows();
    FakeDaemonWindows(const FakeDaemonWindows&) = delete;
    FakeDaemonWindows& operator=(const FakeDaemonWindows&) = delete;

    bool Ready() const { return m_ready; }
    std::vector<Received> Requests();

private:
    static LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

    DWORD m_answerDelayMs;
    std::thread m_thread;
    std::atomic<DWORD> m_threadId{0};
    bool m_ready = false;
    std::mutex m_lock;
    std::vector<Received> m_requests;
};

}  // namespace qvtest

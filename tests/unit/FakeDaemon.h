#pragma once
// Plays one desktop thread of the daemon: a hidden window of the daemon's
// thread-window class on a desktop, answering the version request itself and
// handing every other request to the test.

#include <windows.h>

#include <atomic>
#include <cstdint>
#include <functional>
#include <string>
#include <thread>

#include "Handle.h"

namespace qvtest {

class FakeDaemon {
public:
    struct Behaviour {
        uint32_t version = 0x200;
        DWORD versionDelayMs = 0;  // a window that is slow to answer
        // Runs on the window's thread inside its window procedure, as the
        // daemon's answers do.
        std::function<void(unsigned request)> onRequest;
    };

    // desktopName empty: the calling thread's desktop.
    FakeDaemon(const std::string& desktopName, Behaviour behaviour);
    ~FakeDaemon();
    FakeDaemon(const FakeDaemon&) = delete;
    FakeDaemon& operator=(const FakeDaemon&) = delete;

    int Requests() const { return m_requests; }  // requests other than the version
    // The answers log after the asker has its reply, so a test that reads the
    // log waits for them to return first. False when they did not in time.
    bool WaitAnswered(int count, DWORD timeoutMs) const;

private:
    static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    void Run();

    Behaviour m_behaviour;
    qv::UniqueDesktop m_desktop;
    qv::UniqueHandle m_started;
    qv::UniqueHandle m_finished;
    std::atomic<HWND> m_window{nullptr};
    std::atomic<int> m_requests{0};
    std::atomic<int> m_answered{0};
    std::thread m_thread;
};

}  // namespace qvtest

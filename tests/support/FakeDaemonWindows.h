#pragma once
// Stand-ins for the daemon's windows on a desktop, served by their own
// thread: they note every request and answer the version request, and the
// Information request through the asker's pipe, as the daemon does, for
// tests of the programs that ask the daemon.

#include <windows.h>

#include <atomic>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "Protocol.h"

namespace qvtest {

class FakeDaemonWindows {
public:
    struct Received {
        std::string className;
        WPARAM wParam;
        LPARAM lParam;
    };

    struct Options {
        bool withMainWindow = false;
        DWORD answerDelayMs = 0;  // each request is answered only after this, as by a busy daemon
        LRESULT version = qv::kDaemonVersion;  // the answer to the version request
        // Written as they are, with one WriteFile, into the asker's pipe for
        // each Information request; none: that request is only noted.
        std::optional<std::string> informationBytes;
    };

    // A thread window, and a main window when withMainWindow is set.
    FakeDaemonWindows(const std::string& desktopName, bool withMainWindow, DWORD answerDelayMs = 0);
    FakeDaemonWindows(const std::string& desktopName, const Options& options);
    ~FakeDaemonWindows();
    FakeDaemonWindows(const FakeDaemonWindows&) = delete;
    FakeDaemonWindows& operator=(const FakeDaemonWindows&) = delete;

    bool Ready() const { return m_ready; }
    std::vector<Received> Requests();

private:
    static LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

    const Options m_options;
    std::thread m_thread;
    std::atomic<DWORD> m_threadId{0};
    bool m_ready = false;
    std::mutex m_lock;
    std::vector<Received> m_requests;
    std::vector<std::thread> m_pipeWriters;  // one per Information request, joined at the end
};

}  // namespace qvtest

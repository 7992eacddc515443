#include "FakeDaemon.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <mutex>

#include "PipeFormat.h"
#include "ProcessLog.h"

namespace qvtest {

namespace {

const DWORD kStartMs = 10000;
const DWORD kStopMs = 10000;

}  // namespace

FakeDaemon::FakeDaemon(const std::string& desktopName, Behaviour behaviour) : m_behaviour(std::move(behaviour)) {
    if (!desktopName.empty()) {
        m_desktop.Reset(OpenDesktopA(desktopName.c_str(), 0, FALSE, GENERIC_ALL));
        if (!m_desktop) {
            ADD_FAILURE() << "cannot open desktop " << desktopName;
            return;
        }
    }
    m_started.Reset(CreateEventA(nullptr, TRUE, FALSE, nullptr));
    m_finished.Reset(CreateEventA(nullptr, TRUE, FALSE, nullptr));
    m_thread = std::thread([this] {
        Run();
        SetEvent(m_finished.Get());
    });
    if (WaitForSingleObject(m_started.Get(), kStartMs) != WAIT_OBJECT_0) ADD_FAILURE() << "fake daemon did not start";
}

FakeDaemon::~FakeDaemon() {
    if (m_thread.joinable()) {
        HWND window = m_window;
        if (window) PostMessageA(window, WM_CLOSE, 0, 0);
        if (WaitForSingleObject(m_finished.Get(), kStopMs) != WAIT_OBJECT_0) {
            // The thread still uses this object, so neither joining nor going
            // on is safe: end the test process as a failure instead of hanging.
            std::fprintf(stderr, "fake daemon did not stop\n");
            std::fflush(stderr);
            qvtest::EndProcess(GetCurrentProcess(), 3, "the fake daemon's thread did not stop");
        }
        m_thread.join();
    }
}

bool FakeDaemon::WaitAnswered(int count, DWORD timeoutMs) const {
    const DWORD start = GetTickCount();
    while (m_answered < count) {
        if (GetTickCount() - start >= timeoutMs) return false;
        Sleep(10);
    }
    return true;
}

void FakeDaemon::Run() {
    if (m_desktop && !SetThreadDesktop(m_desktop.Get())) {
        SetEvent(m_started.Get());
        return;
    }
    static std::once_flag registered;
    std::call_once(registered, [] {
        WNDCLASSEXA wc = {};
        wc.cbSize = sizeof(wc);
        wc.lpfnWndProc = WindowProc;
        wc.hInstance = GetModuleHandleA(nullptr);
        wc.lpszClassName = qv::kThreadWindowClass;
        RegisterClassExA(&wc);
    });
    HWND window = CreateWindowExA(0, qv::kThreadWindowClass, qv::kDaemonWindowName, WS_POPUP, 0, 0, 0, 0, nullptr,
                                  nullptr, GetModuleHandleA(nullptr), this);
    m_window = window;
    SetEvent(m_started.Get());
    if (!window) return;
    MSG msg;
    while (GetMessageA(&msg, nullptr, 0, 0) > 0) DispatchMessageA(&msg);
    m_window = nullptr;
}

LRESULT CALLBACK FakeDaemon::WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        auto* create = reinterpret_cast<CREATESTRUCTA*>(lParam);
        SetWindowLongPtrA(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
    }
    auto* self = reinterpret_cast<FakeDaemon*>(GetWindowLongPtrA(window, GWLP_USERDATA));
    if (message == WM_DESTROY) {
        PostQuitMessage(0);
        return 0;
    }
    if (message == qv::kRequestMessage && self) {
        if (wParam == qv::kVersionRequest) {
            if (self->m_behaviour.versionDelayMs) Sleep(self->m_behaviour.versionDelayMs);
            return static_cast<LRESULT>(self->m_behaviour.version);
        }
        ++self->m_requests;
        if (self->m_behaviour.onRequest) self->m_behaviour.onRequest(static_cast<unsigned>(wParam));
        ++self->m_answered;
        return 1;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

}  // namespace qvtest

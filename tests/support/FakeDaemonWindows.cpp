#include "FakeDaemonWindows.h"

#include "Handle.h"
#include "Processes.h"
#include "Protocol.h"

namespace qvtest {

FakeDaemonWindows::FakeDaemonWindows(const std::string& desktopName, bool withMainWindow, DWORD answerDelayMs)
    : m_answerDelayMs(answerDelayMs) {
    std::atomic<int> ready{0};
    m_thread = std::thread([&, desktopName, withMainWindow] {
        qv::UniqueDesktop desktop(OpenDesktopA(desktopName.c_str(), 0, FALSE, GENERIC_ALL));
        if (!desktop || !SetThreadDesktop(desktop.Get())) {
            ready = -1;
            return;
        }
        m_threadId = GetCurrentThreadId();
        std::vector<HWND> windows;
        for (const char* className : {qv::kThreadWindowClass, qv::kMainWindowClass}) {
            if (className == qv::kMainWindowClass && !withMainWindow) continue;
            WNDCLASSA wc = {};
            wc.lpfnWndProc = Procedure;
            wc.hInstance = GetModuleHandleA(nullptr);
            wc.lpszClassName = className;
            RegisterClassA(&wc);
            HWND window = CreateWindowExA(0, className, qv::kDaemonWindowName, WS_POPUP, 0, 0, 0, 0, nullptr, nullptr,
                                          wc.hInstance, nullptr);
            SetWindowLongPtrA(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
            windows.push_back(window);
        }
        ready = 1;
        MSG msg;
        while (GetMessageA(&msg, nullptr, 0, 0) > 0) DispatchMessageA(&msg);
        for (HWND window : windows) DestroyWindow(window);
        UnregisterClassA(qv::kThreadWindowClass, GetModuleHandleA(nullptr));
        UnregisterClassA(qv::kMainWindowClass, GetModuleHandleA(nullptr));
    });
    WaitUntil([&] { return ready != 0; }, 10000);
    m_ready = ready == 1;
}

FakeDaemonWindows::~FakeDaemonWindows() {
    if (m_threadId) PostThreadMessageA(m_threadId, WM_QUIT, 0, 0);
    m_thread.join();
}

std::vector<FakeDaemonWindows::Received> FakeDaemonWindows::Requests() {
    std::lock_guard<std::mutex> lock(m_lock);
    return m_requests;
}

LRESULT CALLBACK FakeDaemonWindows::Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* self = reinterpret_cast<FakeDaemonWindows*>(GetWindowLongPtrA(window, GWLP_USERDATA));
    if (message != qv::kRequestMessage || !self) return DefWindowProcA(window, message, wParam, lParam);
    char className[64] = {};
    GetClassNameA(window, className, sizeof(className));
    {
        std::lock_guard<std::mutex> lock(self->m_lock);
        self->m_requests.push_back({className, wParam, lParam});
    }
    if (self->m_answerDelayMs) Sleep(self->m_answerDelayMs);
    return wParam == qv::kVersionRequest ? qv::kDaemonVersion : 1;
}

}  // namespace qvtest

#include "FakeDaemonWindows.h"

#include "Handle.h"
#include "Processes.h"

namespace qvtest {

namespace {

// The daemon's own bound on waiting for the asker's pipe.
constexpr DWORD kPipeWaitMs = 10000;
// A reader that takes nothing for this long is not reading; the writer gives
// up so that the fake's end never waits on it.
constexpr DWORD kWriteWaitMs = 10000;

// As the daemon answers: the asker's pipe is already listening when it asks.
void WriteToAskersPipe(const std::string& bytes) {
    if (!WaitNamedPipeA(qv::kQueryPipeName, kPipeWaitMs)) return;
    qv::UniqueHandle pipe(CreateFileA(qv::kQueryPipeName, GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                                      FILE_FLAG_OVERLAPPED, nullptr));
    qv::UniqueHandle done(CreateEventA(nullptr, TRUE, FALSE, nullptr));
    if (!pipe || !done) return;
    OVERLAPPED ov = {};
    ov.hEvent = done.Get();
    if (WriteFile(pipe.Get(), bytes.data(), static_cast<DWORD>(bytes.size()), nullptr, &ov) ||
        GetLastError() != ERROR_IO_PENDING)
        return;
    if (WaitForSingleObject(done.Get(), kWriteWaitMs) != WAIT_OBJECT_0) CancelIo(pipe.Get());
    DWORD written = 0;
    GetOverlappedResult(pipe.Get(), &ov, &written, TRUE);
}

}  // namespace

FakeDaemonWindows::FakeDaemonWindows(const std::string& desktopName, bool withMainWindow, DWORD answerDelayMs)
    : FakeDaemonWindows(desktopName, [&] {
          Options options;
          options.withMainWindow = withMainWindow;
          options.answerDelayMs = answerDelayMs;
          return options;
      }()) {}

FakeDaemonWindows::FakeDaemonWindows(const std::string& desktopName, const Options& options) : m_options(options) {
    std::atomic<int> ready{0};
    m_thread = std::thread([&, desktopName, withMainWindow = options.withMainWindow] {
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
    // The window thread is gone: no writer is added any more.
    for (std::thread& writer : m_pipeWriters) writer.join();
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
    const Options& options = self->m_options;
    {
        std::lock_guard<std::mutex> lock(self->m_lock);
        self->m_requests.push_back({className, wParam, lParam});
        // On a thread of its own: the asker waits for the answer before it
        // reads its pipe.
        if (wParam == qv::kInformationRequest && options.informationBytes)
            self->m_pipeWriters.emplace_back(WriteToAskersPipe, *options.informationBytes);
    }
    if (options.answerDelayMs) Sleep(options.answerDelayMs);
    return wParam == qv::kVersionRequest ? options.version : 1;
}

}  // namespace qvtest

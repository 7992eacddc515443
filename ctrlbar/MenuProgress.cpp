#include "MenuProgress.h"

#include <atomic>
#include <mutex>

#include "Log.h"
#include "PathText.h"
#include "QVCtrlBarRes.h"
#include "WindowBase.h"

namespace qv {

// What the bar's thread and the window's thread share. The window's thread
// holds it too, so that a thread that outlives the bar's wait still finds
// it.
struct MenuProgress::State {
    HINSTANCE instance = nullptr;
    HDESK desktop = nullptr;  // the bar's thread's: not ours to close
    POINT at = {0, 0};
    UniqueHandle started{CreateEventA(nullptr, TRUE, FALSE, nullptr)};
    std::atomic<HWND> window{nullptr};
    std::atomic<bool> cancelled{false};
    std::atomic<bool> closing{false};
    // The folder to show, and whether the window was told of a change it
    // has not shown yet: one message at a time, however many folders pass.
    std::mutex lock;
    std::string folder;
    std::atomic<bool> updatePending{false};
};

namespace {

constexpr UINT kShowFolderMessage = WM_APP + 1;
constexpr UINT_PTR kShowTimer = 1;

class ProgressDialog : public Dialog {
public:
    explicit ProgressDialog(MenuProgress::State& state) : m_state(state) {}

protected:
    BOOL OnInit() override {
        // Placed hidden; shown without taking the focus once the build has
        // taken long enough for a user to wonder.
        SetWindowPos(Handle(), HWND_TOPMOST, m_state.at.x, m_state.at.y, 0, 0, SWP_NOSIZE | SWP_NOACTIVATE);
        SetTimer(Handle(), kShowTimer, MenuProgress::kShowAfterMs, nullptr);
        return FALSE;
    }
    BOOL OnCommand(WORD id, WORD, HWND) override {
        if (id != IDCANCEL) return FALSE;
        m_state.cancelled = true;
        End(IDCANCEL);
        return TRUE;
    }
    BOOL HandleMessage(UINT message, WPARAM wParam, LPARAM) override {
        switch (message) {
        case WM_TIMER:
            if (wParam != kShowTimer) return FALSE;
            KillTimer(Handle(), kShowTimer);
            SetWindowPos(Handle(), HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE | SWP_SHOWWINDOW);
            return TRUE;
        case kShowFolderMessage:
            ShowFolder();
            return TRUE;
        case WM_CLOSE:
            // The builder's close, not the user's Cancel.
            End(0);
            return TRUE;
        case WM_DESTROY:
            KillTimer(Handle(), kShowTimer);
            PostQuitMessage(0);
            return FALSE;
        }
        return FALSE;
    }

private:
    void ShowFolder() {
        std::string folder;
        {
            std::lock_guard<std::mutex> hold(m_state.lock);
            m_state.updatePending = false;
            folder = m_state.folder;
        }
        const size_t directory = DirectoryLength(folder.c_str());
        SetDlgItemTextA(Handle(), IDC_PROGRESS_FOLDER, folder.substr(0, directory).c_str());
        SetDlgItemTextA(Handle(), IDC_PROGRESS_NAME, folder.c_str() + directory);
    }

    MenuProgress::State& m_state;
};

// Waits for the object while answering what other threads send to this one:
// the window's thread may send to the bar's windows, and a bar thread that
// took nothing would hold both threads up until the bound.
DWORD WaitAnsweringSent(HANDLE object, DWORD timeoutMs) {
    const DWORD start = GetTickCount();
    for (;;) {
        const DWORD elapsed = GetTickCount() - start;
        if (elapsed >= timeoutMs) return WAIT_TIMEOUT;
        const DWORD result = MsgWaitForMultipleObjects(1, &object, FALSE, timeoutMs - elapsed, QS_SENDMESSAGE);
        if (result != WAIT_OBJECT_0 + 1) return result;
        MSG msg;
        PeekMessageA(&msg, nullptr, 0, 0, PM_NOREMOVE | PM_QS_SENDMESSAGE);
    }
}

DWORD WINAPI ProgressThread(void* parameter) {
    std::shared_ptr<MenuProgress::State> state = std::move(*static_cast<std::shared_ptr<MenuProgress::State>*>(parameter));
    delete static_cast<std::shared_ptr<MenuProgress::State>*>(parameter);
    // A new thread starts on the process's first desktop; the window must
    // be made on the bar's.
    if (!SetThreadDesktop(state->desktop)) {
        SetEvent(state->started.Get());
        return 1;
    }
    ProgressDialog dialog(*state);
    HWND window = dialog.CreateModeless(state->instance, IDD_MENU_PROGRESS, nullptr);
    state->window = window;
    SetEvent(state->started.Get());
    if (!window) return 1;
    // A close asked for before the window was known here has posted nothing.
    if (state->closing) DestroyWindow(window);
    MSG msg;
    while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
        if (dialog.Handle() && IsDialogMessageA(dialog.Handle(), &msg)) continue;
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
    return 0;
}

}  // namespace

MenuProgress::MenuProgress(HINSTANCE instance, HWND bar) : m_state(std::make_shared<State>()) {
    m_state->instance = instance;
    m_state->desktop = GetThreadDesktop(GetCurrentThreadId());
    RECT rect = {};
    GetWindowRect(bar, &rect);
    m_state->at = POINT{(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2};
    if (!m_state->started) return;
    auto* shared = new std::shared_ptr<State>(m_state);
    m_thread.Reset(CreateThread(nullptr, 0, ProgressThread, shared, 0, nullptr));
    if (!m_thread) {
        delete shared;
        return;
    }
    if (WaitAnsweringSent(m_state->started.Get(), kStartWaitMs) != WAIT_OBJECT_0)
        WriteLog("Menu Progress Window Did Not Start in %lu ms.\n", static_cast<unsigned long>(kStartWaitMs));
}

MenuProgress::~MenuProgress() { Close(); }

void MenuProgress::Entering(const std::string& folder) {
    HWND window = m_state->window;
    if (!window) return;
    {
        std::lock_guard<std::mutex> hold(m_state->lock);
        m_state->folder = folder;
    }
    if (!m_state->updatePending.exchange(true)) PostMessageA(window, kShowFolderMessage, 0, 0);
}

bool MenuProgress::Cancelled() const { return m_state->cancelled; }

void MenuProgress::Close() {
    if (!m_thread) return;
    m_state->closing = true;
    if (HWND window = m_state->window) PostMessageA(window, WM_CLOSE, 0, 0);
    // The thread is never cut off: past the bound it is left to end through
    // its own message loop, and the state it shares goes with it.
    if (WaitAnsweringSent(m_thread.Get(), kEndWaitMs) != WAIT_OBJECT_0)
        WriteLog("Menu Progress Thread Did Not End in %lu ms.\n", static_cast<unsigned long>(kEndWaitMs));
    m_thread.Reset();
}

}  // namespace qv

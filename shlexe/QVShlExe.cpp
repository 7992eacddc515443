// QVShlExe: opens one shell item on the desktop it was started on, and in
// its waiting mode places the window of the program that the shell started.
// Its only outward result is the exit code: the window found, or 0.

#include <windows.h>

#include <shellapi.h>

#include <cstdint>

#include "Handle.h"
#include "ProcessApi.h"
#include "ShellOpen.h"
#include "ShlExeCommand.h"

namespace {

constexpr char kMutexName[] = "Quorvel_QVShellExecute_MutexName";

// Holds the mutex that makes waiting instances start and search one after
// another, so that the search for the newest process of a program file sees
// only the program this instance started.
class SearchTurn {
public:
    explicit SearchTurn(uint32_t timeoutMs) : m_mutex(CreateMutexA(nullptr, FALSE, kMutexName)) {
        if (!m_mutex) return;
        // After this long the others are taken to be stuck: go ahead anyway.
        uint64_t wait = 2ull * timeoutMs + 2000;
        DWORD result = WaitForSingleObject(m_mutex.Get(), wait >= INFINITE ? INFINITE - 1 : static_cast<DWORD>(wait));
        m_owned = result == WAIT_OBJECT_0 || result == WAIT_ABANDONED;
    }
    ~SearchTurn() {
        if (m_owned) ReleaseMutex(m_mutex.Get());
    }
    SearchTurn(const SearchTurn&) = delete;
    SearchTurn& operator=(const SearchTurn&) = delete;

private:
    qv::UniqueHandle m_mutex;
    bool m_owned = false;
};

HWND StartAndFind(const qv::ShlExeCommand& command, const char* directory) {
    SearchTurn turn(command.timeoutMs);
    const bool win95 = qv::PlatformKind() == qv::kPlatformWin95;
    const qv::ProcessApi& api = qv::BoundProcessApi();
    auto snapshot = [&]() {
        return qv::UniqueHandle(win95 && api.CreateToolhelp32Snapshot ? api.CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0)
                                                                      : nullptr);
    };
    qv::UniqueHandle before = snapshot();
    SHELLEXECUTEINFOA sei = {};
    sei.cbSize = sizeof(sei);
    sei.fMask = SEE_MASK_NOCLOSEPROCESS | SEE_MASK_FLAG_NO_UI;
    sei.lpFile = command.item.c_str();
    sei.lpDirectory = directory;
    sei.nShow = SW_SHOWNORMAL;
    if (!ShellExecuteExA(&sei)) return nullptr;
    qv::UniqueHandle process(sei.hProcess);
    if (reinterpret_cast<INT_PTR>(sei.hInstApp) <= 31 || !process) return nullptr;
    if (WaitForInputIdle(process.Get(), command.timeoutMs) != 0) return nullptr;
    qv::UniqueHandle after = snapshot();
    return qv::FindLaunchedWindow(process.Get(), command.timeoutMs, before.Get(), after.Get());
}

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR commandLine, int showCommand) {
    qv::ShlExeCommand command = qv::ParseShlExeCommand(commandLine);
    if (!command.hasItem) return 0;
    char directory[MAX_PATH + 1];
    DWORD length = GetCurrentDirectoryA(MAX_PATH, directory);
    const char* workDir = length > 0 && length < MAX_PATH ? directory : nullptr;

    if (!command.waiting) {
        qv::OpenWithShell(command.item.c_str(), workDir, showCommand);
        return 0;
    }
    STARTUPINFOA si = {};
    si.cb = sizeof(si);
    GetStartupInfoA(&si);
    qv::BindProcessApi(qv::kProcessFunctions, true);
    HWND window = StartAndFind(command, workDir);
    if (window) {
        // Placed only; activating it is the user's business.
        const UINT keep = SWP_NOZORDER | SWP_NOACTIVATE;
        if (si.dwFlags & STARTF_USEPOSITION)
            SetWindowPos(window, nullptr, static_cast<int>(si.dwX), static_cast<int>(si.dwY), 0, 0, keep | SWP_NOSIZE);
        if (si.dwFlags & STARTF_USESIZE)
            SetWindowPos(window, nullptr, 0, 0, static_cast<int>(si.dwXSize), static_cast<int>(si.dwYSize),
                         keep | SWP_NOMOVE);
    }
    qv::BindProcessApi(qv::kProcessFunctions, false);
    return static_cast<int>(reinterpret_cast<INT_PTR>(window));
}

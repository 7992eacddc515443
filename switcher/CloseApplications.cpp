// The end of a desktop's applications when the daemon ends, by the desktop's
// exit options, and the question whether they may end.

#include <ctime>

#include "Daemon.h"
#include "DaemonRequest.h"
#include "Log.h"
#include "ProcessApi.h"
#include "SwitcherController.h"
#include "SwitcherDesktop.h"

namespace qv {

namespace {

constexpr LPARAM kLogoff = static_cast<LPARAM>(ENDSESSION_LOGOFF);
// No application may hold up the end of its desktop: every message to one
// gives up after this long, or at once when the application is hung.
constexpr UINT kAnswerTimeout = 5000;

enum Action { kClose = 0x01, kDestroy = 0x02, kQuit = 0x04, kEndSession = 0x08, kTerminate = 0x10 };

// Bounded as every message to another program is: an application idle for
// a while can be taken for hung in the moment it wakes, and its WM_CLOSE
// would be dropped unseen; a refusal is confirmed before it counts.
LRESULT Send(HWND window, UINT message, WPARAM wParam, LPARAM lParam, bool* answered = nullptr) {
    const RequestReply reply = SendBounded(window, message, wParam, lParam, kAnswerTimeout);
    if (answered) *answered = reply.Answered();
    return reply.value;
}

// The actions of one mask on one window, in their fixed order, on one log
// line: the other desktops' threads close theirs meanwhile.
void ActionLadder(LogLine& line, HWND window, HANDLE process, unsigned mask, unsigned exitCode, int delayMs) {
    const time_t start = std::time(nullptr);
    auto elapsed = [start] { return static_cast<int>(std::time(nullptr) - start); };
    bool acted = false;
    line.Add("->");
    if (mask & kClose) {
        Send(window, WM_CLOSE, 0, 0);
        line.Add(" WM_CLOSE(%d[s]). ", elapsed());
        acted = true;
    }
    if (mask & kQuit) {
        Send(window, WM_QUIT, exitCode, 0);
        line.Add(" WM_QUIT(Code=%d)(%d[s]).", static_cast<int>(exitCode), elapsed());
        acted = true;
    }
    if (mask & kDestroy) {
        Send(window, WM_DESTROY, 0, 0);
        PostMessageA(window, WM_NCDESTROY, 0, 0);
        line.Add(" WM_DESTROY(+WM_NCDESTROY)(%d[s]). ", elapsed());
        acted = true;
    }
    if (mask & kEndSession) {
        Send(window, WM_ENDSESSION, TRUE, kLogoff);
        line.Add(" WM_ENDSESSION(TRUE)(%d[s]).", elapsed());
        acted = true;
    }
    if ((mask & kTerminate) && process) {
        if (acted && delayMs > 0) Sleep(static_cast<DWORD>(delayMs));
        TerminateProcess(process, exitCode);
        line.Add(" Terminate(%d)(%d[s]).", static_cast<int>(exitCode), elapsed());
        acted = true;
    }
    if (!acted) line.Add("Non Action.");
    line.Add("\n");
    line.Write();
}

DWORD ProcessOf(HWND window) {
    DWORD pid = 0;
    if (window) GetWindowThreadProcessId(window, &pid);
    return pid;
}

struct WindowWalk {
    enum Mode { kCloseAll = 0, kAsking = 1, kRefused = 2 };
    SwitcherDesktop* desktop;
    int mode;
    DWORD barProcess;
    DWORD shellProcess;
    // The asking walk's answers share one line, which the desktop's outcome ends.
    LogLine* line;
};

BOOL CALLBACK WindowStep(HWND window, LPARAM param) {
    auto* walk = reinterpret_cast<WindowWalk*>(param);
    if (!IsWindowVisible(window) || GetWindow(window, GW_OWNER)) return TRUE;
    DWORD pid = ProcessOf(window);
    if (!pid || pid == GetCurrentProcessId() || pid == walk->barProcess || pid == walk->shellProcess) return TRUE;
    TextString name;
    WindowModuleBaseName(window, name);  // one that cannot be opened has no name
    if (name == "explorer.exe" || name == "iexplore.exe") return TRUE;
    LogLine& line = *walk->line;
    line.Add("Wnd=%08X PID=%4d(%s) : ", static_cast<unsigned>(reinterpret_cast<uintptr_t>(window)),
             static_cast<int>(pid), name.c_str());
    // Asynchronous: a hung application must not hold the end of its desktop.
    ShowWindowAsync(window, SW_RESTORE);
    SetForegroundWindow(window);
    const unsigned options = walk->desktop->m_dwExitOptions;
    if (walk->mode == WindowWalk::kCloseAll) {
        ActionLadder(line, window, nullptr, (options >> 8) & 0xFF, options & 0xFF, 0);
        return TRUE;
    }
    bool answered = false;
    if (Send(window, WM_QUERYENDSESSION, 0, kLogoff, &answered) == 0) {
        // A hung application counts as one that refuses: nothing is lost.
        line.Add("QueryEndSession -> NG.\n");
        line.Write();
        Send(window, WM_ENDSESSION, FALSE, kLogoff);
        walk->mode = WindowWalk::kRefused;
        return FALSE;
    }
    Send(window, WM_ENDSESSION, TRUE, static_cast<LPARAM>(0x80000004));
    line.Add("QueryEndSession->OK. ");
    return TRUE;
}

WindowWalk StartWalk(SwitcherDesktop* desktop, int mode, LogLine& line) {
    return WindowWalk{desktop, mode, ProcessOf(FindWindowA(kBarThreadWindowClass, kBarWindowName)),
                      ProcessOf(FindWindowA("Progman", "Program Manager")), &line};
}

}  // namespace

void SwitcherDesktop::CloseApplications() {
    if (m_dwExitOptions == 0) {
        WriteLog(" No Action!\n");
        return;
    }
    SwitchDesktop(m_hDesktop.Get());
    LogLine line;
    WindowWalk walk = StartWalk(this, WindowWalk::kCloseAll, line);
    EnumWindows(WindowStep, reinterpret_cast<LPARAM>(&walk));

    const unsigned shellMask = (m_dwExitOptions >> 24) & 0xFF;
    HWND shell = FindWindowA("Progman", "Program Manager");
    if (!shell || !shellMask) return;
    line.Add("(Program Manager) : ");
    UniqueHandle process = OpenWindowProcess(shell, PROCESS_ALL_ACCESS);
    ActionLadder(line, shell, process.Get(), shellMask, m_dwExitOptions & 0xFF, m_nShellCloseDelay);
    if (process && m_nShellCloseDelay > 0) Sleep(static_cast<DWORD>(m_nShellCloseDelay));
}

int SwitcherDesktop::QueryApplications() {
    Activate();
    if (((m_dwExitOptions >> 8) & 0xFF) == 0 || m_nExitCancelOK == 0) return 1;
    LogLine line;
    WindowWalk walk = StartWalk(this, WindowWalk::kAsking, line);
    EnumWindows(WindowStep, reinterpret_cast<LPARAM>(&walk));
    if (walk.mode == WindowWalk::kRefused) return 0;
    line.Add("Desktop [%s] Visible Application Quit OK.\n", m_strDesktopName.c_str());
    return 1;
}

}  // namespace qv

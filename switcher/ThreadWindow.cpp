// The thread window of a desktop: the address at which the other programs
// reach the daemon on that desktop, and the owner of the daemon menu there.

#include <cstdio>
#include <string>
#include <vector>

#include "CommandText.h"
#include "Daemon.h"
#include "Launching.h"
#include "Log.h"
#include "PathText.h"
#include "PipeAnswer.h"
#include "RunProgramDialog.h"
#include "SwitcherController.h"
#include "SwitcherDesktop.h"
#include "WindowBase.h"

namespace qv {

namespace {

SwitcherDesktop* DesktopAt(int index) {
    SwitcherDesktop* d = Daemon().home;
    for (int i = 0; d && i < index; ++i) d = d->NextDesktop();
    return d;
}

// Makes the desktop current through the main window, even when it is already.
void ActivateDesktop(SwitcherDesktop* target) {
    if (target)
        SendToMainThread(WM_COMMAND, kCmdActivateWindow, reinterpret_cast<LPARAM>(target->m_hThreadWindow));
}

class ThreadWindow {
public:
    ThreadWindow(HWND window, SwitcherDesktop* desktop) : m_hWindow(window), m_pDesktop(desktop) {}

    LRESULT OnRequest(WPARAM request, LPARAM lParam);
    LRESULT OnCommand(WPARAM command, LPARAM lParam);

private:
    void RunCommandText(LPARAM packed);
    // A modal dialog on this window; requests wait while it is open.
    LRESULT Modal(Dialog& dialog, int resource);
    void StartSibling(const char* program, const std::string& arguments);
    void ShowMenu();
    void AnswerBitmap();
    void AnswerInformation();

    HWND m_hWindow;
    SwitcherDesktop* m_pDesktop;
};

LRESULT ThreadWindow::OnRequest(WPARAM request, LPARAM lParam) {
    DaemonState& daemon = Daemon();
    SwitcherController* controller = daemon.controller;
    char text[5];
    switch (request) {
    case kCommandTextRequest:
        RunCommandText(lParam);
        return 1;
    case kSwitchToNumberRequest:
        UnpackCommandText(static_cast<uint32_t>(lParam), text);
        ActivateDesktop(DesktopAt(SwitchToNumberIndex(text, daemon.desktopCount)));
        return 1;
    case kSwitchFromEndRequest:
        UnpackCommandText(static_cast<uint32_t>(lParam), text);
        ActivateDesktop(DesktopAt(SwitchFromEndIndex(text, daemon.desktopCount)));
        return 1;
    case kNumberOfDesktopsRequest:
        AnswerNumberOfDesktops(daemon.desktopCount);
        return 1;
    case kActivateWindowRequest:
        SendMessageA(m_hWindow, WM_COMMAND, kCmdActivateWindow, lParam);
        return 1;
    case kDesktopNameRequest:
        AnswerDesktopName(m_pDesktop->m_strTitle.c_str());
        return 1;
    case kCurrentDesktopIdRequest:
        AnswerCurrentDesktopId(daemon.current ? daemon.current->m_strDesktopName.c_str() : "");
        return 1;
    case kBitmapRequest:
        AnswerBitmap();
        return 1;
    case kVersionRequest:
        return kDaemonVersion;
    case kSoundSwitchRequest:
        SendToMainThread(WM_COMMAND, kCmdSound, lParam);
        return 1;
    case kSnapshotSizeRequest: {
        auto value = static_cast<int32_t>(lParam);
        if (controller) controller->m_nKeepBitmapSize = value < 0 ? 0 : (value > 32 ? 32 : value);
        return 1;
    }
    case kInformationRequest:
        AnswerInformation();
        return 1;
    default:
        return 1;
    }
}

void ThreadWindow::RunCommandText(LPARAM packed) {
    char text[5];
    UnpackCommandText(static_cast<uint32_t>(packed), text);
    WriteLog("Quorvel Command Detected[%s]\n", text);
    CommandAction action = InterpretCommandText(text);
    if (action.kind == CommandKind::kSwitchForward || action.kind == CommandKind::kSwitchBackward) {
        bool forward = action.kind == CommandKind::kSwitchForward;
        WriteLog(forward ? "Argments : +%d Detected.\n" : "Argments : -%d Detected.\n", static_cast<int>(action.steps));
        SwitcherDesktop* d = m_pDesktop;
        for (int32_t i = 0; i < action.steps && d; ++i) d = forward ? d->NextDesktop() : d->PrevDesktop();
        WriteLog("SwitchDesktop ID=%s.\n", d->m_strDesktopName.c_str());
        ActivateDesktop(d);
        return;
    }
    if (action.target == CommandTarget::kNone) return;
    HWND target = action.target == CommandTarget::kMainWindow ? Daemon().mainWindow : m_hWindow;
    if (action.post)
        PostMessageA(target, WM_COMMAND, action.command, static_cast<LPARAM>(action.lParam));
    else if (target == m_hWindow)
        SendMessageA(target, WM_COMMAND, action.command, static_cast<LPARAM>(action.lParam));  // this thread: a call
    else
        SendToMainThread(WM_COMMAND, action.command, static_cast<LPARAM>(action.lParam));
}

LRESULT ThreadWindow::Modal(Dialog& dialog, int resource) {
    m_pDesktop->m_nBusy = 1;
    dialog.DoModal(Daemon().instance, resource, m_hWindow);
    m_pDesktop->m_nBusy = 0;
    return 1;
}

void ThreadWindow::StartSibling(const char* program, const std::string& arguments) {
    RunProgram(m_hWindow, program, arguments.c_str(), nullptr, m_pDesktop->m_strDesktopName.c_str(), 0);
}

void ThreadWindow::ShowMenu() {
    HMENU popup = m_pDesktop->m_hMenu ? GetSubMenu(m_pDesktop->m_hMenu, 0) : nullptr;
    if (!popup) return;
    MENUITEMINFOA item = {};
    item.cbSize = sizeof(item);
    item.fMask = MIIM_STATE;
    switch (Daemon().controller ? Daemon().controller->m_nSoundMode : 0) {
    case SwitcherController::kSoundOn: item.fState = MFS_CHECKED; break;
    case SwitcherController::kSoundOff: item.fState = MFS_UNCHECKED; break;
    default: item.fState = MFS_GRAYED | MFS_DISABLED; break;
    }
    SetMenuItemInfoA(popup, kCmdSound, FALSE, &item);
    POINT cursor = {};
    GetCursorPos(&cursor);
    // The menu closes when the user clicks elsewhere only while its owner is
    // the foreground window.
    SetForegroundWindow(m_hWindow);
    TrackPopupMenu(popup, TPM_LEFTALIGN | TPM_LEFTBUTTON, cursor.x, cursor.y, 0, m_hWindow, nullptr);
    PostMessageA(m_hWindow, WM_NULL, 0, 0);
}

void ThreadWindow::AnswerBitmap() {
    SwitcherController* controller = Daemon().controller;
    qv::AnswerBitmap(m_pDesktop->Snapshot(), controller ? controller->m_nKeepBitmapSize : 0);
}

void ThreadWindow::AnswerInformation() {
    DaemonState& daemon = Daemon();
    std::vector<DesktopRecord> records;
    int32_t current = 0;
    SwitcherDesktop* d = daemon.home;
    for (int i = 0; d && i < daemon.desktopCount; ++i, d = d->NextDesktop()) {
        DesktopRecord record;
        record.id = d->m_strDesktopName.c_str();
        record.width = d->m_nPelsWidth;
        record.height = d->m_nPelsHeight;
        record.name = d->m_strTitle.c_str();
        records.push_back(record);
        if (d == daemon.current) current = i;
    }
    qv::AnswerInformation(current, records);
}

LRESULT ThreadWindow::OnCommand(WPARAM command, LPARAM lParam) {
    DaemonState& daemon = Daemon();
    switch (command) {
    case kCmdRunProgram:
    {
        RunProgramDialog run(m_pDesktop->m_strDesktopName.c_str());
        return Modal(run, IDD_RUN_PROGRAM);
    }
    case kCmdExit: {
        SetForegroundWindow(m_hWindow);
        m_pDesktop->m_nBusy = 1;
        const int answer = MessageBoxA(m_hWindow, "終了しますか？", kThreadWindowClass,
                                       MB_OKCANCEL | MB_ICONQUESTION | MB_DEFBUTTON2 | MB_SYSTEMMODAL);
        m_pDesktop->m_nBusy = 0;
        if (answer == IDOK) PostMessageA(daemon.mainWindow, WM_COMMAND, kCmdExit, lParam);
        return 1;
    }
    case kCmdNext:
    case kCmdPrevious:
    case kCmdHome:
    case kCmdBack:
    case kCmdSound:
        SendToMainThread(WM_COMMAND, command, 0);
        return 1;
    case kCmdActivateWindow:
        SendToMainThread(WM_COMMAND, command, lParam);
        return 1;
    case kCmdVersion:
    {
        // Its OK ends it; nothing else to do.
        Dialog version;
        return Modal(version, kVersionDialog);
    }
    case kCmdActivate:
        m_pDesktop->Activate();
        m_pDesktop->StartTitle();
        return 1;
    case kCmdSnapshotSize:
    {
        SnapshotSizeDialog sizes(daemon.controller);
        return Modal(sizes, IDD_SNAPSHOT_SIZE);
    }
    case kCmdCaptureSnapshot:
        if (daemon.controller && daemon.controller->m_nKeepBitmapSize > 0) m_pDesktop->CaptureSnapshot();
        return 1;
    case kCmdQueryEnd:
        return m_pDesktop->QueryApplications();
    case kCmdConfig:
        if (daemon.controller)
            StartSibling("QVConfig.exe", "-p \"" + std::string(daemon.controller->m_strParamPath.c_str()) + "\" -d");
        return 1;
    case kCmdCompanion:
        if (daemon.controller) {
            const char* path = daemon.controller->m_strParamPath.c_str();
            StartSibling("Mendrel.exe", "-p \"" + std::string(path, DirectoryLength(path)) +
                                            m_pDesktop->m_strDesktopName.c_str() + ".ini\"");
        }
        return 1;
    case kCmdMenu:
        ShowMenu();
        return 1;
    default:
        return 1;
    }
}

}  // namespace

LRESULT CALLBACK DesktopWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* desktop = reinterpret_cast<SwitcherDesktop*>(GetWindowLongPtrA(window, GWLP_USERDATA));
    if ((message == WM_COMMAND || message == kRequestMessage) && desktop && desktop->m_nBusy) {
        // A modal dialog is open here: bring it forward instead.
        HWND popup = GetLastActivePopup(window);
        SetForegroundWindow(popup ? popup : window);
        return 0;
    }
    switch (message) {
    case WM_DESTROY:
        PostQuitMessage(0);
        return 1;
    case WM_PAINT: {
        if (!desktop) break;
        if (!GetUpdateRect(window, nullptr, FALSE)) {
            WindowDC dc(window);
            desktop->DrawTitle(dc.Get());
        } else {
            PAINTSTRUCT ps;
            HDC dc = BeginPaint(window, &ps);
            desktop->DrawTitle(dc);
            EndPaint(window, &ps);
        }
        return 1;
    }
    case WM_TIMER:
        if (desktop) desktop->OnTitleTimer(wParam);
        return 1;
    case WM_DISPLAYCHANGE:
        if (desktop) desktop->LayoutTitle();
        return 1;
    case WM_CLOSE:
        WriteLog("Desktop [%s] ThreadID=%08X WM_CLOSE Detected.\n", desktop ? desktop->m_strDesktopName.c_str() : "",
                 static_cast<unsigned>(GetCurrentThreadId()));
        DestroyWindow(window);
        return 1;
    case WM_QUERYENDSESSION:
        WriteLog("Desktop [%s] WM_QUERYENDSESSION Detected.\n", desktop ? desktop->m_strDesktopName.c_str() : "");
        return 1;
    case WM_ENDSESSION:
        WriteLog("Desktop [%s] WM_ENDSESSION(%d) Detected.\n", desktop ? desktop->m_strDesktopName.c_str() : "",
                 static_cast<int>(wParam));
        if (desktop) desktop->m_nEndSession = wParam ? 1 : 0;
        if (wParam) PostQuitMessage(0);
        return 1;
    case WM_COMMAND:
        return desktop ? ThreadWindow(window, desktop).OnCommand(wParam, lParam) : 1;
    case kRequestMessage:
        return desktop ? ThreadWindow(window, desktop).OnRequest(wParam, lParam) : 1;
    default:
        break;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

}  // namespace qv

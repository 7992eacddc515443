#include "TestRun.h"

#include <vector>

#include "DesktopDialogsRes.h"
#include "DesktopRules.h"

namespace qv::config {

namespace {

inline constexpr const char* kDelayTexts[kTestDelayChoices] = {"500ms", "１秒", "２秒", "４秒",
                                                               "６秒",  "８秒", "10秒"};
inline constexpr int kFirstDelayChoice = 1;  // "１秒"

struct SetAside {
    HWND window;
    bool hidden;  // else minimized
};

// The shell's own windows stay: they are the desktop, not its programs.
bool IsShellWindow(HWND window) {
    char name[64] = "";
    GetClassNameA(window, name, sizeof name);
    return window == GetShellWindow() || lstrcmpA(name, "Shell_TrayWnd") == 0;
}

// Another program's window is asked without waiting for it: a hung program
// must not hang the test.
std::vector<SetAside> PutAside(bool hide, HWND main) {
    std::vector<HWND> shown;
    EnumWindows(
        [](HWND window, LPARAM found) {
            if (IsWindowVisible(window) && !IsShellWindow(window))
                reinterpret_cast<std::vector<HWND>*>(found)->push_back(window);
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&shown));
    std::vector<SetAside> aside;
    for (HWND window : shown) {
        if (!hide && IsIconic(window)) continue;  // already where it would go
        ShowWindowAsync(window, hide ? SW_HIDE : SW_SHOWMINNOACTIVE);
        aside.push_back(SetAside{window, hide});
    }
    // Hidden, the configurator would be out of reach; it waits on the task bar.
    if (hide && main) ShowWindow(main, SW_SHOWMINNOACTIVE);
    return aside;
}

void PutBack(const std::vector<SetAside>& aside) {
    for (const SetAside& window : aside)
        if (IsWindow(window.window)) ShowWindowAsync(window.window, window.hidden ? SW_SHOWNA : SW_RESTORE);
}

// Waits while the thread's windows go on answering.
void WaitAnswering(DWORD delayMs) {
    const DWORD start = GetTickCount();
    for (DWORD passed = 0; passed < delayMs; passed = GetTickCount() - start) {
        MsgWaitForMultipleObjects(0, nullptr, FALSE, delayMs - passed, QS_ALLINPUT);
        MSG message;
        while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
            if (message.message == WM_QUIT) {
                PostQuitMessage(static_cast<int>(message.wParam));
                return;
            }
            TranslateMessage(&message);
            DispatchMessageA(&message);
        }
    }
}

}  // namespace

BOOL TestRunDialog::OnInit() {
    CheckRadioButton(Handle(), IDC_TR_MINIMIZE, IDC_TR_HIDE, IDC_TR_MINIMIZE);
    HWND delays = GetDlgItem(Handle(), IDC_TR_DELAY);
    for (const char* text : kDelayTexts) SendMessageA(delays, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text));
    SendMessageA(delays, CB_SETCURSEL, kFirstDelayChoice, 0);
    return TRUE;
}

BOOL TestRunDialog::OnCommand(WORD id, WORD code, HWND control) {
    if (id != IDOK) return Dialog::OnCommand(id, code, control);
    m_hide = IsDlgButtonChecked(Handle(), IDC_TR_HIDE) == BST_CHECKED;
    m_delayMs = TestDelayMs(static_cast<int>(SendDlgItemMessageA(Handle(), IDC_TR_DELAY, CB_GETCURSEL, 0, 0)));
    End(IDOK);
    return TRUE;
}

BOOL TestEndDialog::OnInit() {
    CheckDlgButton(Handle(), IDC_TE_QUIT, BST_CHECKED);
    // The user's eyes are on the programs under test: call them back.
    SetForegroundWindow(Handle());
    FlashWindow(Handle(), TRUE);
    return TRUE;
}

BOOL TestEndDialog::OnCommand(WORD id, WORD code, HWND control) {
    if (id != IDOK && id != IDCANCEL) return Dialog::OnCommand(id, code, control);
    // Whichever way the dialog closes, the started programs are ended as
    // ticked: there is no going back to the test.
    m_steps = 0;
    if (IsDlgButtonChecked(Handle(), IDC_TE_CLOSE) == BST_CHECKED) m_steps |= Executant::kPostClose;
    if (IsDlgButtonChecked(Handle(), IDC_TE_QUIT) == BST_CHECKED) m_steps |= Executant::kPostQuit;
    if (IsDlgButtonChecked(Handle(), IDC_TE_TERMINATE) == BST_CHECKED) m_steps |= Executant::kTerminate;
    End(IDOK);
    return TRUE;
}

void RunTest(HWND owner, HWND main, OwnedRing<Executant>& entries) {
    const HINSTANCE instance = GetModuleHandleA(nullptr);
    TestRunDialog choice;
    if (choice.DoModal(instance, IDD_TEST_RUN, owner) != IDOK) return;
    const std::vector<SetAside> aside = PutAside(choice.Hide(), main);
    for (Executant* entry : entries) entry->LaunchHeld();
    WaitAnswering(choice.DelayMs());
    TestEndDialog end;
    end.DoModal(instance, IDD_TEST_END, owner);
    for (Executant* entry : entries) entry->KillCheck(end.Steps());
    // The configurator first: restoring it would show its own windows again
    // in their state before the test.
    if (main) ShowWindow(main, SW_RESTORE);
    PutBack(aside);
    if (main) SetForegroundWindow(main);
    SetForegroundWindow(owner);
}

}  // namespace qv::config

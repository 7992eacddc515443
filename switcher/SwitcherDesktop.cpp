#include "SwitcherDesktop.h"

#include <mmsystem.h>

#include <new>

#include "Daemon.h"
#include "Log.h"
#include "Security.h"
#include "SystemError.h"
#include "TitleEscapes.h"

namespace qv {

namespace {

constexpr UINT kMenuCommandConfig = 40008;
constexpr UINT kMenuCommandCompanion = 40010;

unsigned HandleBits(HDESK desktop) { return static_cast<unsigned>(reinterpret_cast<uintptr_t>(desktop)); }

// Leaves only the close entry in the thread window's system menu.
void ReduceSystemMenu(HWND window) {
    HMENU menu = GetSystemMenu(window, FALSE);
    if (!menu) return;
    for (int i = GetMenuItemCount(menu) - 1; i >= 0; --i) {
        UINT id = GetMenuItemID(menu, i);
        if (id != SC_CLOSE && id != static_cast<UINT>(-1)) DeleteMenu(menu, static_cast<UINT>(i), MF_BYPOSITION);
    }
}

}  // namespace

SwitcherDesktop::~SwitcherDesktop() {
    if (!m_hDesktop) return;
    HDESK desktop = m_hDesktop.Release();
    if (CloseDesktop(desktop))
        WriteLog("CloseDesktop(%08X) Success.\n", HandleBits(desktop));
    else
        WriteLog("CloseDesktop(%08X) Failed.  Error Reason : %s\n", HandleBits(desktop), SystemErrorText().c_str());
}

Executant* SwitcherDesktop::CreateChild() { return new (std::nothrow) Executant; }

int SwitcherDesktop::CreateOrOpen() {
    const char* name = m_strDesktopName.c_str();
    m_hDesktop.Reset(OpenDesktopA(name, 0, FALSE, kDesktopAccess));
    if (m_hDesktop) {
        WriteLog("Desktop [%s] Already Created.   HDESK=%08X.\n", name, HandleBits(m_hDesktop.Get()));
        return 1;
    }
    // Only this logon session, this user and the system may open the
    // desktop, read its screen or start programs on it.
    if (SECURITY_ATTRIBUTES* security = PrivateAttributes())
        m_hDesktop.Reset(CreateDesktopA(name, nullptr, nullptr, 0, kDesktopAccess, security));
    if (!m_hDesktop) {
        std::string reason = SystemErrorText();
        WriteLog("Desktop [%s] Create Failed.\n", name);
        WriteLog("Error Reason : %s\n", reason.c_str());
        return -1;
    }
    WriteLog("Desktop [%s] Create Success.  HDESK=%08X\n", name, HandleBits(m_hDesktop.Get()));
    return 0;
}

int SwitcherDesktop::OpenExisting() {
    const char* name = m_strDesktopName.c_str();
    if (!m_hDesktop) {
        m_hDesktop.Reset(OpenDesktopA(name, 0, FALSE, kDesktopAccess));
        if (!m_hDesktop) {
            WriteLog("Existed Desktop [%s] Open Failed.\n", name);
            return -1;
        }
        WriteLog("Existed Desktop [%s] Open Success.  HDESK=%08X\n", name, HandleBits(m_hDesktop.Get()));
    }
    m_nState = kUsable;
    return 0;
}

bool SwitcherDesktop::StartThread() {
    DWORD threadId = 0;
    m_hThread.Reset(CreateThread(nullptr, 0, ThreadMain, this, 0, &threadId));
    if (!m_hThread) return false;
    WriteLog("Create New ThreadID=%08X\n", static_cast<unsigned>(threadId));
    return true;
}

DWORD SwitcherDesktop::StartBoundMs() const {
    constexpr DWORD kWindowAndSound = 30000;
    constexpr DWORD kBetweenStarts = 100;
    uint64_t bound = kWindowAndSound;
    for (const Executant* entry : Executants()) bound += entry->LongestStartMs() + kBetweenStarts;
    return bound < 0x7FFFFFFF ? static_cast<DWORD>(bound) : 0x7FFFFFFF;
}

DWORD SwitcherDesktop::FailedThreadExitCode() {
    // It has nothing left to do but return.
    constexpr DWORD kEnding = 5000;
    DWORD exitCode = STILL_ACTIVE;
    if (WaitForSingleObject(m_hThread.Get(), kEnding) == WAIT_OBJECT_0) GetExitCodeThread(m_hThread.Get(), &exitCode);
    return exitCode;
}

bool SwitcherDesktop::CloseThread(DWORD boundMs) {
    if (!m_hThread) return true;
    if (m_hThreadWindow) PostMessageA(m_hThreadWindow, WM_CLOSE, 0, 0);
    if (WaitForSingleObject(m_hThread.Get(), boundMs) != WAIT_OBJECT_0) {
        WriteLog("Desktop [%s] Thread Did Not End Within %u ms.\n", m_strDesktopName.c_str(),
                 static_cast<unsigned>(boundMs));
        m_bThreadLeftRunning = true;
        return false;
    }
    m_hThread.Reset();
    return true;
}

bool SwitcherDesktop::SetUpThreadWindow() {
    DaemonState& daemon = Daemon();
    TextString title;
    if (ResolveTitleEscapes(m_strTitle.c_str(), title)) m_strTitle = std::move(title);
    // A thread can change its desktop only before it owns any window; on
    // the wrong desktop its window could not be found by the other programs.
    if (!SetThreadDesktop(m_hDesktop.Get())) {
        WriteLog("Desktop [%s] SetThreadDesktop Failed. Reason=%s\n", m_strDesktopName.c_str(),
                 SystemErrorText().c_str());
        return false;
    }
    HWND window = CreateWindowExA(WS_EX_TOPMOST | WS_EX_TOOLWINDOW, kThreadWindowClass, kDaemonWindowName,
                                  WS_POPUP | WS_DISABLED, 0, 0, 0, 0, nullptr, nullptr, daemon.instance, nullptr);
    if (!window) {
        WriteLog("Desktop [%s] Thread Window Create Failed. Reason=%s\n", m_strDesktopName.c_str(),
                 SystemErrorText().c_str());
        return false;
    }
    ++daemon.threadWindowCounter;
    if (m_strTitle.IsEmpty()) {
        char text[32];
        std::snprintf(text, sizeof(text), "Desktop%d", daemon.threadWindowCounter);
        m_strTitle.Assign(text);
    }
    WriteLog("DesktopID=[%s] : %s\n", m_strDesktopName.c_str(), m_strTitle.c_str());
    SetWindowLongPtrA(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    m_hThreadWindow = window;
    ReduceSystemMenu(window);
    m_hMenu = LoadMenuA(daemon.instance, MAKEINTRESOURCEA(kDaemonMenu));
    if (HMENU popup = m_hMenu ? GetSubMenu(m_hMenu, 0) : nullptr) {
        if (!daemon.configFound) DeleteMenu(popup, kMenuCommandConfig, MF_BYCOMMAND);
        if (!daemon.mendrelFound) DeleteMenu(popup, kMenuCommandCompanion, MF_BYCOMMAND);
    }
    LayoutTitle();
    if (m_bSoundOn && LoadSound() < 0) m_bSoundOn = false;
    StartPrograms();
    return true;
}

void SwitcherDesktop::StartPrograms() {
    bool first = true;
    for (Executant* entry : Executants()) {
        if (!first) Sleep(100);
        first = false;
        if (entry->shellExec)
            entry->LaunchViaShlExe(m_strDesktopName.c_str());
        else
            entry->Launch(m_strDesktopName.c_str());
    }
}

DWORD WINAPI SwitcherDesktop::ThreadMain(void* param) {
    auto* desktop = static_cast<SwitcherDesktop*>(param);
    const char* name = desktop->m_strDesktopName.c_str();
    WriteLog("Desktop[%s] ThreadID=%08X Start.\n", name, static_cast<unsigned>(GetCurrentThreadId()));
    bool ready = desktop->SetUpThreadWindow();
    desktop->m_bThreadReady.store(ready);
    ReleaseSemaphore(Daemon().startSemaphore, 1, nullptr);
    if (!ready) return 0;

    MSG msg;
    while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
    if (desktop->m_bSkipClosing || desktop->m_nEndSession) {
        WriteLog("Desktop [%s] Skip CloseAnyWindows (WM_ENDSESSION MODE)\n", name);
    } else {
        WriteLog("Desktop [%s] CloseAnyWindows Starting...\n", name);
        desktop->CloseApplications();
    }
    if (desktop->m_hMenu) DestroyMenu(desktop->m_hMenu);
    desktop->m_hMenu = nullptr;
    desktop->m_largeFont.Reset();
    desktop->m_smallFont.Reset();
    WriteLog("Desktop[%s] ThreadID=%08X End.\n", name, static_cast<unsigned>(GetCurrentThreadId()));
    return 0;
}

void SwitcherDesktop::Activate() {
    WriteLog("Active New Desktop [%s] ThreadID=%08X\n", m_strDesktopName.c_str(),
             static_cast<unsigned>(GetCurrentThreadId()));
    // Without a loaded image the call only stops a sound that is playing.
    if (m_bSoundOn) PlaySoundA(m_sound.empty() ? nullptr : m_sound.data(), nullptr, SND_MEMORY | SND_ASYNC);
    if (m_bChgDisplay) {
        WriteLog("m_bChgDisplay=ON\n");
        DEVMODEA mode = {};
        mode.dmSize = sizeof(mode);
        if (EnumDisplaySettingsA(nullptr, ENUM_CURRENT_SETTINGS, &mode)) {
            DWORD fields = 0;
            auto take = [&fields](DWORD& field, int32_t wanted, DWORD flag) {
                if (field != static_cast<DWORD>(wanted)) {
                    field = static_cast<DWORD>(wanted);
                    fields |= flag;
                }
            };
            take(mode.dmBitsPerPel, m_nBitsPerPel, DM_BITSPERPEL);
            take(mode.dmPelsWidth, m_nPelsWidth, DM_PELSWIDTH);
            take(mode.dmPelsHeight, m_nPelsHeight, DM_PELSHEIGHT);
            take(mode.dmDisplayFrequency, m_nFrequency, DM_DISPLAYFREQUENCY);
            if (fields) {
                mode.dmFields = fields;
                ChangeDisplaySettingsA(&mode, 0);
                WriteLog("Change Display Setting.\n");
            }
        }
    }
    if (m_bChgWallpaper) {
        SystemParametersInfoA(SPI_SETDESKWALLPAPER, 0, const_cast<char*>(""), 0);
        if (!SystemParametersInfoA(SPI_SETDESKWALLPAPER, 0, const_cast<char*>(m_strWallpaper.c_str()), 0))
            WriteLog("Change SystemParameterInfo Error : %s", SystemErrorText().c_str());
        else
            WriteLog("Change Wallpaper (%s)\n", m_strWallpaper.c_str());
    }
}

}  // namespace qv

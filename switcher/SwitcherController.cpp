#include "SwitcherController.h"

#include <objbase.h>
#include <mmsystem.h>
// The Active Desktop interface is declared only after the internet header.
#include <wininet.h>
#include <shlobj.h>

#include <algorithm>
#include <cstring>
#include <new>
#include <vector>

#include "CommandText.h"
#include "Daemon.h"
#include "DesktopThread.h"
#include "KeyNames.h"
#include "Log.h"
#include "PathText.h"
#include "SwitcherDesktop.h"
#include "SystemError.h"

namespace qv {

namespace {

// The commands of the controller's hot keys, ids 1 to 5.
constexpr UINT kHotKeyCommands[AncestryController::kHotKeyCount] = {kCmdNext, kCmdPrevious, kCmdHome, kCmdMenu,
                                                                    kCmdBack};

// The Active Desktop object, when the system has one, for its state and the
// current wallpaper. COM lives as long as this object.
class ActiveDesktop {
public:
    ActiveDesktop() {
        m_bCom = SUCCEEDED(CoInitialize(nullptr));
        void* object = nullptr;
        if (FAILED(CoCreateInstance(CLSID_ActiveDesktop, nullptr, CLSCTX_INPROC_SERVER, IID_IActiveDesktop, &object)))
            WriteLog("IActiveDesktop Interface Get Failed.\n");
        m_pObject = static_cast<IActiveDesktop*>(object);
    }
    ~ActiveDesktop() {
        if (m_pObject) m_pObject->Release();
        if (m_bCom) CoUninitialize();
    }
    ActiveDesktop(const ActiveDesktop&) = delete;
    ActiveDesktop& operator=(const ActiveDesktop&) = delete;

    bool Running() const {
        if (!m_pObject) return false;
        COMPONENTSOPT options = {};
        options.dwSize = sizeof(options);
        return SUCCEEDED(m_pObject->GetDesktopItemOptions(&options, 0)) && options.fActiveDesktop;
    }
    // The current wallpaper in code page 932; false when it cannot be had.
    bool Wallpaper(TextString& path) const {
        if (!m_pObject) return false;
        wchar_t wide[MAX_PATH] = {};
        if (FAILED(m_pObject->GetWallpaper(wide, MAX_PATH, 0))) return false;
        char text[MAX_PATH * 2] = {};
        WideCharToMultiByte(932, 0, wide, -1, text, sizeof(text) - 1, nullptr, nullptr);
        return path.Assign(text);
    }

private:
    bool m_bCom = false;
    IActiveDesktop* m_pObject = nullptr;
};

bool WallpaperFromRegistry(TextString& path) {
    HKEY key = nullptr;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, "Control Panel\\Desktop", 0, KEY_READ, &key) != ERROR_SUCCESS) {
        WriteLog("Reading Registry Failed : %s", SystemErrorText().c_str());
        return false;
    }
    char text[MAX_PATH + 1] = {};
    DWORD size = MAX_PATH;
    DWORD type = 0;
    bool ok = RegQueryValueExA(key, "Wallpaper", nullptr, &type, reinterpret_cast<BYTE*>(text), &size) == ERROR_SUCCESS;
    RegCloseKey(key);
    text[MAX_PATH] = '\0';
    return ok && path.Assign(text);
}


// A chained command travels up to its first zero byte, seen from the top.
LPARAM ChainedCommand(LPARAM lParam) {
    uint32_t packed = static_cast<uint32_t>(lParam), kept = 0;
    for (int shift = 24; shift >= 0; shift -= 8) {
        uint32_t byte = (packed >> shift) & 0xFF;
        if (!byte) break;
        kept |= byte << shift;
    }
    return static_cast<LPARAM>(kept);
}

// No background brush: the title and the logo are drawn without one.
void RegisterDaemonClass(const char* name, WNDPROC procedure, bool largeIcon) {
    HINSTANCE instance = Daemon().instance;
    WNDCLASSEXA wc = {};
    wc.cbSize = sizeof(wc);
    wc.style = CS_HREDRAW | CS_VREDRAW;
    wc.lpfnWndProc = procedure;
    wc.hInstance = instance;
    wc.hIconSm = LoadIconA(instance, MAKEINTRESOURCEA(kDaemonIcon));
    wc.hIcon = largeIcon ? wc.hIconSm : nullptr;
    wc.hCursor = LoadCursorA(nullptr, MAKEINTRESOURCEA(32512));
    wc.lpszClassName = name;
    RegisterClassExA(&wc);
}

BOOL CALLBACK InvalidateVisible(HWND window, LPARAM) {
    if (IsWindowVisible(window)) InvalidateRect(window, nullptr, TRUE);
    return TRUE;
}

}  // namespace

SwitcherController::SwitcherController() : m_hReturnDesktop(GetThreadDesktop(GetCurrentThreadId())) {}

SwitcherController::~SwitcherController() {
    // The sound images go with the desktops; a sound still playing from one
    // must not read freed memory.
    PlaySoundA(nullptr, nullptr, 0);
    if (m_hReturnDesktop) SwitchDesktop(m_hReturnDesktop);
    // A desktop whose thread did not end is still in use by it: it is left
    // to the end of the process, which follows.
    std::vector<SwitcherDesktop*> inUse;
    for (AncestryDesktop* desktop : Desktops())
        if (static_cast<SwitcherDesktop*>(desktop)->ThreadLeftRunning()) inUse.push_back(static_cast<SwitcherDesktop*>(desktop));
    for (SwitcherDesktop* desktop : inUse) Desktops().Remove(desktop);
}

AncestryDesktop* SwitcherController::CreateChild() { return new (std::nothrow) SwitcherDesktop; }

SwitcherDesktop* SwitcherController::FirstDesktop() const { return static_cast<SwitcherDesktop*>(Desktops().Entry()); }

bool SwitcherController::AddExistingDesktop(const char* name) {
    for (AncestryDesktop* desktop : Desktops()) {
        if (desktop->m_strDesktopName == name) {
            static_cast<SwitcherDesktop*>(desktop)->OpenExisting();
            return true;
        }
    }
    TextString lower(name);
    lower.LowerAscii();
    if (!(lower == "default") && !m_bExistsOpen) return true;
    auto* adopted = static_cast<SwitcherDesktop*>(CreateChild());
    if (!adopted) return false;
    adopted->SetName(name);
    if (adopted->OpenExisting() == 0)
        Desktops().InsertAfterEntry(adopted);
    else
        delete adopted;
    return true;
}

int SwitcherController::InitDesktops() {
    DaemonState& daemon = Daemon();
    ActiveDesktop activeDesktop;
    if (m_bCheckIActive && activeDesktop.Running()) {
        ShowStartupBox("アクティブデスクトップが稼働中ですので、起動を取りやめます.");
        return -1;
    }
    for (AncestryDesktop* desktop : Desktops()) static_cast<SwitcherDesktop*>(desktop)->CreateOrOpen();
    // Adopted desktops go after the file's last one.
    Desktops().SetEntry(static_cast<AncestryDesktop*>(Desktops().Entry()->Prev()));
    for (const std::string& name : WindowStationDesktops())
        if (!AddExistingDesktop(name.c_str())) break;

    std::vector<AncestryDesktop*> unusable;
    for (AncestryDesktop* desktop : Desktops())
        if (desktop->m_nState != AncestryDesktop::kUsable && desktop != Desktops().Entry()) unusable.push_back(desktop);
    for (AncestryDesktop* desktop : unusable) RemoveChild(desktop);

    SwitcherDesktop* logon = nullptr;
    SwitcherDesktop* home = nullptr;
    for (AncestryDesktop* d : Desktops()) {
        TextString lower(d->m_strDesktopName);
        lower.LowerAscii();
        if (lower == "default") logon = static_cast<SwitcherDesktop*>(d);
        if (d->m_strDesktopName == daemon.launchingDesktop) home = static_cast<SwitcherDesktop*>(d);
    }
    if (!home) {
        ShowStartupBox("起動したデスクトップ自体が開けません.");
        return -40;
    }
    int number = 0;
    SwitcherDesktop* d = home;
    do {
        d->m_nNumber = number++;
        d = d->NextDesktop();
    } while (d != home);
    daemon.desktopCount = number;

    if (logon && logon != home &&
        MessageBoxA(nullptr,
                    "ﾛｸﾞｲﾝしたﾃﾞｨｽｸﾄｯﾌﾟから起動されていない可能性があります.\r\n"
                    "ﾛｸﾞｲﾝしたﾃﾞｽｸﾄｯﾌﾟをﾙｰﾄに変更しますか?\r\n",
                    kDaemonWindowName, MB_YESNO | MB_ICONQUESTION | MB_TASKMODAL) == IDYES) {
        // The main window is made on the main thread's desktop: where the
        // thread cannot move, the launching desktop stays home.
        if (SetThreadDesktop(logon->m_hDesktop.Get())) {
            home = logon;
            m_hReturnDesktop = GetThreadDesktop(GetCurrentThreadId());
        } else {
            WriteLog("SetThreadDesktop(%s) Failed. Reason=%s\n", logon->m_strDesktopName.c_str(),
                     SystemErrorText().c_str());
        }
    }
    daemon.home = home;
    daemon.current = home;
    if (home->IsAlone()) {
        ShowStartupBox("起動したデスクトップを除いて一つもデスクトップが開けません.");
        return -50;
    }

    // The thread windows' class, and the helper programs beside the daemon.
    RegisterDaemonClass(kThreadWindowClass, DesktopWindowProc, true);
    char own[MAX_PATH + 1] = {};
    GetModuleFileNameA(nullptr, own, MAX_PATH);
    WriteLog("Module Fullpath=%s.\n", own);
    std::string folder(own, DirectoryLength(own));
    std::string config = folder + "QVConfig.exe", mendrel = folder + "Mendrel.exe";
    daemon.configFound = IsPlainFile(config.c_str());
    daemon.mendrelFound = IsPlainFile(mendrel.c_str());
    WriteLog(daemon.configFound ? "QVConfig %s Found.\n" : "QVConfig %s Not Found.\n", config.c_str());
    WriteLog(daemon.mendrelFound ? "Mendrel %s Found.\n" : "Mendrel %s Not Found.\n", mendrel.c_str());

    home->m_strTitle = m_strDefaultTitle;
    home->m_crTitleColor = m_crLogoColor;
    home->m_bSoundOn = m_bSoundOn;
    home->m_strSoundFile = m_strSoundFile;

    bool display = false, wallpaper = false, sound = false;
    for (AncestryDesktop* desktop : Desktops()) {
        if (desktop != home) {
            display = display || desktop->m_bChgDisplay;
            wallpaper = wallpaper || desktop->m_bChgWallpaper;
        }
    }
    if (display) {
        for (AncestryDesktop* desktop : Desktops()) {
            desktop->m_bChgDisplay = true;
            WriteLog("SetDesktopFlag(%s)\n", desktop->m_strDesktopName.c_str());
        }
    }
    if (wallpaper) {
        TextString path;
        if (activeDesktop.Wallpaper(path)) {
            WriteLog("Default Wallpaper (From IActive Interface)=%s\n", path.c_str());
            home->m_strWallpaper = path;
        } else {
            WriteLog("IActive Interface : GetWallpaer() Failed.  So, Try To Read Registry...\n");
            if (WallpaperFromRegistry(path)) {
                home->m_strWallpaper = path;
                WriteLog("Default Wallpaper (From Registry) =%s\n", path.c_str());
            }
        }
        home->m_bChgWallpaper = true;
        for (AncestryDesktop* desktop : Desktops()) {
            desktop->m_bChgWallpaper = true;
            WriteLog("SetDesktopWallpaper(%s)\n", desktop->m_strDesktopName.c_str());
        }
    }
    for (AncestryDesktop* desktop : Desktops()) sound = sound || desktop->m_bSoundOn;
    m_nSoundMode = sound ? kSoundOn : kNoSound;
    return 0;
}

int SwitcherController::StartDesktopThreads() {
    DaemonState& daemon = Daemon();
    RegisterDaemonClass(kMainWindowClass, MainWindowProc, false);
    daemon.mainWindow = CreateWindowExA(WS_EX_TOPMOST | WS_EX_TOOLWINDOW, kMainWindowClass, kDaemonWindowName,
                                        WS_POPUP | WS_DISABLED, 0, 0, 0, 0, nullptr, nullptr, daemon.instance, nullptr);
    if (!daemon.mainWindow) {
        ShowStartupBox("ウィンドウの初期化に失敗しました.");
        return -1;
    }
    SetWindowLongPtrA(daemon.mainWindow, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    LayoutLogo();
    DrawLogo(-1);

    daemon.startSemaphore = CreateSemaphoreA(nullptr, 0, 1, nullptr);
    if (!daemon.startSemaphore) return -1;
    WriteLog("CreateSemaphore() Handle = %08X\n",
             static_cast<unsigned>(reinterpret_cast<uintptr_t>(daemon.startSemaphore)));
    std::vector<SwitcherDesktop*> order, withoutThread;
    for (AncestryDesktop* desktop : Desktops()) order.push_back(static_cast<SwitcherDesktop*>(desktop));
    int index = 0;
    bool stopped = false;
    for (SwitcherDesktop* desktop : order) {
        if (stopped) {
            withoutThread.push_back(desktop);
            continue;
        }
        if (m_bInitChange) SwitchDesktop(desktop->m_hDesktop.Get());
        if (!desktop->StartThread()) {
            withoutThread.push_back(desktop);
            stopped = true;
            continue;
        }
        const DWORD bound = desktop->StartBoundMs();
        const DWORD wait = WaitForSingleObject(daemon.startSemaphore, bound);
        if (wait != WAIT_OBJECT_0) {
            // The thread may still be starting, and uses its desktop and the
            // semaphore: both stay, and no further thread is started.
            if (wait == WAIT_TIMEOUT)
                WriteLog("Desktop [%s] Thread Did Not Start Within %u ms.\n", desktop->m_strDesktopName.c_str(),
                         static_cast<unsigned>(bound));
            else
                WriteLog("Waitting for Semaphore Error.  Reason=%s", SystemErrorText().c_str());
            m_bStartOutstanding = true;
            stopped = true;
            continue;
        }
        if (!desktop->ThreadReady()) {
            WriteLog("Thread Not Active : dwRet=%08X\n", static_cast<unsigned>(desktop->FailedThreadExitCode()));
            withoutThread.push_back(desktop);
            continue;
        }
        DrawLogo(index++);
    }
    if (!m_bStartOutstanding) {
        WriteLog("Close Semaphore Handle = %08X\n",
                 static_cast<unsigned>(reinterpret_cast<uintptr_t>(daemon.startSemaphore)));
        CloseHandle(daemon.startSemaphore);
        daemon.startSemaphore = nullptr;
    }
    for (SwitcherDesktop* desktop : withoutThread) RetireDesktop(desktop);
    if (m_bInitChange) SwitchDesktop(daemon.home->m_hDesktop.Get());
    if (!daemon.home->m_hThreadWindow) {
        // Without the home desktop's window the daemon has no way back.
        WriteLog("Home Desktop [%s] Has No Thread.\n", daemon.home->m_strDesktopName.c_str());
        return -1;
    }
    if (m_bControlBar) StartControlBar();

    SetWindowPos(daemon.mainWindow, HWND_BOTTOM, 0, 0, 0, 0, SWP_NOACTIVATE | SWP_HIDEWINDOW | SWP_NOCOPYBITS);
    if (m_bRedraw) RedrawAll();
    m_logoLarge.Reset();
    m_logoSmall.Reset();
    return 0;
}

void SwitcherController::RegisterHotKeys() {
    // A word the controller names stays its own even where another program
    // holds it: the user set it for the controller's command, and a desktop
    // given the same word must not take it over.
    std::vector<uint32_t> taken;
    for (int i = 0; i < kHotKeyCount; ++i) {
        const uint32_t word = HotKeyWord(i);
        if (!HotKeyCode(word)) continue;
        taken.push_back(word);
        m_hotKeys.emplace_back(Daemon().mainWindow, i + 1, word);
    }
    SwitcherDesktop* home = Daemon().home;
    SwitcherDesktop* desktop = home;
    do {
        RegisterDesktopHotKey(desktop, taken);
        desktop = desktop->NextDesktop();
    } while (desktop != home);
}

void SwitcherController::RegisterDesktopHotKey(SwitcherDesktop* desktop, std::vector<uint32_t>& taken) {
    const uint32_t word = desktop->m_dwHotKey;
    if (!HotKeyCode(word)) return;
    const std::string name = HotKeyName(word);
    if (std::find(taken.begin(), taken.end(), word) != taken.end()) {
        WriteLog("Desktop [%s] HotKey [%s] Not Registered : Already Used.\n", desktop->m_strTitle.c_str(), name.c_str());
        return;
    }
    taken.push_back(word);
    const int id = kFirstDesktopHotKey + static_cast<int>(m_hotKeyDesktops.size());
    HotKeyRegistration registration(Daemon().mainWindow, id, word);
    if (!registration.Registered()) {
        WriteLog("Desktop [%s] HotKey [%s] Not Registered : %s\n", desktop->m_strTitle.c_str(), name.c_str(),
                 SystemErrorText().c_str());
        return;
    }
    m_hotKeys.push_back(std::move(registration));
    m_hotKeyDesktops.push_back(desktop);
}

void SwitcherController::OnHotKey(WPARAM id) {
    HWND mainWindow = Daemon().mainWindow;
    if (id >= 1 && id <= static_cast<WPARAM>(kHotKeyCount)) {
        SendMessageA(mainWindow, WM_COMMAND, kHotKeyCommands[id - 1], 0);
        return;
    }
    if (id < kFirstDesktopHotKey || id - kFirstDesktopHotKey >= m_hotKeyDesktops.size()) return;
    SwitcherDesktop* target = m_hotKeyDesktops[id - kFirstDesktopHotKey];
    // The switch request would run the activation again; the key of the
    // desktop the user is on leaves it as it is.
    if (target == Daemon().current) return;
    SendMessageA(mainWindow, WM_COMMAND, kCmdActivateWindow, reinterpret_cast<LPARAM>(target->m_hThreadWindow));
}

int SwitcherController::Run() {
    DaemonState& daemon = Daemon();
    RegisterHotKeys();
    SendMessageA(daemon.mainWindow, WM_COMMAND, kCmdHome, 0);
    MSG msg;
    while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
    if (m_bControlBar) StopControlBar();
    m_hotKeys.clear();
    m_hotKeyDesktops.clear();
    return 0;
}

int SwitcherController::CloseAllThreads() {
    DaemonState& daemon = Daemon();
    SwitcherDesktop* home = daemon.home;
    bool allEnded = true;
    for (AncestryDesktop* desktop : Desktops()) static_cast<SwitcherDesktop*>(desktop)->m_bSkipClosing = m_bEndingBySessionEnd;
    for (AncestryDesktop* desktop : Desktops())
        if (desktop != home) allEnded = static_cast<SwitcherDesktop*>(desktop)->CloseThread(kThreadEndBoundMs) && allEnded;
    if (home) allEnded = home->CloseThread(kThreadEndBoundMs) && allEnded;
    // A thread that never reported its start may still release the semaphore.
    if (daemon.startSemaphore && allEnded) {
        CloseHandle(daemon.startSemaphore);
        daemon.startSemaphore = nullptr;
    }
    WriteLog("Controller : All Threads Closed.\n");
    return 0;
}

void SwitcherController::RetireDesktop(SwitcherDesktop* desktop) {
    DaemonState& daemon = Daemon();
    WriteLog("Desktop [%s] Removed : No Thread.\n", desktop->m_strDesktopName.c_str());
    // The threads already running may be walking the ring: the desktop is
    // taken out of it but lives on until the end, so that a walker that
    // still holds it reads a desktop and not freed memory.
    Desktops().Remove(desktop);
    m_retired.emplace_back(desktop);
    if (daemon.home == desktop) return;
    int number = 0;
    SwitcherDesktop* d = daemon.home;
    do {
        d->m_nNumber = number++;
        d = d->NextDesktop();
    } while (d != daemon.home);
    daemon.desktopCount = number;
}

void SwitcherController::RedrawAll() {
    EnumWindows(InvalidateVisible, 0);
    RedrawWindow(GetDesktopWindow(), nullptr, nullptr,
                 RDW_INVALIDATE | RDW_INTERNALPAINT | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
}

void SwitcherController::TakeSnapshot() {
    SwitcherDesktop* current = Daemon().current;
    if (m_nKeepBitmapSize > 0 && current) SendToDesktopThread(current->m_hThreadWindow, WM_COMMAND, kCmdCaptureSnapshot, 0);
}

void SwitcherController::SwitchTo(SwitcherDesktop* target) {
    DaemonState& daemon = Daemon();
    // For back, whose target is the previous desktop, this swaps the two.
    daemon.previous = daemon.current;
    daemon.current = target;
    SwitchDesktop(target->m_hDesktop.Get());
    SendToDesktopThread(target->m_hThreadWindow, WM_COMMAND, kCmdActivate, 0);
}

LRESULT SwitcherController::SetSoundMode(LPARAM lParam) {
    if (m_nSoundMode == kNoSound) return 0;
    switch (lParam) {
    case 0: m_nSoundMode = m_nSoundMode == kSoundOn ? kSoundOff : kSoundOn; break;
    case 1: m_nSoundMode = kSoundOn; break;
    case 2: m_nSoundMode = kSoundOff; break;
    default: return 0;
    }
    m_bSoundOn = m_nSoundMode == kSoundOn;
    for (AncestryDesktop* desktop : Desktops()) desktop->m_bSoundOn = m_bSoundOn;
    return 1;
}

LRESULT SwitcherController::OnCommand(WPARAM command, LPARAM lParam) {
    DaemonState& daemon = Daemon();
    SwitcherDesktop* target = nullptr;
    switch (command) {
    case kCmdExit:
        PostMessageA(daemon.mainWindow, WM_CLOSE, 0, 0);
        return 1;
    case kCmdNext:
    case kCmdPrevious:
        TakeSnapshot();
        target = command == kCmdNext ? daemon.current->NextDesktop() : daemon.current->PrevDesktop();
        if (target == daemon.current) return 1;  // a ring of one
        break;
    case kCmdHome:
        TakeSnapshot();
        target = daemon.home;
        break;
    case kCmdBack:
        TakeSnapshot();
        if (!daemon.previous) return 1;
        target = daemon.previous;
        break;
    case kCmdActivateWindow:
        for (AncestryDesktop* desktop : Desktops()) {
            auto* d = static_cast<SwitcherDesktop*>(desktop);
            if (reinterpret_cast<LPARAM>(d->m_hThreadWindow) == lParam) target = d;
        }
        if (!target) {
            WriteLog("Cannot Found HWND=%08X\n", static_cast<unsigned>(lParam));
            return 1;
        }
        TakeSnapshot();
        SwitchTo(target);
        return 1;
    case kCmdMenu:
        if (daemon.current) SendToDesktopThread(daemon.current->m_hThreadWindow, WM_COMMAND, kCmdMenu, 0);
        return 1;
    case kCmdSound:
        return SetSoundMode(lParam);
    default:
        return 1;
    }
    SwitchTo(target);
    if (LPARAM chained = ChainedCommand(lParam))
        SendToDesktopThread(daemon.current->m_hThreadWindow, kRequestMessage, kCommandTextRequest, chained);
    return 1;
}

void SwitcherController::EndBySession(WPARAM wParam) {
    m_bEndingBySessionEnd = true;
    CloseAllThreads();
    Daemon().controller = nullptr;
    delete this;
    WriteLog(" --- Quorvel Exit by WM_ENDSESSION(%d) ---\n", static_cast<int>(wParam));
    ExitProcess(1);
}

LRESULT CALLBACK MainWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* controller = reinterpret_cast<SwitcherController*>(GetWindowLongPtrA(window, GWLP_USERDATA));
    switch (message) {
    case WM_QUERYENDSESSION:
        WriteLog("Quorvel Main Thread WM_QUERYENDSESSION Detected.\n");
        return TRUE;
    case WM_ENDSESSION:
        WriteLog("Quorvel Main Thread WM_ENDSESSION(%d) Detected.\n", static_cast<int>(wParam));
        if (wParam && controller) controller->EndBySession(wParam);
        return TRUE;
    case WM_CLOSE:
        DestroyWindow(window);
        return 0;
    case WM_DESTROY:
        PostQuitMessage(0);
        return 0;
    case WM_HOTKEY:
        if (controller) controller->OnHotKey(wParam);
        return 1;
    case WM_COMMAND:
        return controller ? controller->OnCommand(wParam, lParam) : 1;
    case kRequestMessage:
        if (wParam == kEndDaemonRequest && controller) return controller->OnCommand(kCmdExit, lParam);
        return 1;
    default:
        return DefWindowProcA(window, message, wParam, lParam);
    }
}

}  // namespace qv

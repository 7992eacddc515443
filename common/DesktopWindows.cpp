#include "DesktopWindows.h"

#include "DaemonRequest.h"
#include "CommandText.h"
#include "DesktopThread.h"
#include "Handle.h"
#include "PathText.h"
#include "PipeClient.h"
#include "ProcessApi.h"
#include "Protocol.h"

namespace qv {

namespace {

inline constexpr char kNoDaemon[] = "Quorvelが動いていません.";
inline constexpr char kOldDaemon[] = "このバージョンのQuorvelでは動作しません.";
inline constexpr char kNoOwnDesktopName[] = "起動したデスクトップ名が獲得できません.";
inline constexpr char kNoBar[] = "QVControlBar は起動されていません.";
inline constexpr char kBarSilent[] = "QVControlBar が応答を返しませんでした.";
inline constexpr DWORD kHangOnTimeoutMs = 7000;
// A window's text is read into a buffer of this size.
inline constexpr int kCaptionBuffer = 387;

struct Enumeration {
    uint32_t options;
    DWORD ownProcess;
    std::vector<WindowEntry>* windows;
};

void FillModule(WindowEntry& entry, bool upperCase) {
    UniqueHandle process = OpenWindowProcess(entry.window, kModuleQueryAccess);
    TextString path;
    if (!process || !ProcessModulePath(process.Get(), path)) return;
    entry.modulePath = path.c_str();
    const char* name = FileNamePart(path.c_str());
    entry.module = upperCase ? UpperCaseModule(name) : std::string(name);
}

BOOL CALLBACK TakeWindow(HWND window, LPARAM param) {
    Enumeration& run = *reinterpret_cast<Enumeration*>(param);
    WindowEntry entry;
    entry.window = window;
    entry.threadId = GetWindowThreadProcessId(window, &entry.processId);
    // The tool's own windows are left before any question: reading the text
    // of one would send to the dialog's thread, which waits for this one.
    if (entry.processId == run.ownProcess) return TRUE;
    WindowFacts facts;
    facts.visible = IsWindowVisible(window) != FALSE;
    facts.enabled = IsWindowEnabled(window) != FALSE;
    WINDOWPLACEMENT placement{};
    placement.length = sizeof placement;
    facts.placementRead = GetWindowPlacement(window, &placement) != FALSE;
    facts.normalWidth = placement.rcNormalPosition.right - placement.rcNormalPosition.left;
    facts.normalHeight = placement.rcNormalPosition.bottom - placement.rcNormalPosition.top;
    facts.owned = GetWindow(window, GW_OWNER) != nullptr;
    char text[kCaptionBuffer] = "";
    GetWindowTextA(window, text, sizeof text);
    facts.caption = CleanCaption(text);
    char className[MAX_PATH + 1] = "";
    GetClassNameA(window, className, MAX_PATH);
    facts.className = className;
    if (!ListsWindow(facts, run.options)) return TRUE;

    entry.className = std::move(facts.className);
    entry.caption = std::move(facts.caption);
    entry.normal = placement.rcNormalPosition;
    entry.showCommand = placement.showCmd;
    FillModule(entry, (run.options & kUpperCaseModules) != 0);
    run.windows->push_back(std::move(entry));
    return TRUE;
}

}  // namespace

std::vector<WindowEntry> DesktopWindows(const char* desktopId, uint32_t options) {
    std::vector<WindowEntry> windows;
    Enumeration run{options, GetCurrentProcessId(), &windows};
    RunOnDesktop(desktopId, [&] { EnumWindows(TakeWindow, reinterpret_cast<LPARAM>(&run)); }, kDesktopQueryAccess);
    return windows;
}

void DesktopList::Tell(HWND owner, const char* text) const { MessageBoxA(owner, text, m_caption, MB_OK); }

void DesktopList::LookUpBar() { m_barFoundAtStart = FindWindowA(kBarThreadWindowClass, kBarWindowName) != nullptr; }

bool DesktopList::Load() {
    m_desktops.clear();
    m_own = nullptr;
    PipeClient client;
    QueryResult result = client.CheckVersion(&m_version);
    if (result == QueryResult::kNotFound) {
        Tell(nullptr, kNoDaemon);
        return false;
    }
    if (result != QueryResult::kOk) {
        Tell(nullptr, kOldDaemon);
        return false;
    }
    std::string own;
    if (!ThreadDesktopName(&own)) {
        Tell(nullptr, kNoOwnDesktopName);
        return false;
    }
    DesktopInformation info;
    result = client.AskInformation(&info);
    if (result == QueryResult::kNotFound) {
        Tell(nullptr, kNoDaemon);
        return false;
    }
    // A failed pipe or a reply cut short ends the tool without a word.
    if (result != QueryResult::kOk) return false;
    for (const DesktopRecord& record : info.desktops) {
        std::unique_ptr<DesktopEntry> entry(new DesktopEntry);
        entry->index = static_cast<int>(m_desktops.size());
        entry->id = record.id;
        entry->title = DesktopTitle(record.name.c_str(), record.id.c_str());
        entry->width = record.width;
        entry->height = record.height;
        if (entry->id == own) m_own = entry.get();
        m_desktops.push_back(std::move(entry));
    }
    return true;
}

void DesktopList::Enumerate(DesktopEntry& desktop) {
    desktop.windows = DesktopWindows(desktop.id.c_str(), m_options);
    for (WindowEntry& window : desktop.windows) window.desktop = &desktop;
}

bool DesktopList::SwitchTo(DesktopEntry& desktop) {
    // The daemon's window is found from a thread on that desktop, once.
    if (!desktop.daemonWindow)
        RunOnDesktop(desktop.id.c_str(), [&] { desktop.daemonWindow = FindDaemonWindow(DaemonWindow::kThread); });
    if (!desktop.daemonWindow) return false;
    SendRequest(desktop.daemonWindow, kSwitchToNumberRequest,
                static_cast<LPARAM>(PackCommandText(SwitchText(desktop.index).c_str())));
    return true;
}

void DesktopList::Activate(const WindowEntry& window, bool maximize) {
    for (auto& entry : m_desktops) {
        if (entry.get() != window.desktop) continue;
        if (SwitchTo(*entry)) BringForward(window.window, maximize);
        return;
    }
}

void BringForward(HWND window, bool maximize) {
    // Another program's window: neither call may wait for it.
    ShowWindowAsync(window, maximize ? SW_SHOWMAXIMIZED : SW_RESTORE);
    SetForegroundWindow(window);
}

bool HangOnBar(HWND owner, HWND window, const char* caption) {
    HWND bar = FindWindowA(kBarThreadWindowClass, nullptr);
    if (!bar) {
        MessageBoxA(owner, kNoBar, caption, MB_OK);
        return false;
    }
    if (!SendBounded(bar, kRequestMessage, kBarHangWindowRequest, reinterpret_cast<LPARAM>(window), kHangOnTimeoutMs)
             .Answered()) {
        MessageBoxA(owner, kBarSilent, caption, MB_OK);
        return false;
    }
    return true;
}

}  // namespace qv

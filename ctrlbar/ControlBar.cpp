#include "ControlBar.h"

#include <atomic>
#include <cstdint>
#include <memory>
#include <new>
#include <string>
#include <vector>

#include "BarButtons.h"
#include "BarShared.h"
#include "BarWindow.h"
#include "CommandLine.h"
#include "DaemonRequest.h"
#include "DesktopButtons.h"
#include "Hanger.h"
#include "Handle.h"
#include "Log.h"
#include "PipeClient.h"
#include "ProcessApi.h"
#include "Protocol.h"
#include "QVCtrlBarRes.h"

namespace qv {

namespace {

constexpr char kCaption[] = "QVControlBar for Quorvel";
constexpr char kUsage[] = "QVControlBar(コントロールバー)\r\nUsage : \r\nQVControlBar.exe [-p ParamFile]\r\n\r\n";
constexpr char kAlreadyRunning[] = "制御ﾊﾞｰ起動ｴﾗｰ.\r\n制御ﾊﾞｰは、既に起動されています．";
constexpr char kDaemonNotRunning[] = "制御ﾊﾞｰ起動ｴﾗｰ.\r\nQuorvelは、動作していません．";
constexpr char kNoMemory[] = "メモリが足りません";
constexpr char kNoDaemonWindow[] = "Quorvel は動いていません.";
constexpr char kWrongVersion[] = "このバージョンのQuorvelでは動作しません.";
constexpr char kNoOwnDesktop[] = "起動したデスクトップ名が獲得できません.";
constexpr char kPipeInitFailed[] = "プロセス間通信の初期化に失敗しました.";
constexpr char kPipeFailed[] = "プロセス間通信中にエラーが発生しました.";
constexpr char kNoHomeDesktop[] = "ホームデスクトップが見つかりません.";
constexpr char kNoMainWindow[] = "ウィンドウの初期化に失敗しました.";

constexpr ACCESS_MASK kBarDesktopAccess = 0xF20F01FF;
// How long a bar's thread may take to make its windows, and to end.
constexpr DWORD kBarStartMs = 10000;
constexpr DWORD kBarEndMs = 10000;
constexpr int kHotKeyId = 1;

void ShowStartError(const char* text) { MessageBoxA(nullptr, text, kCaption, MB_OK | MB_TASKMODAL); }

std::string ProgramFolder() {
    char path[MAX_PATH] = {};
    const DWORD length = GetModuleFileNameA(nullptr, path, sizeof(path));
    std::string folder(path, length < sizeof(path) ? length : 0);
    const size_t cut = folder.find_last_of("\\/");
    return cut == std::string::npos ? std::string() : folder.substr(0, cut + 1);
}

// One desktop's bar and the thread that serves it.
class BarThread {
public:
    BarThread(BarShared& shared, int number, UniqueDesktop desktop, HDESK startDesktop, HANDLE semaphore)
        : m_shared(shared), m_number(number), m_desktop(std::move(desktop)), m_startDesktop(startDesktop),
          m_semaphore(semaphore) {}
    ~BarThread() {
        Close();
        Finish(GetTickCount() + kBarEndMs);
    }
    BarThread(const BarThread&) = delete;
    BarThread& operator=(const BarThread&) = delete;

    // Starts the thread, which releases the semaphore once its bar is made
    // or could not be.
    bool Launch() {
        m_thread.Reset(CreateThread(nullptr, 0, Run, this, 0, nullptr));
        return static_cast<bool>(m_thread);
    }
    bool Ready() const { return m_ready; }
    HWND Bar() const { return m_window; }
    int Number() const { return m_number; }
    void Post(UINT message, WPARAM wParam, LPARAM lParam) const {
        if (HWND window = m_window) PostMessageA(window, message, wParam, lParam);
    }
    // Asks the bar to close; its thread then ends. A bar still being made
    // is closed as soon as it is: one that came after the wait gave up must
    // not run unknown to the hanger.
    void Close() {
        m_closeAsked = true;
        Post(WM_CLOSE, 0, 0);
    }
    // Waits until the deadline (GetTickCount) for the thread; one that does
    // not end is left to the end of the process.
    bool Finish(DWORD deadline) {
        if (!m_thread) return true;
        const DWORD left = static_cast<LONG>(deadline - GetTickCount()) > 0 ? deadline - GetTickCount() : 0;
        const bool ended = WaitForSingleObject(m_thread.Get(), left) == WAIT_OBJECT_0;
        if (!ended) WriteLog("Bar thread of desktop %d did not end.\n", m_number);
        m_thread.Reset();
        return ended;
    }

private:
    static DWORD WINAPI Run(void* parameter) {
        static_cast<BarThread*>(parameter)->Serve();
        return 0;
    }
    void Serve() {
        std::unique_ptr<BarWindow> bar;
        if (SetThreadDesktop(m_desktop.Get())) {
            bar = std::make_unique<BarWindow>(m_shared, m_number);
            if (bar->Build()) m_window = bar->Handle();
        }
        m_ready = m_window != nullptr;
        ReleaseSemaphore(m_semaphore, 1, nullptr);
        if (m_ready && !m_closeAsked) {
            bar->Start();
            MSG msg;
            while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
                TranslateMessage(&msg);
                DispatchMessageA(&msg);
            }
        }
        m_window = nullptr;
        bar.reset();
        // The desktop can be closed only by a thread that has left it.
        SetThreadDesktop(m_startDesktop);
        m_desktop.Reset();
    }

    BarShared& m_shared;
    const int m_number;
    UniqueDesktop m_desktop;
    HDESK m_startDesktop;
    HANDLE m_semaphore;
    UniqueHandle m_thread;
    std::atomic<HWND> m_window{nullptr};
    std::atomic<bool> m_ready{false};
    std::atomic<bool> m_closeAsked{false};
};

// The invisible main window on the starting desktop: the hot key, the pin
// for all bars, the hanger, and the end of the process.
class MainWindow : public Window {
public:
    MainWindow(BarShared& shared, const std::vector<std::unique_ptr<BarThread>>& bars)
        : m_shared(shared), m_bars(bars) {}

    void TellBars(UINT message, WPARAM wParam) const {
        for (const auto& bar : m_bars) bar->Post(message, wParam, 0);
    }

protected:
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override {
        switch (message) {
        case WM_HOTKEY:
            TellBars(kRequestMessage, kBarShowRequest);
            return 0;
        case kPinToggledMessage:
            TellBars(kPinChangedMessage, 0);
            return 0;
        case kRequestMessage:
            return OnRequest(wParam, lParam);
        case kHangerMoveMessage:
            if (Hanger* hanger = m_shared.hanger) hanger->Move(static_cast<uint32_t>(wParam), static_cast<size_t>(lParam));
            return 0;
        case kHangerSortMessage:
            if (Hanger* hanger = m_shared.hanger) hanger->Sort(static_cast<int32_t>(wParam), lParam != 0);
            return 0;
        case kHangerRefreshMessage:
            if (Hanger* hanger = m_shared.hanger) hanger->Refresh();
            return 0;
        case WM_CLOSE:
            DestroyWindow(Handle());
            return 0;
        case WM_DESTROY:
            UnregisterHotKey(Handle(), kHotKeyId);
            PostQuitMessage(0);
            return 0;
        }
        return Window::HandleMessage(message, wParam, lParam);
    }

private:
    LRESULT OnRequest(WPARAM request, LPARAM lParam) {
        Hanger* hanger = m_shared.hanger;
        if (!hanger) return 0;
        if (request == kBarHangWindowRequest) return hanger->HangOn(reinterpret_cast<HWND>(lParam)) ? 1 : 0;
        if (request == kBarRemoveEntryRequest) hanger->Remove(static_cast<uint32_t>(lParam));
        return 0;
    }

    BarShared& m_shared;
    const std::vector<std::unique_ptr<BarThread>>& m_bars;
};

// What the daemon says of its desktops; false after showing why not.
bool LearnDesktops(BarShared& shared) {
    PipeClient client;
    QueryResult result = client.CheckVersion();
    if (result == QueryResult::kNotFound) {
        ShowStartError(kNoDaemonWindow);
        return false;
    }
    if (result != QueryResult::kOk) {
        ShowStartError(kWrongVersion);
        return false;
    }
    std::string own;
    if (!ThreadDesktopName(&own)) {
        ShowStartError(kNoOwnDesktop);
        return false;
    }
    DesktopInformation info;
    result = client.AskInformation(&info);
    if (result == QueryResult::kNotFound) {
        ShowStartError(kNoDaemonWindow);
        return false;
    }
    if (result == QueryResult::kPipeCreateFailed) {
        ShowStartError(kPipeInitFailed);
        return false;
    }
    // A reply cut short would give bars that miss desktops without a word:
    // only a whole reply is used.
    if (result != QueryResult::kOk || info.desktops.empty()) {
        ShowStartError(kPipeFailed);
        return false;
    }
    if (!info.FindById(own.c_str())) {
        ShowStartError(kNoHomeDesktop);
        return false;
    }
    for (const DesktopRecord& record : info.desktops) {
        const int number = static_cast<int>(shared.desktops.size());
        shared.desktops.push_back(BarDesktop{number, record.id, record.name, DesktopColor(number)});
    }
    return true;
}

bool RegisterMainClass(HINSTANCE instance) {
    WNDCLASSEXA wc = {};
    wc.cbSize = sizeof(wc);
    wc.hInstance = instance;
    wc.hIcon = LoadIconA(instance, MAKEINTRESOURCEA(IDI_CTRLBAR));
    wc.hIconSm = LoadIconA(instance, MAKEINTRESOURCEA(IDI_CTRLBAR_SMALL));
    wc.hCursor = LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW));
    wc.lpszClassName = kBarMainWindowClass;
    return Window::Register(wc);
}

// The bars, one thread each, made side by side: most of a bar's making is
// waiting for the window system, which another bar's thread can use
// meanwhile. Kept in the daemon's order up to the first that could not be
// made; those after it are asked to close again, as if never tried (their
// threads are waited for with the others at the end). Returns how many run.
size_t StartBars(BarShared& shared, HANDLE semaphore, std::vector<std::unique_ptr<BarThread>>& bars) {
    HDESK start = GetThreadDesktop(GetCurrentThreadId());
    for (const BarDesktop& desktop : shared.desktops) {
        UniqueDesktop handle(OpenDesktopA(desktop.id.c_str(), 0, FALSE, kBarDesktopAccess));
        if (!handle) {
            WriteLog("OpenDesktop(%s) Failed.\n", desktop.id.c_str());
            break;
        }
        bars.push_back(std::make_unique<BarThread>(shared, desktop.number, std::move(handle), start, semaphore));
        if (!bars.back()->Launch()) {
            bars.pop_back();
            break;
        }
    }
    // Each bar gets its own time: the wait gives up only when no bar has
    // come for that long.
    for (size_t i = 0; i < bars.size(); ++i) {
        if (WaitForSingleObject(semaphore, kBarStartMs) != WAIT_OBJECT_0) break;
    }
    size_t made = 0;
    while (made < bars.size() && bars[made]->Ready()) ++made;
    if (made < bars.size())
        WriteLog("Bar of desktop %s did not start.\n", shared.desktops[bars[made]->Number()].id.c_str());
    for (size_t i = made; i < bars.size(); ++i) bars[i]->Close();
    return made;
}

int RunBars(BarShared& shared) {
    HINSTANCE instance = shared.instance;
    if (!RegisterMainClass(instance) || !RegisterBarButtonClasses(instance) || !BarWindow::RegisterClass(instance)) {
        ShowStartError(kNoMainWindow);
        return 1;
    }
    std::vector<std::unique_ptr<BarThread>> bars;
    MainWindow main(shared, bars);
    if (!main.Create(0, kBarMainWindowClass, kBarWindowName, WS_POPUP | WS_SYSMENU, 0, 0, 0, 0, nullptr, nullptr,
                     instance)) {
        ShowStartError(kNoMainWindow);
        return 1;
    }
    shared.mainWindow = main.Handle();
    const LONG count = static_cast<LONG>(shared.desktops.size());
    UniqueHandle semaphore(CreateSemaphoreA(nullptr, 0, count > 0 ? count : 1, nullptr));
    WriteLog("CreateSemaphore() Handle = %08X\n", static_cast<unsigned>(reinterpret_cast<uintptr_t>(semaphore.Get())));
    const size_t made = semaphore ? StartBars(shared, semaphore.Get(), bars) : 0;

    // The hanger searches the bars' desktops, in the daemon's order.
    std::vector<std::string> desktops;
    for (size_t i = 0; i < made; ++i) desktops.push_back(shared.desktops[i].id);
    Hanger hanger(shared, main.Handle(), std::move(desktops),
                  [&main] { main.TellBars(kRequestMessage, kBarRebuildHangerRequest); });
    shared.hanger = &hanger;
    for (const std::string& module : shared.controller.initHangonModules) hanger.HangOnModule(module);

    const uint32_t hotKey = shared.controller.hotKeyActive;
    if (hotKey != 0) RegisterHotKey(main.Handle(), kHotKeyId, hotKey >> 16, hotKey & 0xFFFF);
    MSG msg;
    while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
    // Together: under Wine without a window manager, hiding a bar as it is
    // destroyed waits up to two seconds for the X server.
    for (auto& bar : bars) bar->Close();
    const DWORD deadline = GetTickCount() + kBarEndMs;
    bool allEnded = true;
    for (auto& bar : bars) allEnded = bar->Finish(deadline) && allEnded;
    bars.clear();
    // A bar still running may still draw with the shared images.
    if (!allEnded) shared.keepImages = true;
    shared.hanger = nullptr;
    return 0;
}

}  // namespace

bool BarImages::Load(HINSTANCE instance) {
    auto bitmap = [instance](int id) {
        // Light grey in the images becomes the face colour of the buttons.
        return static_cast<HBITMAP>(
            LoadImageA(instance, MAKEINTRESOURCEA(id), IMAGE_BITMAP, 0, 0, LR_LOADMAP3DCOLORS));
    };
    auto icon = [instance](int id) {
        return static_cast<HICON>(LoadImageA(instance, MAKEINTRESOURCEA(id), IMAGE_ICON, 16, 16, 0));
    };
    system = bitmap(IDB_SYSTEM);
    pinPinned = bitmap(IDB_PIN_PINNED);
    pinLoose = bitmap(IDB_PIN_LOOSE);
    knob = bitmap(IDB_KNOB);
    pageNext = bitmap(IDB_PAGE_NEXT);
    pagePrevious = bitmap(IDB_PAGE_PREVIOUS);
    switchMenu = bitmap(IDB_SWITCH_MENU);
    hangerMenu = bitmap(IDB_HANGER_MENU);
    pageBack = bitmap(IDB_PAGE_BACK);
    menuFolder = icon(IDI_MENU_FOLDER);
    menuItem = icon(IDI_MENU_ITEM);
    return system && pinPinned && pinLoose && knob && pageNext && pagePrevious && switchMenu && hangerMenu &&
           pageBack && menuFolder && menuItem;
}

void BarImages::Free() {
    for (HBITMAP* image : {&system, &pinPinned, &pinLoose, &knob, &pageNext, &pagePrevious, &switchMenu, &hangerMenu,
                           &pageBack}) {
        if (*image) DeleteObject(*image);
        *image = nullptr;
    }
    for (HICON* image : {&menuFolder, &menuItem}) {
        if (*image) DestroyIcon(*image);
        *image = nullptr;
    }
}

int RunControlBar(HINSTANCE instance, const char* commandLine) {
    OptionList options;
    if (ParseCommandLine(options, commandLine) != kParseOk || options.Has("-H") || options.Has("-h")) {
        MessageBoxA(nullptr, kUsage, kCaption, MB_OK);
        return 0;
    }
    if (FindWindowA(kBarThreadWindowClass, kBarWindowName)) {
        ShowStartError(kAlreadyRunning);
        return 1;
    }
    if (!FindWindowA(kThreadWindowClass, kDaemonWindowName)) {
        ShowStartError(kDaemonNotRunning);
        return 1;
    }
    std::unique_ptr<BarShared> shared(new (std::nothrow) BarShared);
    if (!shared) {
        ShowStartError(kNoMemory);
        return 2;
    }
    shared->instance = instance;
    shared->parameterPath = options.Has("-p") ? options.Value("-p") : kBarParameterFile;
    shared->programFolder = ProgramFolder();
    BindProcessApi(kProcessFunctions | kImeFunction, true);
    // A missing image leaves its button with its caption.
    shared->images.Load(instance);

    int exitCode = 1;
    if (LearnDesktops(*shared)) {
        ReadBarControllerFile(shared->parameterPath.c_str(), &shared->controller);
        shared->fixPin = shared->controller.fixPin;
        exitCode = RunBars(*shared);
        if (shared->endDaemon) PostCommandText("X");
    }
    if (!shared->keepImages) shared->images.Free();
    BindProcessApi(kProcessFunctions | kImeFunction, false);
    return exitCode;
}

}  // namespace qv

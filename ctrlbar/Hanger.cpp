#include "Hanger.h"

#include <shellapi.h>

#include <algorithm>

#include "BarShared.h"
#include "DesktopThread.h"
#include "Log.h"
#include "ProcessApi.h"
#include "Protocol.h"
#include "TextString.h"

namespace qv {

namespace {

constexpr DWORD kTextLengthMs = 4000;  // a hung window gives up at once
constexpr DWORD kWatchEndMs = 5000;
constexpr int kCaptionMax = 387;

// What a watch thread needs, its own to close: the entry may go first.
struct WatchArguments {
    UniqueHandle process;
    UniqueHandle stop;
    HWND mainWindow = nullptr;
    uint32_t id = 0;
};

DWORD WINAPI Watch(void* parameter) {
    std::unique_ptr<WatchArguments> args(static_cast<WatchArguments*>(parameter));
    const HANDLE handles[2] = {args->process.Get(), args->stop.Get()};
    // The process's end takes the entry away; the stop event ends the watch
    // of an entry that goes for another reason.
    if (WaitForMultipleObjects(2, handles, FALSE, INFINITE) == WAIT_OBJECT_0)
        PostMessageA(args->mainWindow, kRequestMessage, kBarRemoveEntryRequest, static_cast<LPARAM>(args->id));
    return 0;
}

HANDLE Duplicate(HANDLE handle) {
    HANDLE copy = nullptr;
    DuplicateHandle(GetCurrentProcess(), handle, GetCurrentProcess(), &copy, 0, FALSE, DUPLICATE_SAME_ACCESS);
    return copy;
}

// The program's small icon drawn onto the button face, or the default image.
std::shared_ptr<UniqueGdi<HBITMAP>> IconBitmap(const std::string& modulePath, HICON fallback) {
    HICON extracted = nullptr;
    ExtractIconExA(modulePath.c_str(), 0, nullptr, &extracted, 1);
    const UniqueIcon small(extracted);
    HICON icon = small ? small.Get() : fallback;
    const int cx = GetSystemMetrics(SM_CXSMICON), cy = GetSystemMetrics(SM_CYSMICON);
    auto bitmap = std::make_shared<UniqueGdi<HBITMAP>>();
    if (HDC screen = GetDC(nullptr)) {
        bitmap->Reset(CreateCompatibleBitmap(screen, cx, cy));
        {
            const MemoryDC memory(screen);
            const Selection select(memory.Get(), bitmap->Get());
            RECT all = {0, 0, cx, cy};
            FillRect(memory.Get(), &all, GetSysColorBrush(COLOR_BTNFACE));
            if (icon) DrawIconEx(memory.Get(), 0, 0, icon, cx, cy, 0, nullptr, DI_NORMAL);
        }
        ReleaseDC(nullptr, screen);
    }
    return bitmap;
}

// The caption of another program's window: its length is asked with a
// bound, as a hung window would not answer; the text itself the system
// keeps. False when the window has a text that cannot be read.
bool ReadCaption(HWND window, std::string* caption) {
    DWORD_PTR length = 0;
    if (!SendMessageTimeoutA(window, WM_GETTEXTLENGTH, 0, 0, SMTO_ABORTIFHUNG, kTextLengthMs, &length)) length = 0;
    char text[kCaptionMax + 1] = {};
    GetWindowTextA(window, text, sizeof(text));
    *caption = text;
    return length == 0 || text[0] != '\0';
}

}  // namespace

struct Hanger::Entry {
    uint32_t id = 0;
    HWND window = nullptr;
    DWORD processId = 0;
    UniqueHandle process;
    std::string module, modulePath, caption, className;
    RECT rect = {};
    UINT showCmd = 0;
    int desktopNumber = 0;
    std::shared_ptr<UniqueGdi<HBITMAP>> icon;
    UniqueHandle stop;
    UniqueHandle watch;

    ~Entry() {
        if (!watch) return;
        SetEvent(stop.Get());
        if (WaitForSingleObject(watch.Get(), kWatchEndMs) != WAIT_OBJECT_0)
            WriteLog("Hanger watch of window %p did not end.\n", static_cast<void*>(window));
    }
    HangerView View() const { return HangerView{id, window, desktopNumber, module, caption, icon}; }
};

Hanger::Hanger(const BarShared& shared, HWND mainWindow, std::vector<std::string> desktops,
               std::function<void()> changed)
    : m_shared(shared),
      m_mainWindow(mainWindow),
      m_desktops(std::move(desktops)),
      m_changed(std::move(changed)),
      m_sortKey(shared.controller.hangerSortId),
      m_sortAscending(shared.controller.hangerSortAscending) {}

Hanger::~Hanger() = default;

bool Hanger::Search(Entry& entry, HWND window, const std::string& module) const {
    struct Query {
        const Hanger* self;
        Entry* entry;
        HWND window;
        const std::string* module;
        bool found;
    } query = {this, &entry, window, &module, false};
    auto consider = [](HWND candidate, LPARAM param) -> BOOL {
        Query& q = *reinterpret_cast<Query*>(param);
        if (q.window && candidate != q.window) return TRUE;
        if (!IsWindowVisible(candidate) || !IsWindowEnabled(candidate) || GetWindow(candidate, GW_OWNER)) return TRUE;
        WINDOWPLACEMENT placement = {};
        placement.length = sizeof(placement);
        if (!GetWindowPlacement(candidate, &placement)) return TRUE;
        const RECT& r = placement.rcNormalPosition;
        if (r.right - r.left <= 0 && r.bottom - r.top <= 0) return TRUE;
        DWORD pid = 0;
        GetWindowThreadProcessId(candidate, &pid);
        // The bar's own windows are never hung on, nor asked anything.
        if (pid == 0 || pid == GetCurrentProcessId()) return TRUE;
        TextString base;
        const bool named = WindowModuleBaseName(candidate, base);
        if (!q.module->empty() && (!named || *q.module != base.c_str())) return TRUE;
        std::string caption;
        if (!ReadCaption(candidate, &caption)) return TRUE;
        Entry& e = *q.entry;
        e.window = candidate;
        e.processId = pid;
        e.rect = r;
        e.showCmd = placement.showCmd;
        e.caption = caption;
        e.module = named ? base.c_str() : "";
        char className[261] = {};
        GetClassNameA(candidate, className, sizeof(className));
        e.className = className;
        q.found = true;
        return FALSE;
    };
    // From a thread on each desktop in turn: only there does the system
    // tell whether a window of that desktop is visible (under Wine).
    for (size_t number = 0; number < m_desktops.size() && !query.found; ++number) {
        if (m_desktops[number].empty()) continue;
        RunOnDesktop(m_desktops[number].c_str(), [&] { EnumWindows(consider, reinterpret_cast<LPARAM>(&query)); });
        if (query.found) entry.desktopNumber = static_cast<int>(number);
    }
    if (!query.found) return false;
    // The least the watch and the module names need.
    entry.process = OpenWindowProcess(entry.window, SYNCHRONIZE | kModuleQueryAccess);
    if (!entry.process) return false;
    TextString path;
    if (ProcessModulePath(entry.process.Get(), path)) entry.modulePath = path.c_str();
    return true;
}

void Hanger::StartWatch(Entry& entry) {
    entry.id = m_nextNumber++;
    entry.stop.Reset(CreateEventA(nullptr, TRUE, FALSE, nullptr));
    auto args = std::make_unique<WatchArguments>();
    args->process.Reset(Duplicate(entry.process.Get()));
    args->stop.Reset(entry.stop ? Duplicate(entry.stop.Get()) : nullptr);
    args->mainWindow = m_mainWindow;
    args->id = entry.id;
    if (!args->process || !args->stop) return;
    entry.watch.Reset(CreateThread(nullptr, 0, Watch, args.get(), 0, nullptr));
    if (entry.watch) args.release();  // the thread's own now
}

bool Hanger::HangOn(HWND window) {
    if (!window) return false;
    auto entry = std::make_unique<Entry>();
    return Known(window) || (Search(*entry, window, std::string()) && Add(std::move(entry)));
}

bool Hanger::HangOnModule(const std::string& module) {
    auto entry = std::make_unique<Entry>();
    if (module.empty() || !Search(*entry, nullptr, module)) return false;
    return Known(entry->window) || Add(std::move(entry));
}

bool Hanger::Known(HWND window) const {
    const std::lock_guard<std::mutex> hold(m_lock);
    return std::any_of(m_entries.begin(), m_entries.end(), [window](const auto& e) { return e->window == window; });
}

bool Hanger::Add(std::unique_ptr<Entry> entry) {
    entry->icon = IconBitmap(entry->modulePath, m_shared.images.menuItem);
    StartWatch(*entry);
    {
        const std::lock_guard<std::mutex> hold(m_lock);
        m_entries.push_back(std::move(entry));
    }
    m_changed();
    return true;
}

void Hanger::Remove(uint32_t id) {
    std::unique_ptr<Entry> gone;
    {
        const std::lock_guard<std::mutex> hold(m_lock);
        auto it = std::find_if(m_entries.begin(), m_entries.end(), [id](const auto& e) { return e->id == id; });
        if (it == m_entries.end()) return;
        gone = std::move(*it);
        m_entries.erase(it);
    }
    m_changed();
}

void Hanger::Move(uint32_t id, size_t place) {
    {
        const std::lock_guard<std::mutex> hold(m_lock);
        auto it = std::find_if(m_entries.begin(), m_entries.end(), [id](const auto& e) { return e->id == id; });
        if (it == m_entries.end()) return;
        std::unique_ptr<Entry> moved = std::move(*it);
        m_entries.erase(it);
        m_entries.insert(m_entries.begin() + static_cast<std::ptrdiff_t>(std::min(place, m_entries.size())),
                         std::move(moved));
    }
    m_changed();
}

void Hanger::Sort(int32_t key, bool ascending) {
    {
        const std::lock_guard<std::mutex> hold(m_lock);
        m_sortKey = key;
        m_sortAscending = ascending;
        std::vector<SortFacts> facts;
        for (const auto& e : m_entries) {
            facts.push_back(SortFacts{e->module, e->caption, Box{e->rect.left, e->rect.top, e->rect.right, e->rect.bottom},
                                      static_cast<int32_t>(e->id)});
        }
        std::vector<std::unique_ptr<Entry>> sorted;
        for (size_t index : HangerSortOrder(facts, key, ascending)) sorted.push_back(std::move(m_entries[index]));
        m_entries = std::move(sorted);
    }
    m_changed();
}

void Hanger::Refresh() {
    const std::lock_guard<std::mutex> hold(m_lock);
    for (const auto& e : m_entries) {
        WINDOWPLACEMENT placement = {};
        placement.length = sizeof(placement);
        if (GetWindowPlacement(e->window, &placement)) {
            e->rect = placement.rcNormalPosition;
            e->showCmd = placement.showCmd;
        }
        std::string caption;
        if (IsWindow(e->window) && ReadCaption(e->window, &caption)) e->caption = caption;
    }
}

std::vector<HangerView> Hanger::Views() const {
    const std::lock_guard<std::mutex> hold(m_lock);
    std::vector<HangerView> views;
    for (const auto& e : m_entries) views.push_back(e->View());
    return views;
}

bool Hanger::Facts(uint32_t id, HangerFacts* facts) const {
    const std::lock_guard<std::mutex> hold(m_lock);
    for (const auto& e : m_entries) {
        if (e->id != id) continue;
        const size_t number = static_cast<size_t>(e->desktopNumber);
        *facts = HangerFacts{e->module,
                             e->caption,
                             number < m_shared.desktops.size() ? m_shared.desktops[number].title : std::string(),
                             Box{e->rect.left, e->rect.top, e->rect.right, e->rect.bottom},
                             e->modulePath,
                             e->className,
                             e->processId,
                             static_cast<uint64_t>(reinterpret_cast<uintptr_t>(e->window))};
        return true;
    }
    return false;
}

int32_t Hanger::SortKey() const {
    const std::lock_guard<std::mutex> hold(m_lock);
    return m_sortKey;
}

bool Hanger::SortAscending() const {
    const std::lock_guard<std::mutex> hold(m_lock);
    return m_sortAscending;
}

}  // namespace qv

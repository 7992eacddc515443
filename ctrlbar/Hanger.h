#pragma once
// The hanger: the windows the user hung on the bar, the same on every
// desktop's bar. The list belongs to the main thread, which hangs windows
// on, removes and orders them; the bars read copies of it to show their
// buttons. Each entry watches its window's process and leaves the list when
// the process ends.

#include <windows.h>

#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "GdiObject.h"
#include "Handle.h"
#include "HangerRules.h"

namespace qv {

struct BarShared;

// A hung-on window as a bar shows it.
struct HangerView {
    uint32_t id = 0;  // the entry's hang-on number, never given twice in a run
    HWND window = nullptr;
    int desktopNumber = 0;
    std::string module;
    std::string caption;
    std::shared_ptr<UniqueGdi<HBITMAP>> icon;  // kept while any bar shows it
};

// Messages to the main window from the bars and the watches (beyond the
// hang-on and removal requests of Protocol.h).
inline constexpr UINT kHangerMoveMessage = WM_APP + 5;     // wParam id, lParam its new place
inline constexpr UINT kHangerSortMessage = WM_APP + 6;     // wParam key, lParam 1 ascending, 0 descending
inline constexpr UINT kHangerRefreshMessage = WM_APP + 7;  // read every entry's window information anew

class Hanger {
public:
    // desktops: the names of the bars' desktops by desktop number (empty: no
    // bar there), searched in that order; changed: told (on the main thread)
    // after every change of the list.
    Hanger(const BarShared& shared, HWND mainWindow, std::vector<std::string> desktops, std::function<void()> changed);
    ~Hanger();
    Hanger(const Hanger&) = delete;
    Hanger& operator=(const Hanger&) = delete;

    // The main thread's operations. HangOn refuses (false) what cannot be
    // hung on: no such top-level window on any bar's desktop, a hidden,
    // disabled or owned one, one of this process, or one whose process
    // cannot be opened. A window hung on already stays as it is (true).
    bool HangOn(HWND window);
    bool HangOnModule(const std::string& module);  // the first window of that program
    void Remove(uint32_t id);
    void Move(uint32_t id, size_t place);
    void Sort(int32_t key, bool ascending);
    void Refresh();

    // Any thread.
    std::vector<HangerView> Views() const;
    bool Facts(uint32_t id, HangerFacts* facts) const;
    int32_t SortKey() const;
    bool SortAscending() const;

private:
    struct Entry;
    bool Search(Entry& entry, HWND window, const std::string& module) const;
    void StartWatch(Entry& entry);
    bool Known(HWND window) const;
    // Appends a window found by Search, with its icon and its watch.
    bool Add(std::unique_ptr<Entry> entry);

    const BarShared& m_shared;
    HWND m_mainWindow;
    std::vector<std::string> m_desktops;
    std::function<void()> m_changed;
    mutable std::mutex m_lock;  // the list, as the bars copy it from their threads
    std::vector<std::unique_ptr<Entry>> m_entries;
    uint32_t m_nextNumber = 1;
    int32_t m_sortKey;
    bool m_sortAscending;
};

}  // namespace qv

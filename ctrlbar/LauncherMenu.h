#pragma once
// The launcher menu of one bar: built on the spot from the desktop's menu
// panels when the system button is clicked, tracked by the bar, and freed
// once the chosen item has been started.

#include <windows.h>

#include "BarShared.h"

namespace qv {

// The two exit items end every launcher menu.
inline constexpr UINT kLauncherEndBar = 0xFFFE;
inline constexpr UINT kLauncherEndBoth = 0xFFFF;

class LauncherMenu {
public:
    // The bar of desktop number `number`; unitWidth spaces the owner-drawn
    // items.
    LauncherMenu(const BarShared& shared, int number, HWND bar, int unitWidth);
    ~LauncherMenu();
    LauncherMenu(const LauncherMenu&) = delete;
    LauncherMenu& operator=(const LauncherMenu&) = delete;

    // The popup: the panels that gave at least one item, then the two exit
    // items. Null when no menu could be made.
    HMENU Build();
    // WM_MEASUREITEM and WM_DRAWITEM of this menu's owner-drawn items, as the
    // bar receives them; false for an item that is not this menu's.
    bool MeasureItem(MEASUREITEMSTRUCT& item) const;
    bool DrawItem(const DRAWITEMSTRUCT& item) const;
    // Starts the item of the chosen command on the bar's desktop; the exit
    // items post the bar's end request (lParam 1 or 2). 0 does nothing.
    void Run(UINT command);

private:
    const BarShared& m_shared;
    const int m_number;
    HWND m_bar;
    int m_unitWidth;
    HMENU m_menu = nullptr;
};

}  // namespace qv

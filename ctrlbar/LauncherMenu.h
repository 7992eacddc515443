#pragma once
// The launcher menu of one bar: built on the spot from the desktop's menu
// panels when the system button is clicked, tracked by the bar, and freed
// once the chosen item has been started.

#include <windows.h>

#include <map>
#include <memory>
#include <string>
#include <unordered_set>
#include <vector>

#include "BarShared.h"
#include "GdiObject.h"
#include "MenuScan.h"

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
    // items. Null when no menu could be made. Runs on the bar's thread; a
    // waiting window shows on the bar's desktop when it takes a while.
    HMENU Build();
    // WM_MEASUREITEM and WM_DRAWITEM of this menu's owner-drawn items, as the
    // bar receives them; false for an item that is not this menu's. An
    // item's icon is taken from its program when its popup is first shown,
    // so that a large tree opens as fast as its folders can be listed.
    bool MeasureItem(MEASUREITEMSTRUCT& item);
    bool DrawItem(const DRAWITEMSTRUCT& item);
    // Starts the item of the chosen command on the bar's desktop; the exit
    // items post the bar's end request (lParam 1 or 2). 0 does nothing.
    // The menu and its items are freed afterwards.
    void Run(UINT command);

private:
    // One owner-drawn line: its caption and where its image comes from.
    struct Line {
        std::string caption;
        bool folder = false;
        std::string iconPath;  // empty: the default image
        int iconIndex = 0;
        bool imageKnown = false;
        HBITMAP image = nullptr;  // owned by the menu's image cache
    };

    void Free();
    bool AddFolder(HMENU parent, const MenuFolder& folder);
    bool AddItem(HMENU popup, const MenuItem& item);
    Line* NewLine(Line line);
    Line* LineOf(ULONG_PTR data) const;
    // The line's image: the folder image, or the small icon of its source
    // drawn on the menu colour (one per source), or the default image.
    HBITMAP ImageOf(Line& line);
    UniqueBitmap Paint(HICON icon) const;

    const BarShared& m_shared;
    const int m_number;
    HWND m_bar;
    int m_unitWidth;
    SIZE m_imageSize = {16, 16};

    UniqueMenu m_menu;
    std::vector<MenuFolder> m_panels;
    std::vector<std::unique_ptr<Line>> m_lines;
    std::unordered_set<const Line*> m_known;
    std::map<std::string, UniqueBitmap> m_images;  // by lower-cased source and index
    UniqueBitmap m_folderImage;
    UniqueBitmap m_defaultImage;
    UniqueGdi<HFONT> m_font;
};

}  // namespace qv

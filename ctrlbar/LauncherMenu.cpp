#include "LauncherMenu.h"

#include <shellapi.h>

#include <algorithm>

#include "ComRef.h"
#include "MenuProgress.h"
#include "Protocol.h"
#include "Sjis.h"

namespace qv {

LauncherMenu::LauncherMenu(const BarShared& shared, int number, HWND bar, int unitWidth)
    : m_shared(shared), m_number(number), m_bar(bar), m_unitWidth(unitWidth) {
    m_imageSize = SIZE{GetSystemMetrics(SM_CXSMICON), GetSystemMetrics(SM_CYSMICON)};
    NONCLIENTMETRICSA metrics = {};
    metrics.cbSize = sizeof(metrics);
    if (SystemParametersInfoA(SPI_GETNONCLIENTMETRICS, sizeof(metrics), &metrics, 0))
        m_font.Reset(CreateFontIndirectA(&metrics.lfMenuFont));
}

LauncherMenu::~LauncherMenu() { Free(); }

void LauncherMenu::Free() {
    // The menu goes before the images its lines show.
    m_menu.Reset();
    m_panels.clear();
    m_known.clear();
    m_lines.clear();
    m_images.clear();
    m_folderImage.Reset();
    m_defaultImage.Reset();
}

HMENU LauncherMenu::Build() {
    Free();
    m_menu.Reset(CreatePopupMenu());
    if (!m_menu) return nullptr;
    m_folderImage = Paint(m_shared.images.menuFolder);
    m_defaultImage = Paint(m_shared.images.menuItem);
    const BarDesktop& own = m_shared.desktops[static_cast<size_t>(m_number)];
    {
        MenuProgress progress(m_shared.instance, m_bar);
        // The apartment outlives the link object made in it.
        ComApartment apartment;
        ShellLinkReader links;
        ScanOptions options;
        options.driveCondition = m_shared.controller.menuFileCond;
        options.shortcuts = links.Usable() ? &links : nullptr;
        CommandIds ids;
        MenuScanner scanner(options, ids, progress);
        for (const MenuPanel& panel :
             ReadDesktopPanels(m_shared.parameterPath.c_str(), m_number, own.id.c_str(), SystemFolders())) {
            if (progress.Cancelled() || ids.Exhausted()) break;
            MenuFolder popup = panel.kind == PanelKind::kProgramList
                                   ? ReadProgramList(panel.folder, panel.caption, m_shared.programFolder, ids)
                                   : scanner.ScanFolder(panel.folder, panel.caption);
            if (!popup.Empty()) m_panels.push_back(std::move(popup));
        }
        progress.Close();
    }
    for (const MenuFolder& panel : m_panels) AddFolder(m_menu.Get(), panel);
    AppendMenuA(m_menu.Get(), MF_STRING, kLauncherEndBar, "制御ﾊﾞｰ だけの終了(&E)...");
    AppendMenuA(m_menu.Get(), MF_STRING, kLauncherEndBoth, "Quorvel・制御ﾊﾞｰの終了(&X)...");
    return m_menu.Get();
}

bool LauncherMenu::AddFolder(HMENU parent, const MenuFolder& folder) {
    UniqueMenu popup(CreatePopupMenu());
    if (!popup) return false;
    for (const std::unique_ptr<MenuItem>& item : folder.items) {
        // A menu that takes no more items takes no more of this folder.
        if (!AddItem(popup.Get(), *item)) break;
    }
    for (const MenuFolder& sub : folder.folders) AddFolder(popup.Get(), sub);
    if (GetMenuItemCount(popup.Get()) <= 0) return false;
    Line line;
    line.caption = folder.caption;
    line.folder = true;
    if (!AppendMenuA(parent, MF_POPUP | MF_OWNERDRAW, reinterpret_cast<UINT_PTR>(popup.Get()),
                     reinterpret_cast<LPCSTR>(NewLine(std::move(line)))))
        return false;
    popup.Release();  // the parent's now
    return true;
}

bool LauncherMenu::AddItem(HMENU popup, const MenuItem& item) {
    Line line;
    line.caption = item.caption;
    line.iconPath = item.iconPath;
    line.iconIndex = item.iconIndex;
    return AppendMenuA(popup, MF_OWNERDRAW, item.command, reinterpret_cast<LPCSTR>(NewLine(std::move(line)))) !=
           FALSE;
}

LauncherMenu::Line* LauncherMenu::NewLine(Line line) {
    m_lines.push_back(std::make_unique<Line>(std::move(line)));
    m_known.insert(m_lines.back().get());
    return m_lines.back().get();
}

LauncherMenu::Line* LauncherMenu::LineOf(ULONG_PTR data) const {
    Line* line = reinterpret_cast<Line*>(data);
    return m_known.count(line) ? line : nullptr;
}

HBITMAP LauncherMenu::ImageOf(Line& line) {
    if (line.imageKnown) return line.image;
    line.imageKnown = true;
    if (line.folder) return line.image = m_folderImage.Get();
    if (line.iconPath.empty()) return line.image = m_defaultImage.Get();
    std::string key = line.iconPath + "," + std::to_string(line.iconIndex);
    LowerSjis(key.data());
    auto known = m_images.find(key);
    if (known == m_images.end()) {
        HICON small = nullptr;
        UniqueBitmap image;
        if (ExtractIconExA(line.iconPath.c_str(), line.iconIndex, nullptr, &small, 1) != 0 && small) {
            UniqueIcon icon(small);
            image = Paint(icon.Get());
        }
        known = m_images.emplace(std::move(key), std::move(image)).first;
    }
    return line.image = known->second ? known->second.Get() : m_defaultImage.Get();
}

UniqueBitmap LauncherMenu::Paint(HICON icon) const {
    if (!icon) return UniqueBitmap();
    WindowDC screen(m_bar);
    UniqueBitmap bitmap(CreateCompatibleBitmap(screen.Get(), m_imageSize.cx, m_imageSize.cy));
    MemoryDC memory(screen.Get());
    if (!bitmap || !memory.Get()) return UniqueBitmap();
    Selection selected(memory.Get(), bitmap.Get());
    RECT rect = {0, 0, m_imageSize.cx, m_imageSize.cy};
    FillRect(memory.Get(), &rect, GetSysColorBrush(COLOR_MENU));
    DrawIconEx(memory.Get(), 0, 0, icon, m_imageSize.cx, m_imageSize.cy, 0, nullptr, DI_NORMAL);
    return bitmap;
}

bool LauncherMenu::MeasureItem(MEASUREITEMSTRUCT& item) {
    Line* line = LineOf(item.itemData);
    if (!line) return false;
    const bool image = ImageOf(*line) != nullptr;
    WindowDC dc(m_bar);
    Selection font(dc.Get(), m_font.Get());
    SIZE text = {0, 0};
    GetTextExtentPoint32A(dc.Get(), line->caption.c_str(), static_cast<int>(line->caption.size()), &text);
    // The line is as high as the image too, so that the image is never cut.
    item.itemWidth = static_cast<UINT>(text.cx + (image ? m_imageSize.cx + m_unitWidth + 2 : 0));
    item.itemHeight = static_cast<UINT>(std::max(text.cy, image ? m_imageSize.cy : 0) + 2);
    return true;
}

bool LauncherMenu::DrawItem(const DRAWITEMSTRUCT& item) {
    Line* line = LineOf(item.itemData);
    if (!line) return false;
    const bool selected = (item.itemState & ODS_SELECTED) != 0;
    HDC dc = item.hDC;
    RECT rect = item.rcItem;
    FillRect(dc, &rect, GetSysColorBrush(selected ? COLOR_HIGHLIGHT : COLOR_MENU));
    RECT text = rect;
    if (HBITMAP image = ImageOf(*line)) {
        MemoryDC memory(dc);
        Selection chosen(memory.Get(), image);
        BitBlt(dc, rect.left + 1, rect.top + 1, m_imageSize.cx, m_imageSize.cy, memory.Get(), 0, 0,
               selected ? NOTSRCCOPY : SRCCOPY);
        text.left += 1 + m_imageSize.cx + m_unitWidth / 2;
    }
    Selection font(dc, m_font.Get());
    const COLORREF oldText = SetTextColor(dc, GetSysColor(selected ? COLOR_HIGHLIGHTTEXT : COLOR_MENUTEXT));
    const COLORREF oldBack = SetBkColor(dc, GetSysColor(selected ? COLOR_HIGHLIGHT : COLOR_MENU));
    DrawTextA(dc, line->caption.c_str(), static_cast<int>(line->caption.size()), &text,
              DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX | DT_LEFT);
    SetBkColor(dc, oldBack);
    SetTextColor(dc, oldText);
    return true;
}

void LauncherMenu::Run(UINT command) {
    if (command == kLauncherEndBar || command == kLauncherEndBoth) {
        PostMessageA(m_bar, kRequestMessage, kBarEndRequest, command == kLauncherEndBar ? 1 : 2);
    } else if (command != 0) {
        const BarDesktop& own = m_shared.desktops[static_cast<size_t>(m_number)];
        for (const MenuFolder& panel : m_panels) {
            if (MenuItem* item = panel.Find(command)) {
                item->Launch(own.id.c_str());
                break;
            }
        }
    }
    Free();
}

}  // namespace qv

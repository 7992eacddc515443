#include "MainFrame.h"

#include <commctrl.h>

#include "QVViewerRes.h"
#include "Viewer.h"
#include "ViewerDialogs.h"

namespace qv::viewer {

static_assert(kStyleBorder == WS_BORDER && kStyleDlgFrame == WS_DLGFRAME && kStyleCaption == WS_CAPTION &&
                  kStyleThickFrame == WS_THICKFRAME && kExStyleClientEdge == WS_EX_CLIENTEDGE &&
                  kExStyleToolWindow == WS_EX_TOOLWINDOW,
              "the rules' style bits are the system's");

namespace {

inline constexpr DWORD kFrameStyle = WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN;
// The place of the desktop windows' window menu in their menu bar.
inline constexpr int kWindowMenuPosition = 2;

FrameMetrics SystemFrameMetrics() {
    FrameMetrics m;
    m.cxEdge = GetSystemMetrics(SM_CXEDGE);
    m.cyEdge = GetSystemMetrics(SM_CYEDGE);
    m.cxBorder = GetSystemMetrics(SM_CXBORDER);
    m.cyBorder = GetSystemMetrics(SM_CYBORDER);
    m.cxFrame = GetSystemMetrics(SM_CXFRAME);
    m.cyFrame = GetSystemMetrics(SM_CYFRAME);
    m.cxDlgFrame = GetSystemMetrics(SM_CXDLGFRAME);
    m.cyDlgFrame = GetSystemMetrics(SM_CYDLGFRAME);
    m.cyCaption = GetSystemMetrics(SM_CYCAPTION);
    m.cySmCaption = GetSystemMetrics(SM_CYSMCAPTION);
    return m;
}

int WindowHeight(HWND window) {
    if (!window || !IsWindowVisible(window)) return 0;
    RECT rect;
    GetWindowRect(window, &rect);
    return rect.bottom - rect.top;
}

}  // namespace

bool MainFrame::Open() {
    WNDCLASSEXA wc{};
    wc.hInstance = m_context.instance;
    wc.hIcon = LoadIconA(m_context.instance, MAKEINTRESOURCEA(IDR_MAINFRAME));
    wc.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_APPWORKSPACE + 1);
    wc.lpszClassName = kFrameClassName;
    if (!Window::Register(wc) || !DesktopView::RegisterClass(m_context.instance)) return false;
    m_frameMenu.Reset(LoadMenuA(m_context.instance, MAKEINTRESOURCEA(IDR_MAINFRAME)));
    m_childMenu.Reset(LoadMenuA(m_context.instance, MAKEINTRESOURCEA(IDR_QVVIEWTYPE)));
    m_accelerators = LoadAcceleratorsA(m_context.instance, MAKEINTRESOURCEA(IDR_MAINFRAME));
    if (!m_frameMenu || !m_childMenu) return false;
    return Create(0, kFrameClassName, kCaption, kFrameStyle, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT,
                  nullptr, m_frameMenu.Get(), m_context.instance) != nullptr &&
           m_client != nullptr;
}

bool MainFrame::OnCreate() {
    // What a desktop window adds around its client area, reckoned from the
    // frame's own styles.
    m_allowance = FrameAllowance(static_cast<uint32_t>(GetWindowLongPtrA(Handle(), GWL_STYLE)),
                                 static_cast<uint32_t>(GetWindowLongPtrA(Handle(), GWL_EXSTYLE)),
                                 SystemFrameMetrics());
    CLIENTCREATESTRUCT client{};
    client.hWindowMenu = GetSubMenu(m_childMenu.Get(), kWindowMenuPosition);
    client.idFirstChild = IDM_VW_FIRST_CHILD;
    m_client = CreateWindowExA(WS_EX_CLIENTEDGE, "MDICLIENT", nullptr,
                               WS_CHILD | WS_CLIPCHILDREN | WS_VSCROLL | WS_HSCROLL | WS_VISIBLE, 0, 0, 0, 0, Handle(),
                               reinterpret_cast<HMENU>(IDC_VW_MDICLIENT), m_context.instance, &client);
    if (!m_client) return false;

    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_BAR_CLASSES | ICC_LISTVIEW_CLASSES};
    InitCommonControlsEx(&controls);
    m_toolBar = CreateWindowExA(0, TOOLBARCLASSNAMEA, nullptr, WS_CHILD | WS_VISIBLE | TBSTYLE_FLAT | TBSTYLE_TOOLTIPS,
                                0, 0, 0, 0, Handle(), reinterpret_cast<HMENU>(IDC_VW_TOOLBAR_WINDOW),
                                m_context.instance, nullptr);
    if (m_toolBar) {
        SendMessageA(m_toolBar, TB_BUTTONSTRUCTSIZE, sizeof(TBBUTTON), 0);
        TBADDBITMAP standard{HINST_COMMCTRL, IDB_STD_SMALL_COLOR};
        SendMessageA(m_toolBar, TB_ADDBITMAP, 0, reinterpret_cast<LPARAM>(&standard));
        const TBBUTTON buttons[] = {
            {STD_FILEOPEN, ID_VW_OPEN, TBSTATE_ENABLED, BTNS_BUTTON, {}, 0, 0},
            {0, 0, TBSTATE_ENABLED, BTNS_SEP, {}, 0, 0},
            {STD_PROPERTIES, ID_VW_TASKSWITCH, TBSTATE_ENABLED, BTNS_BUTTON, {}, 0, 0},
            {STD_REDOW, ID_VW_REFRESH, TBSTATE_ENABLED, BTNS_BUTTON, {}, 0, 0},
            {0, 0, TBSTATE_ENABLED, BTNS_SEP, {}, 0, 0},
            {STD_HELP, ID_VW_HELP, TBSTATE_ENABLED, BTNS_BUTTON, {}, 0, 0},
        };
        SendMessageA(m_toolBar, TB_ADDBUTTONSA, sizeof buttons / sizeof buttons[0],
                     reinterpret_cast<LPARAM>(buttons));
        SendMessageA(m_toolBar, TB_AUTOSIZE, 0, 0);
    }
    m_statusBar = CreateWindowExA(0, STATUSCLASSNAMEA, kCaption, WS_CHILD | WS_VISIBLE | SBARS_SIZEGRIP, 0, 0, 0, 0,
                                  Handle(), reinterpret_cast<HMENU>(IDC_VW_STATUS_WINDOW), m_context.instance, nullptr);
    return true;
}

void MainFrame::OnSize() {
    if (m_toolBar) SendMessageA(m_toolBar, TB_AUTOSIZE, 0, 0);
    if (m_statusBar) SendMessageA(m_statusBar, WM_SIZE, 0, 0);
    RECT client;
    GetClientRect(Handle(), &client);
    const int top = WindowHeight(m_toolBar);
    const int height = client.bottom - top - WindowHeight(m_statusBar);
    if (m_client) MoveWindow(m_client, 0, top, client.right, height > 0 ? height : 0, TRUE);
    // The tiled size follows the room the desktop windows have.
    RECT area{};
    if (m_client) GetClientRect(m_client, &area);
    const int screenWidth = GetSystemMetrics(SM_CXSCREEN);
    const int screenHeight = GetSystemMetrics(SM_CYSCREEN);
    const Size tile = TileSize(Size{area.right, area.bottom},
                               screenHeight > 0 ? static_cast<double>(screenWidth) / screenHeight : 0, m_allowance,
                               static_cast<int>(m_context.list->Desktops().size()));
    if (tile.width > 0 && tile.height > 0) m_tile = tile;
}

DesktopView* MainFrame::Place(DesktopEntry& desktop, int x, int y) {
    auto view = std::make_unique<DesktopView>(m_context, desktop);
    view->onClosed = [this](DesktopView& closed) { Closed(closed); };
    m_views.push_back(std::move(view));
    DesktopView* placed = m_views.back().get();
    const Size size = m_tile.width > 0 ? m_tile : Size{CW_USEDEFAULT, CW_USEDEFAULT};
    if (!placed->Open(m_client, x, y, size.width, size.height)) {
        m_views.pop_back();
        return nullptr;
    }
    return placed;
}

void MainFrame::Closed(DesktopView& view) {
    for (auto it = m_views.begin(); it != m_views.end(); ++it) {
        if (it->get() != &view) continue;
        m_views.erase(it);  // its window is gone
        break;
    }
    // While the frame goes, its menus are no longer set.
    if (m_views.empty() && !m_closing) ShowFrameMenu();
}

void MainFrame::OpenAll() {
    std::vector<DesktopEntry*> missing;
    for (auto& desktop : m_context.list->Desktops()) {
        bool open = false;
        for (const auto& view : m_views) open = open || &view->Desktop() == desktop.get();
        if (!open) missing.push_back(desktop.get());
    }
    for (DesktopEntry* desktop : missing) Place(*desktop, 0, 0);
    Tile();
}

void MainFrame::OpenOne(DesktopEntry& desktop) {
    DesktopView* view = Place(desktop, m_tile.width / 2, m_tile.height / 2);
    if (view) SendMessageA(m_client, WM_MDIACTIVATE, reinterpret_cast<WPARAM>(view->Handle()), 0);
}

void MainFrame::Activate(const DesktopEntry& desktop) {
    for (const auto& view : m_views)
        if (&view->Desktop() == &desktop)
            SendMessageA(m_client, WM_MDIACTIVATE, reinterpret_cast<WPARAM>(view->Handle()), 0);
}

DesktopView* MainFrame::ActiveView() const {
    HWND active = reinterpret_cast<HWND>(SendMessageA(m_client, WM_MDIGETACTIVE, 0, 0));
    for (const auto& view : m_views)
        if (view->Handle() == active) return view.get();
    return nullptr;
}

void MainFrame::Tile() {
    // Desktop order, whatever order the windows are in now.
    std::vector<DesktopView*> ordered;
    for (auto& desktop : m_context.list->Desktops())
        for (const auto& view : m_views)
            if (&view->Desktop() == desktop.get()) ordered.push_back(view.get());
    // The scroll bars of windows placed past the edge go first, as the
    // system's own tiling does: the places are for the whole client area.
    ShowScrollBar(m_client, SB_BOTH, FALSE);
    RECT area;
    GetClientRect(m_client, &area);
    const std::vector<Point> places = TilePlaces(area.right, m_tile, static_cast<int>(ordered.size()));
    for (size_t i = 0; i < ordered.size(); ++i) {
        HWND window = ordered[i]->Handle();
        if (IsIconic(window) || IsZoomed(window)) ShowWindow(window, SW_RESTORE);
        SetWindowPos(window, nullptr, places[i].x, places[i].y, m_tile.width, m_tile.height,
                     SWP_NOZORDER | SWP_NOACTIVATE);
    }
}

void MainFrame::ShowChildMenu() {
    SendMessageA(m_client, WM_MDISETMENU, reinterpret_cast<WPARAM>(m_childMenu.Get()),
                 reinterpret_cast<LPARAM>(GetSubMenu(m_childMenu.Get(), kWindowMenuPosition)));
    DrawMenuBar(Handle());
}

void MainFrame::ShowFrameMenu() {
    SendMessageA(m_client, WM_MDISETMENU, reinterpret_cast<WPARAM>(m_frameMenu.Get()), 0);
    DrawMenuBar(Handle());
}

void MainFrame::Toggle(HWND bar) {
    if (!bar) return;
    ShowWindow(bar, IsWindowVisible(bar) ? SW_HIDE : SW_SHOW);
    OnSize();
}

void MainFrame::ChooseDesktop() {
    std::vector<DesktopEntry*> closed;
    for (auto& desktop : m_context.list->Desktops()) {
        bool open = false;
        for (const auto& view : m_views) open = open || &view->Desktop() == desktop.get();
        if (!open) closed.push_back(desktop.get());
    }
    if (closed.empty()) return;  // every desktop has its window
    OpenDialog dialog(closed);
    if (dialog.DoModal(m_context.instance, IDD_VW_OPEN, Handle()) == IDOK && dialog.Chosen())
        OpenOne(*dialog.Chosen());
}

void MainFrame::OnCommand(WORD id) {
    switch (id) {
    case ID_VW_OPEN_ALL:
        OpenAll();
        return;
    case ID_VW_OPEN:
        ChooseDesktop();
        return;
    case ID_VW_EXIT:
        PostMessageA(Handle(), WM_CLOSE, 0, 0);
        return;
    case ID_VW_TOOLBAR:
        Toggle(m_toolBar);
        return;
    case ID_VW_STATUSBAR:
        Toggle(m_statusBar);
        return;
    case ID_VW_CASCADE:
        SendMessageA(m_client, WM_MDICASCADE, 0, 0);
        return;
    case ID_VW_TILE:
        Tile();
        return;
    case ID_VW_HELP:
        ShowHelp(Handle());
        return;
    case ID_VW_ABOUT:
        Dialog().DoModal(m_context.instance, IDD_VW_ABOUT, Handle());
        return;
    default:
        if (DesktopView* view = ActiveView()) view->OnCommand(id);
        return;
    }
}

void MainFrame::OnInitMenu(HMENU menu) {
    const DesktopView* view = ActiveView();
    auto check = [menu](UINT id, bool on) { CheckMenuItem(menu, id, MF_BYCOMMAND | (on ? MF_CHECKED : MF_UNCHECKED)); };
    auto enable = [menu](UINT id, bool on) { EnableMenuItem(menu, id, MF_BYCOMMAND | (on ? MF_ENABLED : MF_GRAYED)); };
    check(ID_VW_TOOLBAR, m_toolBar && IsWindowVisible(m_toolBar));
    check(ID_VW_STATUSBAR, m_statusBar && IsWindowVisible(m_statusBar));
    enable(ID_VW_OPEN, m_views.size() < m_context.list->Desktops().size());
    enable(ID_VW_SHOW_BITMAP, view && view->HasBitmap());
    check(ID_VW_SHOW_BITMAP, view && view->HasBitmap() && view->ShowsBitmap());
    check(ID_VW_KEEP_ASPECT, view && view->KeepsAspect());
}

bool MainFrame::TranslateKeys(MSG& message) const {
    return (m_client && TranslateMDISysAccel(m_client, &message)) ||
           (m_accelerators && TranslateAcceleratorA(Handle(), m_accelerators, &message));
}

LRESULT MainFrame::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_CREATE:
        return OnCreate() ? 0 : -1;
    case WM_SIZE:
        OnSize();
        return 0;
    case WM_COMMAND:
        // The window menu's entries are the client's to handle.
        if (LOWORD(wParam) >= IDM_VW_FIRST_CHILD) break;
        OnCommand(LOWORD(wParam));
        return 0;
    case WM_INITMENUPOPUP:
        OnInitMenu(reinterpret_cast<HMENU>(wParam));
        break;
    case WM_DESTROY:
        // Both menus are ours: the one shown would go with the window.
        m_closing = true;
        SetMenu(Handle(), nullptr);
        PostQuitMessage(0);
        return 0;
    default:
        break;
    }
    return DefFrameProcA(Handle(), m_client, message, wParam, lParam);
}

}  // namespace qv::viewer

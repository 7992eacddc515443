#include "BarWindow.h"

#include "BarButtons.h"
#include "BarIds.h"
#include "DaemonRequest.h"
#include "ProcessApi.h"
#include "Protocol.h"
#include "QVCtrlBarRes.h"
#include "RollRules.h"

namespace qv {

namespace {

// A bar takes its first state, rolled up or shown, once it has been drawn.
constexpr UINT kInitialStateMessage = WM_APP + 10;
// From the low-level mouse hook: the pointer moved after resting on the bar.
constexpr UINT kPointerMovedMessage = WM_APP + 11;

// One bar per thread: the thread's mouse hooks reach its bar through this
// (a low-level hook is called on the thread that set it).
thread_local BarWindow* t_hookedBar = nullptr;

SIZE ScreenSize() { return SIZE{GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)}; }

// A button showing an image is the image and a frame on each side wide; one
// unit when there is no image.
int ImageButtonWidth(HBITMAP image, int frameX, int unitWidth) {
    BITMAP info = {};
    if (!image || !GetObjectA(image, sizeof(info), &info)) return unitWidth;
    return info.bmWidth + 2 * frameX;
}

void PlaceSpan(HWND window, const Span& span, int height) {
    if (window) SetWindowPos(window, nullptr, span.x, 0, span.width, height, SWP_NOZORDER | SWP_NOACTIVATE);
}

}  // namespace

LRESULT BarArea::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    // The buttons of an area act for the bar, not for the area.
    if (message == WM_COMMAND || message == WM_DRAWITEM || message == kHangerDropMessage)
        return SendMessageA(GetParent(Handle()), message, wParam, lParam);
    return Window::HandleMessage(message, wParam, lParam);
}

BarWindow::BarWindow(BarShared& shared, int number) : m_shared(shared), m_number(number) {}

BarWindow::~BarWindow() {
    // Before the font and the child objects go: the buttons still use them.
    if (Handle()) DestroyWindow(Handle());
    m_hook.Reset();
    m_pointerHook.Reset();
    if (t_hookedBar == this) t_hookedBar = nullptr;
}

bool BarWindow::RegisterClass(HINSTANCE instance) {
    WNDCLASSEXA wc = {};
    wc.cbSize = sizeof(wc);
    wc.style = CS_HREDRAW | CS_VREDRAW;
    wc.hInstance = instance;
    wc.hIcon = LoadIconA(instance, MAKEINTRESOURCEA(IDI_CTRLBAR));
    wc.hIconSm = LoadIconA(instance, MAKEINTRESOURCEA(IDI_CTRLBAR_SMALL));
    wc.hCursor = LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW));
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    wc.lpszClassName = kBarThreadWindowClass;
    return Window::Register(wc);
}

bool BarWindow::Build() {
    t_hookedBar = this;
    if (BoundProcessApi().ImmDisableIME) BoundProcessApi().ImmDisableIME(GetCurrentThreadId());
    HINSTANCE instance = m_shared.instance;
    if (!Create(WS_EX_CONTROLPARENT | WS_EX_TOOLWINDOW | WS_EX_DLGMODALFRAME, kBarThreadWindowClass, kBarWindowName,
                WS_POPUP | WS_BORDER | WS_SYSMENU | WS_CLIPCHILDREN, 0, 0, 64, 64, nullptr, nullptr, instance))
        return false;
    const DWORD areaStyle = WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN | WS_CLIPSIBLINGS;
    m_hangerArea.Create(0, kBarThreadWindowClass, "Hanger", areaStyle, 0, 0, 0, 0, Handle(), nullptr, instance);
    m_switchArea.Create(0, kBarThreadWindowClass, "Switch", areaStyle, 0, 0, 0, 0, Handle(), nullptr, instance);
    const EdgeWindows edges = EdgeWindowsFor(m_shared.controller.mouseOver);
    const bool wanted[3] = {edges.left, edges.right, edges.bottom};
    for (int i = 0; i < 3; ++i) {
        if (wanted[i])
            m_edges[i].Create(WS_EX_TOOLWINDOW | WS_EX_TOPMOST, kBarThreadWindowClass, "", WS_POPUP, 0, 0, 1, 1,
                              Handle(), nullptr, instance);
    }

    NONCLIENTMETRICSA metrics = {};
    metrics.cbSize = sizeof(metrics);
    if (SystemParametersInfoA(SPI_GETNONCLIENTMETRICS, sizeof(metrics), &metrics, 0))
        m_font.Reset(CreateFontIndirectA(&metrics.lfMessageFont));
    MakeButtons();
    MeasureUnits();
    LayOut();

    m_daemon = FindDaemonWindow(DaemonWindow::kThread);
    // Only "close" is left in the system menu: the bar is neither moved nor sized.
    if (HMENU menu = GetSystemMenu(Handle(), FALSE)) {
        for (int i = GetMenuItemCount(menu) - 1; i >= 0; --i) {
            if (GetMenuItemID(menu, i) != SC_CLOSE) DeleteMenu(menu, i, MF_BYPOSITION);
        }
    }
    return true;
}

HWND BarWindow::MakeButton(const char* className, const char* caption, DWORD style, int id, HWND parent,
                           HBITMAP image) {
    HWND button = CreateWindowExA(0, className, caption, WS_CHILD | WS_VISIBLE | style | (image ? BS_BITMAP : 0), 0, 0,
                                  0, 0, parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), m_shared.instance,
                                  nullptr);
    if (!button) return nullptr;
    if (m_font) SendMessageA(button, WM_SETFONT, reinterpret_cast<WPARAM>(m_font.Get()), FALSE);
    if (image) SendMessageA(button, BM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(image));
    return button;
}

void BarWindow::MakeButtons() {
    const BarImages& images = m_shared.images;
    const DWORD push = BS_PUSHBUTTON | BS_CENTER | BS_VCENTER;
    m_system = MakeButton(kSysButtonClass, "QV", push, kSystemButtonId, Handle(), images.system);
    m_pin = MakeButton(kSysButtonClass, "PIN", BS_CHECKBOX | BS_PUSHLIKE, kPinButtonId, Handle(),
                       m_shared.fixPin ? images.pinPinned : images.pinLoose);
    m_title = MakeButton(kStaticButtonClass, Own().title.c_str(),
                         SS_NOTIFY | SS_CENTER | SS_CENTERIMAGE | SS_NOPREFIX | SS_ENDELLIPSIS, kTitleButtonId,
                         Handle(), nullptr);
    m_hangerMenu = MakeButton(kSysButtonClass, "HangerM", push, kHangerMenuButtonId, Handle(), images.hangerMenu);
    m_firstKnob = MakeButton(kKnobButtonClass, "Knob", push, kFirstKnobId, Handle(), images.knob);
    m_secondKnob = MakeButton(kKnobButtonClass, "Knob", push, kSecondKnobId, Handle(), images.knob);
    m_switchMenu = MakeButton(kSysButtonClass, "SwitchM", push, kSwitchMenuButtonId, Handle(), images.switchMenu);
    // The paging buttons name their target in their captions: "-1", "+1", "B".
    m_pages[0] = MakeButton(kSysButtonClass, "-1", push, kPreviousPageId, Handle(), images.pagePrevious);
    m_pages[1] = MakeButton(kSysButtonClass, "+1", push, kNextPageId, Handle(), images.pageNext);
    m_pages[2] = MakeButton(kSysButtonClass, "B", push, kBackPageId, Handle(), images.pageBack);
    for (const BarDesktop& desktop : m_shared.desktops) {
        char caption[16];
        wsprintfA(caption, "%d", desktop.number + 1);
        const bool own = desktop.number == m_number;
        HWND button = MakeButton(kSysButtonClass, caption, own ? (BS_RADIOBUTTON | BS_PUSHLIKE) : BS_OWNERDRAW,
                                 kDesktopButtonId + desktop.number, m_switchArea.Handle(), nullptr);
        if (own && button) {
            SendMessageA(button, BM_SETCHECK, BST_CHECKED, 0);
            EnableWindow(button, FALSE);
        }
        m_desktopButtons.push_back(button);
    }
    OnPinChanged();
    ShowTopmostEdge();
}

void BarWindow::MeasureUnits() {
    RECT window = {}, client = {};
    GetWindowRect(Handle(), &window);
    GetClientRect(Handle(), &client);
    const int frameX = ((window.right - window.left) - client.right) / 2;
    m_frameY = ((window.bottom - window.top) - client.bottom) / 2;
    SIZE square = {0, 0};
    if (HDC dc = GetDC(Handle())) {
        const Selection font(dc, m_font.Get());
        GetTextExtentPoint32A(dc, "■", 2, &square);
        ReleaseDC(Handle(), dc);
    }
    m_metrics.frameX = frameX;
    m_metrics.unitWidth = square.cx + 2 * frameX;
    m_unitHeight = square.cy + 2 * m_frameY;
}

void BarWindow::LayOut() {
    const BarImages& images = m_shared.images;
    m_screen = ScreenSize();
    BarMetrics& m = m_metrics;
    const int uw = m.unitWidth;
    // The client area is the bar less its two frames; the paging buttons end
    // one frame before the bar does, at the client's right edge.
    m.barWidth = m_screen.cx - m.frameX;
    m.systemWidth = ImageButtonWidth(images.system, m.frameX, uw);
    m.pinWidth = ImageButtonWidth(images.pinPinned, m.frameX, uw);
    m.hangerMenuWidth = ImageButtonWidth(images.hangerMenu, m.frameX, uw);
    m.knobWidth = ImageButtonWidth(images.knob, m.frameX, uw);
    m.switchMenuWidth = ImageButtonWidth(images.switchMenu, m.frameX, uw);
    m.pageWidth[0] = ImageButtonWidth(images.pagePrevious, m.frameX, uw);
    m.pageWidth[1] = ImageButtonWidth(images.pageNext, m.frameX, uw);
    m.pageWidth[2] = ImageButtonWidth(images.pageBack, m.frameX, uw);
    m.desktopButtonWidth = DesktopButtonWidth(uw);
    m.desktops = static_cast<int>(m_shared.desktops.size());
    m_layout = LayOutBar(m);
    m_hangerOffset = 0;
    m_switchOffset = 0;
    PlaceButtons();
}

void BarWindow::PlaceButtons() {
    const int h = m_unitHeight;
    PlaceSpan(m_system, m_layout.system, h);
    PlaceSpan(m_pin, m_layout.pin, h);
    PlaceSpan(m_title, m_layout.title, h);
    PlaceSpan(m_hangerMenu, m_layout.hangerMenu, h);
    PlaceSpan(m_firstKnob, m_layout.firstKnob, h);
    PlaceSpan(m_hangerArea.Handle(), m_layout.hanger, h);
    PlaceSpan(m_switchMenu, m_layout.switchMenu, h);
    PlaceSpan(m_secondKnob, m_layout.secondKnob, h);
    PlaceSpan(m_switchArea.Handle(), m_layout.switchArea, h);
    for (int i = 0; i < 3; ++i) PlaceSpan(m_pages[i], m_layout.pages[i], h);
    PlaceRow(m_switchArea.Handle(), m_desktopButtons, m_switchOffset, m_metrics.desktopButtonWidth, h);
    PlaceRow(m_hangerArea.Handle(), m_hangerButtons, m_hangerOffset, HangerButtonWidth(), h - m_frameY);
}

void BarWindow::PlaceRow(HWND area, const std::vector<HWND>& row, int offset, int buttonWidth, int buttonHeight) {
    int x = offset;
    for (HWND button : row) {
        PlaceSpan(button, Span{x, buttonWidth}, buttonHeight);
        x += buttonWidth;
    }
    if (area) InvalidateRect(area, nullptr, TRUE);
}

// --- Rolling up and showing ---------------------------------------------

void BarWindow::RollUp() {
    KillTimer(Handle(), kRollTimerId);
    m_pointerHook.Reset();
    m_rolled = true;
    SetWindowPos(Handle(), HWND_TOPMOST, 0, 0, m_screen.cx, 1, SWP_NOACTIVATE | SWP_SHOWWINDOW);
    const RECT strips[3] = {{0, 0, 1, m_screen.cy},
                            {m_screen.cx - 1, 0, m_screen.cx, m_screen.cy},
                            {0, m_screen.cy - 1, m_screen.cx, m_screen.cy}};
    for (int i = 0; i < 3; ++i) {
        if (!m_edges[i].Handle()) continue;
        const RECT& r = strips[i];
        SetWindowPos(m_edges[i].Handle(), HWND_TOPMOST, r.left, r.top, r.right - r.left, r.bottom - r.top,
                     SWP_NOACTIVATE | SWP_SHOWWINDOW);
    }
    if (!m_hook) m_hook.Reset(SetWindowsHookExA(WH_MOUSE, MouseHook, nullptr, GetCurrentThreadId()));
}

void BarWindow::ShowBar() {
    m_rolled = false;
    m_hook.Reset();
    for (EdgeWindow& edge : m_edges) {
        if (edge.Handle()) ShowWindow(edge.Handle(), SW_HIDE);
    }
    // A bar the user took out of the topmost band stays out of it.
    SetWindowPos(Handle(), m_topmost ? HWND_TOPMOST : HWND_TOP, 0, 0, m_screen.cx, m_unitHeight + 2 * m_frameY,
                 SWP_NOACTIVATE | SWP_SHOWWINDOW);
    ArmRollTimer();
}

void BarWindow::ArmRollTimer() {
    m_pointerHook.Reset();
    if (!Handle()) return;
    if (m_rolled || m_shared.fixPin) {
        KillTimer(Handle(), kRollTimerId);
        return;
    }
    SetTimer(Handle(), kRollTimerId, static_cast<UINT>(m_shared.controller.rollTimer), nullptr);
}

void BarWindow::OnRollTimer() {
    KillTimer(Handle(), kRollTimerId);
    // A menu or dialog counts again when it closes.
    if (m_shared.fixPin || m_rolled || m_menuOpen || m_dialogOpen) return;
    if (!CursorOnBar()) {
        RollUp();
        return;
    }
    // Resting on the bar, the pointer may next leave it without a message
    // to any window of this thread; a low-level hook hears its first move
    // wherever that goes, where looking again every count would wake the
    // bar for as long as the pointer rests.
    m_pointerHook.Reset(SetWindowsHookExA(WH_MOUSE_LL, PointerHook, m_shared.instance, 0));
    // Refused, the bar looks again after another count rather than stay up.
    if (!m_pointerHook) ArmRollTimer();
}

void BarWindow::OnPointerMoved() {
    if (m_pointerHook) ArmRollTimer();
}

bool BarWindow::CursorOnBar() const {
    POINT cursor = {};
    RECT bar = {};
    return GetCursorPos(&cursor) && GetWindowRect(Handle(), &bar) && PtInRect(&bar, cursor);
}

LRESULT CALLBACK BarWindow::MouseHook(int code, WPARAM wParam, LPARAM lParam) {
    BarWindow* bar = t_hookedBar;
    if (code == HC_ACTION && bar && bar->m_rolled) {
        const auto* mouse = reinterpret_cast<const MOUSEHOOKSTRUCT*>(lParam);
        if (HotZoneHit(bar->m_shared.controller.mouseOver, mouse->pt.x, mouse->pt.y, bar->m_screen.cx,
                       bar->m_screen.cy) >= 0) {
            // The hook is taken away when the bar shows, which must not
            // happen inside the hook itself.
            PostMessageA(bar->Handle(), kRequestMessage, kBarShowRequest, 0);
            return 1;
        }
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

LRESULT CALLBACK BarWindow::PointerHook(int code, WPARAM wParam, LPARAM lParam) {
    // The hook is taken away by the bar's thread outside the hook; every move
    // until then posts, and the first one handled counts.
    BarWindow* bar = t_hookedBar;
    if (code == HC_ACTION && bar && bar->m_pointerHook) PostMessageA(bar->Handle(), kPointerMovedMessage, 0, 0);
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

void BarWindow::ShowHollowFrame() {
    RECT window = {}, client = {};
    GetWindowRect(Handle(), &window);
    GetClientRect(Handle(), &client);
    MapWindowPoints(Handle(), nullptr, reinterpret_cast<POINT*>(&client), 2);
    OffsetRect(&client, -window.left, -window.top);
    HRGN outer = CreateRectRgn(0, 0, window.right - window.left, window.bottom - window.top);
    const UniqueGdi<HRGN> inner(CreateRectRgn(client.left, client.top, client.right, client.bottom));
    if (!outer) return;
    CombineRgn(outer, outer, inner.Get(), RGN_DIFF);
    // The system owns the region from here on.
    if (!SetWindowRgn(Handle(), outer, TRUE)) {
        DeleteObject(outer);
        return;
    }
    m_hollow = true;
    SetTimer(Handle(), kRegionTimerId, static_cast<UINT>(m_shared.controller.regionTimer), nullptr);
}

void BarWindow::DropHollowFrame() {
    KillTimer(Handle(), kRegionTimerId);
    if (m_hollow) SetWindowRgn(Handle(), nullptr, TRUE);
    m_hollow = false;
}

void BarWindow::OnPinChanged() {
    const bool pinned = m_shared.fixPin;
    SendMessageA(m_pin, BM_SETIMAGE, IMAGE_BITMAP,
                 reinterpret_cast<LPARAM>(pinned ? m_shared.images.pinPinned : m_shared.images.pinLoose));
    SendMessageA(m_pin, BM_SETCHECK, pinned ? BST_UNCHECKED : BST_CHECKED, 0);
    ArmRollTimer();
}

// --- Display changes -----------------------------------------------------

void BarWindow::OnDisplayChange() {
    // The new size settles after the message; look again a second later.
    SetTimer(Handle(), kRelayoutTimerId, 1000, nullptr);
}

void BarWindow::OnRelayoutTimer() {
    KillTimer(Handle(), kRelayoutTimerId);
    const SIZE now = ScreenSize();
    if (now.cx == m_screen.cx && now.cy == m_screen.cy) return;
    LayOut();
    ShowBar();
}

// --- Messages ------------------------------------------------------------

LRESULT BarWindow::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_ERASEBKGND:
        if (!m_initialStateDone) {
            m_initialStateDone = true;
            // Posted: the state changes the window, which must not happen
            // inside its own first paint.
            PostMessageA(Handle(), kInitialStateMessage, 0, 0);
        }
        break;
    case WM_COMMAND:
        OnCommand(LOWORD(wParam), HIWORD(wParam));
        return 0;
    case WM_MEASUREITEM:
        return OnMeasureItem(*reinterpret_cast<MEASUREITEMSTRUCT*>(lParam));
    case WM_DRAWITEM:
        OnDrawItem(*reinterpret_cast<const DRAWITEMSTRUCT*>(lParam));
        return TRUE;
    case kHangerDropMessage:
        OnHangerDrop(static_cast<size_t>(static_cast<int>(wParam) - kHangerButtonId));
        return 0;
    case kKnobDragMessage:
        OnKnobDrag(static_cast<int>(wParam), static_cast<int>(lParam));
        return 0;
    case kInitialStateMessage:
        if (m_shared.fixPin)
            ShowBar();
        else
            RollUp();
        return 0;
    case kPinChangedMessage:
        OnPinChanged();
        return 0;
    case kPointerMovedMessage:
        OnPointerMoved();
        return 0;
    case kRequestMessage:
        OnRequest(wParam, lParam);
        return 1;
    case WM_TIMER:
        if (wParam == kRollTimerId) OnRollTimer();
        if (wParam == kRegionTimerId) DropHollowFrame();
        if (wParam == kRelayoutTimerId) OnRelayoutTimer();
        return 0;
    case WM_DISPLAYCHANGE:
        OnDisplayChange();
        break;
    case WM_CLOSE:
        DestroyWindow(Handle());
        return 0;
    case WM_DESTROY:
        m_hook.Reset();
        m_pointerHook.Reset();
        PostQuitMessage(0);
        return 0;
    }
    return Window::HandleMessage(message, wParam, lParam);
}

}  // namespace qv

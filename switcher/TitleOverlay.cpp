// The desktop's title floating over the screen after a switch, and the
// start-up logo: text drawn without a window background, so that only the
// glyphs cover what lies beneath.

#include "Daemon.h"
#include "Log.h"
#include "SwitcherController.h"
#include "SwitcherDesktop.h"
#include "TitleLayout.h"

namespace qv {

namespace {

constexpr COLORREF kNoTitle = 0xFFFFFFFF;
constexpr UINT kMeasureTitle = DT_CALCRECT | DT_NOPREFIX | DT_INTERNAL | DT_NOCLIP | DT_EXPANDTABS | DT_CENTER;
constexpr UINT kDrawTitle = DT_CENTER | DT_WORDBREAK | DT_EXPANDTABS | DT_NOCLIP | DT_INTERNAL | DT_NOPREFIX;
constexpr UINT kMeasureLogo = DT_CALCRECT | DT_NOPREFIX | DT_INTERNAL | DT_NOCLIP | DT_EXPANDTABS;
constexpr UINT kDrawLogo = DT_CENTER | DT_WORDBREAK | DT_EXPANDTABS | DT_INTERNAL | DT_NOPREFIX;
constexpr UINT kDrawMarks = DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_EXPANDTABS | DT_INTERNAL | DT_NOPREFIX;
constexpr UINT kShowFloating = SWP_NOACTIVATE | SWP_SHOWWINDOW | SWP_NOCOPYBITS;

// The GUI font of the system at another height (and weight).
HFONT GuiFont(int height, int weight = -1) {
    LOGFONTA font = {};
    GetObjectA(GetStockObject(DEFAULT_GUI_FONT), sizeof(font), &font);
    font.lfHeight = height;
    if (weight >= 0) font.lfWeight = weight;
    return CreateFontIndirectA(&font);
}

SIZE Measure(HDC dc, HFONT font, const char* text, UINT flags) {
    Selection selected(dc, font);
    RECT rect = {0, 0, 0, 0};
    DrawTextA(dc, text, -1, &rect, flags);
    return SIZE{rect.right - rect.left, rect.bottom - rect.top};
}

SIZE ScreenSize() {
    RECT screen = {};
    GetClientRect(GetDesktopWindow(), &screen);
    return SIZE{screen.right - screen.left, screen.bottom - screen.top};
}

void ShowAt(HWND window, const TitleBox& box) {
    SetWindowPos(window, HWND_TOPMOST, box.x, box.y, box.width, box.height, kShowFloating);
    UpdateWindow(window);
}

}  // namespace

void SwitcherDesktop::LayoutTitle() {
    SwitcherController* controller = Daemon().controller;
    if (m_crTitleColor == kNoTitle || m_strTitle.IsEmpty() || !controller) return;
    const SIZE screen = ScreenSize();
    const int longest = LongestTitleLine(m_strTitle.c_str());
    const int size = TitleFontSize(screen.cx, longest);
    WriteLog("Desktop[%s] MaxLength=%d, FontSize=%d\n", m_strDesktopName.c_str(), longest, size);
    if (size != m_nFontSize || !m_largeFont) {
        UniqueGdi<HFONT> large(GuiFont(size)), small(GuiFont(size / 2));
        if (!large || !small) return;
        m_largeFont = std::move(large);
        m_smallFont = std::move(small);
        m_nFontSize = size;
    }
    WindowDC dc(m_hThreadWindow);
    SIZE big = Measure(dc.Get(), m_largeFont.Get(), m_strTitle.c_str(), kMeasureTitle);
    SIZE corner = Measure(dc.Get(), m_smallFont.Get(), m_strTitle.c_str(), kMeasureTitle);
    WriteLog("Screen(%d x %d) Title=(%d x %d) Rect=(%d,%d,%d,%d)\n", static_cast<int>(screen.cx),
             static_cast<int>(screen.cy), static_cast<int>(corner.cx), static_cast<int>(corner.cy), 0, 0,
             static_cast<int>(corner.cx), static_cast<int>(corner.cy));
    const int mode = controller->m_nTitleDispPos;
    m_titleSmall = PlaceSmallTitle(mode, screen.cx, screen.cy, corner.cx, corner.cy);
    WriteLog("Position Mode=%d  Rect=(%d,%d,%d,%d)\n", mode, m_titleSmall.x, m_titleSmall.y, m_titleSmall.width,
             m_titleSmall.height);
    m_titleLarge = PlaceLargeTitle(screen.cx, screen.cy, big.cx, big.cy);
}

void SwitcherDesktop::StartTitle() {
    SwitcherController* controller = Daemon().controller;
    if (!controller) return;
    if (controller->m_nTitleDelay2 > 0)
        SetTimer(m_hThreadWindow, 1, static_cast<UINT>(controller->m_nTitleDelay1), nullptr);
    else if (controller->m_nTitleDelay3 > 0)
        SetTimer(m_hThreadWindow, 2, static_cast<UINT>(controller->m_nTitleDelay2), nullptr);
}

void SwitcherDesktop::OnTitleTimer(UINT_PTR timer) {
    SwitcherController* controller = Daemon().controller;
    if (!controller) return;
    KillTimer(m_hThreadWindow, timer);
    switch (timer) {
    case 1:
        m_nTitlePhase = 1;
        ShowAt(m_hThreadWindow, m_titleLarge);
        SetTimer(m_hThreadWindow, controller->m_nTitleDelay3 > 0 ? 2 : 3,
                 static_cast<UINT>(controller->m_nTitleDelay2), nullptr);
        break;
    case 2:
        m_nTitlePhase = 2;
        if (controller->m_bRedraw) controller->RedrawAll();
        ShowAt(m_hThreadWindow, m_titleSmall);
        SetTimer(m_hThreadWindow, 3, static_cast<UINT>(controller->m_nTitleDelay3), nullptr);
        break;
    case 3:
        m_nTitlePhase = 0;
        SetWindowPos(m_hThreadWindow, HWND_BOTTOM, 0, 0, 0, 0, SWP_NOACTIVATE | SWP_HIDEWINDOW | SWP_NOCOPYBITS);
        if (controller->m_bRedraw) controller->RedrawAll();
        break;
    default:
        break;
    }
}

void SwitcherDesktop::DrawTitle(HDC dc) {
    HFONT font = m_nTitlePhase == 1 ? m_largeFont.Get() : m_nTitlePhase == 2 ? m_smallFont.Get() : nullptr;
    if (!font) return;
    Selection selected(dc, font);
    RECT client = {};
    GetClientRect(m_hThreadWindow, &client);
    SetTextColor(dc, m_crTitleColor);
    SetBkMode(dc, TRANSPARENT);
    DrawTextA(dc, m_strTitle.c_str(), static_cast<int>(m_strTitle.Length()), &client, kDrawTitle);
}

void SwitcherController::LayoutLogo() {
    HWND window = Daemon().mainWindow;
    if (m_crLogoColor == kNoTitle || !window) return;
    const SIZE screen = ScreenSize();
    UniqueGdi<HFONT> large(GuiFont(64)), small(GuiFont(32, FW_HEAVY));
    if (!large || !small) return;
    m_logoLarge = std::move(large);
    m_logoSmall = std::move(small);
    WindowDC dc(window);
    SIZE text = Measure(dc.Get(), m_logoLarge.Get(), m_strSplash.c_str(), kMeasureLogo);
    m_nLogoLine = Measure(dc.Get(), m_logoSmall.Get(), "X", kMeasureLogo | DT_SINGLELINE).cy;
    int width = text.cx, height = text.cy + 2 * m_nLogoLine;
    if (width > screen.cx || height > screen.cy) {
        width = 8 * screen.cx / 10;
        height = 8 * screen.cy / 10;
    }
    SetWindowPos(window, HWND_TOPMOST, (screen.cx - width) / 2, (screen.cy - height) / 2 - screen.cy / 10, width,
                 height, kShowFloating);
}

void SwitcherController::DrawLogo(int progress) {
    HWND window = Daemon().mainWindow;
    if (!m_logoLarge || !window) return;
    RECT client = {};
    GetClientRect(window, &client);
    RECT text = client;
    text.bottom -= 2 * m_nLogoLine;
    // Hidden and shown again, so that what lies beneath repaints first. Shown
    // without activation: the logo must not take the focus from the user's
    // window (and, activated, Wine leaves it on the screen after it is hidden).
    ShowWindow(window, SW_HIDE);
    ShowWindow(window, SW_SHOWNOACTIVATE);
    WindowDC dc(window);
    SetTextColor(dc.Get(), m_crLogoColor);
    SetBkMode(dc.Get(), TRANSPARENT);
    {
        Selection selected(dc.Get(), m_logoLarge.Get());
        DrawTextA(dc.Get(), m_strSplash.c_str(), -1, &text, kDrawLogo);
    }
    if (m_logoSmall) {
        Selection selected(dc.Get(), m_logoSmall.Get());
        RECT band = client;
        band.top = band.bottom - 2 * m_nLogoLine;
        std::string marks = ProgressMarks(Daemon().desktopCount, progress);
        DrawTextA(dc.Get(), marks.c_str(), -1, &band, kDrawMarks);
    }
}

}  // namespace qv

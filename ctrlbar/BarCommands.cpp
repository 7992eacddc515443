// What the bar's buttons, menus and requests do.

#include <string>

#include "BarButtons.h"
#include "BarIds.h"
#include "BarWindow.h"
#include "CommandText.h"
#include "DaemonRequest.h"
#include "DesktopButtons.h"
#include "LauncherMenu.h"
#include "Launching.h"
#include "PopupMenu.h"
#include "Protocol.h"
#include "QVCtrlBarRes.h"

namespace qv {

namespace {

constexpr char kQuestionCaption[] = "QVControlBar";
constexpr char kEndBarQuestion[] = "制御ﾊﾞｰ だけを終了しますか？";
constexpr char kEndBothQuestion[] = "Quorvel & 制御ﾊﾞｰ を終了しますか？";
constexpr char kBackItem[] = "直前のﾃﾞｽｸﾄｯﾌﾟ";
constexpr const char* kPageTexts[3] = {"-1", "+1", "B"};

// The scroll dialog of a knob: where a row of buttons wider than its area
// starts to be seen.
class KnobScrollDialog : public Dialog {
public:
    KnobScrollDialog(int rowWidth, int areaWidth, int position, int lineStep, POINT at)
        : m_rowWidth(rowWidth), m_areaWidth(areaWidth), m_position(position), m_lineStep(lineStep), m_at(at) {}
    int Position() const { return m_position; }

protected:
    BOOL OnInit() override {
        SCROLLINFO info = {};
        info.cbSize = sizeof(info);
        info.fMask = SIF_RANGE | SIF_PAGE | SIF_POS;
        info.nMin = 0;
        info.nMax = m_rowWidth > 0 ? m_rowWidth - 1 : 0;
        info.nPage = static_cast<UINT>(m_areaWidth > 0 ? m_areaWidth : 0);
        info.nPos = m_position;
        SetScrollInfo(Bar(), SB_CTL, &info, TRUE);
        SetWindowPos(Handle(), nullptr, m_at.x, m_at.y, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
        return TRUE;
    }
    BOOL HandleMessage(UINT message, WPARAM wParam, LPARAM) override {
        if (message != WM_HSCROLL) return FALSE;
        int position = m_position;
        switch (LOWORD(wParam)) {
        case SB_LINELEFT: position -= m_lineStep; break;
        case SB_LINERIGHT: position += m_lineStep; break;
        case SB_PAGELEFT: position -= m_areaWidth; break;
        case SB_PAGERIGHT: position += m_areaWidth; break;
        case SB_LEFT: position = 0; break;
        case SB_RIGHT: position = m_rowWidth; break;
        case SB_THUMBTRACK:
        case SB_THUMBPOSITION: position = static_cast<short>(HIWORD(wParam)); break;
        default: return TRUE;
        }
        m_position = ClampScrollPosition(position, m_rowWidth, m_areaWidth);
        SetScrollPos(Bar(), SB_CTL, m_position, TRUE);
        return TRUE;
    }

private:
    HWND Bar() const { return GetDlgItem(Handle(), IDC_KNOB_SCROLL_BAR); }
    int m_rowWidth, m_areaWidth, m_position, m_lineStep;
    POINT m_at;
};

}  // namespace

void BarWindow::OnCommand(int id, WORD code) {
    const bool right = code == kRightClick;
    if (!right && code != BN_CLICKED) return;
    if (id >= kDesktopButtonId && id < kDesktopButtonId + static_cast<int>(m_shared.desktops.size())) {
        OnDesktopButton(id - kDesktopButtonId, right);
        return;
    }
    if (id >= kHangerButtonId && id < kHangerButtonId + static_cast<int>(m_hangerButtons.size())) {
        OnHangerButton(static_cast<size_t>(id - kHangerButtonId), right);
        return;
    }
    switch (id) {
    case kSystemButtonId: OnSystemButton(right); break;
    case kPinButtonId: OnPinButton(right); break;
    case kTitleButtonId:
        if (!right) OnTitleButton();
        break;
    case kHangerMenuButtonId: OnHangerMenuButton(right); break;
    case kFirstKnobId:
    case kSecondKnobId:
        if (right) OnKnobScroll(id);
        break;
    case kSwitchMenuButtonId: OnSwitchMenuButton(right); break;
    case kPreviousPageId:
    case kNextPageId:
    case kBackPageId: OnPageButton(id - kPreviousPageId, right); break;
    }
}

void BarWindow::OnSystemButton(bool right) {
    if (!right) {
        OnLauncherMenu();
        return;
    }
    PopupMenu menu;
    menu.Add(kMenuMendrel, "Mendrel ｺﾝﾌｨｸﾞﾚｰｼｮﾝ(&K)...");
    menu.Add(kMenuConfig, "Quorvel ｺﾝﾌｨｸﾞﾚｰｼｮﾝ(&S)...");
    menu.Add(kMenuBarConfig, "制御ﾊﾞｰ ｺﾝﾌｨｸﾞﾚｰｼｮﾝ(&B)...");
    menu.Separator();
    AddExitItems(menu.Get());
    RunMenuCommand(TrackMenu(menu.Get(), m_system));
}

void BarWindow::OnLauncherMenu() {
    LauncherMenu launcher(m_shared, m_number, Handle(), m_metrics.unitWidth);
    // Building can take a while: the bar stays as it is meanwhile.
    HMENU menu = nullptr;
    {
        // TrackMenu keeps the bar for the menu's time, and a failed build has none.
        const Busy building(*this, m_menuOpen);
        EnableWindow(Handle(), FALSE);
        menu = launcher.Build();
        EnableWindow(Handle(), TRUE);
    }
    m_launcher = &launcher;
    const UINT command = menu ? TrackMenu(menu, m_system) : 0;
    m_launcher = nullptr;
    launcher.Run(command);
}

void BarWindow::AddExitItems(HMENU menu) {
    AppendMenuA(menu, MF_STRING, kMenuEndBar, "制御ﾊﾞｰ だけの終了(&E)...");
    AppendMenuA(menu, MF_STRING, kMenuEndBoth, "Quorvel・制御ﾊﾞｰの終了(&X)...");
}

void BarWindow::RunMenuCommand(UINT command) {
    const std::string folder = SettingsFolder();
    switch (command) {
    case kMenuMendrel:
        StartSibling("Mendrel.exe", "-p \"" + folder + Own().id + ".ini\"");
        break;
    case kMenuConfig:
        StartSibling("QVConfig.exe", "-p \"" + folder + "Quorvel.ini\" -d");
        break;
    case kMenuBarConfig:
        StartSibling("QVBarConfig.exe", "-p \"" + m_shared.parameterPath + "\"");
        break;
    case kMenuEndBar:
    case kMenuEndBoth:
        PostMessageA(Handle(), kRequestMessage, kBarEndRequest, command == kMenuEndBar ? 1 : 2);
        break;
    }
}

void BarWindow::OnPinButton(bool right) {
    if (right) {
        ShowHollowFrame();
        return;
    }
    m_shared.fixPin = !m_shared.fixPin;
    // Every bar shows the pin as it now is; they are told through the main
    // window, which knows them all.
    PostMessageA(m_shared.mainWindow, kPinToggledMessage, 0, 0);
    ShowBar();
}

void BarWindow::OnTitleButton() {
    m_topmost = !m_topmost;
    SetWindowPos(Handle(), m_topmost ? HWND_TOPMOST : HWND_NOTOPMOST, 0, 0, 0, 0,
                 SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    ShowTopmostEdge();
}

void BarWindow::ShowTopmostEdge() {
    const LONG_PTR exStyle = GetWindowLongPtrA(m_title, GWL_EXSTYLE);
    SetWindowLongPtrA(m_title, GWL_EXSTYLE, m_topmost ? (exStyle | WS_EX_STATICEDGE) : (exStyle & ~WS_EX_STATICEDGE));
    SetWindowPos(m_title, nullptr, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_FRAMECHANGED);
}

void BarWindow::OnHangerMenuButton(bool right) {
    if (right)
        OnHangerMenu();
    else
        StartSibling("QVTaskSwitch.exe", std::string());
}

void BarWindow::OnSwitchMenuButton(bool right) {
    if (!right) {
        StartSibling("QVViewer.exe", std::string());
        return;
    }
    PopupMenu menu;
    for (const BarDesktop& desktop : m_shared.desktops) {
        if (desktop.number != m_number) menu.Add(kMenuDesktop + desktop.number, DesktopMenuText(desktop.number, desktop.title));
    }
    const UINT command = TrackMenu(menu.Get(), m_switchMenu);
    if (command >= kMenuDesktop) SwitchToNumber(static_cast<int>(command - kMenuDesktop));
}

void BarWindow::OnDesktopButton(int number, bool right) {
    if (right) {
        PopupMenu menu;
        const BarDesktop& desktop = m_shared.desktops[static_cast<size_t>(number)];
        menu.Add(kMenuSwitch, DesktopMenuText(desktop.number, desktop.title));
        if (TrackMenu(menu.Get(), m_desktopButtons[static_cast<size_t>(number)]) != kMenuSwitch) return;
    }
    SwitchToNumber(number);
}

void BarWindow::OnPageButton(int page, bool right) {
    if (right) {
        PopupMenu menu;
        if (page == 2) {
            menu.Add(kMenuSwitch, kBackItem);
        } else {
            const int count = static_cast<int>(m_shared.desktops.size());
            const int target = RelativeSwitchIndex(m_number, 1, page == 1, count);
            const BarDesktop& desktop = m_shared.desktops[static_cast<size_t>(target)];
            menu.Add(kMenuSwitch, DesktopMenuText(desktop.number, desktop.title));
        }
        if (TrackMenu(menu.Get(), m_pages[page]) != kMenuSwitch) return;
    }
    SwitchRelative(kPageTexts[page]);
}

void BarWindow::OnKnobDrag(int id, int x) {
    m_layout = id == kFirstKnobId ? DragFirstKnob(m_layout, x) : DragSecondKnob(m_layout, m_metrics, x);
    m_switchOffset = ScrollBack(m_switchOffset, static_cast<int>(m_desktopButtons.size()) * m_metrics.desktopButtonWidth,
                                m_layout.switchArea.width);
    m_hangerOffset = ScrollBack(m_hangerOffset, static_cast<int>(m_hangerButtons.size()) * HangerButtonWidth(),
                                m_layout.hanger.width);
    PlaceButtons();
}

void BarWindow::OnKnobScroll(int id) {
    if (m_dialogOpen) return;
    const bool hanger = id == kFirstKnobId;
    const int rowWidth = hanger ? static_cast<int>(m_hangerButtons.size()) * HangerButtonWidth()
                                : static_cast<int>(m_desktopButtons.size()) * m_metrics.desktopButtonWidth;
    const Span& area = hanger ? m_layout.hanger : m_layout.switchArea;
    int& offset = hanger ? m_hangerOffset : m_switchOffset;
    RECT knob = {};
    GetWindowRect(hanger ? m_firstKnob : m_secondKnob, &knob);
    KnobScrollDialog dialog(rowWidth, area.width, -offset, m_metrics.unitWidth / 4, POINT{knob.left, knob.bottom});
    {
        const Busy shown(*this, m_dialogOpen);
        if (dialog.DoModal(m_shared.instance, IDD_KNOB_SCROLL, Handle()) == IDOK) offset = -dialog.Position();
    }
    PlaceButtons();
}

void BarWindow::OnRequest(WPARAM request, LPARAM lParam) {
    switch (request) {
    case kBarHangWindowRequest:
        PostMessageA(m_shared.mainWindow, kRequestMessage, kBarHangWindowRequest, lParam);
        break;
    case kBarRebuildHangerRequest:
        RebuildHanger();
        break;
    case kBarShowRequest:
        DropHollowFrame();
        ShowBar();
        break;
    case kBarEndRequest:
        OnEndRequest(lParam);
        break;
    }
}

void BarWindow::OnEndRequest(LPARAM variant) {
    if (variant == 1 || variant == 2) {
        int answer = IDCANCEL;
        {
            const Busy asking(*this, m_dialogOpen);
            answer = MessageBoxA(Handle(), variant == 1 ? kEndBarQuestion : kEndBothQuestion, kQuestionCaption,
                                 MB_OKCANCEL | MB_DEFBUTTON2 | MB_ICONQUESTION | MB_SYSTEMMODAL);
        }
        if (answer != IDOK) return;
        m_shared.endDaemon = variant == 2;
    }
    PostMessageA(m_shared.mainWindow, WM_CLOSE, 0, 0);
}

BOOL BarWindow::OnMeasureItem(MEASUREITEMSTRUCT& item) {
    return item.CtlType == ODT_MENU && m_launcher && m_launcher->MeasureItem(item);
}

void BarWindow::OnDrawItem(const DRAWITEMSTRUCT& item) {
    if (item.CtlType == ODT_MENU) {
        if (m_launcher) m_launcher->DrawItem(item);
        return;
    }
    const int number = static_cast<int>(item.CtlID) - kDesktopButtonId;
    if (number < 0 || number >= static_cast<int>(m_shared.desktops.size())) return;
    DrawDesktopButton(item, m_shared.desktops[static_cast<size_t>(number)].color);
}

UINT BarWindow::TrackMenu(HMENU menu, HWND button) {
    if (!menu || GetMenuItemCount(menu) <= 0) return 0;
    RECT at = {};
    GetWindowRect(button, &at);
    const Busy tracking(*this, m_menuOpen);
    // A topmost bar would cover its own menu.
    const bool wasTopmost = m_topmost;
    if (wasTopmost) SetWindowPos(Handle(), HWND_NOTOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    SetForegroundWindow(Handle());
    EnableWindow(Handle(), FALSE);
    const UINT command = TrackPopupMenu(menu, TPM_RETURNCMD | TPM_NONOTIFY | TPM_LEFTALIGN | TPM_TOPALIGN, at.left,
                                        at.bottom, 0, Handle(), nullptr);
    // Clicks that came in while the menu was up are for a disabled bar:
    // they are handled, and so dropped, before it takes clicks again.
    MSG msg;
    while (PeekMessageA(&msg, Handle(), 0, 0, PM_REMOVE)) {
        if (msg.message == WM_QUIT) {
            PostQuitMessage(static_cast<int>(msg.wParam));
            break;
        }
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
    EnableWindow(Handle(), TRUE);
    if (wasTopmost) SetWindowPos(Handle(), HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    return command;
}

void BarWindow::SwitchToNumber(int number) {
    char text[16];
    wsprintfA(text, "%d", number + 1);
    PostMessageA(Daemon(), kRequestMessage, kSwitchToNumberRequest, static_cast<LPARAM>(PackCommandText(text)));
}

void BarWindow::SwitchRelative(const char* text) {
    PostMessageA(Daemon(), kRequestMessage, kCommandTextRequest, static_cast<LPARAM>(PackCommandText(text)));
}

HWND BarWindow::Daemon() {
    // A daemon started again since has a window of its own.
    if (!IsWindow(m_daemon)) m_daemon = FindDaemonWindow(DaemonWindow::kThread);
    return m_daemon;
}

void BarWindow::StartSibling(const char* program, const std::string& arguments) {
    const std::string path = "\"" + m_shared.programFolder + program + "\"";
    RunProgram(Handle(), path.c_str(), arguments.empty() ? nullptr : arguments.c_str(), nullptr, Own().id.c_str(), 0);
}

std::string BarWindow::SettingsFolder() const {
    const std::string& path = m_shared.parameterPath;
    const size_t cut = path.find_last_of("\\/:");
    return cut == std::string::npos ? std::string() : path.substr(0, cut + 1);
}

}  // namespace qv

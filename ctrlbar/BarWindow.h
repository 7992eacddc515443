#pragma once
// One desktop's bar: a thin tool window across the top of its screen with
// the system, pin and title buttons, the hanger area, a button per desktop
// and the paging buttons. It lives on its desktop's thread, rolls itself up
// into a one-pixel strip when the mouse leaves it, and asks the daemon's
// thread window on its desktop to switch.

#include <windows.h>

#include <string>
#include <vector>

#include "BarLayout.h"
#include "BarShared.h"
#include "GdiObject.h"
#include "Handle.h"
#include "Hanger.h"
#include "LauncherMenu.h"
#include "WindowBase.h"

namespace qv {

// The "Hanger" and "Switch" areas: children of the bar's class whose buttons
// report to the bar.
class BarArea : public Window {
protected:
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
};

// A one-pixel strip along a screen edge that catches the mouse for a
// rolled-up bar.
class EdgeWindow : public Window {};

class BarWindow : public Window {
public:
    BarWindow(BarShared& shared, int number);
    ~BarWindow() override;

    // Registers the window class of the bars (once per process).
    static bool RegisterClass(HINSTANCE instance);
    // Makes the bar and everything on it on the calling thread, which must
    // be attached to the bar's desktop; false when the bar window could not
    // be made.
    bool Build();
    // Shows the bar in its place, topmost; it rolls up once it is drawn
    // unless it is pinned.
    void Start() { ShowBar(); }

private:
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

    // Making and placing.
    HWND MakeButton(const char* className, const char* caption, DWORD style, int id, HWND parent, HBITMAP image);
    void MakeButtons();
    void MeasureUnits();
    void LayOut();
    void PlaceButtons();
    void PlaceRow(HWND area, const std::vector<HWND>& row, int offset, int buttonWidth, int buttonHeight);
    int HangerButtonWidth() const { return m_metrics.unitWidth + m_metrics.frameX; }

    // Rolling up and showing. The roll timer counts once from the moment
    // something could have changed (the bar shown, a menu or dialog closed,
    // the pointer moved after resting on the bar) and looks once: a bar left
    // alone, shown or rolled up, has no timer running.
    void RollUp();
    void ShowBar();
    void ArmRollTimer();
    void OnRollTimer();
    void OnPointerMoved();
    void ShowHollowFrame();
    void DropHollowFrame();
    bool CursorOnBar() const;
    static LRESULT CALLBACK MouseHook(int code, WPARAM wParam, LPARAM lParam);
    static LRESULT CALLBACK PointerHook(int code, WPARAM wParam, LPARAM lParam);

    // Holds the bar shown while one of its menus or dialogs is up; the
    // roll-up counts again from the close.
    class Busy {
    public:
        Busy(BarWindow& bar, bool& flag) : m_bar(bar), m_flag(flag) { m_flag = true; }
        ~Busy() {
            m_flag = false;
            m_bar.ArmRollTimer();
        }
        Busy(const Busy&) = delete;
        Busy& operator=(const Busy&) = delete;

    private:
        BarWindow& m_bar;
        bool& m_flag;
    };

    // What the buttons and requests do.
    void OnCommand(int id, WORD code);
    void OnSystemButton(bool right);
    void OnLauncherMenu();
    void OnPinButton(bool right);
    void OnTitleButton();
    void ShowTopmostEdge();  // the title is sunken while the bar is topmost
    void OnHangerMenuButton(bool right);
    void OnSwitchMenuButton(bool right);
    void OnDesktopButton(int number, bool right);
    void OnPageButton(int page, bool right);
    void OnKnobDrag(int id, int x);
    void OnKnobScroll(int id);
    void OnPinChanged();
    void OnRequest(WPARAM request, LPARAM lParam);
    void OnEndRequest(LPARAM variant);
    void OnDisplayChange();
    void OnRelayoutTimer();
    void OnDrawItem(const DRAWITEMSTRUCT& item);

    // The hanger's buttons on this bar.
    void RebuildHanger();
    void OnHangerButton(size_t place, bool right);
    void OnHangerDrop(size_t place);
    void OnHangerMenu();
    void ActivateHungWindow(const HangerView& view);
    void ShowHangerProperties(uint32_t id, const Box& button);
    void ShowHangerSort(const Box& button);
    BOOL OnMeasureItem(MEASUREITEMSTRUCT& item);

    // Menus, the daemon and other programs.
    UINT TrackMenu(HMENU menu, HWND button);
    void AddExitItems(HMENU menu);
    void RunMenuCommand(UINT command);
    void SwitchToNumber(int number);
    void SwitchRelative(const char* text);
    HWND Daemon();
    void StartSibling(const char* program, const std::string& arguments);
    std::string SettingsFolder() const;

    BarShared& m_shared;
    const int m_number;
    const BarDesktop& Own() const { return m_shared.desktops[static_cast<size_t>(m_number)]; }

    BarArea m_hangerArea;
    BarArea m_switchArea;
    EdgeWindow m_edges[3];  // left, right, bottom; made as MouseOver asks
    UniqueGdi<HFONT> m_font;

    HWND m_system = nullptr, m_pin = nullptr, m_title = nullptr, m_hangerMenu = nullptr;
    HWND m_firstKnob = nullptr, m_secondKnob = nullptr, m_switchMenu = nullptr;
    HWND m_pages[3] = {nullptr, nullptr, nullptr};
    std::vector<HWND> m_desktopButtons;
    std::vector<HWND> m_hangerButtons;  // one per hung-on window, in the hanger's order
    std::vector<HangerView> m_hangerViews;

    BarMetrics m_metrics;
    BarLayout m_layout;
    int m_unitHeight = 0;
    int m_frameY = 0;
    int m_hangerOffset = 0;  // 0 or negative: the rows scrolled left
    int m_switchOffset = 0;
    SIZE m_screen = {0, 0};

    LauncherMenu* m_launcher = nullptr;  // while the launcher menu is tracked
    HWND m_daemon = nullptr;
    UniqueHook m_hook;         // the thread's mouse hook while rolled up: the hot zones
    UniqueHook m_pointerHook;  // the session's low-level mouse hook while the pointer rests on the shown bar
    bool m_rolled = false;
    bool m_topmost = true;
    bool m_menuOpen = false;
    bool m_dialogOpen = false;
    bool m_initialStateDone = false;
    bool m_hollow = false;
};

}  // namespace qv

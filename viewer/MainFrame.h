#pragma once
// The viewer's MDI frame: the desktop windows in its client, a tool bar and a
// status bar, and the commands that concern all desktop windows.

#include <windows.h>

#include <memory>
#include <vector>

#include "DesktopView.h"
#include "Handle.h"
#include "ViewerRules.h"
#include "WindowBase.h"

namespace qv::viewer {

struct ViewerContext;

class MainFrame : public Window {
public:
    explicit MainFrame(ViewerContext& context) : m_context(context) {}

    // The frame, with its menus loaded; false when it could not be made.
    bool Open();
    HWND Client() const { return m_client; }

    // Every desktop without a window gets one, in the tiled places.
    void OpenAll();
    // A window for one desktop at (width / 2, height / 2) of the tiled size.
    void OpenOne(DesktopEntry& desktop);
    void Activate(const DesktopEntry& desktop);
    DesktopView* ActiveView() const;
    const std::vector<std::unique_ptr<DesktopView>>& Views() const { return m_views; }

    // The desktop windows' menu while one of them is active.
    void ShowChildMenu();

    // For the message loop.
    bool TranslateKeys(MSG& message) const;

protected:
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    bool OnCreate();
    void OnSize();
    void OnCommand(WORD id);
    void OnInitMenu(HMENU menu);
    void ShowFrameMenu();
    void Tile();
    void Toggle(HWND bar);
    void ChooseDesktop();
    DesktopView* Place(DesktopEntry& desktop, int x, int y);
    void Closed(DesktopView& view);

    ViewerContext& m_context;
    HWND m_client = nullptr;
    HWND m_toolBar = nullptr;
    HWND m_statusBar = nullptr;
    UniqueMenu m_frameMenu;  // the one not shown at the time is ours to destroy
    UniqueMenu m_childMenu;
    HACCEL m_accelerators = nullptr;  // a resource: freed with the program
    Size m_allowance;                 // of a desktop window around its client area
    Size m_tile;                      // a desktop window's tiled size
    // One per open desktop window; each leaves when its window is gone.
    std::vector<std::unique_ptr<DesktopView>> m_views;
    bool m_closing = false;
};

}  // namespace qv::viewer

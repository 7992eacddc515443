#pragma once
// The viewer's dialogs: the windows of one desktop to switch to or hang on,
// and the choice of a desktop to open.

#include <windows.h>

#include <vector>

#include "DesktopWindows.h"
#include "WindowBase.h"
#include "WindowListRules.h"
#include "WindowListView.h"

namespace qv::viewer {

class TaskDialog : public Dialog {
public:
    TaskDialog(DesktopList& list, DesktopEntry& desktop) : m_list(list), m_desktop(desktop) {}
    // Set when the dialog ended with IDOK.
    const WindowEntry* ChosenWindow() const { return m_chosen; }
    bool Maximize() const { return m_maximize; }

protected:
    BOOL OnInit() override;
    BOOL OnCommand(WORD id, WORD code, HWND control) override;
    BOOL HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    void SetButtons();
    void HangOnSelected();

    DesktopList& m_list;
    DesktopEntry& m_desktop;
    SortOrder m_order;
    WindowListView m_view;
    const WindowEntry* m_chosen = nullptr;
    bool m_maximize = false;
};

class OpenDialog : public Dialog {
public:
    explicit OpenDialog(std::vector<DesktopEntry*> desktops) : m_desktops(std::move(desktops)) {}
    DesktopEntry* Chosen() const { return m_chosen; }

protected:
    BOOL OnInit() override;
    BOOL OnCommand(WORD id, WORD code, HWND control) override;

private:
    std::vector<DesktopEntry*> m_desktops;
    DesktopEntry* m_chosen = nullptr;
};

}  // namespace qv::viewer

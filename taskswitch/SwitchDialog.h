#pragma once
// The tool's dialog: the windows of every desktop in a list, to activate one
// or hang some on the control bar; and the list options dialog.

#include <windows.h>
#include <commctrl.h>

#include "Handle.h"
#include "SwitchRules.h"
#include "DesktopWindows.h"
#include "WindowBase.h"
#include "WindowListView.h"

namespace qv::taskswitch {

class SwitchDialog : public Dialog {
public:
    explicit SwitchDialog(DesktopList& list) : m_list(list) {}

    // IDOK with ChosenWindow() set when a window is to be activated.
    INT_PTR Run(HINSTANCE instance);
    const WindowEntry* ChosenWindow() const { return m_chosen; }
    bool Maximize() const { return m_maximize; }

protected:
    BOOL OnInit() override;
    BOOL OnCommand(WORD id, WORD code, HWND control) override;
    BOOL HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    void Fill();
    void SetButtons();
    void HangOnSelected();
    void ChooseOptions();
    void StartCapture();
    void EndCapture();
    void Pick(bool leftButton);
    void BringBack();

    DesktopList& m_list;
    HINSTANCE m_instance = nullptr;
    SortOrder m_order;
    WindowListView m_view;
    UniqueIcon m_icon;
    UniqueIcon m_smallIcon;
    const WindowEntry* m_chosen = nullptr;
    bool m_maximize = false;
    bool m_filling = false;
    bool m_capturing = false;
};

}  // namespace qv::taskswitch

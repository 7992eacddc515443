#pragma once
// The tool's dialog: the windows of every desktop in a list, to activate one
// or hang some on the control bar; and the list options dialog.

#include <windows.h>
#include <commctrl.h>

#include "Handle.h"
#include "SwitchRules.h"
#include "TaskDesktops.h"
#include "WindowBase.h"

namespace qv::taskswitch {

struct ImageListTraits {
    using Type = HIMAGELIST;
    static Type Invalid() { return nullptr; }
    static bool Valid(Type h) { return h != nullptr; }
    static void Close(Type h) { ImageList_Destroy(h); }
};
using UniqueImageList = UniqueResource<ImageListTraits>;

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
    void Sort();
    void ShowHeaders();
    void SetButtons();
    void HangOnSelected();
    void ChooseOptions();
    void StartCapture();
    void EndCapture();
    void Pick(bool leftButton);
    void BringBack();
    HWND List() const;

    DesktopList& m_list;
    HINSTANCE m_instance = nullptr;
    SortOrder m_order;
    // The list shares it (LVS_SHAREIMAGELISTS): it is ours to destroy.
    UniqueImageList m_images;
    UniqueIcon m_icon;
    UniqueIcon m_smallIcon;
    const WindowEntry* m_chosen = nullptr;
    bool m_maximize = false;
    bool m_filling = false;
    bool m_capturing = false;
};

}  // namespace qv::taskswitch

#include "ViewerDialogs.h"

#include <commctrl.h>

#include <string>

#include "QVViewerRes.h"
#include "Viewer.h"

namespace qv::viewer {

namespace {

inline constexpr char kTaskCaption[] = "ﾀｽｸ切替 : ";

const std::string& CaptionOf(const WindowEntry& window) { return window.caption; }
const std::string& ModuleOf(const WindowEntry& window) { return window.module; }
inline constexpr ListColumn kColumns[] = {{"ｷｬﾌﾟｼｮﾝ", 140, CaptionOf}, {"ﾓｼﾞｭｰﾙ", 300, ModuleOf}};

}  // namespace

BOOL TaskDialog::OnInit() {
    SetWindowTextA(Handle(), (std::string(kTaskCaption) + m_desktop.title).c_str());
    m_view.Attach(GetDlgItem(Handle(), IDC_VW_LIST), kColumns, 2);
    for (const WindowEntry& window : m_desktop.windows) m_view.Add(window);
    m_order.SortAscending(0);
    m_view.Sort(m_order);
    SetButtons();
    return TRUE;
}

void TaskDialog::SetButtons() {
    const int selected = m_view.SelectedCount();
    EnableWindow(GetDlgItem(Handle(), IDOK), selected == 1);
    EnableWindow(GetDlgItem(Handle(), IDC_VW_HANGON), selected > 0 && m_list.BarFoundAtStart());
}

void TaskDialog::HangOnSelected() {
    for (const WindowEntry* window : m_view.Selected())
        if (!HangOnBar(Handle(), window->window, kCaption)) return;
    End(IDCANCEL);
}

BOOL TaskDialog::OnCommand(WORD id, WORD code, HWND control) {
    switch (id) {
    case IDOK: {
        const std::vector<const WindowEntry*> selected = m_view.Selected();
        if (selected.size() != 1) return TRUE;
        m_chosen = selected.front();
        m_maximize = IsDlgButtonChecked(Handle(), IDC_VW_MAXIMIZE) == BST_CHECKED;
        End(IDOK);
        return TRUE;
    }
    case IDC_VW_HANGON:
        HangOnSelected();
        return TRUE;
    default:
        return Dialog::OnCommand(id, code, control);
    }
}

BOOL TaskDialog::HandleMessage(UINT message, WPARAM, LPARAM lParam) {
    if (message == WM_NOTIFY && m_view.OnNotify(*reinterpret_cast<const NMHDR*>(lParam), m_order)) SetButtons();
    return FALSE;
}

BOOL OpenDialog::OnInit() {
    HWND box = GetDlgItem(Handle(), IDC_VW_DESKTOPS);
    for (DesktopEntry* desktop : m_desktops)
        SendMessageA(box, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(desktop->title.c_str()));
    SendMessageA(box, CB_SETCURSEL, 0, 0);
    return TRUE;
}

BOOL OpenDialog::OnCommand(WORD id, WORD code, HWND control) {
    if (id == IDOK) {
        const LRESULT chosen = SendMessageA(GetDlgItem(Handle(), IDC_VW_DESKTOPS), CB_GETCURSEL, 0, 0);
        if (chosen >= 0 && static_cast<size_t>(chosen) < m_desktops.size()) m_chosen = m_desktops[chosen];
    }
    return Dialog::OnCommand(id, code, control);
}

}  // namespace qv::viewer

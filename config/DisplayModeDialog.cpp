#include "DisplayModeDialog.h"

#include "DesktopDialogsRes.h"
#include "DesktopRules.h"

namespace qv::config {

namespace {

std::vector<DisplayMode> PrimaryDisplayModes() {
    std::vector<DisplayMode> modes;
    DEVMODEA device{};
    device.dmSize = sizeof device;
    for (DWORD index = 0; EnumDisplaySettingsA(nullptr, index, &device); ++index)
        modes.push_back(DisplayMode{static_cast<int32_t>(device.dmBitsPerPel), static_cast<int32_t>(device.dmPelsWidth),
                                    static_cast<int32_t>(device.dmPelsHeight),
                                    static_cast<int32_t>(device.dmDisplayFrequency)});
    return modes;
}

}  // namespace

BOOL DisplayModeDialog::OnInit() {
    HWND list = GetDlgItem(Handle(), IDC_DM_LIST);
    const INT stops[] = {48, 120};
    SendMessageA(list, LB_SETTABSTOPS, 2, reinterpret_cast<LPARAM>(stops));
    m_modes = PrimaryDisplayModes();
    int selected = -1;
    for (size_t line = 0; line < m_modes.size(); ++line) {
        SendMessageA(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(DisplayModeLine(m_modes[line]).c_str()));
        if (selected < 0 && SameDisplayMode(m_modes[line], m_mode)) selected = static_cast<int>(line);
    }
    if (selected >= 0) {
        SendMessageA(list, LB_SETCURSEL, selected, 0);
        SendMessageA(list, LB_SETTOPINDEX, DisplayModeTopLine(selected), 0);
    }
    EnableWindow(GetDlgItem(Handle(), IDOK), selected >= 0);
    return TRUE;
}

void DisplayModeDialog::Choose() {
    const LRESULT line = SendDlgItemMessageA(Handle(), IDC_DM_LIST, LB_GETCURSEL, 0, 0);
    if (line < 0 || static_cast<size_t>(line) >= m_modes.size()) return;
    m_mode = m_modes[static_cast<size_t>(line)];
    End(IDOK);
}

BOOL DisplayModeDialog::OnCommand(WORD id, WORD code, HWND control) {
    if (id == IDOK) {
        Choose();
        return TRUE;
    }
    if (id == IDC_DM_LIST) {
        if (code == LBN_DBLCLK) Choose();
        if (code == LBN_SELCHANGE)
            EnableWindow(GetDlgItem(Handle(), IDOK),
                         SendDlgItemMessageA(Handle(), IDC_DM_LIST, LB_GETCURSEL, 0, 0) != LB_ERR);
        return TRUE;
    }
    return Dialog::OnCommand(id, code, control);
}

}  // namespace qv::config

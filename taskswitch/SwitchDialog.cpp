#include "SwitchDialog.h"

#include <shellapi.h>
#include <windowsx.h>

#include <cstdint>

#include "QVTaskSwitchRes.h"

namespace qv::taskswitch {

namespace {

inline constexpr char kAboutItem[] = "QVTaskSwitch のﾊﾞｰｼﾞｮﾝ情報(&A)...";
inline constexpr char kAboutCaption[] = "QVTaskSwitchのﾊﾞｰｼﾞｮﾝ情報";
inline constexpr char kAboutText[] = "QVTaskSwitch Version 2.0";
inline constexpr char kNoCursor[] = "ﾏｳｽｶｰｿﾙの座標獲得に失敗しました.";
inline constexpr char kNoWindow[] = "ｳｨﾝﾄﾞｳが選択されていません";
inline constexpr char kInterrupted[] = "割り込みを受けたため、ｷｬﾌﾟﾁｬを中止しました。";

const std::string& ModuleOf(const WindowEntry& window) { return window.module; }
const std::string& CaptionOf(const WindowEntry& window) { return window.caption; }
const std::string& DesktopOf(const WindowEntry& window) { return window.desktop->title; }
inline constexpr ListColumn kColumns[] = {
    {"ﾓｼﾞｭｰﾙ", 140, ModuleOf}, {"ｷｬﾌﾟｼｮﾝ", 300, CaptionOf}, {"ﾃﾞｽｸﾄｯﾌﾟ", 140, DesktopOf}};

// The options dialog: one box per bit of the option word.
class OptionsDialog : public Dialog {
public:
    explicit OptionsDialog(uint32_t options) : m_options(options) {}
    uint32_t Options() const { return m_options; }

protected:
    BOOL OnInit() override {
        for (int bit = 0; bit <= IDC_TS_OPTION_LAST - IDC_TS_OPTION_FIRST; ++bit)
            CheckDlgButton(Handle(), IDC_TS_OPTION_FIRST + bit, (m_options >> bit) & 1 ? BST_CHECKED : BST_UNCHECKED);
        return TRUE;
    }
    BOOL OnCommand(WORD id, WORD code, HWND control) override {
        if (id == IDOK) {
            m_options = 0;
            for (int bit = 0; bit <= IDC_TS_OPTION_LAST - IDC_TS_OPTION_FIRST; ++bit)
                if (IsDlgButtonChecked(Handle(), IDC_TS_OPTION_FIRST + bit) == BST_CHECKED) m_options |= 1u << bit;
        }
        return Dialog::OnCommand(id, code, control);
    }

private:
    uint32_t m_options;
};

}  // namespace

INT_PTR SwitchDialog::Run(HINSTANCE instance) {
    m_instance = instance;
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_LISTVIEW_CLASSES};
    InitCommonControlsEx(&controls);
    return DoModal(instance, IDD_TASKSWITCH, nullptr);
}

BOOL SwitchDialog::OnInit() {
    HMENU system = GetSystemMenu(Handle(), FALSE);
    if (system) {
        AppendMenuA(system, MF_SEPARATOR, 0, nullptr);
        AppendMenuA(system, MF_STRING, IDM_TS_ABOUT, kAboutItem);
    }
    m_icon.Reset(static_cast<HICON>(LoadImageA(m_instance, MAKEINTRESOURCEA(IDI_TASKSWITCH), IMAGE_ICON,
                                               GetSystemMetrics(SM_CXICON), GetSystemMetrics(SM_CYICON), 0)));
    m_smallIcon.Reset(static_cast<HICON>(LoadImageA(m_instance, MAKEINTRESOURCEA(IDI_TASKSWITCH), IMAGE_ICON,
                                                    GetSystemMetrics(SM_CXSMICON), GetSystemMetrics(SM_CYSMICON), 0)));
    SendMessageA(Handle(), WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(m_icon.Get()));
    SendMessageA(Handle(), WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(m_smallIcon.Get()));

    m_view.Attach(GetDlgItem(Handle(), IDC_TS_LIST), kColumns, 3);
    Fill();
    m_order.SortAscending(0);
    m_view.Sort(m_order);
    SetButtons();
    return TRUE;
}

void SwitchDialog::Fill() {
    m_filling = true;
    m_view.Clear();
    for (auto& desktop : m_list.Desktops()) {
        m_list.Enumerate(*desktop);
        for (const WindowEntry& window : desktop->windows) m_view.Add(window);
    }
    m_filling = false;
}

void SwitchDialog::SetButtons() {
    if (m_filling) return;
    ButtonStates states = DecideButtons(m_list.Options(), m_view.SelectedCount(), m_list.BarFoundAtStart());
    if (states.deselectAll) m_view.DeselectAll();
    EnableWindow(GetDlgItem(Handle(), IDOK), states.activate);
    EnableWindow(GetDlgItem(Handle(), IDC_TS_HANGON), states.hangOn);
}

void SwitchDialog::HangOnSelected() {
    // With nothing selected the button only closes; the first failure keeps
    // the dialog open.
    for (const WindowEntry* window : m_view.Selected())
        if (!HangOnBar(Handle(), window->window, kCaption)) return;
    End(IDCANCEL);
}

void SwitchDialog::ChooseOptions() {
    OptionsDialog options(m_list.Options());
    if (options.DoModal(m_instance, IDD_TS_LIST_OPTIONS, Handle()) != IDOK || options.Options() == m_list.Options())
        return;
    m_list.SetOptions(options.Options());
    Fill();
    m_order.SortAscending(m_order.Column() < 0 ? 0 : m_order.Column());
    m_view.Sort(m_order);
    SetButtons();
}

void SwitchDialog::BringBack() {
    ShowWindow(Handle(), SW_RESTORE);
    SetForegroundWindow(Handle());
}

void SwitchDialog::StartCapture() {
    ShowWindow(Handle(), SW_MINIMIZE);
    SetFocus(Handle());
    SetCapture(Handle());
    m_capturing = true;
}

void SwitchDialog::Pick(bool leftButton) {
    // The state is left before the capture goes, so that this release is not
    // taken for an interruption.
    m_capturing = false;
    ReleaseCapture();
    if (!leftButton) {
        BringBack();
        return;
    }
    POINT point;
    if (!GetCursorPos(&point)) {
        BringBack();
        m_list.Tell(Handle(), kNoCursor);
        return;
    }
    HWND window = WindowFromPoint(point);
    BringBack();
    if (!window) {
        m_list.Tell(Handle(), kNoWindow);
        return;
    }
    // Up the parents (a top-level pop-up's is its owner) to the last one.
    for (HWND parent = GetParent(window); parent; parent = GetParent(window)) window = parent;
    if (HangOnBar(Handle(), window, kCaption)) End(IDCANCEL);
}

BOOL SwitchDialog::OnCommand(WORD id, WORD code, HWND control) {
    switch (id) {
    case IDOK: {
        const std::vector<const WindowEntry*> selected = m_view.Selected();
        if (selected.empty()) return TRUE;
        m_chosen = selected.front();
        m_maximize = IsDlgButtonChecked(Handle(), IDC_TS_MAXIMIZE) == BST_CHECKED;
        End(IDOK);
        return TRUE;
    }
    case IDC_TS_HANGON:
        HangOnSelected();
        return TRUE;
    case IDC_TS_OPTIONS:
        ChooseOptions();
        return TRUE;
    case IDC_TS_CAPTURE:
        StartCapture();
        return TRUE;
    default:
        return Dialog::OnCommand(id, code, control);
    }
}

BOOL SwitchDialog::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_SYSCOMMAND:
        if ((wParam & 0xFFF0) == IDM_TS_ABOUT) {
            MessageBoxA(Handle(), kAboutText, kAboutCaption, MB_OK);
            return TRUE;
        }
        return FALSE;
    case WM_NOTIFY:
        if (m_view.OnNotify(*reinterpret_cast<const NMHDR*>(lParam), m_order)) SetButtons();
        return FALSE;
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
        if (!m_capturing) return FALSE;
        Pick(message == WM_LBUTTONDOWN);
        return TRUE;
    case WM_CAPTURECHANGED:
        if (!m_capturing) return FALSE;
        ShowWindow(Handle(), SW_SHOWNA);
        m_list.Tell(Handle(), kInterrupted);
        m_capturing = false;
        return TRUE;
    case WM_CANCELMODE:
        // The default handling releases the capture while the state is still
        // set, so the interruption is reported first.
    {
        const bool wasCapturing = m_capturing;
        DefWindowProcA(Handle(), message, wParam, lParam);
        m_capturing = false;
        if (wasCapturing) BringBack();
        return TRUE;
    }
    case WM_PAINT:
        if (!IsIconic(Handle())) return FALSE;
        {
            PAINTSTRUCT paint;
            HDC dc = BeginPaint(Handle(), &paint);
            RECT client;
            GetClientRect(Handle(), &client);
            DrawIcon(dc, (client.right - GetSystemMetrics(SM_CXICON) + 1) / 2,
                     (client.bottom - GetSystemMetrics(SM_CYICON) + 1) / 2, m_icon.Get());
            EndPaint(Handle(), &paint);
        }
        return TRUE;
    default:
        return FALSE;
    }
}

}  // namespace qv::taskswitch

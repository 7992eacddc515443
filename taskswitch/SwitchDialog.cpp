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

struct Column {
    const char* name;
    int width;
};
inline constexpr Column kColumns[] = {{"ﾓｼﾞｭｰﾙ", 140}, {"ｷｬﾌﾟｼｮﾝ", 300}, {"ﾃﾞｽｸﾄｯﾌﾟ", 140}};

const std::string& ColumnText(const WindowEntry& window, int column) {
    if (column == 0) return window.module;
    if (column == 1) return window.caption;
    return window.desktop->title;
}

int CALLBACK CompareItems(LPARAM first, LPARAM second, LPARAM param) {
    const SortOrder& order = *reinterpret_cast<const SortOrder*>(param);
    const auto& a = *reinterpret_cast<const WindowEntry*>(first);
    const auto& b = *reinterpret_cast<const WindowEntry*>(second);
    return order.Compare(ColumnText(a, order.Column()).c_str(), ColumnText(b, order.Column()).c_str());
}

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

    ListView_SetExtendedListViewStyle(List(), LVS_EX_FULLROWSELECT);
    for (int column = 0; column < 3; ++column) {
        LVCOLUMNA item{};
        item.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_SUBITEM;
        item.cx = kColumns[column].width;
        item.pszText = const_cast<char*>(kColumns[column].name);
        item.iSubItem = column;
        SendMessageA(List(), LVM_INSERTCOLUMNA, column, reinterpret_cast<LPARAM>(&item));
    }
    Fill();
    m_order.SortAscending(0);
    Sort();
    SetButtons();
    return TRUE;
}

HWND SwitchDialog::List() const { return GetDlgItem(Handle(), IDC_TS_LIST); }

void SwitchDialog::Fill() {
    m_filling = true;
    HWND list = List();
    ListView_DeleteAllItems(list);
    ListView_SetImageList(list, nullptr, LVSIL_SMALL);
    m_images.Reset(ImageList_Create(16, 16, ILC_COLOR24 | ILC_MASK, 4, 4));
    ListView_SetImageList(list, m_images.Get(), LVSIL_SMALL);
    int row = 0;
    for (auto& desktop : m_list.Desktops()) {
        m_list.Enumerate(*desktop);
        for (const WindowEntry& window : desktop->windows) {
            LVITEMA item{};
            item.mask = LVIF_TEXT | LVIF_PARAM | LVIF_IMAGE;
            item.iItem = row;
            item.pszText = const_cast<char*>(window.module.c_str());
            item.lParam = reinterpret_cast<LPARAM>(&window);
            item.iImage = -1;
            HICON small = nullptr;
            if (!window.modulePath.empty() && ExtractIconExA(window.modulePath.c_str(), 0, nullptr, &small, 1) > 0 &&
                small) {
                UniqueIcon icon(small);  // the image list keeps its own copy
                item.iImage = ImageList_AddIcon(m_images.Get(), icon.Get());
            }
            int at = static_cast<int>(SendMessageA(list, LVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&item)));
            if (at < 0) continue;
            ListView_SetItemText(list, at, 1, const_cast<char*>(window.caption.c_str()));
            ListView_SetItemText(list, at, 2, const_cast<char*>(desktop->title.c_str()));
            ++row;
        }
    }
    m_filling = false;
}

void SwitchDialog::ShowHeaders() {
    for (int column = 0; column < 3; ++column) {
        std::string text = m_order.HeaderText(column, kColumns[column].name);
        LVCOLUMNA item{};
        item.mask = LVCF_TEXT;
        item.pszText = const_cast<char*>(text.c_str());
        SendMessageA(List(), LVM_SETCOLUMNA, column, reinterpret_cast<LPARAM>(&item));
    }
}

void SwitchDialog::Sort() {
    ListView_SortItems(List(), CompareItems, reinterpret_cast<LPARAM>(&m_order));
    ShowHeaders();
}

void SwitchDialog::SetButtons() {
    if (m_filling) return;
    HWND list = List();
    ButtonStates states = DecideButtons(m_list.Options(), ListView_GetSelectedCount(list), m_list.BarFoundAtStart());
    if (states.deselectAll) ListView_SetItemState(list, -1, 0, LVIS_SELECTED);
    EnableWindow(GetDlgItem(Handle(), IDOK), states.activate);
    EnableWindow(GetDlgItem(Handle(), IDC_TS_HANGON), states.hangOn);
}

void SwitchDialog::HangOnSelected() {
    HWND list = List();
    int row = ListView_GetNextItem(list, -1, LVNI_SELECTED);
    if (row < 0) {
        End(IDCANCEL);
        return;
    }
    for (; row >= 0; row = ListView_GetNextItem(list, row, LVNI_SELECTED)) {
        LVITEMA item{};
        item.mask = LVIF_PARAM;
        item.iItem = row;
        SendMessageA(list, LVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&item));
        if (!HangOn(Handle(), reinterpret_cast<const WindowEntry*>(item.lParam)->window)) return;
    }
    End(IDCANCEL);
}

void SwitchDialog::ChooseOptions() {
    OptionsDialog options(m_list.Options());
    if (options.DoModal(m_instance, IDD_TS_LIST_OPTIONS, Handle()) != IDOK || options.Options() == m_list.Options())
        return;
    m_list.SetOptions(options.Options());
    Fill();
    m_order.SortAscending(m_order.Column() < 0 ? 0 : m_order.Column());
    Sort();
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
        ShowMessage(Handle(), kNoCursor);
        return;
    }
    HWND window = WindowFromPoint(point);
    BringBack();
    if (!window) {
        ShowMessage(Handle(), kNoWindow);
        return;
    }
    // Up the parents (a top-level pop-up's is its owner) to the last one.
    for (HWND parent = GetParent(window); parent; parent = GetParent(window)) window = parent;
    if (HangOn(Handle(), window)) End(IDCANCEL);
}

BOOL SwitchDialog::OnCommand(WORD id, WORD code, HWND control) {
    switch (id) {
    case IDOK: {
        int row = ListView_GetNextItem(List(), -1, LVNI_SELECTED);
        if (row < 0) return TRUE;
        LVITEMA item{};
        item.mask = LVIF_PARAM;
        item.iItem = row;
        SendMessageA(List(), LVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&item));
        m_chosen = reinterpret_cast<const WindowEntry*>(item.lParam);
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
    case WM_NOTIFY: {
        const NMHDR* header = reinterpret_cast<const NMHDR*>(lParam);
        if (header->idFrom != IDC_TS_LIST) return FALSE;
        if (header->code == LVN_COLUMNCLICK) {
            m_order.Click(reinterpret_cast<const NMLISTVIEW*>(lParam)->iSubItem);
            Sort();
        } else if (header->code == LVN_ITEMCHANGED) {
            const NMLISTVIEW* change = reinterpret_cast<const NMLISTVIEW*>(lParam);
            if ((change->uChanged & LVIF_STATE) && ((change->uOldState ^ change->uNewState) & LVIS_SELECTED))
                SetButtons();
        }
        return FALSE;
    }
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
        if (!m_capturing) return FALSE;
        Pick(message == WM_LBUTTONDOWN);
        return TRUE;
    case WM_CAPTURECHANGED:
        if (!m_capturing) return FALSE;
        ShowWindow(Handle(), SW_SHOWNA);
        ShowMessage(Handle(), kInterrupted);
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

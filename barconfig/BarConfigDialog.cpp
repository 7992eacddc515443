#include "BarConfigDialog.h"

#include <commctrl.h>

#include <utility>

#include "BarConfigDialogs.h"
#include "BarConfigRules.h"
#include "ConfigMessages.h"
#include "DaemonRequest.h"
#include "DialogFiles.h"
#include "Handle.h"
#include "HotKeyDialogs.h"
#include "HtmlHelp.h"
#include "ListMoves.h"
#include "ProcessApi.h"
#include "Protocol.h"
#include "QVBarConfigRes.h"
#include "ReportList.h"

namespace qv::barconfig {

namespace {

inline constexpr char kCaption[] = "QVBarConfig";
inline constexpr char kFilter[] = "設定ﾌｧｲﾙ(*.ini)\0*.ini\0すべて(*.*)\0*.*\0";
inline constexpr char kNoBarBeside[] = "QVBarCtrlが、同じフォルダに格納されていません.";
inline constexpr char kStopFailed[] = "停止に失敗しました";
inline constexpr char kAboutItem[] = "QVBarConfig のﾊﾞｰｼﾞｮﾝ情報(&A)...";
inline constexpr UINT kAboutCommand = 0x10;
inline constexpr char kHelpTopic[] = "/QVCtrlBar4.htm";

inline constexpr ReportColumn kColumns[] = {
    {"種別", 140, LVCFMT_LEFT}, {"ﾒﾆｭｰ名", 120, LVCFMT_LEFT}, {"ﾌｫﾙﾀﾞ/ｷｰ値", 208, LVCFMT_LEFT}};
inline constexpr const char* kTimerTexts[kTimerChoices] = {"１秒", "２秒", "３秒", "４秒", "５秒",
                                                           "６秒", "７秒", "８秒", "９秒"};
inline constexpr const char* kSortTexts[] = {"ﾓｼﾞｭｰﾙ名順", "ｷｬﾌﾟｼｮﾝ順", "面積順", "左上座標順", "ﾊﾝｸﾞｵﾝ順"};
// The mouse places' boxes in dialog order, each with its bit.
inline constexpr int32_t kMouseBits[] = {0x01, 0x02, 0x04, 0x08, 0x80, 0x10, 0x20, 0x40};

bool Checked(HWND dialog, int id) { return IsDlgButtonChecked(dialog, id) == BST_CHECKED; }
void Check(HWND dialog, int id, bool on) { CheckDlgButton(dialog, id, on ? BST_CHECKED : BST_UNCHECKED); }

void FillCombo(HWND combo, const char* const* texts, int count, int selected) {
    SendMessageA(combo, CB_RESETCONTENT, 0, 0);
    for (int i = 0; i < count; ++i) SendMessageA(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(texts[i]));
    SendMessageA(combo, CB_SETCURSEL, selected, 0);
}

int ComboChoice(HWND dialog, int id) { return static_cast<int>(SendDlgItemMessageA(dialog, id, CB_GETCURSEL, 0, 0)); }

}  // namespace

int BarConfigDialog::Run() {
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_LISTVIEW_CLASSES | ICC_TAB_CLASSES};
    InitCommonControlsEx(&controls);
    m_accelerators = LoadAcceleratorsA(m_instance, MAKEINTRESOURCEA(IDR_BARCONFIG_ACCELERATORS));
    HWND dialog = CreateModeless(m_instance, IDD_BARCONFIG, nullptr);
    if (!dialog) return 1;
    ShowWindow(dialog, SW_SHOW);
    config::RunDialogLoop(*this, m_accelerators);
    return 0;
}

int BarConfigDialog::Ask(const char* text, UINT type) const { return MessageBoxA(Handle(), text, kCaption, type); }
void BarConfigDialog::Tell(const char* text, UINT icon) const { MessageBoxA(Handle(), text, kCaption, MB_OK | icon); }

BOOL BarConfigDialog::OnInit() {
    HICON icon = LoadIconA(m_instance, MAKEINTRESOURCEA(IDI_BARCONFIG));
    SendMessageA(Handle(), WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(icon));
    SendMessageA(Handle(), WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(icon));
    if (HMENU system = GetSystemMenu(Handle(), FALSE)) {
        AppendMenuA(system, MF_SEPARATOR, 0, nullptr);
        AppendMenuA(system, MF_STRING, kAboutCommand, kAboutItem);
    }
    AddReportColumns(GetDlgItem(Handle(), IDC_BC_ITEMS), kColumns, static_cast<int>(std::size(kColumns)));
    SetDlgItemTextA(Handle(), IDC_BC_PATH, m_path.c_str());
    ShowController();
    FillDesktops(m_document.desktops.empty() ? -1 : 0);
    return TRUE;
}

void BarConfigDialog::ShowController() {
    const BarController& c = m_document.controller;
    m_filling = true;
    for (int bit = 0; bit <= IDC_BC_COND_LAST - IDC_BC_COND_FIRST; ++bit)
        Check(Handle(), IDC_BC_COND_FIRST + bit, (c.menuFileCond >> bit) & 1);
    for (int box = 0; box <= IDC_BC_MOUSE_LAST - IDC_BC_MOUSE_FIRST; ++box)
        Check(Handle(), IDC_BC_MOUSE_FIRST + box, (c.mouseOver & kMouseBits[box]) != 0);
    CheckRadioButton(Handle(), IDC_BC_PIN_OFF, IDC_BC_PIN_ON, c.fixPin ? IDC_BC_PIN_ON : IDC_BC_PIN_OFF);
    FillCombo(GetDlgItem(Handle(), IDC_BC_ROLL), kTimerTexts, kTimerChoices, TimerChoice(c.rollTimer));
    FillCombo(GetDlgItem(Handle(), IDC_BC_REGION), kTimerTexts, kTimerChoices, TimerChoice(c.regionTimer));
    FillCombo(GetDlgItem(Handle(), IDC_BC_SORT), kSortTexts, static_cast<int>(std::size(kSortTexts)),
              HangerSortChoice(c.hangerSortId));
    CheckRadioButton(Handle(), IDC_BC_ASCENDING, IDC_BC_DESCENDING,
                     c.hangerSortAscending ? IDC_BC_ASCENDING : IDC_BC_DESCENDING);
    m_filling = false;
}

void BarConfigDialog::CollectController() {
    BarController& c = m_document.controller;
    c.menuFileCond = 0;
    for (int bit = 0; bit <= IDC_BC_COND_LAST - IDC_BC_COND_FIRST; ++bit)
        if (Checked(Handle(), IDC_BC_COND_FIRST + bit)) c.menuFileCond |= 1u << bit;
    // Bits the dialog has no box for stay as they were read.
    int32_t mouse = c.mouseOver & ~0xFF;
    for (int box = 0; box <= IDC_BC_MOUSE_LAST - IDC_BC_MOUSE_FIRST; ++box)
        if (Checked(Handle(), IDC_BC_MOUSE_FIRST + box)) mouse |= kMouseBits[box];
    c.mouseOver = mouse;
    c.fixPin = Checked(Handle(), IDC_BC_PIN_ON);
    c.rollTimer = TimerOfChoice(ComboChoice(Handle(), IDC_BC_ROLL));
    c.regionTimer = TimerOfChoice(ComboChoice(Handle(), IDC_BC_REGION));
    c.hangerSortId = ComboChoice(Handle(), IDC_BC_SORT);
    c.hangerSortAscending = Checked(Handle(), IDC_BC_ASCENDING);
}

const std::vector<PanelDescription>* BarConfigDialog::Menus() const {
    if (m_desktop < 0 || static_cast<size_t>(m_desktop) >= m_document.desktops.size()) return nullptr;
    return &m_document.desktops[static_cast<size_t>(m_desktop)];
}

std::vector<PanelDescription>* BarConfigDialog::Menus() {
    return const_cast<std::vector<PanelDescription>*>(std::as_const(*this).Menus());
}

void BarConfigDialog::FillDesktops(int selected) {
    HWND combo = GetDlgItem(Handle(), IDC_BC_DESKTOP);
    SendMessageA(combo, CB_RESETCONTENT, 0, 0);
    for (size_t i = 0; i < m_document.desktops.size(); ++i)
        SendMessageA(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(DesktopMenuLabel(i).c_str()));
    m_desktop = selected;
    SendMessageA(combo, CB_SETCURSEL, selected, 0);
    FillItems({});
}

void BarConfigDialog::FillItems(const std::vector<size_t>& selected) {
    HWND list = GetDlgItem(Handle(), IDC_BC_ITEMS);
    ListView_DeleteAllItems(list);
    if (const std::vector<PanelDescription>* menus = Menus()) {
        for (const PanelDescription& item : *menus) {
            const std::string kind = KindLabel(item.kind);
            AppendReportRow(list, {&kind, &item.caption, &item.startDirectory});
        }
    }
    for (size_t place : selected) ListView_SetItemState(list, static_cast<int>(place), LVIS_SELECTED, LVIS_SELECTED);
    SetButtons();
}

std::vector<size_t> BarConfigDialog::SelectedItems() const {
    return SelectedReportRows(GetDlgItem(Handle(), IDC_BC_ITEMS));
}

void BarConfigDialog::SetButtons() {
    const std::vector<PanelDescription>* menus = Menus();
    const bool desktop = menus != nullptr;
    const bool selected = desktop && !SelectedItems().empty();
    auto enable = [this](int id, bool on) { EnableWindow(GetDlgItem(Handle(), id), on); };
    enable(IDC_BC_DESKTOP_DELETE, desktop);
    enable(IDC_BC_ITEM_ADD, desktop);
    enable(IDC_BC_UP, desktop && menus->size() >= 2);
    enable(IDC_BC_DOWN, desktop && menus->size() >= 2);
    enable(IDC_BC_ITEM_EDIT, selected);
    enable(IDC_BC_ITEM_DELETE, selected);
}

void BarConfigDialog::AddDesktop() {
    m_document.desktops.push_back(NewDesktopMenus());
    m_changed = true;
    FillDesktops(static_cast<int>(m_document.desktops.size()) - 1);
}

void BarConfigDialog::DeleteDesktop() {
    if (!Menus()) return;
    m_document.desktops.erase(m_document.desktops.begin() + m_desktop);
    m_changed = true;
    FillDesktops(m_document.desktops.empty() ? -1 : 0);
}

void BarConfigDialog::AddItem() {
    std::vector<PanelDescription>* menus = Menus();
    if (!menus) return;
    PanelDescription item;
    MenuItemDialog dialog(item);
    if (dialog.DoModal(m_instance, IDD_MENU_ITEM, Handle()) != IDOK) return;
    menus->push_back(item);
    m_changed = true;
    FillItems({menus->size() - 1});
}

void BarConfigDialog::EditItem() {
    std::vector<PanelDescription>* menus = Menus();
    const std::vector<size_t> selected = SelectedItems();
    if (!menus || selected.empty()) return;
    PanelDescription item = (*menus)[selected.front()];
    MenuItemDialog dialog(item);
    if (dialog.DoModal(m_instance, IDD_MENU_ITEM, Handle()) != IDOK) return;
    (*menus)[selected.front()] = item;
    m_changed = true;
    FillItems(selected);
}

void BarConfigDialog::DeleteItems() {
    std::vector<PanelDescription>* menus = Menus();
    const std::vector<size_t> selected = SelectedItems();
    if (!menus || selected.empty()) return;
    for (auto row = selected.rbegin(); row != selected.rend(); ++row) menus->erase(menus->begin() + *row);
    m_changed = true;
    FillItems({});
}

void BarConfigDialog::MoveItems(bool up) {
    std::vector<PanelDescription>* menus = Menus();
    if (!menus) return;
    const config::ListMove move = config::PlanItemMove(
        menus->size(), SelectedItems(), up ? config::MoveDirection::kUp : config::MoveDirection::kDown);
    if (!move.changed) return;
    config::ApplyOrder(*menus, move.order);
    m_changed = true;
    FillItems(move.selected);
}

void BarConfigDialog::ChooseHotKey() {
    config::OneKeyDialog dialog(m_document.controller.hotKeyActive);
    if (!dialog.Edit(m_instance, Handle())) return;
    m_document.controller.hotKeyActive = dialog.EditedWord();
    m_changed = true;
}

void BarConfigDialog::ChooseModules() {
    ModuleListDialog dialog(m_document.controller.initHangonModules);
    if (dialog.DoModal(m_instance, IDD_MODULES, Handle()) != IDOK) return;
    m_document.controller.initHangonModules = dialog.Modules();
    m_changed = true;
}

void BarConfigDialog::RestoreDefaults() {
    ResetControllerKeys(&m_document.controller);
    ShowController();
    m_changed = true;
}

void BarConfigDialog::LoadOther() {
    if (m_changed && Ask(config::kDiscardQuestion, MB_YESNO | MB_ICONQUESTION | MB_DEFBUTTON2) != IDYES) return;
    const std::string chosen =
        config::AskFileName(Handle(), kFilter, "ini", config::ItemText(Handle(), IDC_BC_PATH), false);
    if (chosen.empty()) return;
    bool missing = false;
    BarDocument loaded;
    if (!LoadBarFile(chosen.c_str(), &loaded, &missing)) {
        Tell(config::Formatted(config::kLoadFailed, chosen).c_str());
        return;
    }
    Tell(config::kLoaded);
    m_document = std::move(loaded);
    ShowController();
    FillDesktops(m_document.desktops.empty() ? -1 : 0);
    m_changed = false;
}

bool BarConfigDialog::Save() {
    CollectController();
    const std::string path = config::ItemText(Handle(), IDC_BC_PATH);
    if (!SaveBarFile(path.c_str(), m_document)) {
        Tell(config::Formatted(config::kCannotCreate, path).c_str());
        return false;
    }
    m_changed = false;
    return true;
}

void BarConfigDialog::AskToEnd() {
    if (m_changed) {
        switch (Ask(config::kEndQuestion, MB_YESNOCANCEL | MB_ICONQUESTION | MB_DEFBUTTON3)) {
        case IDYES:
            if (!Save()) return;
            break;
        case IDNO:
            break;
        default:
            return;
        }
    }
    End(0);
}

void BarConfigDialog::Restart() {
    const std::string bar = ProgramDirectory() + "QVCtrlBar.exe";
    const DWORD attributes = GetFileAttributesA(bar.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_DIRECTORY)) {
        Tell(kNoBarBeside);
        return;
    }
    if (m_changed && (Ask(config::kSaveFirst, MB_YESNO) != IDYES || !Save())) return;
    if (HWND running = FindWindowA(kBarThreadWindowClass, kBarWindowName)) {
        if (Ask(config::kRestartQuestion, MB_YESNO | MB_ICONQUESTION) != IDYES) return;
        // Bounded and confirmed: a bar idle for a while can be taken for
        // hung in the moment it wakes, and the request would be dropped.
        SendBounded(running, kRequestMessage, kBarEndRequest, 0, 5000);
        Sleep(2000);
        bool gone = false;
        for (int look = 0; look < 30 && !gone; ++look) {
            gone = FindWindowA(kBarThreadWindowClass, nullptr) == nullptr;
            Sleep(gone ? 500 : 1000);
        }
        if (!gone) {
            Tell(kStopFailed);
            return;
        }
    }
    config::StartOnParameterFile(Handle(), bar, config::ItemText(Handle(), IDC_BC_PATH));
}

BOOL BarConfigDialog::OnCommand(WORD id, WORD code, HWND control) {
    switch (id) {
    case IDC_BC_BROWSE: {
        const std::string chosen =
            config::AskFileName(Handle(), kFilter, "ini", config::ItemText(Handle(), IDC_BC_PATH), true);
        if (!chosen.empty()) SetDlgItemTextA(Handle(), IDC_BC_PATH, chosen.c_str());
        return TRUE;
    }
    case IDC_BC_DESKTOP:
        if (code == CBN_SELCHANGE) {
            m_desktop = ComboChoice(Handle(), IDC_BC_DESKTOP);
            FillItems({});
        }
        return TRUE;
    case IDC_BC_DESKTOP_ADD: AddDesktop(); return TRUE;
    case IDC_BC_DESKTOP_DELETE: DeleteDesktop(); return TRUE;
    case IDC_BC_ITEM_ADD: AddItem(); return TRUE;
    case IDC_BC_ITEM_EDIT:
    case ID_BC_EDIT:
    case IDOK:  // Enter in the dialog: the list's update
        EditItem();
        return TRUE;
    case IDC_BC_UP:
    case ID_BC_MOVEUP: MoveItems(true); return TRUE;
    case IDC_BC_DOWN:
    case ID_BC_MOVEDOWN: MoveItems(false); return TRUE;
    case IDC_BC_ITEM_DELETE: DeleteItems(); return TRUE;
    case IDC_BC_HOTKEY: ChooseHotKey(); return TRUE;
    case IDC_BC_HANGON: ChooseModules(); return TRUE;
    case IDC_BC_DEFAULTS: RestoreDefaults(); return TRUE;
    case ID_BC_LOAD: LoadOther(); return TRUE;
    case ID_BC_SAVE: Save(); return TRUE;
    case ID_BC_EXIT:
    case IDCANCEL: AskToEnd(); return TRUE;
    case ID_BC_DESELECT:
    case ID_BC_SELECTALL:
        ListView_SetItemState(GetDlgItem(Handle(), IDC_BC_ITEMS), -1, id == ID_BC_SELECTALL ? LVIS_SELECTED : 0,
                              LVIS_SELECTED);
        return TRUE;
    case ID_BC_RESTART: Restart(); return TRUE;
    case ID_BC_HELP: ShowHelpTopic(Handle(), kHelpTopic, kCaption); return TRUE;
    case ID_BC_ABOUT: Dialog().DoModal(m_instance, IDD_BARCONFIG_ABOUT, Handle()); return TRUE;
    default:
        // Every other control of the lower half is a change.
        if (!m_filling && (code == BN_CLICKED || code == CBN_SELCHANGE)) m_changed = true;
        return Dialog::OnCommand(id, code, control);
    }
}

BOOL BarConfigDialog::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_SYSCOMMAND:
        if ((wParam & 0xFFF0) != kAboutCommand) return FALSE;
        Dialog().DoModal(m_instance, IDD_BARCONFIG_ABOUT, Handle());
        return TRUE;
    case WM_NOTIFY: {
        const NMHDR* header = reinterpret_cast<const NMHDR*>(lParam);
        if (header->idFrom != IDC_BC_ITEMS) return FALSE;
        if (header->code == LVN_ITEMCHANGED) SetButtons();
        if (header->code == NM_DBLCLK) EditItem();
        return FALSE;
    }
    case WM_CONTEXTMENU: {
        if (reinterpret_cast<HWND>(wParam) != GetDlgItem(Handle(), IDC_BC_ITEMS)) return FALSE;
        UniqueMenu menu(LoadMenuA(m_instance, MAKEINTRESOURCEA(IDR_BARCONFIG_LIST_MENU)));
        if (menu)
            TrackPopupMenu(GetSubMenu(menu.Get(), 0), TPM_LEFTALIGN | TPM_RIGHTBUTTON,
                           static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam)), 0, Handle(),
                           nullptr);
        return TRUE;
    }
    case WM_DESTROY:
        PostQuitMessage(0);
        return FALSE;
    default:
        return FALSE;
    }
}

}  // namespace qv::barconfig

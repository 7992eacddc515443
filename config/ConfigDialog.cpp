#include "ConfigDialog.h"

#include <commctrl.h>
#include <commdlg.h>

#include <cstdio>
#include <cstring>

#include "CommandText.h"
#include "ConfigMessages.h"
#include "DaemonRequest.h"
#include "DialogFiles.h"
#include "DesktopDialog.h"
#include "DesktopRules.h"
#include "DesktopDialogsRes.h"
#include "DisplayMode.h"
#include "HotKeyDialogs.h"
#include "HotKeyTabs.h"
#include "HtmlHelp.h"
#include "PathText.h"
#include "PipeClient.h"
#include "ProcessApi.h"
#include "Protocol.h"
#include "QVConfigRes.h"
#include "ReportList.h"
#include "SafeSave.h"
#include "SystemError.h"

namespace qv::config {

namespace {

inline constexpr char kCaption[] = "QVConfig";
inline constexpr char kFilter[] = "設定保存ﾌｧｲﾙ (*.INI)\0*.ini\0全て(*.*)\0*.*\0";
inline constexpr char kWavFilter[] = "Wavファイル(*.wav)\0*.wav\0すべて(*.*)\0*.*\0";
inline constexpr char kSaved[] = "保存しました.";
inline constexpr char kDefaultsQuestion[] = "デフォルト値に戻しますか?";
inline constexpr char kNoDaemonBeside[] = "Quorvelが、同じフォルダに格納されていません.";
inline constexpr char kNoDesktopName[] = "起動したデスクトップ名が獲得できません.";
inline constexpr char kSwitchToDefault[] =
    "再起動するには、ﾛｸﾞｲﾝした時に作られるﾃﾞﾌｫﾙﾄﾃﾞｽｸﾄｯﾌﾟに\r\n切り替える必要があります.\r\n切り替えを行い、作業を継続しますか?\r\n";
inline constexpr char kDelayRange[] = "0 から 9999 までの整数を入力してください.";
inline constexpr char kDefaultDesktop[] = "Default";
inline constexpr size_t kShortestSavePath = 6;  // the hidden OK needs more than 5 characters
inline constexpr COLORREF kDefaultLogoColour = 0x000FE80F;
// Posted to itself once shown: -d and -c open the own desktop's dialog then.
inline constexpr UINT kEditOwnDesktopMessage = WM_APP + 1;

inline constexpr const char* kTitlePlaces[] = {"左上", "中上", "右上", "左中", "右中", "左下", "中下", "右下"};
inline constexpr const char* kWideDigits[] = {"０", "１", "２", "３", "４", "５", "６", "７", "８", "９"};

inline constexpr ReportColumn kColumns[] = {{"ﾃﾞｽｸﾄｯﾌﾟ名", 156, LVCFMT_LEFT}, {"壁紙", 148, LVCFMT_LEFT},
                                      {"ﾃﾞｨｽﾌﾟﾚｲ", 80, LVCFMT_CENTER},  {"終了", 42, LVCFMT_CENTER},
                                      {"APP", 40, LVCFMT_CENTER},        {"ﾎｯﾄｷｰ", 140, LVCFMT_LEFT},
                                      {"", 2, LVCFMT_LEFT}};

std::string WideNumber(int number) {
    std::string text;
    for (char digit : std::to_string(number)) text += kWideDigits[digit - '0'];
    return text;
}

// Writes through a temporary file beside the target, which then replaces
// it: a write that fails halfway leaves the old file as it was.
bool SaveFile(const std::string& path, Configuration& configuration) {
    return SaveReplacing(path.c_str(), [&configuration](FILE* file) {
        return WriteConfiguration(file, configuration.header, *configuration.controller);
    });
}

}  // namespace

ConfigDialog::ConfigDialog(HINSTANCE instance, const ConfigCommand& command, Configuration configuration)
    : m_instance(instance), m_command(command), m_configuration(std::move(configuration)) {
    for (COLORREF& colour : m_customColours) colour = RGB(255, 255, 255);
    m_customColours[15] = kDefaultLogoColour;
}

int ConfigDialog::Run() {
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_LISTVIEW_CLASSES};
    InitCommonControlsEx(&controls);
    m_accelerators = LoadAcceleratorsA(m_instance, MAKEINTRESOURCEA(IDR_CONFIG_ACCELERATORS));
    HWND dialog = CreateModeless(m_instance, IDD_CONFIG, nullptr);
    if (!dialog) return 1;
    ShowWindow(dialog, SW_SHOW);
    RunDialogLoop(*this, m_accelerators);
    return 0;
}

std::vector<AncestryDesktop*> ConfigDialog::Desktops() const {
    std::vector<AncestryDesktop*> desktops;
    for (AncestryDesktop* desktop : m_configuration.controller->Desktops()) desktops.push_back(desktop);
    return desktops;
}

std::vector<size_t> ConfigDialog::SelectedRows() const {
    return SelectedReportRows(GetDlgItem(Handle(), IDC_CF_LIST));
}

int ConfigDialog::Ask(const char* text, UINT type) const { return MessageBoxA(Handle(), text, kCaption, type); }

void ConfigDialog::Tell(const char* text, UINT icon) const { MessageBoxA(Handle(), text, kCaption, MB_OK | icon); }

BOOL ConfigDialog::OnInit() {
    HICON icon = LoadIconA(m_instance, MAKEINTRESOURCEA(IDI_CONFIG));
    SendMessageA(Handle(), WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(icon));
    SendMessageA(Handle(), WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(icon));
    // The dialog keeps its size: only move, minimize and close stay.
    if (HMENU system = GetSystemMenu(Handle(), FALSE)) {
        for (UINT command : {SC_SIZE, SC_MAXIMIZE, SC_RESTORE}) DeleteMenu(system, command, MF_BYCOMMAND);
    }
    const std::string own = ProgramDirectory() + "Quorvel.exe";
    const DWORD attributes = GetFileAttributesA(own.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY)) m_daemonPath = own;

    AddReportColumns(GetDlgItem(Handle(), IDC_CF_LIST), kColumns, static_cast<int>(std::size(kColumns)));
    HWND places = GetDlgItem(Handle(), IDC_CF_TITLEPOS);
    for (const char* place : kTitlePlaces) SendMessageA(places, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(place));
    HWND sizes = GetDlgItem(Handle(), IDC_CF_BITMAPSIZE);
    SendMessageA(sizes, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>("OFF"));
    for (int size = 1; size <= AncestryController::kMaxBitmapSize; ++size)
        SendMessageA(sizes, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(WideNumber(size).c_str()));
    SendDlgItemMessageA(Handle(), IDC_CF_TITLE, EM_LIMITTEXT, 64, 0);
    SetDlgItemTextA(Handle(), IDC_CF_DISPLAY, DisplayModeText(QueryCurrentDisplayMode()).c_str());
    Fill();
    SetDlgItemTextA(Handle(), IDC_CF_PATH, m_command.path.c_str());

    if (m_command.editOwnDesktop) {
        std::string own;
        if (!ThreadDesktopName(&own)) {
            Tell(kNoDesktopName);
        } else if (own != kDefaultDesktop) {
            const std::vector<AncestryDesktop*> desktops = Desktops();
            for (size_t row = 0; row < desktops.size(); ++row) {
                if (own != desktops[row]->m_strDesktopName.c_str()) continue;
                FillList({row});
                PostMessageA(Handle(), kEditOwnDesktopMessage, 0, 0);
            }
        }
    }
    SetButtons();
    return TRUE;
}

void ConfigDialog::Fill() {
    m_filling = true;
    const AncestryController& c = *m_configuration.controller;
    SetDlgItemTextA(Handle(), IDC_CF_TITLE, c.m_strDefaultTitle.c_str());
    CheckDlgButton(Handle(), IDC_CF_SOUND, c.m_bSoundOn ? BST_CHECKED : BST_UNCHECKED);
    SetDlgItemTextA(Handle(), IDC_CF_WAVFILE, c.m_strSoundFile.c_str());
    CheckDlgButton(Handle(), IDC_CF_EXISTSOPEN, c.m_bExistsOpen ? BST_CHECKED : BST_UNCHECKED);
    SetDlgItemInt(Handle(), IDC_CF_DELAY1, c.m_nTitleDelay1, FALSE);
    SetDlgItemInt(Handle(), IDC_CF_DELAY2, c.m_nTitleDelay2, FALSE);
    SetDlgItemInt(Handle(), IDC_CF_DELAY3, c.m_nTitleDelay3, FALSE);
    SendDlgItemMessageA(Handle(), IDC_CF_TITLEPOS, CB_SETCURSEL, c.m_nTitleDispPos, 0);
    CheckDlgButton(Handle(), IDC_CF_REDRAW, c.m_bRedraw ? BST_CHECKED : BST_UNCHECKED);
    CheckDlgButton(Handle(), IDC_CF_CHECKACTIVE, c.m_bCheckIActive ? BST_CHECKED : BST_UNCHECKED);
    CheckDlgButton(Handle(), IDC_CF_INITCHANGE, c.m_bInitChange ? BST_CHECKED : BST_UNCHECKED);
    SendDlgItemMessageA(Handle(), IDC_CF_BITMAPSIZE, CB_SETCURSEL, c.m_nKeepBitmapSize, 0);
    CheckDlgButton(Handle(), IDC_CF_CONTROLBAR, c.m_bControlBar ? BST_CHECKED : BST_UNCHECKED);
    m_swatch.Reset(CreateSolidBrush(c.m_crLogoColor));
    InvalidateRect(GetDlgItem(Handle(), IDC_CF_COLOR_SWATCH), nullptr, TRUE);
    FillList({});
    m_filling = false;
}

void ConfigDialog::FillList(const std::vector<size_t>& selected) {
    HWND list = GetDlgItem(Handle(), IDC_CF_LIST);
    const int top = ListView_GetTopIndex(list);
    m_filling = true;
    ListView_DeleteAllItems(list);
    const std::vector<AncestryDesktop*> desktops = Desktops();
    const std::vector<uint32_t> fileKeys = FileHotKeys(*m_configuration.controller);
    for (size_t row = 0; row < desktops.size(); ++row) {
        const DesktopRow texts = DescribeDesktop(*desktops[row], static_cast<int>(row), fileKeys);
        AppendReportRow(list,
                        {&texts.name, &texts.wallpaper, &texts.display, &texts.exit, &texts.programs, &texts.hotKey});
    }
    for (size_t row : selected) ListView_SetItemState(list, static_cast<int>(row), LVIS_SELECTED, LVIS_SELECTED);
    // Refilling keeps the list where the user had scrolled it.
    RECT first{};
    if (top > 0 && ListView_GetItemRect(list, 0, &first, LVIR_BOUNDS))
        ListView_Scroll(list, 0, top * (first.bottom - first.top));
    m_filling = false;
    SetButtons();
}

void ConfigDialog::SetButtons() {
    const bool selected = ListView_GetSelectedCount(GetDlgItem(Handle(), IDC_CF_LIST)) > 0;
    EnableWindow(GetDlgItem(Handle(), IDC_CF_UPDATE), selected);
    EnableWindow(GetDlgItem(Handle(), IDC_CF_DELETE), selected);
    EnableWindow(GetDlgItem(Handle(), IDOK), ItemText(Handle(), IDC_CF_PATH).size() >= kShortestSavePath);
    EnableWindow(GetDlgItem(Handle(), IDC_CF_WAVFILE), IsDlgButtonChecked(Handle(), IDC_CF_SOUND) == BST_CHECKED);
}

bool ConfigDialog::Collect() {
    AncestryController& c = *m_configuration.controller;
    int32_t* delays[] = {&c.m_nTitleDelay1, &c.m_nTitleDelay2, &c.m_nTitleDelay3};
    int32_t values[3];
    for (int i = 0; i < 3; ++i) {
        BOOL read = FALSE;
        const UINT value = GetDlgItemInt(Handle(), IDC_CF_DELAY1 + i, &read, FALSE);
        if (!read || value > static_cast<UINT>(AncestryController::kMaxTitleDelay)) {
            Tell(kDelayRange, MB_ICONEXCLAMATION);
            SetFocus(GetDlgItem(Handle(), IDC_CF_DELAY1 + i));
            SendDlgItemMessageA(Handle(), IDC_CF_DELAY1 + i, EM_SETSEL, 0, -1);
            return false;
        }
        values[i] = static_cast<int32_t>(value);
    }
    for (int i = 0; i < 3; ++i) *delays[i] = values[i];
    c.m_strDefaultTitle.Assign(ItemText(Handle(), IDC_CF_TITLE).c_str());
    c.m_bSoundOn = IsDlgButtonChecked(Handle(), IDC_CF_SOUND) == BST_CHECKED;
    c.m_strSoundFile.Assign(ItemText(Handle(), IDC_CF_WAVFILE).c_str());
    c.m_bExistsOpen = IsDlgButtonChecked(Handle(), IDC_CF_EXISTSOPEN) == BST_CHECKED;
    c.m_nTitleDispPos = static_cast<int32_t>(SendDlgItemMessageA(Handle(), IDC_CF_TITLEPOS, CB_GETCURSEL, 0, 0));
    c.m_bRedraw = IsDlgButtonChecked(Handle(), IDC_CF_REDRAW) == BST_CHECKED;
    c.m_bCheckIActive = IsDlgButtonChecked(Handle(), IDC_CF_CHECKACTIVE) == BST_CHECKED;
    c.m_bInitChange = IsDlgButtonChecked(Handle(), IDC_CF_INITCHANGE) == BST_CHECKED;
    c.m_nKeepBitmapSize = static_cast<int32_t>(SendDlgItemMessageA(Handle(), IDC_CF_BITMAPSIZE, CB_GETCURSEL, 0, 0));
    c.m_bControlBar = IsDlgButtonChecked(Handle(), IDC_CF_CONTROLBAR) == BST_CHECKED;
    if (c.m_nTitleDispPos < 0) c.m_nTitleDispPos = 0;
    if (c.m_nKeepBitmapSize < 0) c.m_nKeepBitmapSize = 0;
    return true;
}

void ConfigDialog::ChooseSavePath() {
    const std::string chosen = AskFileName(Handle(), kFilter, "ini", ItemText(Handle(), IDC_CF_PATH), true);
    if (chosen.empty()) return;
    SetDlgItemTextA(Handle(), IDC_CF_PATH, chosen.c_str());
    SetChanged();
}

void ConfigDialog::ChooseColour() {
    CHOOSECOLORA dialog{};
    dialog.lStructSize = sizeof dialog;
    dialog.hwndOwner = Handle();
    dialog.rgbResult = m_configuration.controller->m_crLogoColor;
    dialog.lpCustColors = m_customColours;
    dialog.Flags = CC_FULLOPEN | CC_ANYCOLOR | CC_RGBINIT;
    if (!ChooseColorA(&dialog)) return;
    m_configuration.controller->m_crLogoColor = dialog.rgbResult;
    m_swatch.Reset(CreateSolidBrush(dialog.rgbResult));
    InvalidateRect(GetDlgItem(Handle(), IDC_CF_COLOR_SWATCH), nullptr, TRUE);
    SetChanged();
}

void ConfigDialog::ChooseSoundFile() {
    const std::string chosen = AskFileName(Handle(), kWavFilter, "wav", ItemText(Handle(), IDC_CF_WAVFILE), false);
    if (chosen.empty()) return;
    SetDlgItemTextA(Handle(), IDC_CF_WAVFILE, chosen.c_str());
    SetChanged();
}

void ConfigDialog::LoadOther() {
    if (!Collect()) return;
    if (m_changed && Ask(kDiscardQuestion, MB_YESNO | MB_ICONQUESTION | MB_DEFBUTTON2) != IDYES) return;
    const std::string chosen = AskFileName(Handle(), kFilter, "ini", ItemText(Handle(), IDC_CF_PATH), false);
    if (chosen.empty()) return;
    std::vector<std::string> told;
    Configuration loaded = LoadConfiguration(chosen.c_str(), &told);
    for (const std::string& text : told) Tell(text.c_str());
    if (!loaded.controller) {
        Tell(Formatted(kLoadFailed, chosen).c_str());
        return;
    }
    Tell(kLoaded);
    // The file to save stays the one the user named.
    const std::string path = ItemText(Handle(), IDC_CF_PATH);
    m_configuration = std::move(loaded);
    Fill();
    SetDlgItemTextA(Handle(), IDC_CF_PATH, path.c_str());
    m_changed = false;
}

bool ConfigDialog::Save() {
    if (!Collect()) return false;
    const std::string path = ItemText(Handle(), IDC_CF_PATH);
    if (!SaveFile(path, m_configuration)) {
        Tell(Formatted(kCannotCreate, path).c_str());
        return false;
    }
    SetButtons();
    m_changed = false;
    Tell(kSaved, MB_ICONINFORMATION);
    return true;
}

void ConfigDialog::AskToEnd() {
    if (m_changed) {
        switch (Ask(kEndQuestion, MB_YESNOCANCEL | MB_ICONQUESTION | MB_DEFBUTTON3)) {
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

void ConfigDialog::RestoreDefaults() {
    if (Ask(kDefaultsQuestion, MB_YESNO | MB_ICONQUESTION) != IDYES) return;
    AncestryController& c = *m_configuration.controller;
    for (int key : {AncestryController::kTitleDelay1, AncestryController::kTitleDelay2,
                    AncestryController::kTitleDelay3, AncestryController::kCheckIActive,
                    AncestryController::kInitChange, AncestryController::kKeepBitmapSize,
                    AncestryController::kWavFlag, AncestryController::kWavFile, AncestryController::kTitleDispPos})
        c.ResetKey(key);
    // Only the restored keys' controls: other edits on the dialog stay.
    m_filling = true;
    SetDlgItemInt(Handle(), IDC_CF_DELAY1, c.m_nTitleDelay1, FALSE);
    SetDlgItemInt(Handle(), IDC_CF_DELAY2, c.m_nTitleDelay2, FALSE);
    SetDlgItemInt(Handle(), IDC_CF_DELAY3, c.m_nTitleDelay3, FALSE);
    CheckDlgButton(Handle(), IDC_CF_CHECKACTIVE, c.m_bCheckIActive ? BST_CHECKED : BST_UNCHECKED);
    CheckDlgButton(Handle(), IDC_CF_INITCHANGE, c.m_bInitChange ? BST_CHECKED : BST_UNCHECKED);
    SendDlgItemMessageA(Handle(), IDC_CF_BITMAPSIZE, CB_SETCURSEL, c.m_nKeepBitmapSize, 0);
    CheckDlgButton(Handle(), IDC_CF_SOUND, c.m_bSoundOn ? BST_CHECKED : BST_UNCHECKED);
    SetDlgItemTextA(Handle(), IDC_CF_WAVFILE, c.m_strSoundFile.c_str());
    SendDlgItemMessageA(Handle(), IDC_CF_TITLEPOS, CB_SETCURSEL, c.m_nTitleDispPos, 0);
    m_filling = false;
    SetButtons();
    SetChanged();
}

void ConfigDialog::Restart() {
    if (m_daemonPath.empty()) {
        Tell(kNoDaemonBeside);
        return;
    }
    if (m_changed) {
        if (Ask(kSaveFirst, MB_YESNO) != IDYES || !Save()) return;
    }
    if (HWND daemon = FindDaemonWindow(DaemonWindow::kThread)) {
        std::string own;
        if (!ThreadDesktopName(&own)) {
            Tell(kNoDesktopName);
            return;
        }
        if (own != kDefaultDesktop) {
            // Only the login desktop outlives the daemon's end.
            if (Ask(kSwitchToDefault, MB_YESNO) == IDYES) {
                SendRequest(daemon, kCommandTextRequest, static_cast<LPARAM>(PackCommandText("HC")));
                End(0);
            }
            return;
        }
        if (Ask(kRestartQuestion, MB_YESNO) != IDYES) return;
        SendRequest(daemon, kCommandTextRequest, static_cast<LPARAM>(PackCommandText("X")));
        Sleep(2000);
        for (int look = 0; look < 30; ++look) {
            if (!FindDaemonWindow(DaemonWindow::kThread)) {
                Sleep(500);
                break;
            }
            Sleep(1000);
        }
    }
    StartOnParameterFile(Handle(), m_daemonPath, ItemText(Handle(), IDC_CF_PATH));
}

void ConfigDialog::AddDesktop() {
    std::unique_ptr<AncestryDesktop> desktop = DefaultDesktop();
    DesktopDialog dialog(*desktop, DesktopDialog::Mode::kAdd);
    if (dialog.DoModal(m_instance, IDD_DESKTOP, Handle()) != IDOK) return;
    m_configuration.controller->AddChild(desktop.release());
    FillList({Desktops().size() - 1});
    SetChanged();
}

void ConfigDialog::EditDesktop(bool captureAtOnce) {
    const std::vector<size_t> selected = SelectedRows();
    if (selected.size() != 1) return;
    DesktopDialog dialog(*Desktops()[selected.front()], DesktopDialog::Mode::kEdit, captureAtOnce);
    dialog.DoModal(m_instance, IDD_DESKTOP, Handle());
    // The dialog changes the record as the user goes.
    FillList(selected);
    SetChanged();
}

void ConfigDialog::DeleteDesktops() {
    const std::vector<size_t> selected = SelectedRows();
    if (selected.empty()) return;
    const std::vector<AncestryDesktop*> desktops = Desktops();
    for (size_t row : selected) m_configuration.controller->RemoveChild(desktops[row]);
    const size_t remaining = desktops.size() - selected.size();
    // One row deleted: the row that took its place is selected.
    std::vector<size_t> next;
    if (selected.size() == 1 && remaining > 0) next.push_back(std::min(selected.front(), remaining - 1));
    FillList(next);
    SetChanged();
}

void ConfigDialog::MoveDesktops(MoveDirection direction) {
    std::vector<AncestryDesktop*> desktops = Desktops();
    const ListMove move = PlanRowMove(desktops.size(), SelectedRows(), direction);
    if (!move.changed) return;
    ApplyOrder(desktops, move.order);
    auto& ring = m_configuration.controller->Desktops();
    for (AncestryDesktop* desktop : desktops) ring.Remove(desktop);
    for (AncestryDesktop* desktop : desktops) ring.Append(desktop);
    FillList(move.selected);
    SetChanged();
}

void ConfigDialog::SelectAll(bool selected) {
    ListView_SetItemState(GetDlgItem(Handle(), IDC_CF_LIST), -1, selected ? LVIS_SELECTED : 0, LVIS_SELECTED);
}

void ConfigDialog::ShowListMenu(LPARAM where) {
    UniqueMenu menu(LoadMenuA(m_instance, MAKEINTRESOURCEA(IDR_CONFIG_LIST_MENU)));
    if (!menu) return;
    POINT point{static_cast<short>(LOWORD(where)), static_cast<short>(HIWORD(where))};
    TrackPopupMenu(GetSubMenu(menu.Get(), 0), TPM_LEFTALIGN | TPM_RIGHTBUTTON, point.x, point.y, 0, Handle(), nullptr);
}

BOOL ConfigDialog::OnCommand(WORD id, WORD code, HWND) {
    switch (id) {
    case IDC_CF_TITLE:
    case IDC_CF_DELAY1:
    case IDC_CF_DELAY2:
    case IDC_CF_DELAY3:
        if (code == EN_CHANGE && !m_filling) SetChanged();
        return TRUE;
    case IDC_CF_PATH:
        if (code == EN_CHANGE) SetButtons();
        return TRUE;
    case IDC_CF_SOUND:
        if (!m_filling) SetChanged();
        SetButtons();
        return TRUE;
    case IDC_CF_CHECKACTIVE:
    case IDC_CF_INITCHANGE:
    case IDC_CF_REDRAW:
    case IDC_CF_EXISTSOPEN:
        if (!m_filling) SetChanged();
        return TRUE;
    case IDC_CF_BITMAPSIZE:
        if (code == CBN_SELCHANGE && !m_filling) SetChanged();
        return TRUE;
    case IDC_CF_BROWSE: ChooseSavePath(); return TRUE;
    case IDC_CF_COLOR: ChooseColour(); return TRUE;
    case IDC_CF_WAVBROWSE: ChooseSoundFile(); return TRUE;
    case IDC_CF_ADD: AddDesktop(); return TRUE;
    case IDOK:
    case IDC_CF_UPDATE:
    case ID_CF_EDIT: EditDesktop(); return TRUE;
    case IDC_CF_DELETE: DeleteDesktops(); return TRUE;
    case IDC_CF_UP:
    case ID_CF_MOVEUP: MoveDesktops(MoveDirection::kUp); return TRUE;
    case IDC_CF_DOWN:
    case ID_CF_MOVEDOWN: MoveDesktops(MoveDirection::kDown); return TRUE;
    case IDC_CF_DEFAULTS: RestoreDefaults(); return TRUE;
    case IDC_CF_HOTKEYS: {
        AncestryController& c = *m_configuration.controller;
        ControllerKeysDialog::Words words{};
        for (size_t tab = 0; tab < words.size(); ++tab) words[tab] = c.HotKeyWord(static_cast<int>(tab));
        std::vector<uint32_t> desktopKeys;
        for (const AncestryDesktop* desktop : Desktops()) desktopKeys.push_back(desktop->m_dwHotKey);
        ControllerKeysDialog dialog(words, std::move(desktopKeys));
        if (!dialog.Edit(m_instance, Handle())) return TRUE;
        for (size_t tab = 0; tab < words.size(); ++tab) c.HotKeyWord(static_cast<int>(tab)) = dialog.EditedWords()[tab];
        SetChanged();
        // A changed word can give or take a desktop's "×".
        FillList(SelectedRows());
        return TRUE;
    }
    case ID_CF_LOAD: LoadOther(); return TRUE;
    case ID_CF_SAVE: Save(); return TRUE;
    case ID_CF_EXIT:
    case IDCANCEL: AskToEnd(); return TRUE;
    case ID_CF_DESELECT: SelectAll(false); return TRUE;
    case ID_CF_SELECTALL: SelectAll(true); return TRUE;
    case ID_CF_RESTART: Restart(); return TRUE;
    case ID_CF_HELP: ShowHelpTopic(Handle(), "/Quorvel4.htm", kCaption); return TRUE;
    case ID_CF_ABOUT: Dialog().DoModal(m_instance, IDD_CONFIG_ABOUT, Handle()); return TRUE;
    default: return TRUE;
    }
}

BOOL ConfigDialog::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_CTLCOLORSTATIC:
        if (reinterpret_cast<HWND>(lParam) != GetDlgItem(Handle(), IDC_CF_COLOR_SWATCH) || !m_swatch) return FALSE;
        return static_cast<BOOL>(reinterpret_cast<INT_PTR>(m_swatch.Get()));
    case WM_NOTIFY: {
        const NMHDR* header = reinterpret_cast<const NMHDR*>(lParam);
        if (header->idFrom == IDC_CF_LIST && header->code == LVN_ITEMCHANGED && !m_filling) SetButtons();
        if (header->idFrom == IDC_CF_LIST && header->code == NM_DBLCLK) EditDesktop();
        return FALSE;
    }
    case WM_CONTEXTMENU:
        if (reinterpret_cast<HWND>(wParam) == GetDlgItem(Handle(), IDC_CF_LIST)) ShowListMenu(lParam);
        return TRUE;
    case WM_CLOSE:
        AskToEnd();
        return TRUE;
    case kEditOwnDesktopMessage:
        EditDesktop(m_command.captureAtOnce);
        return TRUE;
    case WM_DESTROY:
        PostQuitMessage(0);
        return FALSE;
    default:
        return FALSE;
    }
}

}  // namespace qv::config

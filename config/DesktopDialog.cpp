#include "DesktopDialog.h"

#include <commctrl.h>
#include <commdlg.h>

#include <cstdio>
#include <string>

#include "CaptureDialog.h"
#include "DesktopDialogsRes.h"
#include "DesktopRules.h"
#include "DialogFiles.h"
#include "DisplayModeDialog.h"
#include "HotKeyDialogs.h"
#include "KeyNames.h"
#include "PathText.h"
#include "TestRun.h"

namespace qv::config {

namespace {

inline constexpr char kCaption[] = "QVConfig";
inline constexpr char kWallpaperFilter[] = "ﾋﾞｯﾄﾏｯﾌﾟ(*.bmp)\0*.bmp\0すべて(*.*)\0*.*\0";
inline constexpr char kSoundFilter[] = "WAVﾌｧｲﾙ(*.wav)\0*.wav\0すべて(*.*)\0*.*\0";
inline constexpr char kExitCodeRange[] = "0 から 255 までの整数を入力してください.";
inline constexpr char kDelayRange[] = "0 から 9999 までの整数を入力してください.";
inline constexpr COLORREF kDefaultTitleColour = 0x000FE80F;
inline constexpr char kNoProcessApi[] = "PSAPI.DLLの初期化に失敗しました";
// Posted to itself once shown, for a capture asked for at the start.
inline constexpr UINT kCaptureAtOnceMessage = WM_APP + 2;
inline constexpr const char* kPages[] = {"表示属性", "終了処理"};
inline constexpr const char* kPresets[] = {"ﾌﾟﾛｾｽを残す", "一般ﾌﾟﾛｾｽ終了", "全部終了する", "自由に設定する"};

// The controls of each page, shown only while it is.
inline constexpr int kDisplayPage[] = {IDC_DT_NAME_GROUP, IDC_DT_NAME,       IDC_DT_COLOR_SWATCH,
                                       IDC_DT_COLOR,      IDC_DT_WALLPAPER_ON, IDC_DT_WALLPAPER,
                                       IDC_DT_WALLPAPER_BROWSE, IDC_DT_SOUND_ON, IDC_DT_SOUND,
                                       IDC_DT_SOUND_BROWSE, IDC_DT_DISPLAY_ON, IDC_DT_DISPLAY,
                                       IDC_DT_DISPLAY_SET, IDC_DT_HOTKEY_SET, IDC_DT_HOTKEY};
inline constexpr int kClosePage[] = {IDC_DT_CLOSE_GROUP, IDC_DT_PRESET_LABEL, IDC_DT_PRESET, IDC_DT_EXITCODE_LABEL,
                                     IDC_DT_EXITCODE, IDC_DT_DELAY_LABEL, IDC_DT_DELAY, IDC_DT_CANCELOK,
                                     IDC_DT_KINDS_LABEL, IDC_DT_KINDS, IDC_DT_ACTION_FIRST, IDC_DT_ACTION_FIRST + 1,
                                     IDC_DT_ACTION_FIRST + 2, IDC_DT_ACTION_FIRST + 3, IDC_DT_ACTION_LAST};

void SetTabText(HWND tabs, int index, const std::string& text) {
    TCITEMA item{};
    item.mask = TCIF_TEXT;
    item.pszText = const_cast<char*>(text.c_str());
    SendMessageA(tabs, TCM_SETITEMA, index, reinterpret_cast<LPARAM>(&item));
}

void InsertTab(HWND tabs, int index, const std::string& text) {
    TCITEMA item{};
    item.mask = TCIF_TEXT;
    item.pszText = const_cast<char*>(text.c_str());
    SendMessageA(tabs, TCM_INSERTITEMA, index, reinterpret_cast<LPARAM>(&item));
}

}  // namespace

BOOL DesktopDialog::OnInit() {
    m_captureOptions = kCaptureDefaults;
    for (COLORREF& colour : m_customColours) colour = RGB(255, 255, 255);
    m_customColours[15] = kDefaultTitleColour;
    m_filling = true;
    if (m_mode == Mode::kEdit) {
        // Edits go into the record at once: there is nothing to cancel.
        ShowWindow(GetDlgItem(Handle(), IDCANCEL), SW_HIDE);
        SetDlgItemTextA(Handle(), IDOK, "閉じる");
    }
    HWND pages = GetDlgItem(Handle(), IDC_DT_PAGES);
    for (int page = 0; page < 2; ++page) InsertTab(pages, page, kPages[page]);
    HWND kinds = GetDlgItem(Handle(), IDC_DT_KINDS);
    for (int kind = 0; kind < kCloseKinds; ++kind) InsertTab(kinds, kind, CloseTabLabel(m_desktop.m_dwExitOptions, kind));

    SetDlgItemTextA(Handle(), IDC_DT_NAME, m_desktop.m_strTitle.c_str());
    m_swatch.Reset(CreateSolidBrush(m_desktop.m_crTitleColor));
    CheckDlgButton(Handle(), IDC_DT_WALLPAPER_ON, m_desktop.m_bChgWallpaper ? BST_CHECKED : BST_UNCHECKED);
    SetDlgItemTextA(Handle(), IDC_DT_WALLPAPER, m_desktop.m_strWallpaper.c_str());
    CheckDlgButton(Handle(), IDC_DT_SOUND_ON, m_desktop.m_bSoundOn ? BST_CHECKED : BST_UNCHECKED);
    SetDlgItemTextA(Handle(), IDC_DT_SOUND, m_desktop.m_strSoundFile.c_str());
    CheckDlgButton(Handle(), IDC_DT_DISPLAY_ON, m_desktop.m_bChgDisplay ? BST_CHECKED : BST_UNCHECKED);
    ShowDisplayMode();
    SetDlgItemTextA(Handle(), IDC_DT_HOTKEY, HotKeyName(m_desktop.m_dwHotKey).c_str());

    HWND presets = GetDlgItem(Handle(), IDC_DT_PRESET);
    for (const char* preset : kPresets) SendMessageA(presets, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(preset));
    SendMessageA(presets, CB_SETCURSEL, static_cast<WPARAM>(PresetOf(m_desktop.m_dwExitOptions)), 0);
    SetDlgItemInt(Handle(), IDC_DT_EXITCODE, m_desktop.m_dwExitOptions & 0xFF, FALSE);
    SetDlgItemInt(Handle(), IDC_DT_DELAY, m_desktop.m_nShellCloseDelay, FALSE);
    CheckDlgButton(Handle(), IDC_DT_CANCELOK, m_desktop.m_nExitCancelOK ? BST_CHECKED : BST_UNCHECKED);

    m_programs.Attach(Handle());
    ShowKind();
    ShowPage(0);
    m_filling = false;
    SetEnabling();
    if (!BoundProcessApi().GetModuleFileNameExA) {
        // Without the module query a capture could name no program.
        EnableWindow(GetDlgItem(Handle(), IDC_DT_CAPTURE), FALSE);
        EnableWindow(GetDlgItem(Handle(), IDC_DT_TEST), FALSE);
        m_captureAtOnce = false;
        MessageBoxA(Handle(), kNoProcessApi, kCaption, MB_OK);
    }
    if (m_captureAtOnce) PostMessageA(Handle(), kCaptureAtOnceMessage, 0, 0);
    return TRUE;
}

void DesktopDialog::ShowPage(int page) {
    m_page = page;
    for (int id : kDisplayPage) ShowWindow(GetDlgItem(Handle(), id), page == 0 ? SW_SHOW : SW_HIDE);
    for (int id : kClosePage) ShowWindow(GetDlgItem(Handle(), id), page == 1 ? SW_SHOW : SW_HIDE);
    TabCtrl_SetCurSel(GetDlgItem(Handle(), IDC_DT_PAGES), page);
}

void DesktopDialog::SetEnabling() {
    auto enable = [this](int id, bool on) { EnableWindow(GetDlgItem(Handle(), id), on); };
    const bool wallpaper = IsDlgButtonChecked(Handle(), IDC_DT_WALLPAPER_ON) == BST_CHECKED;
    enable(IDC_DT_WALLPAPER, wallpaper);
    enable(IDC_DT_WALLPAPER_BROWSE, wallpaper);
    const bool sound = IsDlgButtonChecked(Handle(), IDC_DT_SOUND_ON) == BST_CHECKED;
    enable(IDC_DT_SOUND, sound);
    enable(IDC_DT_SOUND_BROWSE, sound);
    enable(IDC_DT_DISPLAY_SET, IsDlgButtonChecked(Handle(), IDC_DT_DISPLAY_ON) == BST_CHECKED);
    const ClosePreset preset =
        static_cast<ClosePreset>(SendDlgItemMessageA(Handle(), IDC_DT_PRESET, CB_GETCURSEL, 0, 0));
    const ClosePage page = PageOf(preset);
    for (int id : {IDC_DT_EXITCODE, IDC_DT_DELAY, IDC_DT_CANCELOK}) enable(id, page.exitCode);
    enable(IDC_DT_KINDS, page.actions);
    for (int id = IDC_DT_ACTION_FIRST; id <= IDC_DT_ACTION_LAST; ++id) enable(id, page.actions);
    m_programs.SetEnabling();
}

DisplayMode DesktopDialog::StoredMode() const {
    return DisplayMode{m_desktop.m_nBitsPerPel, m_desktop.m_nPelsWidth, m_desktop.m_nPelsHeight,
                       m_desktop.m_nFrequency};
}

void DesktopDialog::ShowDisplayMode() {
    SetDlgItemTextA(Handle(), IDC_DT_DISPLAY, DisplayModeText(StoredMode()).c_str());
}

void DesktopDialog::ChooseDisplayMode() {
    DisplayModeDialog dialog(StoredMode());
    if (dialog.DoModal(GetModuleHandleA(nullptr), IDD_DISPLAY_MODE, Handle()) != IDOK) return;
    const DisplayMode& mode = dialog.Mode();
    m_desktop.m_nBitsPerPel = mode.bitsPerPel;
    m_desktop.m_nPelsWidth = mode.width;
    m_desktop.m_nPelsHeight = mode.height;
    m_desktop.m_nFrequency = mode.frequency;
    ShowDisplayMode();
}

void DesktopDialog::ShowKind() {
    const int kind = TabCtrl_GetCurSel(GetDlgItem(Handle(), IDC_DT_KINDS));
    const uint32_t actions = ActionsOf(m_desktop.m_dwExitOptions, kind < 0 ? 0 : kind);
    const bool filling = m_filling;
    m_filling = true;
    for (int bit = 0; bit <= IDC_DT_ACTION_LAST - IDC_DT_ACTION_FIRST; ++bit)
        CheckDlgButton(Handle(), IDC_DT_ACTION_FIRST + bit, (actions >> bit) & 1 ? BST_CHECKED : BST_UNCHECKED);
    m_filling = filling;
}

void DesktopDialog::ShowKindLabels() {
    HWND kinds = GetDlgItem(Handle(), IDC_DT_KINDS);
    for (int kind = 0; kind < kCloseKinds; ++kind) SetTabText(kinds, kind, CloseTabLabel(m_desktop.m_dwExitOptions, kind));
}

void DesktopDialog::ChoosePreset() {
    const ClosePreset preset =
        static_cast<ClosePreset>(SendDlgItemMessageA(Handle(), IDC_DT_PRESET, CB_GETCURSEL, 0, 0));
    m_desktop.m_dwExitOptions = WordOf(preset, m_desktop.m_dwExitOptions);
    if (preset == ClosePreset::kKeepProcesses) {
        m_desktop.m_nExitCancelOK = 0;
        CheckDlgButton(Handle(), IDC_DT_CANCELOK, BST_UNCHECKED);
    }
    m_filling = true;
    SetDlgItemInt(Handle(), IDC_DT_EXITCODE, m_desktop.m_dwExitOptions & 0xFF, FALSE);
    m_filling = false;
    ShowKind();
    ShowKindLabels();
    SetEnabling();
}

void DesktopDialog::ToggleAction(int bit, bool ticked) {
    const int kind = TabCtrl_GetCurSel(GetDlgItem(Handle(), IDC_DT_KINDS));
    if (kind < 0) return;
    m_desktop.m_dwExitOptions = WithAction(m_desktop.m_dwExitOptions, kind, 1u << bit, ticked);
    ShowKindLabels();
}

void DesktopDialog::ChooseColour() {
    CHOOSECOLORA dialog{};
    dialog.lStructSize = sizeof dialog;
    dialog.hwndOwner = Handle();
    dialog.rgbResult = m_desktop.m_crTitleColor;
    dialog.lpCustColors = m_customColours;
    dialog.Flags = CC_FULLOPEN | CC_ANYCOLOR | CC_RGBINIT;
    if (!ChooseColorA(&dialog)) return;
    m_desktop.m_crTitleColor = dialog.rgbResult;
    m_swatch.Reset(CreateSolidBrush(dialog.rgbResult));
    InvalidateRect(GetDlgItem(Handle(), IDC_DT_COLOR_SWATCH), nullptr, TRUE);
}

void DesktopDialog::ChooseHotKey() {
    // A desktop has no key until one is given: the defaults button clears it.
    OneKeyDialog dialog(m_desktop.m_dwHotKey, 0);
    if (!dialog.Edit(GetModuleHandleA(nullptr), Handle())) return;
    m_desktop.m_dwHotKey = dialog.EditedWord();
    SetDlgItemTextA(Handle(), IDC_DT_HOTKEY, HotKeyName(m_desktop.m_dwHotKey).c_str());
}

void DesktopDialog::ChooseFile(int edit, const char* filter, const char* extension) {
    const std::string chosen = AskFileName(Handle(), filter, extension, ItemText(Handle(), edit), false);
    if (!chosen.empty()) SetDlgItemTextA(Handle(), edit, chosen.c_str());
}

bool DesktopDialog::Store() {
    BOOL read = FALSE;
    const UINT exitCode = GetDlgItemInt(Handle(), IDC_DT_EXITCODE, &read, FALSE);
    if (!read || exitCode > 255) {
        ShowPage(1);
        MessageBoxA(Handle(), kExitCodeRange, kCaption, MB_OK | MB_ICONEXCLAMATION);
        SetFocus(GetDlgItem(Handle(), IDC_DT_EXITCODE));
        return false;
    }
    const UINT delay = GetDlgItemInt(Handle(), IDC_DT_DELAY, &read, FALSE);
    if (!read || delay > 9999) {
        ShowPage(1);
        MessageBoxA(Handle(), kDelayRange, kCaption, MB_OK | MB_ICONEXCLAMATION);
        SetFocus(GetDlgItem(Handle(), IDC_DT_DELAY));
        return false;
    }
    m_desktop.m_strTitle.Assign(ItemText(Handle(), IDC_DT_NAME).c_str());
    m_desktop.m_bChgWallpaper = IsDlgButtonChecked(Handle(), IDC_DT_WALLPAPER_ON) == BST_CHECKED;
    m_desktop.m_strWallpaper.Assign(ItemText(Handle(), IDC_DT_WALLPAPER).c_str());
    m_desktop.m_bChgDisplay = IsDlgButtonChecked(Handle(), IDC_DT_DISPLAY_ON) == BST_CHECKED;
    m_desktop.m_bSoundOn = IsDlgButtonChecked(Handle(), IDC_DT_SOUND_ON) == BST_CHECKED;
    m_desktop.m_strSoundFile.Assign(ItemText(Handle(), IDC_DT_SOUND).c_str());
    m_desktop.m_dwExitOptions = (m_desktop.m_dwExitOptions & ~0xFFu) | exitCode;
    m_desktop.m_nShellCloseDelay = static_cast<int32_t>(delay);
    return true;
}

void DesktopDialog::TakeCaptured(std::vector<std::unique_ptr<Executant>> captured) {
    const std::string told = MergeCaptured(m_desktop.Executants(), std::move(captured), m_captureOptions);
    m_programs.Fill({});
    MessageBoxA(Handle(), told.c_str(), kCaption, MB_OK);
}

void DesktopDialog::Capture() {
    CaptureDialog dialog(m_captureOptions);
    const INT_PTR choice = dialog.DoModal(GetModuleHandleA(nullptr), IDD_CAPTURE, Handle());
    if (choice != CaptureDialog::kAll && choice != CaptureDialog::kMouse) return;
    m_captureOptions = dialog.Options();
    if (choice == CaptureDialog::kAll) {
        std::vector<std::unique_ptr<Executant>> captured = CaptureAll(m_captureOptions);
        if (captured.empty()) {
            MessageBoxA(Handle(), kNoneCaptured, kCaption, MB_OK);
            return;
        }
        TakeCaptured(std::move(captured));
        return;
    }
    ShowWindow(Handle(), SW_HIDE);
    m_picker.Start(Handle());
}

void DesktopDialog::TakePicked(HWND window) {
    std::string refusal;
    std::unique_ptr<Executant> entry = EntryFromWindow(window, m_captureOptions, &refusal);
    if (!entry) {
        if (!refusal.empty()) MessageBoxA(Handle(), refusal.c_str(), kCaption, MB_OK);
        return;
    }
    std::vector<std::unique_ptr<Executant>> captured;
    captured.push_back(std::move(entry));
    TakeCaptured(std::move(captured));
}

BOOL DesktopDialog::OnCommand(WORD id, WORD code, HWND control) {
    switch (id) {
    case IDOK:
        if (Store()) End(IDOK);
        return TRUE;
    case IDC_DT_WALLPAPER_ON:
    case IDC_DT_SOUND_ON:
    case IDC_DT_DISPLAY_ON:
        SetEnabling();
        return TRUE;
    case IDC_DT_COLOR: ChooseColour(); return TRUE;
    case IDC_DT_HOTKEY_SET: ChooseHotKey(); return TRUE;
    case IDC_DT_WALLPAPER_BROWSE: ChooseFile(IDC_DT_WALLPAPER, kWallpaperFilter, "bmp"); return TRUE;
    case IDC_DT_SOUND_BROWSE: ChooseFile(IDC_DT_SOUND, kSoundFilter, "wav"); return TRUE;
    case IDC_DT_PRESET:
        if (code == CBN_SELCHANGE) ChoosePreset();
        return TRUE;
    case IDC_DT_CANCELOK:
        m_desktop.m_nExitCancelOK = IsDlgButtonChecked(Handle(), IDC_DT_CANCELOK) == BST_CHECKED ? 1 : 0;
        return TRUE;
    case IDC_DT_CAPTURE: Capture(); return TRUE;
    case IDC_DT_DISPLAY_SET: ChooseDisplayMode(); return TRUE;
    case IDC_DT_TEST: RunTest(Handle(), GetWindow(Handle(), GW_OWNER), m_desktop.Executants()); return TRUE;
    default:
        if (m_programs.OnCommand(id)) return TRUE;
        if (id >= IDC_DT_ACTION_FIRST && id <= IDC_DT_ACTION_LAST && !m_filling) {
            ToggleAction(id - IDC_DT_ACTION_FIRST, IsDlgButtonChecked(Handle(), id) == BST_CHECKED);
            return TRUE;
        }
        return Dialog::OnCommand(id, code, control);
    }
}

BOOL DesktopDialog::HandleMessage(UINT message, WPARAM, LPARAM lParam) {
    switch (message) {
    case kCaptureAtOnceMessage:
        // The modal loop shows a dialog once its queue is empty, which this
        // message was not: shown now, it stands behind the capture's options.
        ShowWindow(Handle(), SW_SHOW);
        Capture();
        return TRUE;
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_CAPTURECHANGED: {
        HWND picked = nullptr;
        std::string failure;
        const WindowPicker::Result result = m_picker.OnMessage(message, &picked, &failure);
        if (result == WindowPicker::Result::kNotPicking) return FALSE;
        // The window under the cursor was read while the dialog was hidden.
        ShowWindow(Handle(), SW_SHOW);
        if (result == WindowPicker::Result::kFailed) MessageBoxA(Handle(), failure.c_str(), kCaption, MB_OK);
        if (result == WindowPicker::Result::kPicked) TakePicked(picked);
        return TRUE;
    }
    case WM_CTLCOLORSTATIC:
        if (reinterpret_cast<HWND>(lParam) != GetDlgItem(Handle(), IDC_DT_COLOR_SWATCH) || !m_swatch) return FALSE;
        return static_cast<BOOL>(reinterpret_cast<INT_PTR>(m_swatch.Get()));
    case WM_NOTIFY: {
        const NMHDR* header = reinterpret_cast<const NMHDR*>(lParam);
        if (header->idFrom == IDC_DT_PAGES && header->code == TCN_SELCHANGE)
            ShowPage(TabCtrl_GetCurSel(header->hwndFrom));
        else if (header->idFrom == IDC_DT_KINDS && header->code == TCN_SELCHANGE)
            ShowKind();
        else
            m_programs.OnNotify(*header);
        return FALSE;
    }
    default:
        return FALSE;
    }
}

}  // namespace qv::config

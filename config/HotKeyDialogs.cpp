#include "HotKeyDialogs.h"

#include <commctrl.h>

#include <string>

#include "AncestryController.h"
#include "Convert.h"
#include "HotKeyDialogsRes.h"
#include "KeyNames.h"
#include "PathText.h"

namespace qv::config {

namespace {

inline constexpr char kDefaultsQuestion[] = "デフォルト値に戻しますか?";
inline constexpr int kOneKeyId = 1;

struct ModifierBox {
    int id;
    uint32_t modifier;
};
inline constexpr ModifierBox kModifierBoxes[] = {
    {IDC_HK_ALT, kHotKeyAlt}, {IDC_HK_CTRL, kHotKeyControl}, {IDC_HK_SHIFT, kHotKeyShift}, {IDC_HK_WIN, kHotKeyWin}};

// The program's name, as the caption of its message boxes: the dialogs
// serve both configurators.
std::string ProgramTitle() {
    char path[MAX_PATH + 1] = "";
    const DWORD length = GetModuleFileNameA(nullptr, path, MAX_PATH);
    if (length == 0 || length >= MAX_PATH) return std::string();
    std::string name = FileNamePart(path);
    const size_t dot = name.rfind('.');
    if (dot != std::string::npos) name.resize(dot);
    return name;
}

// The daemon's own defaults, from the one table that holds them.
ControllerKeysDialog::Words DaemonDefaults() {
    const KeywordTable& keys = AncestryController::Keywords();
    ControllerKeysDialog::Words words{};
    for (size_t tab = 0; tab < words.size(); ++tab)
        words[tab] = ParseWord32(keys.DefaultText(AncestryController::kHotKeys[tab]));
    return words;
}

// The tab strip owns the test registrations, but a tab control has no use
// for their messages: they go on to the dialog.
LRESULT CALLBACK TabStripProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR id, DWORD_PTR) {
    if (message == WM_HOTKEY) {
        SendMessageA(GetParent(window), WM_HOTKEY, wParam, lParam);
        return 0;
    }
    if (message == WM_NCDESTROY) RemoveWindowSubclass(window, TabStripProcedure, id);
    return DefSubclassProc(window, message, wParam, lParam);
}

}  // namespace

void HotKeyEditor::Show() {
    const uint32_t word = Word();
    SetDlgItemTextA(Handle(), IDC_HK_KEYNAME, HotKeyText(word).c_str());
    const bool sensing = Sensing();
    const bool modifiers = !sensing && ModifiersUsable();
    for (const ModifierBox& box : kModifierBoxes) {
        CheckDlgButton(Handle(), box.id, (HotKeyModifiers(word) & box.modifier) ? BST_CHECKED : BST_UNCHECKED);
        EnableWindow(GetDlgItem(Handle(), box.id), modifiers);
    }
    CheckDlgButton(Handle(), IDC_HK_SENSE, sensing ? BST_CHECKED : BST_UNCHECKED);
    EnableWindow(GetDlgItem(Handle(), IDOK), !sensing);
    EnableWindow(GetDlgItem(Handle(), IDC_HK_CLEAR), !sensing);
    LockWhileSensing(sensing);
}

void HotKeyEditor::Sense(bool on) {
    if (on && !m_sensor) {
        m_sensor = std::make_unique<KeySensor>(Handle(), static_cast<KeySensor::Target&>(*this));
        // Without the hook no key could be taken: the button pops back up.
        if (!*m_sensor) m_sensor.reset();
    } else if (!on) {
        m_sensor.reset();
    }
    Show();
}

void HotKeyEditor::Change(uint32_t word) {
    StoreWord(word);
    Show();
}

bool HotKeyEditor::OnKeyDown(UINT code) {
    const SensedKey sensed = SenseKey(Word(), code);
    if (!sensed.taken) return false;
    m_sensor.reset();
    Change(sensed.word);
    return true;
}

BOOL HotKeyEditor::OnCommand(WORD id, WORD code, HWND control) {
    if (code != BN_CLICKED) return FALSE;
    for (const ModifierBox& box : kModifierBoxes) {
        if (id != box.id) continue;
        Change(WithModifier(Word(), box.modifier, IsDlgButtonChecked(Handle(), id) == BST_CHECKED));
        return TRUE;
    }
    switch (id) {
    case IDC_HK_SENSE:
        Sense(IsDlgButtonChecked(Handle(), IDC_HK_SENSE) == BST_CHECKED);
        return TRUE;
    case IDC_HK_CLEAR:
        Change(0);
        return TRUE;
    case IDC_HK_DEFAULT:
        if (MessageBoxA(Handle(), kDefaultsQuestion, ProgramTitle().c_str(), MB_YESNO | MB_ICONQUESTION) == IDYES) {
            RestoreDefaults();
            Show();
        }
        return TRUE;
    case IDOK:
    case IDCANCEL:
        Sense(false);
        return Dialog::OnCommand(id, code, control);
    default:
        return FALSE;
    }
}

BOOL HotKeyEditor::HandleMessage(UINT message, WPARAM, LPARAM) {
    if (message == WM_DESTROY) m_sensor.reset();
    return FALSE;
}

bool ControllerKeysDialog::Edit(HINSTANCE instance, HWND owner) {
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_TAB_CLASSES};
    InitCommonControlsEx(&controls);
    return DoModal(instance, IDD_HOTKEY_CONTROLLER, owner) == IDOK;
}

HWND ControllerKeysDialog::Tabs() const { return GetDlgItem(Handle(), IDC_HK_TABS); }

BOOL ControllerKeysDialog::OnInit() {
    HWND tabs = Tabs();
    for (size_t tab = 0; tab < kHotKeyTabCount; ++tab) {
        const std::string label = HotKeyTabLabel(m_words, tab, m_desktopKeys);
        TCITEMA item{};
        item.mask = TCIF_TEXT;
        item.pszText = const_cast<char*>(label.c_str());
        SendMessageA(tabs, TCM_INSERTITEMA, tab, reinterpret_cast<LPARAM>(&item));
        Register(tab);
    }
    SetWindowSubclass(tabs, TabStripProcedure, 0, 0);
    Select(0);
    return TRUE;
}

void ControllerKeysDialog::Register(size_t tab) {
    // The old combination goes first: the new one may be the same.
    m_registrations[tab].Reset();
    m_registrations[tab] = HotKeyRegistration(Tabs(), static_cast<int>(tab) + 1, m_words[tab]);
}

void ControllerKeysDialog::Label() {
    HWND tabs = Tabs();
    for (size_t tab = 0; tab < kHotKeyTabCount; ++tab) {
        const std::string label = HotKeyTabLabel(m_words, tab, m_desktopKeys);
        TCITEMA item{};
        item.mask = TCIF_TEXT;
        item.pszText = const_cast<char*>(label.c_str());
        SendMessageA(tabs, TCM_SETITEMA, tab, reinterpret_cast<LPARAM>(&item));
    }
}

void ControllerKeysDialog::Select(size_t tab) {
    m_tab = tab;
    SendMessageA(Tabs(), TCM_SETCURSEL, tab, 0);
    Show();
}

void ControllerKeysDialog::StoreWord(uint32_t word) {
    m_words[m_tab] = word;
    Register(m_tab);
    // A change of one word can give or take another tab's "×".
    Label();
}

void ControllerKeysDialog::RestoreDefaults() {
    m_words = DaemonDefaults();
    for (size_t tab = 0; tab < kHotKeyTabCount; ++tab) Register(tab);
    Label();
}

void ControllerKeysDialog::LockWhileSensing(bool sensing) { EnableWindow(Tabs(), !sensing); }

BOOL ControllerKeysDialog::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_NOTIFY: {
        const auto* header = reinterpret_cast<const NMHDR*>(lParam);
        if (header->idFrom != IDC_HK_TABS || header->code != TCN_SELCHANGE) return FALSE;
        const LRESULT tab = SendMessageA(Tabs(), TCM_GETCURSEL, 0, 0);
        if (tab >= 0 && tab < static_cast<LRESULT>(kHotKeyTabCount)) Select(static_cast<size_t>(tab));
        return TRUE;
    }
    case WM_HOTKEY:
        // While sensing, the tab whose word takes the key stays.
        if (wParam >= 1 && wParam <= kHotKeyTabCount && !Sensing()) Select(wParam - 1);
        return TRUE;
    case WM_DESTROY:
        // The tab strip still exists: its registrations go with it.
        for (HotKeyRegistration& registration : m_registrations) registration.Reset();
        return HotKeyEditor::HandleMessage(message, wParam, lParam);
    default:
        return HotKeyEditor::HandleMessage(message, wParam, lParam);
    }
}

bool OneKeyDialog::Edit(HINSTANCE instance, HWND owner) { return DoModal(instance, IDD_HOTKEY_ONE, owner) == IDOK; }

BOOL OneKeyDialog::OnInit() {
    m_registration = HotKeyRegistration(Handle(), kOneKeyId, m_word);
    Show();
    return TRUE;
}

void OneKeyDialog::StoreWord(uint32_t word) {
    m_word = word;
    m_registration.Reset();
    m_registration = HotKeyRegistration(Handle(), kOneKeyId, m_word);
}

BOOL OneKeyDialog::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_HOTKEY:
        if (wParam != kOneKeyId) return FALSE;
        CheckDlgButton(Handle(), IDC_HK_MARKER,
                       IsDlgButtonChecked(Handle(), IDC_HK_MARKER) == BST_CHECKED ? BST_UNCHECKED : BST_CHECKED);
        return TRUE;
    case WM_DESTROY:
        m_registration.Reset();
        return HotKeyEditor::HandleMessage(message, wParam, lParam);
    default:
        return HotKeyEditor::HandleMessage(message, wParam, lParam);
    }
}

}  // namespace qv::config

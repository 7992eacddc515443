#include "BarConfigDialogs.h"

#include <cstring>

#include "BarConfigRules.h"
#include "CaptureRules.h"
#include "DesktopDialogsRes.h"
#include "DialogFiles.h"
#include "PathText.h"
#include "QVBarConfigRes.h"
#include "RegistryText.h"
#include "TextString.h"

namespace qv::barconfig {

namespace {


// The radios in dialog order, and the kind each stands for.
inline constexpr PanelKind kKinds[] = {PanelKind::kProgramList, PanelKind::kQuickLaunch, PanelKind::kFolder,
                                       PanelKind::kUserFolder, PanelKind::kCommonFolder};

}  // namespace

BOOL MenuItemDialog::OnInit() {
    int radio = 2;
    for (int i = 0; i < 5; ++i)
        if (kKinds[i] == m_item.kind) radio = i;
    CheckRadioButton(Handle(), IDC_MI_KIND_FIRST, IDC_MI_KIND_LAST, IDC_MI_KIND_FIRST + radio);
    SetDlgItemTextA(Handle(), IDC_MI_FOLDER, m_item.startDirectory.c_str());
    SetDlgItemTextA(Handle(), IDC_MI_NAME, m_item.caption.c_str());
    ChooseKind(m_item.kind, true);
    return TRUE;
}

PanelKind MenuItemDialog::Kind() const {
    for (int i = 0; i < 5; ++i)
        if (IsDlgButtonChecked(Handle(), IDC_MI_KIND_FIRST + i) == BST_CHECKED) return kKinds[i];
    return PanelKind::kFolder;
}

void MenuItemDialog::ChooseKind(PanelKind kind, bool keepTexts) {
    const bool fixed = kind == PanelKind::kProgramList || kind == PanelKind::kQuickLaunch;
    if (!keepTexts) {
        const char* folder = kind == PanelKind::kProgramList ? "[Desktop_ID].ini"
                             : kind == PanelKind::kQuickLaunch ? "Quick Launch"
                                                               : "";
        const char* name = kind == PanelKind::kProgramList ? "Mendrelﾒﾆｭｰ"
                           : kind == PanelKind::kQuickLaunch ? "Quick Launch"
                                                             : "";
        SetDlgItemTextA(Handle(), IDC_MI_FOLDER, folder);
        SetDlgItemTextA(Handle(), IDC_MI_NAME, name);
    }
    // A registry key is chosen, never typed.
    const bool keyed = kind == PanelKind::kUserFolder || kind == PanelKind::kCommonFolder;
    EnableWindow(GetDlgItem(Handle(), IDC_MI_FOLDER), !fixed);
    SendDlgItemMessageA(Handle(), IDC_MI_FOLDER, EM_SETREADONLY, keyed, 0);
    EnableWindow(GetDlgItem(Handle(), IDC_MI_NAME), !fixed);
    EnableWindow(GetDlgItem(Handle(), IDC_MI_BROWSE), !fixed);
    SetEnabling();
}

void MenuItemDialog::SetEnabling() {
    const bool filled =
        !config::ItemText(Handle(), IDC_MI_FOLDER).empty() && !config::ItemText(Handle(), IDC_MI_NAME).empty();
    EnableWindow(GetDlgItem(Handle(), IDOK), filled);
}

void MenuItemDialog::Browse() {
    const PanelKind kind = Kind();
    if (kind == PanelKind::kFolder) {
        const std::string folder = config::AskFolder(Handle(), "パスの選択");
        if (!folder.empty()) SetDlgItemTextA(Handle(), IDC_MI_FOLDER, folder.c_str());
        return;
    }
    StandardMenuDialog chooser(kind == PanelKind::kCommonFolder);
    if (chooser.DoModal(GetModuleHandleA(nullptr), IDD_STANDARD_MENU, Handle()) != IDOK) return;
    SetDlgItemTextA(Handle(), IDC_MI_NAME, chooser.Label().c_str());
    SetDlgItemTextA(Handle(), IDC_MI_FOLDER, chooser.ValueName().c_str());
}

BOOL MenuItemDialog::OnCommand(WORD id, WORD code, HWND control) {
    if (id >= IDC_MI_KIND_FIRST && id <= IDC_MI_KIND_LAST) {
        if (code == BN_CLICKED) ChooseKind(Kind(), false);
        return TRUE;
    }
    switch (id) {
    case IDC_MI_FOLDER:
    case IDC_MI_NAME:
        if (code == EN_CHANGE) SetEnabling();
        return TRUE;
    case IDC_MI_BROWSE: Browse(); return TRUE;
    case IDOK:
        m_item.kind = Kind();
        m_item.startDirectory = config::ItemText(Handle(), IDC_MI_FOLDER);
        m_item.caption = config::ItemText(Handle(), IDC_MI_NAME);
        End(IDOK);
        return TRUE;
    default:
        return Dialog::OnCommand(id, code, control);
    }
}

BOOL StandardMenuDialog::OnInit() {
    HKEY key = nullptr;
    if (RegOpenKeyExA(m_common ? HKEY_LOCAL_MACHINE : HKEY_CURRENT_USER, kShellFoldersKey, 0, KEY_READ, &key) ==
        ERROR_SUCCESS) {
        for (DWORD index = 0;; ++index) {
            char name[256];
            DWORD nameLength = sizeof name;
            BYTE data[MAX_PATH * 2];
            DWORD dataLength = sizeof data;
            const LONG read = RegEnumValueA(key, index, name, &nameLength, nullptr, nullptr, data, &dataLength);
            if (read == ERROR_NO_MORE_ITEMS) break;
            if (read != ERROR_SUCCESS) continue;  // a value too long to be a folder
            const bool letter = (name[0] >= 'A' && name[0] <= 'Z') || (name[0] >= 'a' && name[0] <= 'z');
            if (!letter || dataLength <= 1 || data[0] == '\0') continue;
            m_values.emplace_back(name);
            SendDlgItemMessageA(Handle(), IDC_SM_LIST, LB_ADDSTRING, 0,
                                reinterpret_cast<LPARAM>(ShellFolderLabel(name).c_str()));
        }
        RegCloseKey(key);
    }
    EnableWindow(GetDlgItem(Handle(), IDOK), FALSE);
    return TRUE;
}

void StandardMenuDialog::Choose() {
    const LRESULT line = SendDlgItemMessageA(Handle(), IDC_SM_LIST, LB_GETCURSEL, 0, 0);
    if (line < 0 || static_cast<size_t>(line) >= m_values.size()) return;
    m_valueName = m_values[static_cast<size_t>(line)];
    m_label = ShellFolderLabel(m_valueName);
    End(IDOK);
}

BOOL StandardMenuDialog::OnCommand(WORD id, WORD code, HWND control) {
    if (id == IDOK) {
        Choose();
        return TRUE;
    }
    if (id == IDC_SM_LIST) {
        if (code == LBN_DBLCLK) Choose();
        if (code == LBN_SELCHANGE) EnableWindow(GetDlgItem(Handle(), IDOK), TRUE);
        return TRUE;
    }
    return Dialog::OnCommand(id, code, control);
}

BOOL ModuleListDialog::OnInit() {
    Show(m_modules);
    if (!BoundProcessApi().GetModuleFileNameExA) EnableWindow(GetDlgItem(Handle(), IDC_ML_CAPTURE), FALSE);
    return TRUE;
}

void ModuleListDialog::Show(const std::vector<std::string>& modules) {
    SendDlgItemMessageA(Handle(), IDC_ML_LIST, LB_RESETCONTENT, 0, 0);
    for (const std::string& module : modules)
        SendDlgItemMessageA(Handle(), IDC_ML_LIST, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(module.c_str()));
    SetEnabling();
}

std::vector<std::string> ModuleListDialog::Listed() const {
    HWND list = GetDlgItem(Handle(), IDC_ML_LIST);
    std::vector<std::string> listed;
    const int count = static_cast<int>(SendMessageA(list, LB_GETCOUNT, 0, 0));
    for (int line = 0; line < count; ++line) {
        std::string text(static_cast<size_t>(SendMessageA(list, LB_GETTEXTLEN, line, 0)) + 1, '\0');
        SendMessageA(list, LB_GETTEXT, line, reinterpret_cast<LPARAM>(text.data()));
        text.resize(std::strlen(text.c_str()));
        listed.push_back(std::move(text));
    }
    return listed;
}

void ModuleListDialog::SetEnabling() {
    EnableWindow(GetDlgItem(Handle(), IDC_ML_ADD), !config::ItemText(Handle(), IDC_ML_EDIT).empty());
    EnableWindow(GetDlgItem(Handle(), IDC_ML_DELETE),
                 SendDlgItemMessageA(Handle(), IDC_ML_LIST, LB_GETSELCOUNT, 0, 0) > 0);
}

void ModuleListDialog::TakeCaptured(const std::vector<std::string>& names) {
    std::vector<std::string> modules = Listed();
    const std::string told = config::MergeCapturedNames(modules, names, m_captureOptions);
    Show(modules);
    MessageBoxA(Handle(), told.c_str(), "QVBarConfig", MB_OK);
}

void ModuleListDialog::Capture() {
    config::CaptureDialog dialog(m_captureOptions, true);
    const INT_PTR choice = dialog.DoModal(GetModuleHandleA(nullptr), IDD_CAPTURE, Handle());
    if (choice != config::CaptureDialog::kAll && choice != config::CaptureDialog::kMouse) return;
    m_captureOptions = dialog.Options();
    if (choice == config::CaptureDialog::kMouse) {
        // Minimized, not hidden: the user sees where the list went.
        ShowWindow(Handle(), SW_MINIMIZE);
        m_picker.Start(Handle());
        return;
    }
    std::vector<std::string> names;
    for (const auto& entry : config::CaptureAll(m_captureOptions)) names.emplace_back(FileNamePart(entry->FileName().c_str()));
    if (names.empty()) {
        MessageBoxA(Handle(), config::kNoneCaptured, "QVBarConfig", MB_OK);
        return;
    }
    TakeCaptured(names);
}

BOOL ModuleListDialog::HandleMessage(UINT message, WPARAM, LPARAM) {
    HWND picked = nullptr;
    std::string failure;
    const config::WindowPicker::Result result = m_picker.OnMessage(message, &picked, &failure);
    if (result == config::WindowPicker::Result::kNotPicking) return FALSE;
    ShowWindow(Handle(), SW_RESTORE);
    SetForegroundWindow(Handle());
    if (result == config::WindowPicker::Result::kFailed) MessageBoxA(Handle(), failure.c_str(), "QVBarConfig", MB_OK);
    if (result != config::WindowPicker::Result::kPicked) return TRUE;
    std::string refusal;
    const std::unique_ptr<Executant> entry = config::EntryFromWindow(picked, m_captureOptions, &refusal);
    if (!entry) {
        if (!refusal.empty()) MessageBoxA(Handle(), refusal.c_str(), "QVBarConfig", MB_OK);
        return TRUE;
    }
    TakeCaptured({FileNamePart(entry->FileName().c_str())});
    return TRUE;
}

BOOL ModuleListDialog::OnCommand(WORD id, WORD code, HWND control) {
    HWND list = GetDlgItem(Handle(), IDC_ML_LIST);
    switch (id) {
    case IDC_ML_EDIT:
        if (code == EN_CHANGE) SetEnabling();
        return TRUE;
    case IDC_ML_LIST:
        if (code == LBN_SELCHANGE) SetEnabling();
        return TRUE;
    case IDC_ML_ADD: {
        const std::string typed = config::ItemText(Handle(), IDC_ML_EDIT);
        if (typed.empty()) return TRUE;
        SendMessageA(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(typed.c_str()));
        SetDlgItemTextA(Handle(), IDC_ML_EDIT, "");
        SetEnabling();
        return TRUE;
    }
    case IDC_ML_CAPTURE: Capture(); return TRUE;
    case IDC_ML_DELETE:
        for (int line = static_cast<int>(SendMessageA(list, LB_GETCOUNT, 0, 0)) - 1; line >= 0; --line)
            if (SendMessageA(list, LB_GETSEL, line, 0) > 0) SendMessageA(list, LB_DELETESTRING, line, 0);
        SetEnabling();
        return TRUE;
    case IDOK: {
        std::vector<std::string> listed;
        for (const std::string& text : Listed()) {
            // Stored as the bar reads it: lower-cased.
            TextString lowered(text.c_str());
            lowered.LowerAscii();
            listed.emplace_back(lowered.c_str());
        }
        m_modules = StoredHangOnModules(listed);
        End(IDOK);
        return TRUE;
    }
    default:
        return Dialog::OnCommand(id, code, control);
    }
}

}  // namespace qv::barconfig

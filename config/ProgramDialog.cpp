#include "ProgramDialog.h"

#include <commctrl.h>
#include <commdlg.h>
#include <shellapi.h>
#include <shlobj.h>

#include <cstdio>
#include <string>

#include "DesktopDialogsRes.h"
#include "DialogFiles.h"
#include "PathText.h"
#include "RegistryText.h"

namespace qv::config {

namespace {

inline constexpr char kProgramFilter[] = "実行ファイル(*.exe;*.cmd)\0*.exe;*.cmd\0すべて(*.*)\0*.*\0";
inline constexpr char kQuickLaunchFilter[] = "実行ファイル(*.exe;*.cmd;*.bat)\0*.exe;*.cmd;*.bat\0すべて(*.*)\0*.*\0";
inline constexpr char kAnyFilter[] = "すべて(*.*)\0*.*\0";
inline constexpr char kFolderTitle[] = "パスの選択";
inline constexpr char kMapGroups[] = "Software\\Microsoft\\Windows\\CurrentVersion\\GrpConv\\MapGroups";
inline constexpr const char* kPages[] = {"表示属性", "ｱﾄﾞﾊﾞﾝｽﾄ"};
inline constexpr const char* kClasses[] = {"継承", "低い", "通常", "高い"};
inline constexpr const char* kThreads[] = {"継承", "より低く", "少し低く", "通常", "少し高く", "より高く"};
inline constexpr int kGeometryPage[] = {IDC_PG_GEOMETRY, IDC_PG_SHOW_NORMAL, IDC_PG_SHOW_MIN, IDC_PG_SHOW_MAX,
                                        IDC_PG_POS_ON,   IDC_PG_X_LABEL,     IDC_PG_X,        IDC_PG_Y_LABEL,
                                        IDC_PG_Y,        IDC_PG_SIZE_ON,     IDC_PG_W_LABEL,  IDC_PG_W,
                                        IDC_PG_H_LABEL,  IDC_PG_H};
inline constexpr int kAdvancedPage[] = {IDC_PG_PRI_LABEL,    IDC_PG_PRI_ON, IDC_PG_CLASS_LABEL,   IDC_PG_CLASS,
                                        IDC_PG_THREAD_LABEL, IDC_PG_THREAD, IDC_PG_ONCE,          IDC_PG_NOIME,
                                        IDC_PG_TIMEOUT_LABEL, IDC_PG_TIMEOUT, IDC_PG_TIMEOUT_UNIT};

std::string FolderOf(const std::string& path) {
    std::string folder = path.substr(0, DirectoryLength(path.c_str()));
    while (!folder.empty() && folder.back() == '\\') folder.pop_back();
    return folder;
}

// The program's name without its folder and extension.
std::string BaseName(const std::string& path) {
    std::string name = FileNamePart(path.c_str());
    const size_t dot = name.find_last_of('.');
    return dot == std::string::npos ? name : name.substr(0, dot);
}

bool IsFolder(const std::string& path) {
    const DWORD attributes = GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

// Where "QL" starts: the user's Quick Launch folder as either registry place
// names it, else the current folder.
std::string QuickLaunchFolder() {
    std::string folder;
    if (ReadRegistryText(HKEY_CURRENT_USER, kShellFoldersKey, "AppData", &folder)) {
        folder += "\\Microsoft\\Internet Explorer\\Quick Launch";
        if (IsFolder(folder)) return folder;
    }
    if (ReadRegistryText(HKEY_CURRENT_USER, kMapGroups, "Quick Launch", &folder) && IsFolder(folder)) return folder;
    return std::string();
}

std::string AskFile(HWND owner, const char* filter, const std::string& folder) {
    return AskFileName(owner, filter, nullptr, folder.empty() ? folder : folder + "\\", false);
}

}  // namespace

BOOL ProgramDialog::OnInit() {
    HWND pages = GetDlgItem(Handle(), IDC_PG_PAGES);
    for (int page = 0; page < 2; ++page) {
        TCITEMA item{};
        item.mask = TCIF_TEXT;
        item.pszText = const_cast<char*>(kPages[page]);
        SendMessageA(pages, TCM_INSERTITEMA, page, reinterpret_cast<LPARAM>(&item));
    }
    for (const char* text : kClasses) SendDlgItemMessageA(Handle(), IDC_PG_CLASS, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text));
    for (const char* text : kThreads) SendDlgItemMessageA(Handle(), IDC_PG_THREAD, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text));
    SendDlgItemMessageA(Handle(), IDC_PG_ARGS, EM_LIMITTEXT, 255, 0);
    Show();
    ShowPage(0);
    return TRUE;
}

void ProgramDialog::ShowPage(int page) {
    for (int id : kGeometryPage) ShowWindow(GetDlgItem(Handle(), id), page == 0 ? SW_SHOW : SW_HIDE);
    for (int id : kAdvancedPage) ShowWindow(GetDlgItem(Handle(), id), page == 1 ? SW_SHOW : SW_HIDE);
    TabCtrl_SetCurSel(GetDlgItem(Handle(), IDC_PG_PAGES), page);
}

void ProgramDialog::Show() {
    const ProgramFields& f = m_fields;
    SetDlgItemTextA(Handle(), IDC_PG_FILE, f.file.c_str());
    SetDlgItemTextA(Handle(), IDC_PG_PATH, f.path.c_str());
    SetDlgItemTextA(Handle(), IDC_PG_ARGS, f.arguments.c_str());
    CheckRadioButton(Handle(), IDC_PG_SHOW_NORMAL, IDC_PG_SHOW_MAX, IDC_PG_SHOW_NORMAL + f.showMode - 1);
    CheckDlgButton(Handle(), IDC_PG_POS_ON, f.positionSet ? BST_CHECKED : BST_UNCHECKED);
    SetDlgItemInt(Handle(), IDC_PG_X, f.x, TRUE);
    SetDlgItemInt(Handle(), IDC_PG_Y, f.y, TRUE);
    CheckDlgButton(Handle(), IDC_PG_SIZE_ON, f.sizeSet ? BST_CHECKED : BST_UNCHECKED);
    SetDlgItemInt(Handle(), IDC_PG_W, f.width, TRUE);
    SetDlgItemInt(Handle(), IDC_PG_H, f.height, TRUE);
    CheckDlgButton(Handle(), IDC_PG_PRI_ON, f.prioritySet ? BST_CHECKED : BST_UNCHECKED);
    SendDlgItemMessageA(Handle(), IDC_PG_CLASS, CB_SETCURSEL, f.priorityClass, 0);
    SendDlgItemMessageA(Handle(), IDC_PG_THREAD, CB_SETCURSEL, f.thread, 0);
    CheckDlgButton(Handle(), IDC_PG_ONCE, f.once ? BST_CHECKED : BST_UNCHECKED);
    CheckDlgButton(Handle(), IDC_PG_NOIME, f.noIme ? BST_CHECKED : BST_UNCHECKED);
    SetDlgItemInt(Handle(), IDC_PG_TIMEOUT, f.inputTimeout, FALSE);
    ShowProgram();
    SetEnabling();
}

void ProgramDialog::ShowProgram() {
    const std::string file = ItemText(Handle(), IDC_PG_FILE);
    SetDlgItemTextA(Handle(), IDC_PG_NAME, BaseName(file).c_str());
    HICON large = nullptr;
    HICON small = nullptr;
    if (!file.empty()) ExtractIconExA(file.c_str(), 0, &large, &small, 1);
    SendDlgItemMessageA(Handle(), IDC_PG_ICON, STM_SETICON, reinterpret_cast<WPARAM>(large), 0);
    SendMessageA(Handle(), WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(small));
    // The controls show the new icons now: the old ones may go.
    m_icon.Reset(large);
    m_smallIcon.Reset(small);
}

void ProgramDialog::SetEnabling() {
    const bool shell = m_fields.shell;
    EnableWindow(GetDlgItem(Handle(), IDC_PG_FILE), !shell);
    EnableWindow(GetDlgItem(Handle(), IDC_PG_ONCE), !shell);
    EnableWindow(GetDlgItem(Handle(), IDC_PG_NOIME), !shell);
    const bool position = IsDlgButtonChecked(Handle(), IDC_PG_POS_ON) == BST_CHECKED;
    for (int id : {IDC_PG_X, IDC_PG_Y}) EnableWindow(GetDlgItem(Handle(), id), position);
    const bool size = IsDlgButtonChecked(Handle(), IDC_PG_SIZE_ON) == BST_CHECKED;
    for (int id : {IDC_PG_W, IDC_PG_H}) EnableWindow(GetDlgItem(Handle(), id), size);
    const bool priority = IsDlgButtonChecked(Handle(), IDC_PG_PRI_ON) == BST_CHECKED;
    EnableWindow(GetDlgItem(Handle(), IDC_PG_CLASS), priority);
    EnableWindow(GetDlgItem(Handle(), IDC_PG_THREAD), priority && !shell);
    ProgramFields now = m_fields;
    now.file = ItemText(Handle(), IDC_PG_FILE);
    EnableWindow(GetDlgItem(Handle(), IDOK), FieldsComplete(now));
}

bool ProgramDialog::Collect() {
    ProgramFields& f = m_fields;
    f.file = ItemText(Handle(), IDC_PG_FILE);
    f.path = ItemText(Handle(), IDC_PG_PATH);
    f.arguments = ItemText(Handle(), IDC_PG_ARGS);
    for (int mode = 1; mode <= 3; ++mode)
        if (IsDlgButtonChecked(Handle(), IDC_PG_SHOW_NORMAL + mode - 1) == BST_CHECKED) f.showMode = mode;
    f.positionSet = IsDlgButtonChecked(Handle(), IDC_PG_POS_ON) == BST_CHECKED;
    f.sizeSet = IsDlgButtonChecked(Handle(), IDC_PG_SIZE_ON) == BST_CHECKED;
    f.x = static_cast<int32_t>(GetDlgItemInt(Handle(), IDC_PG_X, nullptr, TRUE));
    f.y = static_cast<int32_t>(GetDlgItemInt(Handle(), IDC_PG_Y, nullptr, TRUE));
    f.width = static_cast<int32_t>(GetDlgItemInt(Handle(), IDC_PG_W, nullptr, TRUE));
    f.height = static_cast<int32_t>(GetDlgItemInt(Handle(), IDC_PG_H, nullptr, TRUE));
    f.prioritySet = IsDlgButtonChecked(Handle(), IDC_PG_PRI_ON) == BST_CHECKED;
    f.priorityClass = static_cast<int>(SendDlgItemMessageA(Handle(), IDC_PG_CLASS, CB_GETCURSEL, 0, 0));
    f.thread = static_cast<int>(SendDlgItemMessageA(Handle(), IDC_PG_THREAD, CB_GETCURSEL, 0, 0));
    if (f.priorityClass < 0) f.priorityClass = 0;
    if (f.thread < 0) f.thread = 0;
    f.once = IsDlgButtonChecked(Handle(), IDC_PG_ONCE) == BST_CHECKED;
    f.noIme = IsDlgButtonChecked(Handle(), IDC_PG_NOIME) == BST_CHECKED;
    BOOL read = FALSE;
    const UINT timeout = GetDlgItemInt(Handle(), IDC_PG_TIMEOUT, &read, FALSE);
    if (!read || timeout > 99999) {
        ShowPage(1);
        MessageBoxA(Handle(), "0 から 99999 までの整数を入力してください.", "QVConfig", MB_OK | MB_ICONEXCLAMATION);
        SetFocus(GetDlgItem(Handle(), IDC_PG_TIMEOUT));
        return false;
    }
    f.inputTimeout = timeout;
    return true;
}

void ProgramDialog::TakeProgram(const std::string& path) {
    SetDlgItemTextA(Handle(), IDC_PG_FILE, path.c_str());
    SetDlgItemTextA(Handle(), IDC_PG_PATH, FolderOf(path).c_str());
    ShowProgram();
    SetEnabling();
}

void ProgramDialog::ChooseProgram(bool quickLaunch) {
    // The file dialog may change the current folder; the configurator's stays.
    char current[MAX_PATH + 1] = "";
    const DWORD kept = GetCurrentDirectoryA(sizeof current, current);
    const std::string chosen = quickLaunch ? AskFile(Handle(), kQuickLaunchFilter, QuickLaunchFolder())
                                           : AskFile(Handle(), kProgramFilter, FolderOf(ItemText(Handle(), IDC_PG_FILE)));
    if (kept > 0 && kept < sizeof current) SetCurrentDirectoryA(current);
    if (!chosen.empty()) TakeProgram(chosen);
}

void ProgramDialog::ChooseShellItem() {
    const std::string chosen = AskFile(Handle(), kAnyFilter, std::string());
    if (chosen.empty()) return;
    m_fields.shell = true;
    std::string program;
    if (IsProgramFile(chosen)) {
        program = chosen;
    } else {
        char associated[MAX_PATH + 1] = "";
        if (reinterpret_cast<INT_PTR>(FindExecutableA(chosen.c_str(), nullptr, associated)) > 32 &&
            GetFileAttributesA(associated) != INVALID_FILE_ATTRIBUTES)
            program = associated;
    }
    SetDlgItemTextA(Handle(), IDC_PG_FILE, program.c_str());
    SetDlgItemTextA(Handle(), IDC_PG_ARGS, chosen.c_str());
    SetDlgItemTextA(Handle(), IDC_PG_PATH, FolderOf(chosen).c_str());
    ShowProgram();
    SetEnabling();
}

void ProgramDialog::ChooseFolder() {
    const std::string folder = AskFolder(Handle(), kFolderTitle);
    if (!folder.empty()) SetDlgItemTextA(Handle(), IDC_PG_PATH, folder.c_str());
}

BOOL ProgramDialog::OnCommand(WORD id, WORD code, HWND control) {
    switch (id) {
    case IDOK:
        if (!Collect()) return TRUE;
        WriteFields(m_fields, m_entry);
        End(IDOK);
        return TRUE;
    case IDC_PG_FILE:
        if (code == EN_CHANGE) SetEnabling();
        if (code == EN_KILLFOCUS) ShowProgram();
        return TRUE;
    case IDC_PG_POS_ON:
    case IDC_PG_SIZE_ON:
    case IDC_PG_PRI_ON:
        SetEnabling();
        return TRUE;
    case IDC_PG_BROWSE: ChooseProgram(false); return TRUE;
    case IDC_PG_QL: ChooseProgram(true); return TRUE;
    case IDC_PG_SHELL: ChooseShellItem(); return TRUE;
    case IDC_PG_PATH_BROWSE: ChooseFolder(); return TRUE;
    default: return Dialog::OnCommand(id, code, control);
    }
}

BOOL ProgramDialog::HandleMessage(UINT message, WPARAM, LPARAM lParam) {
    if (message != WM_NOTIFY) return FALSE;
    const NMHDR* header = reinterpret_cast<const NMHDR*>(lParam);
    if (header->idFrom == IDC_PG_PAGES && header->code == TCN_SELCHANGE) ShowPage(TabCtrl_GetCurSel(header->hwndFrom));
    return FALSE;
}

}  // namespace qv::config

#include "RunProgramDialog.h"

#include <commdlg.h>
#include <objbase.h>

#include <iterator>

#include "BarSettings.h"
#include "ComRef.h"
#include "Launching.h"
#include "QuorvelRes.h"

namespace qv {

namespace {

constexpr char kProgramFilters[] = "実行モジュール(*.exe,*.com,*.bat)\0*.exe;*.com;*.bat\0すべて(*.*)\0*.*\0";
constexpr char kAnyFileFilters[] = "すべて(*.*)\0*.*\0";
constexpr char kProgramTitle[] = "実行モジュールのフルパス";
constexpr char kDataFileTitle[] = "データファイルのフルパス";
constexpr DWORD kPickFlags = OFN_READONLY | OFN_HIDEREADONLY | OFN_NOCHANGEDIR | OFN_PATHMUSTEXIST |
                             OFN_FILEMUSTEXIST | OFN_NOTESTFILECREATE | OFN_EXPLORER | OFN_LONGNAMES |
                             OFN_ENABLESIZING;  // 0x00A9180D
// A field is read into a buffer of this size, terminator included.
constexpr int kFieldBuffer = 261;

std::string OwnModulePath() {
    char path[MAX_PATH + 1] = {};
    const DWORD length = GetModuleFileNameA(nullptr, path, MAX_PATH);
    return length > 0 && length < MAX_PATH ? std::string(path, length) : std::string();
}

}  // namespace

BOOL RunProgramDialog::OnInit() {
    CentreOnScreen();
    EnableWindow(GetDlgItem(Handle(), IDOK), FALSE);
    HWND list = GetDlgItem(Handle(), IDC_RUN_PRIORITY);
    for (const RunPriority& row : kRunPriorities)
        SendMessageA(list, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(row.text));
    SendMessageA(list, CB_SETCURSEL, 0, 0);
    return TRUE;
}

BOOL RunProgramDialog::OnCommand(WORD id, WORD code, HWND control) {
    switch (id) {
    case IDC_RUN_COMMAND:
        if (code == EN_CHANGE) OnCommandFieldChanged();
        return TRUE;
    case IDC_RUN_BROWSE:
        OnBrowse();
        return TRUE;
    case IDC_RUN_QUICK_LAUNCH:
        OnQuickLaunch();
        return TRUE;
    case IDC_RUN_SHELL:
        OnShell();
        return TRUE;
    case IDC_RUN_WINDOWS_DIR:
        OnWindowsDirectory();
        return TRUE;
    case IDOK:
        OnOk();
        return TRUE;
    default:
        return Dialog::OnCommand(id, code, control);
    }
}

void RunProgramDialog::OnCommandFieldChanged() {
    const LRESULT length = SendDlgItemMessageA(Handle(), IDC_RUN_COMMAND, EM_LINELENGTH, static_cast<WPARAM>(-1), 0);
    EnableWindow(GetDlgItem(Handle(), IDOK), length > 0);
}

void RunProgramDialog::OnBrowse() {
    const std::string path = PickFile(kProgramFilters, kProgramTitle, nullptr);
    if (!path.empty()) Show(WithPickedProgram(Fields(), path.c_str()));
}

void RunProgramDialog::OnQuickLaunch() {
    SystemFolders folders;
    std::string appData, mapped;
    folders.ShellFolder(false, "AppData", &appData);
    folders.MappedQuickLaunch(&mapped);
    const std::string start = QuickLaunchStartFolder(
        appData, mapped, [](const std::string& folder) { return GetFileAttributesA(folder.c_str()); });
    const std::string path = PickFile(kProgramFilters, kProgramTitle, start.empty() ? nullptr : start.c_str());
    if (!path.empty()) Show(WithPickedProgram(Fields(), path.c_str()));
}

void RunProgramDialog::OnShell() {
    const std::string path = PickFile(kAnyFileFilters, kDataFileTitle, nullptr);
    if (!path.empty()) Show(WithPickedDataFile(Fields(), OwnModulePath().c_str(), path.c_str()));
}

void RunProgramDialog::OnWindowsDirectory() {
    char folder[MAX_PATH + 1] = {};
    const UINT length = GetWindowsDirectoryA(folder, MAX_PATH);
    if (length > 0 && length < MAX_PATH) SetDlgItemTextA(Handle(), IDC_RUN_DIRECTORY, folder);
}

void RunProgramDialog::OnOk() {
    const RunFields fields = Fields();
    const LRESULT row = SendDlgItemMessageA(Handle(), IDC_RUN_PRIORITY, CB_GETCURSEL, 0, 0);
    // A failed start has shown its error box; the dialog ends either way.
    RunProgram(nullptr, RunCommandLine(fields).c_str(), nullptr,
               fields.directory.empty() ? nullptr : fields.directory.c_str(), m_desktopId.c_str(),
               RunPriorityFlag(row));
    End(IDOK);
}

std::string RunProgramDialog::PickFile(const char* filters, const char* title, const char* startFolder) {
    // The explorer-style file dialog hosts shell views, which want COM on the
    // calling thread; the desktop threads do not keep it otherwise.
    ComApartment com;
    char file[MAX_PATH] = {};
    OPENFILENAMEA pick = {};
    pick.lStructSize = sizeof(pick);
    pick.hwndOwner = Handle();
    pick.lpstrFilter = filters;
    pick.lpstrFile = file;
    pick.nMaxFile = static_cast<DWORD>(std::size(file));
    pick.lpstrInitialDir = startFolder;
    pick.lpstrTitle = title;
    pick.Flags = kPickFlags;
    return GetOpenFileNameA(&pick) ? std::string(file) : std::string();
}

RunFields RunProgramDialog::Fields() const {
    char text[kFieldBuffer] = {};
    RunFields fields;
    GetDlgItemTextA(Handle(), IDC_RUN_COMMAND, text, kFieldBuffer);
    fields.command = text;
    GetDlgItemTextA(Handle(), IDC_RUN_ARGUMENTS, text, kFieldBuffer);
    fields.arguments = text;
    GetDlgItemTextA(Handle(), IDC_RUN_DIRECTORY, text, kFieldBuffer);
    fields.directory = text;
    return fields;
}

void RunProgramDialog::Show(const RunFields& fields) {
    SetDlgItemTextA(Handle(), IDC_RUN_COMMAND, fields.command.c_str());
    SetDlgItemTextA(Handle(), IDC_RUN_ARGUMENTS, fields.arguments.c_str());
    SetDlgItemTextA(Handle(), IDC_RUN_DIRECTORY, fields.directory.c_str());
}

}  // namespace qv

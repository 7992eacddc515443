// Setup: the first, machine-wide setup. Run from the medium's folder, it
// copies the suite into an install folder, makes the medium's parameter
// files the installation's defaults, makes the start-menu shortcuts and the
// removal text, and hands over to QVSetup or offers a trial run.
#include <windows.h>

#include <string>
#include <vector>

#include "DialogFiles.h"
#include "ParamLine.h"
#include "SetupRes.h"
#include "SetupRules.h"
#include "SetupShell.h"
#include "SetupWindows.h"
#include "WindowBase.h"

namespace qvsetup {

namespace {

constexpr char kCaption[] = "Quorvel First Setup";
constexpr char kTextCaption[] = "Quorvel Fist Setup";
constexpr INT_PTR kTrialRun = 100;
constexpr DWORD kDocumentOpenMs = 60000;  // ShellExe hands the page to the shell and ends

const char* const kDocuments[] = {"setup1.txt", "setup2.txt", "setup3.txt", "setup4.txt", "setup5.txt"};

struct StartState {
    bool installable = true;
    bool administrator = false;
};

std::string Environment(const char* name) {
    char value[MAX_PATH + 1] = "";
    const DWORD length = GetEnvironmentVariableA(name, value, sizeof value);
    return length > 0 && length < sizeof value ? std::string(value, length) : std::string();
}

std::string SystemFolder() {
    char folder[MAX_PATH + 1] = "";
    const UINT length = GetSystemDirectoryA(folder, sizeof folder);
    return length > 0 && length < sizeof folder ? std::string(folder, length) : std::string();
}

// The medium's Quorvel.ini as the parameter files' reader cuts it.
bool ReadLines(const std::string& path, std::vector<std::string>* lines) {
    FILE* file = std::fopen(path.c_str(), "r");
    if (!file) return false;
    char line[qv::kLineBuffer];
    while (qv::ReadParamLine(file, line)) lines->emplace_back(line);
    const bool read = !std::ferror(file);
    std::fclose(file);
    return read;
}

class FirstSetupDialog : public qv::Dialog {
public:
    FirstSetupDialog(HINSTANCE instance, const StartState& state, SplashWindow& splash)
        : m_instance(instance), m_state(state), m_splash(splash) {}
    bool ContinueToAccount() const { return m_continue; }
    const std::string& Menu() const { return m_menu; }
    const std::string& InstallFolder() const { return m_installFolder; }

protected:
    BOOL OnInit() override;
    BOOL OnCommand(WORD id, WORD code, HWND control) override;

private:
    int Tell(const char* text, UINT flags = MB_OK) { return MessageBoxA(Handle(), text, kCaption, flags); }
    void ShowDocument(int index);
    void Install();
    // Each step: false when it stopped the install (its box shown).
    bool CopyFiles(std::vector<std::string>* missing);
    bool MakeDefaults();
    bool MakeShortcuts(std::vector<std::string>* missing);
    void ReportMissing(const std::vector<std::string>& missing);
    void TrialRun();

    HINSTANCE m_instance;
    StartState m_state;
    SplashWindow& m_splash;
    std::string m_medium = CurrentFolder();
    std::string m_installFolder;
    std::string m_menu;
    bool m_continue = false;
};

BOOL FirstSetupDialog::OnInit() {
    SetDlgItemTextA(Handle(), IDC_FS_FOLDER,
                    DefaultInstallFolder(m_state.administrator, Environment("ProgramFiles"),
                                         Environment("SystemDrive"), SystemFolder())
                        .c_str());
    CheckDlgButton(Handle(), IDC_FS_MENU_BOX, BST_CHECKED);
    SetDlgItemTextA(Handle(), IDC_FS_MENU, kDefaultMenu);
    CheckRadioButton(Handle(), IDC_FS_ALL_USERS, IDC_FS_CURRENT_USER,
                     m_state.administrator ? IDC_FS_ALL_USERS : IDC_FS_CURRENT_USER);
    EnableWindow(GetDlgItem(Handle(), IDC_FS_ALL_USERS), m_state.administrator);
    CheckDlgButton(Handle(), IDC_FS_CONTINUE, BST_CHECKED);
    if (!m_state.installable) {
        for (int id : {IDC_FS_FOLDER, IDC_FS_BROWSE, IDC_FS_MENU_BOX, IDC_FS_MENU, IDC_FS_ALL_USERS,
                       IDC_FS_CURRENT_USER, IDC_FS_CONTINUE, IDC_FS_INSTALL, IDC_FS_TRIAL})
            EnableWindow(GetDlgItem(Handle(), id), FALSE);
    }
    CentreOnScreen();
    return TRUE;
}

BOOL FirstSetupDialog::OnCommand(WORD id, WORD code, HWND control) {
    if (id >= IDC_FS_DOCUMENT1 && id <= IDC_FS_DOCUMENT5) {
        ShowDocument(id - IDC_FS_DOCUMENT1);
        return TRUE;
    }
    switch (id) {
    case IDC_FS_BROWSE: {
        const std::string folder = qv::config::AskFolder(Handle(), "ﾌｧｲﾙ実体のｲﾝｽﾄｰﾙ先");
        if (!folder.empty()) SetDlgItemTextA(Handle(), IDC_FS_FOLDER, folder.c_str());
        return TRUE;
    }
    case IDC_FS_INSTALL: Install(); return TRUE;
    case IDC_FS_TRIAL: TrialRun(); return TRUE;
    default: return Dialog::OnCommand(id, code, control);
    }
}

void FirstSetupDialog::ShowDocument(int index) {
    std::string text;
    if (!ReadTextFile(JoinPath(m_medium, kDocuments[index]), &text)) {
        ShowTextWindow(m_instance, Handle(), kTextCaption, qv::config::Formatted("%s が見つかりません", kDocuments[index]));
        return;
    }
    ShowTextWindow(m_instance, Handle(), kTextCaption, text);
}

void FirstSetupDialog::Install() {
    m_installFolder = qv::config::ItemText(Handle(), IDC_FS_FOLDER);
    m_menu = qv::config::ItemText(Handle(), IDC_FS_MENU);
    const bool makeMenu = IsDlgButtonChecked(Handle(), IDC_FS_MENU_BOX) == BST_CHECKED;
    if (m_installFolder.size() <= 2) {
        Tell("ﾌｫﾙﾀﾞ名が不正です.");
        return;
    }
    if (makeMenu && m_menu.empty()) {
        Tell("ﾒﾆｭｰ名が不正です.");
        return;
    }
    m_splash.Progress(0);
    for (const char* folder : InstallSubfolders()) {
        if (!MakeFolderTree(JoinPath(m_installFolder, folder))) {
            Tell("ﾃﾞｨﾚｸﾄﾘの作成に失敗しました.");
            return;
        }
    }
    m_splash.Progress(10);
    std::vector<std::string> missing;
    if (!CopyFiles(&missing) || !MakeDefaults()) return;
    m_splash.Progress(80);
    const std::string uninstall = JoinPath(JoinPath(m_installFolder, "DOC"), "uninst.txt");
    if (!WriteText(uninstall, UninstallText(m_installFolder), false)) {
        Tell(qv::config::Formatted("%s を書き込めませんでした.", uninstall).c_str());
        return;
    }
    if (!missing.empty()) {
        ReportMissing(missing);
        return;
    }
    if (makeMenu) {
        if (!MakeShortcuts(&missing)) return;
        if (!missing.empty()) {
            ReportMissing(missing);
            return;
        }
    }
    SetReadOnly(uninstall, true);
    m_splash.Progress(100);
    m_continue = IsDlgButtonChecked(Handle(), IDC_FS_CONTINUE) == BST_CHECKED;
    End(IDOK);
}

bool FirstSetupDialog::CopyFiles(std::vector<std::string>* missing) {
    const std::vector<MediumFile>& files = MediumFiles();
    int done = 0;
    for (const MediumFile& file : files) {
        const bool demo = std::string(file.subfolder) == kDemoFolder;
        const std::string from = JoinPath(demo ? JoinPath(m_medium, kDemoFolder) : m_medium, file.name);
        const std::string to = JoinPath(JoinPath(m_installFolder, file.subfolder), file.name);
        if (!FileExists(from)) {
            missing->push_back(demo ? JoinPath(kDemoFolder, file.name) : file.name);
        } else if (!CopyReplacing(from, to, *file.subfolder != '\0')) {
            Tell(qv::config::Formatted("%s をコピーできませんでした.", to).c_str());
            return false;
        }
        m_splash.Progress(10 + 60 * ++done / static_cast<int>(files.size()));
    }
    // The demonstration pages beyond the listed files, as the medium has them.
    const std::string demo = JoinPath(m_medium, kDemoFolder);
    for (const std::string& name : FilesMatching(demo, "*")) {
        const std::string to = JoinPath(JoinPath(m_installFolder, kDemoFolder), name);
        if (!CopyReplacing(JoinPath(demo, name), to, true)) {
            Tell(qv::config::Formatted("%s をコピーできませんでした.", to).c_str());
            return false;
        }
    }
    return true;
}

bool FirstSetupDialog::MakeDefaults() {
    const std::string defaults = JoinPath(m_installFolder, "DEFAULT");
    for (const std::string& name : FilesMatching(m_medium, "*.ini")) {
        const std::string from = JoinPath(m_medium, name);
        const std::string to = JoinPath(defaults, name);
        bool made;
        if (_stricmp(name.c_str(), "Quorvel.ini") == 0) {
            std::vector<std::string> lines;
            made = ReadLines(from, &lines) && WriteText(to, RewriteDefaultParameters(lines, m_installFolder), false);
        } else {
            made = CopyReplacing(from, to, false);
        }
        if (!made) {
            Tell(qv::config::Formatted("%s をコピーできませんでした.", to).c_str());
            return false;
        }
    }
    return true;
}

bool FirstSetupDialog::MakeShortcuts(std::vector<std::string>* missing) {
    std::string userPrograms, commonPrograms;
    const bool allUsers = IsDlgButtonChecked(Handle(), IDC_FS_ALL_USERS) == BST_CHECKED;
    if (!ReadShellFolder(false, "Programs", &userPrograms)) {
        Tell("レジストリの値 Programs の読み込みに失敗しました.");
        return false;
    }
    if (allUsers && !ReadShellFolder(true, "Common Programs", &commonPrograms)) {
        Tell("レジストリの値 Common Programs の読み込みに失敗しました.");
        return false;
    }
    const std::string chosenMenu = JoinPath(allUsers ? commonPrograms : userPrograms, m_menu);
    const std::string userMenu = JoinPath(userPrograms, m_menu);
    if (!MakeFolderTree(JoinPath(chosenMenu, kDocumentsSubfolder))) {
        Tell(allUsers ? "All User ﾃﾞｨﾚｸﾄﾘの作成に失敗しました." : "Current User ﾃﾞｨﾚｸﾄﾘの作成に失敗しました.");
        return false;
    }
    if (!MakeFolderTree(JoinPath(userMenu, kDocumentsSubfolder))) {
        Tell("Current User ﾃﾞｨﾚｸﾄﾘの作成に失敗しました.");
        return false;
    }
    std::vector<LinkSpec> links = FirstSetupLinks(m_installFolder, chosenMenu);
    if (allUsers) links.push_back(UserRemovalLink(m_installFolder, userMenu));
    const LinkResult result = MakeShellLinks(links, missing);
    if (result != LinkResult::kMade) {
        Tell(LinkFailureText(result));
        return false;
    }
    const std::string uninstall = JoinPath(JoinPath(m_installFolder, "DOC"), "uninst.txt");
    return WriteText(uninstall, UninstallMenuText(allUsers, commonPrograms, userPrograms, m_menu), true);
}

void FirstSetupDialog::ReportMissing(const std::vector<std::string>& missing) {
    std::string text = "必須ファイルが見つかりませんでした.\r\n";
    for (const std::string& name : missing) text += name + "\r\n";
    ShowTextWindow(m_instance, Handle(), kTextCaption, text);
}

void FirstSetupDialog::TrialRun() {
    ShowWindow(m_splash.Handle(), SW_HIDE);
    ShowWindow(Handle(), SW_HIDE);
    const std::string page = JoinPath(m_medium, kFirstExecHelp);
    if (FileExists(page)) {
        qv::UniqueHandle opener = StartProgramEntry(JoinPath(m_medium, "ShellExe.exe"), page);
        if (opener) {
            WaitForSingleObject(opener.Get(), kDocumentOpenMs);
            Sleep(100);
        }
    }
    if (!StartProgram("\"" + JoinPath(m_medium, "Quorvel.exe") + "\" -p Quorvel.ini", m_medium))
        Tell(qv::config::Formatted("%s を起動できませんでした.", JoinPath(m_medium, "Quorvel.exe")).c_str());
    End(kTrialRun);
}

// Beside the setup dialog, in the screen's lower right corner, where it does
// not hide what the dialog asks.
class NoticeDialog : public qv::Dialog {
protected:
    BOOL OnInit() override {
        RECT place;
        GetWindowRect(Handle(), &place);
        RECT work{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
        SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
        SetWindowPos(Handle(), nullptr, work.right - (place.right - place.left) - 16,
                     work.bottom - (place.bottom - place.top) - 16, 0, 0,
                     SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_SHOWWINDOW);
        return FALSE;
    }
};

StartState CheckStart(HWND owner) {
    StartState state;
    if (DaemonRunning()) {
        MessageBoxA(owner, "Quorvelは停止した状態でセットアップして下さい.\r\nドキュメントだけ閲覧できます.\r\n",
                    kCaption, MB_OK | MB_ICONEXCLAMATION);
        state.installable = false;
        return state;
    }
    if (!IsNtFamily()) {
        MessageBoxA(owner, "このOSでは動作しません.ドキュメントだけ閲覧できます.\r\n", kCaption,
                    MB_OK | MB_ICONEXCLAMATION);
        state.installable = false;
        return state;
    }
    std::string failure;
    state.administrator = IsAdministrator(&failure);
    if (!failure.empty()) MessageBoxA(owner, failure.c_str(), kCaption, MB_OK | MB_ICONEXCLAMATION);
    if (!state.administrator)
        MessageBoxA(owner,
                    "アドミニストレータ権限での再ログオンを推奨します.\r\n"
                    "このままではｽﾀｰﾄﾒﾆｭ-のAll Userのﾒﾆｭｰにはｼｮｰﾄｶｯﾄを作ることができません.\r\n\r\n"
                    "試運用は実行可能です.\r\n",
                    kCaption, MB_OK | MB_ICONINFORMATION);
    return state;
}

int RunFirstSetup(HINSTANCE instance) {
    SplashWindow splash;
    splash.Open(instance, "Quorvel 1st Setup", "Quorvel Ver2.0\r\n\r\n最小化ボタンでアイコン化できます");
    NoticeDialog notice;
    notice.CreateModeless(instance, IDD_FS_NOTICE, splash.Handle());

    const StartState state = CheckStart(splash.Handle());
    FirstSetupDialog dialog(instance, state, splash);
    const INT_PTR result = dialog.DoModal(instance, IDD_FIRST_SETUP, splash.Handle());
    if (notice.Handle()) DestroyWindow(notice.Handle());
    ShowWindow(splash.Handle(), SW_HIDE);
    if (result == kTrialRun) return 0;
    if (result == IDCANCEL) {
        MessageBoxA(nullptr, "セットアップを中止しました", kCaption, MB_OK | MB_ICONINFORMATION);
        return 1;
    }
    if (result != IDOK) {
        MessageBoxA(nullptr, "セットアップは異常終了しました", kCaption, MB_OK | MB_ICONEXCLAMATION);
        return 2;
    }
    if (!dialog.ContinueToAccount()) {
        MessageBoxA(nullptr, "1st セットアップは完了しました.", kCaption, MB_OK | MB_ICONINFORMATION);
        return 0;
    }
    MessageBoxA(nullptr, "1st セットアップは完了しました.\r\n続いて、アカウント別セットアップに移ります.\r\n",
                kCaption, MB_OK | MB_ICONINFORMATION);
    const std::string program = JoinPath(dialog.InstallFolder(), "QVSetup.exe");
    if (!StartProgram("\"" + program + "\" " + HandOverCommandLine(dialog.Menu()), dialog.InstallFolder())) {
        MessageBoxA(nullptr, qv::config::Formatted("%s を起動できませんでした.", program).c_str(), kCaption,
                    MB_OK | MB_ICONEXCLAMATION);
        return 2;
    }
    return 0;
}

}  // namespace

}  // namespace qvsetup

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) { return qvsetup::RunFirstSetup(instance); }

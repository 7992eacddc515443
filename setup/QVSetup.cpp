// QVSetup: the per-account setup, run in the install folder once for each
// user. It copies the installation's default parameter files into the
// user's parameter folder, makes the user's shortcuts and removal text, and
// can start the daemon at once.
#include <windows.h>

#include <string>
#include <vector>

#include "DialogFiles.h"
#include "Handle.h"
#include "QVSetupRes.h"
#include "RegistryText.h"
#include "SetupRules.h"
#include "SetupShell.h"
#include "SetupWindows.h"
#include "WindowBase.h"

namespace qvsetup {

namespace {

constexpr char kCaption[] = "Quorvel ｱｶｳﾝﾄ別ｾｯﾄｱｯﾌﾟ";
constexpr char kHelpCaption[] = "ｱｶｳﾝﾄ別　ｾｯﾄｱｯﾌﾟ ﾍﾙﾌﾟ";
constexpr DWORD kOpenerStartMs = 200;

// The account the process runs as, "User:...Domain:..." for the splash.
std::string AccountText() {
    std::string text = "Quorvel Ver2.0 ｱｶｳﾝﾄ別ｾｯﾄｱｯﾌﾟ\r\nUser:";
    HANDLE opened = nullptr;
    char user[256] = "", domain[256] = "";
    if (OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, &opened)) {
        qv::UniqueHandle token(opened);
        DWORD size = 0;
        GetTokenInformation(token.Get(), TokenUser, nullptr, 0, &size);
        std::vector<unsigned char> buffer(size ? size : 1);
        if (size && GetTokenInformation(token.Get(), TokenUser, buffer.data(), size, &size)) {
            DWORD userSize = sizeof user, domainSize = sizeof domain;
            SID_NAME_USE use;
            if (!LookupAccountSidA(nullptr, reinterpret_cast<TOKEN_USER*>(buffer.data())->User.Sid, user, &userSize,
                                   domain, &domainSize, &use))
                user[0] = domain[0] = '\0';
        }
    }
    return text + user + "\r\nDomain:" + domain + "\r\n";
}

std::string DefaultFolder() {
    std::string appData;
    qv::ReadRegistryText(HKEY_CURRENT_USER, qv::kShellFoldersKey, "AppData", &appData);
    char profile[MAX_PATH + 1] = "";
    const DWORD length = GetEnvironmentVariableA("USERPROFILE", profile, sizeof profile);
    return DefaultParameterFolder(appData, length < sizeof profile ? profile : "");
}

class FolderDialog : public qv::Dialog {
public:
    explicit FolderDialog(std::string folder) : m_folder(std::move(folder)) {}
    const std::string& Folder() const { return m_folder; }

protected:
    BOOL OnInit() override {
        SetDlgItemTextA(Handle(), IDC_PF_FOLDER, m_folder.c_str());
        return TRUE;
    }
    BOOL OnCommand(WORD id, WORD code, HWND control) override {
        if (id == IDC_PF_BROWSE) {
            const std::string folder = qv::config::AskFolder(Handle(), "ﾊﾟﾗﾒｰﾀﾌｧｲﾙのｺﾋﾟｰ先");
            if (!folder.empty()) SetDlgItemTextA(Handle(), IDC_PF_FOLDER, folder.c_str());
            return TRUE;
        }
        if (id == IDOK) m_folder = qv::config::ItemText(Handle(), IDC_PF_FOLDER);
        return Dialog::OnCommand(id, code, control);
    }

private:
    std::string m_folder;
};

class AccountSetupDialog : public qv::Dialog {
public:
    AccountSetupDialog(HINSTANCE instance, std::string menu) : m_instance(instance), m_menu(std::move(menu)) {}
    bool MenuMade() const { return m_makeMenu; }
    bool StartDaemon() const { return m_start; }
    const std::string& ParameterFolder() const { return m_folder; }

protected:
    BOOL OnInit() override;
    BOOL OnCommand(WORD id, WORD code, HWND control) override;

private:
    void Tell(const char* text) { MessageBoxA(Handle(), text, kCaption, MB_OK | MB_ICONEXCLAMATION); }
    bool Checked(int id) const { return IsDlgButtonChecked(Handle(), id) == BST_CHECKED; }
    void ShowHelp();
    void Run();
    bool CopyDefaults();
    // False when a step stopped the run (its box shown); missing targets are collected.
    bool MakeShortcuts(std::vector<std::string>* missing);

    HINSTANCE m_instance;
    std::string m_menu;
    std::string m_installFolder = CurrentFolder();
    std::string m_folder = DefaultFolder();
    bool m_makeMenu = true;
    bool m_start = true;
};

BOOL AccountSetupDialog::OnInit() {
    CheckDlgButton(Handle(), IDC_AS_MENU_BOX, BST_CHECKED);
    SetDlgItemTextA(Handle(), IDC_AS_MENU, m_menu.c_str());
    CheckDlgButton(Handle(), IDC_AS_ONLY_MISSING, BST_CHECKED);
    CheckDlgButton(Handle(), IDC_AS_START, BST_CHECKED);
    CentreOnScreen();
    return TRUE;
}

BOOL AccountSetupDialog::OnCommand(WORD id, WORD code, HWND control) {
    switch (id) {
    case IDC_AS_FOLDER: {
        FolderDialog dialog(m_folder);
        if (dialog.DoModal(m_instance, IDD_PARAMETER_FOLDER, Handle()) == IDOK) m_folder = dialog.Folder();
        return TRUE;
    }
    case IDC_AS_HELP: ShowHelp(); return TRUE;
    case IDOK: Run(); return TRUE;
    default: return Dialog::OnCommand(id, code, control);
    }
}

void AccountSetupDialog::ShowHelp() {
    const std::string text = "Quorvelのｾｯﾄｱｯﾌﾟは２段構成になっており、このｾｯﾄｱｯﾌﾟは\r\n"
                             "ｱｶｳﾝﾄ(ﾕｰｻﾞ)ごとに１回実行します.\r\n"
                             "\r\n"
                             "ｲﾝｽﾄｰﾙ先の DEFAULT ﾌｫﾙﾀﾞにあるﾊﾟﾗﾒｰﾀﾌｧｲﾙ(*.ini)を\r\n"
                             "あなたのﾊﾟﾗﾒｰﾀﾌｧｲﾙ用ﾌｫﾙﾀﾞにｺﾋﾟｰし、ｽﾀｰﾄﾒﾆｭｰと\r\n"
                             "(選べば)ｽﾀｰﾄｱｯﾌﾟにｼｮｰﾄｶｯﾄを作ります.\r\n"
                             "削除の手順は、ﾊﾟﾗﾒｰﾀﾌｧｲﾙ用ﾌｫﾙﾀﾞの user_uninst.txt にあります.\r\n"
                             "\r\n"
                             "ｺﾋﾟｰ元 : " +
                             JoinPath(m_installFolder, "DEFAULT") + "\r\nｺﾋﾟｰ先 : " + m_folder + "\r\n";
    ShowTextWindow(m_instance, Handle(), kHelpCaption, text);
}

void AccountSetupDialog::Run() {
    if (m_folder.empty()) {
        Tell("ﾌｫﾙﾀﾞを設定して下さい.");
        return;
    }
    if (m_folder.back() != '\\' && m_folder.back() != '/') m_folder += '\\';
    if (!MakeFolderTree(m_folder)) {
        Tell("ディレクトリの作成に失敗しました");
        return;
    }
    if (!CopyDefaults()) return;
    const std::string uninstall = JoinPath(m_folder, "user_uninst.txt");
    if (!WriteText(uninstall, UserUninstallText(m_folder), false)) {
        Tell(qv::config::Formatted("%s を書き込めませんでした.", uninstall).c_str());
        return;
    }
    m_makeMenu = Checked(IDC_AS_MENU_BOX);
    m_start = Checked(IDC_AS_START);
    if (m_makeMenu) {
        m_menu = qv::config::ItemText(Handle(), IDC_AS_MENU);
        std::vector<std::string> missing;
        if (!MakeShortcuts(&missing)) return;
        if (!missing.empty()) {
            std::string text = "必須ﾌｧｲﾙが見つかりませんでした.\r\n";
            for (const std::string& path : missing) text += path + "\r\n";
            ShowTextWindow(m_instance, Handle(), kHelpCaption, text);
            return;
        }
    }
    End(IDOK);
}

bool AccountSetupDialog::CopyDefaults() {
    const bool onlyMissing = Checked(IDC_AS_ONLY_MISSING);
    const std::string defaults = JoinPath(m_installFolder, "DEFAULT");
    for (const std::string& name : FilesMatching(defaults, "*.ini")) {
        const std::string to = JoinPath(m_folder, name);
        if (onlyMissing && GetFileAttributesA(to.c_str()) != INVALID_FILE_ATTRIBUTES) continue;
        if (!CopyReplacing(JoinPath(defaults, name), to, false)) {
            Tell(qv::config::Formatted("%s をコピーできませんでした.", to).c_str());
            return false;
        }
    }
    return true;
}

bool AccountSetupDialog::MakeShortcuts(std::vector<std::string>* missing) {
    std::string programs, startup;
    if (!ReadShellFolder(false, "Programs", &programs)) {
        Tell("レジストリの値 Programs の読み込みに失敗しました.");
        return false;
    }
    if (!ReadShellFolder(false, "Startup", &startup)) {
        Tell("レジストリの値 Startup の読み込みに失敗しました.");
        return false;
    }
    const std::string menu = JoinPath(programs, m_menu);
    if (!MakeFolderTree(JoinPath(menu, kCompanionsSubfolder))) {
        Tell("ﾃﾞｨﾚｸﾄﾘの作成に失敗しました(1).");
        return false;
    }
    if (!MakeFolderTree(JoinPath(menu, kDocumentsSubfolder))) {
        Tell("ﾃﾞｨﾚｸﾄﾘの作成に失敗しました(2).");
        return false;
    }
    std::vector<LinkSpec> links;
    if (Checked(IDC_AS_STARTUP)) links.push_back(StartupLink(m_installFolder, m_folder, startup));
    for (LinkSpec& link : AccountLinks(m_installFolder, m_folder, menu)) links.push_back(std::move(link));
    const LinkResult result = MakeShellLinks(links, missing);
    if (result != LinkResult::kMade) {
        Tell(LinkFailureText(result));
        return false;
    }
    return WriteText(JoinPath(m_folder, "user_uninst.txt"), UserUninstallMenuText(programs, startup, m_menu), true);
}

// Opens the first-steps page beside the new daemon, then starts the daemon
// on the user's parameter file.
void StartDaemon(const std::string& installFolder, const std::string& parameterFolder, SplashWindow& splash) {
    const std::string bin = JoinPath(installFolder, "bin");
    const std::string page = JoinPath(installFolder, kFirstExecHelp);
    if (FileExists(page)) {
        ShowWindow(splash.Handle(), SW_HIDE);
        qv::UniqueHandle opener = StartProgramEntry(JoinPath(bin, "QVShlExe.exe"), page);
        Sleep(kOpenerStartMs);
    }
    const std::string daemon = JoinPath(bin, "Quorvel.exe");
    if (!StartProgram("\"" + daemon + "\" -p \"Quorvel.ini\"", parameterFolder))
        MessageBoxA(nullptr, qv::config::Formatted("%s を起動できませんでした.", daemon).c_str(), kCaption,
                    MB_OK | MB_ICONEXCLAMATION);
}

int RunAccountSetup(HINSTANCE instance, const char* commandLine) {
    if (DaemonRunning()) {
        MessageBoxA(nullptr, "Quorvelは停止した状態でセットアップして下さい.\r\nセットアップを中止します.\r\n",
                    kCaption, MB_OK | MB_ICONEXCLAMATION);
        return 1;
    }
    if (!IsNtFamily()) {
        MessageBoxA(nullptr, "このOSでは動作しません.", kCaption, MB_OK | MB_ICONEXCLAMATION);
        return 1;
    }
    const AccountOptions options = ParseAccountCommandLine(commandLine ? commandLine : "");
    const std::string here = CurrentFolder();
    const std::string firstSetup = JoinPath(here, "SETUP.EXE");
    if (!options.autoContinue && FileExists(firstSetup)) {
        if (MessageBoxA(nullptr, OrderQuestion(here).c_str(), kCaption,
                        MB_YESNO | MB_ICONQUESTION | MB_DEFBUTTON2) == IDYES)
            StartProgram("\"" + firstSetup + "\"", here);
        return 1;
    }

    SplashWindow splash;
    splash.Open(instance, kCaption, AccountText());
    AccountSetupDialog dialog(instance, options.menu);
    const INT_PTR result = dialog.DoModal(instance, IDD_ACCOUNT_SETUP, splash.Handle());
    if (result == IDCANCEL) {
        MessageBoxA(nullptr, "アカウント別 セットアップをキャンセルしました.", kCaption, MB_OK | MB_ICONINFORMATION);
        return 1;
    }
    if (result != IDOK) {
        MessageBoxA(nullptr, "アカウント別 セットアップは異常終了しました.\r\n", kCaption, MB_OK | MB_ICONEXCLAMATION);
        return 2;
    }
    std::string done = "アカウント別　セットアップは完了しました.\r\n";
    if (dialog.StartDaemon())
        done += "Quorvelを起動します.\r\n";
    else if (dialog.MenuMade())
        done += "ｽﾀｰﾄﾒﾆｭｰから、Quorvel を選ぶと実行できます.\r\n";
    MessageBoxA(nullptr, done.c_str(), kCaption, MB_OK | MB_ICONINFORMATION);
    if (dialog.StartDaemon()) StartDaemon(here, dialog.ParameterFolder(), splash);
    return 0;
}

}  // namespace

}  // namespace qvsetup

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR commandLine, int) {
    return qvsetup::RunAccountSetup(instance, commandLine);
}

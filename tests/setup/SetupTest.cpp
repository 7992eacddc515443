// The two setup programs end to end, on a copy of the unpacked release
// archive: Setup installs into a temporary folder and hands over to QVSetup,
// which makes the user's folder and shortcuts; second runs, a medium with a
// file missing, bad folders, a running daemon and the order question.
#include <windows.h>
#include <shlobj.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "ComRef.h"
#include "Daemon.h"
#include "DaemonExtras.h"
#include "DaemonRequest.h"
#include "Protocol.h"
#include "Desktops.h"
#include "Handle.h"
#include "Processes.h"
#include "QVSetupRes.h"
#include "RegistryText.h"
#include "SetupRes.h"
#include "SetupRules.h"
#include "TestFiles.h"

namespace {

using qvtest::ProcessGuard;
using qvtest::TempDir;

constexpr char kFirstCaption[] = "Quorvel First Setup";
constexpr char kAccountCaption[] = "Quorvel　ｱｶｳﾝﾄ別ｾｯﾄｱｯﾌﾟ";
constexpr char kNoticeCaption[] = "バージョンアップユーザの方へ";
constexpr DWORD kWaitMs = 20000;

void CopyTree(const std::string& from, const std::string& to) {
    CreateDirectoryA(to.c_str(), nullptr);
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA((from + "\\*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) return;
    do {
        const std::string name = found.cFileName;
        if (name == "." || name == "..") continue;
        if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
            CopyTree(from + "\\" + name, to + "\\" + name);
        else
            CopyFileA((from + "\\" + name).c_str(), (to + "\\" + name).c_str(), FALSE);
    } while (FindNextFileA(search, &found));
    FindClose(search);
}

struct ShellLink {
    std::string target, arguments, folder;
};

bool ReadShellLink(const std::string& path, ShellLink* link) {
    qv::ComApartment apartment;
    qv::ComRef<IShellLinkA> shell;
    qv::ComRef<IPersistFile> file;
    if (FAILED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkA, shell.PutVoid())) ||
        FAILED(shell->QueryInterface(IID_IPersistFile, file.PutVoid())))
        return false;
    wchar_t wide[MAX_PATH];
    MultiByteToWideChar(CP_ACP, 0, path.c_str(), -1, wide, MAX_PATH);
    if (FAILED(file->Load(wide, STGM_READ))) return false;
    char text[1024] = "";
    shell->GetPath(text, sizeof text, nullptr, SLGP_RAWPATH);
    link->target = text;
    shell->GetArguments(text, sizeof text);
    link->arguments = text;
    shell->GetWorkingDirectory(text, sizeof text);
    link->folder = text;
    return true;
}

bool ReadOnly(const std::string& path) {
    const DWORD attributes = GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY);
}

// The dialog of the caption that has the control, once it is shown (a
// message box of the same caption has no such control).
HWND ShownDialog(const std::string& desktop, const char* caption, int control) {
    HWND found = nullptr;
    qvtest::WaitUntil(
        [&] {
            qvtest::RunOnDesktop(desktop, [&] {
                HWND window = FindWindowA("#32770", caption);
                found = window && GetDlgItem(window, control) && IsWindowVisible(window) ? window : nullptr;
            });
            return found != nullptr;
        },
        kWaitMs);
    return found;
}

// A setup program of the medium, started in a folder on the test's desktop.
class SetupProgram {
public:
    SetupProgram(const std::string& program, const std::string& arguments, const std::string& folder,
                 const std::string& desktop)
        : m_desktop(desktop) {
        std::string line = "\"" + program + "\" " + arguments;
        std::vector<char> command(line.begin(), line.end());
        command.push_back('\0');
        std::vector<char> desk(desktop.begin(), desktop.end());
        desk.push_back('\0');
        STARTUPINFOA startup{};
        startup.cb = sizeof startup;
        startup.lpDesktop = desk.data();
        PROCESS_INFORMATION started{};
        if (!CreateProcessA(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, folder.c_str(), &startup,
                            &started)) {
            ADD_FAILURE() << "CreateProcess " << program << " failed: error " << GetLastError();
            return;
        }
        m_guard.Hold(started.hProcess);
        qvtest::RememberStarted(started.hProcess);
        CloseHandle(started.hThread);
        CloseHandle(started.hProcess);
    }

    // One started by another program: the owner of a shown dialog.
    SetupProgram(HWND dialog, const std::string& desktop) : m_desktop(desktop) {
        m_guard.WatchWindowOwner(dialog);
    }

    DWORD Pid() const { return m_guard.Pid(); }
    // The dialog with this control once it is shown.
    HWND Dialog(const char* caption, int control) const { return ShownDialog(m_desktop, caption, control); }
    // The next message box or text window: a shown dialog of the program
    // other than the one given and the notice that stands beside Setup's.
    HWND Box(HWND besides) const {
        struct Search {
            DWORD pid;
            HWND besides;
            HWND found;
        } search{Pid(), besides, nullptr};
        qvtest::WaitUntil(
            [&] {
                qvtest::RunOnDesktop(m_desktop, [&] {
                    EnumWindows(
                        [](HWND window, LPARAM param) -> BOOL {
                            auto* s = reinterpret_cast<Search*>(param);
                            DWORD owner = 0;
                            GetWindowThreadProcessId(window, &owner);
                            char name[64] = "", caption[128] = "";
                            GetClassNameA(window, name, sizeof name);
                            GetWindowTextA(window, caption, sizeof caption);
                            if (owner != s->pid || window == s->besides || std::string(name) != "#32770" ||
                                std::string(caption) == kNoticeCaption || !IsWindowVisible(window))
                                return TRUE;
                            s->found = window;
                            return FALSE;
                        },
                        reinterpret_cast<LPARAM>(&search));
                });
                return search.found != nullptr;
            },
            kWaitMs);
        return search.found;
    }
    long WaitExit() const { return m_guard.WaitExit(kWaitMs); }
    // Answers the next box (or closes the text window) and returns its text.
    std::string Answer(HWND besides, int button = IDOK) const {
        HWND box = Box(besides);
        if (!box) return "<no box>";
        const bool textWindow = GetDlgItem(box, IDC_ST_TEXT) != nullptr;
        std::vector<char> text(16384);
        SendMessageA(GetDlgItem(box, textWindow ? IDC_ST_TEXT : 0xFFFF), WM_GETTEXT, text.size(),
                     reinterpret_cast<LPARAM>(text.data()));
        PostMessageA(box, WM_COMMAND, textWindow ? IDCANCEL : button, 0);
        qvtest::WaitUntil([&] { return !IsWindow(box); }, kWaitMs);
        return text.data();
    }

private:
    std::string m_desktop;
    ProcessGuard m_guard;
};

void SetText(HWND dialog, int id, const std::string& text) {
    SendMessageA(GetDlgItem(dialog, id), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
}
void SetCheck(HWND dialog, int id, bool checked) {
    SendMessageA(GetDlgItem(dialog, id), BM_SETCHECK, checked ? BST_CHECKED : BST_UNCHECKED, 0);
}
void Press(HWND dialog, int id) { PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), 0); }

// The user's Programs, Startup and AppData folders point into the test's
// folder while it runs, so the shortcuts and parameter files land there.
// The values are the prefix's, shared by every test program of the session:
// the setup suites take turns with them.
class SetupTest : public ::testing::Test {
protected:
    void SetUp() override {
        m_turn.Reset(CreateMutexA(nullptr, FALSE, "QuorvelSetupTestShellFolders"));
        ASSERT_TRUE(m_turn);
        const DWORD wait = WaitForSingleObject(m_turn.Get(), 120000);
        ASSERT_TRUE(wait == WAIT_OBJECT_0 || wait == WAIT_ABANDONED);
        m_owned = true;
        ASSERT_FALSE(qvtest::MediumFolder().empty()) << "QV_MEDIUM names no unpacked archive";
        CopyTree(qvtest::MediumFolder(), m_medium);
        ASSERT_TRUE(qvtest::FileExists(m_medium + "\\Setup.exe"));
        for (const char* name : {"Programs", "Startup", "AppData"}) {
            std::string old;
            qv::ReadRegistryText(HKEY_CURRENT_USER, qv::kShellFoldersKey, name, &old);
            m_saved.emplace_back(name, old);
            const std::string folder = m_dir.Path() + "\\" + name;
            CreateDirectoryA(folder.c_str(), nullptr);
            SetShellFolder(name, folder);
        }
    }
    void TearDown() override {
        for (const auto& [name, value] : m_saved) SetShellFolder(name.c_str(), value);
        if (m_owned) ReleaseMutex(m_turn.Get());
    }

    static void SetShellFolder(const char* name, const std::string& value) {
        HKEY opened = nullptr;
        ASSERT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, qv::kShellFoldersKey, 0, nullptr, 0, KEY_SET_VALUE, nullptr,
                                  &opened, nullptr),
                  ERROR_SUCCESS);
        qv::UniqueRegistryKey key(opened);
        RegSetValueExA(key.Get(), name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                       static_cast<DWORD>(value.size() + 1));
    }

    // Setup's dialog filled in for the test's install folder and menu, the
    // shortcuts the user's own; null when it did not come.
    HWND FilledFirstSetup(const SetupProgram& setup, bool continueToAccount) {
        HWND dialog = setup.Dialog(kFirstCaption, IDC_FS_FOLDER);
        if (!dialog) return nullptr;
        SetText(dialog, IDC_FS_FOLDER, m_install);
        SetText(dialog, IDC_FS_MENU, m_menu);
        SetCheck(dialog, IDC_FS_ALL_USERS, false);
        SetCheck(dialog, IDC_FS_CURRENT_USER, true);
        SetCheck(dialog, IDC_FS_CONTINUE, continueToAccount);
        return dialog;
    }

    // Runs Setup to the end of a good install; the account setup is not
    // asked for. Its closing box.
    std::string Install() {
        SetupProgram setup(m_medium + "\\Setup.exe", "", m_medium, m_desktop.Name());
        HWND dialog = FilledFirstSetup(setup, false);
        if (!dialog) return "<no dialog>";
        Press(dialog, IDC_FS_INSTALL);
        const std::string text = setup.Answer(dialog);
        EXPECT_EQ(setup.WaitExit(), 0) << text;
        return text;
    }

    // Runs QVSetup in the install folder with the boxes given; its closing box.
    std::string AccountSetup(const std::string& arguments, bool startup, bool onlyMissing) {
        SetupProgram setup(m_install + "\\QVSetup.exe", arguments, m_install, m_desktop.Name());
        HWND dialog = setup.Dialog(kAccountCaption, IDC_AS_MENU);
        if (!dialog) return "<no dialog>";
        SetCheck(dialog, IDC_AS_STARTUP, startup);
        SetCheck(dialog, IDC_AS_ONLY_MISSING, onlyMissing);
        SetCheck(dialog, IDC_AS_START, false);
        Press(dialog, IDOK);
        const std::string text = setup.Answer(dialog);
        EXPECT_EQ(setup.WaitExit(), 0) << text;
        return text;
    }

    std::string Programs() const { return m_dir.Path() + "\\Programs\\" + m_menu; }
    std::string ParameterFolder() const { return m_dir.Path() + "\\AppData\\Lumarch\\Quorvel\\"; }

    qvtest::TestDesktop m_desktop;
    TempDir m_dir;
    std::string m_medium = m_dir.Path() + "\\medium";
    std::string m_install = m_dir.Path() + "\\Program Files\\Lumarch\\Quorvel";
    std::string m_menu = "Quorvel Test";  // a blank: it must arrive whole
    std::vector<std::pair<std::string, std::string>> m_saved;
    qv::UniqueHandle m_turn;
    bool m_owned = false;
};

// The cases that start a daemon, which take turns with the daemon suites.
class SetupWithTheDaemon : public SetupTest {};

TEST_F(SetupTest, InstallsTheMediumAndHandsOverToTheAccountSetup) {
    SetupProgram setup(m_medium + "\\Setup.exe", "", m_medium, m_desktop.Name());
    HWND dialog = FilledFirstSetup(setup, true);
    ASSERT_TRUE(dialog);
    Press(dialog, IDC_FS_INSTALL);
    EXPECT_EQ(setup.Answer(dialog), "1st セットアップは完了しました.\r\n続いて、アカウント別セットアップに移ります.\r\n");
    EXPECT_EQ(setup.WaitExit(), 0);

    for (const char* folder : {"DEFAULT", "DOC", "DEMOCNTS", "bin"})
        EXPECT_TRUE(GetFileAttributesA((m_install + "\\" + folder).c_str()) & FILE_ATTRIBUTE_DIRECTORY) << folder;
    EXPECT_TRUE(ReadOnly(m_install + "\\bin\\Quorvel.exe"));
    EXPECT_TRUE(ReadOnly(m_install + "\\bin\\QVCtl.exe"));  // the script client beside the others
    EXPECT_TRUE(ReadOnly(m_install + "\\DOC\\readme.txt"));
    EXPECT_TRUE(ReadOnly(m_install + "\\DOC\\uninst.txt"));
    EXPECT_FALSE(ReadOnly(m_install + "\\QVSetup.exe"));
    EXPECT_TRUE(qvtest::FileExists(m_install + "\\DEMOCNTS\\FirstExec.chm"));
    EXPECT_TRUE(qvtest::FileExists(m_install + "\\DEFAULT\\QVCtrlBar.ini"));
    // The medium's relative places now lie under the install folder.
    const std::string defaults = qvtest::ReadBytes(m_install + "\\DEFAULT\\Quorvel.ini");
    EXPECT_NE(defaults.find("\t" + m_install + "\\DEMOCNTS"), std::string::npos) << defaults;
    EXPECT_EQ(qvtest::ReadBytes(m_install + "\\DOC\\uninst.txt"),
              qvtest::Crlf(qvsetup::UninstallText(m_install) +
                           qvsetup::UninstallMenuText(false, "", m_dir.Path() + "\\Programs", m_menu)));
    ShellLink link;
    ASSERT_TRUE(ReadShellLink(Programs() + "\\ｱｶｳﾝﾄ別ｾｯﾄｱｯﾌﾟ.lnk", &link));
    EXPECT_EQ(link.target, m_install + "\\QVSetup.exe");
    ASSERT_TRUE(ReadShellLink(Programs() + "\\補足説明ﾄﾞｷｭﾒﾝﾄ\\1) Quorvelとは.lnk", &link));
    EXPECT_EQ(link.target, m_install + "\\DOC\\setup1.txt");

    // The account setup came up by itself, with the menu name handed over.
    HWND accountDialog = ShownDialog(m_desktop.Name(), kAccountCaption, IDC_AS_MENU);
    ASSERT_TRUE(accountDialog);
    SetupProgram account(accountDialog, m_desktop.Name());
    char menu[MAX_PATH] = "";
    SendMessageA(GetDlgItem(accountDialog, IDC_AS_MENU), WM_GETTEXT, sizeof menu, reinterpret_cast<LPARAM>(menu));
    EXPECT_EQ(std::string(menu), m_menu);
    SetCheck(accountDialog, IDC_AS_STARTUP, true);
    SetCheck(accountDialog, IDC_AS_START, false);
    Press(accountDialog, IDOK);
    EXPECT_EQ(account.Answer(accountDialog), "アカウント別　セットアップは完了しました.\r\nｽﾀｰﾄﾒﾆｭｰから、Quorvel を選ぶと実行できます.\r\n");
    EXPECT_EQ(account.WaitExit(), 0);

    EXPECT_EQ(qvtest::ReadBytes(ParameterFolder() + "Quorvel.ini"), defaults);
    EXPECT_TRUE(qvtest::FileExists(ParameterFolder() + "QVCtrlBar.ini"));
    EXPECT_EQ(qvtest::ReadBytes(ParameterFolder() + "user_uninst.txt"),
              qvtest::Crlf(qvsetup::UserUninstallText(ParameterFolder()) +
                           qvsetup::UserUninstallMenuText(m_dir.Path() + "\\Programs", m_dir.Path() + "\\Startup",
                                                          m_menu)));
    ASSERT_TRUE(ReadShellLink(m_dir.Path() + "\\Startup\\Quorvel.lnk", &link));
    EXPECT_EQ(link.target, m_install + "\\bin\\Quorvel.exe");
    EXPECT_EQ(link.arguments, "-p \"" + ParameterFolder() + "Quorvel.ini\"");
    EXPECT_EQ(link.folder, ParameterFolder());
    ASSERT_TRUE(ReadShellLink(Programs() + "\\Quorvelの仲間たち\\QV ﾋﾞｭｰｱ.lnk", &link));
    EXPECT_EQ(link.target, m_install + "\\bin\\QVViewer.exe");
    ASSERT_TRUE(ReadShellLink(Programs() + "\\Quorvel(本体).lnk", &link));
    EXPECT_EQ(link.arguments, "-p \"" + ParameterFolder() + "Quorvel.ini\"");
}

TEST_F(SetupTest, ASecondInstallAndASecondAccountSetupKeepWhatTheUserEdited) {
    ASSERT_EQ(Install(), "1st セットアップは完了しました.");
    // Over the read-only copies of the first.
    ASSERT_EQ(Install(), "1st セットアップは完了しました.");
    EXPECT_TRUE(ReadOnly(m_install + "\\bin\\QVViewer.exe"));

    ASSERT_EQ(AccountSetup("", false, true), "アカウント別　セットアップは完了しました.\r\nｽﾀｰﾄﾒﾆｭｰから、Quorvel を選ぶと実行できます.\r\n");
    qvtest::WriteBytes(ParameterFolder() + "Quorvel.ini", "; edited by the user\r\n");
    DeleteFileA((ParameterFolder() + "QVCtrlBar.ini").c_str());
    AccountSetup("", false, true);
    EXPECT_EQ(qvtest::ReadBytes(ParameterFolder() + "Quorvel.ini"), "; edited by the user\r\n");
    EXPECT_TRUE(qvtest::FileExists(ParameterFolder() + "QVCtrlBar.ini")) << "a missing one is copied";
    EXPECT_FALSE(qvtest::FileExists(m_dir.Path() + "\\Startup\\Quorvel.lnk"));
    // Unticked, the user's file is replaced.
    AccountSetup("", false, false);
    EXPECT_EQ(qvtest::ReadBytes(ParameterFolder() + "Quorvel.ini"),
              qvtest::ReadBytes(m_install + "\\DEFAULT\\Quorvel.ini"));
}

TEST_F(SetupTest, AMediumWithAFileMissingListsItInstallsTheRestAndMakesNoShortcuts) {
    DeleteFileA((m_medium + "\\readme.txt").c_str());
    SetupProgram setup(m_medium + "\\Setup.exe", "", m_medium, m_desktop.Name());
    HWND dialog = FilledFirstSetup(setup, true);
    ASSERT_TRUE(dialog);
    Press(dialog, IDC_FS_INSTALL);
    EXPECT_EQ(setup.Answer(dialog), "必須ファイルが見つかりませんでした.\r\nreadme.txt\r\n");
    EXPECT_TRUE(qvtest::FileExists(m_install + "\\bin\\Quorvel.exe"));
    EXPECT_TRUE(qvtest::FileExists(m_install + "\\DOC\\setup1.txt"));
    EXPECT_EQ(GetFileAttributesA(Programs().c_str()), INVALID_FILE_ATTRIBUTES) << "no shortcuts";
    ASSERT_TRUE(IsWindow(dialog)) << "the dialog stays";

    // Bad folders and names are refused with the dialog kept.
    const struct {
        const char* folder;
        const char* menu;
        const char* message;
    } refused[] = {
        {"C:", "Quorvel", "ﾌｫﾙﾀﾞ名が不正です."},
        {"C:\\QVTest", "", "ﾒﾆｭｰ名が不正です."},
        {"Q:\\no drive\\Quorvel", "Quorvel", "ﾃﾞｨﾚｸﾄﾘの作成に失敗しました."},
    };
    for (const auto& r : refused) {
        SetText(dialog, IDC_FS_FOLDER, r.folder);
        SetText(dialog, IDC_FS_MENU, r.menu);
        Press(dialog, IDC_FS_INSTALL);
        EXPECT_EQ(setup.Answer(dialog), r.message) << r.folder;
        EXPECT_TRUE(IsWindow(dialog));
    }
    Press(dialog, IDCANCEL);
    EXPECT_EQ(setup.Answer(dialog), "セットアップを中止しました");
    EXPECT_EQ(setup.WaitExit(), 1);
}

TEST_F(SetupTest, StartedByHandBesideSetupExeTheAccountSetupAsksForTheOrder) {
    SetupProgram setup(m_medium + "\\QVSetup.exe", "", m_medium, m_desktop.Name());
    EXPECT_EQ(setup.Answer(nullptr, IDNO), qvsetup::OrderQuestion(m_medium));
    EXPECT_EQ(setup.WaitExit(), 1);
    EXPECT_EQ(GetFileAttributesA(ParameterFolder().c_str()), INVALID_FILE_ATTRIBUTES);
}

// Ends the daemon that a setup started on the desktop: its log shows it
// started on the file it was given.
bool EndDaemonStartedOn(const std::string& desktop, const std::string& logPath) {
    if (!qvtest::WaitUntil([&] { return qvtest::FileExists(logPath); }, kWaitMs)) return false;
    bool posted = false;
    qvtest::RunOnDesktop(desktop, [&] {
        HWND main = qvtest::WaitForDaemonWindow(qv::DaemonWindow::kMain, kWaitMs);
        qvtest::ProcessGuard daemon;
        daemon.WatchWindowOwner(main);
        posted = main && PostMessageA(main, qv::kRequestMessage, qv::kEndDaemonRequest, 0) && daemon.WaitExit(kWaitMs) >= 0;
    });
    return posted;
}

TEST_F(SetupWithTheDaemon, TheTrialRunAndTheAccountSetupStartTheDaemonOnTheirParameterFiles) {
    qvtest::DaemonTurn turn;  // a daemon of this window station at a time
    // A daemon makes the logon desktop its home: the programs that start it
    // run there.
    const std::string home = qvtest::CurrentDesktopName();
    // Quiet parameter files, and no first-steps page, whose help viewer
    // would outlive the test.
    const std::string trialLog = m_dir.File("trial.log");
    qvtest::WriteBytes(m_medium + "\\Quorvel.ini",
                       qvtest::Crlf(qvtest::ParameterText(trialLog, qvtest::kQuietController, {""})));
    DeleteFileA((m_medium + "\\DEMOCNTS\\FirstExec.chm").c_str());

    SetupProgram setup(m_medium + "\\Setup.exe", "", m_medium, home);
    HWND dialog = setup.Dialog(kFirstCaption, IDC_FS_FOLDER);
    ASSERT_TRUE(dialog);
    Press(dialog, IDC_FS_TRIAL);
    EXPECT_EQ(setup.WaitExit(), 0);
    EXPECT_TRUE(EndDaemonStartedOn(home, trialLog)) << "the trial run started no daemon on Quorvel.ini";
    EXPECT_EQ(GetFileAttributesA(m_install.c_str()), INVALID_FILE_ATTRIBUTES) << "a trial installs nothing";

    // Installed without the page; the user's parameter file written before
    // is kept, and the daemon starts on it in the parameter folder.
    qvtest::WriteBytes(m_medium + "\\DEMOCNTS\\FirstExec.chm", "");
    ASSERT_EQ(Install(), "1st セットアップは完了しました.");
    SetFileAttributesA((m_install + "\\DEMOCNTS\\FirstExec.chm").c_str(), FILE_ATTRIBUTE_NORMAL);
    DeleteFileA((m_install + "\\DEMOCNTS\\FirstExec.chm").c_str());
    const std::string accountLog = m_dir.File("account.log");
    CreateDirectoryA((m_dir.Path() + "\\AppData\\Lumarch").c_str(), nullptr);
    CreateDirectoryA(ParameterFolder().c_str(), nullptr);
    qvtest::WriteBytes(ParameterFolder() + "Quorvel.ini",
                       qvtest::Crlf(qvtest::ParameterText(accountLog, qvtest::kQuietController, {""})));
    SetupProgram account(m_install + "\\QVSetup.exe", "", m_install, home);
    HWND accountDialog = account.Dialog(kAccountCaption, IDC_AS_MENU);
    ASSERT_TRUE(accountDialog);
    Press(accountDialog, IDOK);  // the daemon's start is ticked by default
    EXPECT_EQ(account.Answer(accountDialog), "アカウント別　セットアップは完了しました.\r\nQuorvelを起動します.\r\n");
    EXPECT_EQ(account.WaitExit(), 0);
    EXPECT_TRUE(EndDaemonStartedOn(home, accountLog)) << "no daemon on the user's Quorvel.ini";
}

TEST_F(SetupWithTheDaemon, BothSetupsRefuseWhileItRuns) {
    qvtest::Daemon daemon;
    ASSERT_TRUE(daemon.StartReady(qvtest::kQuietController, {""}));
    SetupProgram first(m_medium + "\\Setup.exe", "", m_medium, daemon.StartDesktop());
    EXPECT_EQ(first.Answer(nullptr), "Quorvelは停止した状態でセットアップして下さい.\r\nドキュメントだけ閲覧できます.\r\n");
    HWND dialog = first.Dialog(kFirstCaption, IDC_FS_FOLDER);
    ASSERT_TRUE(dialog);
    EXPECT_FALSE(IsWindowEnabled(GetDlgItem(dialog, IDC_FS_INSTALL)));
    EXPECT_FALSE(IsWindowEnabled(GetDlgItem(dialog, IDC_FS_TRIAL)));
    // The documents can still be read.
    Press(dialog, IDC_FS_DOCUMENT1 + 2);
    std::string expected;
    const std::string raw = qvtest::ReadBytes(m_medium + "\\setup3.txt");
    for (size_t i = 0; i < raw.size(); ++i) {
        if (raw[i] == '\n' && (i == 0 || raw[i - 1] != '\r')) expected += '\r';
        expected += raw[i];
    }
    ASSERT_FALSE(expected.empty());
    EXPECT_EQ(first.Answer(dialog), expected);
    Press(dialog, IDCANCEL);
    first.Answer(dialog);
    EXPECT_EQ(first.WaitExit(), 1);

    SetupProgram account(m_medium + "\\QVSetup.exe", "/AutoContinue", m_medium, daemon.StartDesktop());
    EXPECT_EQ(account.Answer(nullptr), "Quorvelは停止した状態でセットアップして下さい.\r\nセットアップを中止します.\r\n");
    EXPECT_EQ(account.WaitExit(), 1);
}

}  // namespace

// The configurator end to end, as a user drives it: started on a missing
// file it offers the default content, saves it, and asks before it drops
// unsaved changes.

#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "ConfigFile.h"
#include "Daemon.h"
#include "Desktops.h"
#include "Processes.h"
#include "DesktopDialogsRes.h"
#include "QVConfigRes.h"
#include "RemoteList.h"
#include "TestFiles.h"

namespace {

constexpr char kDialogCaption[] = "Quorvel Configurator";

// The main dialog of a configurator started on the desktop, once its
// opening messages are answered.
HWND MainDialog(const std::string& desktop) { return qvtest::FindShownDialog(desktop, kDialogCaption, 30000); }

std::vector<std::string> DesktopRows(HWND dialog, DWORD pid) {
    qvtest::RemoteList rows(GetDlgItem(dialog, IDC_CF_LIST), pid);
    std::vector<std::string> names;
    for (int row = 0; row < rows.Count(); ++row) names.push_back(rows.Text(row, 0));
    return names;
}

// An edit control's text: another process's control is asked, since the
// system keeps no copy of what it holds.
std::string ControlText(HWND control) {
    char text[512] = "";
    SendMessageTimeoutA(control, WM_GETTEXT, sizeof text, reinterpret_cast<LPARAM>(text), SMTO_ABORTIFHUNG, 5000,
                        nullptr);
    return text;
}

void Command(HWND dialog, WORD id) { PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(id, 0), 0); }

TEST(ConfigProgram, AMissingFileGivesTheDefaultContentWhichSavesAsTheUserAsks) {
    qvtest::TestDesktop desktop;
    qvtest::TempDir dir;
    const std::string path = dir.File("new.ini");
    qvtest::ProcessGuard config;
    ASSERT_TRUE(qvtest::StartProgram(config, "QVConfig.exe", "-p \"" + path + "\"", desktop.Name()));
    const qvtest::DaemonDialog told = qvtest::WaitForProcessDialog(config.Pid(), desktop.Name(), 30000);
    ASSERT_TRUE(told);
    EXPECT_EQ(told.text, "定義内容が未設定です。　デフォルト状態で生成します。");
    qvtest::PressDialog(told, IDOK);
    HWND dialog = MainDialog(desktop.Name());
    ASSERT_TRUE(dialog);
    EXPECT_EQ(DesktopRows(dialog, config.Pid()), (std::vector<std::string>{"Desktop2", "Desktop3"}));

    // A desktop added through its dialog: a name, and every process ended
    // when it closes.
    Command(dialog, IDC_CF_ADD);
    const qvtest::DaemonDialog added = qvtest::WaitForProcessDialog(config.Pid(), desktop.Name(), 10000, dialog);
    ASSERT_TRUE(added);
    EXPECT_EQ(added.caption, "Desktopの設定");
    SendMessageTimeoutA(GetDlgItem(added.window, IDC_DT_NAME), WM_SETTEXT, 0, reinterpret_cast<LPARAM>("Mail"),
                        SMTO_ABORTIFHUNG, 5000, nullptr);
    HWND preset = GetDlgItem(added.window, IDC_DT_PRESET);
    SendMessageTimeoutA(preset, CB_SETCURSEL, 2, 0, SMTO_ABORTIFHUNG, 5000, nullptr);  // "全部終了する"
    SendMessageTimeoutA(added.window, WM_COMMAND, MAKEWPARAM(IDC_DT_PRESET, CBN_SELCHANGE),
                        reinterpret_cast<LPARAM>(preset), SMTO_ABORTIFHUNG, 5000, nullptr);
    EXPECT_FALSE(IsWindowEnabled(GetDlgItem(added.window, IDC_DT_ACTION_FIRST))) << "the preset decides the actions";
    EXPECT_TRUE(IsWindowEnabled(GetDlgItem(added.window, IDC_DT_EXITCODE)));
    qvtest::PressDialog(added, IDOK);
    ASSERT_TRUE(qvtest::WaitUntil([&] { return DesktopRows(dialog, config.Pid()).size() == 3; }, 5000));
    EXPECT_EQ(DesktopRows(dialog, config.Pid()).back(), "Mail");
    EXPECT_EQ(qvtest::RemoteList(GetDlgItem(dialog, IDC_CF_LIST), config.Pid()).Text(2, 3), "PEN");

    Command(dialog, ID_CF_SAVE);
    const qvtest::DaemonDialog saved = qvtest::WaitForProcessDialog(config.Pid(), desktop.Name(), 10000, dialog);
    ASSERT_TRUE(saved);
    EXPECT_EQ(saved.text, "保存しました.");
    qvtest::PressDialog(saved, IDOK);
    std::vector<std::string> told2;
    const qv::config::Configuration written = qv::config::LoadConfiguration(path.c_str(), &told2);
    ASSERT_TRUE(written.controller);
    ASSERT_EQ(written.controller->Desktops().Count(), 3);
    const qv::AncestryDesktop* mail = nullptr;
    for (const qv::AncestryDesktop* d : written.controller->Desktops()) mail = d;
    EXPECT_STREQ(mail->m_strTitle.c_str(), "Mail");
    EXPECT_EQ(mail->m_dwExitOptions, 0x10110100u);

    // Saved: the end asks nothing.
    Command(dialog, IDCANCEL);
    EXPECT_EQ(config.WaitExit(10000), 0);
}

TEST(ConfigProgram, UnsavedChangesAreAskedAboutAndNoLeavesTheFileAsItWas) {
    qvtest::TestDesktop desktop;
    qvtest::TempDir dir;
    const std::string path = dir.File("kept.ini");
    qvtest::WriteBytes(path, "AncestryController::RingListClass\t{\r\nDefaultTitle\tHome\r\n}\r\n--EOF--\r\n");
    qvtest::ProcessGuard config;
    ASSERT_TRUE(qvtest::StartProgram(config, "QVConfig.exe", "-p \"" + path + "\"", desktop.Name()));
    HWND dialog = MainDialog(desktop.Name());
    ASSERT_TRUE(dialog);
    EXPECT_EQ(ControlText(GetDlgItem(dialog, IDC_CF_TITLE)), "Home");
    // Typing a title changes the content; typing a save path does not.
    SendMessageTimeoutA(GetDlgItem(dialog, IDC_CF_TITLE), WM_SETTEXT, 0, reinterpret_cast<LPARAM>("Away"),
                        SMTO_ABORTIFHUNG, 5000, nullptr);
    Command(dialog, IDCANCEL);
    const qvtest::DaemonDialog question = qvtest::WaitForProcessDialog(config.Pid(), desktop.Name(), 10000, dialog);
    ASSERT_TRUE(question);
    EXPECT_EQ(question.text.rfind("変更内容が保存されていません. 保存してから終了しますか？", 0), 0u) << question.text;
    qvtest::PressDialog(question, IDNO);
    EXPECT_EQ(config.WaitExit(10000), 0);
    EXPECT_EQ(qvtest::ReadBytes(path), "AncestryController::RingListClass\t{\r\nDefaultTitle\tHome\r\n}\r\n--EOF--\r\n");
}

}  // namespace

namespace {

// The text of the configurator's next message box, answered with OK.
std::string NextMessage(const std::string& desktop) {
    HWND box = qvtest::FindShownDialog(desktop, "QVConfig", 10000);
    if (!box) return "<no box>";
    const std::string text = qvtest::WindowText(GetDlgItem(box, 0xFFFF));
    PostMessageA(box, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
    qvtest::WaitUntil([&] { return !IsWindow(box); }, 5000);
    return text;
}

TEST(ConfigProgram, CapturingTakesTheRunningProgramOnceAndNotTwice) {
    qvtest::TestDesktop desktop;
    qvtest::ProcessGuard fixture;
    ASSERT_TRUE(qvtest::StartProgram(fixture, "QVFixture.exe", "--title=CfCaptured", desktop.Name()));
    ASSERT_TRUE(qvtest::FindWindowOn(desktop.Name(), nullptr, "CfCaptured", 10000));
    qvtest::TempDir dir;
    const std::string path = dir.File("capture.ini");
    qvtest::WriteBytes(path, "AncestryController::RingListClass\t{\r\n\tAncestryDesktop::RingListClass\t{\r\n"
                             "\t\tDesktopName\tWork\r\n\t}\r\n}\r\n--EOF--\r\n");
    qvtest::ProcessGuard config;
    ASSERT_TRUE(qvtest::StartProgram(config, "QVConfig.exe", "-p \"" + path + "\"", desktop.Name()));
    HWND dialog = MainDialog(desktop.Name());
    ASSERT_TRUE(dialog);
    qvtest::RemoteList rows(GetDlgItem(dialog, IDC_CF_LIST), config.Pid());
    ASSERT_TRUE(rows.Select(0));
    Command(dialog, ID_CF_EDIT);
    HWND edited = qvtest::FindShownDialog(desktop.Name(), "Desktopの設定", 10000);
    ASSERT_TRUE(edited);
    qvtest::RemoteList programs(GetDlgItem(edited, IDC_DT_PROGRAMS), config.Pid());

    auto captureAll = [&] {
        Command(edited, IDC_DT_CAPTURE);
        HWND options = qvtest::FindShownDialog(desktop.Name(), "実行中ｱﾌﾟﾘのｷｬﾌﾟﾁｬ", 10000);
        if (!options) return std::string("<no options>");
        Command(options, IDC_CP_ALL);
        return NextMessage(desktop.Name());
    };
    // The defaults leave out the configurator itself and the shell.
    EXPECT_EQ(captureAll(), "1 件取り込みました.");
    ASSERT_EQ(programs.Count(), 1);
    EXPECT_EQ(programs.Text(0, 0), "QVFixture.exe");
    EXPECT_EQ(programs.Text(0, 2), "○");  // it works in its own folder
    EXPECT_EQ(captureAll(), "既にﾘｽﾄに登録済みのモジュールですので、取り込みませんでした.");
    EXPECT_EQ(programs.Count(), 1);

    // The captured entry in its program dialog: once started, never twice.
    ASSERT_TRUE(programs.Select(0));
    Command(edited, IDC_DT_EDIT_PROGRAM);
    HWND program = qvtest::FindShownDialog(desktop.Name(), "ｱﾌﾟﾘｹｰｼｮﾝ起動情報", 10000);
    ASSERT_TRUE(program);
    EXPECT_NE(ControlText(GetDlgItem(program, IDC_PG_FILE)).find("QVFixture.exe"), std::string::npos);
    SendMessageTimeoutA(GetDlgItem(program, IDC_PG_ONCE), BM_SETCHECK, BST_CHECKED, 0, SMTO_ABORTIFHUNG, 5000, nullptr);
    Command(program, IDOK);
    ASSERT_TRUE(qvtest::WaitUntil([&] { return !IsWindow(program); }, 5000));
    EXPECT_EQ(programs.Text(0, 1), "×");

    Command(edited, IDOK);
    ASSERT_TRUE(qvtest::WaitUntil([&] { return !IsWindow(edited); }, 5000));
    Command(dialog, IDCANCEL);
    const qvtest::DaemonDialog question = qvtest::WaitForProcessDialog(config.Pid(), desktop.Name(), 10000, dialog);
    ASSERT_TRUE(question);
    EXPECT_EQ(question.text.rfind("変更内容が保存されていません.", 0), 0u) << question.text;
    qvtest::PressDialog(question, IDNO);
    EXPECT_EQ(config.WaitExit(10000), 0);
}

}  // namespace

namespace {

// A configuration of one desktop whose list starts the fixture as given.
std::string OneDesktopStarting(const std::string& arguments) {
    return "AncestryController::RingListClass\t{\r\n\tAncestryDesktop::RingListClass\t{\r\n"
           "\t\tDesktopName\tWork\r\n\t\tExecutant::RingListClass\t{\r\n\t\t\tExecutionFileName\t" +
           qvtest::FixturePath() + "\r\n\t\t\tExecutionArguments\t" + arguments +
           "\r\n\t\t}\r\n\t}\r\n}\r\n--EOF--\r\n";
}

// The configurator on the file with the first desktop's dialog open.
struct DesktopDialogOpen {
    explicit DesktopDialogOpen(const std::string& desktop, const std::string& path) {
        if (!qvtest::StartProgram(config, "QVConfig.exe", "-p \"" + path + "\"", desktop)) return;
        main = MainDialog(desktop);
        if (!main) return;
        qvtest::RemoteList rows(GetDlgItem(main, IDC_CF_LIST), config.Pid());
        if (!rows.Select(0)) return;
        Command(main, ID_CF_EDIT);
        edited = qvtest::FindShownDialog(desktop, "Desktopの設定", 10000);
    }
    qvtest::ProcessGuard config;
    HWND main = nullptr;
    HWND edited = nullptr;
};

TEST(ConfigProgram, ATestRunStartsTheListWithOtherWindowsHiddenAndEndsItAsTickedPuttingThemBack) {
    qvtest::TestDesktop desktop;
    qvtest::ProcessGuard bystander;
    ASSERT_TRUE(qvtest::StartProgram(bystander, "QVFixture.exe", "--title=CfBystander", desktop.Name()));
    HWND aside = qvtest::FindWindowOn(desktop.Name(), nullptr, "CfBystander", 10000);
    ASSERT_TRUE(aside);
    qvtest::TempDir dir;
    const std::string path = dir.File("testrun.ini");
    qvtest::WriteBytes(path, OneDesktopStarting("--title=CfUnderTest"));
    DesktopDialogOpen open(desktop.Name(), path);
    ASSERT_TRUE(open.edited);

    Command(open.edited, IDC_DT_TEST);
    HWND choice = qvtest::FindShownDialog(desktop.Name(), "ﾃｽﾄ実行", 10000);
    ASSERT_TRUE(choice);
    SendMessageTimeoutA(GetDlgItem(choice, IDC_TR_MINIMIZE), BM_SETCHECK, BST_UNCHECKED, 0, SMTO_ABORTIFHUNG, 5000,
                        nullptr);
    SendMessageTimeoutA(GetDlgItem(choice, IDC_TR_HIDE), BM_SETCHECK, BST_CHECKED, 0, SMTO_ABORTIFHUNG, 5000, nullptr);
    SendMessageTimeoutA(GetDlgItem(choice, IDC_TR_DELAY), CB_SETCURSEL, 0, 0, SMTO_ABORTIFHUNG, 5000, nullptr);
    Command(choice, IDOK);

    HWND ending = qvtest::FindShownDialog(desktop.Name(), "ﾃｽﾄの終了方法", 20000);
    ASSERT_TRUE(ending);
    HWND tested = qvtest::FindWindowOn(desktop.Name(), nullptr, "CfUnderTest", 1000);
    ASSERT_TRUE(tested) << "started before the end is asked";
    EXPECT_FALSE(qvtest::ShownOn(desktop.Name(), aside));
    EXPECT_FALSE(qvtest::ShownOn(desktop.Name(), open.edited));
    EXPECT_TRUE(IsIconic(open.main)) << "the configurator waits minimized";
    EXPECT_EQ(IsDlgButtonChecked(ending, IDC_TE_QUIT), BST_CHECKED);
    qvtest::ProcessGuard testedProcess;
    testedProcess.WatchWindowOwner(tested);
    // Ended by force alone.
    SendMessageTimeoutA(GetDlgItem(ending, IDC_TE_QUIT), BM_SETCHECK, BST_UNCHECKED, 0, SMTO_ABORTIFHUNG, 5000,
                        nullptr);
    SendMessageTimeoutA(GetDlgItem(ending, IDC_TE_TERMINATE), BM_SETCHECK, BST_CHECKED, 0, SMTO_ABORTIFHUNG, 5000,
                        nullptr);
    Command(ending, IDOK);
    EXPECT_TRUE(testedProcess.WaitForEnd(10000));
    EXPECT_TRUE(qvtest::WaitUntil(
        [&] { return qvtest::ShownOn(desktop.Name(), aside) && qvtest::ShownOn(desktop.Name(), open.edited); },
        10000));
    EXPECT_FALSE(IsIconic(open.main));

    Command(open.edited, IDOK);
    ASSERT_TRUE(qvtest::WaitUntil([&] { return !IsWindow(open.edited); }, 5000));
    Command(open.main, IDCANCEL);
    const qvtest::DaemonDialog question =
        qvtest::WaitForProcessDialog(open.config.Pid(), desktop.Name(), 10000, open.main);
    ASSERT_TRUE(question);
    qvtest::PressDialog(question, IDNO);
    EXPECT_EQ(open.config.WaitExit(10000), 0);
}

TEST(ConfigProgram, TheDisplayModeIsChosenFromTheSystemsListAndSaved) {
    qvtest::TestDesktop desktop;
    qvtest::TempDir dir;
    const std::string path = dir.File("display.ini");
    qvtest::WriteBytes(path, OneDesktopStarting("--title=CfNeverStarted"));
    DesktopDialogOpen open(desktop.Name(), path);
    ASSERT_TRUE(open.edited);
    EXPECT_FALSE(IsWindowEnabled(GetDlgItem(open.edited, IDC_DT_DISPLAY_SET)));
    SendMessageTimeoutA(GetDlgItem(open.edited, IDC_DT_DISPLAY_ON), BM_CLICK, 0, 0, SMTO_ABORTIFHUNG, 5000, nullptr);
    ASSERT_TRUE(IsWindowEnabled(GetDlgItem(open.edited, IDC_DT_DISPLAY_SET)));

    Command(open.edited, IDC_DT_DISPLAY_SET);
    HWND modes = qvtest::FindShownDialog(desktop.Name(), "ディスプレイの設定", 10000);
    ASSERT_TRUE(modes);
    HWND list = GetDlgItem(modes, IDC_DM_LIST);
    DWORD_PTR count = 0;
    SendMessageTimeoutA(list, LB_GETCOUNT, 0, 0, SMTO_ABORTIFHUNG, 5000, &count);
    ASSERT_GT(count, 0u);
    // A list line, read as wide text: Wine hands another process's list box
    // text to SendMessageA unconverted.
    auto lineAt = [&](int index) {
        wchar_t wide[128] = L"";
        SendMessageTimeoutW(list, LB_GETTEXT, index, reinterpret_cast<LPARAM>(wide), SMTO_ABORTIFHUNG, 5000, nullptr);
        char text[128] = "";
        WideCharToMultiByte(CP_ACP, 0, wide, -1, text, sizeof text, nullptr, nullptr);
        return std::string(text);
    };
    auto shownFor = [](std::string text) {
        for (size_t tab; (tab = text.find('\t')) != std::string::npos;) text.replace(tab, 1, ", ");
        return text;
    };
    // The line equal to the stored mode (a desktop without one takes the
    // current mode) is selected; with none equal, none is and OK waits.
    const std::string stored = qvtest::WindowText(GetDlgItem(open.edited, IDC_DT_DISPLAY));
    int expected = -1;
    for (int line = 0; line < static_cast<int>(count) && expected < 0; ++line)
        if (shownFor(lineAt(line)) == stored) expected = line;
    DWORD_PTR selected = 0;
    SendMessageTimeoutA(list, LB_GETCURSEL, 0, 0, SMTO_ABORTIFHUNG, 5000, &selected);
    EXPECT_EQ(static_cast<int>(static_cast<LRESULT>(selected)), expected) << stored;
    EXPECT_EQ(IsWindowEnabled(GetDlgItem(modes, IDOK)) != FALSE, expected >= 0);
    const int last = static_cast<int>(count) - 1;
    const std::string line = lineAt(last);
    int depth = 0, width = 0, height = 0, frequency = 0;
    ASSERT_EQ(std::sscanf(line.c_str(), "Depth=%d\tSize=%dX%d\tVf=%dHz", &depth, &width, &height, &frequency), 4) << line;
    // A double click on a line takes it.
    SendMessageTimeoutA(list, LB_SETCURSEL, last, 0, SMTO_ABORTIFHUNG, 5000, nullptr);
    PostMessageA(modes, WM_COMMAND, MAKEWPARAM(IDC_DM_LIST, LBN_DBLCLK), reinterpret_cast<LPARAM>(list));
    ASSERT_TRUE(qvtest::WaitUntil([&] { return !IsWindow(modes); }, 5000));
    EXPECT_EQ(qvtest::WindowText(GetDlgItem(open.edited, IDC_DT_DISPLAY)), shownFor(line));

    Command(open.edited, IDOK);
    ASSERT_TRUE(qvtest::WaitUntil([&] { return !IsWindow(open.edited); }, 5000));
    Command(open.main, ID_CF_SAVE);
    EXPECT_EQ(NextMessage(desktop.Name()), "保存しました.");
    std::vector<std::string> told;
    const qv::config::Configuration written = qv::config::LoadConfiguration(path.c_str(), &told);
    ASSERT_TRUE(written.controller);
    const qv::AncestryDesktop* work = written.controller->Desktops().Entry();
    ASSERT_TRUE(work);
    EXPECT_TRUE(work->m_bChgDisplay);
    EXPECT_EQ(work->m_nBitsPerPel, depth);
    EXPECT_EQ(work->m_nPelsWidth, width);
    EXPECT_EQ(work->m_nPelsHeight, height);
    EXPECT_EQ(work->m_nFrequency, frequency);
    Command(open.main, IDCANCEL);
    EXPECT_EQ(open.config.WaitExit(10000), 0);
}

}  // namespace

namespace {

// On a desktop of the running daemon: -c opens that desktop's dialog with
// the capture asked for at once; a restart from there asks to go to the
// home desktop, where the daemon starts the configurator again.
TEST(ConfigProgram, OnADaemonDesktopDashCEditsItAndARestartHandsOverToTheHomeDesktop) {
    qvtest::Daemon daemon;
    ASSERT_TRUE(daemon.RunFromDir());
    daemon.CopyIn(qvtest::FixturePath(), "QVConfig.exe");  // the one the daemon starts
    ASSERT_TRUE(daemon.StartReady(qvtest::kQuietController, {""}));
    const std::string work = "User_Desktop0";
    ASSERT_TRUE(qvtest::DaemonThreadWindow(work, 10000));

    qvtest::ProcessGuard config;
    ASSERT_TRUE(qvtest::StartProgram(config, "QVConfig.exe", "-c -p \"" + daemon.ParameterPath() + "\"", work));
    HWND options = qvtest::FindShownDialog(work, "実行中ｱﾌﾟﾘのｷｬﾌﾟﾁｬ", 30000);
    ASSERT_TRUE(options);
    HWND edited = qvtest::FindShownDialog(work, "Desktopの設定", 1000);
    ASSERT_TRUE(edited) << "the capture is asked from the desktop's own dialog";
    Command(options, IDCANCEL);
    ASSERT_TRUE(qvtest::WaitUntil([&] { return !IsWindow(options); }, 5000));
    Command(edited, IDOK);
    ASSERT_TRUE(qvtest::WaitUntil([&] { return !IsWindow(edited); }, 5000));
    HWND main = MainDialog(work);
    ASSERT_TRUE(main);

    // The edit counts as a change: saved first, then the question.
    Command(main, ID_CF_RESTART);
    qvtest::DaemonDialog box = qvtest::WaitForProcessDialog(config.Pid(), work, 10000, main);
    ASSERT_TRUE(box);
    EXPECT_EQ(box.text, "まず、変更を保存します. よろしいですか？");
    qvtest::PressDialog(box, IDYES);
    EXPECT_EQ(NextMessage(work), "保存しました.");
    box = qvtest::WaitForProcessDialog(config.Pid(), work, 10000, main);
    ASSERT_TRUE(box);
    EXPECT_EQ(box.text.rfind("再起動するには、ﾛｸﾞｲﾝした時に作られるﾃﾞﾌｫﾙﾄﾃﾞｽｸﾄｯﾌﾟに", 0), 0u) << box.text;
    qvtest::PressDialog(box, IDYES);
    EXPECT_EQ(config.WaitExit(10000), 0);

    qv::UniqueHandle again;
    EXPECT_TRUE(qvtest::WaitUntil([&] { return (again = daemon.FindChild("QVConfig.exe")).Valid(); }, 10000));
    qvtest::ProcessGuard guard;
    guard.Hold(again.Get());
    // Home once at the start, and once more on the way.
    const std::string home = "Active New Desktop [" + daemon.StartDesktop() + "]";
    const std::string log = daemon.Log();
    const size_t first = log.find(home);
    EXPECT_NE(first, std::string::npos);
    EXPECT_NE(log.find(home, first + 1), std::string::npos);
}

}  // namespace

namespace {

TEST(ConfigProgram, DefaultsRestoreOnlyTheirKeysAndLoadingTakesAnotherFileKeepingTheSavePath) {
    qvtest::TestDesktop desktop;
    qvtest::TempDir dir;
    const std::string path = dir.File("first.ini");
    const std::string other = dir.File("other.ini");
    qvtest::WriteBytes(path, "AncestryController::RingListClass\t{\r\nDefaultTitle\tHome\r\nTitleDelay1\t999\r\n}\r\n"
                             "--EOF--\r\n");
    qvtest::WriteBytes(other, "AncestryController::RingListClass\t{\r\nDefaultTitle\tOther\r\n}\r\n--EOF--\r\n");
    qvtest::ProcessGuard config;
    ASSERT_TRUE(qvtest::StartProgram(config, "QVConfig.exe", "-p \"" + path + "\"", desktop.Name()));
    HWND dialog = MainDialog(desktop.Name());
    ASSERT_TRUE(dialog);
    auto answer = [&](const char* question, int button) {
        const qvtest::DaemonDialog box = qvtest::WaitForProcessDialog(config.Pid(), desktop.Name(), 10000, dialog);
        if (!box) return false;
        EXPECT_EQ(box.text, question);
        qvtest::PressDialog(box, button);
        return true;
    };
    EXPECT_EQ(ControlText(GetDlgItem(dialog, IDC_CF_DELAY1)), "999");
    Command(dialog, IDC_CF_DEFAULTS);
    ASSERT_TRUE(answer("デフォルト値に戻しますか?", IDNO));
    EXPECT_EQ(ControlText(GetDlgItem(dialog, IDC_CF_DELAY1)), "999");
    Command(dialog, IDC_CF_DEFAULTS);
    ASSERT_TRUE(answer("デフォルト値に戻しますか?", IDYES));
    EXPECT_TRUE(qvtest::WaitUntil([&] { return ControlText(GetDlgItem(dialog, IDC_CF_DELAY1)) == "200"; }, 5000));
    EXPECT_EQ(ControlText(GetDlgItem(dialog, IDC_CF_TITLE)), "Home");

    // The restored delay is a change: loading asks before it drops it.
    Command(dialog, ID_CF_LOAD);
    ASSERT_TRUE(answer("変更内容が破棄されます. 読み込みますか?", IDYES));
    const qvtest::DaemonDialog files = qvtest::WaitForProcessDialog(config.Pid(), desktop.Name(), 10000, dialog);
    ASSERT_TRUE(files);
    for (int name : {0x47C, 0x480})  // the file name box: a combo box, or an edit in older layouts
        if (HWND box = GetDlgItem(files.window, name))
            SendMessageTimeoutA(box, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(other.c_str()), SMTO_ABORTIFHUNG, 5000,
                                nullptr);
    qvtest::PressDialog(files, IDOK);
    EXPECT_EQ(NextMessage(desktop.Name()), "新しい定義ファイルを読み込みました.");
    EXPECT_EQ(ControlText(GetDlgItem(dialog, IDC_CF_TITLE)), "Other");
    EXPECT_EQ(ControlText(GetDlgItem(dialog, IDC_CF_PATH)), path);
    // Just loaded: the end asks nothing, and the first file is as it was.
    Command(dialog, IDCANCEL);
    EXPECT_EQ(config.WaitExit(10000), 0);
    EXPECT_NE(qvtest::ReadBytes(path).find("TitleDelay1\t999"), std::string::npos);
}

}  // namespace

// The bar configurator end to end: on a missing file it offers the defaults
// and saves them in the bar's layout; a rich file shows its values as the
// choices nearest them, its menus move by their own rules, the module list
// keeps the suite's own programs out, and a save that cannot be made keeps
// the changes and the old file.

#include <windows.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "BarSettings.h"
#include "Daemon.h"
#include "Desktops.h"
#include "Processes.h"
#include "Protocol.h"
#include "DesktopDialogsRes.h"
#include "QVBarConfigRes.h"
#include "RemoteList.h"
#include "TestFiles.h"

namespace {

constexpr char kCaption[] = "QVBarConfig";

void Command(HWND dialog, WORD id, WORD code = BN_CLICKED) {
    PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(id, code), 0);
}

// Saves and returns once the save is done: a save tells nothing when it
// succeeds, and a reader polling the file would be in its way.
bool SaveNow(HWND dialog) {
    DWORD_PTR ignored = 0;
    return SendMessageTimeoutA(dialog, WM_COMMAND, MAKEWPARAM(ID_BC_SAVE, BN_CLICKED), 0, SMTO_NORMAL, 10000,
                               &ignored) != 0;
}

int Choice(HWND dialog, int id) {
    DWORD_PTR choice = static_cast<DWORD_PTR>(-1);
    SendMessageTimeoutA(GetDlgItem(dialog, id), CB_GETCURSEL, 0, 0, SMTO_ABORTIFHUNG, 5000, &choice);
    return static_cast<int>(choice);
}

std::vector<std::string> Column(qvtest::RemoteList& rows, int column) {
    std::vector<std::string> texts;
    for (int row = 0; row < rows.Count(); ++row) texts.push_back(rows.Text(row, column));
    return texts;
}

// The text of the configurator's next box, answered with the button.
std::string Answer(DWORD pid, const std::string& desktop, HWND besides, int button) {
    const qvtest::DaemonDialog box = qvtest::WaitForProcessDialog(pid, desktop, 10000, besides);
    if (!box) return "<no box>";
    qvtest::PressDialog(box, button);
    return box.text;
}

// The text of the configurator's next message box, answered with OK. The
// boxes share the main dialog's caption; a box has a text control.
std::string NextMessage(const std::string& desktop) {
    HWND box = nullptr;
    qvtest::WaitUntil(
        [&] {
            qvtest::RunOnDesktop(desktop, [&] {
                box = nullptr;
                for (HWND w = FindWindowA("#32770", kCaption); w && !box; w = FindWindowExA(nullptr, w, "#32770", kCaption))
                    if (GetDlgItem(w, 0xFFFF) && IsWindowVisible(w)) box = w;
            });
            return box != nullptr;
        },
        10000);
    if (!box) return "<no box>";
    const std::string text = qvtest::WindowText(GetDlgItem(box, 0xFFFF));
    PostMessageA(box, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
    qvtest::WaitUntil([&] { return !IsWindow(box); }, 5000);
    return text;
}

TEST(BarConfigProgram, AMissingFileShowsTheDefaultsAndSavesTheDefaultController) {
    qvtest::TestDesktop desktop;
    qvtest::TempDir dir;
    const std::string path = dir.File("QVCtrlBar.ini");
    qvtest::ProcessGuard config;
    ASSERT_TRUE(qvtest::StartProgram(config, "QVBarConfig.exe", "-p \"" + path + "\"", desktop.Name()));
    EXPECT_EQ(Answer(config.Pid(), desktop.Name(), nullptr, IDOK),
              "パラメータファイルがみつからないので、デフォルトで作成します.");
    HWND dialog = qvtest::FindShownDialog(desktop.Name(), kCaption, 20000);
    ASSERT_TRUE(dialog);
    qvtest::RemoteList items(GetDlgItem(dialog, IDC_BC_ITEMS), config.Pid());
    EXPECT_EQ(Column(items, 0),
              (std::vector<std::string>{"Mendrel(INI)", "Quick Lanunch", "CURRENT_USER", "LOCAL_MACHINE"}));
    EXPECT_EQ(Column(items, 2),
              (std::vector<std::string>{"[Desktop_ID].ini", "Quick Launch", "Desktop", "Common Desktop"}));
    EXPECT_EQ(Choice(dialog, IDC_BC_ROLL), 0);
    EXPECT_EQ(Choice(dialog, IDC_BC_REGION), 2);

    ASSERT_TRUE(SaveNow(dialog));
    EXPECT_EQ(qvtest::ReadBytes(path).rfind(
                  ";QVBarCntrl\r\nFileVersion\t0x0200\r\nQVBarController::AnyController::RingListClass {\r\n"
                  "\tMouseOver\t5\r\n\tFixPin\t0\r\n\tRollTimer\t1000\r\n\tRegionTimer\t3000\r\n\tHangerSortID\t4\r\n"
                  "\tHangerSortDir\t1\r\n\tMenuFileCond\t1\r\n\tHotKeyActive\t0x00090000\r\n}\r\n",
                  0),
              0u);
    FILE* file = std::fopen(path.c_str(), "rt");
    ASSERT_TRUE(file);
    EXPECT_EQ(qv::ReadPanelDescriptions(file, 0).size(), 4u) << "the bar reads the four menus back";
    std::fclose(file);
    // Saved: the end asks nothing.
    Command(dialog, IDCANCEL);
    EXPECT_EQ(config.WaitExit(10000), 0);
}

TEST(BarConfigProgram, StoredValuesShowAsChoicesMenusMoveAndAFailedSaveKeepsTheChange) {
    qvtest::TestDesktop desktop;
    qvtest::TempDir dir;
    const std::string path = dir.File("QVCtrlBar.ini");
    const std::string original =
        "QVBarController::AnyController::RingListClass {\n\tRollTimer\t1500\n\tHangerSortID\t7\n}\n"
        "QVBarDesktop::AnyDesktop::RingListClass {\n"
        "\tExecutantPanetMenu::ExecutantMenu::QVOwnerDrawMenuItem::RingListClass {\n"
        "\t\tMenuKind\t0\n\t\tMenuString\tA\n\t\tStartDirectory\tC:\\A\n\t}\n"
        "\tExecutantPanetMenu::ExecutantMenu::QVOwnerDrawMenuItem::RingListClass {\n"
        "\t\tMenuKind\t0\n\t\tMenuString\tB\n\t\tStartDirectory\tC:\\B\n\t}\n"
        "\tExecutantPanetMenu::ExecutantMenu::QVOwnerDrawMenuItem::RingListClass {\n"
        "\t\tMenuKind\t0\n\t\tMenuString\tC\n\t\tStartDirectory\tC:\\C\n\t}\n"
        "}\n--EOF--\n";
    qvtest::WriteBytes(path, original);
    qvtest::ProcessGuard config;
    ASSERT_TRUE(qvtest::StartProgram(config, "QVBarConfig.exe", "-p \"" + path + "\"", desktop.Name()));
    HWND dialog = qvtest::FindShownDialog(desktop.Name(), kCaption, 20000);
    ASSERT_TRUE(dialog);
    EXPECT_EQ(Choice(dialog, IDC_BC_ROLL), 1) << "1500 ms shows as two seconds";
    EXPECT_EQ(Choice(dialog, IDC_BC_SORT), 4) << "an unlisted order shows as the hang-on order";

    qvtest::RemoteList items(GetDlgItem(dialog, IDC_BC_ITEMS), config.Pid());
    ASSERT_TRUE(items.Select(0));
    ASSERT_TRUE(items.Select(1));
    Command(dialog, IDC_BC_UP);
    EXPECT_TRUE(qvtest::WaitUntil([&] { return Column(items, 1) == std::vector<std::string>{"B", "A", "C"}; }, 5000));
    Command(dialog, ID_BC_SELECTALL);
    Command(dialog, IDC_BC_DOWN);
    EXPECT_TRUE(qvtest::WaitUntil([&] { return Column(items, 1) == std::vector<std::string>{"C", "A", "B"}; }, 5000));

    // The bar itself is never hung on at its start.
    Command(dialog, IDC_BC_HANGON);
    HWND modules = qvtest::FindShownDialog(desktop.Name(), "起動時ハングオンするモジュール", 10000);
    ASSERT_TRUE(modules);
    for (const char* typed : {"QVCtrlBar.exe", "Notepad.exe"}) {
        SendMessageTimeoutA(GetDlgItem(modules, IDC_ML_EDIT), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(typed),
                            SMTO_ABORTIFHUNG, 5000, nullptr);
        SendMessageTimeoutA(modules, WM_COMMAND, MAKEWPARAM(IDC_ML_ADD, BN_CLICKED), 0, SMTO_ABORTIFHUNG, 5000,
                            nullptr);
    }
    Command(modules, IDOK);
    ASSERT_TRUE(qvtest::WaitUntil([&] { return !IsWindow(modules); }, 5000));

    // Saved where it cannot be: the message, the change kept, the file as it was.
    const std::string nowhere = dir.File("missing") + "\\QVCtrlBar.ini";
    SendMessageTimeoutA(GetDlgItem(dialog, IDC_BC_PATH), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(nowhere.c_str()),
                        SMTO_ABORTIFHUNG, 5000, nullptr);
    Command(dialog, ID_BC_SAVE);
    EXPECT_EQ(Answer(config.Pid(), desktop.Name(), dialog, IDOK), nowhere + " ファイルが作成できません.");
    EXPECT_EQ(qvtest::ReadBytes(path), original);

    SendMessageTimeoutA(GetDlgItem(dialog, IDC_BC_PATH), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(path.c_str()),
                        SMTO_ABORTIFHUNG, 5000, nullptr);
    Command(dialog, IDCANCEL);
    EXPECT_EQ(Answer(config.Pid(), desktop.Name(), dialog, IDYES).rfind("変更内容が保存されていません.", 0), 0u);
    EXPECT_EQ(config.WaitExit(10000), 0);
    qv::BarController bar;
    ASSERT_EQ(qv::ReadBarControllerFile(path.c_str(), &bar), qv::BarReadResult::kRead);
    EXPECT_EQ(bar.rollTimer, 2000);
    EXPECT_EQ(bar.hangerSortId, 4);
    EXPECT_EQ(bar.initHangonModules, std::vector<std::string>{"notepad.exe"});
    FILE* file = std::fopen(path.c_str(), "rt");
    ASSERT_TRUE(file);
    const std::vector<qv::PanelDescription> menus = qv::ReadPanelDescriptions(file, 0);
    std::fclose(file);
    ASSERT_EQ(menus.size(), 3u);
    EXPECT_EQ(menus[0].caption + menus[1].caption + menus[2].caption, "CAB");
}

TEST(BarConfigProgram, TheModuleListCapturesARunningProgramOnceByItsFileName) {
    qvtest::TestDesktop desktop;
    qvtest::ProcessGuard fixture;
    ASSERT_TRUE(qvtest::StartProgram(fixture, "QVFixture.exe", "--title=BcCaptured", desktop.Name()));
    ASSERT_TRUE(qvtest::FindWindowOn(desktop.Name(), nullptr, "BcCaptured", 10000));
    qvtest::TempDir dir;
    const std::string path = dir.File("QVCtrlBar.ini");
    qvtest::WriteBytes(path, "QVBarController::AnyController::RingListClass {\n}\n--EOF--\n");
    qvtest::ProcessGuard config;
    ASSERT_TRUE(qvtest::StartProgram(config, "QVBarConfig.exe", "-p \"" + path + "\"", desktop.Name()));
    HWND dialog = qvtest::FindShownDialog(desktop.Name(), kCaption, 20000);
    ASSERT_TRUE(dialog);
    Command(dialog, IDC_BC_HANGON);
    HWND modules = qvtest::FindShownDialog(desktop.Name(), "起動時ハングオンするモジュール", 10000);
    ASSERT_TRUE(modules);
    auto captureAll = [&] {
        Command(modules, IDC_ML_CAPTURE);
        HWND options = qvtest::FindShownDialog(desktop.Name(), "実行中ｱﾌﾟﾘのｷｬﾌﾟﾁｬ", 10000);
        if (!options) return std::string("<no options>");
        Command(options, IDC_CP_ALL);
        return NextMessage(desktop.Name());
    };
    // The configurator itself and the shell are left out by default.
    EXPECT_EQ(captureAll(), "1 件取り込みました.");
    EXPECT_EQ(captureAll(), "既にﾘｽﾄに登録済みのモジュールですので、取り込みませんでした.");
    Command(modules, IDOK);
    ASSERT_TRUE(qvtest::WaitUntil([&] { return !IsWindow(modules); }, 5000));
    ASSERT_TRUE(SaveNow(dialog));
    qv::BarController bar;
    ASSERT_EQ(qv::ReadBarControllerFile(path.c_str(), &bar), qv::BarReadResult::kRead);
    EXPECT_EQ(bar.initHangonModules, std::vector<std::string>{"qvfixture.exe"});
    Command(dialog, IDCANCEL);
    EXPECT_EQ(config.WaitExit(10000), 0);
}

// Restart, with a stand-in for the bar beside a copy of the configurator:
// the running bar is told to end, and the one beside is started on the file.
TEST(BarConfigProgram, RestartEndsTheRunningBarAndStartsTheOneBesideOnTheFile) {
    qvtest::TestDesktop desktop;
    qvtest::TempDir dir;
    const std::string configurator = dir.File("QVBarConfig.exe");
    ASSERT_TRUE(CopyFileA((qvtest::ProgramFolder() + "QVBarConfig.exe").c_str(), configurator.c_str(), FALSE));
    ASSERT_TRUE(CopyFileA((qvtest::ProgramFolder() + "QVBarStandIn.exe").c_str(), dir.File("QVCtrlBar.exe").c_str(),
                          FALSE));
    const std::string path = dir.File("QVCtrlBar.ini");
    qvtest::WriteBytes(path, "QVBarController::AnyController::RingListClass {\n}\n--EOF--\n");
    const std::string report = dir.File("bar-report.txt");
    auto start = [&](qvtest::ProcessGuard& guard, const std::string& program, const std::string& arguments) {
        std::string line = "\"" + program + "\" " + arguments;
        std::string name = desktop.Name();
        STARTUPINFOA si{};
        si.cb = sizeof si;
        si.lpDesktop = name.data();
        PROCESS_INFORMATION pi{};
        if (!CreateProcessA(program.c_str(), line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi))
            return false;
        guard.Hold(pi.hProcess);
        CloseHandle(pi.hThread);
        CloseHandle(pi.hProcess);
        return true;
    };
    qvtest::ProcessGuard running;
    ASSERT_TRUE(start(running, dir.File("QVCtrlBar.exe"), "running"));
    ASSERT_TRUE(qvtest::WaitUntil([&] { return qvtest::ReportHas(report, "START running"); }, 10000));
    qvtest::ProcessGuard config;
    ASSERT_TRUE(start(config, configurator, "-p \"" + path + "\""));
    HWND dialog = qvtest::FindShownDialog(desktop.Name(), kCaption, 20000);
    ASSERT_TRUE(dialog);

    Command(dialog, ID_BC_RESTART);
    EXPECT_EQ(Answer(config.Pid(), desktop.Name(), dialog, IDYES), "再起動します. よろしいですか？\r\n");
    EXPECT_TRUE(running.WaitForEnd(10000));
    const std::string started = "START -p \"" + path + "\"";
    ASSERT_TRUE(qvtest::WaitUntil([&] { return qvtest::ReportHas(report, started); }, 15000));
    EXPECT_EQ(qvtest::ReportLines(report),
              (std::vector<std::string>{"START running", "REQUEST 7 0", "EXIT", started}));
    HWND again = qvtest::FindWindowOn(desktop.Name(), qv::kBarThreadWindowClass, nullptr, 5000);
    ASSERT_TRUE(again);
    qvtest::ProcessGuard restarted;
    restarted.WatchWindowOwner(again);
    Command(dialog, IDCANCEL);
    EXPECT_EQ(config.WaitExit(10000), 0);
}

}  // namespace

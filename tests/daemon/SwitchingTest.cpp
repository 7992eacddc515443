#include <windows.h>

#include <dlgs.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <string>

#include "CommandText.h"
#include "Daemon.h"
#include "Desktops.h"
#include "Keyboard.h"
#include "Launching.h"
#include "PipeClient.h"
#include "Processes.h"
#include "QuorvelRes.h"

namespace {

// A daemon with the ring home (index 0), User_Desktop0 (1), User_Desktop1
// (2), shared by the tests of a suite; each starts at home. The two have a
// key of their own, Ctrl+Alt+Shift+1 and +2, and Ctrl+Alt+Shift+B goes back.
class DaemonRing : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(daemon.Running());
        desk[0] = daemon.StartDesktop();
        ASSERT_EQ(qvtest::SendCommandText(desk[0], "H"), 1);
        ASSERT_EQ(Current(), desk[0]);
    }
    std::string Current() { return qvtest::AskCurrentDesktopId(desk[0]); }

    qvtest::Daemon& daemon = qvtest::SharedDaemon(std::string(qvtest::kQuietController) + "HotKeyBack\t0x00070042\n",
                                                  {"DesktopHotKey\t0x00070031\n", "DesktopHotKey\t0x00070032\n"});
    std::string desk[3] = {"", "User_Desktop0", "User_Desktop1"};
};

using DaemonSwitching = DaemonRing;

TEST_F(DaemonSwitching, NextPreviousHomeAndBackKeepCurrentAndPrevious) {
    // A main-window command, or a command text at the thread window of a desktop.
    struct {
        WPARAM command;
        const char* text;
        int window;
        int expected;
    } steps[] = {
        {qv::kCmdNext, nullptr, 0, 1}, {0, "N", 2, 2}, {qv::kCmdNext, nullptr, 0, 0},  // next wraps to home
        {0, "P", 1, 2}, {qv::kCmdBack, nullptr, 0, 0}, {0, "B", 0, 2},                 // back swaps
        {qv::kCmdHome, nullptr, 0, 0}, {0, "H", 2, 0},                                 // home while home...
        {qv::kCmdBack, nullptr, 0, 0},                                                 // ...made home the previous one
        {qv::kCmdPrevious, nullptr, 0, 2},
    };
    int n = 0;
    for (const auto& step : steps) {
        SCOPED_TRACE(::testing::Message() << "step " << ++n);
        if (step.text)
            EXPECT_EQ(qvtest::SendCommandText(desk[step.window], step.text), 1);
        else
            EXPECT_EQ(qvtest::SendMainCommand(desk[0], step.command), 1);
        EXPECT_EQ(Current(), desk[step.expected]);
    }
}

TEST_F(DaemonSwitching, NumberedAndRelativeRequestsWalkTheRing) {
    struct {
        qv::DaemonRequest request;
        const char* text;
        int window;
        int expected;
    } steps[] = {
        {qv::kSwitchToNumberRequest, "3", 0, 2}, {qv::kSwitchToNumberRequest, "4", 2, 0},
        {qv::kSwitchToNumberRequest, "2", 1, 1}, {qv::kSwitchToNumberRequest, "x", 1, 0},
        {qv::kSwitchToNumberRequest, "3", 0, 2}, {qv::kSwitchToNumberRequest, "0", 0, 0},
        {qv::kSwitchFromEndRequest, "1", 1, 2},  {qv::kSwitchFromEndRequest, "2", 0, 1},
        {qv::kSwitchFromEndRequest, "0", 2, 0},
        // Relative to the desktop of the window asked, not to the current one.
        {qv::kCommandTextRequest, "+4", 0, 1}, {qv::kCommandTextRequest, "-1", 0, 2},
        {qv::kCommandTextRequest, "+1", 0, 1}, {qv::kCommandTextRequest, "-0", 2, 2},
        {qv::kCommandTextRequest, "+0", 0, 0},
    };
    for (const auto& step : steps) {
        SCOPED_TRACE(::testing::Message() << "request " << step.request << " \"" << step.text << "\" at " << step.window);
        EXPECT_EQ(qvtest::SendRequest(desk[step.window], step.request, qv::PackCommandText(step.text)), 1);
        EXPECT_EQ(Current(), desk[step.expected]);
    }
}

TEST_F(DaemonSwitching, ChainedCommandsRunOnTheDesktopSwitchedTo) {
    EXPECT_EQ(qvtest::SendCommandText(desk[0], "NN"), 1);
    EXPECT_EQ(Current(), desk[2]);
    EXPECT_EQ(qvtest::SendCommandText(desk[2], "HN"), 1);
    EXPECT_EQ(Current(), desk[1]);
    // P to home, N from there, then +1 from the window of the desktop N reached.
    EXPECT_EQ(qvtest::SendCommandText(desk[1], "PN+1"), 1);
    EXPECT_EQ(Current(), desk[2]);
    EXPECT_EQ(qvtest::SendMainCommand(desk[0], qv::kCmdNext, qv::PackCommandText("N")), 1);
    EXPECT_EQ(Current(), desk[1]);
    EXPECT_EQ(qvtest::SendMainCommand(desk[0], qv::kCmdHome, qv::PackCommandText("P2")), 1);
    EXPECT_EQ(Current(), desk[2]);
    EXPECT_TRUE(daemon.WaitForLog("Quorvel Command Detected[2]\r\n", 2000)) << "the rest after P travels on";
}

// Keys pressed as a user does: X delivers them only to the window holding the
// keyboard focus, so a window of the fixture takes it first.
void PressKeys(const std::string& windowTitle, const char* keys) {
    auto run = [](std::string commandLine) {
        STARTUPINFOA si = {};
        si.cb = sizeof(si);
        PROCESS_INFORMATION pi = {};
        // Wine runs a Unix program but gives no handle to wait on; the
        // callers wait for its effect instead. Neither command can block.
        if (CreateProcessA("Z:\\usr\\bin\\xdotool", commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                           &si, &pi)) {
            if (pi.hProcess) CloseHandle(pi.hProcess);
            if (pi.hThread) CloseHandle(pi.hThread);
        }
    };
    run("xdotool search --name " + windowTitle + " windowfocus");
    Sleep(500);
    run(std::string("xdotool key ") + keys);
}

size_t Count(const std::string& text, const std::string& piece) {
    size_t count = 0;
    for (size_t at = text.find(piece); at != std::string::npos; at = text.find(piece, at + 1)) ++count;
    return count;
}

TEST_F(DaemonSwitching, HotKeysPressedOnTheKeyboardSwitch) {
    std::string title = "QVHotKeys_" + std::to_string(GetCurrentProcessId());
    std::string fixture = "\"" + qvtest::FixturePath() + "\"";
    ASSERT_NE(qv::RunProgram(nullptr, fixture.c_str(), ("--title=" + title + " --lifetime=60000").c_str(),
                             daemon.Dir().Path().c_str(), nullptr, 0),
              0u);
    qvtest::ProcessGuard guard;
    ASSERT_TRUE(guard.WatchWindowOwner(qvtest::FindWindowOn(desk[0], "QVFixtureWindow", title.c_str(), 10000)));
    Sleep(500);  // mapped on the X screen
    const std::string activated = "Active New Desktop [" + desk[2] + "]";
    size_t activations = 0;
    struct {
        const char* keys;
        int expected;
    } presses[] = {{"alt+Next", 1}, {"alt+Prior", 0}, {"alt+Prior", 2}, {"alt+Home", 0},
                   // A desktop's own key, from anywhere in the ring.
                   {"ctrl+alt+shift+2", 2}, {"ctrl+alt+shift+1", 1}, {"ctrl+alt+shift+2", 2},
                   // The key of the current desktop does nothing: back then
                   // still returns to the one before it.
                   {"ctrl+alt+shift+2", 2}, {"ctrl+alt+shift+b", 1}, {"ctrl+alt+shift+b", 2}};
    for (const auto& press : presses) {
        SCOPED_TRACE(press.keys);
        PressKeys(title, press.keys);
        EXPECT_TRUE(qvtest::WaitUntil([&] { return Current() == desk[press.expected]; }, 10000)) << Current();
        if (std::string(press.keys) == "ctrl+alt+shift+b" && press.expected == 1) {
            EXPECT_EQ(Count(daemon.Log(), activated), activations) << "the own key activated the desktop again";
        }
        activations = Count(daemon.Log(), activated);
    }
}

// Keys that the file gives twice, or that another program holds, each go to
// their first holder; the daemon says which it left out and starts.
TEST(DaemonHotKeys, AKeyTakenAlreadyIsLoggedAndSkippedWhileTheOthersSwitch) {
    // Held on the desktop where the daemon registers its keys: the test's.
    ASSERT_TRUE(RegisterHotKey(nullptr, 1, MOD_CONTROL | MOD_ALT | MOD_SHIFT, '4'));
    struct Held {
        ~Held() { UnregisterHotKey(nullptr, 1); }
    } held;
    qvtest::Daemon daemon;
    ASSERT_TRUE(daemon.StartReady(std::string(qvtest::kQuietController) + "HotKeyBack\t0x00070042\n",
                                  {"DesktopName\tOne\nDesktopHotKey\t0x00070031\n",
                                   "DesktopName\tTwo\nDesktopHotKey\t0x00070042\n",
                                   "DesktopName\tThree\nDesktopHotKey\t0x00070031\n",
                                   "DesktopName\tFour\nDesktopHotKey\t0x00070034\n",
                                   "DesktopName\tFive\nDesktopHotKey\tCtrl+5\n"}));
    const std::string log = daemon.Log();
    EXPECT_NE(log.find("Desktop [Two] HotKey [Ctrl+Alt+Shift+B (42)] Not Registered : Already Used.\r\n"),
              std::string::npos) << log;
    EXPECT_NE(log.find("Desktop [Three] HotKey [Ctrl+Alt+Shift+1 (31)] Not Registered : Already Used.\r\n"),
              std::string::npos) << log;
    EXPECT_NE(log.find("Desktop [Four] HotKey [Ctrl+Alt+Shift+4 (34)] Not Registered : "), std::string::npos) << log;
    EXPECT_NE(log.find("Desktop [User_Desktop4] : DesktopHotKey[Ctrl+5] Is Not A Hot-Key Word; Ignored.\r\n"),
              std::string::npos) << log;
    EXPECT_EQ(log.find("Desktop [One] HotKey"), std::string::npos) << log;
    EXPECT_EQ(Count(log, "Not Registered"), 3u) << log;

    const std::string home = daemon.StartDesktop();
    auto current = [&] { return qvtest::AskCurrentDesktopId(home); };
    ASSERT_TRUE(qvtest::PressKeys(home, {VK_CONTROL, VK_MENU, VK_SHIFT, '1'}));
    EXPECT_TRUE(qvtest::WaitUntil([&] { return current() == "User_Desktop0"; }, 10000)) << current();
    ASSERT_TRUE(qvtest::PressKeys(home, {VK_CONTROL, VK_MENU, VK_SHIFT, 'B'}));
    EXPECT_TRUE(qvtest::WaitUntil([&] { return current() == home; }, 10000)) << "back, not desktop Two: " << current();
}

using DaemonRequests = DaemonRing;

TEST_F(DaemonRequests, VersionIsRefusedOnlyWhileTheWindowShowsADialog) {
    EXPECT_EQ(qvtest::SendRequest(desk[1], qv::kVersionRequest, 0), 0x200);
    uint32_t version = 0;
    EXPECT_EQ(qv::PipeClient(desk[1]).CheckVersion(&version), qv::QueryResult::kOk);
    EXPECT_EQ(version, 0x200u);

    ASSERT_TRUE(qvtest::PostRequest(desk[1], qv::kCommandTextRequest, qv::PackCommandText("V")));
    qvtest::DaemonDialog dialog = daemon.WaitForDialog(10000, desk[1]);
    ASSERT_TRUE(dialog) << "version dialog";
    EXPECT_EQ(qvtest::SendRequest(desk[1], qv::kVersionRequest, 0), 0);
    EXPECT_EQ(qv::PipeClient(desk[1]).CheckVersion(&version), qv::QueryResult::kVersionTooOld);
    EXPECT_EQ(version, 0u);
    EXPECT_EQ(qvtest::SendRequest(desk[1], qv::kSnapshotSizeRequest, 4), 0);
    EXPECT_EQ(qvtest::SendRequest(desk[1], qv::kSwitchToNumberRequest, qv::PackCommandText("3")), 0);
    EXPECT_EQ(Current(), desk[0]) << "a busy window switches nothing";
    EXPECT_EQ(qvtest::SendRequest(desk[2], qv::kVersionRequest, 0), 0x200) << "only the window showing the dialog is busy";

    EXPECT_TRUE(daemon.Press(dialog, IDOK));
    EXPECT_EQ(qvtest::SendRequest(desk[1], qv::kVersionRequest, 0), 0x200);
}

// Everything the daemon writes before it closes the pipe.
class WholeReply : public qv::ReplyReader {
public:
    qv::QueryResult Read(qv::ByteSource& reply) override {
        char buffer[4096];
        for (size_t n; (n = reply.ReadSome(buffer, sizeof(buffer))) > 0;) bytes.append(buffer, n);
        return qv::QueryResult::kOk;
    }
    int32_t Int(size_t at) const {
        int32_t value = -1;
        if (at + 4 <= bytes.size()) std::memcpy(&value, bytes.data() + at, 4);
        return value;
    }
    std::string bytes;
};

TEST_F(DaemonRequests, SnapshotSizeIsKeptWithinZeroAndThirtyTwo) {
    RECT screen = {};
    GetWindowRect(GetDesktopWindow(), &screen);
    const int32_t width = (screen.right - screen.left) / 32, height = (screen.bottom - screen.top) / 32;
    EXPECT_EQ(qvtest::SendRequest(desk[0], qv::kSnapshotSizeRequest, 100), 1);
    EXPECT_EQ(qvtest::SendCommandText(desk[0], "N"), 1);  // home is left: its snapshot is taken
    WholeReply bitmap;
    ASSERT_EQ(qv::PipeClient(desk[0]).Ask(qv::PipeQuestion::kBitmap, bitmap), qv::QueryResult::kOk);
    const int32_t chunk = 3 * width + 256;
    EXPECT_EQ(bitmap.Int(0), chunk);
    EXPECT_EQ(bitmap.Int(8), width);  // biWidth and biHeight of the header after the chunk size
    EXPECT_EQ(bitmap.Int(12), height);
    EXPECT_EQ(bitmap.bytes.size(), 4 + 44 + static_cast<size_t>(height) * chunk);

    EXPECT_EQ(qvtest::SendRequest(desk[0], qv::kSnapshotSizeRequest, -5), 1);
    WholeReply off;
    ASSERT_EQ(qv::PipeClient(desk[0]).Ask(qv::PipeQuestion::kBitmap, off), qv::QueryResult::kOk);
    EXPECT_EQ(off.bytes, std::string(4, '\0')) << "snapshots off";
}

TEST_F(DaemonRequests, SnapshotSizeDialogSetsTheSizeChosenInItsList) {
    ASSERT_EQ(qvtest::SendRequest(desk[0], qv::kSnapshotSizeRequest, 0), 1);
    ASSERT_TRUE(qvtest::PostRequest(desk[0], qv::kCommandTextRequest, qv::PackCommandText("K")));
    qvtest::DaemonDialog dialog = daemon.WaitForDialog(10000, desk[0]);
    ASSERT_TRUE(dialog);
    HWND list = GetDlgItem(dialog.window, IDC_SNAPSHOT_RATE);
    ASSERT_NE(list, nullptr);
    EXPECT_EQ(SendMessageA(list, CB_GETCURSEL, 0, 0), 0) << "OFF, as the daemon has it";
    EXPECT_EQ(SendMessageA(list, CB_GETCOUNT, 0, 0), 33);
    SendMessageA(list, CB_SETCURSEL, 8, 0);
    ASSERT_TRUE(daemon.Press(dialog, IDOK));

    // Home, left, is kept at an eighth of the screen.
    EXPECT_EQ(qvtest::SendCommandText(desk[0], "N"), 1);
    WholeReply bitmap;
    ASSERT_EQ(qv::PipeClient(desk[0]).Ask(qv::PipeQuestion::kBitmap, bitmap), qv::QueryResult::kOk);
    EXPECT_EQ(bitmap.Int(8), GetSystemMetrics(SM_CXSCREEN) / 8);
    EXPECT_EQ(bitmap.Int(12), GetSystemMetrics(SM_CYSCREEN) / 8);
}

// A control of one of the daemon's dialogs, read and written with a bounded
// message: GetWindowText of another process's control reads no field.
std::string FieldText(HWND dialog, int id) {
    char text[300] = {};
    DWORD_PTR ignored = 0;
    SendMessageTimeoutA(GetDlgItem(dialog, id), WM_GETTEXT, sizeof(text), reinterpret_cast<LPARAM>(text),
                        SMTO_ABORTIFHUNG, 5000, &ignored);
    return text;
}

void SetText(HWND control, const std::string& text) {
    DWORD_PTR ignored = 0;
    SendMessageTimeoutA(control, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()), SMTO_ABORTIFHUNG, 5000,
                        &ignored);
}

void Click(HWND dialog, int button) {
    PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(button, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(dialog, button)));
}

// A dialog that a failed test leaves open would keep its desktop's window
// busy for the tests after it.
class CancelAtEnd {
public:
    explicit CancelAtEnd(HWND dialog) : m_dialog(dialog) {}
    ~CancelAtEnd() {
        qvtest::DaemonDialog open;
        open.window = m_dialog;
        if (IsWindow(m_dialog)) qvtest::PressDialog(open, IDCANCEL);
    }
    CancelAtEnd(const CancelAtEnd&) = delete;
    CancelAtEnd& operator=(const CancelAtEnd&) = delete;

private:
    HWND m_dialog;
};

// Picks a file in the file dialog the daemon opens over the run dialog, as a
// user types its path; the file dialog's caption, or why none was picked.
std::string PickFile(const qvtest::Daemon& daemon, const std::string& desktop, HWND runDialog, const std::string& path) {
    const qvtest::DaemonDialog files = qvtest::WaitForProcessDialog(daemon.Pid(), desktop, 20000, runDialog);
    if (!files) return "<no file dialog>";
    CancelAtEnd cancel(files.window);
    HWND name = GetDlgItem(files.window, edt1);
    if (!name) name = GetDlgItem(files.window, cmb13);
    if (!name) return "<no file name field>";
    SetText(name, path);
    if (!qvtest::PressDialog(files, IDOK)) return "<not picked>";
    // The fields are filled once the file dialog has gone.
    qvtest::WaitUntil([&] { return !FieldText(runDialog, IDC_RUN_COMMAND).empty(); }, 5000);
    return files.caption;
}

// Each dialog that closes costs 2 s under Wine (it waits for X to withdraw
// the window), so one dialog and one file dialog carry the whole case.
TEST_F(DaemonRequests, RunDialogStartsTheProgramOnTheDesktopThatOpenedIt) {
    ASSERT_TRUE(qvtest::PostRequest(desk[2], qv::kCommandTextRequest, qv::PackCommandText("E")));
    const qvtest::DaemonDialog run = daemon.WaitForDialog(10000, desk[2]);
    ASSERT_TRUE(run) << "run dialog";
    CancelAtEnd cancel(run.window);
    HWND ok = GetDlgItem(run.window, IDOK);
    HWND command = GetDlgItem(run.window, IDC_RUN_COMMAND);
    EXPECT_FALSE(IsWindowEnabled(ok)) << "nothing to run yet";
    SetText(command, "x");
    EXPECT_TRUE(IsWindowEnabled(ok));
    SetText(command, "");
    EXPECT_FALSE(IsWindowEnabled(ok));

    char windows[MAX_PATH] = {};
    ASSERT_GT(GetWindowsDirectoryA(windows, MAX_PATH), 0u);
    Click(run.window, IDC_RUN_WINDOWS_DIR);
    EXPECT_TRUE(qvtest::WaitUntil([&] { return FieldText(run.window, IDC_RUN_DIRECTORY) == windows; }, 5000))
        << FieldText(run.window, IDC_RUN_DIRECTORY);

    // A data file is opened by the helper beside the daemon.
    Click(run.window, IDC_RUN_SHELL);
    const std::string document = daemon.Dir().File("doc.ini");
    qvtest::WriteBytes(document, "[doc]\r\n");
    // データファイルのフルパス
    EXPECT_EQ(PickFile(daemon, desk[2], run.window, document),
              "\x83\x66\x81\x5B\x83\x5E\x83\x74\x83\x40\x83\x43\x83\x8B\x82\xCC\x83\x74\x83\x8B\x83\x70\x83\x58");
    EXPECT_EQ(FieldText(run.window, IDC_RUN_COMMAND), qvtest::ProgramFolder() + "QVShlExe.exe");
    EXPECT_EQ(FieldText(run.window, IDC_RUN_ARGUMENTS), document);
    EXPECT_EQ(FieldText(run.window, IDC_RUN_DIRECTORY), daemon.Dir().Path() + "\\");
    EXPECT_TRUE(IsWindowEnabled(ok));

    // A program typed in instead, at low priority.
    SetText(command, "\"" + qvtest::FixturePath() + "\"");
    const std::string report = daemon.Dir().File("run-dialog.txt");
    SetText(GetDlgItem(run.window, IDC_RUN_ARGUMENTS), "--title=QVRunDialog --report=" + report);
    // The wide query: an ANSI one across processes reads only part of a row.
    DWORD_PTR low = CB_ERR;
    SendMessageTimeoutW(GetDlgItem(run.window, IDC_RUN_PRIORITY), CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1),
                        reinterpret_cast<LPARAM>(L"\u4F4E\u3044"), SMTO_ABORTIFHUNG, 5000, &low);  // 低い
    ASSERT_NE(static_cast<LRESULT>(low), CB_ERR);
    DWORD_PTR chosen = CB_ERR;
    SendMessageTimeoutA(GetDlgItem(run.window, IDC_RUN_PRIORITY), CB_SETCURSEL, low, 0, SMTO_ABORTIFHUNG, 5000, &chosen);
    ASSERT_EQ(chosen, low);
    ASSERT_TRUE(daemon.Press(run, IDOK));

    ASSERT_TRUE(qvtest::WaitUntil([&] { return qvtest::ReportedPid(report) != 0; }, 10000));
    qvtest::ProcessGuard started;
    ASSERT_TRUE(started.WatchReported(report));
    const std::string start = qvtest::ReportLines(report).at(0);
    // Named in its startup information too: Wine puts a program started
    // without a name on its starter's desktop, which is this one as well.
    EXPECT_EQ(start.substr(start.find(" asked=")), " asked=" + desk[2] + " desktop=" + desk[2]);
    EXPECT_EQ(qvtest::ParentOf(started.Handle()), daemon.Pid()) << "started directly";
    if (qvtest::SystemAppliesCreationPriorityClass()) {
        HANDLE process = OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, started.Pid());
        EXPECT_EQ(GetPriorityClass(process), static_cast<DWORD>(IDLE_PRIORITY_CLASS));
        if (process) CloseHandle(process);
    } else {
        std::printf("note: this system ignores creation priority classes; the class is not checked\n");
    }
    EXPECT_EQ(Current(), desk[0]) << "a start switches nothing";
    EXPECT_EQ(qvtest::SendRequest(desk[2], qv::kVersionRequest, 0), 0x200) << "the window is no longer busy";
}

}  // namespace

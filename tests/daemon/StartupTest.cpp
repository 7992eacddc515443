#include <windows.h>

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "Daemon.h"
#include "Desktops.h"
#include "PipeClient.h"
#include "Processes.h"
#include "Protocol.h"
#include "TestFiles.h"

namespace {

using qvtest::Daemon;

// Every start-up box, byte for byte in code page 932.
const char kCaption[] = "MultipleDesktopSwitcher";
const char kUsage[] =  // Usage ... [-p ﾊﾟﾗﾒｰﾀﾌｧｲﾙ] [-X] ... 稼働中のQuorvelを終了してから起動します. ... 省略時は、 カレントの Quorvel.ini が読み込まれます.
    "Usage :\r\n\tQuorvel.exe [-p \xca\xdf\xd7\xd2\xb0\xc0\xcc\xa7\xb2\xd9] [-X] \r\n\t-X : "
    "\x89\xd2\x93\xad\x92\x86\x82\xccQuorvel\x82\xf0\x8f\x49\x97\xb9\x82\xb5\x82\xc4\x82\xa9\x82\xe7\x8b\x4e\x93\xae"
    "\x82\xb5\x82\xdc\x82\xb7.\r\n\t\x8f\xc8\x97\xaa\x8e\x9e\x82\xcd\x81\x41 \x83\x4a\x83\x8c\x83\x93\x83\x67\x82\xcc "
    "Quorvel.ini \x82\xaa\x93\xc7\x82\xdd\x8d\x9e\x82\xdc\x82\xea\x82\xdc\x82\xb7.\r\n";
const char kCannotRead[] = " \x82\xaa\x93\xc7\x82\xdf\x82\xdc\x82\xb9\x82\xf1.";  //  が読めません.
const char kUndefined[] =  // 設定が未定義です.ｺﾝﾌｫｸﾞﾚｰﾀで設定して下さい.
    "\x90\xdd\x92\xe8\x82\xaa\x96\xa2\x92\xe8\x8b\x60\x82\xc5\x82\xb7.\xba\xdd\xcc\xab\xb8\xde\xda\xb0\xc0\x82\xc5"
    "\x90\xdd\x92\xe8\x82\xb5\x82\xc4\x89\xba\x82\xb3\x82\xa2.";
const char kMalformed[] =  // パラメータファイルの書式が誤っています.
    "\x83\x70\x83\x89\x83\x81\x81\x5b\x83\x5e\x83\x74\x83\x40\x83\x43\x83\x8b\x82\xcc\x8f\x91\x8e\xae\x82\xaa\x8c\xeb"
    "\x82\xc1\x82\xc4\x82\xa2\x82\xdc\x82\xb7.";
const char kNoDesktop[] =  // デスクトップの定義がありません.
    "\x83\x66\x83\x58\x83\x4e\x83\x67\x83\x62\x83\x76\x82\xcc\x92\xe8\x8b\x60\x82\xaa\x82\xa0\x82\xe8\x82\xdc\x82\xb9"
    "\x82\xf1.";
const char kNoHome[] =  // 起動したデスクトップ自体が開けません.
    "\x8b\x4e\x93\xae\x82\xb5\x82\xbd\x83\x66\x83\x58\x83\x4e\x83\x67\x83\x62\x83\x76\x8e\xa9\x91\xcc\x82\xaa\x8a\x4a"
    "\x82\xaf\x82\xdc\x82\xb9\x82\xf1.";
const char kRunning[] =  // 既に起動されています.
    "\x8a\xf9\x82\xc9\x8b\x4e\x93\xae\x82\xb3\x82\xea\x82\xc4\x82\xa2\x82\xdc\x82\xb7.";
const char kEndFailed[] =  // 終了に失敗しました.
    "\x8f\x49\x97\xb9\x82\xc9\x8e\xb8\x94\x73\x82\xb5\x82\xdc\x82\xb5\x82\xbd.";
const char kLogonOnly[] =  // 終了オプション -X はログオンしたﾃﾞｽｸﾄｯﾌﾟでしか使えません.
    "\x8f\x49\x97\xb9\x83\x49\x83\x76\x83\x56\x83\x87\x83\x93 -X \x82\xcd\x83\x8d\x83\x4f\x83\x49\x83\x93\x82\xb5\x82"
    "\xbd\xc3\xde\xbd\xb8\xc4\xaf\xcc\xdf\x82\xc5\x82\xb5\x82\xa9\x8e\x67\x82\xa6\x82\xdc\x82\xb9\x82\xf1.";

// Each box in turn: its caption and text, then OK.
void ExpectBoxes(const Daemon& daemon, const std::vector<std::string>& texts, const std::string& desktop = "") {
    for (const std::string& text : texts) {
        qvtest::DaemonDialog box = daemon.WaitForDialog(10000, desktop);
        ASSERT_TRUE(box) << "no box for: " << text;
        EXPECT_EQ(box.caption, kCaption);
        EXPECT_EQ(box.text, text);
        EXPECT_TRUE(daemon.Press(box, IDOK));
    }
}

std::string Replace(std::string text, const std::string& from, const std::string& to) {
    for (size_t at; (at = text.find(from)) != std::string::npos;) text.replace(at, from.size(), to);
    return text;
}

struct StartupCase {
    const char* name;
    const char* arguments;  // %DIR% is the daemon's folder
    const char* file;       // written as test.ini, %LOG% its log; none: no file
    std::vector<std::string> boxes;
    long exitCode;
    bool logged;            // the failure line ends a log (only once a record header was read)
    bool onTestDesktop = false;
};

void PrintTo(const StartupCase& c, std::ostream* os) { *os << c.name; }

class DaemonStartup : public ::testing::TestWithParam<StartupCase> {};

TEST_P(DaemonStartup, ShowsItsBoxesAndEndsWithItsCode) {
    const StartupCase& c = GetParam();
    std::optional<qvtest::TestDesktop> other;
    if (c.onTestDesktop) other.emplace();
    Daemon daemon;
    auto fill = [&](const std::string& text) {
        return Replace(Replace(text, "%DIR%", daemon.Dir().Path()), "%LOG%", daemon.LogPath());
    };
    if (c.file) daemon.WriteParameters(fill(c.file));
    std::string desktop = other ? other->Name() : "";
    ASSERT_TRUE(daemon.Start(fill(c.arguments), desktop));
    std::vector<std::string> boxes;
    for (const std::string& box : c.boxes) boxes.push_back(fill(box));
    ExpectBoxes(daemon, boxes, desktop);
    EXPECT_EQ(daemon.WaitExit(), c.exitCode);
    if (c.logged) {
        std::vector<std::string> log = daemon.LogLines();
        ASSERT_FALSE(log.empty());
        EXPECT_EQ(log.back(), qvtest::Format("--- Initializing Failed End Code=%ld ---", c.exitCode));
    } else {
        EXPECT_FALSE(qvtest::FileExists(daemon.LogPath()));
    }
}

const char kNoClosingBrace[] =
    "LogFileName\t%LOG%\nAncestryController::RingListClass\t{\nExistsOpen\t0\n"
    "AncestryDesktop::RingListClass\t{\n}\n";
const char kEndBeforeRecord[] =
    "LogFileName\t%LOG%\n--EOF--\nAncestryController::RingListClass\t{\nAncestryDesktop::RingListClass\t{\n}\n}\n";
const char kNoRecord[] = "LogFileName\t%LOG%\nAncestryController::RingListClass\t{\nExistsOpen\t0\n}\n--EOF--\n";
const char kOneRecord[] =
    "LogFileName\t%LOG%\nAncestryController::RingListClass\t{\nExistsOpen\t0\nQVControlBar\t0\n"
    "AncestryDesktop::RingListClass\t{\n}\n}\n--EOF--\n";

INSTANTIATE_TEST_SUITE_P(
    Failures, DaemonStartup,
    ::testing::Values(
        StartupCase{"ValueWithoutOption", "stray", nullptr, {kUsage}, 20, false},
        StartupCase{"QuotedOptionWord", "\"-p\" x", nullptr, {kUsage}, 20, false},
        StartupCase{"EscapedClosingQuote", "-p \"%DIR%\\\"", nullptr, {kUsage}, 20, false},
        StartupCase{"MissingNamedFile", "-p \"%DIR%\\missing.ini\"", nullptr,
                    {std::string("%DIR%\\missing.ini") + kCannotRead, kUsage}, 40, false},
        StartupCase{"NoDefaultFile", "", nullptr, {kUndefined}, 40, false},
        StartupCase{"EmptyOptionValueMeansDefaultFile", "-p", nullptr, {kUndefined}, 40, false},
        StartupCase{"ControllerWithoutClosingBrace", "-p \"%DIR%\\test.ini\"", kNoClosingBrace, {kMalformed}, 50, true},
        StartupCase{"EndMarkerBeforeAnyRecord", "-p \"%DIR%\\test.ini\"", kEndBeforeRecord, {kNoDesktop}, 55, false},
        StartupCase{"ControllerWithoutDesktops", "-p \"%DIR%\\test.ini\"", kNoRecord, {kNoDesktop}, 55, true},
        StartupCase{"LaunchingDesktopNotAdopted", "-p \"%DIR%\\test.ini\"", kOneRecord, {kNoHome}, 60, true, true}),
    [](const ::testing::TestParamInfo<StartupCase>& info) { return std::string(info.param.name); });

TEST(DaemonStartupConfigurator, IsStartedWhenTheDefaultFileIsMissing) {
    Daemon daemon;
    daemon.CopyIn(qvtest::FixturePath(), "QVConfig.exe");
    ASSERT_TRUE(daemon.Start(""));
    // A box would hold the daemon until the time-out.
    EXPECT_EQ(daemon.WaitExit(), 40);
    qv::UniqueHandle configurator;
    qvtest::WaitUntil([&] { return (configurator = daemon.FindChild("QVConfig.exe")).Valid(); }, 10000);
    qvtest::ProcessGuard guard;
    EXPECT_TRUE(guard.Hold(configurator.Get()));
}

// A running copy, and second copies started where they find it.
TEST(DaemonInstance, SecondCopyIsRefusedWhereItCannotEndTheRunningOne) {
    Daemon running;
    ASSERT_TRUE(running.StartReady(qvtest::kQuietController, {"", ""}));
    qvtest::TestDesktop other;
    struct {
        std::string desktop;  // empty: where the running copy's main window is
        const char* arguments;
        const char* box;
        long exitCode;
    } cases[] = {
        {"", "", kRunning, 10},
        {other.Name(), "-X", kEndFailed, 11},
        {"User_Desktop0", "-X", kLogonOnly, 12},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.exitCode);
        Daemon second;
        ASSERT_TRUE(second.Start(c.arguments, c.desktop));
        ExpectBoxes(second, {c.box}, c.desktop);
        EXPECT_EQ(second.WaitExit(), c.exitCode);
        EXPECT_TRUE(running.Running());
        EXPECT_EQ(qvtest::SendRequest(running.StartDesktop(), qv::kVersionRequest, 0), 0x200);
    }
}

TEST(DaemonInstance, MinusXEndsTheRunningCopyAndStartsInItsPlace) {
    Daemon first;
    ASSERT_TRUE(first.StartReady(qvtest::kQuietController, {"", ""}));
    Daemon second;
    second.WriteParameters(qvtest::ParameterText(second.LogPath(), qvtest::kQuietController, {""}));
    ASSERT_TRUE(second.Start("-X -p \"" + second.ParameterPath() + "\""));
    EXPECT_EQ(first.WaitExit(), 0);
    std::vector<std::string> firstLog = first.LogLines();
    ASSERT_FALSE(firstLog.empty());
    EXPECT_EQ(firstLog.back(), "--- Program End Code=0 ---");
    ASSERT_TRUE(second.WaitReady());
    int32_t count = 0;
    EXPECT_EQ(qv::PipeClient(second.StartDesktop()).AskNumberOfDesktops(&count), qv::QueryResult::kOk);
    EXPECT_EQ(count, 2) << "the second copy's file has one record";
}

// A copy whose main window takes no message: -X must neither wait for it nor
// lose a line of the log that both copies name.
TEST(DaemonInstance, MinusXGivesWayToARunningCopyThatDoesNotAnswer) {
    Daemon second;
    qvtest::WriteBytes(second.LogPath(), "running copy line 1\r\nrunning copy line 2\r\n");
    second.WriteParameters(qvtest::ParameterText(second.LogPath(), qvtest::kQuietController, {""}));
    // A copy of the fixture named Quorvel.exe counts as a running daemon.
    second.CopyIn(qvtest::FixturePath(), "Quorvel.exe");
    std::string standIn = "\"" + second.Dir().File("Quorvel.exe") + "\" --no-window --daemon-windows --hang=60000";
    STARTUPINFOA si = {};
    si.cb = sizeof(si);
    PROCESS_INFORMATION pi = {};
    ASSERT_TRUE(CreateProcessA(nullptr, standIn.data(), nullptr, nullptr, FALSE, 0, nullptr, second.Dir().Path().c_str(),
                               &si, &pi));
    qvtest::ProcessGuard hung;
    hung.Hold(pi.hProcess);
    CloseHandle(pi.hThread);
    CloseHandle(pi.hProcess);
    // Its thread window is made last, just before the thread stops.
    ASSERT_NE(qvtest::FindWindowOn(qvtest::CurrentDesktopName(), qv::kThreadWindowClass, qv::kDaemonWindowName, 10000),
              nullptr);

    const DWORD start = GetTickCount();
    ASSERT_TRUE(second.Start("-X -p \"" + second.ParameterPath() + "\""));
    qvtest::DaemonDialog box = second.WaitForDialog(30000);
    const DWORD waited = GetTickCount() - start;
    ASSERT_TRUE(box);
    EXPECT_EQ(box.text, kRunning);
    EXPECT_LT(waited, 20000u) << "the end request is bounded, the stand-in hangs for a minute";
    EXPECT_TRUE(second.Press(box, IDOK));
    EXPECT_EQ(second.WaitExit(), 10);
    EXPECT_TRUE(hung.Running());
    EXPECT_EQ(second.LogLines(), (std::vector<std::string>{"running copy line 1", "running copy line 2",
                                                           "Running Quorvel did not answer the end request within "
                                                           "5000 ms."}));
}

}  // namespace

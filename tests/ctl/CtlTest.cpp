// QVCtl end to end, as a script runs it: against a real daemon, whose
// answers through the pipe the test compares with what QVCtl printed;
// against no daemon, and against stand-ins that answer garbage or nothing.

#include <windows.h>

#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "CommandText.h"
#include "CtlCommand.h"
#include "Daemon.h"
#include "Desktops.h"
#include "FakeDaemonWindows.h"
#include "Handle.h"
#include "PipeClient.h"
#include "PipeFormat.h"
#include "Processes.h"
#include "TestFiles.h"
#include "WindowListRules.h"

namespace {

using qvtest::ConsoleRun;

std::string Utf8(const char8_t* text) { return reinterpret_cast<const char*>(text); }

// The console's line ends, as a batch file reads them, without their CR.
std::string Lines(std::string text) {
    std::erase(text, '\r');
    return text;
}

nlohmann::json Parsed(const ConsoleRun& run) {
    nlohmann::json document = nlohmann::json::parse(run.out, nullptr, false);
    EXPECT_FALSE(document.is_discarded()) << run.out;
    return document;
}

std::string Fields(const std::string& line, int field) {
    size_t start = 0;
    for (int i = 0; i < field; ++i) start = line.find('\t', start) + 1;
    return line.substr(start, line.find_first_of("\t\n", start) - start);
}

// Snapshots at a quarter of the screen, so that a desktop left has one;
// three desktops of the file after home, one titled in code page 932.
constexpr char kController[] =
    "ExistsOpen\t0\nQVControlBar\t0\nKeepBitmapSize\t4\nTitleDelay2\t0\nTitleDelay3\t0\n";
const std::vector<std::string> kDesktops = {"DesktopName\t仕事\n", "DesktopName\tWeb\n", "DesktopName\t表示\n"};

class CtlWithDaemon : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(daemon.Running());
        home = daemon.StartDesktop();
        ASSERT_EQ(qvtest::SendCommandText(home, "H"), 1);
        ASSERT_EQ(Current(), home);
        qv::PipeClient client(home);
        ASSERT_EQ(client.AskInformation(&info), qv::QueryResult::kOk);
        ASSERT_EQ(info.desktops.size(), 4u);
    }

    ConsoleRun Ctl(const std::string& arguments) {
        ConsoleRun run = qvtest::RunConsoleProgram("QVCtl.exe", arguments, home, dir.Path(), 90000);
        run.out = Lines(run.out);
        return run;
    }
    std::string Current() { return qvtest::AskCurrentDesktopId(home); }
    const std::string& Id(int index) const { return info.desktops[static_cast<size_t>(index)].id; }

    qvtest::Daemon& daemon = qvtest::SharedDaemon(kController, kDesktops);
    std::string home;
    qv::DesktopInformation info;
    qvtest::TempDir dir;
};

TEST_F(CtlWithDaemon, StatusSaysWhatThePipeSays) {
    ASSERT_EQ(qvtest::SendCommandText(home, "N"), 1);
    ASSERT_EQ(Current(), Id(1));

    const ConsoleRun json = Ctl("status --json");
    ASSERT_EQ(json.exitCode, 0u) << json.err;
    const nlohmann::json status = Parsed(json);
    EXPECT_EQ(status["version"], 1);
    ASSERT_EQ(status["desktops"].size(), info.desktops.size());
    for (size_t i = 0; i < info.desktops.size(); ++i) {
        const nlohmann::json& desktop = status["desktops"][i];
        EXPECT_EQ(desktop["number"], i + 1);
        EXPECT_EQ(desktop["id"], info.desktops[i].id);
        EXPECT_EQ(desktop["current"], i == 1);
        EXPECT_EQ(desktop["home"], i == 0);
        EXPECT_EQ(desktop["width"], info.desktops[i].width);
    }
    EXPECT_EQ(status["desktops"][1]["title"], Utf8(u8"仕事"));
    EXPECT_EQ(status["desktops"][3]["title"], Utf8(u8"表示"));

    const ConsoleRun text = Ctl("status");
    ASSERT_EQ(text.exitCode, 0u) << text.err;
    const std::string homeLine = "1\t" + home + "\t" + qv::DesktopTitle(info.desktops[0].name.c_str(), home.c_str()) +
                                 "\thome\n";
    EXPECT_EQ(text.out, homeLine + "2\t" + Id(1) + "\t仕事\tcurrent\n" + "3\t" + Id(2) + "\tWeb\t-\n" + "4\t" +
                            Id(3) + "\t表示\t-\n");
}

TEST_F(CtlWithDaemon, SwitchTakesEveryKindOfWordAndReturnsOnceTheDaemonReportsIt) {
    struct Step {
        std::string word;
        int expected;
    };
    const Step steps[] = {
        {"3", 2},  {"+1", 3}, {"-2", 1}, {"back", 3}, {"home", 0},
        {Id(2), 2}, {"表示", 3}, {"-1", 2}, {"+3", 1},
    };
    for (const Step& step : steps) {
        const ConsoleRun run = Ctl("switch " + step.word);
        ASSERT_EQ(run.exitCode, 0u) << step.word << ": " << run.err;
        // Printed only after the daemon reported it: the pipe says so now.
        EXPECT_EQ(Current(), Id(step.expected)) << step.word;
        EXPECT_EQ(Fields(run.out, 0), std::to_string(step.expected + 1)) << step.word << ": " << run.out;
        EXPECT_EQ(Fields(run.out, 1), Id(step.expected)) << step.word;
    }
}

TEST_F(CtlWithDaemon, BadWordsFailWithTheirCodeAndChangeNothing) {
    ASSERT_EQ(qvtest::SendCommandText(home, "N"), 1);
    const std::string before = Current();
    struct Case {
        std::string arguments;
        DWORD code;
        const char* says;
    };
    const Case cases[] = {
        {"switch 5", 1, "no desktop 5"},
        {"switch 0", 1, "no desktop 0"},
        {"switch Nowhere", 1, "Nowhere"},
        {"switch user_desktop0", 1, "user_desktop0"},
        {"windows --desktop 9", 1, "no desktop 9"},
        {"start --desktop Nowhere QVFixture.exe", 1, "Nowhere"},
        {"snapshot --desktop 7 " + dir.File("never.bmp"), 1, "no desktop 7"},
        {"start QVNoSuchProgram.exe", 1, "QVNoSuchProgram.exe"},
        {"swich 2", 2, "unknown command"},
        {"switch", 2, "Usage"},
        {"activate handle", 2, "not a window handle"},
    };
    for (const Case& c : cases) {
        const ConsoleRun run = Ctl(c.arguments);
        EXPECT_EQ(run.exitCode, c.code) << c.arguments << ": " << run.err;
        EXPECT_NE(run.err.find(c.says), std::string::npos) << c.arguments << ": " << run.err;
        EXPECT_EQ(run.out, "") << c.arguments;
    }
    EXPECT_EQ(Current(), before);
    EXPECT_FALSE(qvtest::FileExists(dir.File("never.bmp")));
}

TEST_F(CtlWithDaemon, WindowsListsEachDesktopsWindowsAndActivateGoesToOne) {
    auto one = std::make_unique<qvtest::ProcessGuard>();
    qvtest::ProcessGuard two;
    ASSERT_TRUE(qvtest::StartProgram(*one, "QVFixture.exe", "--title=CtlWindowOne", Id(2)));
    ASSERT_TRUE(qvtest::StartProgram(two, "QVFixture.exe", "--title=CtlWindowTwo", Id(3)));
    HWND first = qvtest::FindWindowOn(Id(2), nullptr, "CtlWindowOne", 10000);
    HWND second = qvtest::FindWindowOn(Id(3), nullptr, "CtlWindowTwo", 10000);
    ASSERT_TRUE(first && second);
    const std::string firstHandle = qv::WindowHandleText(static_cast<uint32_t>(reinterpret_cast<uintptr_t>(first)));

    const ConsoleRun all = Ctl("windows --json");
    ASSERT_EQ(all.exitCode, 0u) << all.err;
    const nlohmann::json listed = Parsed(all);
    EXPECT_EQ(listed["version"], 1);
    int found = 0;
    for (const nlohmann::json& window : listed["windows"]) {
        if (window["caption"] == "CtlWindowOne") {
            ++found;
            EXPECT_EQ(window["desktop"], 3);
            EXPECT_EQ(window["desktopId"], Id(2));
            EXPECT_EQ(window["handle"], firstHandle);
            EXPECT_EQ(window["processId"], one->Pid());
            EXPECT_EQ(window["module"], "QVFixture.exe");
        }
        if (window["caption"] == "CtlWindowTwo") {
            ++found;
            EXPECT_EQ(window["desktop"], 4);
        }
    }
    EXPECT_EQ(found, 2) << all.out;

    const ConsoleRun only = Ctl("windows --desktop Web");
    ASSERT_EQ(only.exitCode, 0u) << only.err;
    EXPECT_NE(only.out.find("3\t" + firstHandle + "\t" + std::to_string(one->Pid()) + "\tQVFixture.exe\tCtlWindowOne\n"),
              std::string::npos)
        << only.out;
    EXPECT_EQ(only.out.find("CtlWindowTwo"), std::string::npos) << only.out;

    const ConsoleRun activated = Ctl("activate " + firstHandle);
    ASSERT_EQ(activated.exitCode, 0u) << activated.err;
    EXPECT_EQ(Current(), Id(2));

    // Gone: refused, and the daemon stays where it is.
    ASSERT_EQ(qvtest::SendCommandText(home, "H"), 1);
    one.reset();  // ends it
    ASSERT_TRUE(qvtest::WaitUntil([&] { return !IsWindow(first); }, 10000));
    const ConsoleRun gone = Ctl("activate " + firstHandle);
    EXPECT_EQ(gone.exitCode, 1u) << gone.out;
    EXPECT_NE(gone.err.find(firstHandle), std::string::npos) << gone.err;
    EXPECT_EQ(Current(), home);
}

TEST_F(CtlWithDaemon, StartRunsTheProgramOnTheDesktopAndPrintsItsProcessId) {
    // Ended at the end, whatever the checks say: held through its window,
    // never through the printed id alone.
    auto started = [&](const ConsoleRun& run, const std::string& desktop, const char* title) {
        HWND window = qvtest::FindWindowOn(desktop, nullptr, title, 10000);
        qvtest::ProcessGuard guard;
        EXPECT_TRUE(guard.WatchWindowOwner(window)) << title;
        EXPECT_EQ(run.out, std::to_string(guard.Pid()) + "\n") << title;
    };
    const ConsoleRun there = Ctl("start --desktop 仕事 QVFixture.exe --title=CtlStartedThere");
    ASSERT_EQ(there.exitCode, 0u) << there.err;
    started(there, Id(1), "CtlStartedThere");

    // Without --desktop: the current one.
    ASSERT_EQ(qvtest::SendRequest(home, qv::kSwitchToNumberRequest, qv::PackCommandText("4")), 1);
    ASSERT_EQ(Current(), Id(3));
    const ConsoleRun here = Ctl("start QVFixture.exe --title=CtlStartedHere");
    ASSERT_EQ(here.exitCode, 0u) << here.err;
    started(here, Id(3), "CtlStartedHere");
}

TEST_F(CtlWithDaemon, SnapshotWritesTheDaemonsBitmapOrLeavesTheFileAlone) {
    // Leaving desktop 2 gives it a snapshot.
    ASSERT_EQ(qvtest::SendRequest(home, qv::kSwitchToNumberRequest, qv::PackCommandText("2")), 1);
    ASSERT_EQ(qvtest::SendRequest(home, qv::kSwitchToNumberRequest, qv::PackCommandText("3")), 1);
    qv::BitmapLines expected;
    qv::PipeClient client(Id(1));
    ASSERT_EQ(client.AskBitmap(expected), qv::QueryResult::kOk);

    const std::string path = dir.File("仕事.bmp");
    const ConsoleRun run = Ctl("snapshot --desktop 2 \"" + path + "\"");
    ASSERT_EQ(run.exitCode, 0u) << run.err;
    qv::UniqueBitmap bitmap(static_cast<HBITMAP>(
        LoadImageA(nullptr, path.c_str(), IMAGE_BITMAP, 0, 0, LR_LOADFROMFILE | LR_CREATEDIBSECTION)));
    ASSERT_TRUE(bitmap);
    BITMAP shape{};
    ASSERT_TRUE(GetObjectA(bitmap.Get(), sizeof shape, &shape));
    EXPECT_EQ(shape.bmWidth, expected.shape.width);
    EXPECT_EQ(shape.bmHeight, expected.shape.height);
    std::string pixels;
    for (const std::string& line : expected.lines) pixels += line;
    EXPECT_TRUE(qvtest::ReadBytes(path).substr(54) == pixels);

    // Nothing is written where the file cannot go, and a file that cannot
    // be replaced keeps what it held.
    const std::string nowhere = dir.File("missing\\out.bmp");
    EXPECT_EQ(Ctl("snapshot --desktop 2 " + nowhere).exitCode, 1u);
    // Held open by another program, without leave to delete or replace it.
    const std::string kept = dir.File("kept.bmp");
    qvtest::WriteBytes(kept, "not a bitmap");
    ConsoleRun refused;
    {
        qv::UniqueHandle holder(
            CreateFileA(kept.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr));
        ASSERT_TRUE(holder);
        refused = Ctl("snapshot --desktop 仕事 " + kept);
    }
    EXPECT_EQ(refused.exitCode, 1u) << refused.out;
    EXPECT_NE(refused.err.find("cannot write"), std::string::npos) << refused.err;
    EXPECT_TRUE(qvtest::ReadBytes(kept) == "not a bitmap");
    EXPECT_FALSE(qvtest::FileExists(kept + ".tmp"));
    EXPECT_FALSE(qvtest::FileExists(nowhere));
}

TEST(CtlExit, EndsTheDaemonAndReturnsOnceItHasGone) {
    qvtest::EndSharedDaemon();
    qvtest::Daemon daemon;
    ASSERT_TRUE(daemon.StartReady(qvtest::kQuietController, {""}));
    qvtest::TempDir dir;
    const ConsoleRun run = qvtest::RunConsoleProgram("QVCtl.exe", "exit", daemon.StartDesktop(), dir.Path(), 90000);
    EXPECT_EQ(run.exitCode, 0u) << run.err;
    EXPECT_EQ(daemon.WaitExit(0), 0);  // gone already when QVCtl returned
    const ConsoleRun again = qvtest::RunConsoleProgram("QVCtl.exe", "exit", daemon.StartDesktop(), dir.Path(), 90000);
    EXPECT_EQ(again.exitCode, 3u) << again.err;
}

TEST(CtlWithoutDaemon, NoDaemonGarbageAndSilenceEachHaveTheirCode) {
    // Kept while QVCtl comes and goes: Wine drops the name of a desktop that
    // its last thread has left.
    qvtest::TestDesktop desktop;
    qvtest::TempDir dir;
    auto ctl = [&](const char* arguments) {
        return qvtest::RunConsoleProgram("QVCtl.exe", arguments, desktop.Name(), dir.Path(), 90000);
    };
    for (const char* arguments : {"status", "switch 2", "windows", "exit"}) {
        const ConsoleRun run = ctl(arguments);
        EXPECT_EQ(run.exitCode, 3u) << arguments;
        EXPECT_NE(run.err.find("not running"), std::string::npos) << arguments << ": " << run.err;
    }

    struct Garbage {
        const char* what;
        std::string bytes;
    };
    const std::string record = qv::InformationReply(0, {qv::DesktopRecord{desktop.Name(), 800, 600, "Here", 0}}).Bytes();
    const Garbage garbage[] = {
        {"a count beyond any ring", std::string("\xFF\xFF\xFF\x7F\0\0\0\0", 8)},
        {"a record cut short", record.substr(0, record.size() - 3)},
        {"no current desktop", qv::InformationReply(5, {qv::DesktopRecord{desktop.Name(), 800, 600, "Here", 0}}).Bytes()},
    };
    for (const Garbage& g : garbage) {
        qvtest::FakeDaemonWindows::Options options;
        options.informationBytes = g.bytes;
        qvtest::FakeDaemonWindows daemon(desktop.Name(), options);
        ASSERT_TRUE(daemon.Ready());
        const ConsoleRun run = ctl("status --json");
        EXPECT_EQ(run.exitCode, 5u) << g.what << ": " << run.err;
        EXPECT_EQ(run.out, "") << g.what;
    }

    {
        // Takes the question and never connects to the pipe.
        qvtest::FakeDaemonWindows silent(desktop.Name(), qvtest::FakeDaemonWindows::Options());
        ASSERT_TRUE(silent.Ready());
        const ConsoleRun run = ctl("switch 1");
        EXPECT_EQ(run.exitCode, 4u) << run.err;
        std::vector<qvtest::FakeDaemonWindows::Received> received = silent.Requests();
        for (const auto& request : received) EXPECT_NE(request.wParam, qv::kSwitchToNumberRequest);
    }
    {
        // Does not even answer the version request in time.
        qvtest::FakeDaemonWindows hung(desktop.Name(), false, 8000);
        ASSERT_TRUE(hung.Ready());
        EXPECT_EQ(ctl("status").exitCode, 4u);
    }
}

TEST(CtlHelp, HelpAndVersionNeedNoDaemon) {
    qvtest::TestDesktop desktop;
    qvtest::TempDir dir;
    const ConsoleRun help = qvtest::RunConsoleProgram("QVCtl.exe", "--help", desktop.Name(), dir.Path());
    EXPECT_EQ(help.exitCode, 0u);
    EXPECT_NE(help.out.find("Exit codes"), std::string::npos) << help.out;
    const ConsoleRun version = qvtest::RunConsoleProgram("QVCtl.exe", "--version", desktop.Name(), dir.Path());
    EXPECT_EQ(version.exitCode, 0u);
    EXPECT_EQ(version.out, "QVCtl 2.0\r\n");  // the console's line end
}

}  // namespace

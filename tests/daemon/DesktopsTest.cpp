#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "Daemon.h"
#include "Desktops.h"
#include "PipeClient.h"
#include "Processes.h"

namespace {

using qvtest::Daemon;

std::vector<std::string> Ids(const qv::DesktopInformation& info) {
    std::vector<std::string> ids;
    for (const qv::DesktopRecord& record : info.desktops) ids.push_back(record.id);
    return ids;
}

TEST(DaemonDesktops, TwoRecordsFollowTheLaunchingDesktopWhichIsHome) {
    qvtest::TestDesktop other;  // neither a record nor "default": not adopted
    Daemon daemon;
    ASSERT_TRUE(daemon.StartReady(qvtest::kQuietController, {"", ""}));
    const std::string home = daemon.StartDesktop();
    int32_t count = 0;
    EXPECT_EQ(qv::PipeClient(home).AskNumberOfDesktops(&count), qv::QueryResult::kOk);
    EXPECT_EQ(count, 3);
    EXPECT_EQ(qvtest::SendCommandText(home, "N"), 1);

    qv::DesktopInformation info;
    ASSERT_EQ(qv::PipeClient(home).AskInformation(&info), qv::QueryResult::kOk);
    EXPECT_EQ(info.count, 3u);
    EXPECT_EQ(info.currentIndex, 1);
    EXPECT_EQ(Ids(info), (std::vector<std::string>{home, "User_Desktop0", "User_Desktop1"}));
    DEVMODEA mode = {};
    mode.dmSize = sizeof(mode);
    ASSERT_TRUE(EnumDisplaySettingsA(nullptr, ENUM_CURRENT_SETTINGS, &mode));
    // Untitled desktops are named in the order their threads start: home first.
    const char* names[] = {"Desktop1", "Desktop2", "Desktop3"};
    for (size_t i = 0; i < info.desktops.size() && i < 3; ++i) {
        EXPECT_EQ(info.desktops[i].name, names[i]);
        EXPECT_EQ(info.desktops[i].width, static_cast<int32_t>(mode.dmPelsWidth));
        EXPECT_EQ(info.desktops[i].height, static_cast<int32_t>(mode.dmPelsHeight));
    }
    std::string name;
    EXPECT_EQ(qv::PipeClient("User_Desktop1").AskDesktopName(&name), qv::QueryResult::kOk);
    EXPECT_EQ(name, "Desktop3");
    EXPECT_EQ(qvtest::DaemonThreadWindow(other.Name(), 300), nullptr);
}

TEST(DaemonDesktops, ExistsOpenAdoptsTheOtherDesktopsOfTheWindowStation) {
    qvtest::TestDesktop other;
    Daemon daemon;
    ASSERT_TRUE(daemon.StartReady("ExistsOpen\t1\nQVControlBar\t0\nKeepBitmapSize\t0\nTitleDelay2\t0\nTitleDelay3\t0\n",
                                  {""}));
    qv::DesktopInformation info;
    ASSERT_EQ(qv::PipeClient(daemon.StartDesktop()).AskInformation(&info), qv::QueryResult::kOk);
    std::vector<std::string> ids = Ids(info);
    EXPECT_NE(std::find(ids.begin(), ids.end(), other.Name()), ids.end());
    EXPECT_NE(qvtest::DaemonThreadWindow(other.Name(), 1000), nullptr);
}

TEST(DaemonDesktops, StartsProgramEntriesInFileOrderOnTheirDesktops) {
    Daemon daemon;
    std::vector<std::string> reports;
    std::vector<std::string> entries;
    for (const char* title : {"Entry1", "Entry2", "Entry3"}) {
        reports.push_back(daemon.Dir().File((std::string(title) + ".txt").c_str()));
        entries.push_back(
            qvtest::FixtureEntryLines(std::string("--title=") + title + " --lifetime=30000 --report=" + reports.back()));
    }
    ASSERT_TRUE(daemon.StartReady(qvtest::kQuietController, {entries[0] + entries[1], entries[2]}));
    const char* desktops[] = {"User_Desktop0", "User_Desktop0", "User_Desktop1"};
    qvtest::ProcessGuard guards[3];
    ULONGLONG created[3] = {};
    for (int i = 0; i < 3; ++i) {
        ASSERT_TRUE(qvtest::WaitUntil([&] { return qvtest::ReportedPid(reports[i]) != 0; }, 10000)) << i;
        ASSERT_TRUE(guards[i].WatchReported(reports[i])) << i;
        created[i] = qvtest::FactsOf(guards[i].Handle()).created;
        const std::string start = qvtest::ReportLines(reports[i]).at(0);
        EXPECT_EQ(start.substr(start.find(" desktop=")), std::string(" desktop=") + desktops[i]);
    }
    EXPECT_LT(created[0], created[1]);
    EXPECT_LT(created[1], created[2]);
    EXPECT_GE(created[1] - created[0], 1000000u) << "100 ms between two starts on one desktop";
}

TEST(DaemonEnd, ExitCommandClosesEveryThreadHomeLast) {
    Daemon daemon;
    ASSERT_TRUE(daemon.StartReady(qvtest::kQuietController, {"", ""}));
    const std::string home = daemon.StartDesktop();
    EXPECT_EQ(qvtest::SendCommandText("User_Desktop1", "X"), 1);
    ASSERT_EQ(daemon.WaitExit(), 0) << "no question may hold the end";

    std::vector<std::string> log = daemon.LogLines();
    auto threadOf = [&](const std::string& desktop) {
        std::string start = "Desktop[" + desktop + "] ThreadID=";
        for (const std::string& line : log)
            if (line.rfind(start, 0) == 0 && line.size() == start.size() + 15) return line.substr(start.size(), 8);
        return std::string("?");
    };
    std::vector<std::string> expected;
    for (const std::string& desktop : {std::string("User_Desktop0"), std::string("User_Desktop1"), home}) {
        std::string thread = threadOf(desktop);
        expected.push_back("Desktop [" + desktop + "] ThreadID=" + thread + " WM_CLOSE Detected.");
        expected.push_back("Desktop[" + desktop + "] ThreadID=" + thread + " End.");
    }
    expected.push_back("Controller : All Threads Closed.");
    expected.push_back("--- Program End Code=0 ---");
    auto at = log.begin();
    for (const std::string& line : expected) {
        at = std::find(at, log.end(), line);
        ASSERT_NE(at, log.end()) << "missing, or out of order: " << line;
    }
    EXPECT_EQ(log.back(), expected.back());
}

}  // namespace

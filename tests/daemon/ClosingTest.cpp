#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <string>
#include <vector>

#include "CommandText.h"
#include "Daemon.h"
#include "DaemonExtras.h"
#include "Processes.h"

namespace {

using qvtest::Daemon;

// A fixture started by the daemon on its desktop, reporting into the daemon's folder.
struct Application {
    std::string report;
    std::string entry;  // the program entry of the parameter file

    Application(const Daemon& daemon, const char* name, const std::string& options)
        : report(daemon.Dir().File((std::string(name) + ".txt").c_str())),
          entry(qvtest::FixtureEntryLines("--title=" + std::string(name) + " --lifetime=60000 " + options +
                                          " --report=" + report)) {}

    // Waits until its window is up; then it is ended at the end of the scope
    // if nothing else ended it.
    bool Up() {
        if (!qvtest::WaitUntil([&] { return !Window().empty(); }, 10000)) {
            ADD_FAILURE() << "no window: " << ::testing::PrintToString(qvtest::ReportLines(report));
            return false;
        }
        guard.WatchReported(report);
        return guard.Running();
    }
    std::string Window() const {
        for (const std::string& line : qvtest::ReportLines(report))
            if (line.rfind("WINDOW hwnd=", 0) == 0) return line.substr(12);
        return std::string();
    }
    // What it received after its start.
    std::vector<std::string> Received() const {
        std::vector<std::string> lines = qvtest::ReportLines(report);
        lines.erase(std::remove_if(
                        lines.begin(), lines.end(),
                        [](const std::string& l) { return l.rfind("START ", 0) == 0 || l.rfind("WINDOW ", 0) == 0; }),
                    lines.end());
        return lines;
    }
    // The start of its line in the daemon's log.
    std::string LogStart() const {
        const auto window = static_cast<unsigned>(std::strtoull(Window().c_str(), nullptr, 16));
        return qvtest::Format("Wnd=%08X PID=%4d(qvfixture.exe) : ", window, static_cast<int>(guard.Pid()));
    }

    qvtest::ProcessGuard guard;
};

// The seconds of the action ladder become '#': they depend on the clock.
std::string WithoutSeconds(std::string line) {
    for (size_t at = 0; (at = line.find("[s])", at)) != std::string::npos; at += 4) {
        size_t digits = at;
        while (digits > 0 && std::isdigit(static_cast<unsigned char>(line[digits - 1]))) --digits;
        line.replace(digits, at - digits, "#");
        at = digits + 1;
    }
    return line;
}

std::vector<std::string> LinesStartingWith(const std::vector<std::string>& log, const std::string& start) {
    std::vector<std::string> found;
    for (const std::string& line : log)
        if (line.rfind(start, 0) == 0) found.push_back(WithoutSeconds(line));
    return found;
}

// The line after the first one that equals `line`.
std::string Next(const std::vector<std::string>& log, const std::string& line) {
    auto at = std::find(log.begin(), log.end(), line);
    return at != log.end() && at + 1 != log.end() ? *(at + 1) : "<none>";
}

TEST(DaemonClosing, EndSendsWmCloseToTheVisibleUnownedWindowsOfTheDesktopOnly) {
    Daemon daemon;
    Application a(daemon, "CloseA", "--hidden=1 --owned=1"), b(daemon, "CloseB", ""), kept(daemon, "Kept", "");
    ASSERT_TRUE(daemon.StartReady(qvtest::kQuietController,
                                  {"DesktopExitProgman\t0x00000100\n" + a.entry + b.entry, kept.entry}));
    ASSERT_TRUE(a.Up());
    ASSERT_TRUE(b.Up());
    ASSERT_TRUE(kept.Up());
    ASSERT_TRUE(daemon.Stop());
    EXPECT_EQ(daemon.WaitExit(0), 0);

    for (Application* closed : {&a, &b}) {
        EXPECT_TRUE(closed->guard.WaitForEnd(5000)) << closed->report;
        EXPECT_EQ(closed->Received(), (std::vector<std::string>{"WM_CLOSE", "WM_QUIT", "EXIT 0"})) << closed->report;
    }
    EXPECT_TRUE(kept.guard.Running()) << "its desktop has no exit options";
    EXPECT_TRUE(kept.Received().empty());

    const std::vector<std::string> log = daemon.LogLines();
    std::vector<std::string> expected = {a.LogStart() + "-> WM_CLOSE(#[s]). ", b.LogStart() + "-> WM_CLOSE(#[s]). "};
    std::vector<std::string> acted = LinesStartingWith(log, "Wnd=");
    std::sort(expected.begin(), expected.end());
    std::sort(acted.begin(), acted.end());
    EXPECT_EQ(acted, expected) << "hidden and owned windows are left to their owners";
    EXPECT_EQ(Next(log, "Desktop [User_Desktop1] CloseAnyWindows Starting..."), " No Action!");
    EXPECT_EQ(Next(log, "Desktop [" + daemon.StartDesktop() + "] CloseAnyWindows Starting..."), " No Action!");
    // The windows are closed by their desktop's thread before it ends.
    auto closing = std::find(log.begin(), log.end(), "Desktop [User_Desktop0] CloseAnyWindows Starting...");
    auto first = std::find_if(log.begin(), log.end(), [](const std::string& l) { return l.rfind("Wnd=", 0) == 0; });
    auto end = std::find_if(log.begin(), log.end(), [](const std::string& l) {
        return l.rfind("Desktop[User_Desktop0] ThreadID=", 0) == 0 && l.find(" End.") != std::string::npos;
    });
    EXPECT_TRUE(closing < first && first + 2 == end);
    ASSERT_FALSE(log.empty());
    EXPECT_EQ(log.back(), "--- Program End Code=0 ---");
}

TEST(DaemonClosing, LadderSendsItsMessagesInOrderAndTerminatesNoApplication) {
    Daemon daemon;
    // Exit code 42 in bits 0-7; every action in bits 8-15, or only the one
    // that needs a process handle, which an application window never has.
    Application all(daemon, "Ladder", "--on-close=ignore --on-quit=ignore"), none(daemon, "Untouched", "");
    ASSERT_TRUE(daemon.StartReady(qvtest::kQuietController, {"DesktopExitProgman\t0x00001F2A\n" + all.entry,
                                                             "DesktopExitProgman\t0x0000102A\n" + none.entry}));
    ASSERT_TRUE(all.Up());
    ASSERT_TRUE(none.Up());
    ASSERT_TRUE(daemon.Stop());

    const std::vector<std::string> log = daemon.LogLines();
    EXPECT_EQ(LinesStartingWith(log, all.LogStart()),
              std::vector<std::string>{all.LogStart() +
                                       "-> WM_CLOSE(#[s]).  WM_QUIT(Code=42)(#[s]). WM_DESTROY(+WM_NCDESTROY)(#[s]). "
                                       " WM_ENDSESSION(TRUE)(#[s])."});
    EXPECT_EQ(LinesStartingWith(log, none.LogStart()), std::vector<std::string>{none.LogStart() + "->Non Action."});

    // A sent WM_QUIT reaches the window procedure, not the message loop; the
    // loop's quit comes from the window's own WM_DESTROY handler, and may be
    // taken after the daemon has moved on.
    qvtest::WaitUntil([&] { return all.Received().size() >= 3; }, 5000);
    std::vector<std::string> received = all.Received();
    ASSERT_FALSE(received.empty());
    EXPECT_EQ(received.front(), "WM_CLOSE");
    std::sort(received.begin(), received.end());
    EXPECT_EQ(received, (std::vector<std::string>{"WM_CLOSE", "WM_ENDSESSION 1", "WM_QUIT"}));
    EXPECT_TRUE(all.guard.Running());
    EXPECT_TRUE(none.guard.Running());
    EXPECT_TRUE(none.Received().empty());
}

TEST(DaemonClosing, QueryStopsAtARefusalAndAsksNobodyWithoutCancelOk) {
    Daemon daemon;
    Application no(daemon, "SaysNo", "--on-queryend=no"), yes(daemon, "SaysYes", "--on-queryend=yes"),
        unasked(daemon, "Unasked", "--on-queryend=no");
    ASSERT_TRUE(daemon.StartReady(qvtest::kQuietController,
                                  {"DesktopExitProgman\t0x00000100\nDesktopExitCancelOK\t1\n" + no.entry,
                                   "DesktopExitProgman\t0x00000100\nDesktopExitCancelOK\t1\n" + yes.entry,
                                   "DesktopExitProgman\t0x00000100\n" + unasked.entry}));
    ASSERT_TRUE(no.Up());
    ASSERT_TRUE(yes.Up());
    ASSERT_TRUE(unasked.Up());

    EXPECT_EQ(qvtest::SendToThreadWindow("User_Desktop0", WM_COMMAND, qv::kCmdQueryEnd, 0), 0);
    EXPECT_EQ(no.Received(), (std::vector<std::string>{"WM_QUERYENDSESSION", "WM_ENDSESSION 0"}));
    EXPECT_EQ(qvtest::SendToThreadWindow("User_Desktop1", WM_COMMAND, qv::kCmdQueryEnd, 0), 1);
    EXPECT_EQ(yes.Received(), (std::vector<std::string>{"WM_QUERYENDSESSION", "WM_ENDSESSION 1"}));
    EXPECT_EQ(qvtest::SendToThreadWindow("User_Desktop2", WM_COMMAND, qv::kCmdQueryEnd, 0), 1);
    EXPECT_TRUE(unasked.Received().empty());

    const std::vector<std::string> log = daemon.LogLines();
    EXPECT_EQ(LinesStartingWith(log, no.LogStart()),
              std::vector<std::string>{no.LogStart() + "QueryEndSession -> NG."});
    EXPECT_EQ(LinesStartingWith(log, yes.LogStart()),
              std::vector<std::string>{yes.LogStart() +
                                       "QueryEndSession->OK. Desktop [User_Desktop1] Visible Application Quit OK."});
    EXPECT_TRUE(LinesStartingWith(log, unasked.LogStart()).empty());
    EXPECT_TRUE(no.guard.Running() && yes.guard.Running()) << "asking ends nobody";
}

TEST(DaemonClosing, HungApplicationHoldsNeitherTheQueryNorTheEndForLong) {
    Daemon daemon;
    Application hung(daemon, "Hangs", "--on-queryend=hang");
    ASSERT_TRUE(daemon.StartReady(qvtest::kQuietController,
                                  {"DesktopExitProgman\t0x00000100\nDesktopExitCancelOK\t1\n" + hung.entry}));
    ASSERT_TRUE(hung.Up());

    // Its window thread sleeps in WM_QUERYENDSESSION from then on: the query
    // and WM_ENDSESSION(FALSE) after it cost at most 5 s each.
    DWORD start = GetTickCount();
    EXPECT_EQ(qvtest::SendToThreadWindow("User_Desktop0", WM_COMMAND, qv::kCmdQueryEnd, 0, 30000), 0)
        << "no answer counts as a refusal";
    EXPECT_LT(GetTickCount() - start, 13000u);
    EXPECT_EQ(hung.Received(), std::vector<std::string>{"WM_QUERYENDSESSION"});
    start = GetTickCount();
    EXPECT_EQ(qvtest::SendToThreadWindow("User_Desktop0", WM_COMMAND, qv::kCmdQueryEnd, 0, 15000), 0)
        << "asked again while it hangs";
    EXPECT_LT(GetTickCount() - start, 6000u);

    start = GetTickCount();
    ASSERT_TRUE(daemon.Stop(30000)) << daemon.Log();
    EXPECT_LT(GetTickCount() - start, 9000u) << "one WM_CLOSE of at most 5 s";
    EXPECT_EQ(daemon.WaitExit(0), 0);
    EXPECT_EQ(LinesStartingWith(daemon.LogLines(), hung.LogStart()),
              (std::vector<std::string>{hung.LogStart() + "QueryEndSession -> NG.",
                                        hung.LogStart() + "QueryEndSession -> NG.",
                                        hung.LogStart() + "-> WM_CLOSE(#[s]). "}));
}

TEST(DaemonClosing, SessionEndEndsTheDaemonWithOneAndLeavesApplicationsAlone) {
    Daemon daemon;
    Application left(daemon, "Left", "");
    ASSERT_TRUE(daemon.StartReady(qvtest::kQuietController, {"DesktopExitProgman\t0x00000100\n" + left.entry}));
    ASSERT_TRUE(left.Up());
    const std::string home = daemon.StartDesktop();

    EXPECT_EQ(qvtest::SendToMainWindow(home, WM_QUERYENDSESSION, 0, ENDSESSION_LOGOFF), TRUE);
    EXPECT_TRUE(qvtest::SendToMainWindow(home, WM_ENDSESSION, FALSE, ENDSESSION_LOGOFF).has_value());
    EXPECT_EQ(qvtest::SendRequest(home, qv::kVersionRequest, 0), 0x200) << "a session that goes on changes nothing";
    // The daemon ends inside the handler: no answer comes.
    qvtest::SendToMainWindow(home, WM_ENDSESSION, TRUE, ENDSESSION_LOGOFF, 10000);
    EXPECT_EQ(daemon.WaitExit(), 1);

    EXPECT_TRUE(left.guard.Running());
    EXPECT_TRUE(left.Received().empty());
    const std::vector<std::string> log = daemon.LogLines();
    for (const char* line :
         {"Quorvel Main Thread WM_QUERYENDSESSION Detected.", "Quorvel Main Thread WM_ENDSESSION(0) Detected.",
          "Quorvel Main Thread WM_ENDSESSION(1) Detected.",
          "Desktop [User_Desktop0] Skip CloseAnyWindows (WM_ENDSESSION MODE)"})
        EXPECT_NE(std::find(log.begin(), log.end(), line), log.end()) << line;
    EXPECT_TRUE(LinesStartingWith(log, "Wnd=").empty());
    EXPECT_TRUE(LinesStartingWith(log, "Desktop [User_Desktop0] CloseAnyWindows").empty());
    ASSERT_FALSE(log.empty());
    EXPECT_EQ(log.back(), " --- Quorvel Exit by WM_ENDSESSION(1) ---");
}

}  // namespace

// The soak run: the daemon with eight desktops, the control bar and an
// application on each desktop, driven for a long while the way the other
// programs drive them (switch requests, questions through the pipe, windows
// hung on the bar and taken off again), all three at once. It reads what the
// daemon and the bar hold after a warm-up and again at the end, reads the
// daemon's whole log, ends the daemon through its exit request, and fails
// when a figure passed its limit or anything went wrong on the way.

#include <windows.h>

#include <atomic>
#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "BarWindows.h"
#include "CommandText.h"
#include "Daemon.h"
#include "DaemonRequest.h"
#include "DaemonRing.h"
#include "Desktops.h"
#include "PipeClient.h"
#include "ProcessFigures.h"
#include "Processes.h"
#include "Protocol.h"
#include "SoakRules.h"

namespace {

// The home desktop (the one the daemon starts on) and seven of its file.
constexpr int kFileDesktops = 7;
constexpr int kSwitches = 10000;
constexpr int kQuestions = 1000;  // Information, names and bitmaps in turn
constexpr int kHangCycles = 100;
// Growth allowed between the figures after the warm-up and at the end. Wine
// hands out handles for its own ends (a thread's, a desktop's) lazily, so a
// few come and go; the windows must all be gone again; private bytes may
// move by what an allocator keeps back for its next use.
constexpr soak::Limits kLimits = {4, 2u << 20, 0};
constexpr DWORD kEndMs = 60000;      // the daemon's end, closing seven applications
constexpr DWORD kBarEndMs = 15000;   // the bar's end after the daemon's quit request
constexpr DWORD kSettleMs = 3000;    // the last title overlay (200 + 800 + 1000 ms) gone
constexpr DWORD kHangerMs = 10000;   // every bar shows a hang-on or removal
constexpr DWORD kRequestMs = 10000;  // one switch: snapshot, switch, activation

DWORD g_started = GetTickCount();

void Say(const char* format, ...) {
    std::printf("[%6.1f s] ", (GetTickCount() - g_started) / 1000.0);
    va_list args;
    va_start(args, format);
    std::vprintf(format, args);
    va_end(args);
    std::printf("\n");
    std::fflush(stdout);
}

// What went wrong in one part of the run: counted, the first few kept.
class Faults {
public:
    void Add(const std::string& text) {
        const std::lock_guard<std::mutex> hold(m_lock);
        if (m_texts.size() < 10) m_texts.push_back(text);
        ++m_count;
    }
    long Count() const { return m_count; }
    void Print(const char* part) const {
        for (const std::string& text : m_texts) std::printf("  %s: %s\n", part, text.c_str());
        if (m_count > static_cast<long>(m_texts.size()))
            std::printf("  %s: ... %ld in all\n", part, m_count.load());
    }

private:
    std::mutex m_lock;
    std::vector<std::string> m_texts;
    std::atomic<long> m_count{0};
};

struct Run {
    qvtest::Daemon daemon;
    std::vector<std::string> ids;       // the daemon's desktops in ring order, home first
    std::vector<std::string> names;     // their DesktopNames
    qvtest::DaemonRing ring;            // the switches' walk, at the daemon's thread windows
    std::vector<HWND> appWindows;       // the application on each file desktop
    HWND barMain = nullptr;
    DWORD barPid = 0;
    long switches = 0;                  // answered, warm-up included
    long informations = 0, nameQuestions = 0, bitmaps = 0, idChecks = 0;
    Faults switchFaults, questionFaults, hangFaults, endFaults;
};

// The daemon as shipped (title overlay and snapshots at their defaults),
// adopting no desktop but the one it starts on, with the bar.
constexpr char kController[] = "ExistsOpen\t0\nQVControlBar\t1\n";

// A file desktop with its application, closed (WM_CLOSE) when the daemon ends.
std::string DesktopEntry(const Run& run, int number) {
    const std::string title = "SoakApp" + std::to_string(number);
    return "DesktopName\tSoak" + std::to_string(number) + "\nDesktopExitProgman\t0x00000100\n" +
           // The fixture takes a value up to the next blank, quotes and all:
           // the report's path (a temporary folder) has none.
           qvtest::FixtureEntryLines("--title=" + title + " --lifetime=1800000 --report=" +
                                     run.daemon.Dir().File((title + ".txt").c_str()));
}

bool Start(Run& run) {
    std::vector<std::string> desktops;
    for (int i = 1; i <= kFileDesktops; ++i) desktops.push_back(DesktopEntry(run, i));
    // The bar pinned: it stays shown whatever the one pointer of the one X
    // screen touches.
    qvtest::WriteBytes(run.daemon.Dir().File("QVCtrlBar.ini"), bartest::BarSettings("FixPin\t1\n"));
    // The whole run's log is kept: some 5 MB.
    run.daemon.WriteParameters(qvtest::ParameterText(run.daemon.LogPath(), kController, desktops, 64 << 20));
    if (!run.daemon.Start("-p \"" + run.daemon.ParameterPath() + "\"") || !run.daemon.WaitReady()) return false;
    run.ids = bartest::DesktopIds(run.daemon);
    if (run.ids.size() != kFileDesktops + 1) return false;
    for (const std::string& id : run.ids)
        if (!bartest::WaitForBar(id)) return false;
    qv::DesktopInformation info;
    if (qv::PipeClient(run.daemon.StartDesktop()).AskInformation(&info) != qv::QueryResult::kOk) return false;
    for (const qv::DesktopRecord& record : info.desktops) run.names.push_back(record.name);
    if (!run.ring.Open(run.ids)) return false;
    for (int i = 1; i <= kFileDesktops; ++i)
        run.appWindows.push_back(qvtest::FindWindowOn(run.ids[i], nullptr, ("SoakApp" + std::to_string(i)).c_str(), 30000));
    run.barPid = bartest::BarProcess(run.ids[0]);
    run.barMain = qvtest::FindWindowOn(run.daemon.StartDesktop(), qv::kBarMainWindowClass, qv::kBarWindowName, 5000);
    for (HWND window : run.appWindows)
        if (!window) return false;
    return run.barPid && run.barMain;
}

// A relative switch as the bar's "+1" button asks it, at the thread window
// of the current desktop; every 500th is checked against the daemon's own
// answer.
void Switches(Run& run, int count) {
    for (int i = 0; i < count; ++i) {
        const std::string from = run.ids[run.ring.Position()];
        if (!run.ring.Next(kRequestMs)) {
            run.switchFaults.Add("switch " + std::to_string(i) + " from " + from + " not answered");
            continue;
        }
        ++run.switches;
        if ((i + 1) % 500 == 0) {
            ++run.idChecks;
            const std::string id = qvtest::AskCurrentDesktopId(run.daemon.StartDesktop());
            if (id != run.ids[run.ring.Position()])
                run.switchFaults.Add("after switch " + std::to_string(i) + " the daemon is on " + id + ", not " +
                                     run.ids[run.ring.Position()]);
        }
    }
}

// Information, a desktop's name and its snapshot in turn, each at the thread
// window of the next desktop, as the viewer asks them.
void Questions(Run& run, int count) {
    const int desktops = static_cast<int>(run.ids.size());
    for (int i = 0; i < count; ++i) {
        const int d = i % desktops;
        qv::PipeClient client(run.ids[d]);
        const DWORD asked = GetTickCount();
        std::string fault;
        switch (i % 3) {
        case 0: {
            qv::DesktopInformation info;
            const qv::QueryResult result = client.AskInformation(&info);
            ++run.informations;
            if (result != qv::QueryResult::kOk || info.desktops.size() != run.ids.size() || info.currentIndex < 0 ||
                info.currentIndex >= desktops)
                fault = "Information: result " + std::to_string(static_cast<int>(result)) + ", " +
                        std::to_string(info.desktops.size()) + " desktops";
            for (size_t k = 0; fault.empty() && k < info.desktops.size(); ++k)
                if (info.desktops[k].id != run.ids[k]) fault = "Information: desktop " + info.desktops[k].id;
            break;
        }
        case 1: {
            std::string name;
            const qv::QueryResult result = client.AskDesktopName(&name);
            ++run.nameQuestions;
            if (result != qv::QueryResult::kOk || name != run.names[d])
                fault = "name of " + run.ids[d] + ": result " + std::to_string(static_cast<int>(result)) + ", \"" +
                        name + "\"";
            break;
        }
        default: {
            qv::BitmapLines lines;
            int32_t read = 0;
            const qv::QueryResult result = client.AskBitmap(lines, &read);
            ++run.bitmaps;
            // Every desktop was left in the warm-up: each has its snapshot,
            // at the default quarter of the screen.
            const int32_t width = GetSystemMetrics(SM_CXSCREEN) / 4, height = GetSystemMetrics(SM_CYSCREEN) / 4;
            if (result != qv::QueryResult::kOk || lines.shape.width != width || lines.shape.height != height ||
                read != height)
                fault = "snapshot of " + run.ids[d] + ": result " + std::to_string(static_cast<int>(result)) + ", " +
                        std::to_string(lines.shape.width) + "x" + std::to_string(lines.shape.height) + ", " +
                        std::to_string(read) + " lines";
            break;
        }
        }
        if (!fault.empty())
            run.questionFaults.Add("question " + std::to_string(i) + " (" + std::to_string(GetTickCount() - asked) +
                                   " ms): " + fault);
    }
}

// The hang-on request as the task switch tool and the viewer send it, to the
// bar's main window; whether the bar took the window.
bool HangOn(const Run& run, HWND window) {
    DWORD_PTR taken = 0;
    return SendMessageTimeoutA(run.barMain, qv::kRequestMessage, qv::kBarHangWindowRequest,
                               reinterpret_cast<LPARAM>(window), SMTO_ABORTIFHUNG, 15000, &taken) &&
           taken == 1;
}

// "削除" of the menu of the first hanger button on the desktop's bar, chosen
// by keyboard as a user would.
bool RemoveThroughMenu(const std::string& desktop) {
    HWND button = bartest::HangerButton(desktop, 0);
    bool chosen = false;
    qvtest::RunOnDesktop(desktop, [&] {
        if (!button || !PostMessageA(button, WM_RBUTTONUP, 0, MAKELPARAM(2, 2))) return;
        HWND menu = nullptr;
        if (!qvtest::WaitUntil([&] { return (menu = FindWindowA("#32768", nullptr)) && IsWindowVisible(menu); }, 5000))
            return;
        for (int i = 0; i < 3; ++i) PostMessageA(menu, WM_KEYDOWN, VK_DOWN, 0);
        chosen = PostMessageA(menu, WM_KEYDOWN, VK_RETURN, 0) != FALSE;
    });
    return chosen;
}

// One window hung on and taken off again. Even cycles take one of the
// daemon's applications off through the button's menu (the entry's watch is
// stopped); odd ones hang on a visitor of the run's own and close it (the
// watch sees its process end).
void HangCycle(Run& run, int cycle) {
    const int app = cycle % kFileDesktops;
    const std::string& appDesktop = run.ids[app + 1];
    const std::string& barDesktop = run.ids[cycle % run.ids.size()];
    const bool byMenu = cycle % 2 == 0;
    std::vector<std::unique_ptr<qvtest::ProcessGuard>> visitors;
    const std::string title = byMenu ? "SoakApp" + std::to_string(app + 1) : "SoakVisitor";
    HWND window = byMenu ? run.appWindows[app] : bartest::StartFixtureWindow(visitors, appDesktop, title, "--lifetime=60000");
    const std::string what = "cycle " + std::to_string(cycle) + " (" + title + " on " + appDesktop + ")";
    if (!window) return run.hangFaults.Add(what + ": no window");
    if (!HangOn(run, window)) return run.hangFaults.Add(what + ": not hung on");
    if (!bartest::EveryHangerShows(run.ids, {title}, kHangerMs))
        return run.hangFaults.Add(what + ": not on every bar");
    if (byMenu) {
        if (!RemoveThroughMenu(barDesktop)) return run.hangFaults.Add(what + ": no menu on " + barDesktop);
    } else {
        qvtest::RunOnDesktop(appDesktop, [&] { PostMessageA(window, WM_CLOSE, 0, 0); });
        if (!visitors.back()->WaitForEnd(10000)) run.hangFaults.Add(what + ": the visitor did not end");
    }
    if (!bartest::EveryHangerShows(run.ids, {}, kHangerMs)) run.hangFaults.Add(what + ": still on a bar");
}

void HangCycles(Run& run, int first, int count) {
    for (int cycle = first; cycle < first + count; ++cycle) HangCycle(run, cycle);
}

soak::Figures ReadFigures(const Run& run) {
    soak::Figures figures;
    const qvtest::ProcessCounts daemon = qvtest::CountProcess(run.daemon.Pid());
    const qvtest::ProcessCounts bar = qvtest::CountProcess(run.barPid);
    figures.daemon = {daemon.handles, daemon.privateBytes};
    figures.bar = {bar.handles, bar.privateBytes};
    for (const std::string& id : run.ids) figures.windows.push_back(qvtest::CountWindowsOn(id, 0, true));
    return figures;
}

// The log against what the run did: every switch's lines, in the ring's
// order, every question's answer, and no line torn or unexpected.
std::vector<std::string> CheckLog(const Run& run, const soak::LogReading& log) {
    std::vector<std::string> faults;
    auto expect = [&](bool holds, const std::string& text) {
        if (!holds) faults.push_back(text);
    };
    using soak::LineKind;
    const long activations = run.switches + 1;  // the start activates the home desktop
    expect(log.Count(LineKind::kArguments) == run.switches,
           "\"Argments : +1\" lines: " + std::to_string(log.Count(LineKind::kArguments)) + ", switches " +
               std::to_string(run.switches));
    expect(log.Count(LineKind::kSwitchId) == run.switches,
           "\"SwitchDesktop ID\" lines: " + std::to_string(log.Count(LineKind::kSwitchId)));
    expect(log.Count(LineKind::kSnapshot) == activations,
           "snapshot lines: " + std::to_string(log.Count(LineKind::kSnapshot)) + ", activations " +
               std::to_string(activations));
    expect(static_cast<long>(log.activated.size()) == activations,
           "\"Active New Desktop\" lines: " + std::to_string(log.activated.size()));
    for (size_t i = 0; i < log.activated.size(); ++i) {
        if (log.activated[i] != run.ids[i % run.ids.size()]) {
            faults.push_back("activation " + std::to_string(i) + " was " + log.activated[i] + ", not " +
                             run.ids[i % run.ids.size()]);
            break;
        }
    }
    // The bar asks too; the run's own questions are the least there are.
    expect(log.Count(LineKind::kInformation) >= run.informations,
           "Information answers: " + std::to_string(log.Count(LineKind::kInformation)));
    expect(log.Count(LineKind::kName) >= run.nameQuestions,
           "name answers: " + std::to_string(log.Count(LineKind::kName)));
    expect(log.Count(LineKind::kBitmap) >= run.bitmaps, "bitmap answers: " + std::to_string(log.Count(LineKind::kBitmap)));
    expect(log.Count(LineKind::kCurrentId) >= run.idChecks,
           "current-desktop answers: " + std::to_string(log.Count(LineKind::kCurrentId)));
    expect(log.Count(LineKind::kUnexpected) == 0,
           std::to_string(log.Count(LineKind::kUnexpected)) + " lines torn or unexpected");
    for (const std::string& line : log.unexpected) faults.push_back("  | " + line);
    expect(log.endsWithLineEnd, "the log's last line is cut");
    return faults;
}

// The end through the daemon's exit request: in time, with its exit code,
// its bar and its applications gone, and its desktops closed.
void End(Run& run) {
    std::vector<std::unique_ptr<qvtest::ProcessGuard>> apps;
    for (size_t i = 0; i < run.appWindows.size(); ++i) {
        apps.push_back(std::make_unique<qvtest::ProcessGuard>());
        apps.back()->WatchWindowOwner(run.appWindows[i]);
    }
    qvtest::ProcessGuard bar;
    bar.WatchWindowOwner(run.barMain);
    const DWORD asked = GetTickCount();
    if (!run.daemon.Stop(kEndMs)) return run.endFaults.Add("the daemon did not end within " + std::to_string(kEndMs) + " ms");
    Say("the daemon ended %.1f s after its exit request", (GetTickCount() - asked) / 1000.0);
    const long code = run.daemon.WaitExit(0);
    if (code != 0) run.endFaults.Add("the daemon's exit code is " + std::to_string(code));
    if (!bar.WaitForEnd(kBarEndMs)) run.endFaults.Add("the bar still runs");
    for (size_t i = 0; i < apps.size(); ++i) {
        if (apps[i]->WaitForEnd(5000)) continue;
        const std::string title = "SoakApp" + std::to_string(i + 1);
        std::string report;
        for (const std::string& line : qvtest::ReportLines(run.daemon.Dir().File((title + ".txt").c_str())))
            report += " | " + line;
        HWND window = run.appWindows[i];
        char state[96];
        std::snprintf(state, sizeof state, "; its window %s%s%s", IsWindow(window) ? "exists" : "is gone",
                      IsWindow(window) && IsWindowVisible(window) ? ", visible" : "",
                      IsWindow(window) && IsHungAppWindow(window) ? ", hung" : "");
        run.endFaults.Add(title + " still runs" + state + "; its report" + report);
    }
    std::string left;
    if (!qvtest::WaitUntil([&] { return (left = qvtest::DesktopsNamed("User_Desktop")).empty(); }, 10000))
        run.endFaults.Add("desktops left: " + left);
}

}  // namespace

// An optional divisor of the three counts, for a short trial of the run.
int main(int argc, char** argv) {
    const int divisor = argc > 1 && std::atoi(argv[1]) > 0 ? std::atoi(argv[1]) : 1;
    const int switches = kSwitches / divisor, questions = kQuestions / divisor, cycles = kHangCycles / divisor;
    std::printf("Soak run: %d desktops, %d switches, %d questions, %d hang-on cycles\n", kFileDesktops + 1, switches,
                questions, cycles);
    Run run;
    if (!Start(run)) {
        std::printf("FAILED: the daemon with its bar and applications did not come up\n");
        return 1;
    }
    Say("the daemon (pid %lu) and the bar (pid %lu) are up on %zu desktops", static_cast<unsigned long>(run.daemon.Pid()),
        static_cast<unsigned long>(run.barPid), run.ids.size());

    // Wine commits about 7 MB per desktop at its first visit and keeps it:
    // the start figures are read once every desktop has been visited, every
    // question asked and every bar's hanger used.
    Switches(run, 2 * static_cast<int>(run.ids.size()));
    Questions(run, 3 * static_cast<int>(run.ids.size()));
    HangCycles(run, 0, 2 * static_cast<int>(run.ids.size()));
    Sleep(kSettleMs);
    const soak::Figures start = ReadFigures(run);
    Say("warm-up done");

    const long warmSwitches = run.switches;
    std::thread asking([&] { Questions(run, questions); });
    std::thread hanging([&] { HangCycles(run, 0, cycles); });
    Switches(run, switches);
    Say("%ld switches done", run.switches - warmSwitches);
    asking.join();
    hanging.join();
    Say("questions and hang-on cycles done");
    Sleep(kSettleMs);
    const soak::Figures end = ReadFigures(run);

    End(run);
    // Kept beside the program for a look after the run.
    const std::string logText = run.daemon.Log();
    qvtest::WriteBytes(qvtest::ProgramFolder() + "QVSoak-daemon.log", logText);
    const soak::LogReading log = soak::ReadLog(logText);
    const std::vector<std::string> logFaults = CheckLog(run, log);
    const std::vector<std::string> breaches = soak::Breaches(start, end, kLimits, run.ids);

    std::printf("\nFigures after the warm-up and at the end (handles counted by duplicating each value; windows: "
                "top-level with their children, as USER and GDI objects cannot be counted under Wine):\n%s",
                soak::FiguresTable(start, end, run.ids).c_str());
    std::printf("Limits: handles +%ld per program, private bytes +%zu KB per program, windows +%ld per desktop\n",
                kLimits.handleGrowth, kLimits.privateGrowth >> 10, kLimits.windowGrowth);
    std::printf("Log: %ld lines checked (%ld switch activations, %ld Information, %ld name, %ld bitmap answers), "
                "%ld torn or unexpected\n",
                [&] {
                    long all = 0;
                    for (const auto& [kind, count] : log.counts) all += count;
                    return all;
                }(),
                log.Count(soak::LineKind::kActive), log.Count(soak::LineKind::kInformation),
                log.Count(soak::LineKind::kName), log.Count(soak::LineKind::kBitmap),
                log.Count(soak::LineKind::kUnexpected));
    std::printf("The daemon's log is kept as QVSoak-daemon.log beside QVSoak.exe.\n");

    const long faults = run.switchFaults.Count() + run.questionFaults.Count() + run.hangFaults.Count() +
                        run.endFaults.Count() + static_cast<long>(logFaults.size() + breaches.size());
    run.switchFaults.Print("switch");
    run.questionFaults.Print("question");
    run.hangFaults.Print("hang-on");
    run.endFaults.Print("end");
    for (const std::string& text : logFaults) std::printf("  log: %s\n", text.c_str());
    for (const std::string& text : breaches) std::printf("  limit: %s\n", text.c_str());
    Say(faults == 0 ? "PASSED" : "FAILED");
    return faults == 0 ? 0 : 1;
}

// What the resident programs cost while nobody uses them: the CPU time of
// the daemon, the bar and the viewer over a minute in which nothing happens,
// read from outside on handles held since each start. A resident program
// that wakes for nothing costs battery on every laptop it runs on.

#include <windows.h>

#include <tlhelp32.h>

#include <cstdio>
#include <set>
#include <string>
#include <vector>

#include "BarWindows.h"
#include "Daemon.h"
#include "DaemonRing.h"
#include "Desktops.h"
#include "Figures.h"
#include "Handle.h"
#include "PipeExchange.h"
#include "Processes.h"
#include "Protocol.h"
#include "QVViewerRes.h"
#include "RunningViewer.h"
#include "TestFiles.h"

namespace qvbench {

namespace {

// 0.1 % of one core.
constexpr double kIdleTargetMsPerMinute = 60;
constexpr int kDesktops = 8;
// After the last window is drawn: the titles of the lap have gone, and
// whatever a start leaves to do is done.
constexpr DWORD kSettleMs = 5000;

bool StillRunning(HANDLE process) { return process && WaitForSingleObject(process, 0) == WAIT_TIMEOUT; }

double Milliseconds(const FILETIME& time) {
    return static_cast<double>(static_cast<ULONGLONG>(time.dwHighDateTime) << 32 | time.dwLowDateTime) / 10000.0;
}

// Kernel and user time of a process's threads so far, and which threads
// they were. Wine answers GetProcessTimes for any process with the caller's
// own times, while its thread times are each thread's own: the sum over the
// threads is what works on both systems. A thread id from the list counts
// only once opened and proven to be the held process's, which cannot have
// given its id away while it still runs.
struct CpuReading {
    double ms = -1;  // negative: the process could not be read
    std::set<DWORD> threads;
};

CpuReading ReadCpu(HANDLE process) {
    CpuReading reading;
    const DWORD pid = process ? GetProcessId(process) : 0;
    if (!pid) return reading;
    HANDLE list = CreateToolhelp32Snapshot(TH32CS_SNAPTHREAD, 0);
    if (list == INVALID_HANDLE_VALUE) return reading;
    double ms = 0;
    THREADENTRY32 entry = {};
    entry.dwSize = sizeof(entry);
    for (BOOL more = Thread32First(list, &entry); more; more = Thread32Next(list, &entry)) {
        if (entry.th32OwnerProcessID != pid) continue;
        const qv::UniqueHandle thread(OpenThread(THREAD_QUERY_LIMITED_INFORMATION, FALSE, entry.th32ThreadID));
        FILETIME created, exited, kernel, user;
        if (!thread || GetProcessIdOfThread(thread.Get()) != pid ||
            !GetThreadTimes(thread.Get(), &created, &exited, &kernel, &user))
            continue;
        ms += Milliseconds(kernel) + Milliseconds(user);
        reading.threads.insert(entry.th32ThreadID);
    }
    CloseHandle(list);
    if (StillRunning(process)) reading.ms = ms;
    return reading;
}

// The daemon as a user runs it (its own defaults: titles after a switch,
// snapshots at 1/4) with its bar, touching no desktop but its own.
constexpr char kUsersController[] = "ExistsOpen\t0\nQVControlBar\t1\n";

}  // namespace

std::vector<Figure> IdleFigures(const Plan& plan) {
    const char* comparedAs = "CPU ms per minute idle";
    Figure daemonCpu{"idle: daemon", "ms/min", comparedAs, Goal::kAtMost, kIdleTargetMsPerMinute};
    Figure barCpu{"idle: bar", "ms/min", comparedAs, Goal::kAtMost, kIdleTargetMsPerMinute};
    Figure viewerCpu{"idle: viewer", "ms/min", comparedAs, Goal::kAtMost, kIdleTargetMsPerMinute};
    const std::vector<Figure*> all = {&daemonCpu, &barCpu, &viewerCpu};
    const auto result = [&] { return std::vector<Figure>{daemonCpu, barCpu, viewerCpu}; };
    const auto failAll = [&](const std::string& why) {
        for (Figure* figure : all) {
            figure->failed = true;
            figure->note = why;
        }
        return result();
    };

    qvtest::Daemon daemon;
    qvtest::WriteBytes(daemon.Dir().File("QVCtrlBar.ini"), bartest::BarSettings(""));
    if (!daemon.StartReady(kUsersController, std::vector<std::string>(kDesktops - 1, "")))
        return failAll("the daemon did not start");
    const std::vector<std::string> ids = bartest::DesktopIds(daemon);
    bool barsShown = ids.size() == kDesktops;
    for (const std::string& id : ids) barsShown = barsShown && bartest::WaitForBar(id) != nullptr;
    const qv::UniqueHandle bar = barsShown ? daemon.FindChild("QVCtrlBar.exe") : qv::UniqueHandle();
    if (!bar) return failAll("the daemon with its bar on 8 desktops did not start");

    // One lap, so that every desktop has its snapshot for the viewer and the
    // titles of a switch have come and gone before the quiet begins.
    qvtest::DaemonRing ring;
    if (!ring.Open(ids)) return failAll("the daemon's desktops could not be asked");
    for (size_t i = 0; i < ids.size(); ++i) {
        if (!ring.Next()) return failAll("a switch of the lap was not answered");
    }

    // The baseline: a program with the daemon's desktops, threads and hidden
    // windows, idle in their message loops.
    const std::string tag = std::to_string(GetCurrentProcessId());
    const std::string doneName = "Local\\QVBenchIdleDone_" + tag, endName = "Local\\QVBenchIdleEnd_" + tag;
    const qv::UniqueHandle done(CreateEventA(nullptr, TRUE, FALSE, doneName.c_str()));
    const qv::UniqueHandle end(CreateEventA(nullptr, TRUE, FALSE, endName.c_str()));
    qvtest::ProcessGuard bare;
    const bool bareStarted =
        done && end &&
        qvtest::StartProgram(bare, "BenchBareDesktops.exe",
                             std::to_string(kDesktops) + " " + doneName + " " + endName) &&
        WaitForSingleObject(done.Get(), 120000) == WAIT_OBJECT_0;
    const auto endBare = [&] {
        if (end) SetEvent(end.Get());
        bare.WaitExit(30000);
    };
    if (!bareStarted) {
        endBare();
        return failAll("the bare program did not make its desktops");
    }

    // The pointer off the bars and their hot zones while the viewer comes up.
    const int width = GetSystemMetrics(SM_CXSCREEN), height = GetSystemMetrics(SM_CYSCREEN);
    SetCursorPos(width / 2, height / 2);
    qvtest::RunningViewer viewer;
    if (!viewer.Start(ids[0]) || !viewer.WaitDrawn(ids.size())) {
        viewer.Command(ID_VW_EXIT);
        viewer.WaitExit();
        endBare();
        return failAll("the viewer did not show its 8 desktops");
    }
    // Left as a user leaves it after a last look at the bar: the home
    // desktop's bar shown with the pointer resting on it (below the strips
    // of the rolled-up bars, off their hot zones), the others rolled up.
    SetCursorPos(width / 2, 3);
    qvtest::RunOnDesktop(ids[0], [] {
        PostMessageA(bartest::BarHere(), qv::kRequestMessage, qv::kBarShowRequest, 0);
    });
    Sleep(kSettleMs);

    // The bare program last: its figure is the baseline of the others.
    const char* names[] = {"daemon", "bar", "viewer", "bare program"};
    const HANDLE watched[] = {daemon.Handle(), bar.Get(), viewer.Process(), bare.Handle()};
    Figure* figures[] = {&daemonCpu, &barCpu, &viewerCpu};
    size_t came[4] = {}, went[4] = {};
    const DWORD quietMs = plan.quick ? 20000 : 60000;
    std::string died;
    for (int round = 0; round < plan.rounds && died.empty(); ++round) {
        CpuReading before[4], after[4];
        for (int i = 0; i < 4; ++i) before[i] = ReadCpu(watched[i]);
        const double start = Now();
        Sleep(quietMs);
        const double minutes = (Now() - start) / 60;
        for (int i = 0; i < 4; ++i) after[i] = ReadCpu(watched[i]);
        double perMinute[4];
        for (int i = 0; i < 4; ++i) {
            // A program that ended costs nothing, which is no result.
            if (before[i].ms < 0 || after[i].ms < 0) died = names[i];
            perMinute[i] = (after[i].ms - before[i].ms) / minutes;
            for (DWORD thread : after[i].threads) came[i] += before[i].threads.count(thread) ? 0 : 1;
            for (DWORD thread : before[i].threads) went[i] += after[i].threads.count(thread) ? 0 : 1;
        }
        if (!died.empty()) break;
        for (int i = 0; i < 3; ++i) figures[i]->AddRound(perMinute[i], perMinute[3], perMinute[i]);
    }
    const bool homeShown = bartest::BarHeight(ids[0]) > 1;
    int othersRolled = 0;
    for (size_t i = 1; i < ids.size(); ++i) othersRolled += bartest::BarHeight(ids[i]) == 1 ? 1 : 0;
    viewer.Command(ID_VW_EXIT);
    const long viewerExit = viewer.WaitExit();
    endBare();
    if (!died.empty()) return failAll("the " + died + " ended or could not be read during the quiet");
    if (viewerExit != 0) return failAll("the viewer did not end cleanly after the quiet");

    // A thread that ended during a quiet took its time since the first
    // reading with it: the figures are then a floor, and the churn itself a
    // wake-up to look for.
    std::string churn;
    for (int i = 0; i < 4; ++i) {
        if (came[i] || went[i])
            churn += std::string(churn.empty() ? "" : ", ") + names[i] + " " + std::to_string(came[i]) + " came and " +
                     std::to_string(went[i]) + " went";
    }
    char note[900];
    std::snprintf(note, sizeof(note),
                  "8 desktops, the viewer showing all 8, the home desktop's bar shown with the pointer resting on "
                  "it (%s at the end) and the other bars rolled up (%d of 7 at the end); after a lap of switches "
                  "and %.0f s of rest, the CPU time (kernel + user) of each program's threads over %.0f s of "
                  "nothing per round, scaled to a minute; the baseline is BenchBareDesktops.exe (the daemon's "
                  "desktops, threads and hidden windows, idle) over the same time. Wine answers GetProcessTimes "
                  "with the caller's own times, so a program's threads are summed, each read in 10 ms ticks; "
                  "threads during the quiets: %s",
                  homeShown ? "so" : "not so", othersRolled, kSettleMs / 1000.0, quietMs / 1000.0,
                  churn.empty() ? "none came or went" : churn.c_str());
    daemonCpu.note = note;
    return result();
}

}  // namespace qvbench

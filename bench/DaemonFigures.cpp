// The figures of the running programs, driven through their real
// interfaces: requests to the daemon's windows, the query pipe, the log,
// and counts taken from outside. Each is measured against a bare program
// doing the same system work in the same round.

#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <functional>
#include <string>
#include <thread>
#include <vector>

#include "BarWindows.h"
#include "CommandText.h"
#include "Daemon.h"
#include "DaemonRing.h"
#include "Desktops.h"
#include "Figures.h"
#include "GdiObject.h"
#include "Handle.h"
#include "Log.h"
#include "PipeClient.h"
#include "PipeExchange.h"
#include "PipeFormat.h"
#include "ProcessFigures.h"
#include "Processes.h"
#include "Protocol.h"
#include "RunningViewer.h"
#include "QVViewerRes.h"
#include "TestFiles.h"

namespace qvbench {

namespace {

// A daemon that touches nothing but its own desktops: no desktop adopted
// but the one it starts on, no bar, no title (the title's timers are not
// part of a switch), snapshots at 1/scale.
std::string QuietController(int scale, bool bar = false) {
    return "ExistsOpen\t0\nQVControlBar\t" + std::to_string(bar ? 1 : 0) + "\nKeepBitmapSize\t" +
           std::to_string(scale) + "\nTitleDelay2\t0\nTitleDelay3\t0\n";
}

double Median(const std::vector<double>& values) { return Summarise(values).median; }

void FailAll(const std::vector<Figure*>& figures, const std::string& why) {
    for (Figure* figure : figures) {
        figure->failed = true;
        if (figure->note.empty()) figure->note = why;
    }
}

// Seconds for one relative switch request, which returns once the main
// thread has switched and the new desktop's thread has activated it;
// negative when it was not answered.
double TimedNext(qvtest::DaemonRing& ring) {
    const double start = Now();
    if (!ring.Next()) return -1;
    return Now() - start;
}

size_t CountLines(const qvtest::Daemon& daemon, const char* piece) {
    const std::string log = daemon.Log();
    size_t count = 0;
    for (size_t at = log.find(piece); at != std::string::npos; at = log.find(piece, at + 1)) ++count;
    return count;
}

// Every message sent to the window before this has been handled.
void Settle(HWND window) {
    DWORD_PTR answer = 0;
    SendMessageTimeoutA(window, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 5000, &answer);
}

// ---- The bare switch: the same system calls as the daemon's, made here ----

constexpr char kBareClass[] = "QVBench:BareSwitch";
constexpr UINT kBareCapture = WM_APP + 15;   // wParam: the scale
constexpr UINT kBareActivate = WM_APP + 7;

// The snapshot of the bare window's desktop, as the daemon keeps it.
thread_local qv::UniqueBitmap t_snapshot;

void BareCapture(int scale) {
    HWND desktopWindow = GetDesktopWindow();
    RECT screen = {};
    GetWindowRect(desktopWindow, &screen);
    const int width = screen.right - screen.left, height = screen.bottom - screen.top;
    const int w = width / scale, h = height / scale;
    qv::WindowDC screenDC(desktopWindow);
    qv::MemoryDC memory(screenDC.Get());
    t_snapshot.Reset(CreateCompatibleBitmap(screenDC.Get(), w, h));
    if (!t_snapshot || !memory.Get()) return;
    qv::Selection selected(memory.Get(), t_snapshot.Get());
    RECT all = {0, 0, w, h};
    FillRect(memory.Get(), &all, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
    if (scale > 1) {
        SetStretchBltMode(memory.Get(), COLORONCOLOR);
        StretchBlt(memory.Get(), 0, 0, w, h, screenDC.Get(), screen.left, screen.top, width, height, SRCCOPY);
    } else {
        BitBlt(memory.Get(), 0, 0, w, h, screenDC.Get(), screen.left, screen.top, SRCCOPY);
    }
}

LRESULT CALLBACK BareSwitchProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case kBareCapture:
        BareCapture(static_cast<int>(wParam));
        return 1;
    case kBareActivate:
        return 1;
    case WM_CLOSE:
        DestroyWindow(window);
        return 0;
    case WM_DESTROY:
        t_snapshot.Reset();
        PostQuitMessage(0);
        return 0;
    default:
        return DefWindowProcA(window, message, wParam, lParam);
    }
}

// Two desktops, each with a thread and a hidden window like the daemon's
// thread window; a switch captures the desktop being left on its thread,
// switches the input desktop and activates the other desktop on its thread.
class BareSwitcher {
public:
    explicit BareSwitcher(int scale) : m_scale(scale) {
        WNDCLASSA windowClass = {};
        windowClass.lpfnWndProc = BareSwitchProc;
        windowClass.hInstance = GetModuleHandleA(nullptr);
        windowClass.lpszClassName = kBareClass;
        RegisterClassA(&windowClass);
        for (Side& side : m_sides) {
            qv::UniqueHandle made(CreateEventA(nullptr, TRUE, FALSE, nullptr));
            side.thread = std::thread([&side, &made] {
                if (SetThreadDesktop(side.desktop.Handle()))
                    side.window = CreateWindowExA(WS_EX_TOPMOST | WS_EX_TOOLWINDOW, kBareClass, kBareClass,
                                                  WS_POPUP | WS_DISABLED, 0, 0, 0, 0, nullptr, nullptr,
                                                  GetModuleHandleA(nullptr), nullptr);
                SetEvent(made.Get());
                if (!side.window) return;
                MSG message;
                while (GetMessageA(&message, nullptr, 0, 0) > 0) DispatchMessageA(&message);
            });
            WaitForSingleObject(made.Get(), 30000);
        }
    }
    ~BareSwitcher() {
        for (Side& side : m_sides) {
            if (side.window) PostMessageA(side.window, WM_CLOSE, 0, 0);
            if (side.thread.joinable()) side.thread.join();
        }
    }
    BareSwitcher(const BareSwitcher&) = delete;
    BareSwitcher& operator=(const BareSwitcher&) = delete;

    bool Ready() const { return m_sides[0].window && m_sides[1].window; }

    // Seconds for one switch, negative when a window did not answer.
    double Switch() {
        Side& leaving = m_sides[m_current];
        Side& entering = m_sides[1 - m_current];
        DWORD_PTR answer = 0;
        const double start = Now();
        if (!SendMessageTimeoutA(leaving.window, kBareCapture, static_cast<WPARAM>(m_scale), 0, SMTO_ABORTIFHUNG,
                                 10000, &answer))
            return -1;
        SwitchDesktop(entering.desktop.Handle());
        if (!SendMessageTimeoutA(entering.window, kBareActivate, 0, 0, SMTO_ABORTIFHUNG, 10000, &answer)) return -1;
        const double seconds = Now() - start;
        m_current = 1 - m_current;
        return seconds;
    }

private:
    struct Side {
        qvtest::TestDesktop desktop;
        std::thread thread;
        HWND window = nullptr;
    };
    int m_scale;
    Side m_sides[2];
    int m_current = 0;
};

// ---- The bare pipe peer ----------------------------------------------------

class StringSource : public qv::ByteSource {
public:
    explicit StringSource(const std::string& bytes) : m_bytes(bytes) {}
    size_t ReadSome(void* buffer, size_t size) override {
        const size_t count = std::min(size, m_bytes.size() - m_at);
        std::memcpy(buffer, m_bytes.data() + m_at, count);
        m_at += count;
        return count;
    }

private:
    const std::string& m_bytes;
    size_t m_at = 0;
};

void WritePieces(const std::string& path, const std::vector<std::string>& pieces) {
    std::string bytes;
    for (const std::string& piece : pieces) {
        const uint32_t length = static_cast<uint32_t>(piece.size());
        bytes.append(reinterpret_cast<const char*>(&length), sizeof(length));
        bytes += piece;
    }
    qvtest::WriteBytes(path, bytes);
}

// The pieces in which the daemon writes its Information reply, made anew
// from what it wrote; empty unless they give back exactly those bytes.
std::vector<std::string> InformationPieces(const std::string& reply, size_t* desktops) {
    StringSource source(reply);
    qv::DesktopInformation info;
    if (qv::ReadInformation(source, &info) != qv::QueryResult::kOk) return {};
    *desktops = info.desktops.size();
    const qv::PipeReply rebuilt = qv::InformationReply(info.currentIndex, info.desktops);
    return rebuilt.Bytes() == reply ? rebuilt.Fields() : std::vector<std::string>();
}

// The snapshot reply's pieces: the chunk size, the info block, one chunk per
// scan line; empty unless the reply is a whole snapshot of the screen.
std::vector<std::string> BitmapPieces(const std::string& reply, int width, int height) {
    const uint32_t chunk = qv::BitmapChunkSize(width);
    if (reply.size() != 4 + qv::kBitmapInfoSize + size_t(chunk) * height) return {};
    std::vector<std::string> pieces = {reply.substr(0, 4), reply.substr(4, qv::kBitmapInfoSize)};
    for (size_t at = 4 + qv::kBitmapInfoSize; at < reply.size(); at += chunk) pieces.push_back(reply.substr(at, chunk));
    return pieces;
}

// ---- The bare peer's floor ---------------------------------------------------

constexpr size_t kNoPeerWrites = static_cast<size_t>(-1);

struct PeerWrites {
    size_t size = kNoPeerWrites;  // bytes per write; 0: the whole reply at once
    std::string told;             // every way tried, with its median
};

// The bare peer is the floor only if it moves the bytes the fastest way a
// pipe allows: the reply in one write, or in writes of a size that suits
// the pipe's buffer better. Each way is timed a few times and the fastest
// median is kept.
PeerWrites FastestPeerWrites(HWND peer, unsigned question, uint32_t bufferSize, size_t expected, int times) {
    PeerWrites best;
    double bestMedian = 0;
    for (const size_t size : {size_t(0), size_t(4096), size_t(65536)}) {
        if (size != 0 && size >= expected) continue;
        std::vector<double> seconds;
        std::string reply;
        for (int i = 0; i < times; ++i) {
            seconds.push_back(TimedQuestion(peer, question, bufferSize, &reply, expected, static_cast<LPARAM>(size)));
            if (seconds.back() < 0 || reply.size() != expected) return PeerWrites();
        }
        const double median = Median(seconds);
        char text[80];
        std::snprintf(text, sizeof(text), "%s%s %.3f ms", best.told.empty() ? "" : ", ",
                      size ? (std::to_string(size) + "-byte writes").c_str() : "one write", median * 1000);
        best.told += text;
        if (best.size == kNoPeerWrites || median < bestMedian) {
            best.size = size;
            bestMedian = median;
        }
    }
    return best;
}

// ---- The viewer ------------------------------------------------------------

// Seconds from the viewer's start on the desktop until it shows count
// desktop windows with their pictures; negative when it did not.
double TimedViewerStart(const std::string& desktop, size_t count) {
    qvtest::RunningViewer viewer;
    const double start = Now();
    const bool drawn = viewer.Start(desktop) && viewer.WaitDrawn(count);
    const double seconds = Now() - start;
    viewer.Command(ID_VW_EXIT);
    viewer.WaitExit();
    return drawn ? seconds : -1;
}

// ---- The bare desktops program ----------------------------------------------

// Starts BenchBareDesktops.exe with count desktops and, once it reports them
// made, returns measure(its process, seconds since its start); then lets it
// end. Negative when it did not get that far.
double WithBareDesktops(int count, const std::string& tag, const std::string& mode,
                        const std::function<double(HANDLE, double)>& measure) {
    const std::string doneName = "Local\\QVBenchBareDone_" + tag, endName = "Local\\QVBenchBareEnd_" + tag;
    qv::UniqueHandle done(CreateEventA(nullptr, TRUE, FALSE, doneName.c_str()));
    qv::UniqueHandle end(CreateEventA(nullptr, TRUE, FALSE, endName.c_str()));
    if (!done || !end) return -1;
    qvtest::ProcessGuard bare;
    const double start = Now();
    double value = -1;
    if (qvtest::StartProgram(bare, "BenchBareDesktops.exe",
                             std::to_string(count) + " " + doneName + " " + endName + mode)) {
        HANDLE waits[] = {done.Get(), bare.Handle()};
        if (WaitForMultipleObjects(2, waits, FALSE, 120000) == WAIT_OBJECT_0)
            value = measure(bare.Handle(), Now() - start);
    }
    SetEvent(end.Get());
    bare.WaitExit(30000);
    return value;
}

// Seconds from the daemon's start with 8 desktops until it has activated its
// home desktop; negative when it did not.
double TimedDaemonStart() {
    qvtest::Daemon daemon;
    const double start = Now();
    return daemon.StartReady(QuietController(0), std::vector<std::string>(7, "")) ? Now() - start : -1;
}

}  // namespace

std::vector<Figure> DaemonRequestFigures(const Plan& plan) {
    Figure switching{"switch handling", "ms", "daemon / bare", Goal::kAtMost, 1.2};
    Figure information{"Information reply", "ms", "daemon / bare", Goal::kAtMost, 1.2};
    Figure bitmap{"bitmap reply", "ms", "bare time / daemon time", Goal::kAtLeast, 0.8};
    Figure viewerStart{"viewer start", "ms", "start / bitmap replies", Goal::kAtMost, 1.2};
    const std::vector<Figure*> all = {&switching, &information, &bitmap, &viewerStart};
    const auto result = [&] { return std::vector<Figure>{switching, information, bitmap, viewerStart}; };

    qvtest::Daemon daemon;
    if (!daemon.StartReady(QuietController(4), std::vector<std::string>(7, ""))) {
        FailAll(all, "the daemon did not start");
        return result();
    }
    const std::vector<std::string> ids = bartest::DesktopIds(daemon);
    qvtest::DaemonRing ring;
    if (ids.size() != 8 || !ring.Open(ids)) {
        FailAll(all, "the daemon's desktops could not be asked");
        return result();
    }
    HWND home = ring.Home();

    // Switch handling. Every desktop is visited once first, so that each has
    // its snapshot and its first-visit costs are behind it.
    for (size_t i = 0; i < ids.size(); ++i) ring.Next();
    BareSwitcher bare(4);
    if (!bare.Ready()) FailAll({&switching}, "the bare switcher's windows could not be made");
    const int switches = plan.quick ? 20 : 60;
    DWORD_PTR answer = 0;
    const size_t activationsBefore = CountLines(daemon, "Active New Desktop");
    const size_t linesBefore = CountLines(daemon, "\n");
    // What the daemon does beyond the bare calls, timed beside them: the
    // request's own round trip between the processes (the version request,
    // answered by the thread window at once) and one log line written as the
    // daemon's log writes each of its lines, into a file it keeps open.
    std::vector<double> requestTrips, logLines;
    qv::LogFile logProbe;
    logProbe.SetLogFile(daemon.Dir().File("probe.log").c_str(), 64 << 20);
    for (int round = 0; round < plan.rounds && !switching.failed; ++round) {
        std::vector<double> measured, baseline;
        // One of each in turn, so that both see the same load.
        for (int i = 0; i < switches; ++i) {
            measured.push_back(TimedNext(ring));
            baseline.push_back(bare.Switch());
            double start = Now();
            SendMessageTimeoutA(ring.Current(), qv::kRequestMessage, qv::kVersionRequest, 0, SMTO_ABORTIFHUNG, 10000,
                                &answer);
            requestTrips.push_back(Now() - start);
            start = Now();
            logProbe.WriteLog("Active New Desktop [%s] ThreadID=%08X\n", "User_Desktop1", 0x20u);
            logLines.push_back(Now() - start);
        }
        if (*std::min_element(measured.begin(), measured.end()) < 0 ||
            *std::min_element(baseline.begin(), baseline.end()) < 0) {
            FailAll({&switching}, "a switch was not answered");
            break;
        }
        switching.AddRound(Median(measured) * 1000, Median(baseline) * 1000, Median(measured) / Median(baseline));
    }
    const size_t activations = CountLines(daemon, "Active New Desktop") - activationsBefore;
    if (!switching.failed && activations != size_t(switches) * plan.rounds)
        FailAll({&switching}, "the daemon's log shows " + std::to_string(activations) + " activations, not " +
                                  std::to_string(switches * plan.rounds));
    const size_t lines = CountLines(daemon, "\n");
    if (!switching.failed) {
        char note[512];
        std::snprintf(note, sizeof(note),
                      "8 desktops, snapshots at 1/4; each round the median of %d switches, daemon and bare in turn. "
                      "Beyond the bare calls a switch request makes a round trip between the processes and a "
                      "send from the thread window to the main window (the request alone, answered at once: "
                      "%.2f ms), and the daemon logs %.1f lines per switch, each appended to the file it keeps "
                      "open (%.3f ms a line here)",
                      switches, Median(requestTrips) * 1000,
                      static_cast<double>(lines - linesBefore) / static_cast<double>(activations ? activations : 1),
                      Median(logLines) * 1000);
        switching.note = note;
    }

    // The replies. Snapshots at full size from here on: one more lap takes
    // them.
    SendMessageTimeoutA(home, qv::kRequestMessage, qv::kSnapshotSizeRequest, 1, SMTO_ABORTIFHUNG, 10000, &answer);
    for (size_t i = 0; i < ids.size(); ++i) ring.Next();
    std::string infoReply, bitmapReply;
    TimedQuestion(home, qv::kInformationRequest, qv::PipeBufferSize(qv::PipeQuestion::kInformation), &infoReply);
    TimedQuestion(home, qv::kBitmapRequest, qv::PipeBufferSize(qv::PipeQuestion::kBitmap), &bitmapReply);
    size_t infoDesktops = 0;
    const std::vector<std::string> infoPieces = InformationPieces(infoReply, &infoDesktops);
    const int screenWidth = GetSystemMetrics(SM_CXSCREEN), screenHeight = GetSystemMetrics(SM_CYSCREEN);
    const std::vector<std::string> bitmapPieces = BitmapPieces(bitmapReply, screenWidth, screenHeight);
    if (infoPieces.empty() || infoDesktops != 8) FailAll({&information}, "the Information reply was not whole");
    if (bitmapPieces.empty())
        FailAll({&bitmap}, "the snapshot reply of " + std::to_string(bitmapReply.size()) +
                               " bytes was not a whole screen of " + std::to_string(screenWidth) + "x" +
                               std::to_string(screenHeight));
    WritePieces(daemon.Dir().File("information.pieces"), infoPieces);
    WritePieces(daemon.Dir().File("bitmap.pieces"), bitmapPieces);
    qvtest::ProcessGuard peer;
    HWND peerWindow = nullptr;
    if (qvtest::StartProgram(peer, "BenchPeer.exe",
                             "\"" + daemon.Dir().File("information.pieces") + "\" \"" +
                                 daemon.Dir().File("bitmap.pieces") + "\""))
        qvtest::WaitUntil([&] { return (peerWindow = FindWindowA("QVBenchPeer", nullptr)) != nullptr; }, 10000);
    if (!peerWindow) FailAll({&information, &bitmap}, "the bare peer did not start");

    struct Exchange {
        Figure* figure;
        unsigned question;
        qv::PipeQuestion kind;
        size_t expected;
        int perRound;
    };
    const Exchange exchanges[] = {
        {&information, 0, qv::PipeQuestion::kInformation, infoReply.size(), plan.quick ? 10 : 30},
        {&bitmap, 1, qv::PipeQuestion::kBitmap, bitmapReply.size(), plan.quick ? 2 : 4},
    };
    for (const Exchange& exchange : exchanges) {
        Figure& figure = *exchange.figure;
        const unsigned daemonQuestion = exchange.question == 0 ? qv::kInformationRequest : qv::kBitmapRequest;
        const PeerWrites writes = FastestPeerWrites(peerWindow, exchange.question, qv::PipeBufferSize(exchange.kind),
                                                    exchange.expected, exchange.perRound);
        if (writes.size == kNoPeerWrites) FailAll({&figure}, "a reply of the bare peer did not come whole");
        for (int round = 0; round < plan.rounds && !figure.failed; ++round) {
            std::vector<double> measured, baseline;
            std::string reply;
            for (int i = 0; i < exchange.perRound && !figure.failed; ++i) {
                measured.push_back(TimedQuestion(home, daemonQuestion, qv::PipeBufferSize(exchange.kind), &reply,
                                                 exchange.expected));
                if (measured.back() < 0 || reply.size() != exchange.expected)
                    FailAll({&figure}, "a reply of the daemon did not come whole");
                baseline.push_back(TimedQuestion(peerWindow, exchange.question, qv::PipeBufferSize(exchange.kind),
                                                 &reply, exchange.expected, static_cast<LPARAM>(writes.size)));
                if (baseline.back() < 0 || reply.size() != exchange.expected)
                    FailAll({&figure}, "a reply of the bare peer did not come whole");
            }
            if (figure.failed) break;
            const double ratio = exchange.question == 0 ? Median(measured) / Median(baseline)
                                                        : Median(baseline) / Median(measured);
            figure.AddRound(Median(measured) * 1000, Median(baseline) * 1000, ratio);
        }
        if (!figure.failed)
            figure.note = std::to_string(exchange.expected) + " bytes; each round the median of " +
                          std::to_string(exchange.perRound) + " questions, daemon and bare peer in turn; the peer " +
                          "writes the way that measured fastest: " + writes.told;
    }
    if (peerWindow) PostMessageA(peerWindow, WM_CLOSE, 0, 0);
    peer.WaitForEnd(10000);

    // The viewer's start, against the 8 snapshot replies it needs, asked as
    // it asks them.
    for (int round = 0; round < plan.rounds; ++round) {
        const double started = TimedViewerStart(ids[0], ids.size());
        const double start = Now();
        bool replied = true;
        for (const std::string& id : ids) {
            qv::ScreenSnapshot snapshot;
            const qv::QueryResult asked = qv::PipeClient(id).AskBitmap(&snapshot);
            if (asked != qv::QueryResult::kOk && replied) {
                replied = false;
                std::fprintf(stderr, "bench: the snapshot of %s: result %d\n", id.c_str(), static_cast<int>(asked));
            }
        }
        const double replies = Now() - start;
        if (started < 0 || !replied) {
            FailAll({&viewerStart}, started < 0 ? "the viewer did not show its 8 desktops" : "a snapshot was refused");
            break;
        }
        viewerStart.AddRound(started * 1000, replies * 1000, started / replies);
    }
    if (!viewerStart.failed)
        viewerStart.note = "8 desktops, snapshots at full size (" + std::to_string(bitmapReply.size()) +
                           " bytes each); from the start of QVViewer.exe until every desktop window shows its picture";
    return result();
}

std::vector<Figure> NoGrowthFigures(const Plan& plan) {
    Figure daemonHandles{"no growth: daemon handles", "handles", "after - before", Goal::kAtMost, 0};
    Figure barHandles{"no growth: bar handles", "handles", "after - before", Goal::kAtMost, 0};
    Figure daemonWindows{"no growth: daemon windows", "windows", "growth on any desktop", Goal::kAtMost, 0};
    Figure barWindows{"no growth: bar windows", "windows", "growth on any desktop", Goal::kAtMost, 0};
    const std::vector<Figure*> all = {&daemonHandles, &barHandles, &daemonWindows, &barWindows};
    const auto result = [&] { return std::vector<Figure>{daemonHandles, barHandles, daemonWindows, barWindows}; };

    qvtest::Daemon daemon;
    const std::vector<std::string> ids =
        bartest::StartWithBar(daemon, bartest::BarSettings(""), std::vector<std::string>(3, ""));
    const qv::UniqueHandle barProcess = ids.size() == 4 ? daemon.FindChild("QVCtrlBar.exe") : qv::UniqueHandle();
    const DWORD barPid = barProcess ? GetProcessId(barProcess.Get()) : 0;
    qvtest::DaemonRing ring;
    const bool opened = barPid && ring.Open(ids);
    std::vector<HWND> bars;
    for (const std::string& id : ids) bars.push_back(bartest::WaitForBar(id, 10000));
    if (!opened || std::count(bars.begin(), bars.end(), nullptr) > 0) {
        FailAll(all, "the daemon with its bar on 4 desktops did not start");
        return result();
    }
    struct Counts {
        long daemonHandles, barHandles;
        std::vector<long> daemonWindows, barWindows;
    };
    const auto count = [&] {
        Settle(ring.Home());
        for (HWND bar : bars) Settle(bar);
        Counts counts{qvtest::CountProcess(daemon.Pid()).handles, qvtest::CountProcess(barPid).handles, {}, {}};
        for (const std::string& id : ids) {
            counts.daemonWindows.push_back(qvtest::CountWindowsOn(id, daemon.Pid()));
            counts.barWindows.push_back(qvtest::CountWindowsOn(id, barPid));
        }
        return counts;
    };
    const auto sum = [](const std::vector<long>& values) {
        long total = 0;
        for (long value : values) total += value;
        return static_cast<double>(total);
    };
    const auto growth = [](const std::vector<long>& after, const std::vector<long>& before) {
        long most = 0;
        for (size_t i = 0; i < after.size(); ++i) most = std::max(most, after[i] - before[i]);
        return static_cast<double>(most);
    };
    // Two laps first: what the first visits make stays for good.
    for (size_t i = 0; i < 2 * ids.size(); ++i) ring.Next();
    const Counts before = count();
    const int total = plan.quick ? 1000 : 10000;
    const int perRound = total / plan.rounds;
    for (int round = 0; round < plan.rounds; ++round) {
        for (int i = 0; i < perRound; ++i) {
            if (!ring.Next()) {
                FailAll(all, "a switch was not answered");
                return result();
            }
        }
        const Counts after = count();
        daemonHandles.AddRound(after.daemonHandles, before.daemonHandles, after.daemonHandles - before.daemonHandles);
        barHandles.AddRound(after.barHandles, before.barHandles, after.barHandles - before.barHandles);
        daemonWindows.AddRound(sum(after.daemonWindows), sum(before.daemonWindows),
                               growth(after.daemonWindows, before.daemonWindows));
        barWindows.AddRound(sum(after.barWindows), sum(before.barWindows), growth(after.barWindows, before.barWindows));
    }
    const std::string switches = std::to_string(perRound * plan.rounds);
    daemonHandles.note = "4 desktops with the bar, " + switches +
                         " switches; handles counted from outside by duplicating each handle value (Wine answers "
                         "GetProcessHandleCount with 0 for another process); each round after " +
                         std::to_string(perRound) + " more switches";
    daemonWindows.note = "top-level windows on the 4 desktops; Wine answers GetGuiResources with 0, so GDI and USER "
                         "objects cannot be counted and windows stand in for them";
    return result();
}

Figure MemoryFigure(const Plan& plan) {
    Figure figure{"memory per desktop", "KiB/desktop", "daemon slope - bare slope", Goal::kAtMost, 64};
    const int sizes[] = {2, 8, 16, 32};
    // Least-squares slope of bytes over desktops, in KiB per desktop.
    const auto slope = [&](const std::vector<double>& bytes) {
        double meanX = 0, meanY = 0;
        for (size_t i = 0; i < bytes.size(); ++i) {
            meanX += sizes[i];
            meanY += bytes[i];
        }
        meanX /= bytes.size();
        meanY /= bytes.size();
        double over = 0, under = 0;
        for (size_t i = 0; i < bytes.size(); ++i) {
            over += (sizes[i] - meanX) * (bytes[i] - meanY);
            under += (sizes[i] - meanX) * (sizes[i] - meanX);
        }
        return over / under / 1024;
    };
    std::vector<std::vector<double>> daemonAt(4), bareAt(4);
    // The bare program of one size, on its own thread beside the daemon of
    // the same size: most of a start is waiting for Wine's desktop helpers.
    const auto bareBytesOf = [](int size, const std::string& tag) -> double {
        return WithBareDesktops(size, tag, "",
                                [](HANDLE bare, double) { return static_cast<double>(qvtest::PrivateBytes(bare)); });
    };
    for (int round = 0; round < plan.rounds; ++round) {
        std::vector<double> daemonBytes, bareBytes;
        for (int size : sizes) {
            double bareValue = -1;
            std::thread bareRun([&] {
                bareValue = bareBytesOf(size, std::to_string(GetCurrentProcessId()) + "_" + std::to_string(round) +
                                                  "_" + std::to_string(size));
            });
            double daemonValue = -1;
            {
                qvtest::Daemon daemon;
                qvtest::DaemonRing ring;
                if (daemon.StartReady(QuietController(0), std::vector<std::string>(size - 1, "")) &&
                    ring.Open(bartest::DesktopIds(daemon))) {
                    for (int i = 0; i < size; ++i) ring.Next();
                    Settle(ring.Home());
                    daemonValue = static_cast<double>(qvtest::CountProcess(daemon.Pid()).privateBytes);
                }
            }
            bareRun.join();
            if (daemonValue <= 0 || bareValue <= 0) break;
            daemonBytes.push_back(daemonValue);
            bareBytes.push_back(bareValue);
        }
        if (daemonBytes.size() != 4 || bareBytes.size() != 4) {
            figure.failed = true;
            figure.note = "a daemon or a bare program did not start with all its desktops";
            return figure;
        }
        for (size_t i = 0; i < 4; ++i) {
            daemonAt[i].push_back(daemonBytes[i] / (1 << 20));
            bareAt[i].push_back(bareBytes[i] / (1 << 20));
        }
        const double daemonSlope = slope(daemonBytes), bareSlope = slope(bareBytes);
        figure.AddRound(daemonSlope, bareSlope, daemonSlope - bareSlope);
    }
    char note[400];
    std::snprintf(note, sizeof(note),
                  "private bytes (Wine's PagefileUsage) with 2/8/16/32 desktops, each visited once, snapshots and "
                  "titles off, median MB: daemon %.1f/%.1f/%.1f/%.1f, bare %.1f/%.1f/%.1f/%.1f; the bare program "
                  "makes the same desktops, threads and hidden windows and switches the same way",
                  Median(daemonAt[0]), Median(daemonAt[1]), Median(daemonAt[2]), Median(daemonAt[3]),
                  Median(bareAt[0]), Median(bareAt[1]), Median(bareAt[2]), Median(bareAt[3]));
    figure.note = note;
    return figure;
}

Figure DaemonStartFigure(const Plan& plan) {
    Figure figure{"daemon start", "ms", "daemon / bare", Goal::kAtMost, 1.3};
    for (int round = 0; round < plan.rounds; ++round) {
        const double daemonTime = TimedDaemonStart();
        const double bareTime =
            WithBareDesktops(8, std::to_string(GetCurrentProcessId()) + "_start_" + std::to_string(round), " start",
                             [](HANDLE, double seconds) { return seconds; });
        if (daemonTime < 0 || bareTime < 0) {
            figure.failed = true;
            figure.note = "a daemon or the bare program did not start its desktops";
            return figure;
        }
        figure.AddRound(daemonTime * 1000, bareTime * 1000, daemonTime / bareTime);
    }
    figure.note = "8 desktops; from the start of the program until the home desktop is active (the daemon: its "
                  "log's activation line, read as the tests read it), against BenchBareDesktops.exe making the same "
                  "desktops, one thread and hidden window each, one at a time, and activating the first";
    return figure;
}

Figure BarStartFigure(const Plan& plan) {
    Figure figure{"bar start", "ms", "with the bar / daemon alone", Goal::kAtMost, 1.5};
    for (int round = 0; round < plan.rounds; ++round) {
        double withBar = -1, alone = -1;
        {
            qvtest::Daemon daemon;
            qvtest::WriteBytes(daemon.Dir().File("QVCtrlBar.ini"), bartest::BarSettings(""));
            const double start = Now();
            if (daemon.StartReady(QuietController(0, true), std::vector<std::string>(7, ""))) {
                const std::vector<std::string> ids = bartest::DesktopIds(daemon);
                bool shown = ids.size() == 8;
                for (const std::string& id : ids) shown = shown && bartest::WaitForBar(id) != nullptr;
                if (shown) withBar = Now() - start;
            }
        }
        alone = TimedDaemonStart();
        if (withBar < 0 || alone < 0) {
            figure.failed = true;
            figure.note = "a daemon or its bars did not start";
            return figure;
        }
        figure.AddRound(withBar * 1000, alone * 1000, withBar / alone);
    }
    figure.note = "8 desktops; from the daemon's start until a bar is shown on every desktop, against the daemon's "
                  "start until it has activated its home desktop";
    return figure;
}

}  // namespace qvbench

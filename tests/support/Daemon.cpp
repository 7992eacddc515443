#include "Daemon.h"

#include <functional>

#include <tlhelp32.h>

#include <cstdio>
#include <stdexcept>

#include "CommandText.h"
#include "DaemonExtras.h"
#include "Desktops.h"
#include "PipeClient.h"
#include "Processes.h"

namespace qvtest {

namespace {

int g_turnsHeld = 0;  // by this process; the mutex counts them too, but does not tell

}  // namespace

DaemonTurn::DaemonTurn() {
    m_mutex = CreateMutexA(nullptr, FALSE, "QVTest_Daemon_Turn");
    // An abandoned turn is a crashed test's: the daemon it ran is gone with it.
    DWORD waited = m_mutex ? WaitForSingleObject(m_mutex, 100000) : WAIT_FAILED;
    if (waited != WAIT_OBJECT_0 && waited != WAIT_ABANDONED) {
        if (m_mutex) CloseHandle(m_mutex);
        throw std::runtime_error("no turn to run the daemon");
    }
    // Wine takes a desktop's name away a second after its last thread left,
    // even from a daemon that has just opened it again: the desktops of the
    // previous turn's daemon must be gone before the next daemon looks for them.
    if (g_turnsHeld++ == 0) WaitUntil([] { return DesktopsNamed("User_Desktop").empty(); }, 10000);
}

DaemonTurn::~DaemonTurn() {
    --g_turnsHeld;
    ReleaseMutex(m_mutex);
    CloseHandle(m_mutex);
}

std::string ParameterText(const std::string& logPath, const std::string& controllerLines,
                          const std::vector<std::string>& desktops, int logLimit) {
    auto lines = [](const std::string& text) {
        return text.empty() || text.back() == '\n' ? text : text + "\n";
    };
    std::string text = ";Quorvel\nFileVersion\t0x0200\nLogFileName\t" + logPath +
                       "\nLogFileLimit\t" + std::to_string(logLimit) + "\nAncestryController::RingListClass\t{\n" + lines(controllerLines);
    for (const std::string& desktop : desktops) text += "AncestryDesktop::RingListClass\t{\n" + lines(desktop) + "}\n";
    return text + "}\n--EOF--\n";
}

std::string FixtureEntryLines(const std::string& arguments) {
    return "Executant::RingListClass\t{\nExecutionFileName\t" + FixturePath() + "\nExecutionArguments\t" + arguments +
           "\n}\n";
}

Daemon::Daemon() = default;

Daemon::~Daemon() {
    if (!m_process) return;
    if (Running() && !Stop(10000)) {
        EndProcess(m_process, 1, "the daemon did not end on its end request");
        WaitForSingleObject(m_process, 5000);
    }
    CloseHandle(m_process);
}

void Daemon::WriteParameters(const std::string& text) { WriteBytes(ParameterPath(), Crlf(text)); }

void Daemon::CopyIn(const std::string& from, const char* name) const {
    CopyFileA(from.c_str(), m_dir.File(name).c_str(), FALSE);
}

bool Daemon::Start(const std::string& arguments, const std::string& desktop) {
    if (m_process) return false;
    std::string program = m_program.empty() ? ProgramFolder() + "Quorvel.exe" : m_program;
    std::string commandLine = "\"" + program + "\"" + (arguments.empty() ? "" : " " + arguments);
    std::string desktopName = desktop;
    STARTUPINFOA si = {};
    si.cb = sizeof(si);
    if (!desktopName.empty()) si.lpDesktop = desktopName.data();
    PROCESS_INFORMATION pi = {};
    if (!CreateProcessA(program.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                        m_dir.Path().c_str(), &si, &pi)) {
        std::fprintf(stderr, "CreateProcess %s failed: error %lu\n", program.c_str(), GetLastError());
        return false;
    }
    CloseHandle(pi.hThread);
    m_process = pi.hProcess;
    m_pid = pi.dwProcessId;
    RememberStarted(m_process, true);
    m_desktop = desktop.empty() ? CurrentDesktopName() : desktop;
    return true;
}

bool Daemon::RunFromDir() {
    m_program = m_dir.File("Quorvel.exe");
    return CopyFileA((ProgramFolder() + "Quorvel.exe").c_str(), m_program.c_str(), FALSE) != FALSE;
}

bool Daemon::StartReady(const std::string& controllerLines, const std::vector<std::string>& desktops) {
    WriteParameters(ParameterText(LogPath(), controllerLines, desktops));
    return Start("-p \"" + ParameterPath() + "\"") && WaitReady();
}

bool Daemon::WaitWhileStarting(const std::function<bool()>& done, DWORD stallMs) const {
    // However slow: no start of the tests' few desktops takes this long.
    constexpr DWORD kStartCapMs = 240000;
    size_t logged = 0;
    DWORD lastGrowth = GetTickCount();
    return WaitUntil(
        [&] {
            if (done() || !Running()) return true;
            const size_t size = Log().size();
            if (size != logged) {
                logged = size;
                lastGrowth = GetTickCount();
            }
            return GetTickCount() - lastGrowth >= stallMs;
        },
        kStartCapMs) && done();
}

bool Daemon::WaitReady(DWORD stallMs) const {
    const std::string ready = "Active New Desktop [" + m_desktop + "]";
    auto isReady = [&] { return Log().find(ready) != std::string::npos; };
    WaitWhileStarting(isReady, stallMs);
    if (isReady()) return true;
    // Why not: a box the daemon waits on, its end, or how far its log got.
    const DaemonDialog box = WaitForDialog(0);
    std::string log = Log();
    if (log.size() > 1500) log = "..." + log.substr(log.size() - 1500);
    std::fprintf(stderr, "daemon %lu not ready, its log still for %lu ms: %s%s; exit %ld; log:\n%s\n",
                 static_cast<unsigned long>(m_pid), static_cast<unsigned long>(stallMs),
                 box ? "box " : "no box", box ? (box.caption + ": " + box.text).c_str() : "", WaitExit(0),
                 log.c_str());
    return false;
}

bool Daemon::Running() const { return m_process && WaitForSingleObject(m_process, 0) == WAIT_TIMEOUT; }

long Daemon::WaitExit(DWORD timeoutMs) const {
    if (!m_process || WaitForSingleObject(m_process, timeoutMs) != WAIT_OBJECT_0) return -1;
    DWORD code = 0;
    GetExitCodeProcess(m_process, &code);
    return static_cast<long>(code);
}

bool Daemon::Stop(DWORD timeoutMs) {
    bool posted = false;
    RunOnDesktop(m_desktop, [&] {
        HWND main = WaitForDaemonWindow(qv::DaemonWindow::kMain, 2000);
        posted = main && PostMessageA(main, qv::kRequestMessage, qv::kEndDaemonRequest, 0);
    });
    return posted && WaitExit(timeoutMs) >= 0;
}

std::vector<std::string> Daemon::LogLines() const { return ReportLines(LogPath()); }

bool Daemon::WaitForLog(const std::string& piece, DWORD timeoutMs) const {
    return WaitUntil([&] { return Log().find(piece) != std::string::npos; }, timeoutMs);
}

DaemonDialog Daemon::WaitForStartDialog(DWORD stallMs) const {
    DaemonDialog dialog;
    WaitWhileStarting([&] { return static_cast<bool>(dialog = WaitForDialog(0)); }, stallMs);
    return dialog;
}

DaemonDialog Daemon::WaitForDialog(DWORD timeoutMs, const std::string& desktop) const {
    return WaitForProcessDialog(m_pid, desktop.empty() ? m_desktop : desktop, timeoutMs);
}

bool Daemon::Press(const DaemonDialog& dialog, int button, DWORD timeoutMs) const {
    return PressDialog(dialog, button, timeoutMs);
}

DaemonDialog WaitForProcessDialog(DWORD pid, const std::string& desktop, DWORD timeoutMs, HWND besides) {
    struct Search {
        DWORD pid;
        HWND besides;
        HWND found;
    } search = {pid, besides, nullptr};
    DaemonDialog dialog;
    RunOnDesktop(desktop, [&] {
        WaitUntil(
            [&] {
                EnumWindows(
                    [](HWND window, LPARAM param) -> BOOL {
                        auto* s = reinterpret_cast<Search*>(param);
                        char className[64] = {};
                        DWORD owner = 0;
                        GetClassNameA(window, className, sizeof(className));
                        GetWindowThreadProcessId(window, &owner);
                        // Shown only once its texts are set.
                        if (owner != s->pid || window == s->besides || std::string(className) != "#32770" ||
                            !IsWindowVisible(window))
                            return TRUE;
                        s->found = window;
                        return FALSE;
                    },
                    reinterpret_cast<LPARAM>(&search));
                return search.found != nullptr;
            },
            timeoutMs);
        if (!search.found) return;
        dialog.window = search.found;
        dialog.caption = WindowText(search.found);
        if (HWND text = GetDlgItem(search.found, 0xFFFF)) dialog.text = WindowText(text);
    });
    return dialog;
}

bool PressDialog(const DaemonDialog& dialog, int button, DWORD timeoutMs) {
    if (!dialog || !PostMessageA(dialog.window, WM_COMMAND, button, 0)) return false;
    return WaitUntil([&] { return !IsWindow(dialog.window); }, timeoutMs);
}

std::string FirstMessageOf(const std::string& program, const std::string& arguments, const std::string& desktop,
                           long* exitCode) {
    ProcessGuard run;
    if (!StartProgram(run, program, arguments, desktop)) return "<not started>";
    const DaemonDialog box = WaitForProcessDialog(run.Pid(), desktop, 30000);
    if (!box) return "<no box>";
    PressDialog(box, IDOK);
    *exitCode = run.WaitExit(10000);
    return box.text;
}

qv::UniqueHandle Daemon::FindChild(const char* imageName) const {
    qv::UniqueHandle found;
    HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
    if (snapshot == INVALID_HANDLE_VALUE) return found;
    PROCESSENTRY32 entry = {};
    entry.dwSize = sizeof(entry);
    for (BOOL more = Process32First(snapshot, &entry); more && !found; more = Process32Next(snapshot, &entry)) {
        if (entry.th32ParentProcessID != m_pid || lstrcmpiA(entry.szExeFile, imageName) != 0) continue;
        qv::UniqueHandle child(OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE | PROCESS_QUERY_INFORMATION | PROCESS_VM_READ,
                                           FALSE, entry.th32ProcessID));
        if (IsChildOf(child.Get(), m_process) && WaitForSingleObject(child.Get(), 0) == WAIT_TIMEOUT)
            found = std::move(child);
    }
    CloseHandle(snapshot);
    return found;
}

namespace {

struct Shared {
    std::unique_ptr<Daemon> daemon;
    std::string configuration;
};

Shared& SharedRecord() {
    static Shared shared;
    return shared;
}

}  // namespace

Daemon& SharedDaemon(const std::string& controllerLines, const std::vector<std::string>& desktops) {
    Shared& shared = SharedRecord();
    std::string configuration = controllerLines;
    for (const std::string& desktop : desktops) configuration += "\x01" + desktop;
    if (shared.daemon && shared.configuration == configuration && shared.daemon->Running()) return *shared.daemon;
    shared.daemon.reset();  // ends the other one, and its turn, first
    shared.daemon = std::make_unique<Daemon>();
    shared.configuration = configuration;
    shared.daemon->StartReady(controllerLines, desktops);
    return *shared.daemon;
}

void EndSharedDaemon() { SharedRecord().daemon.reset(); }

HWND DaemonThreadWindow(const std::string& desktop, DWORD timeoutMs) {
    return FindWindowOn(desktop, qv::kThreadWindowClass, qv::kDaemonWindowName, timeoutMs);
}

std::optional<LRESULT> SendRequest(const std::string& desktop, qv::DaemonRequest request, LPARAM lParam,
                                   DWORD timeoutMs) {
    return SendToThreadWindow(desktop, qv::kRequestMessage, request, lParam, timeoutMs);
}

std::optional<LRESULT> SendCommandText(const std::string& desktop, const char* text) {
    return SendRequest(desktop, qv::kCommandTextRequest, static_cast<LPARAM>(qv::PackCommandText(text)));
}

bool PostRequest(const std::string& desktop, qv::DaemonRequest request, LPARAM lParam) {
    bool posted = false;
    RunOnDesktop(desktop, [&] {
        HWND window = WaitForDaemonWindow(qv::DaemonWindow::kThread);
        posted = window && PostMessageA(window, qv::kRequestMessage, request, lParam);
    });
    return posted;
}

std::optional<LRESULT> SendMainCommand(const std::string& desktop, WPARAM command, LPARAM lParam) {
    return SendToMainWindow(desktop, WM_COMMAND, command, lParam);
}

std::string AskCurrentDesktopId(const std::string& desktop) {
    std::string id;
    qv::QueryResult result = qv::PipeClient(desktop).AskCurrentDesktopId(&id);
    return result == qv::QueryResult::kOk ? id : "<error " + std::to_string(static_cast<int>(result)) + ">";
}

}  // namespace qvtest

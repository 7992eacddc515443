#pragma once
// The switcher daemon as the other programs see it: started with a parameter
// file of the test's making, reached through its windows, its requests and
// the query pipe, watched through its log, its message boxes and its exit
// code, and never left running.

#include <windows.h>

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "Desktops.h"
#include "Handle.h"
#include "Protocol.h"
#include "TestFiles.h"

namespace qvtest {

// Only one daemon may run in a window station and every daemon answers on
// the one pipe name, so daemon tests take turns across test processes.
class DaemonTurn {
public:
    DaemonTurn();  // throws when the turn does not come in time
    ~DaemonTurn();
    DaemonTurn(const DaemonTurn&) = delete;
    DaemonTurn& operator=(const DaemonTurn&) = delete;

private:
    HANDLE m_mutex = nullptr;
};

// A parameter file as the configurator lays it out; each desktop is the
// inner lines of one record (program entries included), "" for a record
// without lines. Lines are separated by '\n'; WriteParameters makes CR LF.
// The log starts again past logLimit bytes.
std::string ParameterText(const std::string& logPath, const std::string& controllerLines,
                          const std::vector<std::string>& desktops, int logLimit = 1000000);
// Controller lines for a daemon that adopts no desktop but "default", starts
// no control bar and shows no title, so that it touches nothing but its own
// desktops and a switch does nothing a test cannot see.
inline constexpr char kQuietController[] =
    "ExistsOpen\t0\nQVControlBar\t0\nKeepBitmapSize\t0\nTitleDelay2\t0\nTitleDelay3\t0\n";
// A program entry that starts the fixture with the given arguments.
std::string FixtureEntryLines(const std::string& arguments);

// A message box or dialog of the daemon.
struct DaemonDialog {
    HWND window = nullptr;
    std::string caption;
    std::string text;  // the static text of a message box (control 0xFFFF)
    explicit operator bool() const { return window != nullptr; }
};

class Daemon {
public:
    Daemon();
    ~Daemon();  // ends the daemon through its exit, or kills it
    Daemon(const Daemon&) = delete;
    Daemon& operator=(const Daemon&) = delete;

    const TempDir& Dir() const { return m_dir; }
    std::string ParameterPath() const { return m_dir.File("test.ini"); }
    std::string LogPath() const { return m_dir.File("quorvel.log"); }
    // Writes text to ParameterPath() with CR LF lines.
    void WriteParameters(const std::string& text);
    void CopyIn(const std::string& from, const char* name) const;

    // Starts Quorvel.exe with the arguments, working in Dir(), on the desktop
    // (empty: the caller's).
    bool Start(const std::string& arguments, const std::string& desktop = std::string());
    // Starts a copy of Quorvel.exe in Dir() from now on, so that the programs
    // the daemon looks for beside itself are the test's own.
    bool RunFromDir();
    // Writes ParameterText(LogPath(), ...) and starts with -p on it, then
    // waits until the home desktop was activated, which the daemon does just
    // before its message loop.
    bool StartReady(const std::string& controllerLines, const std::vector<std::string>& desktops);
    // Waits while the daemon's start goes on: until it is ready, ends, or
    // writes nothing to its log for stallMs. Each step of its start logs a
    // line or is bounded by the daemon itself (a desktop thread that does not
    // start within 30 s is given up, and logged), so a start that is slow,
    // as every first window on a new desktop is under Wine on a loaded
    // machine, is waited for, and one that is stuck is not.
    bool WaitReady(DWORD stallMs = 40000) const;

    DWORD Pid() const { return m_pid; }
    const std::string& StartDesktop() const { return m_desktop; }
    bool Running() const;
    // The exit code, or -1 when the daemon did not end in time.
    long WaitExit(DWORD timeoutMs = 20000) const;
    // Ends it as any program may: the end request to its main window.
    bool Stop(DWORD timeoutMs = 20000);

    std::string Log() const { return ReadBytes(LogPath()); }
    std::vector<std::string> LogLines() const;
    bool WaitForLog(const std::string& piece, DWORD timeoutMs = 10000) const;

    // A dialog (class "#32770") of the daemon on the desktop (empty: where
    // it was started).
    DaemonDialog WaitForDialog(DWORD timeoutMs = 10000, const std::string& desktop = std::string()) const;
    // A dialog the daemon shows during its start, waited for as WaitReady
    // waits: while the start goes on.
    DaemonDialog WaitForStartDialog(DWORD stallMs = 40000) const;
    // Presses the button (IDOK, IDYES, IDNO ...) and waits until the dialog is gone.
    bool Press(const DaemonDialog& dialog, int button, DWORD timeoutMs = 10000) const;

    // The running child process with this image name (e.g. "QVConfig.exe"),
    // held, or a null handle: one whose record names the daemon and that was
    // created while the daemon ran (IsChildOf).
    qv::UniqueHandle FindChild(const char* imageName) const;
    HANDLE Handle() const { return m_process; }

private:
    // Waits until done() holds, the daemon ends, or its log stands still for
    // stallMs; whether done() held.
    bool WaitWhileStarting(const std::function<bool()>& done, DWORD stallMs) const;

    DaemonTurn m_turn;
    TempDir m_dir;
    HANDLE m_process = nullptr;
    DWORD m_pid = 0;
    std::string m_desktop;
    std::string m_program;  // empty: the build's own
};

// A dialog (class "#32770") of any process on the desktop, and a press of
// one of its buttons that waits until the dialog is gone.
// A box over a dialog that stays open is found by passing that dialog as
// besides.
DaemonDialog WaitForProcessDialog(DWORD pid, const std::string& desktop, DWORD timeoutMs = 10000,
                                  HWND besides = nullptr);
bool PressDialog(const DaemonDialog& dialog, int button, DWORD timeoutMs = 10000);
// Runs a program of the build on the desktop and answers its first message
// box with OK: the box's text ("<no box>" when none came, "<not started>"),
// and the program's exit code.
std::string FirstMessageOf(const std::string& program, const std::string& arguments, const std::string& desktop,
                           long* exitCode);

// One daemon for the tests of a test program that can share it: started by
// the first test that asks for this configuration, kept for the next ones
// that ask for the same, started anew when it ended or when another
// configuration is asked for. Its log holds what earlier tests did too. Not
// ready (not Running()) when the start failed.
Daemon& SharedDaemon(const std::string& controllerLines, const std::vector<std::string>& desktops);
// Ends the shared daemon; the end-of-program check does so before it looks.
void EndSharedDaemon();

// The daemon's windows and requests, reached from a worker thread attached
// to the desktop concerned.
HWND DaemonThreadWindow(const std::string& desktop, DWORD timeoutMs = 5000);
// A request sent with a time-out; nothing when the window is missing or the
// answer did not come in time.
std::optional<LRESULT> SendRequest(const std::string& desktop, qv::DaemonRequest request, LPARAM lParam,
                                   DWORD timeoutMs = 10000);
std::optional<LRESULT> SendCommandText(const std::string& desktop, const char* text);  // request 0
bool PostRequest(const std::string& desktop, qv::DaemonRequest request, LPARAM lParam);
// WM_COMMAND to the main window on the desktop, sent with a time-out.
std::optional<LRESULT> SendMainCommand(const std::string& desktop, WPARAM command, LPARAM lParam = 0);
// The "Current DesktopID" reply, asked at the thread window of the desktop;
// "<error n>" when the question failed.
std::string AskCurrentDesktopId(const std::string& desktop);

}  // namespace qvtest

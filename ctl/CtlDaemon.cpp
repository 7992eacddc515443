#include "CtlDaemon.h"

#include <windows.h>

#include <cstdio>

#include "CommandText.h"
#include "CtlCommand.h"
#include "DaemonRequest.h"
#include "DesktopThread.h"
#include "DesktopWindows.h"
#include "Handle.h"
#include "Launching.h"
#include "ProcessApi.h"
#include "PipeClient.h"
#include "SafeSave.h"
#include "SystemError.h"
#include "WindowListRules.h"

namespace qv {

namespace {

// The thread window hands a switch to the main window and returns when the
// main thread has switched, snapshot and activation included.
constexpr DWORD kSwitchAnswerMs = 10000;
// From the request to the daemon's report of the new current desktop; a
// switch that answered has already happened, one that did not may still.
constexpr DWORD kSwitchReportMs = 15000;
constexpr DWORD kReportPollMs = 100;
// The daemon closes the applications of every desktop before it ends, each
// step of that bounded by the daemon's own time-outs.
constexpr DWORD kExitWaitMs = 60000;

CtlResult Failed(int code, std::string problem) { return CtlResult{code, std::move(problem)}; }

std::string Quoted(const std::string& text) { return "\"" + text + "\""; }

bool Elapsed(DWORD start, DWORD limitMs) { return GetTickCount() - start >= limitMs; }

HWND AsWindow(uint32_t handle) { return reinterpret_cast<HWND>(static_cast<uintptr_t>(handle)); }

uint32_t HandleValue(HWND window) { return static_cast<uint32_t>(reinterpret_cast<uintptr_t>(window)); }

}  // namespace

CtlResult QueryFailure(QueryResult result, uint32_t version) {
    switch (result) {
    case QueryResult::kOk:
        return CtlResult{};
    case QueryResult::kNotFound:
        return Failed(kCtlNoDaemon, "Quorvel is not running on this desktop");
    case QueryResult::kVersionTooOld:
        if (version == 0) return Failed(kCtlNoAnswer, "Quorvel did not answer (busy with a dialog, or hung)");
        return Failed(kCtlFailed, "this version of Quorvel is too old");
    case QueryResult::kNoConnection:
    case QueryResult::kPipeBusy:
        return Failed(kCtlNoAnswer, "Quorvel did not answer in time");
    case QueryResult::kCommunicationError:
    case QueryResult::kSizeNotRead:
    case QueryResult::kInfoNotRead:
        return Failed(kCtlMalformed, "Quorvel's answer was malformed or cut short");
    case QueryResult::kNoBitmap:
        return Failed(kCtlFailed, "Quorvel keeps no snapshot of that desktop");
    default:
        return Failed(kCtlFailed, "cannot ask Quorvel (error " + std::to_string(static_cast<int>(result)) + ")");
    }
}

namespace {

// A question failed with a version check inside it: the check is asked
// alone to tell a busy or hung daemon from an old one.
CtlResult AskFailure(PipeClient& client, QueryResult result) {
    uint32_t version = 0;
    if (result == QueryResult::kVersionTooOld) client.CheckVersion(&version);
    return QueryFailure(result, version);
}

}  // namespace

CtlResult DaemonLink::Information(DesktopInformation* info) {
    PipeClient client;
    const QueryResult result = client.AskInformation(info);
    if (result != QueryResult::kOk) return AskFailure(client, result);
    if (!info->Current()) return Failed(kCtlMalformed, "Quorvel's desktop list names no current desktop");
    return CtlResult{};
}

namespace {

CtlResult MatchFailure(const DesktopMatch& match, const std::string& word, const DesktopInformation& info) {
    if (match.kind == DesktopMatch::Kind::kOutOfRange)
        return Failed(kCtlFailed, "there is no desktop " + word + " (Quorvel has " +
                                      std::to_string(info.desktops.size()) + ")");
    return Failed(kCtlFailed, "no desktop is called " + Quoted(word));
}

}  // namespace

CtlResult DaemonLink::FindDesktop(const std::string& word, const DesktopInformation& info, int* index) {
    const DesktopMatch match = MatchDesktopWord(word, info, false);
    if (match.kind != DesktopMatch::Kind::kIndex) return MatchFailure(match, word, info);
    *index = match.index;
    return CtlResult{};
}

CtlResult DaemonLink::CurrentId(std::string* id) {
    PipeClient client;
    const QueryResult result = client.AskCurrentDesktopId(id);
    return result == QueryResult::kOk ? CtlResult{} : AskFailure(client, result);
}

// Failures that waiting cannot mend end the wait at once.
CtlResult DaemonLink::WaitForCurrent(const std::string& id) {
    const DWORD start = GetTickCount();
    std::string now;
    while (true) {
        CtlResult result = CurrentId(&now);
        if (result.code == kCtlNoDaemon || result.code == kCtlMalformed) return result;
        if (result.Ok() && now == id) return CtlResult{};
        if (Elapsed(start, kSwitchReportMs))
            return Failed(kCtlNoAnswer, "Quorvel did not report desktop " + id + " as current in time");
        Sleep(kReportPollMs);
    }
}

CtlResult DaemonLink::WaitForChange(const std::string& from, std::string* to) {
    const DWORD start = GetTickCount();
    while (true) {
        CtlResult result = CurrentId(to);
        if (result.code == kCtlNoDaemon || result.code == kCtlMalformed) return result;
        if (result.Ok() && *to != from) return CtlResult{};
        if (Elapsed(start, kSwitchReportMs)) return Failed(kCtlNoAnswer, "Quorvel did not switch in time");
        Sleep(kReportPollMs);
    }
}

CtlResult DaemonLink::SwitchTo(const DesktopInformation& info, int index, DesktopRow* row) {
    const RequestReply reply = SendRequest(DaemonWindow::kThread, kSwitchToNumberRequest,
                                           static_cast<LPARAM>(PackCommandText(SwitchText(index).c_str())),
                                           kSwitchAnswerMs);
    if (reply.outcome == RequestOutcome::kNoWindow) return Failed(kCtlNoDaemon, "Quorvel has gone");
    // 0 comes from a thread window that shows a dialog and switched nothing.
    if (reply.Answered() && reply.value == 0) return Failed(kCtlNoAnswer, "Quorvel is busy with a dialog");
    CtlResult result = WaitForCurrent(info.desktops[static_cast<size_t>(index)].id);
    if (!result.Ok()) return result;
    DesktopInformation now = info;
    now.currentIndex = index;
    *row = DesktopRowAt(now, index);
    return CtlResult{};
}

CtlResult DaemonLink::Switch(const std::string& word, DesktopRow* row) {
    DesktopInformation info;
    CtlResult result = Information(&info);
    if (!result.Ok()) return result;
    const DesktopMatch match = MatchDesktopWord(word, info, true);
    if (match.kind == DesktopMatch::Kind::kIndex) return SwitchTo(info, match.index, row);
    if (match.kind != DesktopMatch::Kind::kBack) return MatchFailure(match, word, info);

    // Only the daemon knows its previous desktop: the switch is done when
    // the request has been answered, or when the current desktop changes.
    const std::string before = info.Current()->id;
    const RequestReply reply = SendRequest(DaemonWindow::kThread, kCommandTextRequest,
                                           static_cast<LPARAM>(PackCommandText("B")), kSwitchAnswerMs);
    if (reply.outcome == RequestOutcome::kNoWindow) return Failed(kCtlNoDaemon, "Quorvel has gone");
    if (reply.Answered() && reply.value == 0) return Failed(kCtlNoAnswer, "Quorvel is busy with a dialog");
    if (!reply.Answered()) {
        std::string after;
        result = WaitForChange(before, &after);
        if (!result.Ok()) return result;
    }
    result = Information(&info);
    if (!result.Ok()) return result;
    *row = DesktopRowAt(info, info.currentIndex);
    return CtlResult{};
}

CtlResult DaemonLink::Windows(const DesktopInformation& info, int onlyIndex, std::vector<WindowRow>* rows) {
    for (size_t i = 0; i < info.desktops.size(); ++i) {
        if (onlyIndex >= 0 && static_cast<int>(i) != onlyIndex) continue;
        const DesktopRecord& desktop = info.desktops[i];
        for (const WindowEntry& window : DesktopWindows(desktop.id.c_str(), kApplicationWindows)) {
            WindowRow row;
            row.desktopNumber = static_cast<int>(i) + 1;
            row.desktopId = desktop.id;
            row.handle = HandleValue(window.window);
            row.processId = window.processId;
            row.module = window.module;
            row.caption = window.caption;
            rows->push_back(std::move(row));
        }
    }
    return CtlResult{};
}

CtlResult DaemonLink::Activate(uint32_t handle, DesktopRow* row) {
    DesktopInformation info;
    CtlResult result = Information(&info);
    if (!result.Ok()) return result;
    std::vector<WindowRow> windows;
    Windows(info, -1, &windows);
    for (const WindowRow& window : windows) {
        if (window.handle != handle) continue;
        result = SwitchTo(info, window.desktopNumber - 1, row);
        if (result.Ok()) BringForward(AsWindow(handle), false);
        return result;
    }
    return Failed(kCtlFailed, "no window " + WindowHandleText(handle) + " on Quorvel's desktops");
}

CtlResult DaemonLink::Start(const DesktopInformation& info, int index, const std::string& program,
                            const std::string& arguments, unsigned long* processId) {
    const std::string& desktop = info.desktops[static_cast<size_t>(index)].id;
    // The program came without its quotes; a path with blanks needs them back.
    const std::string module = program.find_first_of(" \t") == std::string::npos ? program : Quoted(program);
    *processId = StartProgram(module.c_str(), arguments.empty() ? nullptr : arguments.c_str(), nullptr,
                              desktop.c_str(), 0);
    if (*processId == 0) return Failed(kCtlFailed, "cannot start " + program + ": " + SystemErrorText());
    return CtlResult{};
}

CtlResult DaemonLink::Snapshot(const DesktopInformation& info, int index, const std::string& file) {
    // The snapshot is asked at the thread window of its own desktop.
    PipeClient client(info.desktops[static_cast<size_t>(index)].id);
    BitmapLines lines;
    const QueryResult result = client.AskBitmap(lines);
    if (result != QueryResult::kOk) return AskFailure(client, result);
    const std::string bytes = BitmapFileBytes(lines);
    if (bytes.empty()) return Failed(kCtlMalformed, "Quorvel's snapshot was malformed");
    const bool saved = SaveReplacing(
        file.c_str(), [&](FILE* out) { return std::fwrite(bytes.data(), 1, bytes.size(), out) == bytes.size(); },
        true);
    if (!saved) return Failed(kCtlFailed, "cannot write " + file);
    return CtlResult{};
}

CtlResult DaemonLink::Exit() {
    DesktopInformation info;
    CtlResult result = Information(&info);
    if (!result.Ok()) return result;

    // The main window lies on the desktop the daemon started on. The process
    // is held from the moment its window names it, before anything is asked.
    UniqueHandle process;
    RequestReply reply;
    auto endHere = [&] {
        HWND main = FindDaemonWindow(DaemonWindow::kMain);
        UniqueHandle opened = OpenWindowProcess(main, SYNCHRONIZE);
        if (!opened) return;
        process = std::move(opened);
        reply = SendRequest(main, kEndDaemonRequest, 0);
    };
    endHere();
    for (size_t i = 0; i < info.desktops.size() && !process; ++i) RunOnDesktop(info.desktops[i].id.c_str(), endHere);
    if (!process) return Failed(kCtlFailed, "Quorvel's main window was not found on any of its desktops");
    if (reply.outcome == RequestOutcome::kNoAnswer) return Failed(kCtlNoAnswer, "Quorvel did not answer the exit request");
    if (WaitForSingleObject(process.Get(), kExitWaitMs) != WAIT_OBJECT_0)
        return Failed(kCtlNoAnswer, "Quorvel did not end within " + std::to_string(kExitWaitMs / 1000) + " s");
    return CtlResult{};
}

}  // namespace qv

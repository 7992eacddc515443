#include "Executant.h"
#include "Log.h"

namespace qv {

namespace {

// Whether threadId still names a thread of process. The process runs, so
// its id is its own; a thread id freed when its thread ended may name a
// thread of another program by now, which must get none of these posts.
bool ThreadOfProcess(DWORD threadId, HANDLE process) {
    UniqueHandle thread(OpenThread(THREAD_QUERY_LIMITED_INFORMATION, FALSE, threadId));
    return thread && GetProcessIdOfThread(thread.Get()) == GetProcessId(process);
}

}  // namespace

int Executant::KillCheck(int steps) {
    if (!heldProcess) {
        heldThreadId = 0;
        return 0;
    }
    DWORD exitCode = 0;
    if (!GetExitCodeProcess(heldProcess.Get(), &exitCode)) {
        DropHeldProcess();
        return 0;
    }
    // The steps wait; other threads log meanwhile.
    LogLine line;
    line.Add("Kill Check (%s) [H:%08X,T:%08X] : ", FileName().c_str(),
             static_cast<unsigned>(reinterpret_cast<uintptr_t>(heldProcess.Get())), static_cast<unsigned>(heldThreadId));
    if (exitCode != STILL_ACTIVE) {
        DropHeldProcess();
        line.Add("Already End.\n");
        return 0;
    }
    // The pause gives the program time to react, so it follows a post that
    // reached its queue, never a failed one.
    bool posted = false;
    const bool ownThread = ThreadOfProcess(heldThreadId, heldProcess.Get());
    if (steps & kPostClose) {
        posted = ownThread && PostThreadMessageA(heldThreadId, WM_CLOSE, 0, 0) != FALSE;
        line.Add("Post(WM_CLOSE) ");
    }
    if (steps & kPostQuit) {
        if (posted) Sleep(500);
        posted = ownThread && PostThreadMessageA(heldThreadId, WM_QUIT, 0, 0) != FALSE;
        line.Add("Post(WM_QUIT) ");
    }
    if (steps & kTerminate) {
        if (posted) Sleep(500);
        TerminateProcess(heldProcess.Get(), 0);
        line.Add("TerminateProcess()");
    }
    line.Add("\n");
    line.Write();
    DropHeldProcess();
    return 0;
}

}  // namespace qv

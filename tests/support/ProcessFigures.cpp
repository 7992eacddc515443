#include "ProcessFigures.h"

#include <psapi.h>

#include "Handle.h"

namespace qvtest {

long CountHandles(HANDLE process) {
    // Handle values are multiples of 4 and handed out lowest free first, so
    // the held ones lie packed near the bottom of the range: a long run of
    // values that name nothing means the rest is empty too.
    constexpr uintptr_t kStep = 4;
    constexpr uintptr_t kEmptyRunEnd = 4096;
    constexpr uintptr_t kLimit = 1 << 24;
    long count = 0;
    uintptr_t emptyRun = 0;
    for (uintptr_t value = kStep; value < kLimit && emptyRun < kEmptyRunEnd; value += kStep) {
        HANDLE copy = nullptr;
        if (DuplicateHandle(process, reinterpret_cast<HANDLE>(value), GetCurrentProcess(), &copy, 0, FALSE,
                            DUPLICATE_SAME_ACCESS)) {
            CloseHandle(copy);
            ++count;
            emptyRun = 0;
        } else if (GetLastError() == ERROR_ACCESS_DENIED && value == kStep && count == 0) {
            return -1;
        } else {
            ++emptyRun;
        }
    }
    return count;
}

size_t PrivateBytes(HANDLE process) {
    PROCESS_MEMORY_COUNTERS counters = {};
    counters.cb = sizeof(counters);
    if (!GetProcessMemoryInfo(process, &counters, sizeof(counters)))
        return 0;
    // PrivateUsage is 0 under Wine 8 (see the header).
    return counters.PagefileUsage;
}

namespace {

struct WindowCount {
    DWORD pid;
    bool children;
    long count;
};

BOOL CALLBACK CountChild(HWND, LPARAM param) {
    ++*reinterpret_cast<long*>(param);
    return TRUE;
}

BOOL CALLBACK CountWindow(HWND window, LPARAM param) {
    auto* counting = reinterpret_cast<WindowCount*>(param);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    if (counting->pid != 0 && owner != counting->pid) return TRUE;
    ++counting->count;
    // Every descendant, whichever thread made it.
    if (counting->children) EnumChildWindows(window, CountChild, reinterpret_cast<LPARAM>(&counting->count));
    return TRUE;
}

}  // namespace

long CountWindowsOn(const std::string& desktopName, DWORD pid, bool children) {
    qv::UniqueDesktop desktop(OpenDesktopA(desktopName.c_str(), 0, FALSE, DESKTOP_READOBJECTS | DESKTOP_ENUMERATE));
    if (!desktop) return -1;
    WindowCount counting{pid, children, 0};
    EnumDesktopWindows(desktop.Get(), CountWindow, reinterpret_cast<LPARAM>(&counting));
    return counting.count;
}

ProcessCounts CountProcess(DWORD pid) {
    ProcessCounts counts;
    qv::UniqueHandle process(OpenProcess(PROCESS_DUP_HANDLE | PROCESS_QUERY_INFORMATION | PROCESS_VM_READ, FALSE, pid));
    if (!process) return counts;
    counts.handles = CountHandles(process.Get());
    counts.privateBytes = PrivateBytes(process.Get());
    return counts;
}

}  // namespace qvtest

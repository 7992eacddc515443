#include "LaunchRules.h"

#include <cstdio>
#include <cstring>

#include "Convert.h"

namespace qv {

int ShowCommandFromText(const char* text) {
    switch (ParseDecimal(text)) {
    case 2: return SW_SHOWMINIMIZED;
    case 3: return SW_SHOWMAXIMIZED;
    default: return SW_SHOWNORMAL;
    }
}

DWORD PriorityClassBits(uint32_t priority) {
    switch (priority & 0xF0) {
    case 0x10: return IDLE_PRIORITY_CLASS;
    case 0x20: return NORMAL_PRIORITY_CLASS;
    case 0x30: return HIGH_PRIORITY_CLASS;
    default: return 0;
    }
}

DWORD LaunchCreationFlags(bool prioritySet, uint32_t priority) {
    return kLaunchFlags | (prioritySet ? PriorityClassBits(priority) : 0);
}

DWORD ShlExeCreationFlags(uint32_t priority) { return kShlExeFlags | PriorityClassBits(priority); }

bool ThreadPriorityFor(uint32_t priority, int* threadPriority) {
    switch (priority & 0x0F) {
    case 1: *threadPriority = THREAD_PRIORITY_LOWEST; return true;
    case 2: *threadPriority = THREAD_PRIORITY_BELOW_NORMAL; return true;
    case 4: *threadPriority = THREAD_PRIORITY_ABOVE_NORMAL; return true;
    case 5: *threadPriority = THREAD_PRIORITY_HIGHEST; return true;
    default: return false;
    }
}

DWORD InputTimeoutInUse(uint32_t storedMs) {
    const auto value = static_cast<int32_t>(storedMs);
    if (value <= 0) return 0;
    return static_cast<DWORD>(value) < kMaxInputTimeoutMs ? static_cast<DWORD>(value) : kMaxInputTimeoutMs;
}

std::string ShlExeSwitch(bool placement, uint32_t inputTimeoutMs) {
    const DWORD wait = InputTimeoutInUse(inputTimeoutMs);
    if (!placement || wait == 0) return "/NOWAIT:0";
    char text[32];
    std::snprintf(text, sizeof(text), "/WatchDog:%d", static_cast<int>(wait));
    return text;
}

bool AppendCommandText(std::string& line, const char* text) {
    size_t add = std::strlen(text);
    if (add > kMaxCommandLine || line.size() > kMaxCommandLine - add) return false;
    line += text;
    return true;
}

}  // namespace qv

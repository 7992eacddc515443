#include "SafeSave.h"

#include <windows.h>

#include <string>

namespace qv {

namespace {

// Whoever has the file open for a moment (an indexer, a virus scanner, a bar
// reading it as it starts) makes the replace fail until they close it. That
// moment passes; a holder that stays is reported like any other failure.
constexpr DWORD kBusyWaitMs = 2000;
constexpr DWORD kBusyStepMs = 50;

bool Replace(const char* from, const char* to) {
    const DWORD start = GetTickCount();
    for (;;) {
        if (MoveFileExA(from, to, MOVEFILE_REPLACE_EXISTING)) return true;
        const DWORD error = GetLastError();
        if (error != ERROR_SHARING_VIOLATION && error != ERROR_ACCESS_DENIED) return false;
        if (GetTickCount() - start >= kBusyWaitMs) return false;
        Sleep(kBusyStepMs);
    }
}

}  // namespace

bool SaveReplacing(const char* path, const std::function<bool(FILE*)>& write, bool binary) {
    const std::string temporary = std::string(path) + ".tmp";
    FILE* file = std::fopen(temporary.c_str(), binary ? "wb" : "wt");
    if (!file) return false;
    const bool written = write(file) && std::ferror(file) == 0;
    const bool closed = std::fclose(file) == 0;
    if (!written || !closed || !Replace(temporary.c_str(), path)) {
        DeleteFileA(temporary.c_str());
        return false;
    }
    return true;
}

}  // namespace qv

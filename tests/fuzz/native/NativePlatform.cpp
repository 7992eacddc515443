// What the window-free readers link against in the native fuzzing build in
// place of the Win32 side: the log writes nothing (the real one writes its
// file for every line, which would cost most of a run), the
// display mode cannot be read, and nothing is launched, saved or closed.

#include <cstdarg>
#include <cstdio>

#include "DisplayMode.h"
#include "Executant.h"
#include "Log.h"
#include "SafeSave.h"

BOOL CloseHandle(HANDLE) { return 0; }
BOOL UnmapViewOfFile(const void*) { return 0; }

namespace qv {

// Each message is still formatted, so that a reader that hands the log a
// text of the file as its format, or the wrong arguments, is caught.
void LogFile::SetLogFile(const char*, int) {}
void LogFile::WriteLog(const char* format, ...) {
    va_list args;
    va_start(args, format);
    WriteLogV(format, args);
    va_end(args);
}
void LogFile::WriteLogV(const char* format, va_list args) {
    char line[1024];
    std::vsnprintf(line, sizeof line, format, args);
}
LogFile& ProcessLog() {
    static LogFile log;
    return log;
}
void SetLogFile(const char* name, int limit) { ProcessLog().SetLogFile(name, limit); }
void WriteLog(const char* format, ...) {
    va_list args;
    va_start(args, format);
    ProcessLog().WriteLogV(format, args);
    va_end(args);
}
bool AppendToLogFile(const char*, const char*, ...) { return false; }

DisplayMode QueryCurrentDisplayMode() { return DisplayMode{}; }

bool SaveReplacing(const char*, const std::function<bool(FILE*)>&, bool) { return false; }

int Executant::Launch(const char*) { return -1; }
int Executant::LaunchHeld() { return -1; }
int Executant::LaunchByShell() { return -1; }
int Executant::LaunchViaShlExe(const char*) { return -1; }
HWND Executant::FindLaunchedWindow(HANDLE, uint32_t, HANDLE, HANDLE) { return nullptr; }
void Executant::ResetWindowSearch(int) {}
int Executant::KillCheck(int) { return 0; }

}  // namespace qv

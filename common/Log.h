#pragma once
// The suite's diagnostic trace: one text file, appended message by message,
// started again when it grows past its limit.

#include <cstdarg>
#include <mutex>

namespace qv {

class LogFile {
public:
    static constexpr int kMaxName = 519;  // bytes of name; the buffer holds one more

    // Takes the name (refused, and logging left off, when longer than kMaxName),
    // deletes an existing file of that name, stores the limit.
    void SetLogFile(const char* name, int limit);
    void WriteLog(const char* format, ...);
    void WriteLogV(const char* format, va_list args);

    bool Enabled() const { return m_bEnabled; }

private:
    std::mutex m_lock;  // keeps two threads' open-append-close from tearing lines
    char m_szName[kMaxName + 1] = {};
    int m_nLimit = 0;
    bool m_bEnabled = true;
};

// The one log of the process, reached through the two functions below.
LogFile& ProcessLog();

void SetLogFile(const char* name, int limit);
void WriteLog(const char* format, ...);

// One message appended to the named file as it stands, outside the process
// log: the file is neither deleted nor restarted whatever its size, since
// another process may be logging into it. False when it could not be opened.
bool AppendToLogFile(const char* name, const char* format, ...);

}  // namespace qv

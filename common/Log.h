#pragma once
// The suite's diagnostic trace: one text file, appended message by message,
// started again when it grows past its limit.

#include <cstdarg>
#include <mutex>
#include <string>

#include "FileTurn.h"
#include "Handle.h"

namespace qv {

class LogFile {
public:
    static constexpr int kMaxName = 519;  // bytes of name; the buffer holds one more

    // Takes the name (refused, and logging left off, when longer than kMaxName),
    // deletes an existing file of that name, stores the limit. The file is
    // opened at the next message and kept open until the next SetLogFile or
    // the end of the object.
    void SetLogFile(const char* name, int limit);
    void WriteLog(const char* format, ...);
    void WriteLogV(const char* format, va_list args);

    bool Enabled() const { return m_bEnabled; }

private:
    bool OpenFile();

    std::mutex m_lock;  // a message's size check, restart and write go together
    UniqueHandle m_file;
    FileTurn m_turn;  // shared with every process writing the same file
    char m_szName[kMaxName + 1] = {};
    int m_nLimit = 0;
    bool m_bEnabled = true;
};

// The one log of the process, reached through the two functions below.
LogFile& ProcessLog();

void SetLogFile(const char* name, int limit);
void WriteLog(const char* format, ...);

// A line made of pieces logged as its work goes on (a step, its outcome),
// reaching the process log as one message when it is complete, so that no
// other thread's message lands inside it. Written at Write() or at the end
// of the scope, whichever comes first.
class LogLine {
public:
    LogLine() = default;
    ~LogLine() { Write(); }
    LogLine(const LogLine&) = delete;
    LogLine& operator=(const LogLine&) = delete;

    void Add(const char* format, ...);
    void Write();

private:
    std::string m_text;
};

// One message appended to the named file as it stands, outside the process
// log: the file is neither deleted nor restarted whatever its size, since
// another process may be logging into it. False when it could not be opened.
bool AppendToLogFile(const char* name, const char* format, ...);

}  // namespace qv

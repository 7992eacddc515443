#include "Log.h"

#include <windows.h>

#include <cstdio>
#include <cstring>

namespace qv {

namespace {

// Append access without FILE_WRITE_DATA: every write goes to the end of the
// file as it is then, so a line another process appends between two of ours
// is not overwritten. Readers and appenders may share the file, deleters may
// not: a file deleted while held keeps its name until the last handle closes
// and then takes with it what every holder wrote (Wine lets new writers open
// it meanwhile; Windows, by its documentation, refuses them). Another copy
// that starts its log afresh on this name therefore appends to it instead.
UniqueHandle OpenForAppend(const char* name) {
    return UniqueHandle(CreateFileA(name, FILE_APPEND_DATA | FILE_READ_ATTRIBUTES, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                    nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
}

// The bytes fopen's text mode wrote: every "\n" as "\r\n". Appended to
// `bytes`, so that a restart line and its message leave in one write.
void AppendTextMode(std::string& bytes, const char* format, va_list args) {
    char small[512];
    va_list again;
    va_copy(again, args);
    const int length = std::vsnprintf(small, sizeof small, format, args);
    std::string large;
    const char* text = small;
    if (length >= static_cast<int>(sizeof small)) {
        large.resize(static_cast<size_t>(length) + 1);
        std::vsnprintf(&large[0], large.size(), format, again);
        text = large.c_str();
    }
    va_end(again);
    if (length <= 0) return;
    bytes.reserve(bytes.size() + static_cast<size_t>(length) + 16);
    for (const char* c = text; c != text + length; ++c) {
        if (*c == '\n') bytes += '\r';
        bytes += *c;
    }
}

void AppendFormatted(std::string& bytes, const char* format, ...) {
    va_list args;
    va_start(args, format);
    AppendTextMode(bytes, format, args);
    va_end(args);
}

// One WriteFile, in the file's turn: Wine writes at the end in two steps
// (the size, then a write at that offset), so two processes appending at
// once could land on the same offset, and so could a file share's clients.
void WriteWhole(HANDLE file, FileTurn& turn, const std::string& bytes) {
    if (bytes.empty()) return;
    HeldTurn held(turn);
    DWORD written = 0;
    WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
}

}  // namespace

void LogFile::SetLogFile(const char* name, int limit) {
    std::lock_guard<std::mutex> guard(m_lock);
    m_file.Reset();  // our own handle would keep the old file from being deleted
    m_turn = FileTurn();
    size_t len = name ? std::strlen(name) : 0;
    if (len > kMaxName) {
        // A name cut short would log into some other file; log nowhere instead.
        m_szName[0] = '\0';
        m_nLimit = 0;
        return;
    }
    std::memcpy(m_szName, name ? name : "", len);
    m_szName[len] = '\0';
    if (len > 0) DeleteFileA(m_szName);
    m_nLimit = limit;
}

void LogFile::WriteLog(const char* format, ...) {
    va_list args;
    va_start(args, format);
    WriteLogV(format, args);
    va_end(args);
}

bool LogFile::OpenFile() {
    m_file = OpenForAppend(m_szName);
    if (!m_file) {
        m_bEnabled = false;
        return false;
    }
    m_turn = FileTurn(m_file.Get());
    return true;
}

void LogFile::WriteLogV(const char* format, va_list args) {
    std::lock_guard<std::mutex> guard(m_lock);
    if (m_szName[0] == '\0' || !m_bEnabled || m_nLimit <= 0) return;
    if (!m_file && !OpenFile()) return;

    std::string bytes;
    // Measured on the file, not counted here: other processes append too.
    LARGE_INTEGER size;
    if (GetFileSizeEx(m_file.Get(), &size) && size.QuadPart > m_nLimit) {
        m_file.Reset();
        m_turn = FileTurn();
        DeleteFileA(m_szName);  // a failed delete just appends, restart line and all
        if (!OpenFile()) return;
        AppendFormatted(bytes, "Logfile was Refreshed.  [MAX=%d Bytes.]\n", m_nLimit);
    }
    AppendTextMode(bytes, format, args);
    WriteWhole(m_file.Get(), m_turn, bytes);
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

void LogLine::Add(const char* format, ...) {
    va_list args;
    va_start(args, format);
    va_list again;
    va_copy(again, args);
    const int length = std::vsnprintf(nullptr, 0, format, args);
    va_end(args);
    if (length > 0) {
        const size_t at = m_text.size();
        m_text.resize(at + static_cast<size_t>(length) + 1);
        std::vsnprintf(&m_text[at], static_cast<size_t>(length) + 1, format, again);
        m_text.resize(at + static_cast<size_t>(length));
    }
    va_end(again);
}

void LogLine::Write() {
    if (m_text.empty()) return;
    WriteLog("%s", m_text.c_str());
    m_text.clear();
}

bool AppendToLogFile(const char* name, const char* format, ...) {
    if (!name || !*name) return false;
    UniqueHandle file = OpenForAppend(name);
    if (!file) return false;
    std::string bytes;
    va_list args;
    va_start(args, format);
    AppendTextMode(bytes, format, args);
    va_end(args);
    FileTurn turn(file.Get());
    WriteWhole(file.Get(), turn, bytes);
    return true;
}

}  // namespace qv

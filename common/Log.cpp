#include "Log.h"

#include <windows.h>

#include <cstdio>
#include <cstring>

namespace qv {

namespace {

// Size of an existing file, or -1 when there is none.
long long FileSize(const char* name) {
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (!GetFileAttributesExA(name, GetFileExInfoStandard, &data)) return -1;
    return (static_cast<long long>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
}

}  // namespace

void LogFile::SetLogFile(const char* name, int limit) {
    std::lock_guard<std::mutex> guard(m_lock);
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

void LogFile::WriteLogV(const char* format, va_list args) {
    std::lock_guard<std::mutex> guard(m_lock);
    if (m_szName[0] == '\0' || !m_bEnabled || m_nLimit <= 0) return;

    bool restarted = false;
    if (FileSize(m_szName) > m_nLimit) {
        DeleteFileA(m_szName);  // a failed delete just appends, restart line and all
        restarted = true;
    }
    FILE* file = std::fopen(m_szName, "at");
    if (!file) {
        m_bEnabled = false;
        return;
    }
    if (restarted) std::fprintf(file, "Logfile was Refreshed.  [MAX=%d Bytes.]\n", m_nLimit);
    std::vfprintf(file, format, args);
    std::fclose(file);
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
    FILE* file = name && *name ? std::fopen(name, "at") : nullptr;
    if (!file) return false;
    va_list args;
    va_start(args, format);
    std::vfprintf(file, format, args);
    va_end(args);
    std::fclose(file);
    return true;
}

}  // namespace qv

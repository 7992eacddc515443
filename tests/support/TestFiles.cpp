#include "TestFiles.h"

#include <windows.h>

#include <atomic>
#include <stdexcept>

namespace qvtest {

namespace {

void RemoveTree(const std::string& dir) {
    WIN32_FIND_DATAA data;
    HANDLE find = FindFirstFileA((dir + "\\*").c_str(), &data);
    if (find != INVALID_HANDLE_VALUE) {
        do {
            std::string name = data.cFileName;
            if (name == "." || name == "..") continue;
            std::string path = dir + "\\" + name;
            if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
                RemoveTree(path);
            else if (!DeleteFileA(path.c_str()) && SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL))
                DeleteFileA(path.c_str());  // read-only, as installed files are
        } while (FindNextFileA(find, &data));
        FindClose(find);
    }
    RemoveDirectoryA(dir.c_str());
}

}  // namespace

TempDir::TempDir() {
    static std::atomic<int> counter{0};
    char base[MAX_PATH];
    GetTempPathA(MAX_PATH, base);
    for (int attempt = 0; attempt < 1000; ++attempt) {
        m_path = std::string(base) + "qvtest_" + std::to_string(GetCurrentProcessId()) + "_" +
                 std::to_string(counter++);
        if (CreateDirectoryA(m_path.c_str(), nullptr)) return;
    }
    throw std::runtime_error("cannot create a temporary folder");
}

TempDir::~TempDir() { RemoveTree(m_path); }

std::string ReadBytes(const std::string& path) {
    std::string bytes;
    FILE* file = std::fopen(path.c_str(), "rb");
    if (!file) return bytes;
    char buf[4096];
    size_t n;
    while ((n = std::fread(buf, 1, sizeof(buf), file)) > 0) bytes.append(buf, n);
    std::fclose(file);
    return bytes;
}

void WriteBytes(const std::string& path, const std::string& bytes) {
    FILE* file = std::fopen(path.c_str(), "wb");
    if (!file) throw std::runtime_error("cannot write " + path);
    std::fwrite(bytes.data(), 1, bytes.size(), file);
    std::fclose(file);
}

bool FileExists(const std::string& path) { return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

TextInput::TextInput(const TempDir& dir, const std::string& bytes) {
    static std::atomic<int> counter{0};
    std::string path = dir.File(("input" + std::to_string(counter++) + ".ini").c_str());
    WriteBytes(path, bytes);
    m_file = std::fopen(path.c_str(), "rt");
    if (!m_file) throw std::runtime_error("cannot open " + path);
}

TextInput::~TextInput() {
    if (m_file) std::fclose(m_file);
}

std::string Crlf(const std::string& text) {
    std::string out;
    for (char c : text) {
        if (c == '\n') out += '\r';
        out += c;
    }
    return out;
}

}  // namespace qvtest

#include "Log.h"

namespace qvtest {

LogCapture::LogCapture() : m_path(m_dir.File("capture.log")) { qv::SetLogFile(m_path.c_str(), 1 << 20); }

LogCapture::~LogCapture() { qv::SetLogFile("", 0); }

}  // namespace qvtest

#include <cstdarg>

namespace qvtest {

std::string Format(const char* format, ...) {
    char text[2048];
    va_list args;
    va_start(args, format);
    std::vsnprintf(text, sizeof(text), format, args);
    va_end(args);
    return text;
}

std::string MediumFolder() {
    char value[MAX_PATH] = "";
    const DWORD length = GetEnvironmentVariableA("QV_MEDIUM", value, sizeof value);
    return length > 0 && length < sizeof value ? std::string(value, length) : std::string();
}

}  // namespace qvtest

#pragma once
// Files for tests: a private temporary folder removed afterwards, and whole
// files read and written as bytes.

#include <cstdio>
#include <string>

namespace qvtest {

class TempDir {
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    const std::string& Path() const { return m_path; }
    std::string File(const char* name) const { return m_path + "\\" + name; }

private:
    std::string m_path;
};

std::string ReadBytes(const std::string& path);  // empty when missing
void WriteBytes(const std::string& path, const std::string& bytes);
bool FileExists(const std::string& path);

// An open file holding the given bytes, read in text mode as the readers do.
class TextInput {
public:
    TextInput(const TempDir& dir, const std::string& bytes);
    ~TextInput();
    TextInput(const TextInput&) = delete;
    TextInput& operator=(const TextInput&) = delete;
    FILE* get() const { return m_file; }

private:
    FILE* m_file = nullptr;
};

// What the given writer puts into a file opened for writing in text mode.
template <class Writer>
std::string WrittenText(const TempDir& dir, Writer&& writer) {
    std::string path = dir.File("written.txt");
    FILE* file = std::fopen(path.c_str(), "wt");
    if (!file) return "<open failed>";
    writer(file);
    std::fclose(file);
    return ReadBytes(path);
}

// Text as it is on disk after text-mode writing: every LF becomes CR LF.
std::string Crlf(const std::string& text);

}  // namespace qvtest

namespace qvtest {

// Points the process log at a fresh file for the life of the object.
class LogCapture {
public:
    LogCapture();
    ~LogCapture();
    std::string Text() const { return ReadBytes(m_path); }
    const std::string& Path() const { return m_path; }

private:
    TempDir m_dir;
    std::string m_path;
};

}  // namespace qvtest

namespace qvtest {

// printf into a string; the expected log lines are built with it.
std::string Format(const char* format, ...);

// The unpacked release medium that `dist` lays out, as the test's
// environment names it (QV_MEDIUM, a Windows path); empty when it names none.
std::string MediumFolder();

}  // namespace qvtest

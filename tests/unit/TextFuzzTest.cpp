// Random texts for the byte scanners, each placed so that its terminator is
// the last readable byte before a no-access page: a scanner that steps over
// the terminator crashes the test. The text's page is read-only, so a scanner
// that writes into the caller's text crashes it too.

#include <windows.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <random>
#include <string>

#include "CommandLine.h"
#include "TitleEscapes.h"

namespace {

const char* g_current = nullptr;  // the text under test, for the crash report

LONG WINAPI ReportCrash(EXCEPTION_POINTERS* info) {
    std::fprintf(stderr, "exception %08lX on text:", info->ExceptionRecord->ExceptionCode);
    for (const char* p = g_current; p && *p; ++p) std::fprintf(stderr, " %02X", static_cast<unsigned char>(*p));
    std::fprintf(stderr, "\n");
    std::fflush(stderr);
    // Ends the process at once instead of waiting on a debugger.
    return EXCEPTION_EXECUTE_HANDLER;
}

class GuardedText {
public:
    GuardedText() {
        SYSTEM_INFO si;
        GetSystemInfo(&si);
        m_page = si.dwPageSize;
        m_base = static_cast<char*>(VirtualAlloc(nullptr, 2 * m_page, MEM_RESERVE | MEM_COMMIT, PAGE_READWRITE));
        DWORD old;
        if (m_base) VirtualProtect(m_base + m_page, m_page, PAGE_NOACCESS, &old);
    }
    GuardedText(const GuardedText&) = delete;
    GuardedText& operator=(const GuardedText&) = delete;
    ~GuardedText() {
        if (m_base) VirtualFree(m_base, 0, MEM_RELEASE);
    }

    bool Ok() const { return m_base != nullptr; }
    size_t MaxLength() const { return m_page - 1; }

    const char* Place(const std::string& bytes) {
        DWORD old;
        VirtualProtect(m_base, m_page, PAGE_READWRITE, &old);
        char* text = m_base + m_page - bytes.size() - 1;
        std::memcpy(text, bytes.data(), bytes.size());
        text[bytes.size()] = '\0';
        VirtualProtect(m_base, m_page, PAGE_READONLY, &old);
        g_current = text;
        return text;
    }

private:
    size_t m_page = 0;
    char* m_base = nullptr;
};

// Bytes the scanners treat specially, often enough to meet each other.
std::string RandomText(std::mt19937& rng, size_t maxLength) {
    static const unsigned char kSpecial[] = {' ', '\t', '"', '\\', '-', '+', 'p', 'n', 0x81, 0x95, 0x9F, 0xE0, 0xFC, 0x5C};
    std::uniform_int_distribution<size_t> length(0, rng() % 8 == 0 ? maxLength : 24);
    std::uniform_int_distribution<int> byte(1, 255);
    std::string s(length(rng), ' ');
    for (char& c : s)
        c = static_cast<char>(rng() % 2 ? kSpecial[rng() % sizeof kSpecial] : byte(rng));
    switch (rng() % 4) {  // the endings that tempt a scanner past the terminator
        case 0: s += '\\'; break;
        case 1: s += static_cast<char>(0x81 + rng() % 0x1F); break;
        case 2: s += "\"\\"; break;
        default: break;
    }
    return s.size() > maxLength ? s.substr(s.size() - maxLength) : s;
}

TEST(TextFuzz, ScannersStopAtTheTerminator) {
    SetUnhandledExceptionFilter(ReportCrash);
    GuardedText guard;
    ASSERT_TRUE(guard.Ok());
    std::mt19937 rng(20240531);
    for (int i = 0; i < 5000; ++i) {
        std::string bytes = RandomText(rng, guard.MaxLength());
        const char* text = guard.Place(bytes);

        qv::OptionList options;
        int result = qv::ParseCommandLine(options, text);
        ASSERT_TRUE(result == 0 || result == -1 || result == -2) << i;
        if (result == 0) {
            for (const qv::PropertyPair* p = options.First(); p; p = p->next)
                ASSERT_TRUE(p->key.c_str()[0] == '-' || p->key.c_str()[0] == '+') << i;
        }

        qv::TextString title;
        ASSERT_TRUE(qv::ResolveTitleEscapes(text, title)) << i;
        ASSERT_LE(title.Length(), bytes.size()) << i;
    }
    g_current = nullptr;
}

}  // namespace

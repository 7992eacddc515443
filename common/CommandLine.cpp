#include "CommandLine.h"

#include <cstring>
#include <memory>
#include <new>

#include "Sjis.h"

namespace qv {

namespace {

enum class Scan { kBetween, kWord, kQuoted, kEscape };

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

class WordSink {
public:
    explicit WordSink(OptionList& options) : m_options(options) {}

    // An option word waits for its value; any other word is the value of the
    // waiting option. False when there is none or memory ran out.
    bool HandOver(const char* word) {
        if (*word == '-' || *word == '+') {
            if (m_pPending && !m_options.Add(m_pPending, "")) return false;
            m_pPending = word;
            return true;
        }
        if (!m_pPending) return false;
        size_t length = std::strlen(word);
        bool ok;
        if (length >= 2 && word[0] == '"' && word[length - 1] == '"') {
            TextString inner;
            ok = inner.Assign(word + 1, length - 2) && m_options.Add(m_pPending, inner.c_str());
        } else {
            ok = m_options.Add(m_pPending, word);
        }
        if (ok) m_pPending = nullptr;
        return ok;
    }

    bool StorePending() {
        if (!m_pPending) return true;
        if (!m_options.Add(m_pPending, "")) return false;
        m_pPending = nullptr;
        return true;
    }

private:
    OptionList& m_options;
    const char* m_pPending = nullptr;  // points into the scanner's copy
};

}  // namespace

int ParseCommandLine(OptionList& options, const char* text) {
    if (!text) text = "";
    // The words are cut out in place, so the scan runs on a private copy.
    size_t size = std::strlen(text) + 1;
    std::unique_ptr<char[]> copy(new (std::nothrow) char[size]);
    if (!copy) return kParseNoMemory;
    std::memcpy(copy.get(), text, size);

    WordSink sink(options);
    Scan state = Scan::kBetween;
    Scan escapeReturn = Scan::kWord;
    char* wordStart = nullptr;
    for (char* p = copy.get(); *p; ++p) {
        unsigned char c = static_cast<unsigned char>(*p);
        if (state == Scan::kEscape) {
            state = escapeReturn;
            continue;
        }
        if (state == Scan::kBetween) {
            if (IsBlank(*p)) continue;
            wordStart = p;
            state = Scan::kWord;
        }
        if (IsSjisLead(c)) {
            // The trail byte may be '\\' or '"'; it must not act. A lead byte
            // at the very end leaves the terminator for the loop to stop on.
            if (p[1]) ++p;
        } else if (c == '\\') {
            escapeReturn = state;
            state = Scan::kEscape;
        } else if (c == '"') {
            state = state == Scan::kQuoted ? Scan::kWord : Scan::kQuoted;
        } else if (state == Scan::kWord && IsBlank(*p)) {
            *p = '\0';
            // A failed hand-over keeps the scanner in this word: later blanks
            // hand the same (refused) word over again and the end reports it.
            if (sink.HandOver(wordStart)) state = Scan::kBetween;
        }
    }

    if (state == Scan::kQuoted || state == Scan::kEscape) return kParseOpenQuote;
    if (state == Scan::kWord && !sink.HandOver(wordStart)) return kParseStrayValue;
    if (!sink.StorePending()) return kParseNoMemory;
    return kParseOk;
}

}  // namespace qv

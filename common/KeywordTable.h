#pragma once
// Each record class's static table of keywords: key number (row order),
// required flag, default text.

#include <cstddef>

namespace qv {

struct KeywordRow {
    const char* keyword;
    bool required;
    const char* defaultText;
};

class KeywordTable {
public:
    // A record's keys fit in a 64-bit set (KeywordPairs).
    static constexpr int kMaxKeys = 64;

    template <int N>
    constexpr explicit KeywordTable(const KeywordRow (&rows)[N]) : m_pRows(rows), m_nCount(N) {
        static_assert(N <= kMaxKeys);
        for (int i = 0; i < N; ++i)
            while (rows[i].keyword[m_lengths[i]]) ++m_lengths[i];
    }

    int Count() const { return m_nCount; }
    // Key number of a keyword (exact, case-sensitive), or -1.
    int Find(const char* keyword) const;
    // Keyword, or null for a number outside the table.
    const char* KeyName(int key) const;
    // Default text, or null for a number outside the table.
    const char* DefaultText(int key) const;
    bool Required(int key) const { return key >= 0 && key < m_nCount && m_pRows[key].required; }

private:
    const KeywordRow* m_pRows;
    int m_nCount;
    // Every line of a file is looked up, and a record's keywords share a
    // prefix: comparing lengths first leaves a row or two to compare.
    size_t m_lengths[kMaxKeys] = {};
};

}  // namespace qv

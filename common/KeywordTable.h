#pragma once
// Each record class's static table of keywords: key number (row order),
// required flag, default text.

#include "PropertyList.h"

namespace qv {

struct KeywordRow {
    const char* keyword;
    bool required;
    const char* defaultText;
};

class KeywordTable {
public:
    template <int N>
    constexpr explicit KeywordTable(const KeywordRow (&rows)[N]) : m_pRows(rows), m_nCount(N) {}

    int Count() const { return m_nCount; }
    // Key number of a keyword (exact, case-sensitive), or -1.
    int Find(const char* keyword) const;
    // Keyword, or null for a number outside the table.
    const char* KeyName(int key) const;
    // Default text, or null for a number outside the table.
    const char* DefaultText(int key) const;
    // The first required keyword whose first value is missing or empty, or null.
    const char* MissingRequired(const PropertyList& list) const;
    // Appends (keyword, default) for every keyword without a pair, in table
    // order. Returns false when memory ran out.
    bool AppendDefaults(PropertyList& list) const;

private:
    const KeywordRow* m_pRows;
    int m_nCount;
};

}  // namespace qv

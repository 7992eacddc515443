#pragma once
// The keyword/value texts every record keeps as read, in file order.

#include "TextString.h"

namespace qv {

struct PropertyPair {
    TextString key;
    TextString value;
    PropertyPair* next = nullptr;
};

class PropertyList {
public:
    PropertyList() = default;
    PropertyList(const PropertyList&) = delete;
    PropertyList& operator=(const PropertyList&) = delete;
    ~PropertyList() { Clear(); }

    // Puts a pair at the end, even when the keyword is there already.
    // Returns the new pair, or null when memory ran out.
    PropertyPair* Append(const char* key, const char* value);
    // The first pair of that keyword (exact, case-sensitive), or null.
    PropertyPair* Find(const char* key) const;
    // The first pair's value, or the empty text.
    const char* Value(const char* key) const;
    // Sets the first pair's value; without one, appends a pair when asked to
    // and the value is not empty. Returns false only when memory ran out.
    bool Update(const char* key, const char* value, bool appendWhenAbsent);
    void Clear();

    PropertyPair* First() const { return m_pFirst; }
    int Count() const { return m_nCount; }

private:
    PropertyPair* m_pFirst = nullptr;
    PropertyPair* m_pLast = nullptr;
    int m_nCount = 0;
};

}  // namespace qv

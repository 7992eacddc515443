#pragma once
// The suite's growable byte string (Shift-JIS text).

#include <cstddef>

namespace qv {

class TextString {
public:
    static constexpr size_t kGrain = 32;  // capacity is always a multiple of this

    TextString() = default;
    explicit TextString(const char* text) { Assign(text); }
    TextString(const TextString& other) { Assign(other); }
    TextString(TextString&& other) noexcept;
    TextString& operator=(const TextString& other) {
        Assign(other);
        return *this;
    }
    TextString& operator=(TextString&& other) noexcept;
    ~TextString();

    // Each returns false when memory ran out; the text is then unchanged.
    bool Assign(const char* text);
    bool Assign(const char* text, size_t length);
    bool Assign(const TextString& other) { return &other == this || Assign(other.m_pBuf, other.m_nLen); }
    bool Append(const char* text, char separator = '\0');

    bool operator==(const TextString& other) const;
    bool operator==(const char* text) const;

    void LowerAscii();  // skips Shift-JIS double-byte characters
    void Clear();

    const char* c_str() const { return m_pBuf; }
    size_t Length() const { return m_nLen; }
    size_t Capacity() const { return m_nCap; }
    bool IsEmpty() const { return m_nLen == 0; }

private:
    bool Reserve(size_t length);

    static char s_szEmpty[1];
    char* m_pBuf = s_szEmpty;
    size_t m_nLen = 0;
    size_t m_nCap = 0;
};

}  // namespace qv

#include "TextString.h"

#include <cstring>
#include <new>
#include <utility>

#include "Sjis.h"

namespace qv {

char TextString::s_szEmpty[1] = {'\0'};

void LowerSjis(char* text) {
    for (unsigned char* p = reinterpret_cast<unsigned char*>(text); *p; ++p) {
        if (IsSjisLead(*p)) {
            if (p[1] == '\0') break;
            ++p;
        } else if (*p >= 'A' && *p <= 'Z') {
            *p = static_cast<unsigned char>(*p - 'A' + 'a');
        }
    }
}

TextString::TextString(TextString&& other) noexcept
    : m_pBuf(std::exchange(other.m_pBuf, s_szEmpty)),
      m_nLen(std::exchange(other.m_nLen, 0)),
      m_nCap(std::exchange(other.m_nCap, 0)) {}

TextString& TextString::operator=(TextString&& other) noexcept {
    if (this != &other) {
        Clear();
        std::swap(m_pBuf, other.m_pBuf);
        std::swap(m_nLen, other.m_nLen);
        std::swap(m_nCap, other.m_nCap);
    }
    return *this;
}

TextString::~TextString() { Clear(); }

void TextString::Clear() {
    if (m_nCap) delete[] m_pBuf;
    m_pBuf = s_szEmpty;
    m_nLen = 0;
    m_nCap = 0;
}

bool TextString::Reserve(size_t length) {
    if (length < m_nCap) return true;
    size_t cap = (length / kGrain + 1) * kGrain;  // room for the terminator
    char* buf = new (std::nothrow) char[cap];
    if (!buf) return false;
    std::memcpy(buf, m_pBuf, m_nLen + 1);
    if (m_nCap) delete[] m_pBuf;
    m_pBuf = buf;
    m_nCap = cap;
    return true;
}

bool TextString::Assign(const char* text) { return Assign(text ? text : "", text ? std::strlen(text) : 0); }

bool TextString::Assign(const char* text, size_t length) {
    if (length == 0) {
        if (m_nCap) m_pBuf[0] = '\0';
        m_nLen = 0;
        return true;
    }
    if (text >= m_pBuf && text < m_pBuf + m_nCap) {
        // Assigning a part of ourselves: the buffer is large enough already.
        std::memmove(m_pBuf, text, length);
    } else {
        if (!Reserve(length)) return false;
        std::memcpy(m_pBuf, text, length);
    }
    m_pBuf[length] = '\0';
    m_nLen = length;
    return true;
}

bool TextString::Append(const char* text, char separator) {
    size_t add = text ? std::strlen(text) : 0;
    size_t sep = separator ? 1 : 0;
    if (add + sep == 0) return true;
    if (text >= m_pBuf && text < m_pBuf + m_nCap) {
        TextString copy(text);  // Reserve may move our buffer under the text
        if (copy.Length() != add) return false;
        return Append(copy.c_str(), separator);
    }
    if (!Reserve(m_nLen + sep + add)) return false;
    if (sep) m_pBuf[m_nLen] = separator;
    std::memcpy(m_pBuf + m_nLen + sep, text, add);
    m_nLen += sep + add;
    m_pBuf[m_nLen] = '\0';
    return true;
}

bool TextString::operator==(const TextString& other) const {
    return m_nLen == other.m_nLen && std::memcmp(m_pBuf, other.m_pBuf, m_nLen) == 0;
}

bool TextString::operator==(const char* text) const { return std::strcmp(m_pBuf, text ? text : "") == 0; }

void TextString::LowerAscii() { LowerSjis(m_pBuf); }

}  // namespace qv

#include "KeywordTable.h"

#include <cstring>

namespace qv {

int KeywordTable::Find(const char* keyword) const {
    const size_t length = std::strlen(keyword);
    for (int i = 0; i < m_nCount; ++i)
        if (m_lengths[i] == length && std::memcmp(m_pRows[i].keyword, keyword, length) == 0) return i;
    return -1;
}

const char* KeywordTable::KeyName(int key) const { return key >= 0 && key < m_nCount ? m_pRows[key].keyword : nullptr; }

const char* KeywordTable::DefaultText(int key) const {
    return key >= 0 && key < m_nCount ? m_pRows[key].defaultText : nullptr;
}

}  // namespace qv

#include "KeywordTable.h"

#include <cstring>

namespace qv {

int KeywordTable::Find(const char* keyword) const {
    for (int i = 0; i < m_nCount; ++i)
        if (std::strcmp(m_pRows[i].keyword, keyword) == 0) return i;
    return -1;
}

const char* KeywordTable::KeyName(int key) const { return key >= 0 && key < m_nCount ? m_pRows[key].keyword : nullptr; }

const char* KeywordTable::DefaultText(int key) const {
    return key >= 0 && key < m_nCount ? m_pRows[key].defaultText : nullptr;
}

const char* KeywordTable::MissingRequired(const PropertyList& list) const {
    for (int i = 0; i < m_nCount; ++i)
        if (m_pRows[i].required && !*list.Value(m_pRows[i].keyword)) return m_pRows[i].keyword;
    return nullptr;
}

bool KeywordTable::AppendDefaults(PropertyList& list) const {
    for (int i = 0; i < m_nCount; ++i)
        if (!list.Find(m_pRows[i].keyword) && !list.Append(m_pRows[i].keyword, m_pRows[i].defaultText)) return false;
    return true;
}

}  // namespace qv

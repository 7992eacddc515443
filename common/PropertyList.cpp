#include "PropertyList.h"

#include <cstring>
#include <new>

namespace qv {

PropertyPair* PropertyList::Append(const char* key, const char* value) {
    PropertyPair* pair = new (std::nothrow) PropertyPair;
    if (!pair) return nullptr;
    if (!pair->key.Assign(key) || !pair->value.Assign(value)) {
        delete pair;
        return nullptr;
    }
    if (m_pLast)
        m_pLast->next = pair;
    else
        m_pFirst = pair;
    m_pLast = pair;
    ++m_nCount;
    return pair;
}

PropertyPair* PropertyList::Find(const char* key) const {
    for (PropertyPair* p = m_pFirst; p; p = p->next)
        if (std::strcmp(p->key.c_str(), key) == 0) return p;
    return nullptr;
}

const char* PropertyList::Value(const char* key) const {
    const PropertyPair* pair = Find(key);
    return pair ? pair->value.c_str() : "";
}

bool PropertyList::Update(const char* key, const char* value, bool appendWhenAbsent) {
    if (PropertyPair* pair = Find(key)) return pair->value.Assign(value);
    if (!appendWhenAbsent || !value || !*value) return true;
    return Append(key, value) != nullptr;
}

void PropertyList::Clear() {
    while (m_pFirst) {
        PropertyPair* next = m_pFirst->next;
        delete m_pFirst;
        m_pFirst = next;
    }
    m_pLast = nullptr;
    m_nCount = 0;
}

}  // namespace qv

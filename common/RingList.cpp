#include "RingList.h"

namespace qv {

RingListClass* RingListClass::InsertAfter(RingListClass* node) {
    node->m_pNext = m_pNext;
    node->m_pPrev = this;
    m_pNext->m_pPrev = node;
    m_pNext = node;
    return node;
}

RingListClass* RingListClass::InsertBefore(RingListClass* node) { return m_pPrev->InsertAfter(node); }

void RingListClass::Unlink() {
    m_pPrev->m_pNext = m_pNext;
    m_pNext->m_pPrev = m_pPrev;
    m_pNext = m_pPrev = this;
}

void AppendToRing(RingListClass*& entry, RingListClass* child) {
    if (entry)
        entry->InsertBefore(child);
    else
        entry = child;
}

void RemoveFromRing(RingListClass*& entry, RingListClass* child) {
    if (entry == child) entry = child->IsAlone() ? nullptr : child->Next();
    child->Unlink();
}

int CountRing(const RingListClass* entry) {
    if (!entry) return 0;
    int n = 1;
    for (const RingListClass* p = entry->Next(); p != entry; p = p->Next()) ++n;
    return n;
}

void DestroyRing(RingListClass*& entry) {
    while (entry) {
        RingListClass* next = entry->IsAlone() ? nullptr : entry->Next();
        entry->Unlink();
        delete entry;
        entry = next;
    }
}

}  // namespace qv

#pragma once
// Base of every parameter-file record: a node of a circular doubly linked
// ring. Whoever holds a ring keeps one entry point into it.

namespace qv {

class RingListClass {
public:
    RingListClass() = default;
    RingListClass(const RingListClass&) = delete;
    RingListClass& operator=(const RingListClass&) = delete;
    virtual ~RingListClass() = default;

    // Each returns the node it was given.
    virtual RingListClass* InsertAfter(RingListClass* node);
    virtual RingListClass* InsertBefore(RingListClass* node);
    // Takes this node out; it is then a ring of its own.
    virtual void Unlink();

    RingListClass* Next() const { return m_pNext; }
    RingListClass* Prev() const { return m_pPrev; }
    bool IsAlone() const { return m_pNext == this; }

private:
    RingListClass* m_pNext = this;
    RingListClass* m_pPrev = this;
};

// Adds a child at the end of a ring, so that walking from the entry point
// gives the children in the order they were added (file order when reading).
void AppendToRing(RingListClass*& entry, RingListClass* child);
// Unlinks a child, moving the entry point off it first.
void RemoveFromRing(RingListClass*& entry, RingListClass* child);

// Counts, and destroys, the nodes of a ring given by its entry point.
int CountRing(const RingListClass* entry);
void DestroyRing(RingListClass*& entry);

// Typed walk over a ring: for (T* p : RingRange<T>(entry)) ...
template <class T>
class RingRange {
public:
    explicit RingRange(T* entry) : m_pEntry(entry) {}
    class iterator {
    public:
        iterator(T* node, T* entry, bool started) : m_pNode(node), m_pEntry(entry), m_bStarted(started) {}
        T* operator*() const { return m_pNode; }
        iterator& operator++() {
            m_pNode = static_cast<T*>(m_pNode->Next());
            m_bStarted = true;
            return *this;
        }
        bool operator!=(const iterator& other) const {
            if (!m_pNode) return other.m_pNode != nullptr;
            return !(m_bStarted && m_pNode == m_pEntry);
        }

    private:
        T* m_pNode;
        T* m_pEntry;
        bool m_bStarted;
    };
    iterator begin() const { return iterator(m_pEntry, m_pEntry, false); }
    iterator end() const { return iterator(nullptr, m_pEntry, true); }

private:
    T* m_pEntry;
};

}  // namespace qv

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

// The ring operations on an entry point, for OwnedRing below.
void AppendToRing(RingListClass*& entry, RingListClass* child);
void RemoveFromRing(RingListClass*& entry, RingListClass* child);
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

// A ring of children held by their parent record through one entry point;
// it destroys them with itself.
template <class T>
class OwnedRing {
public:
    OwnedRing() = default;
    OwnedRing(const OwnedRing&) = delete;
    OwnedRing& operator=(const OwnedRing&) = delete;
    ~OwnedRing() { Clear(); }

    T* Entry() const { return static_cast<T*>(m_pEntry); }
    // At the end: walking from the entry point gives the children in the order
    // they were added, which is file order when reading.
    void Append(T* child) { AppendToRing(m_pEntry, child); }
    // Unlinks a child (not destroyed), moving the entry point off it first.
    void Remove(T* child) { RemoveFromRing(m_pEntry, child); }
    // Makes a child the entry point; the ring order stays.
    void SetEntry(T* child) { m_pEntry = child; }
    // Inserts a child after the entry point and makes it the entry point.
    void InsertAfterEntry(T* child) {
        if (m_pEntry) m_pEntry->InsertAfter(child);
        m_pEntry = child;
    }
    int Count() const { return CountRing(m_pEntry); }
    void Clear() { DestroyRing(m_pEntry); }
    typename RingRange<T>::iterator begin() const { return RingRange<T>(Entry()).begin(); }
    typename RingRange<T>::iterator end() const { return RingRange<T>(Entry()).end(); }

private:
    RingListClass* m_pEntry = nullptr;
};

}  // namespace qv

#pragma once
// The keyword/value pairs of one record, in file order. Only keywords of the
// record's table are held, so a pair keeps its keyword's number instead of a
// copy, and all values of a record share one block. A parameter file holds
// thousands of records and each fresh heap page costs more than reading many
// lines: a pair costs its value's bytes and five more, a default nothing.

#include <cstddef>
#include <cstdint>
#include <memory>

#include "KeywordTable.h"

namespace qv {

class KeywordPairs {
public:
    static constexpr uint32_t kTextLimit = 1u << 25;

    explicit KeywordPairs(const KeywordTable& keywords)
        : m_keywords(keywords), m_nTextRoom(0), m_bDefaultsPending(0), m_bReplaced(0), m_bLent(0) {}
    KeywordPairs(const KeywordPairs&) = delete;
    KeywordPairs& operator=(const KeywordPairs&) = delete;
    ~KeywordPairs() { Clear(); }

    const KeywordTable& Keywords() const { return m_keywords; }

    // While a record is read, its pairs gather in this buffer on the
    // reader's stack; GiveDefaults, or the buffer's end, moves them to a
    // block of their own size. Without it a block grows and is trimmed: one
    // allocation more and one free, for each of thousands of records.
    class ReadBuffer {
    public:
        explicit ReadBuffer(KeywordPairs& pairs);
        ReadBuffer(const ReadBuffer&) = delete;
        ReadBuffer& operator=(const ReadBuffer&) = delete;
        // Pairs still here move out. Without memory for that they are
        // dropped: GiveDefaults has failed and Validate said so, or the read
        // failed anyway.
        ~ReadBuffer();

    private:
        static constexpr size_t kSize = 512;  // a program entry takes about 100
        KeywordPairs& m_pairs;
        alignas(uint32_t) unsigned char m_bytes[kSize];
    };

    // Puts a pair at the end, even when the key has one already. False for a
    // key outside the table or when memory ran out, which is also what a
    // record's values beyond kTextLimit bytes meet; nothing changes then.
    bool Append(int key, const char* value);
    // Every key without a pair takes its default, as pairs after the others
    // in table order. The record is complete now: its block keeps no spare
    // room, and the defaults stay the table's texts until a pair changes.
    // False only when the pairs could not leave a ReadBuffer (memory).
    bool GiveDefaults();
    // The first required keyword whose first value is missing or empty, or null.
    const char* MissingRequired() const;

    // A keyword is looked up in the table (exact, case-sensitive): one that
    // is not there has no pair.
    bool Has(int key) const;
    bool Has(const char* keyword) const { return Has(m_keywords.Find(keyword)); }
    // The first pair's value, or the empty text; valid until the pairs change.
    const char* Value(int key) const;
    const char* Value(const char* keyword) const { return Value(m_keywords.Find(keyword)); }
    // Sets the first pair's value; without one, appends a pair when asked to
    // and the value is not empty. False only when memory ran out.
    bool Update(int key, const char* value, bool appendWhenAbsent);
    bool Update(const char* keyword, const char* value, bool appendWhenAbsent) {
        return Update(m_keywords.Find(keyword), value, appendWhenAbsent);
    }
    int Count() const;
    void Clear();

    // visit(keyword, value) for each pair in order.
    template <class Visit>
    void ForEach(Visit&& visit) const {
        for (uint32_t i = 0; i < m_nCount; ++i) visit(m_keywords.KeyName(Slots()[i].key), SlotValue(Slots()[i]));
        if (!m_bDefaultsPending) return;
        const uint64_t present = Present();
        for (int key = 0; key < m_keywords.Count(); ++key)
            if (!(present >> key & 1)) visit(m_keywords.KeyName(key), m_keywords.DefaultText(key));
    }

private:
    // The block: the slots, one per pair in order, then the values' texts,
    // each with its terminator. A slot of a default names the table's text.
    struct Slot {
        uint32_t offset : 25;
        uint32_t key : 6;
        uint32_t tableDefault : 1;
    };
    // A block given up: freed when it goes (a ReadBuffer's is not held here).
    using OldBlock = std::unique_ptr<unsigned char[]>;

    Slot* Slots() const { return reinterpret_cast<Slot*>(m_pBlock); }
    char* Texts() const { return reinterpret_cast<char*>(m_pBlock + m_nSlotRoom * sizeof(Slot)); }
    const char* SlotValue(const Slot& slot) const {
        return slot.tableDefault ? m_keywords.DefaultText(slot.key) : Texts() + slot.offset;
    }
    // The first slot of the key, or null.
    Slot* FindSlot(int key) const;
    // A bit for each key that has a slot, and one for each key of the table.
    uint64_t Present() const;
    uint64_t AllKeys() const;
    // Bytes of the values that slots name, terminators included.
    uint32_t TextInUse() const;
    // The pending defaults become slots, so that pairs added later come after
    // them. The old block goes to `old`, as for Rebuild.
    bool MakeDefaultsSlots(OldBlock& old);
    // Moves the pairs to a new block with room for slotRoom pairs and
    // textRoom bytes of values, leaving out the texts that were replaced.
    // textRoom is at least m_nTextUsed, or TextInUse() after a replacement.
    // The old block goes to `old`, to be freed once nothing points into it.
    bool Rebuild(uint32_t slotRoom, uint32_t textRoom, OldBlock& old);
    // Room for `slots` more slots and for a text of `length` bytes.
    bool MakeRoom(uint32_t slots, size_t length, OldBlock& old);
    bool SetValue(Slot& slot, const char* value);
    // Pairs in a ReadBuffer move to a block of their own size.
    bool LeaveReadBuffer();

    const KeywordTable& m_keywords;
    unsigned char* m_pBlock = nullptr;  // owned unless m_bLent
    uint32_t m_nCount = 0;
    uint32_t m_nSlotRoom = 0;
    uint32_t m_nTextUsed = 0;
    // Every program entry has these: the flags share a word with the room.
    uint32_t m_nTextRoom : 26;
    uint32_t m_bDefaultsPending : 1;
    // Texts were replaced: the block holds bytes that no slot names.
    uint32_t m_bReplaced : 1;
    uint32_t m_bLent : 1;  // the block is a ReadBuffer's
};

}  // namespace qv

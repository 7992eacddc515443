#include "KeywordPairs.h"

#include <cstring>
#include <new>

namespace qv {

namespace {

// A block that grows starts with this room.
constexpr uint32_t kFirstSlotRoom = 8;
constexpr uint32_t kFirstTextRoom = 256;
// A ReadBuffer's room for slots; the rest of it holds the texts.
constexpr uint32_t kReadBufferSlots = 16;

bool HasBit(uint64_t keys, int key) { return (keys >> key & 1) != 0; }

}  // namespace

KeywordPairs::ReadBuffer::ReadBuffer(KeywordPairs& pairs) : m_pairs(pairs) {
    static_assert(sizeof(Slot) == 4 && kReadBufferSlots * sizeof(Slot) < kSize);
    static_assert(KeywordTable::kMaxKeys <= 64 && kTextLimit <= 1u << 25);
    if (m_pairs.m_pBlock) return;  // pairs of before stay where they are
    m_pairs.m_pBlock = m_bytes;
    m_pairs.m_bLent = 1;
    m_pairs.m_nSlotRoom = kReadBufferSlots;
    m_pairs.m_nTextUsed = 0;
    m_pairs.m_nTextRoom = kSize - kReadBufferSlots * sizeof(Slot);
}

KeywordPairs::ReadBuffer::~ReadBuffer() {
    if (m_pairs.m_bLent && m_pairs.m_pBlock == m_bytes && !m_pairs.LeaveReadBuffer()) m_pairs.Clear();
}

KeywordPairs::Slot* KeywordPairs::FindSlot(int key) const {
    for (uint32_t i = 0; i < m_nCount; ++i)
        if (Slots()[i].key == key) return &Slots()[i];
    return nullptr;
}

uint64_t KeywordPairs::Present() const {
    uint64_t present = 0;
    for (uint32_t i = 0; i < m_nCount; ++i) present |= uint64_t{1} << Slots()[i].key;
    return present;
}

uint64_t KeywordPairs::AllKeys() const {
    return m_keywords.Count() >= 64 ? ~uint64_t{0} : (uint64_t{1} << m_keywords.Count()) - 1;
}

uint32_t KeywordPairs::TextInUse() const {
    uint32_t used = 0;
    for (uint32_t i = 0; i < m_nCount; ++i)
        if (!Slots()[i].tableDefault) used += static_cast<uint32_t>(std::strlen(Texts() + Slots()[i].offset)) + 1;
    return used;
}

bool KeywordPairs::Rebuild(uint32_t slotRoom, uint32_t textRoom, OldBlock& old) {
    std::unique_ptr<unsigned char[]> block;
    if (slotRoom > 0 || textRoom > 0) {
        block.reset(new (std::nothrow) unsigned char[size_t{slotRoom} * sizeof(Slot) + textRoom]);
        if (!block) return false;
    }
    Slot* slots = reinterpret_cast<Slot*>(block.get());
    char* texts = reinterpret_cast<char*>(block.get() + size_t{slotRoom} * sizeof(Slot));
    uint32_t used = m_nTextUsed;
    if (m_nCount > 0) std::memcpy(slots, Slots(), m_nCount * sizeof(Slot));
    if (!m_bReplaced) {
        if (used > 0) std::memcpy(texts, Texts(), used);
    } else {
        used = 0;
        for (uint32_t i = 0; i < m_nCount; ++i) {
            if (slots[i].tableDefault) continue;
            const char* text = Texts() + slots[i].offset;
            const uint32_t size = static_cast<uint32_t>(std::strlen(text)) + 1;
            std::memcpy(texts + used, text, size);
            slots[i].offset = used;
            used += size;
        }
        m_bReplaced = 0;
    }
    // A ReadBuffer's bytes stay valid until its reader goes.
    if (!m_bLent) old.reset(m_pBlock);
    m_pBlock = block.release();
    m_bLent = 0;
    m_nSlotRoom = slotRoom;
    m_nTextUsed = used;
    m_nTextRoom = textRoom;
    return true;
}

bool KeywordPairs::MakeRoom(uint32_t slots, size_t length, OldBlock& old) {
    if (length >= kTextLimit || m_nCount + slots > kTextLimit) return false;
    const uint32_t size = static_cast<uint32_t>(length) + 1;
    if (m_nCount + slots <= m_nSlotRoom && m_nTextUsed + size <= m_nTextRoom) return true;
    // Twice what is needed, so that pairs added one by one move the block a
    // few times only; replaced texts are left out and do not count.
    uint32_t slotRoom = m_nSlotRoom;
    if (m_nCount + slots > slotRoom) slotRoom = m_nCount + slots <= kFirstSlotRoom ? kFirstSlotRoom : 2 * (m_nCount + slots);
    uint32_t textRoom = m_nTextRoom;
    if (m_nTextUsed + size > textRoom) {
        const uint32_t needed = (m_bReplaced ? TextInUse() : m_nTextUsed) + size;
        if (needed > kTextLimit) return false;
        textRoom = needed <= kFirstTextRoom ? kFirstTextRoom : needed > kTextLimit / 2 ? kTextLimit : 2 * needed;
    }
    return Rebuild(slotRoom, textRoom, old);
}

bool KeywordPairs::LeaveReadBuffer() {
    if (!m_bLent) return true;
    OldBlock old;
    return Rebuild(m_nCount, m_bReplaced ? TextInUse() : m_nTextUsed, old);
}

bool KeywordPairs::Append(int key, const char* value) {
    if (key < 0 || key >= m_keywords.Count()) return false;
    if (!value) value = "";
    // Blocks given up here are freed after the copy: value may lie in them.
    OldBlock beforeDefaults, old;
    if (m_bDefaultsPending && !MakeDefaultsSlots(beforeDefaults)) return false;
    const size_t length = std::strlen(value);
    if (!MakeRoom(1, length, old)) return false;
    std::memcpy(Texts() + m_nTextUsed, value, length + 1);
    Slots()[m_nCount++] = Slot{m_nTextUsed, static_cast<uint32_t>(key), 0};
    m_nTextUsed += static_cast<uint32_t>(length) + 1;
    return true;
}

bool KeywordPairs::GiveDefaults() {
    if (Present() != AllKeys()) m_bDefaultsPending = 1;
    if (m_bLent) return LeaveReadBuffer();
    const uint32_t textRoom = m_bReplaced ? TextInUse() : m_nTextUsed;
    if (m_nCount == m_nSlotRoom && textRoom == m_nTextRoom) return true;
    OldBlock old;
    Rebuild(m_nCount, textRoom, old);  // when it fails, the spare room stays
    return true;
}

bool KeywordPairs::MakeDefaultsSlots(OldBlock& old) {
    const uint64_t present = Present();
    uint32_t missing = 0;
    for (int key = 0; key < m_keywords.Count(); ++key) missing += !HasBit(present, key);
    if (!MakeRoom(missing, 0, old)) return false;
    for (int key = 0; key < m_keywords.Count(); ++key)
        if (!HasBit(present, key)) Slots()[m_nCount++] = Slot{0, static_cast<uint32_t>(key), 1};
    m_bDefaultsPending = 0;
    return true;
}

const char* KeywordPairs::MissingRequired() const {
    for (int key = 0; key < m_keywords.Count(); ++key)
        if (m_keywords.Required(key) && !*Value(key)) return m_keywords.KeyName(key);
    return nullptr;
}

bool KeywordPairs::Has(int key) const {
    if (key < 0 || key >= m_keywords.Count()) return false;
    return m_bDefaultsPending || FindSlot(key);
}

const char* KeywordPairs::Value(int key) const {
    if (key < 0 || key >= m_keywords.Count()) return "";
    if (const Slot* slot = FindSlot(key)) return SlotValue(*slot);
    return m_bDefaultsPending ? m_keywords.DefaultText(key) : "";
}

bool KeywordPairs::SetValue(Slot& slot, const char* value) {
    const char* current = SlotValue(slot);
    if (std::strcmp(current, value) == 0) return true;
    const size_t length = std::strlen(value);
    if (!slot.tableDefault) m_bReplaced = 1;
    if (!slot.tableDefault && length <= std::strlen(current)) {
        std::memmove(Texts() + slot.offset, value, length + 1);
        return true;
    }
    const size_t index = &slot - Slots();
    OldBlock old;  // freed after the copy: value may lie in it
    if (!MakeRoom(0, length, old)) return false;
    std::memcpy(Texts() + m_nTextUsed, value, length + 1);
    Slots()[index].offset = m_nTextUsed;
    Slots()[index].tableDefault = 0;
    m_nTextUsed += static_cast<uint32_t>(length) + 1;
    return true;
}

bool KeywordPairs::Update(int key, const char* value, bool appendWhenAbsent) {
    if (key < 0 || key >= m_keywords.Count()) return true;  // nothing of it is kept
    if (!value) value = "";
    if (Slot* slot = FindSlot(key)) return SetValue(*slot, value);
    if (m_bDefaultsPending) {
        OldBlock old;  // freed after the copy: value may lie in it
        return MakeDefaultsSlots(old) && SetValue(*FindSlot(key), value);
    }
    if (!appendWhenAbsent || !*value) return true;
    return Append(key, value);
}

int KeywordPairs::Count() const {
    int count = static_cast<int>(m_nCount);
    if (m_bDefaultsPending) {
        const uint64_t present = Present();
        for (int key = 0; key < m_keywords.Count(); ++key) count += !HasBit(present, key);
    }
    return count;
}

void KeywordPairs::Clear() {
    if (!m_bLent) delete[] m_pBlock;
    m_pBlock = nullptr;
    m_nCount = m_nSlotRoom = m_nTextUsed = m_nTextRoom = 0;
    m_bDefaultsPending = m_bReplaced = m_bLent = 0;
}

}  // namespace qv

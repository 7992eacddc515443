#include "PipeFormat.h"

#include <cstdio>
#include <cstring>

#include "Sjis.h"

namespace qv {

namespace {

std::string Int32Bytes(uint32_t value) {
    char bytes[4] = {static_cast<char>(value & 0xFF), static_cast<char>((value >> 8) & 0xFF),
                     static_cast<char>((value >> 16) & 0xFF), static_cast<char>((value >> 24) & 0xFF)};
    return std::string(bytes, sizeof(bytes));
}

bool ReadUInt32(ByteSource& source, uint32_t* value) {
    unsigned char bytes[4];
    if (!ReadExact(source, bytes, sizeof(bytes))) return false;
    *value = static_cast<uint32_t>(bytes[0]) | static_cast<uint32_t>(bytes[1]) << 8 |
             static_cast<uint32_t>(bytes[2]) << 16 | static_cast<uint32_t>(bytes[3]) << 24;
    return true;
}

bool ReadInt32(ByteSource& source, int32_t* value) {
    uint32_t raw;
    if (!ReadUInt32(source, &raw)) return false;
    *value = static_cast<int32_t>(raw);
    return true;
}

// The length is checked before a byte of the text is read, so an absurd
// length costs nothing and a text can never run past the buffer.
bool ReadCountedText(ByteSource& source, std::string* text) {
    uint32_t length;
    if (!ReadUInt32(source, &length)) return false;
    if (length == 0 || length > kCountedTextMax) return false;
    char buffer[kCountedTextMax];
    if (!ReadExact(source, buffer, length)) return false;
    if (buffer[length - 1] != '\0') return false;
    text->assign(buffer);  // an inner NUL ends the text early, as it would for any C reader
    return true;
}

}  // namespace

uint32_t PipeBufferSize(PipeQuestion question) { return question == PipeQuestion::kBitmap ? 8192 : 64; }

void PipeReply::AddInt32(int32_t value) { m_fields.push_back(Int32Bytes(static_cast<uint32_t>(value))); }

void PipeReply::AddText(const char* text) { m_fields.emplace_back(text, std::strlen(text) + 1); }

void PipeReply::AddCountedText(const char* text) {
    size_t length = std::strlen(text) + 1;
    m_fields.push_back(Int32Bytes(static_cast<uint32_t>(length)));
    m_fields.emplace_back(text, length);
}

void PipeReply::AddBytes(const void* data, size_t size) {
    m_fields.emplace_back(static_cast<const char*>(data), size);
}

std::string PipeReply::Bytes() const {
    std::string all;
    for (const std::string& field : m_fields) all += field;
    return all;
}

std::string DecimalText(int value) {
    char text[16];
    std::snprintf(text, sizeof(text), "%d", value);
    return text;
}

PipeReply NumberOfDesktopsReply(int count) { return TextReply(DecimalText(count).c_str()); }

PipeReply TextReply(const char* text) {
    PipeReply reply;
    reply.AddText(text);
    return reply;
}

PipeReply InformationReply(int32_t currentIndex, const std::vector<DesktopRecord>& desktops) {
    PipeReply reply;
    reply.AddInt32(static_cast<int32_t>(desktops.size()));
    reply.AddInt32(currentIndex);
    for (const DesktopRecord& desktop : desktops) {
        reply.AddCountedText(desktop.id.c_str());
        reply.AddInt32(desktop.width);
        reply.AddInt32(desktop.height);
        reply.AddCountedText(desktop.name.c_str());
    }
    return reply;
}

bool ReadExact(ByteSource& source, void* buffer, size_t size) {
    char* at = static_cast<char*>(buffer);
    while (size > 0) {
        size_t got = source.ReadSome(at, size);
        if (got == 0 || got > size) return false;
        at += got;
        size -= got;
    }
    return true;
}

const DesktopRecord* DesktopInformation::Current() const {
    for (const DesktopRecord& desktop : desktops)
        if (desktop.index == currentIndex) return &desktop;
    return nullptr;
}

const DesktopRecord* DesktopInformation::FindById(const char* id) const {
    for (const DesktopRecord& desktop : desktops)
        if (desktop.id == id) return &desktop;
    return nullptr;
}

QueryResult ReadInformation(ByteSource& source, DesktopInformation* info) {
    *info = DesktopInformation();
    uint32_t count;
    int32_t current;
    if (!ReadUInt32(source, &count) || !ReadInt32(source, &current)) return QueryResult::kCommunicationError;
    info->headerRead = true;
    info->count = count;
    info->currentIndex = current;
    if (count > kMaxDesktopRecords) return QueryResult::kCommunicationError;

    for (uint32_t i = 0; i < count; ++i) {
        DesktopRecord desktop;
        if (!ReadCountedText(source, &desktop.id) || !ReadInt32(source, &desktop.width) ||
            !ReadInt32(source, &desktop.height) || !ReadCountedText(source, &desktop.name))
            return QueryResult::kCommunicationError;
        if (desktop.name.empty()) desktop.name = desktop.id;
        desktop.index = static_cast<int32_t>(i);
        info->desktops.push_back(std::move(desktop));
    }
    return QueryResult::kOk;
}

QueryResult ReadSingleText(ByteSource& source, std::string* text) {
    char buffer[kSingleTextMax];
    size_t got = 0;
    // One read normally brings the whole text, as the daemon writes it at
    // once; further reads only complete a text that arrived in pieces.
    while (got < sizeof(buffer)) {
        size_t n = source.ReadSome(buffer + got, sizeof(buffer) - got);
        if (n == 0 || n > sizeof(buffer) - got) break;
        bool ended = std::memchr(buffer + got, '\0', n) != nullptr;
        got += n;
        if (ended) break;
    }
    if (const char* end = static_cast<const char*>(std::memchr(buffer, '\0', got))) {
        text->assign(buffer, static_cast<size_t>(end - buffer));
        return QueryResult::kOk;
    }
    if (got < sizeof(buffer)) return QueryResult::kCommunicationError;
    text->assign(buffer, SjisCutLength(buffer, sizeof(buffer) - 1));
    return QueryResult::kOk;
}

size_t SjisCutLength(const char* text, size_t limit) {
    size_t i = 0;
    while (i < limit) {
        size_t step = IsSjisLead(static_cast<unsigned char>(text[i])) ? 2 : 1;
        if (i + step > limit) break;
        i += step;
    }
    return i;
}

}  // namespace qv

#include "PipeFormat.h"

#include <cstdio>
#include <cstring>
#include <memory>
#include <new>

#include "Sjis.h"

namespace qv {

namespace {

std::string Int32Bytes(uint32_t value) {
    char bytes[4] = {static_cast<char>(value & 0xFF), static_cast<char>((value >> 8) & 0xFF),
                     static_cast<char>((value >> 16) & 0xFF), static_cast<char>((value >> 24) & 0xFF)};
    return std::string(bytes, sizeof(bytes));
}

void PutUInt16(std::string* bytes, size_t at, uint16_t value) {
    (*bytes)[at] = static_cast<char>(value & 0xFF);
    (*bytes)[at + 1] = static_cast<char>(value >> 8);
}

void PutUInt32(std::string* bytes, size_t at, uint32_t value) {
    PutUInt16(bytes, at, static_cast<uint16_t>(value & 0xFFFF));
    PutUInt16(bytes, at + 2, static_cast<uint16_t>(value >> 16));
}

uint32_t GetUInt32(const unsigned char* bytes) {
    return static_cast<uint32_t>(bytes[0]) | static_cast<uint32_t>(bytes[1]) << 8 |
           static_cast<uint32_t>(bytes[2]) << 16 | static_cast<uint32_t>(bytes[3]) << 24;
}

uint16_t GetUInt16(const unsigned char* bytes) { return static_cast<uint16_t>(bytes[0] | bytes[1] << 8); }

// Everything a reader relies on before it allocates: a block the daemon
// could have written for a snapshot that a screen could have given.
bool ParseBitmapInfo(const unsigned char* block, uint32_t chunkSize, BitmapShape* shape) {
    const auto width = static_cast<int32_t>(GetUInt32(block + 4));
    const auto height = static_cast<int32_t>(GetUInt32(block + 8));
    if (GetUInt32(block) != 40 || GetUInt16(block + 12) != 1 || GetUInt16(block + 14) != 24 ||
        GetUInt32(block + 16) != 0)  // BI_RGB: the rows are plain pixels
        return false;
    if (width < 1 || width > kBitmapMaxSide || height < 1 || height > kBitmapMaxSide) return false;
    if (int64_t(width) * height > kBitmapMaxPixels) return false;
    if (chunkSize != BitmapChunkSize(width)) return false;
    shape->width = width;
    shape->height = height;
    shape->chunkSize = chunkSize;
    return true;
}

bool ReadUInt32(ByteSource& source, uint32_t* value) {
    unsigned char bytes[4];
    if (!ReadExact(source, bytes, sizeof(bytes))) return false;
    *value = GetUInt32(bytes);
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

uint32_t BitmapChunkSize(int32_t width) { return 3 * static_cast<uint32_t>(width) + kBitmapChunkSlack; }

size_t BitmapLineBytes(int32_t width) { return (3 * static_cast<size_t>(width) + 3) & ~size_t(3); }

PipeReply NoBitmapReply(const char* reason) {
    PipeReply reply;
    reply.AddInt32(0);
    if (reason) reply.AddText(reason);
    return reply;
}

std::string BitmapInfoBlock(int32_t width, int32_t height) {
    std::string block(kBitmapInfoSize, '\0');
    PutUInt32(&block, 0, 40);  // biSize
    PutUInt32(&block, 4, static_cast<uint32_t>(width));
    PutUInt32(&block, 8, static_cast<uint32_t>(height));  // positive: bottom-up
    PutUInt16(&block, 12, 1);   // biPlanes
    PutUInt16(&block, 14, 24);  // biBitCount; biCompression BI_RGB and biClrUsed stay 0
    return block;
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

QueryResult ReadBitmap(ByteSource& source, BitmapLineSink& sink, int32_t* linesRead) {
    if (linesRead) *linesRead = 0;
    uint32_t chunkSize;
    if (!ReadUInt32(source, &chunkSize)) return QueryResult::kSizeNotRead;
    // Whatever follows a zero size only says why; it is left unread.
    if (chunkSize == 0) return QueryResult::kNoBitmap;
    if (chunkSize > BitmapChunkSize(kBitmapMaxSide)) return QueryResult::kCommunicationError;
    unsigned char block[kBitmapInfoSize];
    if (!ReadExact(source, block, sizeof(block))) return QueryResult::kInfoNotRead;
    BitmapShape shape;
    if (!ParseBitmapInfo(block, chunkSize, &shape)) return QueryResult::kCommunicationError;

    std::unique_ptr<unsigned char[]> chunk(new (std::nothrow) unsigned char[chunkSize]);
    if (!chunk || !sink.Begin(shape)) return QueryResult::kNoMemory;
    int32_t line = 0;
    for (; line < shape.height; ++line) {
        if (!ReadExact(source, chunk.get(), chunkSize)) break;
        sink.Line(line, chunk.get());
    }
    if (linesRead) *linesRead = line;
    return line == shape.height ? QueryResult::kOk : QueryResult::kCommunicationError;
}

bool BitmapLines::Begin(const BitmapShape& newShape) {
    shape = newShape;
    lines.clear();
    return true;
}

// ReadBitmap hands the lines over in order from 0, so the number is their place.
void BitmapLines::Line(int32_t, const unsigned char* chunk) {
    lines.emplace_back(reinterpret_cast<const char*>(chunk), BitmapLineBytes(shape.width));
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

#include "PipeFormat.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

namespace {

using qv::DesktopInformation;
using qv::QueryResult;

// Hands out at most chunk bytes per read and counts what was taken, so the
// readers are seen to cope with short reads and to take no more than they may.
class ChunkSource : public qv::ByteSource {
public:
    explicit ChunkSource(std::string bytes, size_t chunk = SIZE_MAX) : m_bytes(std::move(bytes)), m_chunk(chunk) {}
    size_t ReadSome(void* buffer, size_t size) override {
        size_t n = std::min({size, m_chunk, m_bytes.size() - taken});
        std::copy_n(m_bytes.data() + taken, n, static_cast<char*>(buffer));
        taken += n;
        return n;
    }
    size_t taken = 0;

private:
    std::string m_bytes;
    size_t m_chunk;
};

std::string Le32(uint32_t v) { return {char(v), char(v >> 8), char(v >> 16), char(v >> 24)}; }
std::string Counted(const std::string& bytes) { return Le32(uint32_t(bytes.size())) + bytes; }
std::string Record(const std::string& id, int32_t w, int32_t h, const std::string& name) {
    return Counted(id + '\0') + Le32(w) + Le32(h) + Counted(name + '\0');
}

const std::vector<qv::DesktopRecord> kThree = {
    {"User_Desktop0", 1024, 768, "仕事", 0},
    {"User_Desktop1", 800, 600, "", 0},
    {"User_Desktop2", 1280, 1024, "Desktop2", 0},
};

TEST(PipeFormat, RepliesAreWrittenFieldByField) {
    EXPECT_EQ(qv::NumberOfDesktopsReply(3).Bytes(), std::string("\x33\x00", 2));
    EXPECT_EQ(qv::NumberOfDesktopsReply(-12).Bytes(), std::string("-12\0", 4));
    EXPECT_EQ(qv::TextReply("表示").Bytes(), std::string("\x95\x5C\x8E\xA6\0", 5));  // CP932, 0x5C trail and all
    EXPECT_EQ(qv::TextReply("").Bytes(), std::string(1, '\0'));

    qv::PipeReply info = qv::InformationReply(1, kThree);
    EXPECT_EQ(info.Bytes(), Le32(3) + Le32(1) + Record("User_Desktop0", 1024, 768, "仕事") +
                                Record("User_Desktop1", 800, 600, "") + Record("User_Desktop2", 1280, 1024, "Desktop2"));
    // One write per integer and per text, so each of the reader's exact-size
    // reads meets one write.
    std::vector<size_t> sizes;
    for (const std::string& f : info.Fields()) sizes.push_back(f.size());
    sizes.resize(8);
    EXPECT_EQ(sizes, (std::vector<size_t>{4, 4, 4, 14, 4, 4, 4, 5}));
}

TEST(PipeFormat, InformationReadsBackWhateverTheChunking) {
    for (size_t chunk : {size_t(1), size_t(3), SIZE_MAX}) {
        ChunkSource source(qv::InformationReply(1, kThree).Bytes(), chunk);
        DesktopInformation info;
        ASSERT_EQ(qv::ReadInformation(source, &info), QueryResult::kOk) << chunk;
        ASSERT_EQ(info.desktops.size(), 3u);
        for (int i = 0; i < 3; ++i) {
            EXPECT_EQ(info.desktops[i].index, i);
            EXPECT_EQ(info.desktops[i].id, kThree[i].id);
            EXPECT_EQ(info.desktops[i].height, kThree[i].height);
        }
        EXPECT_EQ(info.desktops[0].name, "仕事");
        EXPECT_EQ(info.desktops[1].name, "User_Desktop1");  // no name: listed under its DesktopID
        ASSERT_NE(info.Current(), nullptr);
        EXPECT_EQ(info.Current()->index, 1);
        EXPECT_EQ(info.FindById("User_Desktop2"), &info.desktops[2]);
        EXPECT_EQ(info.FindById("user_desktop2"), nullptr);
        EXPECT_EQ(info.FindById("Desktop2"), nullptr);  // a name is not an id
    }
}

TEST(PipeFormat, BrokenInformationKeepsOnlyWholeRecords) {
    const std::string head1 = Le32(1) + Le32(0), head2 = Le32(2) + Le32(0);
    const std::string good = Record("User_Desktop0", 640, 480, "a"), fits(qv::kCountedTextMax - 1, 'L');
    const std::string sizes = Le32(1) + Le32(1), noName = Counted(std::string(1, '\0'));
    const struct {
        const char* what;
        std::string bytes;
        bool ok, header;
        size_t records;
    } cases[] = {
        {"nothing", "", false, false, 0},
        {"half a header", Le32(1), false, false, 0},
        {"header only", head2, false, true, 0},
        {"cut inside the second id", head2 + good + Le32(14) + "User_D", false, true, 1},
        {"cut before the second name", head2 + good + Counted(std::string("X\0", 2)) + sizes, false, true, 1},
        {"id beyond the buffer", head1 + Counted(std::string(qv::kCountedTextMax + 1, '\0')) + sizes + noName, false, true, 0},
        {"length with the top bit set", head1 + Le32(0x80000002) + "A", false, true, 0},
        {"length 0 leaves no room for the NUL", head1 + Le32(0) + sizes + noName, false, true, 0},
        {"id without its NUL", head1 + Counted("ABC") + sizes + noName, false, true, 0},
        {"name without its NUL", head2 + good + Counted(std::string("B\0", 2)) + sizes + Counted("Name"), false, true, 1},
        {"a count no ring can have", Le32(0xFFFFFFFF) + Le32(0) + good, false, true, 0},
        {"the longest texts that fit", head1 + Record(fits, 1, 1, fits), true, true, 1},
        {"bytes after the last record", head1 + good + "more", true, true, 1},
    };
    for (const auto& c : cases) {
        ChunkSource source(c.bytes);
        DesktopInformation info;
        EXPECT_EQ(qv::ReadInformation(source, &info), c.ok ? QueryResult::kOk : QueryResult::kCommunicationError)
            << c.what;
        EXPECT_EQ(info.headerRead, c.header) << c.what;
        EXPECT_EQ(info.desktops.size(), c.records) << c.what;
    }
    // An oversized length is refused before any of its bytes is taken.
    ChunkSource oversized(head1 + Le32(qv::kCountedTextMax + 1) + std::string(400, 'x'));
    DesktopInformation info;
    qv::ReadInformation(oversized, &info);
    EXPECT_EQ(oversized.taken, 12u);
}

TEST(PipeFormat, SingleTextEndsAtItsNulInsideTheBuffer) {
    const struct {
        const char* what;
        std::string bytes;
        size_t chunk;
        bool ok;
        std::string text;
    } cases[] = {
        {"number", std::string("3\0", 2), SIZE_MAX, true, "3"},
        {"empty text", std::string(1, '\0'), SIZE_MAX, true, ""},
        {"byte by byte", std::string("User_Desktop1\0", 14), 1, true, "User_Desktop1"},
        {"an inner NUL ends it", std::string("ab\0cd\0", 6), SIZE_MAX, true, "ab"},
        {"127 bytes and the NUL fill the buffer", std::string(127, 'n') + '\0', SIZE_MAX, true, std::string(127, 'n')},
        {"a longer text is cut", std::string(200, 'z') + '\0', SIZE_MAX, true, std::string(127, 'z')},
        {"the cut never splits a double-byte character", std::string(126, 'a') + "\x95\x5C" "b" + '\0', 5, true,
         std::string(126, 'a')},
        {"no bytes", "", SIZE_MAX, false, ""},
        {"ends before its NUL", "User_Desk", SIZE_MAX, false, ""},
    };
    for (const auto& c : cases) {
        ChunkSource source(c.bytes, c.chunk);
        std::string text;
        QueryResult result = qv::ReadSingleText(source, &text);
        EXPECT_EQ(result, c.ok ? QueryResult::kOk : QueryResult::kCommunicationError) << c.what;
        EXPECT_EQ(text, c.text) << c.what;
        EXPECT_LE(source.taken, qv::kSingleTextMax) << c.what;
    }
}

// A snapshot reply as any writer could shape it: chunk size S, the 44-byte
// block with the given fields, then the given chunks.
struct BitmapReplyBytes {
    uint32_t chunkSize;
    int32_t width, height;
    uint32_t headerSize = 40;
    uint16_t planes = 1, bits = 24;
    uint32_t compression = 0;

    std::string Head() const {
        std::string block =
            Le32(headerSize) + Le32(width) + Le32(height) + Le16(planes) + Le16(bits) + Le32(compression);
        return Le32(chunkSize) + block + std::string(44 - block.size(), '\x7F');  // meaningless fields: any bytes do
    }
    static std::string Le16(uint16_t v) { return {char(v), char(v >> 8)}; }
};

// Line i of a w-pixel snapshot: pixel x has the colour (x, i, x ^ i) and the
// filler after the pixels is 0xEE, so a shifted or swapped line shows.
std::string Chunk(int32_t w, int32_t i) {
    std::string chunk(3 * w + 256, '\xEE');
    for (int32_t x = 0; x < w; ++x) {
        chunk[3 * x] = char(x);
        chunk[3 * x + 1] = char(i);
        chunk[3 * x + 2] = char(x ^ i);
    }
    return chunk;
}

std::string Chunks(int32_t w, int32_t count) {
    std::string all;
    for (int32_t i = 0; i < count; ++i) all += Chunk(w, i);
    return all;
}

TEST(PipeFormat, ABitmapIsRefusedWithoutTheReasonBeingRead) {
    EXPECT_EQ(qv::NoBitmapReply(nullptr).Bytes(), std::string(4, '\0'));
    EXPECT_EQ(qv::NoBitmapReply(qv::kNotCapturedText).Bytes(), std::string("\0\0\0\0Not Captured\0", 17));
    EXPECT_EQ(qv::NoBitmapReply(qv::kMemoryErrorText).Bytes(), std::string("\0\0\0\0Memory Error.\0", 18));
    EXPECT_EQ(qv::NoBitmapReply(qv::kMemoryErrorText).Fields().size(), 2u);
    for (const char* reason : {static_cast<const char*>(nullptr), qv::kNotCapturedText, qv::kMemoryErrorText}) {
        ChunkSource source(qv::NoBitmapReply(reason).Bytes());
        qv::BitmapLines lines;
        EXPECT_EQ(qv::ReadBitmap(source, lines), QueryResult::kNoBitmap);
        EXPECT_EQ(source.taken, 4u);
    }
}

TEST(PipeFormat, BitmapLinesArriveWholeWhateverTheChunking) {
    // 3 pixels: 9 bytes of pixels, 12 with the DIB padding, 265 per chunk.
    const BitmapReplyBytes reply{265, 3, 4};
    const std::string bytes = reply.Head() + Chunks(3, 4) + "trailing";
    for (size_t chunk : {size_t(1), size_t(7), SIZE_MAX}) {
        ChunkSource source(bytes, chunk);
        qv::BitmapLines lines;
        int32_t read = -1;
        ASSERT_EQ(qv::ReadBitmap(source, lines, &read), QueryResult::kOk) << chunk;
        EXPECT_EQ(read, 4);
        EXPECT_EQ(source.taken, 4u + 44u + 4u * 265u);  // nothing after the last line
        EXPECT_EQ(lines.shape.width, 3);
        EXPECT_EQ(lines.shape.height, 4);
        ASSERT_EQ(lines.lines.size(), 4u);
        for (int32_t i = 0; i < 4; ++i) EXPECT_EQ(lines.lines[i], Chunk(3, i).substr(0, 12)) << i;
    }
    EXPECT_EQ(qv::BitmapChunkSize(256), 1024u);
}

TEST(PipeFormat, AMalformedBitmapIsRefusedBeforeAnythingIsMadeForIt) {
    const uint32_t widest = 3 * 32767 + 256;
    const struct {
        const char* what;
        std::string bytes;
        QueryResult result;
        bool begun;      // the sink was asked to make room
        int32_t lines;   // lines delivered
        size_t taken;    // bytes taken from the source
    } cases[] = {
        {"nothing", "", QueryResult::kSizeNotRead, false, 0, 0},
        {"half a size", "\x04\x01", QueryResult::kSizeNotRead, false, 0, 2},
        {"size beyond the widest screen", BitmapReplyBytes{widest + 3, 32768, 1}.Head(),
         QueryResult::kCommunicationError, false, 0, 4},
        {"block cut short", BitmapReplyBytes{1024, 256, 192}.Head().substr(0, 30), QueryResult::kInfoNotRead, false, 0,
         30},
        {"size that disagrees with the width", BitmapReplyBytes{1024, 255, 192}.Head() + Chunks(255, 2),
         QueryResult::kCommunicationError, false, 0, 48},
        {"zero width", BitmapReplyBytes{256, 0, 192}.Head(), QueryResult::kCommunicationError, false, 0, 48},
        {"negative width", BitmapReplyBytes{3 * -50 + 256, -50, 1}.Head(), QueryResult::kCommunicationError, false, 0,
         48},
        {"zero height", BitmapReplyBytes{1024, 256, 0}.Head(), QueryResult::kCommunicationError, false, 0, 48},
        {"top-down height", BitmapReplyBytes{1024, 256, -192}.Head() + Chunks(256, 1), QueryResult::kCommunicationError,
         false, 0, 48},
        {"height beyond any screen", BitmapReplyBytes{1024, 256, 32768}.Head(), QueryResult::kCommunicationError, false,
         0, 48},
        {"both sides at the limit", BitmapReplyBytes{widest, 32767, 32767}.Head(), QueryResult::kCommunicationError,
         false, 0, 48},
        {"a larger header", [] { BitmapReplyBytes r{1024, 256, 1}; r.headerSize = 124; return r.Head(); }(),
         QueryResult::kCommunicationError, false, 0, 48},
        {"two planes", [] { BitmapReplyBytes r{1024, 256, 1}; r.planes = 2; return r.Head(); }(),
         QueryResult::kCommunicationError, false, 0, 48},
        {"32 bits", [] { BitmapReplyBytes r{1024, 256, 1}; r.bits = 32; return r.Head(); }(),
         QueryResult::kCommunicationError, false, 0, 48},
        {"compressed", [] { BitmapReplyBytes r{1024, 256, 1}; r.compression = 1; return r.Head(); }(),
         QueryResult::kCommunicationError, false, 0, 48},
        // Accepted shapes whose lines do not all come: the whole ones stay.
        {"no lines", BitmapReplyBytes{1024, 256, 192}.Head(), QueryResult::kCommunicationError, true, 0, 48},
        {"cut inside the third line",
         BitmapReplyBytes{1024, 256, 192}.Head() + Chunks(256, 2) + Chunk(256, 2).substr(0, 1000),
         QueryResult::kCommunicationError, true, 2, 48 + 2048 + 1000},
        {"largest area allowed", BitmapReplyBytes{3 * 8192 + 256, 8192, 8192}.Head(), QueryResult::kCommunicationError,
         true, 0, 48},
        {"one pixel", BitmapReplyBytes{259, 1, 1}.Head() + Chunk(1, 0), QueryResult::kOk, true, 1, 48 + 259},
    };
    for (const auto& c : cases) {
        ChunkSource source(c.bytes);
        qv::BitmapLines lines;
        int32_t read = -1;
        EXPECT_EQ(qv::ReadBitmap(source, lines, &read), c.result) << c.what;
        EXPECT_EQ(lines.shape.chunkSize != 0, c.begun) << c.what;
        EXPECT_EQ(read, c.lines) << c.what;
        EXPECT_EQ(lines.lines.size(), size_t(c.lines)) << c.what;
        EXPECT_EQ(source.taken, c.taken) << c.what;
    }

    // A sink that has no room stops the reading before the first line.
    struct Full : qv::BitmapLines {
        bool Begin(const qv::BitmapShape&) override { return false; }
    } full;
    ChunkSource source(BitmapReplyBytes{1024, 256, 2}.Head() + Chunks(256, 2));
    EXPECT_EQ(qv::ReadBitmap(source, full), QueryResult::kNoMemory);
    EXPECT_TRUE(full.lines.empty());
    EXPECT_EQ(source.taken, 48u);
}

}  // namespace

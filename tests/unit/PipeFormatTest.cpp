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

}  // namespace

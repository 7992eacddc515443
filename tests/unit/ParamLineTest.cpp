#include "ParamLine.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "TestFiles.h"

namespace {

struct SplitCase {
    const char* line;
    const char* key;
    const char* value;
};

TEST(SplitLine, CutsKeywordAndValue) {
    const SplitCase cases[] = {
        {"Key\tValue\n", "Key", "Value"},
        {"\t\tKey\t\tValue", "Key", "Value"},
        {"Key  Value", "Key", " Value"},  // blanks after the first are kept
        {"Key\t a b  c \t\r\n", "Key", " a b  c"},
        {"Key\t   \t\n", "Key", ""},        // only blanks after the tab
        {"Key", "Key", ""},
        {"", "", ""},
        {" \t \r\n", "", ""},
        {"\t}", "}", ""},
        {"Name\t}", "Name", "}"},
        {"\x95\\\x8E\xA6\t\x8E\x86", "\x95\\\x8E\xA6", "\x8E\x86"},  // Shift-JIS belongs to words
        {"K\x01\x02V", "K", "V"},                                      // control bytes separate too
        {"\x01Key\tV", "", "Key\tV"},
    };
    for (const auto& c : cases) {
        std::vector<char> buf(c.line, c.line + std::char_traits<char>::length(c.line) + 1);
        char* key = nullptr;
        char* value = nullptr;
        qv::SplitLine(buf.data(), &key, &value);
        EXPECT_STREQ(key, c.key) << '"' << c.line << '"';
        EXPECT_STREQ(value, c.value) << '"' << c.line << '"';
        EXPECT_TRUE(key >= buf.data() && key < buf.data() + buf.size());
        EXPECT_TRUE(value >= buf.data() && value < buf.data() + buf.size());
    }
}

TEST(ParamReader, ClassifiesLinesAndSkipsFirstColumnComments) {
    qvtest::TempDir dir;
    qvtest::TextInput in(dir,
                         ";comment\r\n#comment\r\n'comment\r\n"
                         "\t;indented\r\n"
                         "Class::RingListClass\t{\r\n"
                         "Key\tValue\r\n"
                         "\r\n"
                         "Key\t}\r\n"
                         "}\tignored\r\n"
                         "--EOF--\t{\r\n");
    qv::ParamReader reader(in.get());
    struct {
        qv::ParamReader::Kind kind;
        const char* key;
        const char* value;
    } expected[] = {
        {qv::ParamReader::kSetting, ";indented", ""},   {qv::ParamReader::kHeader, "Class::RingListClass", "{"},
        {qv::ParamReader::kSetting, "Key", "Value"},    {qv::ParamReader::kSetting, "", ""},
        {qv::ParamReader::kClose, "Key", "}"},          {qv::ParamReader::kClose, "}", "ignored"},
        {qv::ParamReader::kEndMarker, "--EOF--", "{"},  {qv::ParamReader::kEof, "", ""},
        {qv::ParamReader::kEof, "", ""},
    };
    for (const auto& e : expected) {
        EXPECT_EQ(reader.Next(), e.kind);
        EXPECT_STREQ(reader.Key(), e.key);
        EXPECT_STREQ(reader.Value(), e.value);
    }
}

TEST(ParamReader, LongLineIsReadAsFurtherLinesWithNothingLost) {
    std::string value;
    for (int i = 0; value.size() < 480; ++i) value += static_cast<char>('a' + i % 26);
    std::string line = "Key\t" + value;  // 484 bytes
    qvtest::TempDir dir;
    qvtest::TextInput in(dir, line + "\r\nNext\t1\r\n");
    qv::ParamReader reader(in.get());
    ASSERT_EQ(reader.Next(), qv::ParamReader::kSetting);
    EXPECT_STREQ(reader.Key(), "Key");
    EXPECT_EQ(std::string(reader.Value()), value.substr(0, 383 - 4));
    ASSERT_EQ(reader.Next(), qv::ParamReader::kSetting);
    EXPECT_EQ(std::string(reader.Key()), value.substr(383 - 4));
    ASSERT_EQ(reader.Next(), qv::ParamReader::kSetting);
    EXPECT_STREQ(reader.Key(), "Next");
    EXPECT_EQ(reader.Next(), qv::ParamReader::kEof);
}

TEST(ParamReader, LastLineWithoutLineEndStillCounts) {
    qvtest::TempDir dir;
    qvtest::TextInput in(dir, "Key\tValue\r\n}");
    qv::ParamReader reader(in.get());
    EXPECT_EQ(reader.Next(), qv::ParamReader::kSetting);
    EXPECT_EQ(reader.Next(), qv::ParamReader::kClose);
    EXPECT_EQ(reader.Next(), qv::ParamReader::kEof);
}

TEST(ParamReader, StrayBytesNeverReadPastTheBuffer) {
    // NUL bytes, control bytes, lone lead bytes and a line of exactly 383 bytes.
    std::string junk("\x81\r\n\0\0abc\r\n\x01\x02\x03\x1F\r\n\xFC", 17);
    junk += std::string(383, '\x82') + "\r\n" + std::string(1000, '\t') + "x\r\n";
    qvtest::TempDir dir;
    qvtest::TextInput in(dir, junk);
    qv::ParamReader reader(in.get());
    int lines = 0;
    while (reader.Next() != qv::ParamReader::kEof) {
        EXPECT_LT(std::char_traits<char>::length(reader.Key()), 384u);
        ASSERT_LT(++lines, 100);
    }
    EXPECT_GT(lines, 3);
}

}  // namespace

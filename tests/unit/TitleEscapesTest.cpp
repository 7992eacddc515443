#include "TitleEscapes.h"

#include <gtest/gtest.h>

#include <string>

namespace {

TEST(TitleEscapes, ResolvesControlsAndDropsOtherBackslashes) {
    const struct {
        const char* title;
        std::string resolved;
    } cases[] = {
        {"Desk\\tTop", "Desk\tTop"},
        {"\\a\\b\\f\\n\\r\\t\\v", "\x07\x08\x0C\x0A\x0D\x09\x0B"},
        {"\\\\", "\\"},
        {"\\\\n", "\\n"},
        {"a\\x\\\"b\\0", "ax\"b0"},
        {"\\N\\T", "NT"},  // escapes are lower case only
        {"end\\", "end"},  // nothing left to keep
        {"", ""},
        // 表 is 95 5C and ソ 83 5C: their second byte never starts an escape.
        {"表示", "表示"},
        {"ソn", "ソn"},
        {"ソ\\nソ", "ソ\nソ"},
        {"\\表n", "表n"},  // an escaped double-byte character stays whole
        {"abc\x95", "abc\x95"},  // a lead byte last stays, alone
        {"\\\x95", "\x95"},
    };
    for (const auto& c : cases) {
        qv::TextString out("previous text");
        ASSERT_TRUE(qv::ResolveTitleEscapes(c.title, out)) << c.title;
        EXPECT_EQ(std::string(out.c_str(), out.Length()), c.resolved) << c.title;
    }
    qv::TextString out("x");
    ASSERT_TRUE(qv::ResolveTitleEscapes(nullptr, out));
    EXPECT_TRUE(out.IsEmpty());
}

}  // namespace

#include "TextString.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "Sjis.h"

namespace {

TEST(Platform, AnsiCodePageIs932AndLiteralsAreShiftJis) {
    EXPECT_EQ(GetACP(), 932u);
    // The sources are UTF-8; the compiler must have turned this into CP932.
    EXPECT_STREQ("表示ﾀｲﾑｱｳﾄ", "\x95\\\x8E\xA6\xC0\xB2\xD1\xB1\xB3\xC4");
}

TEST(TextString, CapacityGrowsInWholeGrains) {
    qv::TextString s;
    EXPECT_EQ(s.Capacity(), 0u);
    EXPECT_STREQ(s.c_str(), "");
    ASSERT_TRUE(s.Assign("abc"));
    EXPECT_EQ(s.Capacity(), 32u);
    ASSERT_TRUE(s.Assign(std::string(31, 'x').c_str()));
    EXPECT_EQ(s.Capacity(), 32u);
    ASSERT_TRUE(s.Assign(std::string(32, 'x').c_str()));
    EXPECT_EQ(s.Capacity(), 64u);
    EXPECT_EQ(s.Length(), 32u);
}

TEST(TextString, AppendPutsTheSeparatorInFront) {
    qv::TextString s("a");
    s.Append("b", ';');
    s.Append("c");
    s.Append("", ';');
    EXPECT_STREQ(s.c_str(), "a;bc;");
    EXPECT_EQ(s.Length(), 5u);
}

TEST(TextString, AppendAndAssignFromItself) {
    qv::TextString s("0123456789012345678901234567890");  // 31 bytes: the append must grow
    s.Append(s.c_str());
    EXPECT_EQ(std::string(s.c_str()), std::string("0123456789012345678901234567890") + "0123456789012345678901234567890");
    s.Assign(s.c_str() + 60);
    EXPECT_STREQ(s.c_str(), "90");
    s = s;
    EXPECT_STREQ(s.c_str(), "90");
}

TEST(TextString, CopiesAndMovesOwnTheirBytes) {
    qv::TextString a("hello");
    qv::TextString b(a);
    a.Assign("world");
    EXPECT_STREQ(b.c_str(), "hello");
    qv::TextString c(std::move(b));
    EXPECT_STREQ(c.c_str(), "hello");
    EXPECT_STREQ(b.c_str(), "");
    EXPECT_TRUE(c == "hello");
    EXPECT_FALSE(c == a);
    c = a;
    EXPECT_TRUE(c == a);
}

TEST(Sjis, LowerCasingSkipsDoubleByteCharacters) {
    // 'ア' (83 41) and 'ソ' (83 5C): their trail bytes are 'A' and '\'.
    char text[] = "C:\\ABC\x83" "A\x83\\Z.EXE";
    qv::LowerSjis(text);
    EXPECT_STREQ(text, "c:\\abc\x83" "A\x83\\z.exe");
    qv::TextString s("\x95\\\x8E\xA6" "ABC");
    s.LowerAscii();
    EXPECT_STREQ(s.c_str(), "\x95\\\x8E\xA6" "abc");
}

TEST(Sjis, LeadByteAtTheEndDoesNotStepOverTheTerminator) {
    // Terminator followed by bytes that must stay untouched.
    char text[] = "AB\x83\0XY";
    qv::LowerSjis(text);
    EXPECT_EQ(std::memcmp(text, "ab\x83\0XY", 7), 0);
}

}  // namespace

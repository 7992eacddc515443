#include "CommandLine.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

namespace {

struct Pair {
    const char* option;
    const char* value;
};

struct LineCase {
    const char* text;
    int result;
    std::vector<Pair> pairs;  // checked only when the line parses
};

TEST(ParseCommandLine, CutsOptionsAndValues) {
    const LineCase cases[] = {
        {"", 0, {}},
        {" \t  ", 0, {}},
        {"-p Quorvel.ini", 0, {{"-p", "Quorvel.ini"}}},
        {"  -p\t\tQuorvel.ini  -X ", 0, {{"-p", "Quorvel.ini"}, {"-X", ""}}},
        {"-p", 0, {{"-p", ""}}},  // last on the line: empty value
        {"-X -p", 0, {{"-X", ""}, {"-p", ""}}},
        {"-p a.ini -p b.ini", 0, {{"-p", "a.ini"}, {"-p", "b.ini"}}},
        {"+1 -", 0, {{"+1", ""}, {"-", ""}}},
        // One enclosing pair of quotes goes; backslashes and inner quotes stay.
        {"-p \"C:\\My Files\\q.ini\" -d", 0, {{"-p", "C:\\My Files\\q.ini"}, {"-d", ""}}},
        {"-p \"\"", 0, {{"-p", ""}}},
        {"-p a\"b c\"", 0, {{"-p", "a\"b c\""}}},
        {"-p \"a\"b", 0, {{"-p", "\"a\"b"}}},
        {"-p \"-X\"", 0, {{"-p", "-X"}}},
        {"-p a\\ b", 0, {{"-p", "a\\ b"}}},  // an escaped blank does not end the word
        {"-p a\\\"b", 0, {{"-p", "a\\\"b"}}},
        // Double-byte words: 表 is 95 5C and ソ 83 5C, trails that look like '\'.
        {"-p 表示ソ -X", 0, {{"-p", "表示ソ"}, {"-X", ""}}},
        {"-p \"ソ\" -X", 0, {{"-p", "ソ"}, {"-X", ""}}},
        {"-p \x81 -X", 0, {{"-p", "\x81 -X"}}},  // the blank is the trail byte
        {"-p abc\x95", 0, {{"-p", "abc\x95"}}},  // lead byte last: stops at the end
        // Syntax errors.
        {"value", -2, {}},
        {"-p a b", -2, {}},
        {"a -p x", -2, {}},
        {"\"-p\" x.ini", -2, {}},  // quoted, so not an option word
        {"-p \"abc", -1, {}},
        {"-p \"C:\\dir\\\"", -1, {}},  // the closing quote is escaped
        {"-p abc\\", -1, {}},
        {"-p \"ソ", -1, {}},
        {"-p \x81\"abc\"", -1, {}},  // the first quote is a trail byte
        {"x \"open", -1, {}},  // the open quote outranks the stray value
    };
    for (const auto& c : cases) {
        qv::OptionList options;
        EXPECT_EQ(qv::ParseCommandLine(options, c.text), c.result) << '[' << c.text << ']';
        if (c.result != 0) continue;
        ASSERT_EQ(options.Count(), static_cast<int>(c.pairs.size())) << '[' << c.text << ']';
        const qv::PropertyPair* p = options.First();
        for (const Pair& want : c.pairs) {
            EXPECT_STREQ(p->key.c_str(), want.option) << '[' << c.text << ']';
            EXPECT_STREQ(p->value.c_str(), want.value) << '[' << c.text << ']';
            p = p->next;
        }
    }
}

TEST(ParseCommandLine, LeavesTheCallersTextAlone) {
    const char original[] = "-p \"a b\" -X";
    char text[sizeof original];
    std::memcpy(text, original, sizeof original);
    qv::OptionList options;
    ASSERT_EQ(qv::ParseCommandLine(options, text), 0);
    EXPECT_EQ(std::memcmp(text, original, sizeof original), 0);
}

TEST(ParseCommandLine, TakesWordsLongerThanAnyLineBuffer) {
    std::string path(5000, 'x');
    path += "\\表.ini";
    qv::OptionList options;
    ASSERT_EQ(qv::ParseCommandLine(options, ("-p \"" + path + "\"").c_str()), 0);
    EXPECT_EQ(std::string(options.Value("-p")), path);
}

TEST(OptionList, LooksUpExactlyAndTheFirstWins) {
    qv::OptionList options;
    ASSERT_EQ(qv::ParseCommandLine(options, "-x lower -p first.ini -X -p second.ini"), 0);
    EXPECT_STREQ(options.Value("-x"), "lower");
    EXPECT_TRUE(options.Has("-X"));
    EXPECT_STREQ(options.Value("-X"), "");
    EXPECT_STREQ(options.Value("-p"), "first.ini");
    EXPECT_FALSE(options.Has("-P"));
    EXPECT_FALSE(options.Has("p"));
    EXPECT_FALSE(options.Has("-"));
    EXPECT_STREQ(options.Value("-d"), "");
}

}  // namespace

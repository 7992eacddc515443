#include "Convert.h"

#include <gtest/gtest.h>

#include <climits>

namespace {

struct NumberCase {
    const char* text;
    int32_t expected;
};

TEST(Convert, HexCapableFollowsStrtolBaseZeroAndSaturates) {
    const NumberCase cases[] = {
        {"0x00010022", 0x00010022}, {"34", 34},          {"010", 8},
        {"0x7FFFFFFF", INT32_MAX},  {"0x80000000", INT32_MAX}, {"0xFFFFFFFF", INT32_MAX},
        {"-2147483649", INT32_MIN}, {"99999999999999999999999", INT32_MAX},
        {"", 0},                    {"abc", 0},          {"  -12xyz", -12},
        {"0x", 0},                  {"08", 0},
    };
    for (const auto& c : cases) EXPECT_EQ(qv::ParseHexCapable(c.text), c.expected) << c.text;
    EXPECT_EQ(qv::ParseHexCapable(nullptr), 0);
}

TEST(Convert, WordsKeepTheWholeUnsignedRange) {
    struct {
        const char* text;
        uint32_t expected;
    } cases[] = {{"0xFFFFFFFF", 0xFFFFFFFFu}, {"0x000FE80F", 0x000FE80Fu}, {"-1", 0xFFFFFFFFu},
                 {"0x1FFFFFFFF", 0xFFFFFFFFu}, {"4294967295", 0xFFFFFFFFu}, {"junk", 0u}, {"0x11000100", 0x11000100u}};
    for (const auto& c : cases) EXPECT_EQ(qv::ParseWord32(c.text), c.expected) << c.text;
}

TEST(Convert, DecimalIsAtoiWithSaturation) {
    const NumberCase cases[] = {
        {"250", 250},         {"  -5", -5},        {"+7", 7},          {"12abc", 12},
        {"0x20", 0},          {"", 0},             {"x", 0},           {"2147483647", INT32_MAX},
        {"2147483648", INT32_MAX}, {"-2147483648", INT32_MIN}, {"-99999999999", INT32_MIN},
        {"\t 3", 3},
    };
    for (const auto& c : cases) EXPECT_EQ(qv::ParseDecimal(c.text), c.expected) << c.text;
}

TEST(Convert, IntPairNeedsTwoDecimalsAroundAComma) {
    struct {
        const char* text;
        bool ok;
        int32_t a, b;
    } cases[] = {
        {"10,20", true, 10, 20},
        {"-5, 7", true, -5, 7},
        {" 1,2junk", true, 1, 2},
        {"0x80000000,0x80000000", false, 0, 0},
        {"5", false, 0, 0},
        {"5 ,6", false, 0, 0},
        {"5,", false, 0, 0},
        {",5", false, 0, 0},
        {"", false, 0, 0},
        {"-2147483648,5", true, INT32_MIN, 5},
        {"99999999999,-99999999999", true, INT32_MAX, INT32_MIN},
    };
    for (const auto& c : cases) {
        int32_t a = -1, b = -1;
        EXPECT_EQ(qv::ScanIntPair(c.text, &a, &b), c.ok) << c.text;
        if (c.ok) {
            EXPECT_EQ(a, c.a) << c.text;
            EXPECT_EQ(b, c.b) << c.text;
        }
    }
}

}  // namespace

#include "KeywordPairs.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

namespace {

constexpr qv::KeywordRow kRows[] = {
    {"Name", true, ""},
    {"Colour", false, "red"},
    {"Size", false, "10"},
    {"Note", false, ""},
};
constexpr qv::KeywordTable kTable(kRows);
enum { kName, kColour, kSize, kNote };

// Every pair as "key=value;", in order.
std::string Pairs(const qv::KeywordPairs& pairs) {
    std::string text;
    pairs.ForEach([&](const char* key, const char* value) { text += std::string(key) + "=" + value + ";"; });
    return text;
}

TEST(KeywordPairs, DefaultsComeAfterTheReadPairsAndBeforeLaterOnesAndTheFirstPairCounts) {
    qv::KeywordPairs pairs(kTable);
    EXPECT_EQ(pairs.MissingRequired(), std::string("Name"));
    ASSERT_TRUE(pairs.Append(kSize, "3"));
    ASSERT_TRUE(pairs.Append(kName, "a"));
    ASSERT_TRUE(pairs.Append(kSize, "4"));
    EXPECT_FALSE(pairs.Append(4, "x"));
    EXPECT_FALSE(pairs.Append(-1, "x"));
    EXPECT_FALSE(pairs.Has(kColour));
    EXPECT_STREQ(pairs.Value(kColour), "");

    ASSERT_TRUE(pairs.GiveDefaults());
    EXPECT_EQ(pairs.MissingRequired(), nullptr);
    EXPECT_EQ(Pairs(pairs), "Size=3;Name=a;Size=4;Colour=red;Note=;");
    EXPECT_EQ(pairs.Count(), 5);
    EXPECT_TRUE(pairs.Has("Note"));
    EXPECT_FALSE(pairs.Has("note"));
    EXPECT_STREQ(pairs.Value("Size"), "3");
    EXPECT_STREQ(pairs.Value(kColour), "red");
    ASSERT_TRUE(pairs.GiveDefaults());  // a second time adds nothing
    EXPECT_EQ(pairs.Count(), 5);

    ASSERT_TRUE(pairs.Append(kNote, "later"));
    EXPECT_EQ(Pairs(pairs), "Size=3;Name=a;Size=4;Colour=red;Note=;Note=later;");
    EXPECT_STREQ(pairs.Value(kNote), "");
}

TEST(KeywordPairs, UpdateSetsTheFirstPairWhereItStandsAndAppendsOnlyWhenAsked) {
    qv::KeywordPairs pairs(kTable);
    ASSERT_TRUE(pairs.Update(kNote, "n", false));
    ASSERT_TRUE(pairs.Update(kNote, "", true));
    ASSERT_TRUE(pairs.Update("Unknown", "u", true));
    EXPECT_EQ(Pairs(pairs), "");
    ASSERT_TRUE(pairs.Update(kNote, "n", true));
    ASSERT_TRUE(pairs.Append(kSize, "1"));
    ASSERT_TRUE(pairs.Append(kSize, "2"));
    ASSERT_TRUE(pairs.GiveDefaults());

    ASSERT_TRUE(pairs.Update(kSize, "a longer value than before", true));
    ASSERT_TRUE(pairs.Update("Colour", "blue", false));  // a default keeps its place
    ASSERT_TRUE(pairs.Update(kNote, "", true));          // emptied, not removed
    EXPECT_EQ(Pairs(pairs), "Note=;Size=a longer value than before;Size=2;Name=;Colour=blue;");
    EXPECT_EQ(pairs.Count(), 5);

    pairs.Clear();
    EXPECT_EQ(pairs.Count(), 0);
    EXPECT_FALSE(pairs.Has(kColour));
}

// Random appends and updates, values taken from the pairs themselves among
// them, against a plain list: replaced texts, moved blocks and the defaults
// becoming pairs must never cost a value.
TEST(KeywordPairs, ManyEditsKeepEveryValueAsAPlainListWould) {
    qv::KeywordPairs pairs(kTable);
    std::vector<std::pair<int, std::string>> model;
    bool defaults = false;
    auto expected = [&] {
        std::string text;
        std::vector<bool> seen(kTable.Count());
        for (const auto& [key, value] : model) {
            text += std::string(kTable.KeyName(key)) + "=" + value + ";";
            seen[key] = true;
        }
        // Defaults not yet made pairs read as if they were.
        for (int key = 0; defaults && key < kTable.Count(); ++key)
            if (!seen[key]) text += std::string(kTable.KeyName(key)) + "=" + kTable.DefaultText(key) + ";";
        return text;
    };
    auto makeDefaultsPairs = [&] {
        std::vector<bool> seen(kTable.Count());
        for (const auto& pair : model) seen[pair.first] = true;
        for (int key = 0; defaults && key < kTable.Count(); ++key)
            if (!seen[key]) model.emplace_back(key, kTable.DefaultText(key));
        defaults = false;
    };
    uint32_t seed = 12345;
    auto next = [&](uint32_t range) {
        seed = seed * 1103515245u + 12345u;
        return (seed >> 8) % range;
    };
    for (int step = 0; step < 1200; ++step) {
        const int key = static_cast<int>(next(kTable.Count()));
        std::string value(next(4) == 0 ? next(500) : next(12), static_cast<char>('a' + next(26)));
        // Now and then a text that lies in the block being changed.
        const char* text = next(4) == 0 ? pairs.Value(static_cast<int>(next(kTable.Count()))) : value.c_str();
        value = text;
        if (step == 600) {
            ASSERT_TRUE(pairs.GiveDefaults());
            defaults = true;
        }
        if (next(5) == 0) {
            ASSERT_TRUE(pairs.Append(key, text));
            makeDefaultsPairs();
            model.emplace_back(key, value);
        } else {
            const bool append = next(2) == 0;
            ASSERT_TRUE(pairs.Update(key, text, append));
            auto first = model.begin();
            while (first != model.end() && first->first != key) ++first;
            if (first == model.end() && defaults) {
                makeDefaultsPairs();
                first = model.begin();
                while (first->first != key) ++first;
            }
            if (first != model.end())
                first->second = value;
            else if (append && !value.empty())
                model.emplace_back(key, value);
        }
        ASSERT_EQ(Pairs(pairs), expected()) << "step " << step;
    }
}

TEST(KeywordPairs, AHugeValueIsKeptWholeAndTooLargeAValueChangesNothing) {
    qv::KeywordPairs pairs(kTable);
    const std::string huge(1 << 20, 'h');
    ASSERT_TRUE(pairs.Append(kName, "n"));
    ASSERT_TRUE(pairs.Append(kNote, huge.c_str()));
    ASSERT_TRUE(pairs.Update(kName, (huge + "2").c_str(), true));
    EXPECT_EQ(pairs.Value(kNote), huge);
    EXPECT_EQ(pairs.Value(kName), huge + "2");

    const std::string tooLarge(qv::KeywordPairs::kTextLimit, 't');
    const std::string before = Pairs(pairs);
    EXPECT_FALSE(pairs.Append(kSize, tooLarge.c_str()));
    EXPECT_FALSE(pairs.Update(kNote, tooLarge.c_str(), true));
    EXPECT_EQ(Pairs(pairs), before);
}

TEST(KeywordPairs, PairsGatheredInAReadBufferOutliveItWhateverTheirSize) {
    qv::KeywordPairs pairs(kTable);
    std::string expected;
    {
        qv::KeywordPairs::ReadBuffer buffer(pairs);
        for (int i = 0; i < 40; ++i) {  // more pairs and bytes than the buffer holds
            const std::string value = std::to_string(i) + std::string(static_cast<size_t>(i) * 3, 'v');
            ASSERT_TRUE(pairs.Append(i % kTable.Count(), value.c_str()));
            expected += std::string(kTable.KeyName(i % kTable.Count())) + "=" + value + ";";
        }
    }
    EXPECT_EQ(Pairs(pairs), expected);

    // A read that ends without GiveDefaults (a record cut short) keeps its pairs too.
    qv::KeywordPairs cut(kTable);
    {
        qv::KeywordPairs::ReadBuffer buffer(cut);
        ASSERT_TRUE(cut.Append(kColour, "green"));
        {
            qv::KeywordPairs::ReadBuffer inner(cut);  // lends nothing: the pairs have their place
            ASSERT_TRUE(cut.Append(kSize, "7"));
        }
        ASSERT_TRUE(cut.Append(kName, "x"));
    }
    EXPECT_EQ(Pairs(cut), "Colour=green;Size=7;Name=x;");
    ASSERT_TRUE(cut.Update(kColour, "a value long enough to move the block out of its exact size", false));
    EXPECT_EQ(Pairs(cut), "Colour=a value long enough to move the block out of its exact size;Size=7;Name=x;");
}

}  // namespace

#include "Executant.h"

#include <gtest/gtest.h>

#include <string>

#include "ExpectedText.h"
#include "Messages.h"
#include "TestFiles.h"

namespace {

using qvtest::Crlf;
using qvtest::Format;

class ExecutantTest : public ::testing::Test {
protected:
    // Reads one block body (the lines after the header) into `entry`.
    int Read(const std::string& body) {
        qvtest::TextInput in(dir, body);
        return entry.Read(in.get());
    }
    std::string Written(int depth, bool withHeader) {
        return qvtest::WrittenText(dir, [&](FILE* f) { entry.Write(f, depth, withHeader); });
    }

    qvtest::TempDir dir;
    qvtest::LogCapture log;
    qv::Executant entry;
};

TEST_F(ExecutantTest, NewEntryHasTheDocumentedStartValues) {
    EXPECT_FALSE(entry.positionSet);
    EXPECT_FALSE(entry.sizeSet);
    EXPECT_EQ(entry.x, INT32_MIN);
    EXPECT_EQ(entry.height, INT32_MIN);
    EXPECT_EQ(entry.inputTimeout, 5000u);
    EXPECT_EQ(entry.priority, 0u);
    EXPECT_FALSE(entry.shellExec);
}

TEST_F(ExecutantTest, ReadGivesDefaultsAndWritesBackOnlyWhatDiffers) {
    ASSERT_EQ(Read("\t\t\tExecutionFileName\tC:\\Tools\\Edit.EXE\r\n\t\t\tExecutionPosition\t10,20\r\n\t\t}\r\n"), 0);
    EXPECT_STREQ(entry.FileName().c_str(), "c:\\tools\\edit.exe");
    EXPECT_TRUE(entry.positionSet);
    EXPECT_EQ(entry.x, 10);
    EXPECT_EQ(entry.y, 20);
    EXPECT_FALSE(entry.sizeSet);
    // Every key of the table has a pair after reading.
    for (int key = 0; key < qv::Executant::kKeyCount; ++key)
        EXPECT_TRUE(entry.Properties().Has(key)) << key;
    EXPECT_STREQ(entry.Properties().Value("ExecutionShowMode"), "1");
    EXPECT_STREQ(entry.Properties().Value("ExecutionInputTO"), "5000");

    EXPECT_EQ(Written(1, true), Crlf("\tExecutant::RingListClass\t{\n"
                                     "\t\tExecutionFileName\tc:\\tools\\edit.exe\n"
                                     "\t\tExecutionPosition\t10,20\n"
                                     "\t\tExecutionShowMode\t1\n"
                                     "\t}\n"));
    EXPECT_EQ(Written(0, false), Crlf("\tExecutionFileName\tc:\\tools\\edit.exe\n"
                                      "\tExecutionPosition\t10,20\n"
                                      "\tExecutionShowMode\t1\n"));
    EXPECT_EQ(log.Text(), "");
}

TEST_F(ExecutantTest, PairsThatDoNotCountLeaveThePlacementUnset) {
    for (const char* text : {"-2147483648,5", "5", "0x80000000,0x80000000", "5,-2147483648", "a,b"}) {
        qv::Executant e;
        e.AddEntry("ExecutionFileName", "x.exe");
        e.AddEntry("ExecutionPosition", text);
        e.AddEntry("ExecutionSize", text);
        ASSERT_EQ(e.Validate(), 0);
        e.Apply();
        EXPECT_FALSE(e.positionSet) << text;
        EXPECT_FALSE(e.sizeSet) << text;
    }
}

TEST_F(ExecutantTest, NumbersConvertAndWriteBackInTheirForms) {
    ASSERT_EQ(Read("ExecutionFileName\ta.exe\r\nExecutionPriority\t52\r\nExecutionInputTO\t0\r\n"
                   "ExecutionShellExec\t2\r\nExecutionSize\t640,480\r\n}\r\n"),
              0);
    EXPECT_EQ(entry.priority, 0x34u);
    EXPECT_TRUE(entry.prioritySet);
    EXPECT_EQ(entry.inputTimeout, 0u);
    EXPECT_TRUE(entry.shellExec);
    EXPECT_TRUE(entry.sizeSet);
    EXPECT_EQ(Written(0, true), Crlf("Executant::RingListClass\t{\n"
                                     "\tExecutionFileName\ta.exe\n"
                                     "\tExecutionPriority\t0x0034\n"
                                     "\tExecutionInputTO\t0\n"
                                     "\tExecutionShellExec\t1\n"
                                     "\tExecutionSize\t640,480\n"
                                     "\tExecutionShowMode\t1\n"
                                     "}\n"));
}

TEST_F(ExecutantTest, ShellExecNeedsAPositiveNumber) {
    struct {
        const char* text;
        bool on;
    } cases[] = {{"0", false}, {"-1", false}, {"x", false}, {"1", true}, {"2", true}};
    for (const auto& c : cases) {
        qv::Executant e;
        e.AddEntry("ExecutionFileName", "x.exe");
        e.AddEntry("ExecutionShellExec", c.text);
        e.Validate();
        e.Apply();
        EXPECT_EQ(e.shellExec, c.on) << c.text;
    }
}

TEST_F(ExecutantTest, PriorityTakesAutomaticBase) {
    struct {
        const char* text;
        uint32_t value;
        bool set;
    } cases[] = {{"0x0034", 0x34, true}, {"064", 064, true}, {"0", 0, false}, {"junk", 0, false}};
    for (const auto& c : cases) {
        qv::Executant e;
        e.AddEntry("ExecutionFileName", "x.exe");
        e.AddEntry("ExecutionPriority", c.text);
        e.Validate();
        e.Apply();
        EXPECT_EQ(e.priority, c.value) << c.text;
        EXPECT_EQ(e.prioritySet, c.set) << c.text;
    }
}

TEST_F(ExecutantTest, FileNameKeepsDoubleByteCharactersWhenLowered) {
    // "ＡＢ" is 82 60 82 61; "ソ" is 83 5C; "ア" is 83 41 (trail byte 'A').
    ASSERT_EQ(Read("ExecutionFileName\tC:\\\x83\x5C\x83" "A\\\x82\x60\x82\x61.EXE\r\n}\r\n"), 0);
    EXPECT_STREQ(entry.FileName().c_str(), "c:\\\x83\x5C\x83" "A\\\x82\x60\x82\x61.exe");
}

TEST_F(ExecutantTest, AddEntryKnowsOnlyTheTableKeys) {
    EXPECT_EQ(entry.AddEntry("ExecutionPath", "c:\\"), 1);
    EXPECT_EQ(entry.AddEntry("executionpath", "c:\\"), 0);
    EXPECT_EQ(entry.AddEntry("Unknown", "1"), 0);
    EXPECT_EQ(entry.Properties().Count(), 1);
    EXPECT_STREQ(entry.KeyName(qv::Executant::kShellExec), "ExecutionShellExec");
    EXPECT_EQ(entry.KeyName(qv::Executant::kKeyCount), nullptr);
    EXPECT_EQ(entry.KeyName(-1), nullptr);
}

TEST_F(ExecutantTest, MissingFileNameIsRefusedWithItsLogLine) {
    EXPECT_EQ(Read("ExecutionArguments\t-x\r\n}\r\n"), -10);
    qv::Executant empty;
    qvtest::TextInput in(dir, "ExecutionFileName\t\r\n}\r\n");
    EXPECT_EQ(empty.Read(in.get()), -10);
    std::string line = Format(expected::kNotDefinedEntry, "ExecutionFileName");
    EXPECT_EQ(log.Text(), line + line);
}

TEST_F(ExecutantTest, UnknownKeysAreLoggedWithoutLineEndAndSkipped) {
    ASSERT_EQ(Read("ExecutionFileName\ta.exe\r\nColour\tred\r\n\r\nOther::RingListClass\t{\r\n}\r\n"), 0);
    EXPECT_EQ(log.Text(), Format(expected::kUnknownKeyEntry, "Colour") + Format(expected::kUnknownKeyEntry, "") +
                              Format(expected::kUnknownKeyEntry, "Other::RingListClass"));
}

TEST_F(ExecutantTest, EndMarkerInsideKeepsAValidEntry) {
    ASSERT_EQ(Read("ExecutionFileName\ta.exe\r\n--EOF--\r\nExecutionArguments\tnot read\r\n"), 0);
    EXPECT_STREQ(entry.Arguments(), "");
    EXPECT_EQ(log.Text(), Crlf(expected::kEndMarkerInside));
}

TEST_F(ExecutantTest, FileEndingInsideTheBlockFails) {
    EXPECT_EQ(Read("ExecutionFileName\ta.exe\r\n"), -1);
    EXPECT_EQ(log.Text(), "");
}

TEST_F(ExecutantTest, TimeoutOutsideTheSaneRangeIsKeptInTheFile) {
    // Starts clamp it when they wait; the file keeps what the user wrote.
    ASSERT_EQ(Read("ExecutionFileName\ta.exe\r\nExecutionInputTO\t-1\r\n}\r\n"), 0);
    EXPECT_EQ(Written(0, false), Crlf("\tExecutionFileName\ta.exe\n\tExecutionInputTO\t-1\n\tExecutionShowMode\t1\n"));
}

TEST_F(ExecutantTest, DefaultTimeoutIsNotWrittenButOthersAre) {
    ASSERT_EQ(Read("ExecutionFileName\ta.exe\r\nExecutionInputTO\t5000\r\n}\r\n"), 0);
    EXPECT_EQ(Written(0, false), Crlf("\tExecutionFileName\ta.exe\n\tExecutionShowMode\t1\n"));
    entry.inputTimeout = 1500;
    entry.positionSet = true;
    entry.x = -4;
    entry.y = 0;
    EXPECT_EQ(Written(0, false),
              Crlf("\tExecutionFileName\ta.exe\n\tExecutionInputTO\t1500\n\tExecutionPosition\t-4,0\n"
                   "\tExecutionShowMode\t1\n"));
}

TEST(Messages, ProductTextsAreTheShiftJisBytes) {
    EXPECT_STREQ(qv::msg::kEndMarkerInside, expected::kEndMarkerInside);
    EXPECT_STREQ(qv::msg::kOutOfMemory, expected::kOutOfMemory);
    EXPECT_STREQ(qv::msg::kUnknownClass, expected::kUnknownClass);
    EXPECT_STREQ(qv::msg::kNotDefinedEntry, expected::kNotDefinedEntry);
    EXPECT_STREQ(qv::msg::kUnknownKeyController, expected::kUnknownKeyController);
    EXPECT_STREQ(qv::msg::kUnknownKeyDesktop, expected::kUnknownKeyDesktop);
    EXPECT_STREQ(qv::msg::kUnknownKeyEntry, expected::kUnknownKeyEntry);
    EXPECT_STREQ(qv::msg::kOutOfMemoryEntry, "\x83\x81\x83\x82\x83\x8A\x95s\x91\xAB\x82\xC5\x82\xB7.");
    EXPECT_STREQ(qv::msg::kValidateOutOfMemory, "\x83\x81\x83\x82\x83\x8A\x82\xAA\x91\xAB\x82\xE8\x82\xDC\x82\xB9\x82\xF1.\n");
    EXPECT_STREQ(qv::msg::kNotDefined, "%s\x82\xAA\x92\xE8\x8B`\x82\xB3\x82\xEA\x82\xC4\x82\xA2\x82\xDC\x82\xB9\x82\xF1.\n");
}

}  // namespace

#include "ParameterFile.h"

#include <gtest/gtest.h>

#include <string>

#include "ExpectedText.h"
#include "FixedMode.h"
#include "Log.h"
#include "TestFiles.h"

namespace {

using qvtest::Crlf;
using qvtest::Format;

// 478 letters: on a line after "\t\t\tExecutionArguments\t" (22 bytes) only the
// first 361 fit the 383 bytes of one line; the other 117 come as a further line.
std::string LongArguments() {
    std::string text;
    for (int i = 0; text.size() < 478; ++i) text += static_cast<char>('a' + i % 26);
    return text;
}

class ParameterFileTest : public ::testing::Test {
protected:
    // A file read here may set the process log into dir, which keeps its file
    // open until it is set elsewhere: let it go before dir goes.
    void TearDown() override { qv::SetLogFile("", 0); }

    int Read(const std::string& text) {
        qvtest::TextInput in(dir, text);
        return qv::ReadParameterFile(in.get(), controller, header);
    }
    std::string Written() {
        return qvtest::WrittenText(dir, [&](FILE* f) { qv::WriteParameterFile(f, header, controller); });
    }

    qvtest::TempDir dir;
    qvtest::FixedModeController controller;
    qv::ParameterFileHeader header;
};

TEST_F(ParameterFileTest, HeaderAloneEndsAtTheFirstRecordAndLeavesTheLogFileAsItIs) {
    const std::string logPath = dir.File("running.log");
    qvtest::WriteBytes(logPath, "written by the running copy\r\n");
    qvtest::TextInput in(dir, Crlf(";Quorvel\nLogFileName\t" + logPath +
                                   "\nLogFileLimit\t777\nMendrel::RingListClass\t{\n}\nLogFileLimit\t5\n"
                                   "FileVersion\t0x0100\n"));
    qv::ReadParameterFileHeader(in.get(), header);
    EXPECT_EQ(std::string(header.logFileName.c_str()), logPath);
    EXPECT_EQ(header.logFileLimit, 777);
    EXPECT_STREQ(header.fileVersion.c_str(), qv::ParameterFileHeader::kCurrentVersion);
    EXPECT_EQ(qvtest::ReadBytes(logPath), "written by the running copy\r\n");

    qv::ParameterFileHeader ended;
    qvtest::TextInput marker(dir, Crlf("LogFileLimit\t10\n--EOF--\nLogFileLimit\t20\n"));
    qv::ReadParameterFileHeader(marker.get(), ended);
    EXPECT_EQ(ended.logFileLimit, 10);
}

TEST_F(ParameterFileTest, FullFileReadsAndWritesBackInTheConfiguratorsLayout) {
    const std::string logPath = dir.File("quorvel.log");
    const std::string args = LongArguments();
    // "ホーム", "仕事", "遊び" and a path with 表 (95 5C) in code page 932.
    const std::string home = "\x83z\x81[\x83\x80", work = "\x8E\x64\x8E\x96", play = "\x97V\x82\xD1";
    const std::string paper = "C:\\\x95\\\x8E\xA6\\paper.bmp";
    const std::string input = Crlf(
        ";Quorvel\n"
        "# hash comment\n"
        "' apostrophe comment\n"
        "FileVersion\t0x0200\n"
        "LogFileName\t" + logPath + "\n"
        "LogFileLimit\t65536\n"
        "Mendrel::RingListClass\t{\n"
        "\tFoo\tbar\n"
        "}\n"
        "AncestryController::RingListClass\t{\n"
        "\tHotKeyNext\t0x00010022\n"
        "\tHotKeyNext\t0x00020022\n"
        "\tTitleDelay1\t300\n"
        "\tUnknownKey\t5\n"
        "\tDefaultTitle\t" + home + "\n"
        "\tQVControlBar\t0\n"
        "\tAncestryDesktop::RingListClass\t{\n"
        "\t\tDesktopName\t" + work + "\n"
        "\t\tDesktopTitleColor\t0x000000FF\n"
        "\t\tDesktopExitProgman\t0x00000100\n"
        "\n"
        "\t\tDesktopWallpaperChange\t1\n"
        "\t\tDesktopWallpaper\t" + paper + "\n"
        "\t\tExecutant::RingListClass\t{\n"
        "\t\t\tExecutionFileName\tC:\\Tools\\Edit.EXE\n"
        "\t\t\tExecutionPosition\t10,20\n"
        "\t\t\tExecutionArguments\t" + args + "\n"
        "\t\t}\n"
        "\t\tExecutant::RingListClass\t{\n"
        "\t\t\tExecutionFileName\tnotepad.exe\n"
        "\t\t\tExecutionPriority\t52\n"
        "\t\t\tExecutionInputTO\t0\n"
        "\t\t}\n"
        "\t}\n"
        "\tAncestryDesktop::RingListClass\t{\n"
        "\t\tDesktopName\t" + play + "\n"
        "\t\tDesktopDisplayChange\t1\n"
        "\t\tDesktopPelsWidth\t800\n"
        "\t\tDesktopPelsHeight\t600\n"
        "\t\tDesktopWavFile\tC:\\sounds\\ding.wav\n"
        "\t\t;indented is no comment\n"
        "\t}\n"
        "\tAncestryDesktop::RingListClass\t{\n"
        "\t\tDesktopExitCancelOK\t1\n"
        "\t\tExecutant::RingListClass\t{\n"
        "\t\t\tExecutionFileName\tcalc.exe\n"
        "\t\t\tExecutionShellExec\t2\n"
        "\t\t}\n"
        "\t}\n"
        "}\n"
        "AncestryController::RingListClass\t{\n"
        "\tHotKeyNext\t0\n"
        "}\n"
        "--EOF--\n");

    ASSERT_EQ(Read(input), qv::kControllerRead);
    EXPECT_EQ(controller.CountChildren(), 3);
    EXPECT_EQ(controller.m_dwHotKeyNext, 0x00010022u);  // the second record was never read
    EXPECT_EQ(header.logFileLimit, 65536);

    const std::string expected = Crlf(
        ";Quorvel\n"
        "FileVersion\t0x0200\n"
        "LogFileName\t" + logPath + "\n"
        "LogFileLimit\t65536\n"
        "AncestryController::RingListClass\t{\n"
        "\tHotKeyNext\t0x00010022\n"
        "\tHotKeyNext\t0x00020022\n"
        "\tTitleDelay1\t300\n"
        "\tDefaultTitle\t" + home + "\n"
        "\tQVControlBar\t0\n"
        "\tHotKeyPrev\t0x00010021\n"
        "\tHotKeyHome\t0x00010024\n"
        "\tHotKeyMenu\t0x00010023\n"
        "\tCheckIActive\t1\n"
        "\tLogoColor\t0x000FE80F\n"
        "\tTitleDelay2\t800\n"
        "\tTitleDelay3\t1000\n"
        "\tKeepBitmapSize\t4\n"
        "\tAncestryDesktop::RingListClass\t{\n"
        "\t\tDesktopName\t" + work + "\n"
        "\t\tDesktopTitleColor\t0x000000FF\n"
        "\t\tDesktopExitProgman\t0x00000100\n"
        "\t\tDesktopWallpaperChange\t1\n"
        "\t\tDesktopWallpaper\t" + paper + "\n"
        "\t\tDesktopProgmanDelay\t250\n"
        "\t\tExecutant::RingListClass\t{\n"
        "\t\t\tExecutionFileName\tc:\\tools\\edit.exe\n"
        "\t\t\tExecutionPosition\t10,20\n"
        "\t\t\tExecutionArguments\t" + args.substr(0, 361) + "\n"
        "\t\t\tExecutionShowMode\t1\n"
        "\t\t}\n"
        "\t\tExecutant::RingListClass\t{\n"
        "\t\t\tExecutionFileName\tnotepad.exe\n"
        "\t\t\tExecutionPriority\t0x0034\n"
        "\t\t\tExecutionInputTO\t0\n"
        "\t\t\tExecutionShowMode\t1\n"
        "\t\t}\n"
        "\t}\n"
        "\tAncestryDesktop::RingListClass\t{\n"
        "\t\tDesktopName\t" + play + "\n"
        "\t\tDesktopDisplayChange\t1\n"
        "\t\tDesktopPelsWidth\t800\n"
        "\t\tDesktopPelsHeight\t600\n"
        "\t\tDesktopWavFile\tC:\\sounds\\ding.wav\n"
        "\t\tDesktopTitleColor\t0x000FE80F\n"
        "\t\tDesktopExitProgman\t0x00000000\n"
        "\t\tDesktopProgmanDelay\t250\n"
        "\t\tDesktopBitsPerPel\t32\n"
        "\t\tDesktopFrequency\t60\n"
        "\t}\n"
        "\tAncestryDesktop::RingListClass\t{\n"
        "\t\tDesktopExitCancelOK\t1\n"
        "\t\tDesktopTitleColor\t0x000FE80F\n"
        "\t\tDesktopExitProgman\t0x00000000\n"
        "\t\tDesktopProgmanDelay\t250\n"
        "\t\tExecutant::RingListClass\t{\n"
        "\t\t\tExecutionFileName\tcalc.exe\n"
        "\t\t\tExecutionShellExec\t1\n"
        "\t\t\tExecutionShowMode\t1\n"
        "\t\t}\n"
        "\t}\n"
        "}\n"
        "--EOF--\n");
    std::string written = Written();
    EXPECT_EQ(written, expected);

    // Every diagnostic, in order, as code page 932 bytes; the Executer line has no line end.
    EXPECT_EQ(qvtest::ReadBytes(logPath),
              Crlf(Format(expected::kUnknownClass, "Mendrel::RingListClass") +
                   Format(expected::kUnknownKeyController, "UnknownKey") + Format(expected::kUnknownKeyDesktop, "") +
                   Format(expected::kUnknownKeyEntry, args.substr(361).c_str()) +
                   Format(expected::kUnknownKeyDesktop, ";indented")));

    // What was written reads back to the same file.
    qvtest::FixedModeController again;
    qv::ParameterFileHeader againHeader;
    qvtest::TextInput in(dir, written);
    ASSERT_EQ(qv::ReadParameterFile(in.get(), again, againHeader), qv::kControllerRead);
    EXPECT_EQ(qvtest::WrittenText(dir, [&](FILE* f) { qv::WriteParameterFile(f, againHeader, again); }), written);
}

TEST_F(ParameterFileTest, EndMarkerBeforeAnyRecordMeansNoDesktops) {
    EXPECT_EQ(Read("FileVersion\t0x0100\r\n--EOF--\r\nAncestryController::RingListClass\t{\r\n}\r\n"),
              qv::kEndBeforeController);
    EXPECT_EQ(controller.CountChildren(), 0);
    EXPECT_STREQ(header.fileVersion.c_str(), "0x0100");
}

TEST_F(ParameterFileTest, MissingOrUnclosedControllerIsMalformed) {
    EXPECT_EQ(Read(";only a comment\r\nFileVersion\t0x0200\r\n"), qv::kNoController);
    qvtest::FixedModeController unclosed;
    qvtest::TextInput in(dir, "AncestryController::RingListClass\t{\r\n"
                              "\tAncestryDesktop::RingListClass\t{\r\n\t}\r\n");
    EXPECT_EQ(qv::ReadParameterFile(in.get(), unclosed, header), -1);
}

TEST_F(ParameterFileTest, LogFileIsSetOnlyWhenNamedWithAPositiveLimit) {
    struct {
        std::string lines;
        bool logged;
    } cases[] = {
        {"LogFileName\t" + dir.File("a.log") + "\r\n", true},  // limit 4096 when absent
        {"LogFileName\t" + dir.File("b.log") + "\r\nLogFileLimit\t0\r\n", false},
        {"LogFileName\t" + dir.File("c.log") + "\r\nLogFileLimit\t-1\r\n", false},
        {"LogFileLimit\t100\r\n", false},
    };
    for (const auto& c : cases) {
        qvtest::FixedModeController ctl;
        qv::ParameterFileHeader hdr;
        qvtest::TextInput in(dir, c.lines + "AncestryController::RingListClass\t{\r\n\tBad\t1\r\n}\r\n");
        ASSERT_EQ(qv::ReadParameterFile(in.get(), ctl, hdr), qv::kControllerRead);
        const std::string log = hdr.logFileName.IsEmpty() ? std::string() : hdr.logFileName.c_str();
        EXPECT_EQ(!log.empty() && qvtest::FileExists(log), c.logged) << c.lines;
        if (c.logged) {
            EXPECT_EQ(hdr.logFileLimit, 4096);
            EXPECT_EQ(qvtest::ReadBytes(log), Crlf(Format(expected::kUnknownKeyController, "Bad")));
        }
        qv::SetLogFile("", 0);
    }
}

TEST_F(ParameterFileTest, OnlyTheFirstHeaderStartsTheLog) {
    // A second start would delete what the unknown class before the controller logged.
    const std::string logPath = dir.File("q.log");
    ASSERT_EQ(Read("LogFileName\t" + logPath + "\r\nOther::RingListClass\t{\r\n}\r\n"
                   "AncestryController::RingListClass\t{\r\n\tBad\t1\r\n}\r\n"),
              qv::kControllerRead);
    EXPECT_EQ(qvtest::ReadBytes(logPath), Crlf(Format(expected::kUnknownClass, "Other::RingListClass") +
                                               Format(expected::kUnknownKeyController, "Bad")));
    qv::SetLogFile("", 0);
}

TEST_F(ParameterFileTest, WriterLeavesLogLinesOutWithoutALog) {
    header.fileVersion.Assign("");
    header.logFileName.Assign("q.log");
    header.logFileLimit = 0;
    EXPECT_EQ(Written(), Crlf(";Quorvel\nFileVersion\t0x0200\n"
                              "AncestryController::RingListClass\t{\n"
                              "\tLogoColor\t0x00000000\n\tCheckIActive\t1\n\tRedrawFlag\t1\n\tKeepBitmapSize\t5\n"
                              "}\n--EOF--\n"));
}

}  // namespace

// QVCtl's window-free rules: how it cuts its command line, which desktop a
// word names, and what its JSON holds for titles in code page 932.

#include <windows.h>

#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include <string>
#include <vector>

#include "CtlCommand.h"
#include "CtlOutput.h"
#include "DesktopWords.h"

namespace {

using qv::CtlCommand;
using qv::CtlVerb;
using qv::DesktopMatch;

std::string Utf8(const char8_t* text) { return reinterpret_cast<const char*>(text); }

std::vector<std::string> Words(const std::string& line) {
    std::vector<std::string> texts;
    for (const qv::CommandWord& word : qv::SplitCommandWords(line)) texts.push_back(word.text);
    return texts;
}

TEST(CtlCommandLine, WordsFollowTheRuntimesQuotingAndStepOverDoubleByteCharacters) {
    // 表 is 95 5C and ソ is 83 5C: their second byte is a backslash, which
    // must neither escape the quote after it nor be halved.
    EXPECT_EQ(Words("switch \"表\""), (std::vector<std::string>{"switch", "表"}));
    EXPECT_EQ(Words("switch \"ソフト 表\" x"), (std::vector<std::string>{"switch", "ソフト 表", "x"}));
    EXPECT_EQ(Words("a\\\\\"b c\" d"), (std::vector<std::string>{"a\\b c", "d"}));
    EXPECT_EQ(Words("\\\"x C:\\dir\\"), (std::vector<std::string>{"\"x", "C:\\dir\\"}));
    EXPECT_EQ(Words("\"a \"\"b\"\" c\"\t \"\""), (std::vector<std::string>{"a \"b\" c", ""}));
    EXPECT_EQ(qv::CommandTail("\"C:\\Program Files\\QVCtl.exe\"  status --json"), "status --json");
    EXPECT_EQ(qv::CommandTail("QVCtl.exe"), "");
}

TEST(CtlCommandLine, EachCommandTakesItsOwnWords) {
    CtlCommand command;
    std::string problem;
    ASSERT_TRUE(qv::ParseCtlCommand("switch -1", &command, &problem)) << problem;
    EXPECT_EQ(command.verb, CtlVerb::kSwitch);
    EXPECT_EQ(command.target, "-1");

    ASSERT_TRUE(qv::ParseCtlCommand("windows --json --desktop \"仕事 表\"", &command, &problem)) << problem;
    EXPECT_TRUE(command.json);
    EXPECT_TRUE(command.desktopGiven);
    EXPECT_EQ(command.desktop, "仕事 表");

    ASSERT_TRUE(qv::ParseCtlCommand("activate 0x0001012a", &command, &problem)) << problem;
    EXPECT_EQ(command.window, 0x0001012Au);
    ASSERT_TRUE(qv::ParseCtlCommand("activate 66858", &command, &problem)) << problem;
    EXPECT_EQ(command.window, 66858u);

    // What follows the program is the program's, passed on as typed.
    const std::string line = "start --desktop 2 \"C:\\Program Files\\表\\a.exe\" --json  \"b  c\" \\\"d ";
    ASSERT_TRUE(qv::ParseCtlCommand(line, &command, &problem)) << problem;
    EXPECT_EQ(command.desktop, "2");
    EXPECT_EQ(command.program, "C:\\Program Files\\表\\a.exe");
    EXPECT_EQ(command.arguments, "--json  \"b  c\" \\\"d");
    EXPECT_FALSE(command.json);

    ASSERT_TRUE(qv::ParseCtlCommand("snapshot out.bmp --desktop 仕事", &command, &problem)) << problem;
    EXPECT_EQ(command.file, "out.bmp");
    EXPECT_EQ(command.desktop, "仕事");

    const char* wrong[] = {"",
                           "frob",
                           "status now",
                           "status --frob",
                           "switch",
                           "switch 1 2",
                           "switch \"\"",
                           "windows --desktop",
                           "windows 2",
                           "activate",
                           "activate 0",
                           "activate 0x",
                           "activate 0x100000000",
                           "activate 12ab",
                           "start",
                           "start --desktop 2",
                           "start --json notepad",
                           "snapshot out.bmp",
                           "snapshot --desktop 1",
                           "snapshot --desktop 1 a.bmp b.bmp",
                           "exit now",
                           "--help status"};
    for (const char* text : wrong) {
        problem.clear();
        EXPECT_FALSE(qv::ParseCtlCommand(text, &command, &problem)) << text;
        EXPECT_FALSE(problem.empty()) << text;
    }
}

qv::DesktopInformation Ring() {
    qv::DesktopInformation info;
    info.headerRead = true;
    // Titles that look like other kinds of word, and an ID that does.
    const std::vector<std::pair<const char*, const char*>> desktops = {
        {"Default", "Start"},       {"User_Desktop0", "3"},     {"User_Desktop1", "User_Desktop0"},
        {"User_Desktop2", "home"},  {"back", "表示"},           {"User_Desktop4", ""},
    };
    for (const auto& [id, name] : desktops) {
        qv::DesktopRecord record{id, 800, 600, name, static_cast<int32_t>(info.desktops.size())};
        info.desktops.push_back(record);
    }
    info.count = static_cast<uint32_t>(info.desktops.size());
    info.currentIndex = 1;
    return info;
}

TEST(CtlDesktopWords, TheFirstReadingThatFitsWinsInTheDocumentedOrder) {
    const qv::DesktopInformation info = Ring();
    struct Case {
        const char* word;
        bool switchWords;
        DesktopMatch::Kind kind;
        int index;
    };
    using K = DesktopMatch::Kind;
    const Case cases[] = {
        {"3", true, K::kIndex, 2},  // a number before the title "3"
        {"03", false, K::kIndex, 2},
        {"6", false, K::kIndex, 5},
        {"0", true, K::kOutOfRange, -1},
        {"7", true, K::kOutOfRange, -1},
        {"99999999999999999999999", true, K::kOutOfRange, -1},
        {"+1", true, K::kIndex, 2},  // from the current desktop, index 1
        {"+0", true, K::kIndex, 1},
        {"+11", true, K::kIndex, 0},
        {"-2", true, K::kIndex, 5},
        {"+1", false, K::kUnknown, -1},
        {"home", true, K::kIndex, 0},
        {"home", false, K::kIndex, 3},  // only a title there
        {"back", true, K::kBack, -1},
        {"back", false, K::kIndex, 4},  // an ID
        {"User_Desktop0", true, K::kIndex, 1},  // an ID before a title
        {"user_desktop0", true, K::kUnknown, -1},
        {"表示", true, K::kIndex, 4},
        {"表", true, K::kUnknown, -1},  // titles match whole
        {"User_Desktop4", true, K::kIndex, 5},
        {"", false, K::kUnknown, -1},
    };
    for (const Case& c : cases) {
        const DesktopMatch match = qv::MatchDesktopWord(c.word, info, c.switchWords);
        EXPECT_EQ(match.kind, c.kind) << c.word << (c.switchWords ? " (switch)" : "");
        if (c.kind == K::kIndex) {
            EXPECT_EQ(match.index, c.index) << c.word;
        }
    }
}

TEST(CtlOutputs, TitlesInCodePage932BecomeExactUtf8InJsonAndStayBytesInText) {
    qv::DesktopInformation info = Ring();
    info.desktops[1].name = "a\"b\\c";
    info.desktops[2].name = "ｽｲｯﾁ表示";
    const std::vector<qv::DesktopRow> rows = qv::DesktopRows(info);
    const nlohmann::json status = nlohmann::json::parse(qv::StatusJson(rows, 932));
    EXPECT_EQ(status["version"], qv::kCtlJsonVersion);
    ASSERT_EQ(status["desktops"].size(), info.desktops.size());
    EXPECT_EQ(status["desktops"][1]["title"], "a\"b\\c");
    EXPECT_EQ(status["desktops"][2]["title"], Utf8(u8"ｽｲｯﾁ表示"));
    EXPECT_EQ(status["desktops"][4]["title"], Utf8(u8"表示"));
    EXPECT_EQ(status["desktops"][5]["title"], "User_Desktop4");
    EXPECT_EQ(status["desktops"][1]["current"], true);
    EXPECT_EQ(status["desktops"][0]["home"], true);
    EXPECT_EQ(status["desktops"][2]["number"], 3);
    EXPECT_EQ(qv::DesktopLine(rows[2]), "3\tUser_Desktop1\tｽｲｯﾁ表示\t-\n");
    EXPECT_EQ(qv::DesktopLine(rows[1]), "2\tUser_Desktop0\ta\"b\\c\tcurrent\n");

    qv::WindowRow window{5, "back", 0x0001012A, 4242, "NOTEPAD.EXE", "メモ帳 - 表.txt"};
    const nlohmann::json windows = nlohmann::json::parse(qv::WindowsJson({window}, 932));
    EXPECT_EQ(windows["version"], qv::kCtlJsonVersion);
    EXPECT_EQ(windows["windows"][0]["handle"], "0x0001012A");
    EXPECT_EQ(windows["windows"][0]["caption"], Utf8(u8"メモ帳 - 表.txt"));
    EXPECT_EQ(windows["windows"][0]["processId"], 4242);
    EXPECT_EQ(qv::WindowsText({window}), "5\t0x0001012A\t4242\tNOTEPAD.EXE\tメモ帳 - 表.txt\n");
    // A console in UTF-8 gets the same characters.
    EXPECT_EQ(qv::ConvertCodePage("表示", 932, CP_UTF8), Utf8(u8"表示"));
}

TEST(CtlOutputs, ABitmapFileIsMadeOnlyOfEveryLine) {
    qv::BitmapLines lines;
    lines.Begin(qv::BitmapShape{3, 2, qv::BitmapChunkSize(3)});
    const unsigned char bottom[qv::kBitmapChunkSlack + 9] = {1, 2, 3, 4, 5, 6, 7, 8, 9};
    lines.Line(0, bottom);
    EXPECT_EQ(qv::BitmapFileBytes(lines), "");  // a line missing: no file at all
    const unsigned char top[qv::kBitmapChunkSlack + 9] = {9, 8, 7};
    lines.Line(1, top);
    const std::string file = qv::BitmapFileBytes(lines);
    ASSERT_EQ(file.size(), 54u + 2 * 12);
    EXPECT_EQ(file.substr(0, 2), "BM");
    EXPECT_EQ(file.substr(54, 12), std::string("\x01\x02\x03\x04\x05\x06\x07\x08\x09\0\0\0", 12));
    EXPECT_EQ(file.substr(66, 3), "\x09\x08\x07");
}

}  // namespace

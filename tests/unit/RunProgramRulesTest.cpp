#include "RunProgramRules.h"

#include <gtest/gtest.h>

#include <map>
#include <string>

#include "ShlExeCommand.h"

namespace {

constexpr char kQuickLaunch[] = "\\Microsoft\\Internet Explorer\\Quick Launch";

TEST(RunProgramRules, PriorityRowsGiveTheirClasses) {
    ASSERT_EQ(std::size(qv::kRunPriorities), 3u);
    const struct {
        const char* text;
        DWORD flag;
    } rows[] = {
        {"\x95\x81\x92\xCA", NORMAL_PRIORITY_CLASS},  // 普通
        {"\x92\xE1\x82\xA2", IDLE_PRIORITY_CLASS},    // 低い
        {"\x8D\x82\x82\xA2", HIGH_PRIORITY_CLASS},    // 高い
    };
    for (LRESULT row = 0; row < 3; ++row) {
        EXPECT_STREQ(qv::kRunPriorities[row].text, rows[row].text) << row;
        EXPECT_EQ(qv::RunPriorityFlag(row), rows[row].flag) << row;
    }
    EXPECT_EQ(qv::RunPriorityFlag(CB_ERR), static_cast<DWORD>(NORMAL_PRIORITY_CLASS));
    EXPECT_EQ(qv::RunPriorityFlag(3), static_cast<DWORD>(NORMAL_PRIORITY_CLASS));
}

TEST(RunProgramRules, QuickLaunchFolderUnderAppDataOnlyWhenItIsAPlainFolder) {
    const std::string appData = "C:\\Users\\me\\AppData";
    const std::string underAppData = appData + kQuickLaunch;
    const std::string mapped = "C:\\Mapped\\Quick";
    const struct {
        const char* what;
        std::string appData;
        DWORD attributes;  // of the folder under AppData
        std::string mapped;
        std::string expected;
    } cases[] = {
        {"plain folder", appData, FILE_ATTRIBUTE_DIRECTORY, mapped, underAppData},
        {"archive bit", appData, FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_ARCHIVE, mapped, underAppData},
        {"read-only", appData, FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_READONLY, mapped, mapped},
        {"system", appData, FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_SYSTEM, mapped, mapped},
        {"temporary", appData, FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_TEMPORARY, mapped, mapped},
        {"offline", appData, FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_OFFLINE, mapped, mapped},
        {"a file", appData, FILE_ATTRIBUTE_NORMAL, mapped, mapped},
        {"missing", appData, INVALID_FILE_ATTRIBUTES, mapped, mapped},
        {"missing, nothing mapped", appData, INVALID_FILE_ATTRIBUTES, "", ""},
        // The mapped value is taken as it is, whether or not it exists.
        {"no AppData", "", FILE_ATTRIBUTE_DIRECTORY, "D:\\Nowhere", "D:\\Nowhere"},
        // Longer than the path buffer the value is read into: not had.
        {"AppData too long", std::string(260, 'a'), FILE_ATTRIBUTE_DIRECTORY, mapped, mapped},
        {"mapped too long", "", INVALID_FILE_ATTRIBUTES, std::string(260, 'm'), ""},
    };
    for (const auto& c : cases) {
        std::map<std::string, DWORD> files = {{c.appData + kQuickLaunch, c.attributes}};
        // A bare suffix must not be looked at: it would name a folder of the current drive.
        files[kQuickLaunch] = FILE_ATTRIBUTE_DIRECTORY;
        auto attributesOf = [&](const std::string& path) {
            auto found = files.find(path);
            return found == files.end() ? INVALID_FILE_ATTRIBUTES : found->second;
        };
        EXPECT_EQ(qv::QuickLaunchStartFolder(c.appData, c.mapped, attributesOf), c.expected) << c.what;
    }
}

TEST(RunProgramRules, PickedProgramSetsCommandAndFolderAndKeepsArguments) {
    const qv::RunFields before = {"old.exe", "-x 1", "D:\\"};
    const struct {
        const char* path;
        const char* command;
        const char* directory;
    } cases[] = {
        {"C:\\Tools\\app.exe", "C:\\Tools\\app.exe", "C:\\Tools\\"},
        // 表 ends in the byte 5C: not a separator.
        {"C:\\\x95\x5C\\a\x95\x5C.exe", "C:\\\x95\x5C\\a\x95\x5C.exe", "C:\\\x95\x5C\\"},
        // Quoted, so that CreateProcess does not try C:\Program.exe first.
        {"C:\\Program Files\\App\\app.exe", "\"C:\\Program Files\\App\\app.exe\"", "C:\\Program Files\\App\\"},
    };
    for (const auto& c : cases) {
        const qv::RunFields after = qv::WithPickedProgram(before, c.path);
        EXPECT_EQ(after.command, c.command) << c.path;
        EXPECT_EQ(after.arguments, "-x 1") << c.path;
        EXPECT_EQ(after.directory, c.directory) << c.path;
    }
}

TEST(RunProgramRules, PickedDataFileIsOpenedByTheHelperBesideTheDaemon) {
    const qv::RunFields before = {"old.exe", "-x", ""};
    qv::RunFields after = qv::WithPickedDataFile(before, "C:\\Quorvel\\Quorvel.exe", "C:\\Docs\\a.txt");
    EXPECT_EQ(after.command, "C:\\Quorvel\\QVShlExe.exe");
    EXPECT_EQ(after.arguments, "C:\\Docs\\a.txt");
    EXPECT_EQ(after.directory, "C:\\Docs\\");
    EXPECT_EQ(qv::RunCommandLine(after), "C:\\Quorvel\\QVShlExe.exe C:\\Docs\\a.txt");

    // The helper takes its item literally: a path with blanks goes unquoted,
    // the helper's own path quoted.
    after = qv::WithPickedDataFile(before, "C:\\Program Files\\Quorvel\\Quorvel.exe", "C:\\My Docs\\a b.ini");
    const std::string line = qv::RunCommandLine(after);
    EXPECT_EQ(line, "\"C:\\Program Files\\Quorvel\\QVShlExe.exe\" C:\\My Docs\\a b.ini");
    const std::string helper = "\"C:\\Program Files\\Quorvel\\QVShlExe.exe\" ";
    ASSERT_EQ(line.compare(0, helper.size(), helper), 0);
    const qv::ShlExeCommand command = qv::ParseShlExeCommand(line.c_str() + helper.size());
    EXPECT_TRUE(command.hasItem);
    EXPECT_EQ(command.item, "C:\\My Docs\\a b.ini");
}

TEST(RunProgramRules, CommandLineHasTheBlankEvenWithoutArguments) {
    EXPECT_EQ(qv::RunCommandLine({"notepad.exe", "", ""}), "notepad.exe ");
    EXPECT_EQ(qv::RunCommandLine({"notepad.exe", "a b.txt", "C:\\"}), "notepad.exe a b.txt");
}

}  // namespace

// ShellExe, the medium's document opener: the setup's trial run waits for it,
// so it must end at once whatever the shell answers, and never wait on a box.

#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "Desktops.h"
#include "Processes.h"
#include "ShlExeCommand.h"
#include "TestFiles.h"

namespace {

TEST(ShellExeDocument, TakesTheWholeLineWithoutItsBlanksAndQuotes) {
    const struct {
        const char* text;
        const char* document;
    } cases[] = {
        {"", ""},
        {"   \t ", ""},
        {"C:\\Quorvel\\DEMOCNTS\\FirstExec.chm", "C:\\Quorvel\\DEMOCNTS\\FirstExec.chm"},
        {"  C:\\My Files\\a b.txt \t", "C:\\My Files\\a b.txt"},   // the setup passes it unquoted
        {"\"C:\\My Files\\a b.txt\"", "C:\\My Files\\a b.txt"},
        {" \"C:\\x.txt\" ", "C:\\x.txt"},
        {"\"\"", ""},
        {"\"", "\""},                                              // a lone quote is no pair
        {"\"a\" \"b\"", "a\" \"b"},
        {"C:\\\x95\x5C\\x.txt", "C:\\\x95\x5C\\x.txt"},           // 表: its trail byte is a backslash
    };
    for (const auto& c : cases) EXPECT_EQ(qv::ShellExeDocument(c.text), c.document) << c.text;
}

class ShellExeTest : public ::testing::Test {
protected:
    void TearDown() override { qvtest::EndWindowOwners(desktop.Name(), "Notepad"); }

    // Runs ShellExe to its end on the test's desktop; its exit code, or
    // STILL_ACTIVE when it did not end in time.
    DWORD Run(const std::string& arguments) {
        qvtest::ProcessGuard guard;
        if (!qvtest::StartProgram(guard, "ShellExe.exe", arguments, desktop.Name())) return 0xDEAD;
        const long code = guard.WaitExit(15000);
        return code == -1 ? STILL_ACTIVE : static_cast<DWORD>(code);
    }

    qvtest::TempDir dir;
    qvtest::TestDesktop desktop;
};

TEST_F(ShellExeTest, OpensItsDocumentAndEnds) {
    // This Wine opens .ini files with Notepad (it has no .txt association).
    const std::string document = dir.File("first steps.ini");
    qvtest::WriteBytes(document, "Quorvel\r\n");
    EXPECT_EQ(Run(document), 0u);
    EXPECT_NE(qvtest::FindWindowOn(desktop.Name(), "Notepad", nullptr, 10000), nullptr);
}

TEST_F(ShellExeTest, FailsWithTheShellsErrorAndNoBox) {
    EXPECT_EQ(Run(""), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
    EXPECT_EQ(Run(dir.File("missing.ini")), static_cast<DWORD>(ERROR_FILE_NOT_FOUND));
    // No program for the type: on Windows the shell would ask which one.
    const std::string unknown = dir.File("notes.qvunknown");
    qvtest::WriteBytes(unknown, "x");
    const DWORD code = Run("\"" + unknown + "\"");
    EXPECT_NE(code, 0u);
    EXPECT_NE(code, static_cast<DWORD>(STILL_ACTIVE));
}

}  // namespace

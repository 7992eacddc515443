#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <thread>

#include "Desktops.h"
#include "Launching.h"
#include "SystemError.h"
#include "Log.h"
#include "Processes.h"
#include "TestFiles.h"

namespace {

TEST(RunProgram, StartsOnTheGivenDesktopAndReturnsTheProcessId) {
    qvtest::TempDir dir;
    qvtest::TestDesktop desktop;
    std::string report = dir.File("run.txt");
    std::string program = "\"" + qvtest::FixturePath() + "\"";
    DWORD pid = qv::RunProgram(nullptr, program.c_str(), ("--title=Run --report=" + report).c_str(), dir.Path().c_str(),
                               desktop.Name().c_str(), 0);
    ASSERT_NE(pid, 0u);
    ASSERT_TRUE(qvtest::WaitUntil([&] { return qvtest::ReportedPid(report) != 0; }, 10000));
    qvtest::ProcessGuard guard;
    EXPECT_TRUE(guard.WatchReported(report));
    EXPECT_EQ(qvtest::ReportedPid(report), pid);
    const std::string start = qvtest::ReportLines(report).at(0);
    EXPECT_EQ(start.substr(start.find(" desktop=")), " desktop=" + desktop.Name());
}

TEST(RunProgram, FailureIsLoggedAndShownInAnErrorBox) {
    qvtest::LogCapture log;
    qvtest::TempDir dir;
    std::string missing = dir.File("missing.exe");
    DWORD pid = 1;
    std::thread starter([&] { pid = qv::RunProgram(nullptr, missing.c_str(), nullptr, nullptr, nullptr, 0); });
    HWND box = nullptr;
    qvtest::WaitUntil([&] { return (box = FindWindowA("#32770", "Error")) != nullptr; }, 10000);
    char text[512] = {};
    if (box) {
        GetDlgItemTextA(box, 0xFFFF, text, sizeof(text));
        PostMessageA(box, WM_COMMAND, IDOK, 0);
    }
    starter.join();
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(pid, 0u);
    SetLastError(ERROR_FILE_NOT_FOUND);
    EXPECT_EQ(std::string(text), qv::SystemErrorText());
    EXPECT_EQ(log.Text(), qvtest::Crlf("CreateProcess(" + missing + ") Failed.\n"));
}

TEST(SystemErrorText, KeepsTheLastError) {
    SetLastError(ERROR_ACCESS_DENIED);
    std::string text = qv::SystemErrorText();
    EXPECT_FALSE(text.empty());
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_ACCESS_DENIED));
}

}  // namespace

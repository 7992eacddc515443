#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "Desktops.h"
#include "Entries.h"
#include "Handle.h"
#include "Log.h"
#include "ProcessApi.h"
#include "Processes.h"
#include "TestFiles.h"

namespace {

using qvtest::ReportedPid;

class ProcessQueryTest : public ::testing::Test {
protected:
    void SetUp() override { qv::BindProcessApi(qv::kProcessFunctions, true); }
    void TearDown() override { qv::BindProcessApi(qv::kProcessFunctions, false); }

    // Starts the fixture on the desktop and waits for its window there.
    DWORD StartFixture(const std::string& desktopName, const std::string& title, qvtest::ProcessGuard& guard,
                       const std::string& extra = "") {
        std::string report = dir.File((title + ".txt").c_str());
        auto entry = qvtest::FixtureEntry(title, report, extra);
        entry->Launch(desktopName.c_str());
        qvtest::WaitUntil([&] { return ReportedPid(report) != 0; }, 10000);
        guard.WatchReported(report);
        if (!extra.empty()) Sleep(300);
        EXPECT_NE(qvtest::FindWindowOn(desktopName, "QVFixtureWindow", title.c_str(), 10000), nullptr);
        return ReportedPid(report);
    }

    qvtest::TempDir dir;
    qvtest::LogCapture log;
    qvtest::TestDesktop desktop;
};

TEST_F(ProcessQueryTest, ModuleRunsOnlyOnTheDesktopWhereItHasAWindow) {
    qvtest::ProcessGuard guard;
    StartFixture(desktop.Name(), "Running", guard);
    qvtest::TestDesktop other;
    // Another folder and another case: only the file name counts.
    EXPECT_EQ(qv::IsModuleRunning(desktop.Name().c_str(), "C:\\Apps\\QVFIXTURE.EXE"), 0);
    EXPECT_EQ(qv::IsModuleRunning(desktop.Name().c_str(), "qvfixture.exe"), 0);
    EXPECT_EQ(qv::IsModuleRunning(other.Name().c_str(), "C:\\Apps\\QVFIXTURE.EXE"), 1);
    EXPECT_EQ(qv::IsModuleRunning(desktop.Name().c_str(), "C:\\Apps\\Other.exe"), 1);
    EXPECT_EQ(qv::IsModuleRunning("NoSuchDesktop_QV", "QVFixture.exe"), 1);
}

TEST_F(ProcessQueryTest, CallersOwnProcessIsNotCounted) {
    char own[MAX_PATH];
    GetModuleFileNameA(nullptr, own, MAX_PATH);
    int result = -1;
    ASSERT_TRUE(qvtest::RunOnDesktop(desktop.Name(), [&] {
        HWND window = CreateWindowExA(0, "STATIC", "own", WS_POPUP | WS_VISIBLE, 0, 0, 10, 10, nullptr, nullptr,
                                      nullptr, nullptr);
        ASSERT_NE(window, nullptr);
        result = qv::IsModuleRunning(desktop.Name().c_str(), own);
        DestroyWindow(window);
    }));
    EXPECT_EQ(result, 1);
}

TEST_F(ProcessQueryTest, OnceOnlyEntryIsNotStartedTwiceButHeldStartIgnoresTheRule) {
    qvtest::ProcessGuard first;
    StartFixture(desktop.Name(), "First", first);
    std::string report = dir.File("second.txt");
    auto entry = qvtest::FixtureEntry("Second", report);
    entry->Properties().Update("ExecutionInitialOnce", "2", false);
    EXPECT_EQ(entry->Launch(desktop.Name().c_str()), 1);
    std::string line = "Module [" + std::string(entry->FileName().c_str()) + "] Already Running in Desktop[" +
                       desktop.Name() + "].\n";
    EXPECT_NE(log.Text().find(qvtest::Crlf(line)), std::string::npos);
    Sleep(300);
    EXPECT_EQ(ReportedPid(report), 0u);

    // On the caller's desktop, where it is not running yet, a held start goes
    // ahead anyway and leaves the rule's text at "1".
    qvtest::ProcessGuard second;
    EXPECT_EQ(entry->LaunchHeld(), 0);
    qvtest::WaitUntil([&] { return ReportedPid(report) != 0; }, 10000);
    second.WatchReported(report);
    EXPECT_NE(ReportedPid(report), 0u);
    EXPECT_STREQ(entry->Properties().Value("ExecutionInitialOnce"), "1");
    EXPECT_TRUE(entry->heldProcess);
}

TEST_F(ProcessQueryTest, SearchSkipsHiddenAndOwnedWindows) {
    qvtest::ProcessGuard guard;
    DWORD pid = StartFixture(desktop.Name(), "Visible", guard, "--hidden=2 --owned=2");
    HWND found = nullptr;
    char title[64] = {};
    qvtest::RunOnDesktop(desktop.Name(), [&] {
        qv::ResetWindowSearch(qv::kSearchByProcessId);
        found = qv::SearchLaunchedWindow(1, static_cast<LPARAM>(pid));
        if (found) GetWindowTextA(found, title, sizeof(title));
    });
    ASSERT_NE(found, nullptr);
    EXPECT_STREQ(title, "Visible");
}

TEST_F(ProcessQueryTest, ModulePathSearchPicksTheLatestStart) {
    qvtest::ProcessGuard older, newer;
    StartFixture(desktop.Name(), "Older", older);
    Sleep(50);
    StartFixture(desktop.Name(), "Newer", newer);
    // The path as the system gives it for the started process: the search
    // compares exact texts.
    qv::TextString path;
    {
        qv::UniqueHandle process(OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ, FALSE, newer.Pid()));
        ASSERT_TRUE(qv::ProcessModulePath(process.Get(), path));
    }
    HWND found = nullptr;
    char title[64] = {};
    qvtest::RunOnDesktop(desktop.Name(), [&] {
        qv::ResetWindowSearch(qv::kSearchByModulePath);
        found = qv::SearchLaunchedWindow(1, reinterpret_cast<LPARAM>(path.c_str()));
        if (found) GetWindowTextA(found, title, sizeof(title));
    });
    ASSERT_NE(found, nullptr);
    EXPECT_STREQ(title, "Newer");
}

TEST_F(ProcessQueryTest, NewChildIsFoundBetweenTwoSnapshots) {
    HANDLE before = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
    qvtest::ProcessGuard guard;
    StartFixture(qvtest::CurrentDesktopName(), "Child", guard);
    HANDLE after = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
    // The walk uses the bound snapshot functions, which only the Windows 95
    // family binds; bind them by hand for this check.
    auto& api = const_cast<qv::ProcessApi&>(qv::BoundProcessApi());
    api.Process32First = Process32First;
    api.Process32Next = Process32Next;
    DWORD child = qv::NewChildProcess(before, after, GetCurrentProcessId());
    DWORD none = qv::NewChildProcess(after, after, GetCurrentProcessId());
    api.Process32First = nullptr;
    api.Process32Next = nullptr;
    CloseHandle(before);
    CloseHandle(after);
    EXPECT_EQ(none, 0u);
    EXPECT_NE(child, 0u);
}

}  // namespace

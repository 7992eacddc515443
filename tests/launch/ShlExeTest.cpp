#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "Desktops.h"
#include "Entries.h"
#include "Handle.h"
#include "Log.h"
#include "ProcessApi.h"
#include "Processes.h"
#include "ShlExeCommand.h"
#include "TestFiles.h"

namespace {

TEST(ShlExeCommand, SwitchesSelectTheMode) {
    struct {
        const char* text;
        bool hasItem;
        bool waiting;
        uint32_t timeout;
        const char* item;
    } cases[] = {
        {"", false, true, 10000, ""},
        {"C:\\doc 1.txt", true, true, 10000, "C:\\doc 1.txt"},
        {"/NOWAIT:0 C:\\a.txt", true, false, 10000, "C:\\a.txt"},
        {"/NOWAIT:0C:\\a.txt", true, true, 10000, "/NOWAIT:0C:\\a.txt"},  // not the switch without its blank
        {"/NOWAIT:0", true, true, 10000, "/NOWAIT:0"},
        {"/NOWAIT:0 ", false, false, 10000, ""},
        {"/WatchDog:3000 \"C:\\my doc.txt\"", true, true, 3000, "\"C:\\my doc.txt\""},
        {"/WatchDog:3000\tx", true, true, 3000, "x"},
        {"/WatchDog:5000abc x", true, true, 5000, "x"},
        {"/WatchDog:2500:9 x", true, true, 2500, "x"},
        {"/WatchDog:-5 x", false, true, 10000, ""},
        {"/WatchDog:1.5 x", false, true, 10000, ""},
        {"/WatchDog:1/2 x", false, true, 10000, ""},
        {"/WatchDog:\x82\xA0 x", false, true, 10000, ""},
        {"/WatchDog:3000", false, true, 10000, ""},
        {"/watchdog:3000 x", true, true, 10000, "/watchdog:3000 x"},
    };
    for (const auto& c : cases) {
        qv::ShlExeCommand command = qv::ParseShlExeCommand(c.text);
        EXPECT_EQ(command.hasItem, c.hasItem) << c.text;
        if (!c.hasItem) continue;
        EXPECT_EQ(command.waiting, c.waiting) << c.text;
        EXPECT_EQ(command.timeoutMs, c.timeout) << c.text;
        EXPECT_EQ(command.item, c.item) << c.text;
    }
}

// QVShlExe started as the suite starts it, on a desktop, with placement in
// its startup information.
class ShlExeTest : public ::testing::Test {
protected:
    void SetUp() override {
        qv::BindProcessApi(qv::kProcessFunctions, true);
        document = dir.File("note.ini");  // this Wine associates .ini, not .txt, with notepad
        qvtest::WriteBytes(document, "Quorvel\r\n");
    }
    void TearDown() override {
        qvtest::EndWindowOwners(desktop.Name(), "Notepad");
        qv::BindProcessApi(qv::kProcessFunctions, false);
    }

    // Runs QVShlExe to its end; returns its exit code (or STILL_ACTIVE).
    DWORD Run(const std::string& arguments, const RECT* place = nullptr, DWORD timeoutMs = 30000) {
        std::string line = "\"" + qvtest::ProgramFolder() + "QVShlExe.exe\" " + arguments;
        STARTUPINFOA si = {};
        si.cb = sizeof(si);
        std::string name = desktop.Name();
        si.lpDesktop = name.data();
        if (place) {
            si.dwFlags = STARTF_USEPOSITION | STARTF_USESIZE;
            si.dwX = place->left;
            si.dwY = place->top;
            si.dwXSize = place->right - place->left;
            si.dwYSize = place->bottom - place->top;
        }
        PROCESS_INFORMATION pi = {};
        if (!CreateProcessA(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, dir.Path().c_str(), &si, &pi))
            return 0xDEAD;
        qv::UniqueHandle process(pi.hProcess), thread(pi.hThread);
        qvtest::RememberStarted(process.Get());  // what it starts outlives it
        qvtest::ProcessGuard guard;
        guard.Hold(process.Get());
        WaitForSingleObject(process.Get(), timeoutMs);
        DWORD code = 0;
        GetExitCodeProcess(process.Get(), &code);
        return code;
    }
    HWND Notepad(DWORD timeoutMs) { return qvtest::FindWindowOn(desktop.Name(), "Notepad", nullptr, timeoutMs); }

    qvtest::TempDir dir;
    qvtest::TestDesktop desktop;
    std::string document;
};

TEST_F(ShlExeTest, InvalidOrEmptyCommandLinesStartNothing) {
    EXPECT_EQ(Run(""), 0u);
    EXPECT_EQ(Run("/WatchDog:-5 " + document), 0u);
    EXPECT_EQ(Run("/WatchDog:3000"), 0u);
    EXPECT_EQ(Notepad(500), nullptr);
}

TEST_F(ShlExeTest, NoWaitOpensTheDocumentOnItsDesktopAndEndsAtOnce) {
    DWORD start = GetTickCount();
    EXPECT_EQ(Run("/NOWAIT:0 " + document), 0u);
    EXPECT_LT(GetTickCount() - start, 5000u);
    EXPECT_NE(Notepad(10000), nullptr);
}

TEST_F(ShlExeTest, WatchDogPlacesTheWindowAndAnswersIt) {
    RECT place = {40, 50, 40 + 420, 50 + 310};
    DWORD code = Run("/WatchDog:5000 " + document, &place);
    HWND window = Notepad(5000);
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(code, static_cast<DWORD>(reinterpret_cast<INT_PTR>(window)));
    RECT rect = {};
    qvtest::RunOnDesktop(desktop.Name(), [&] { GetWindowRect(window, &rect); });
    EXPECT_EQ(rect.left, place.left);
    EXPECT_EQ(rect.top, place.top);
    EXPECT_EQ(rect.right - rect.left, place.right - place.left);
    EXPECT_EQ(rect.bottom - rect.top, place.bottom - place.top);
}

TEST_F(ShlExeTest, EntryInShellModeStartsThroughIt) {
    qvtest::LogCapture log;
    auto entry = qvtest::MakeEntry({{"ExecutionFileName", "notepad.exe"},
                                    {"ExecutionArguments", document},
                                    {"ExecutionShellExec", "1"},
                                    {"ExecutionPosition", "30,40"}});
    ASSERT_EQ(entry->LaunchViaShlExe(desktop.Name().c_str()), 0);
    std::string line = "CreatePrcess(\"" + qvtest::ProgramFolder() + "QVShlExe.exe\" /WatchDog:5000 " + document +
                       ") Success.\n";
    EXPECT_EQ(log.Text(), qvtest::Crlf(line));
    HWND window = Notepad(10000);
    ASSERT_NE(window, nullptr);
    RECT rect = {};
    // QVShlExe places it after finding it; give it the time.
    qvtest::WaitUntil([&] {
        qvtest::RunOnDesktop(desktop.Name(), [&] { GetWindowRect(window, &rect); });
        return rect.left == 30 && rect.top == 40;
    }, 10000);
    EXPECT_EQ(rect.left, 30);
    EXPECT_EQ(rect.top, 40);
}

TEST_F(ShlExeTest, NoTimeoutMeansNoWaitEvenWithASize) {
    qvtest::LogCapture log;
    auto entry = qvtest::MakeEntry({{"ExecutionFileName", "notepad.exe"},
                                    {"ExecutionArguments", document},
                                    {"ExecutionShellExec", "1"},
                                    {"ExecutionSize", "300,200"},
                                    {"ExecutionInputTO", "0"}});
    ASSERT_EQ(entry->LaunchViaShlExe(desktop.Name().c_str()), 0);
    EXPECT_NE(log.Text().find("QVShlExe.exe\" /NOWAIT:0 " + document + ") Success."), std::string::npos) << log.Text();
    EXPECT_NE(Notepad(10000), nullptr);
}

TEST_F(ShlExeTest, LaunchOfAShellEntryRunsTheShellInProcess) {
    qvtest::LogCapture log;
    auto entry = qvtest::MakeEntry({{"ExecutionFileName", "notepad.exe"},
                                    {"ExecutionArguments", document},
                                    {"ExecutionShellExec", "1"}});
    ASSERT_TRUE(qvtest::RunOnDesktop(desktop.Name(), [&] { EXPECT_EQ(entry->LaunchHeld(), 0); }));
    EXPECT_NE(Notepad(10000), nullptr);
    EXPECT_TRUE(entry->heldProcess);
    EXPECT_EQ(log.Text(), qvtest::Crlf("ShellExecuteEx(" + document + ") -> Success.\n"));
    entry->KillCheck(qv::Executant::kTerminate);
}

}  // namespace

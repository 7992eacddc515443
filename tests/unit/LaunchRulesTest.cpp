#include "LaunchRules.h"

#include <gtest/gtest.h>

#include <string>

#include "PathText.h"
#include "ProcessApi.h"

namespace {

TEST(LaunchRules, CreationFlagsForEachPriorityClass) {
    struct {
        uint32_t priority;
        DWORD launch;
        DWORD shlExe;
    } cases[] = {
        {0x00, 0x04000A14, 0x34000810}, {0x10, 0x04000A54, 0x34000850}, {0x20, 0x04000A34, 0x34000830},
        {0x30, 0x04000A94, 0x34000890}, {0x34, 0x04000A94, 0x34000890}, {0x40, 0x04000A14, 0x34000810},
        {0x05, 0x04000A14, 0x34000810},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(qv::LaunchCreationFlags(c.priority != 0, c.priority), c.launch) << std::hex << c.priority;
        EXPECT_EQ(qv::ShlExeCreationFlags(c.priority), c.shlExe) << std::hex << c.priority;
    }
    EXPECT_EQ(qv::LaunchCreationFlags(false, 0x30), 0x04000A14u);  // a priority not set adds nothing
    EXPECT_EQ(qv::kRunProgramFlags, 0x04000A10u);
}

TEST(LaunchRules, ThreadPriorityFromTheLowNibble) {
    struct {
        uint32_t priority;
        bool change;
        int value;
    } cases[] = {{0x31, true, THREAD_PRIORITY_LOWEST},       {0x22, true, THREAD_PRIORITY_BELOW_NORMAL},
                 {0x23, false, 0},                            {0x34, true, THREAD_PRIORITY_ABOVE_NORMAL},
                 {0x05, true, THREAD_PRIORITY_HIGHEST},       {0x36, false, 0},
                 {0x30, false, 0}};
    for (const auto& c : cases) {
        int value = 12345;
        EXPECT_EQ(qv::ThreadPriorityFor(c.priority, &value), c.change) << std::hex << c.priority;
        if (c.change) {
            EXPECT_EQ(value, c.value) << std::hex << c.priority;
        }
    }
}

TEST(LaunchRules, ShowCommandAndShlExeSwitch) {
    EXPECT_EQ(qv::ShowCommandFromText("2"), SW_SHOWMINIMIZED);
    EXPECT_EQ(qv::ShowCommandFromText("3"), SW_SHOWMAXIMIZED);
    for (const char* other : {"1", "0", "4", "", "x", "-3"}) EXPECT_EQ(qv::ShowCommandFromText(other), SW_SHOWNORMAL);

    EXPECT_EQ(qv::ShlExeSwitch(true, 5000), "/WatchDog:5000");
    EXPECT_EQ(qv::ShlExeSwitch(true, 0), "/NOWAIT:0");
    EXPECT_EQ(qv::ShlExeSwitch(false, 5000), "/NOWAIT:0");
    // Stored time-outs outside the sane range: a negative one (read back as
    // a huge unsigned value) waits not at all, a huge one at most 99999 ms;
    // neither becomes INFINITE nor a "/WatchDog:-1" that QVShlExe refuses.
    EXPECT_EQ(qv::ShlExeSwitch(true, static_cast<uint32_t>(-1)), "/NOWAIT:0");
    EXPECT_EQ(qv::ShlExeSwitch(true, 0x80000000u), "/NOWAIT:0");
    EXPECT_EQ(qv::ShlExeSwitch(true, 0x7FFFFFFFu), "/WatchDog:99999");
    EXPECT_EQ(qv::InputTimeoutInUse(static_cast<uint32_t>(-1)), 0u);
    EXPECT_EQ(qv::InputTimeoutInUse(0xFFFFFFFEu), 0u);
    EXPECT_EQ(qv::InputTimeoutInUse(100000), 99999u);
    EXPECT_EQ(qv::InputTimeoutInUse(99999), 99999u);
    EXPECT_EQ(qv::InputTimeoutInUse(1), 1u);
}

TEST(LaunchRules, SearchRoundsForATimeout) {
    struct {
        uint32_t timeout;
        int launch;
        int shell;
    } cases[] = {{0, 1, 1}, {999, 1, 1}, {1500, 1, 1}, {1999, 1, 1}, {2000, 2, 2}, {5000, 5, 5}, {10000, 10, 10}};
    for (const auto& c : cases) {
        EXPECT_EQ(qv::LaunchSearchRounds(c.timeout), c.launch) << c.timeout;
        EXPECT_EQ(qv::ShellSearchRounds(c.timeout), c.shell) << c.timeout;
    }
}

TEST(LaunchRules, CommandLinesAreBoundedNeverCut) {
    std::string line = "prog.exe";
    EXPECT_TRUE(qv::AppendCommandText(line, " -x"));
    EXPECT_EQ(line, "prog.exe -x");
    std::string almost(qv::kMaxCommandLine - 1, 'a');
    EXPECT_TRUE(qv::AppendCommandText(almost, "b"));
    EXPECT_EQ(almost.size(), qv::kMaxCommandLine);
    EXPECT_FALSE(qv::AppendCommandText(almost, "c"));
    EXPECT_EQ(almost.size(), qv::kMaxCommandLine);
}

TEST(LaunchRules, StartTimeTextSortsByTime) {
    SYSTEMTIME early = {2026, 12, 1, 7, 9, 5, 3, 7};
    SYSTEMTIME late = early;
    late.wMilliseconds = 70;
    char a[32], b[32];
    qv::FormatStartTime(early, a);
    qv::FormatStartTime(late, b);
    EXPECT_STREQ(a, "20261207 09:05.03.007");
    EXPECT_LT(std::string(a), std::string(b));
}

TEST(PathText, FileNameSkipsDoubleByteTrailBytes) {
    // "表" is 95 5C: its trail byte is a backslash and must not split the name.
    struct {
        const char* path;
        const char* name;
        size_t dirLength;
    } cases[] = {
        {"C:\\Apps\\NOTE.EXE", "NOTE.EXE", 8},
        {"C:NOTE.EXE", "NOTE.EXE", 2},
        {"note.exe", "note.exe", 0},
        {"C:/x/y.exe", "y.exe", 5},
        {"C:\\\x95\\\x8E\xA6.exe", "\x95\\\x8E\xA6.exe", 3},
        {"C:\\dir\\", "", 7},
        {"C:\\a\x95", "a\x95", 3},  // lead byte at the very end
    };
    for (const auto& c : cases) {
        EXPECT_STREQ(qv::FileNamePart(c.path), c.name) << c.path;
        EXPECT_EQ(qv::DirectoryLength(c.path), c.dirLength) << c.path;
    }
    EXPECT_STREQ(qv::ModuleNameOf("C:\\Apps\\NOTE.EXE").c_str(), "note.exe");
}

TEST(ProcessApi, BindingAndReleasingFollowTheGroups) {
    EXPECT_EQ(qv::PlatformKind(), qv::kPlatformNT);
    qv::BindProcessApi(qv::kProcessFunctions | qv::kImeFunction, false);  // never bound: nothing happens
    EXPECT_EQ(qv::BoundProcessApi().EnumProcessModules, nullptr);

    qv::BindProcessApi(qv::kProcessFunctions, true);
    const qv::ProcessApi& api = qv::BoundProcessApi();
    EXPECT_NE(api.EnumProcesses, nullptr);
    EXPECT_NE(api.EnumProcessModules, nullptr);
    EXPECT_NE(api.GetModuleFileNameExA, nullptr);
    EXPECT_NE(api.GetModuleBaseNameA, nullptr);
    EXPECT_EQ(api.ImmDisableIME, nullptr);  // the bar's binding leaves the IME alone
    EXPECT_EQ(api.CreateToolhelp32Snapshot, nullptr);

    qv::BindProcessApi(qv::kImeFunction, true);
    EXPECT_NE(api.ImmDisableIME, nullptr);
    qv::BindProcessApi(qv::kProcessFunctions, false);
    EXPECT_EQ(api.EnumProcesses, nullptr);
    EXPECT_EQ(api.GetModuleBaseNameA, nullptr);
    EXPECT_NE(api.ImmDisableIME, nullptr);
    qv::BindProcessApi(qv::kImeFunction, false);
    EXPECT_EQ(api.ImmDisableIME, nullptr);
}

}  // namespace

// The outside counts that the benchmark and the soak run judge growth by,
// and how a test knows the processes it ends.

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <vector>

#include "Desktops.h"
#include "Handle.h"
#include "ProcessApi.h"
#include "TestFiles.h"
#include "ProcessFigures.h"
#include "Processes.h"

namespace {

TEST(ProcessFigures, HandlesFollowWhatTheProcessOpensAndCloses) {
    const long before = qvtest::CountHandles(GetCurrentProcess());
    ASSERT_GT(before, 0);
    {
        std::vector<qv::UniqueHandle> events;
        for (int i = 0; i < 5; ++i) events.emplace_back(CreateEventA(nullptr, TRUE, FALSE, nullptr));
        EXPECT_EQ(qvtest::CountHandles(GetCurrentProcess()), before + 5);
    }
    EXPECT_EQ(qvtest::CountHandles(GetCurrentProcess()), before);
}

TEST(ProcessFigures, PrivateBytesFollowCommittedMemoryAndWindowsTheirDesktop) {
    const size_t before = qvtest::PrivateBytes(GetCurrentProcess());
    ASSERT_GT(before, 0u);
    void* block = VirtualAlloc(nullptr, 16 << 20, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE);
    ASSERT_NE(block, nullptr);
    memset(block, 1, 16 << 20);
    EXPECT_GE(qvtest::PrivateBytes(GetCurrentProcess()), before + (16 << 20));
    VirtualFree(block, 0, MEM_RELEASE);

    char name[256] = {};
    GetUserObjectInformationA(GetThreadDesktop(GetCurrentThreadId()), UOI_NAME, name, sizeof(name), nullptr);
    // The thread's first window brings the thread's IME window with it.
    HWND first = CreateWindowA("STATIC", "", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr, nullptr, nullptr);
    const long windows = qvtest::CountWindowsOn(name, GetCurrentProcessId());
    HWND second = CreateWindowA("STATIC", "", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr, nullptr, nullptr);
    ASSERT_TRUE(first && second);
    EXPECT_EQ(qvtest::CountWindowsOn(name, GetCurrentProcessId()), windows + 1);
    // A child and its own child count only when children are asked for.
    const long withChildren = qvtest::CountWindowsOn(name, GetCurrentProcessId(), true);
    HWND child = CreateWindowA("STATIC", "", WS_CHILD, 0, 0, 1, 1, second, nullptr, nullptr, nullptr);
    ASSERT_TRUE(child && CreateWindowA("STATIC", "", WS_CHILD, 0, 0, 1, 1, child, nullptr, nullptr, nullptr));
    EXPECT_EQ(qvtest::CountWindowsOn(name, GetCurrentProcessId()), windows + 1);
    EXPECT_EQ(qvtest::CountWindowsOn(name, GetCurrentProcessId(), true), withChildren + 2);
    DestroyWindow(second);
    DestroyWindow(first);
    EXPECT_EQ(qvtest::CountWindowsOn("no such desktop", 0), -1);
}

// Wine hands a freed process id to a new process within seconds, so an id a
// test learnt (from a report, a window, a listed parent) may name another
// program by the time it is acted on: this test program, or another suite's.
TEST(ProcessIdentity, AGuardEndsOnlyTheProcessItsProofNames) {
    qvtest::TempDir dir;
    const std::string firstReport = dir.File("first.txt"), otherReport = dir.File("other.txt");
    qvtest::ProcessGuard first, other;
    ASSERT_TRUE(qvtest::StartProgram(first, "QVFixture.exe", "--no-window --lifetime=30000 --report=" + firstReport, ""));
    ASSERT_TRUE(qvtest::StartProgram(other, "QVFixture.exe", "--no-window --lifetime=30000 --report=" + otherReport, ""));
    ASSERT_TRUE(qvtest::WaitUntil([&] { return qvtest::ReportedPid(firstReport) && qvtest::ReportedPid(otherReport); },
                                  10000));
    // What a report reads like once its writer has ended and its id has gone
    // to another process: the id names one process, the time another.
    auto staleReport = [&](DWORD pid) {
        const std::string path = dir.File(("stale" + std::to_string(pid) + ".txt").c_str());
        qvtest::WriteBytes(path, "START pid=" + std::to_string(pid) + " created=" +
                                     std::to_string(qvtest::FactsOf(first.Handle()).created) + " tid=1 asked=- desktop=-\n");
        return path;
    };
    {
        qvtest::ProcessGuard self, stale, notAChild, noWindow;
        EXPECT_FALSE(self.WatchReported(staleReport(GetCurrentProcessId())));
        EXPECT_FALSE(stale.WatchReported(staleReport(other.Pid())));
        EXPECT_FALSE(notAChild.WatchChild(other.Pid(), first.Handle()));
        EXPECT_FALSE(notAChild.WatchChild(GetCurrentProcessId(), first.Handle()));
        EXPECT_FALSE(noWindow.WatchWindowOwner(reinterpret_cast<HWND>(static_cast<uintptr_t>(0x7FFF0))));
    }  // had one of them taken a process, it would have ended here
    EXPECT_TRUE(other.Running());

    {
        qvtest::ProcessGuard reported, child;
        EXPECT_TRUE(reported.WatchReported(otherReport));
        EXPECT_EQ(reported.Pid(), other.Pid());
        qv::UniqueHandle self(OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, GetCurrentProcessId()));
        EXPECT_TRUE(child.WatchChild(first.Pid(), self.Get()));
    }
    EXPECT_TRUE(other.WaitForEnd(5000)) << "a guard with its proof ends the process";
    EXPECT_TRUE(first.WaitForEnd(5000));
}

// The rule that tells a child from a child of a later process given the
// same id: created while its parent ran.
TEST(ProcessIdentity, AChildIsOneCreatedWhileItsParentRan) {
    qvtest::ProcessFacts ended;
    ended.pid = 40;
    ended.created = 1000;
    ended.exited = 2000;
    qvtest::ProcessFacts running = ended;
    running.exited = 0;
    auto child = [](DWORD parent, uint64_t created) {
        qvtest::ProcessFacts facts;
        facts.pid = 90;
        facts.parent = parent;
        facts.created = created;
        return facts;
    };
    EXPECT_TRUE(qvtest::StartedBy(child(40, 1500), ended));
    EXPECT_TRUE(qvtest::StartedBy(child(40, 2000), ended));
    EXPECT_FALSE(qvtest::StartedBy(child(40, 2500), ended)) << "a child of the id's next owner";
    EXPECT_FALSE(qvtest::StartedBy(child(40, 900), ended)) << "a child of the id's earlier owner";
    EXPECT_FALSE(qvtest::StartedBy(child(41, 1500), ended));
    EXPECT_TRUE(qvtest::StartedBy(child(40, 9000), running));
    EXPECT_FALSE(qvtest::StartedBy(child(0, 1500), qvtest::ProcessFacts{})) << "programs started from outside";
}

// The end-of-program check follows this program's children and the
// children of what it started, and nothing that merely names a parent id
// it once knew.
TEST(ProcessIdentity, DescendantsAreHeldChildrenOfWhatTheProgramStarted) {
    qvtest::ProcessGuard started, ended;
    ASSERT_TRUE(qvtest::StartProgram(started, "QVFixture.exe", "--no-window --lifetime=30000", ""));
    ASSERT_TRUE(qvtest::StartProgram(ended, "QVFixture.exe", "--no-window --lifetime=100", ""));
    ASSERT_TRUE(ended.WaitForEnd(10000));
    auto pids = [](const std::vector<qv::UniqueHandle>& found) {
        std::vector<DWORD> ids;
        for (const qv::UniqueHandle& process : found) ids.push_back(GetProcessId(process.Get()));
        return ids;
    };
    const std::vector<DWORD> ours = pids(qvtest::RunningDescendants({GetCurrentProcess()}));
    EXPECT_NE(std::find(ours.begin(), ours.end(), started.Pid()), ours.end());
    EXPECT_TRUE(pids(qvtest::RunningDescendants({ended.Handle()})).empty());
    EXPECT_TRUE(pids(qvtest::RunningDescendants({started.Handle()})).empty()) << "a fixture starts nothing";
}

// The product's one way from a window to its process: the handle is the
// window's owner's, or there is none.
TEST(ProcessIdentity, AWindowsProcessIsOpenedOnlyWhileTheWindowIsItsOwn) {
    qvtest::TestDesktop desktop;
    qvtest::ProcessGuard fixture;
    ASSERT_TRUE(qvtest::StartProgram(fixture, "QVFixture.exe", "--title=Owned --lifetime=30000", desktop.Name()));
    HWND window = qvtest::FindWindowOn(desktop.Name(), nullptr, "Owned", 10000);
    ASSERT_TRUE(window);
    DWORD pid = 0;
    qv::UniqueHandle owner = qv::OpenWindowProcess(window, PROCESS_QUERY_LIMITED_INFORMATION, &pid);
    ASSERT_TRUE(owner);
    EXPECT_EQ(GetProcessId(owner.Get()), fixture.Pid());
    EXPECT_EQ(pid, fixture.Pid());
    qv::TextString name;
    EXPECT_FALSE(qv::WindowModuleBaseName(nullptr, name));

    qvtest::RunOnDesktop(desktop.Name(), [&] { PostMessageA(window, WM_CLOSE, 0, 0); });
    ASSERT_TRUE(fixture.WaitForEnd(10000));
    EXPECT_FALSE(qv::OpenWindowProcess(window, PROCESS_QUERY_LIMITED_INFORMATION, &pid));
    EXPECT_EQ(pid, 0u);
}

}  // namespace

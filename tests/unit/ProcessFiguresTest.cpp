// The outside counts that the benchmark and the soak run judge growth by,
// and the guard that ends what a test started.

#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "Handle.h"
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

// A guard ends the program a test started, but never a program started from
// the Linux side, as this test program was: Wine hands a freed id to a new
// process within seconds, so an id a test learnt may name another test
// program by the time a guard opens it.
TEST(ProcessGuardTest, EndsWhatATestStartedButNeverAProgramStartedFromOutside) {
    {
        qvtest::ProcessGuard self(GetCurrentProcessId());
        EXPECT_FALSE(self.Running());
    }  // had it taken this program, the program would have ended here
    qv::UniqueHandle started;
    {
        qvtest::ProcessGuard fixture;
        ASSERT_TRUE(qvtest::StartProgram(fixture, "QVFixture.exe", "--no-window --lifetime=30000", ""));
        ASSERT_TRUE(fixture.Running());
        started.Reset(OpenProcess(SYNCHRONIZE, FALSE, fixture.Pid()));
        ASSERT_TRUE(started);
    }
    EXPECT_EQ(WaitForSingleObject(started.Get(), 0), WAIT_OBJECT_0);
}

}  // namespace

#include "Security.h"

#include <windows.h>

#include <aclapi.h>
#include <sddl.h>

#include <gtest/gtest.h>

#include <memory>
#include <set>
#include <string>
#include <thread>

#include "Handle.h"

namespace {

struct LocalMemoryTraits {
    using Type = HLOCAL;
    static Type Invalid() { return nullptr; }
    static bool Valid(Type h) { return h != nullptr; }
    static void Close(Type h) { LocalFree(h); }
};
using UniqueLocal = qv::UniqueResource<LocalMemoryTraits>;

// The suite's rights on its own desktops: what the other programs ask for,
// and the daemon's mask.
constexpr ACCESS_MASK kProgramDesktopAccess =
    DESKTOP_READOBJECTS | DESKTOP_WRITEOBJECTS | DESKTOP_ENUMERATE | DESKTOP_CREATEWINDOW | DESKTOP_SWITCHDESKTOP;
constexpr ACCESS_MASK kDaemonDesktopAccess = 0xF20F01FF;

std::string SidText(PSID sid) {
    char* text = nullptr;
    if (!ConvertSidToStringSidA(sid, &text)) return "<bad SID>";
    UniqueLocal owner(text);
    return text;
}

std::unique_ptr<BYTE[]> TokenInformation(HANDLE token, TOKEN_INFORMATION_CLASS kind) {
    DWORD size = 0;
    GetTokenInformation(token, kind, nullptr, 0, &size);
    std::unique_ptr<BYTE[]> bytes(new BYTE[size]);
    return GetTokenInformation(token, kind, bytes.get(), size, &size) ? std::move(bytes) : nullptr;
}

// The SIDs the private DACL must name, read from the token as texts.
std::multiset<std::string> ExpectedSids() {
    std::multiset<std::string> sids = {"S-1-5-18"};
    HANDLE raw = nullptr;
    if (!OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, &raw)) return sids;
    qv::UniqueHandle token(raw);
    if (auto user = TokenInformation(token.Get(), TokenUser))
        sids.insert(SidText(reinterpret_cast<TOKEN_USER*>(user.get())->User.Sid));
    if (auto bytes = TokenInformation(token.Get(), TokenGroups)) {
        const TOKEN_GROUPS* groups = reinterpret_cast<const TOKEN_GROUPS*>(bytes.get());
        for (DWORD i = 0; i < groups->GroupCount; ++i)
            if ((groups->Groups[i].Attributes & SE_GROUP_LOGON_ID) == SE_GROUP_LOGON_ID)
                sids.insert(SidText(groups->Groups[i].Sid));
    }
    return sids;
}

// An object's DACL as the system reads it back: the SID of each entry, or
// the entry's type when it is not an access-allowed one.
struct ReadBackDacl {
    DWORD error = ERROR_SUCCESS;
    bool present = false;
    bool isProtected = false;
    std::multiset<std::string> entries;
};

ReadBackDacl ReadDacl(HANDLE object, SE_OBJECT_TYPE type) {
    ReadBackDacl result;
    PACL dacl = nullptr;
    PSECURITY_DESCRIPTOR raw = nullptr;
    result.error = GetSecurityInfo(object, type, DACL_SECURITY_INFORMATION, nullptr, nullptr, &dacl, nullptr, &raw);
    UniqueLocal descriptor(raw);
    if (result.error != ERROR_SUCCESS || !dacl) return result;
    result.present = true;
    SECURITY_DESCRIPTOR_CONTROL control = 0;
    DWORD revision = 0;
    result.isProtected = GetSecurityDescriptorControl(raw, &control, &revision) && (control & SE_DACL_PROTECTED);
    for (DWORD i = 0; i < dacl->AceCount; ++i) {
        ACE_HEADER* ace = nullptr;
        if (!GetAce(dacl, i, reinterpret_cast<void**>(&ace)))
            result.entries.insert("<unreadable>");
        else if (ace->AceType != ACCESS_ALLOWED_ACE_TYPE)
            result.entries.insert("<type " + std::to_string(ace->AceType) + ">");
        else
            result.entries.insert(SidText(&reinterpret_cast<ACCESS_ALLOWED_ACE*>(ace)->SidStart));
    }
    return result;
}

bool RunningOnWine() {
    HMODULE ntdll = GetModuleHandleA("ntdll.dll");
    return ntdll && GetProcAddress(ntdll, "wine_get_version");
}

std::string PipeName() { return "\\\\.\\pipe\\QVTest_Security_" + std::to_string(GetCurrentProcessId()); }
std::string DesktopName(const char* test) {
    return "QVTest_Sec_" + std::to_string(GetCurrentProcessId()) + "_" + test;
}

// A pipe instance as the asking program makes it.
qv::UniqueHandle CreateAskerPipe(qv::PrivateSecurity& security) {
    return qv::UniqueHandle(CreateNamedPipeA(PipeName().c_str(), PIPE_ACCESS_INBOUND,
                                             PIPE_TYPE_BYTE | PIPE_READMODE_BYTE | PIPE_WAIT | PIPE_REJECT_REMOTE_CLIENTS,
                                             PIPE_UNLIMITED_INSTANCES, 512, 512, 1000, security.Attributes()));
}

TEST(PrivateSecurity, PipeKeepsOthersOutButTakesTheDaemonsReply) {
    qv::PrivateSecurity security;
    ASSERT_TRUE(security.Build(GENERIC_READ | GENERIC_WRITE)) << GetLastError();
    qv::UniqueHandle first = CreateAskerPipe(security);
    ASSERT_TRUE(first) << GetLastError();
    DWORD flags = 0;
    ASSERT_TRUE(GetHandleInformation(first.Get(), &flags));
    EXPECT_EQ(flags & HANDLE_FLAG_INHERIT, 0u);

    ReadBackDacl dacl = ReadDacl(first.Get(), SE_KERNEL_OBJECT);
    ASSERT_EQ(dacl.error, static_cast<DWORD>(ERROR_SUCCESS));
    ASSERT_TRUE(dacl.present) << "a missing DACL lets everybody in";
    EXPECT_TRUE(dacl.isProtected);
    EXPECT_EQ(dacl.entries, ExpectedSids());

    // The restriction must not keep out the suite itself: further askers add
    // instances, and the daemon opens one for writing.
    qv::UniqueHandle second = CreateAskerPipe(security);
    EXPECT_TRUE(second) << GetLastError();
    qv::UniqueHandle client(
        CreateFileA(PipeName().c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr));
    ASSERT_TRUE(client) << GetLastError();
    const char reply[] = "reply";
    DWORD written = 0;
    ASSERT_TRUE(WriteFile(client.Get(), reply, sizeof(reply), &written, nullptr)) << GetLastError();
    // The client took whichever instance was listening: peek at both, as a
    // peek never waits.
    DWORD available = 0;
    for (HANDLE instance : {first.Get(), second.Get()}) {
        DWORD here = 0;
        if (instance && PeekNamedPipe(instance, nullptr, 0, nullptr, &here, nullptr)) available += here;
    }
    EXPECT_EQ(available, sizeof(reply));
}

TEST(PrivateSecurity, DesktopKeepsOthersOut) {
    qv::PrivateSecurity security;
    ASSERT_TRUE(security.Build(GENERIC_ALL)) << GetLastError();
    qv::UniqueDesktop desktop(
        CreateDesktopA(DesktopName("Dacl").c_str(), nullptr, nullptr, 0, kDaemonDesktopAccess, security.Attributes()));
    ASSERT_TRUE(desktop) << GetLastError();

    ReadBackDacl dacl = ReadDacl(desktop.Get(), SE_WINDOW_OBJECT);
    ASSERT_EQ(dacl.error, static_cast<DWORD>(ERROR_SUCCESS));
    if (!dacl.present && RunningOnWine()) GTEST_SKIP() << "Wine 8 reads back no DACL for a desktop";
    ASSERT_TRUE(dacl.present) << "a missing DACL lets everybody in";
    EXPECT_EQ(dacl.entries, ExpectedSids());
}

TEST(PrivateSecurity, DesktopStillGivesTheSuiteItsRights) {
    qv::PrivateSecurity security;
    ASSERT_TRUE(security.Build(GENERIC_ALL)) << GetLastError();
    const std::string name = DesktopName("Rights");
    qv::UniqueDesktop created(
        CreateDesktopA(name.c_str(), nullptr, nullptr, 0, kDaemonDesktopAccess, security.Attributes()));
    ASSERT_TRUE(created) << GetLastError();
    // Opened by name before any thread uses the desktop: Wine drops the name
    // soon after the last thread leaves it.
    qv::UniqueDesktop daemonOpen(OpenDesktopA(name.c_str(), 0, FALSE, kDaemonDesktopAccess));
    EXPECT_TRUE(daemonOpen) << GetLastError();
    qv::UniqueDesktop programOpen(OpenDesktopA(name.c_str(), 0, FALSE, kProgramDesktopAccess));
    ASSERT_TRUE(programOpen) << GetLastError();

    bool attached = false;
    bool windowMade = false;
    std::thread worker([&] {
        attached = SetThreadDesktop(programOpen.Get()) != FALSE;
        if (!attached) return;
        HWND window = CreateWindowExA(0, "STATIC", "", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr, nullptr, nullptr);
        windowMade = window != nullptr;
        if (window) DestroyWindow(window);
    });
    worker.join();
    EXPECT_TRUE(attached);
    EXPECT_TRUE(windowMade);
    // Wine closed programOpen when the thread attached to it ended, so its
    // close below fails there harmlessly; Windows needs it.
}

}  // namespace

// The one window procedure and dialog procedure of the suite's programs,
// with real windows and the daemon's version dialog from this module.

#include <windows.h>

#include <gtest/gtest.h>

#include <vector>

#include "QuorvelRes.h"
#include "WindowBase.h"

namespace {

constexpr char kClass[] = "QVTestWindowBase";
constexpr UINT kPing = WM_APP + 1;

class Recorder : public qv::Window {
public:
    std::vector<UINT> seen;
    HWND handleAtCreate = nullptr;
    bool destroyed = false;

protected:
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override {
        seen.push_back(message);
        if (message == WM_CREATE) handleAtCreate = Handle();
        if (message == kPing) return 42;
        return Window::HandleMessage(message, wParam, lParam);
    }
    void OnDestroyed() override { destroyed = true; }
};

TEST(WindowBase, TheObjectServesItsWindowFromItsFirstMessageToItsLast) {
    WNDCLASSEXA wc = {};
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.lpszClassName = kClass;
    ASSERT_TRUE(qv::Window::Register(wc));
    ASSERT_TRUE(qv::Window::Register(wc)) << "a second registration is no failure";

    Recorder recorder;
    HWND window = recorder.Create(0, kClass, "", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, GetModuleHandleA(nullptr));
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(recorder.Handle(), window);
    EXPECT_EQ(recorder.handleAtCreate, window);
    ASSERT_FALSE(recorder.seen.empty());
    EXPECT_EQ(recorder.seen.front(), static_cast<UINT>(WM_NCCREATE));
    EXPECT_EQ(qv::Window::FromHandle(window), &recorder);
    EXPECT_EQ(SendMessageA(window, kPing, 0, 0), 42);

    EXPECT_TRUE(DestroyWindow(window));
    EXPECT_TRUE(recorder.destroyed);
    EXPECT_EQ(recorder.Handle(), nullptr);
    EXPECT_EQ(recorder.seen.back(), static_cast<UINT>(WM_NCDESTROY));

    // A window of the class made without an object is served by the default.
    HWND plain = CreateWindowExA(0, kClass, "", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, GetModuleHandleA(nullptr),
                                 nullptr);
    ASSERT_NE(plain, nullptr);
    EXPECT_EQ(SendMessageA(plain, kPing, 0, 0), 0);
    EXPECT_TRUE(DestroyWindow(plain));

    // An object that goes first takes its window with it.
    HWND left = nullptr;
    {
        Recorder shortLived;
        left = shortLived.Create(0, kClass, "", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, GetModuleHandleA(nullptr));
        ASSERT_NE(left, nullptr);
    }
    EXPECT_FALSE(IsWindow(left));
}

class Ending : public qv::Dialog {
public:
    HWND atInit = nullptr;

protected:
    BOOL OnInit() override {
        atInit = Handle();
        PostMessageA(Handle(), WM_COMMAND, MAKEWPARAM(1234, BN_CLICKED), 0);
        return TRUE;
    }
    BOOL OnCommand(WORD id, WORD code, HWND control) override {
        if (id == 1234) {
            End(77);
            return TRUE;
        }
        return Dialog::OnCommand(id, code, control);
    }
};

TEST(WindowBase, DialogsEndWithTheirResultAndLetGoOfTheirWindow) {
    Ending modal;
    EXPECT_EQ(modal.DoModal(GetModuleHandleA(nullptr), IDD_VERSION, nullptr), 77);
    EXPECT_NE(modal.atInit, nullptr);
    EXPECT_EQ(modal.Handle(), nullptr);

    qv::Dialog modeless;
    HWND dialog = modeless.CreateModeless(GetModuleHandleA(nullptr), IDD_VERSION, nullptr);
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(modeless.Handle(), dialog);
    SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
    EXPECT_FALSE(IsWindow(dialog)) << "Cancel ends a modeless dialog too";
    EXPECT_EQ(modeless.Handle(), nullptr);

    EXPECT_EQ(qv::Dialog().DoModal(GetModuleHandleA(nullptr), 9999, nullptr), -1) << "no such dialog";
}

}  // namespace

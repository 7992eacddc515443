#include "BarWindows.h"

#include <algorithm>
#include <utility>

#include "Daemon.h"
#include "Desktops.h"
#include "PipeClient.h"
#include "Processes.h"
#include "TestFiles.h"
#include "Protocol.h"

namespace bartest {

namespace {

HWND Bar() { return FindWindowA(qv::kBarThreadWindowClass, qv::kBarWindowName); }

}  // namespace

std::string BarSettings(const std::string& controllerLines) {
    std::string text = ";QVBarCntrl\r\nFileVersion\t0x0200\r\nQVBarController::AnyController::RingListClass {\r\n";
    size_t start = 0;
    while (start < controllerLines.size()) {
        size_t end = controllerLines.find('\n', start);
        if (end == std::string::npos) end = controllerLines.size();
        text += "\t" + controllerLines.substr(start, end - start) + "\r\n";
        start = end + 1;
    }
    return text + "}\r\n--EOF--\r\n";
}

std::vector<std::string> DesktopIds(const qvtest::Daemon& daemon) {
    qv::DesktopInformation info;
    std::vector<std::string> ids;
    if (qv::PipeClient(daemon.StartDesktop()).AskInformation(&info) != qv::QueryResult::kOk) return ids;
    for (const qv::DesktopRecord& record : info.desktops) ids.push_back(record.id);
    return ids;
}

std::vector<std::string> StartWithBar(qvtest::Daemon& daemon, const std::string& barSettings,
                                      const std::vector<std::string>& desktops) {
    qvtest::EndSharedDaemon();
    qvtest::WriteBytes(daemon.Dir().File("QVCtrlBar.ini"), barSettings);
    if (!daemon.StartReady(kBarController, desktops)) return {};
    std::vector<std::string> ids = DesktopIds(daemon);
    for (const std::string& id : ids) {
        if (!WaitForBar(id)) return {};
    }
    return ids;
}

std::vector<std::string> SharedBarDesktops(qvtest::Daemon** daemon) {
    qvtest::Daemon& shared = qvtest::SharedDaemon(kBarController, {"", ""});
    *daemon = &shared;
    if (!shared.Running()) return {};
    std::vector<std::string> ids = DesktopIds(shared);
    for (const std::string& id : ids) {
        if (!WaitForBar(id)) return {};
    }
    return ids;
}

bool EveryHangerShows(const std::vector<std::string>& ids, const std::vector<std::string>& captions, DWORD timeoutMs) {
    return qvtest::WaitUntil(
        [&] {
            for (const std::string& id : ids) {
                if (HangerCaptions(id) != captions) return false;
            }
            return true;
        },
        timeoutMs);
}

HWND StartFixtureWindow(std::vector<std::unique_ptr<qvtest::ProcessGuard>>& guards, const std::string& desktop,
                        const std::string& title, const std::string& extra) {
    guards.push_back(std::make_unique<qvtest::ProcessGuard>());
    if (!qvtest::StartProgram(*guards.back(), "QVFixture.exe", "--title=" + title + " " + extra, desktop)) return nullptr;
    HWND window = qvtest::FindWindowOn(desktop, nullptr, title.c_str(), 10000);
    // The fixture shows its window only after making it (and its owned
    // windows); a hidden window is rightly never hung on, so a test that
    // asks at once would race the fixture's ShowWindow.
    if (window && !qvtest::WaitUntil([&] { return qvtest::ShownOn(desktop, window); }, 10000)) return nullptr;
    return window;
}

HWND BarHere() { return Bar(); }

HWND WaitForBar(const std::string& desktop, DWORD timeoutMs) {
    // The bar's window is there before its buttons; it is shown once they
    // are all made. Visibility is known only on the window's own desktop.
    HWND bar = nullptr;
    qvtest::WaitUntil(
        [&] {
            qvtest::RunOnDesktop(desktop, [&] {
                HWND found = Bar();
                bar = found && IsWindowVisible(found) ? found : nullptr;
            });
            return bar != nullptr;
        },
        timeoutMs);
    return bar;
}

std::vector<Button> DesktopButtons(const std::string& desktop) {
    std::vector<Button> buttons;
    qvtest::RunOnDesktop(desktop, [&] {
        HWND area = FindWindowExA(Bar(), nullptr, qv::kBarThreadWindowClass, "Switch");
        for (HWND b = area ? GetWindow(area, GW_CHILD) : nullptr; b; b = GetWindow(b, GW_HWNDNEXT)) {
            buttons.push_back(Button{b, qvtest::WindowText(b), SendMessageA(b, BM_GETCHECK, 0, 0) == BST_CHECKED,
                                     IsWindowEnabled(b) != FALSE});
        }
    });
    // The children come in z-order; the bar's order is left to right.
    std::vector<Button> ordered;
    for (size_t i = 0; i < buttons.size(); ++i) {
        for (const Button& b : buttons) {
            if (b.caption == std::to_string(i + 1)) ordered.push_back(b);
        }
    }
    return ordered.size() == buttons.size() ? ordered : buttons;
}

namespace {

// The hanger's buttons, ordered by their place on the bar.
std::vector<HWND> HangerButtons(const std::string& desktop) {
    std::vector<std::pair<int, HWND>> found;
    qvtest::RunOnDesktop(desktop, [&] {
        HWND area = FindWindowExA(Bar(), nullptr, qv::kBarThreadWindowClass, "Hanger");
        for (HWND b = area ? GetWindow(area, GW_CHILD) : nullptr; b; b = GetWindow(b, GW_HWNDNEXT)) {
            RECT r = {};
            GetWindowRect(b, &r);
            found.emplace_back(r.left, b);
        }
    });
    std::sort(found.begin(), found.end());
    std::vector<HWND> buttons;
    for (const auto& f : found) buttons.push_back(f.second);
    return buttons;
}

}  // namespace

std::vector<std::string> HangerCaptions(const std::string& desktop) {
    std::vector<std::string> captions;
    for (HWND b : HangerButtons(desktop)) captions.push_back(qvtest::WindowText(b));
    return captions;
}

HWND HangerButton(const std::string& desktop, size_t place) {
    const std::vector<HWND> buttons = HangerButtons(desktop);
    return place < buttons.size() ? buttons[place] : nullptr;
}

HWND BarButton(const std::string& desktop, const char* caption) {
    HWND found = nullptr;
    qvtest::RunOnDesktop(desktop, [&] { found = FindWindowExA(Bar(), nullptr, nullptr, caption); });
    return found;
}

bool Click(const std::string& desktop, HWND button) {
    bool sent = false;
    qvtest::RunOnDesktop(desktop, [&] {
        DWORD_PTR result = 0;
        sent = SendMessageTimeoutA(button, BM_CLICK, 0, 0, SMTO_ABORTIFHUNG, 5000, &result) != 0;
    });
    return sent;
}

int BarHeight(const std::string& desktop) {
    int height = -1;
    qvtest::RunOnDesktop(desktop, [&] {
        RECT rect = {};
        if (GetWindowRect(Bar(), &rect)) height = rect.bottom - rect.top;
    });
    return height;
}

DWORD BarProcess(const std::string& desktop) {
    DWORD pid = 0;
    qvtest::RunOnDesktop(desktop, [&] {
        if (HWND bar = Bar()) GetWindowThreadProcessId(bar, &pid);
    });
    return pid;
}

}  // namespace bartest

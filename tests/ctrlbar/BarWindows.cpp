#include "BarWindows.h"

#include <algorithm>
#include <utility>

#include "Desktops.h"
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

HWND WaitForBar(const std::string& desktop, DWORD timeoutMs) {
    return qvtest::FindWindowOn(desktop, qv::kBarThreadWindowClass, qv::kBarWindowName, timeoutMs);
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

#include "RunningViewer.h"

#include <algorithm>

#include "DaemonRequest.h"
#include "Desktops.h"
#include "QVViewerRes.h"
#include "Viewer.h"

namespace qvtest {

bool RunningViewer::Start(const std::string& desktop) {
    m_desktop = desktop;
    if (!StartProgram(m_run, "QVViewer.exe", "", desktop)) return false;
    m_frame = FindWindowOn(desktop, qv::viewer::kFrameClassName, qv::viewer::kCaption, 30000);
    // The frame is found as soon as it exists; its client comes with its
    // WM_CREATE.
    return m_frame &&
           WaitUntil([&] { return (m_client = GetDlgItem(m_frame, IDC_VW_MDICLIENT)) != nullptr; }, 10000);
}

bool RunningViewer::WaitDrawn(size_t count, DWORD timeoutMs) const {
    // The viewer makes and tiles its windows before its message loop: a
    // message it answers comes after that.
    if (!qv::SendBounded(m_frame, WM_NULL, 0, 0, 30000).Answered()) return false;
    return WaitUntil(
        [&] {
            const std::vector<HWND> windows = Children();
            return windows.size() == count && std::all_of(windows.begin(), windows.end(), [](HWND window) {
                       HWND picture = GetDlgItem(window, ID_VW_TASKSWITCH);
                       return picture && (GetWindowLongPtrA(picture, GWL_STYLE) & WS_VISIBLE);
                   });
        },
        timeoutMs);
}

std::vector<HWND> RunningViewer::Children() const {
    std::vector<HWND> windows;
    for (HWND child = GetWindow(m_client, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
        windows.push_back(child);
    return windows;
}

HWND RunningViewer::Child(const std::string& title) const {
    for (HWND child : Children())
        if (WindowText(child) == title) return child;
    return nullptr;
}

void RunningViewer::Command(WORD id) const {
    if (m_frame) PostMessageA(m_frame, WM_COMMAND, MAKEWPARAM(id, 0), 0);
}

}  // namespace qvtest

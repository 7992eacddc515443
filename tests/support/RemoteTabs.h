#pragma once
// Another process's tab control, read and clicked from a test.

#include <windows.h>
#include <commctrl.h>

#include <string>

#include "Handle.h"

namespace qvtest {

// Tab labels and places are read through a buffer placed in the control's
// process: a pointer of the test's means nothing there.
class RemoteTabs {
public:
    RemoteTabs(HWND tabs, DWORD pid)
        : m_tabs(tabs), m_process(OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE, pid)) {
        if (m_process)
            m_buffer = VirtualAllocEx(m_process.Get(), nullptr, kSize, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE);
    }
    ~RemoteTabs() {
        if (m_buffer) VirtualFreeEx(m_process.Get(), m_buffer, 0, MEM_RELEASE);
    }
    RemoteTabs(const RemoteTabs&) = delete;
    RemoteTabs& operator=(const RemoteTabs&) = delete;

    int Count() const { return static_cast<int>(Send(TCM_GETITEMCOUNT, 0, 0)); }
    int Selected() const { return static_cast<int>(Send(TCM_GETCURSEL, 0, 0)); }
    std::string Label(int tab) const {
        TCITEMA item{};
        item.mask = TCIF_TEXT;
        item.cchTextMax = 256;
        item.pszText = static_cast<char*>(m_buffer) + sizeof item;
        if (!Write(&item, sizeof item) || Send(TCM_GETITEMA, tab, reinterpret_cast<LPARAM>(m_buffer)) != TRUE)
            return "<unreadable>";
        char text[257] = "";
        SIZE_T read = 0;
        ReadProcessMemory(m_process.Get(), item.pszText, text, 256, &read);
        return text;
    }
    // A click on the tab as the mouse gives it, at the middle of its place.
    bool Click(int tab) const {
        RECT place{};
        SIZE_T read = 0;
        if (Send(TCM_GETITEMRECT, tab, reinterpret_cast<LPARAM>(m_buffer)) != TRUE ||
            !ReadProcessMemory(m_process.Get(), m_buffer, &place, sizeof place, &read))
            return false;
        const LPARAM at = MAKELPARAM((place.left + place.right) / 2, (place.top + place.bottom) / 2);
        return Send(WM_LBUTTONDOWN, MK_LBUTTON, at) != -1 && Send(WM_LBUTTONUP, 0, at) != -1;
    }

private:
    static constexpr SIZE_T kSize = 4096;
    bool Write(const void* data, SIZE_T size) const {
        SIZE_T written = 0;
        return m_buffer && WriteProcessMemory(m_process.Get(), m_buffer, data, size, &written);
    }
    LRESULT Send(UINT message, WPARAM wParam, LPARAM lParam) const {
        DWORD_PTR result = 0;
        if (!SendMessageTimeoutA(m_tabs, message, wParam, lParam, SMTO_ABORTIFHUNG, 5000, &result)) return -1;
        return static_cast<LRESULT>(result);
    }

    HWND m_tabs;
    qv::UniqueHandle m_process;
    void* m_buffer = nullptr;
};

}  // namespace qvtest

#pragma once
// Another process's report list view, read and driven from a test.

#include <windows.h>
#include <commctrl.h>

#include <string>

#include "Handle.h"

namespace qvtest {

// The text of one cell of another process's list view, read through a
// buffer placed in that process.
class RemoteList {
public:
    RemoteList(HWND list, DWORD pid)
        : m_list(list), m_process(OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE, pid)) {
        if (m_process)
            m_buffer = VirtualAllocEx(m_process.Get(), nullptr, kSize, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE);
    }
    ~RemoteList() {
        if (m_buffer) VirtualFreeEx(m_process.Get(), m_buffer, 0, MEM_RELEASE);
    }
    RemoteList(const RemoteList&) = delete;
    RemoteList& operator=(const RemoteList&) = delete;

    int Count() const { return static_cast<int>(Send(LVM_GETITEMCOUNT, 0, 0)); }
    std::string Text(int row, int column) const {
        LVITEMA item{};
        item.iSubItem = column;
        item.cchTextMax = 256;
        item.pszText = static_cast<char*>(m_buffer) + sizeof item;
        if (!Put(item)) return "<unreadable>";
        Send(LVM_GETITEMTEXTA, row, reinterpret_cast<LPARAM>(m_buffer));
        char text[257] = "";
        SIZE_T read = 0;
        ReadProcessMemory(m_process.Get(), item.pszText, text, 256, &read);
        return text;
    }
    std::string Header(int column) const {
        HWND header = reinterpret_cast<HWND>(Send(LVM_GETHEADER, 0, 0));
        HDITEMA item{};
        item.mask = HDI_TEXT;
        item.cchTextMax = 256;
        item.pszText = static_cast<char*>(m_buffer) + sizeof item;
        SIZE_T written = 0;
        if (!header || !WriteProcessMemory(m_process.Get(), m_buffer, &item, sizeof item, &written))
            return "<unreadable>";
        DWORD_PTR result = 0;
        if (!SendMessageTimeoutA(header, HDM_GETITEMA, column, reinterpret_cast<LPARAM>(m_buffer), SMTO_ABORTIFHUNG,
                                 5000, &result))
            return "<no answer>";
        char text[257] = "";
        SIZE_T read = 0;
        ReadProcessMemory(m_process.Get(), item.pszText, text, 256, &read);
        return text;
    }
    // A click on a column header as the mouse gives it, at x in the header.
    void ClickHeader(int x) const {
        HWND header = reinterpret_cast<HWND>(Send(LVM_GETHEADER, 0, 0));
        SendMessageTimeoutA(header, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(x, 5), SMTO_ABORTIFHUNG, 5000, nullptr);
        SendMessageTimeoutA(header, WM_LBUTTONUP, 0, MAKELPARAM(x, 5), SMTO_ABORTIFHUNG, 5000, nullptr);
    }
    int Selected() const { return static_cast<int>(Send(LVM_GETSELECTEDCOUNT, 0, 0)); }
    bool Select(int row) const {
        LVITEMA item{};
        item.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
        item.state = LVIS_SELECTED | LVIS_FOCUSED;
        return Put(item) && Send(LVM_SETITEMSTATE, row, reinterpret_cast<LPARAM>(m_buffer)) != 0;
    }

private:
    static constexpr SIZE_T kSize = 4096;
    bool Put(const LVITEMA& item) const {
        SIZE_T written = 0;
        return m_buffer && WriteProcessMemory(m_process.Get(), m_buffer, &item, sizeof item, &written);
    }
    LRESULT Send(UINT message, WPARAM wParam, LPARAM lParam) const {
        DWORD_PTR result = 0;
        if (!SendMessageTimeoutA(m_list, message, wParam, lParam, SMTO_ABORTIFHUNG, 5000, &result)) return -1;
        return static_cast<LRESULT>(result);
    }

    HWND m_list;
    qv::UniqueHandle m_process;
    void* m_buffer = nullptr;
};

}  // namespace qvtest

#pragma once
// Another process's report list view, read and driven from a test.

#include <windows.h>
#include <commctrl.h>

#include <string>

#include "RemoteBuffer.h"

namespace qvtest {

// The cells and headers of another process's list view, read through a
// buffer placed in that process.
class RemoteList {
public:
    RemoteList(HWND list, DWORD pid) : m_list(list), m_buffer(pid) {}

    int Count() const { return static_cast<int>(Send(LVM_GETITEMCOUNT, 0, 0)); }
    std::string Text(int row, int column) const {
        LVITEMA item{};
        item.iSubItem = column;
        item.cchTextMax = RemoteBuffer::kTextMax;
        item.pszText = m_buffer.TextAfter(sizeof item);
        if (!m_buffer.Put(item)) return "<unreadable>";
        Send(LVM_GETITEMTEXTA, row, m_buffer.Address());
        return m_buffer.Text(item.pszText);
    }
    std::string Header(int column) const {
        HWND header = reinterpret_cast<HWND>(Send(LVM_GETHEADER, 0, 0));
        HDITEMA item{};
        item.mask = HDI_TEXT;
        item.cchTextMax = RemoteBuffer::kTextMax;
        item.pszText = m_buffer.TextAfter(sizeof item);
        if (!header || !m_buffer.Put(item)) return "<unreadable>";
        if (SendToControl(header, HDM_GETITEMA, column, m_buffer.Address()) == -1) return "<no answer>";
        return m_buffer.Text(item.pszText);
    }
    // A click on a column header as the mouse gives it, at x in the header.
    void ClickHeader(int x) const {
        HWND header = reinterpret_cast<HWND>(Send(LVM_GETHEADER, 0, 0));
        SendToControl(header, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(x, 5));
        SendToControl(header, WM_LBUTTONUP, 0, MAKELPARAM(x, 5));
    }
    int Selected() const { return static_cast<int>(Send(LVM_GETSELECTEDCOUNT, 0, 0)); }
    bool Select(int row) const {
        LVITEMA item{};
        item.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
        item.state = LVIS_SELECTED | LVIS_FOCUSED;
        return m_buffer.Put(item) && Send(LVM_SETITEMSTATE, row, m_buffer.Address()) != 0;
    }

private:
    LRESULT Send(UINT message, WPARAM wParam, LPARAM lParam) const {
        return SendToControl(m_list, message, wParam, lParam);
    }

    HWND m_list;
    RemoteBuffer m_buffer;
};

}  // namespace qvtest

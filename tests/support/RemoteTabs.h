#pragma once
// Another process's tab control, read and clicked from a test.

#include <windows.h>
#include <commctrl.h>

#include <string>

#include "RemoteBuffer.h"

namespace qvtest {

// Tab labels and places, read through a buffer placed in the control's
// process.
class RemoteTabs {
public:
    RemoteTabs(HWND tabs, DWORD pid) : m_tabs(tabs), m_buffer(pid) {}

    int Count() const { return static_cast<int>(Send(TCM_GETITEMCOUNT, 0, 0)); }
    int Selected() const { return static_cast<int>(Send(TCM_GETCURSEL, 0, 0)); }
    std::string Label(int tab) const {
        TCITEMA item{};
        item.mask = TCIF_TEXT;
        item.cchTextMax = RemoteBuffer::kTextMax;
        item.pszText = m_buffer.TextAfter(sizeof item);
        if (!m_buffer.Put(item) || Send(TCM_GETITEMA, tab, m_buffer.Address()) != TRUE) return "<unreadable>";
        return m_buffer.Text(item.pszText);
    }
    // A click on the tab as the mouse gives it, at the middle of its place.
    bool Click(int tab) const {
        RECT place{};
        if (Send(TCM_GETITEMRECT, tab, m_buffer.Address()) != TRUE || !m_buffer.Get(&place)) return false;
        const LPARAM at = MAKELPARAM((place.left + place.right) / 2, (place.top + place.bottom) / 2);
        return Send(WM_LBUTTONDOWN, MK_LBUTTON, at) != -1 && Send(WM_LBUTTONUP, 0, at) != -1;
    }

private:
    LRESULT Send(UINT message, WPARAM wParam, LPARAM lParam) const {
        return SendToControl(m_tabs, message, wParam, lParam);
    }

    HWND m_tabs;
    RemoteBuffer m_buffer;
};

}  // namespace qvtest

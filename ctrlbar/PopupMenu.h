#pragma once
// A popup menu that is destroyed at the end of its scope.

#include <windows.h>

#include <string>

namespace qv {

class PopupMenu {
public:
    PopupMenu() : m_menu(CreatePopupMenu()) {}
    ~PopupMenu() {
        if (m_menu) DestroyMenu(m_menu);
    }
    PopupMenu(const PopupMenu&) = delete;
    PopupMenu& operator=(const PopupMenu&) = delete;
    HMENU Get() const { return m_menu; }
    void Add(UINT command, const std::string& text) { AppendMenuA(m_menu, MF_STRING, command, text.c_str()); }
    void Separator() { AppendMenuA(m_menu, MF_SEPARATOR, 0, nullptr); }

private:
    HMENU m_menu;
};

}  // namespace qv

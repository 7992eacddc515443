#pragma once
// A popup menu that is destroyed at the end of its scope.

#include <windows.h>

#include <string>

#include "Handle.h"

namespace qv {

class PopupMenu {
public:
    PopupMenu() : m_menu(CreatePopupMenu()) {}
    HMENU Get() const { return m_menu.Get(); }
    void Add(UINT command, const std::string& text) { AppendMenuA(Get(), MF_STRING, command, text.c_str()); }
    void Separator() { AppendMenuA(Get(), MF_SEPARATOR, 0, nullptr); }

private:
    UniqueMenu m_menu;
};

}  // namespace qv

#include "LauncherMenu.h"

#include "Protocol.h"

namespace qv {

LauncherMenu::LauncherMenu(const BarShared& shared, int number, HWND bar, int unitWidth)
    : m_shared(shared), m_number(number), m_bar(bar), m_unitWidth(unitWidth) {}

LauncherMenu::~LauncherMenu() {
    if (m_menu) DestroyMenu(m_menu);
}

HMENU LauncherMenu::Build() {
    m_menu = CreatePopupMenu();
    if (!m_menu) return nullptr;
    AppendMenuA(m_menu, MF_STRING, kLauncherEndBar, "制御ﾊﾞｰ だけの終了(&E)...");
    AppendMenuA(m_menu, MF_STRING, kLauncherEndBoth, "Quorvel・制御ﾊﾞｰの終了(&X)...");
    return m_menu;
}

bool LauncherMenu::MeasureItem(MEASUREITEMSTRUCT&) const { return false; }

bool LauncherMenu::DrawItem(const DRAWITEMSTRUCT&) const { return false; }

void LauncherMenu::Run(UINT command) {
    if (command == kLauncherEndBar || command == kLauncherEndBoth)
        PostMessageA(m_bar, kRequestMessage, kBarEndRequest, command == kLauncherEndBar ? 1 : 2);
}

}  // namespace qv

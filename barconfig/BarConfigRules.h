#pragma once
// The bar configurator's window-free rules: how the controller's stored
// values show in its choices and come back, the desktops' menu lists and
// their defaults, and the module list as it is stored.

#include <cstdint>
#include <string>
#include <vector>

#include "BarSettings.h"

namespace qv::barconfig {

// The timers' drop-downs: "１秒" to "９秒".
inline constexpr int kTimerChoices = 9;
// The item of the next whole second at or above the stored value, at most
// the last.
int TimerChoice(int32_t ms);
int32_t TimerOfChoice(int choice);

// The hanger's sort drop-down; a stored value it does not list shows (and is
// saved as) the last, the hang-on order.
inline constexpr int kHangOnOrder = 4;
int HangerSortChoice(int32_t stored);

// A kind as the menu list names it.
const char* KindLabel(PanelKind kind);
// A desktop's entry in the desktop drop-down: the first is the default one.
std::string DesktopMenuLabel(size_t index);
// The four items of a new desktop.
std::vector<PanelDescription> NewDesktopMenus();
// The content of a missing file: the controller's defaults and one desktop.
BarDocument DefaultBarDocument();
// What "ﾃﾞﾌｫﾙﾄ" resets: every controller key but the modules.
void ResetControllerKeys(BarController* controller);

// The list as stored: without the suite's own programs, which must never be
// hung on the bar.
std::vector<std::string> StoredHangOnModules(const std::vector<std::string>& list);
// A Shell Folders value by its display name (its own name when unlisted).
std::string ShellFolderLabel(const std::string& valueName);

// Loads the file; false when it could not be read whole (a missing file
// included: missing tells which).
bool LoadBarFile(const char* path, BarDocument* document, bool* missing);
// Writes through a temporary file that then replaces the old one, so that
// a failed save leaves the old file whole.
bool SaveBarFile(const char* path, const BarDocument& document);

}  // namespace qv::barconfig

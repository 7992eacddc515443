#include "TaskSwitch.h"

#include "ProcessApi.h"
#include "SwitchDialog.h"
#include "SwitchRules.h"
#include "DesktopWindows.h"

namespace qv::taskswitch {

namespace {

// Kept with the window side: the rules also build natively, where no
// compiler turns a Japanese literal into code page 932.
constexpr char kUsageText[] =
    "Usage : QVTaskSwitch.exe [{-A|-D}] [-t wait]\r\n"
    "\t-A : 全ﾃﾞｽｸﾄｯﾌﾟのｱﾌﾟﾘｹｰｼｮﾝをﾊﾝｸﾞｵﾝする.\r\n"
    "\t-D : そのﾃﾞｽｸﾄｯﾌﾟのｱﾌﾟﾘｹｰｼｮﾝをﾊﾝｸﾞｵﾝする.\r\n"
    "\t-t wait : wait ms 後に実行する.\r\n"
    "\r\n"
    "\t-A も -D も指定しない場合には対話画面が現れます.\r\n"
    "\tﾃﾞﾌｫﾙﾄ: QVTaskSwitch.exe -t 0\r\n";

// -A and -D: every desktop's windows, or the own desktop's, hung on in order;
// a failure ends the work on that desktop.
void HangOnAll(DesktopList& list, bool ownDesktopOnly) {
    for (auto& desktop : list.Desktops()) {
        if (ownDesktopOnly && desktop.get() != list.OwnDesktop()) continue;
        list.Enumerate(*desktop);
        for (const WindowEntry& window : desktop->windows)
            if (!HangOnBar(nullptr, window.window, kCaption)) break;
    }
}

}  // namespace

int RunTaskSwitch(HINSTANCE instance, const char* commandTail) {
    SwitchCommand command = ReadSwitchCommand(commandTail);
    if (command.mode == RunMode::kUsage) {
        MessageBoxA(nullptr, kUsageText, kCaption, MB_OK);
        return 0;
    }
    if (command.waitMs) Sleep(command.waitMs);
    ProcessApiBinding binding(kProcessFunctions);
    DesktopList list(kCaption);
    list.SetOptions(kInitialListOptions);
    list.LookUpBar();
    if (!list.Load()) return 1;
    switch (command.mode) {
    case RunMode::kAllDesktops:
        HangOnAll(list, false);
        break;
    case RunMode::kOwnDesktop:
        HangOnAll(list, true);
        break;
    default: {
        SwitchDialog dialog(list);
        if (dialog.Run(instance) == IDOK && dialog.ChosenWindow())
            list.Activate(*dialog.ChosenWindow(), dialog.Maximize());
        break;
    }
    }
    return 0;
}

}  // namespace qv::taskswitch

#include "TaskSwitch.h"

#include "ProcessApi.h"
#include "SwitchDialog.h"
#include "SwitchRules.h"
#include "TaskDesktops.h"

namespace qv::taskswitch {

namespace {

// The process functions stay bound for the whole run, on every path out.
class ProcessApiBinding {
public:
    ProcessApiBinding() { BindProcessApi(kProcessFunctions, true); }
    ~ProcessApiBinding() { BindProcessApi(kProcessFunctions, false); }
    ProcessApiBinding(const ProcessApiBinding&) = delete;
    ProcessApiBinding& operator=(const ProcessApiBinding&) = delete;
};

}  // namespace

int RunTaskSwitch(HINSTANCE instance, const char* commandTail) {
    SwitchCommand command = ReadSwitchCommand(commandTail);
    if (command.mode == RunMode::kUsage) {
        MessageBoxA(nullptr, kUsageText, "QVTaskSwitch", MB_OK);
        return 0;
    }
    if (command.waitMs) Sleep(command.waitMs);
    ProcessApiBinding binding;
    DesktopList list;
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

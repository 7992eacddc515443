#include "SwitchRules.h"

#include <cerrno>
#include <cstdlib>

#include "CommandLine.h"

namespace qv::taskswitch {

namespace {

// atoi's reading without its undefined overflow: out-of-range values stop at
// the limits of long.
long ReadWait(const char* text) {
    errno = 0;
    return std::strtol(text, nullptr, 10);
}

}  // namespace

SwitchCommand ReadSwitchCommand(const char* tail) {
    SwitchCommand command;
    OptionList options;
    if (ParseCommandLine(options, tail) != kParseOk) {
        command.mode = RunMode::kUsage;
        return command;
    }
    for (const char* help : {"/?", "-H", "-h", "/H", "/h"}) {
        if (options.Has(help)) {
            command.mode = RunMode::kUsage;
            return command;
        }
    }
    if (options.Has("-A"))
        command.mode = RunMode::kAllDesktops;
    else if (options.Has("-D"))
        command.mode = RunMode::kOwnDesktop;
    long wait = ReadWait(options.Value("-t"));
    command.waitMs = wait > 0 ? static_cast<unsigned long>(wait) : 0;
    return command;
}

ButtonStates DecideButtons(uint32_t options, int selectedCount, bool barFoundAtStart) {
    ButtonStates states;
    if (ViewOnly(options)) {
        states.deselectAll = true;
        return states;
    }
    if (selectedCount <= 0) return states;
    states.activate = selectedCount == 1;
    states.hangOn = barFoundAtStart;
    return states;
}

}  // namespace qv::taskswitch

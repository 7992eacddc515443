#pragma once
// The task switch tool's window-free rules: its command line, which windows
// its list takes in, the texts it shows and the order of its list.

#include <cstdint>
#include <string>

#include "WindowListRules.h"

namespace qv::taskswitch {

// The caption of the tool's message boxes.
inline constexpr char kCaption[] = "QVTaskSwitch";

enum class RunMode {
    kUsage,        // an invalid line or a help option: the usage text, nothing else
    kDialog,       // neither -A nor -D
    kAllDesktops,  // -A (wins over -D)
    kOwnDesktop,   // -D
};

// The tool starts with module names upper-cased.
inline constexpr uint32_t kInitialListOptions = kUpperCaseModules;

struct SwitchCommand {
    RunMode mode = RunMode::kDialog;
    // -t, read as atoi reads it; a value below 0 waits not at all, since the
    // system would take it for an endless wait.
    unsigned long waitMs = 0;
};

// The command tail after the program name.
SwitchCommand ReadSwitchCommand(const char* tail);

struct ButtonStates {
    bool activate = false;
    bool hangOn = false;
    bool deselectAll = false;
};
ButtonStates DecideButtons(uint32_t options, int selectedCount, bool barFoundAtStart);

}  // namespace qv::taskswitch

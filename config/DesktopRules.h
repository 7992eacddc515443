#pragma once
// The desktop dialog's window-free rules: the close-behaviour word and its
// presets, and the texts of a program entry's row.

#include <cstdint>
#include <string>

#include "DisplayMode.h"
#include "Executant.h"

namespace qv::config {

// The close-behaviour word's presets, in the order of their drop-down.
enum class ClosePreset { kKeepProcesses, kOrdinaryProcesses, kEverything, kFree };
inline constexpr uint32_t kOrdinaryProcessesWord = 0x00000100;
inline constexpr uint32_t kEverythingWord = 0x10110100;

ClosePreset PresetOf(uint32_t word);
// The word a preset sets; the free choice keeps the word as it is.
uint32_t WordOf(ClosePreset preset, uint32_t word);

// Which controls of the close page a preset leaves enabled.
struct ClosePage {
    bool actions = false;   // the action boxes and their tabs
    bool exitCode = false;  // the exit code, the delay and "ｷｬﾝｾﾙを許可"
};
ClosePage PageOf(ClosePreset preset);

// The three kinds of process, in the order of their tabs, each with its byte
// of the word.
inline constexpr int kCloseKinds = 3;
uint32_t ActionsOf(uint32_t word, int kind);
uint32_t WithAction(uint32_t word, int kind, uint32_t action, bool ticked);
// A tab's label: "●" and the name while its byte is set, else two blanks.
std::string CloseTabLabel(uint32_t word, int kind);

// The texts of a program entry's row; programFolder is the folder of the
// entry's program, compared with its working folder.
struct ProgramRow {
    std::string module, once, folder, position, size, priority, arguments;
};
ProgramRow DescribeProgram(const Executant& entry);

// A display mode as the desktop dialog shows it, and as a line of the mode
// list (its fields apart at the list's tab stops).
std::string DisplayModeText(const DisplayMode& mode);
std::string DisplayModeLine(const DisplayMode& mode);
bool SameDisplayMode(const DisplayMode& a, const DisplayMode& b);
// The first line to show so that a selected line from the 7th on is the
// 6th visible one.
int DisplayModeTopLine(int selected);

// The delay of a test run's choice, in the order of its drop-down.
inline constexpr int kTestDelayChoices = 7;
uint32_t TestDelayMs(int choice);

}  // namespace qv::config

#include "DesktopRules.h"

#include <cstdio>
#include <cstring>

#include "Convert.h"
#include "PathText.h"

namespace qv::config {

namespace {

inline constexpr const char* kKindNames[kCloseKinds] = {"ﾌﾟﾛｸﾞﾗﾑﾏﾈｼﾞｬ", "ｴｸｽﾌﾟﾛｰﾗ/IE", "一般ﾌﾟﾛｾｽ"};
inline constexpr const char* kClassTexts[] = {"継承", " 低 ", "普通", " 高 "};
inline constexpr const char* kThreadTexts[] = {"  ", "-2", "-1", "+0", "+1", "+2"};

// The byte of a kind: the program manager's is the top one.
int ShiftOf(int kind) { return 24 - 8 * kind; }

const char* Text(const Executant& entry, const char* key) {
    const char* value = entry.Properties().Value(key);
    return value ? value : "";
}

// A folder as compared: without a trailing backslash, letters of one case.
std::string FolderKey(std::string folder) {
    while (!folder.empty() && (folder.back() == '\\' || folder.back() == '/')) folder.pop_back();
    for (char& c : folder)
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    return folder;
}

}  // namespace

ClosePreset PresetOf(uint32_t word) {
    if (word == 0) return ClosePreset::kKeepProcesses;
    if (word == kOrdinaryProcessesWord) return ClosePreset::kOrdinaryProcesses;
    if (word == kEverythingWord) return ClosePreset::kEverything;
    return ClosePreset::kFree;
}

uint32_t WordOf(ClosePreset preset, uint32_t word) {
    switch (preset) {
    case ClosePreset::kKeepProcesses: return 0;
    case ClosePreset::kOrdinaryProcesses: return kOrdinaryProcessesWord;
    case ClosePreset::kEverything: return kEverythingWord;
    case ClosePreset::kFree: return word;
    }
    return word;
}

ClosePage PageOf(ClosePreset preset) {
    switch (preset) {
    case ClosePreset::kEverything: return ClosePage{false, true};
    case ClosePreset::kFree: return ClosePage{true, true};
    default: return ClosePage{};
    }
}

uint32_t ActionsOf(uint32_t word, int kind) { return (word >> ShiftOf(kind)) & 0xFF; }

uint32_t WithAction(uint32_t word, int kind, uint32_t action, bool ticked) {
    const uint32_t bit = (action & 0xFF) << ShiftOf(kind);
    return ticked ? word | bit : word & ~bit;
}

std::string CloseTabLabel(uint32_t word, int kind) {
    return std::string(ActionsOf(word, kind) ? "●" : "  ") + kKindNames[kind];
}

ProgramRow DescribeProgram(const Executant& entry) {
    ProgramRow row;
    const char* program = Text(entry, "ExecutionFileName");
    row.module = FileNamePart(entry.shellExec ? Text(entry, "ExecutionArguments") : program);
    row.once = ParseDecimal(Text(entry, "ExecutionInitialOnce")) != 0 ? "×" : "○";
    const std::string folder = Text(entry, "ExecutionPath");
    if (folder.empty())
        row.folder = "－";
    else
        row.folder = FolderKey(folder) == FolderKey(std::string(program, DirectoryLength(program))) ? "○" : "■";
    char text[64];
    if (entry.positionSet) {
        std::snprintf(text, sizeof text, "%d,%d", entry.x, entry.y);
        row.position = text;
    } else {
        row.position = "---";
    }
    if (entry.sizeSet) {
        std::snprintf(text, sizeof text, "%dX%d", entry.width, entry.height);
        row.size = text;
    } else {
        row.size = "---";
    }
    const uint32_t priority = entry.prioritySet ? entry.priority : 0;
    const uint32_t priorityClass = (priority >> 4) & 0xF;
    const uint32_t thread = priority & 0xF;
    row.priority = std::string(priorityClass < 4 ? kClassTexts[priorityClass] : "????") +
                   (thread < 6 ? kThreadTexts[thread] : "??");
    row.arguments = !entry.shellExec && entry.Arguments()[0] ? "■" : "－";
    return row;
}

std::string DisplayModeText(const DisplayMode& mode) {
    char text[96];
    std::snprintf(text, sizeof text, "Depth=%2d, Size=%4dX%d, Vf=%2dHz", mode.bitsPerPel, mode.width, mode.height,
                  mode.frequency);
    return text;
}

std::string DisplayModeLine(const DisplayMode& mode) {
    char text[96];
    std::snprintf(text, sizeof text, "Depth=%2d\tSize=%4dX%d\tVf=%2dHz", mode.bitsPerPel, mode.width, mode.height,
                  mode.frequency);
    return text;
}

bool SameDisplayMode(const DisplayMode& a, const DisplayMode& b) {
    return a.bitsPerPel == b.bitsPerPel && a.width == b.width && a.height == b.height && a.frequency == b.frequency;
}

int DisplayModeTopLine(int selected) { return selected >= 6 ? selected - 5 : 0; }

uint32_t TestDelayMs(int choice) {
    static constexpr uint32_t kDelays[kTestDelayChoices] = {500, 1000, 2000, 4000, 6000, 8000, 10000};
    return choice >= 0 && choice < kTestDelayChoices ? kDelays[choice] : 10000;
}

}  // namespace qv::config

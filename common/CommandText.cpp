#include "CommandText.h"

#include "Convert.h"

namespace qv {

namespace {

struct CommandEntry {
    char character;
    CommandKind kind;
    uint32_t command;
    CommandTarget target;
    bool post;
    bool passRest;  // the rest of the text follows the switch as a new command
};

// What concerns the whole daemon (switching, sound, the end) goes to the main
// window; dialogs and program starts stay on the desktop that was asked.
constexpr CommandEntry kCommands[] = {
    {'B', CommandKind::kBack, kCmdBack, CommandTarget::kThisWindow, false, false},
    {'C', CommandKind::kConfig, kCmdConfig, CommandTarget::kThisWindow, false, false},
    {'E', CommandKind::kRunProgram, kCmdRunProgram, CommandTarget::kThisWindow, false, false},
    {'G', CommandKind::kCompanion, kCmdCompanion, CommandTarget::kThisWindow, false, false},
    {'H', CommandKind::kHome, kCmdHome, CommandTarget::kMainWindow, false, true},
    {'K', CommandKind::kSnapshotSize, kCmdSnapshotSize, CommandTarget::kThisWindow, false, false},
    {'N', CommandKind::kNext, kCmdNext, CommandTarget::kMainWindow, false, true},
    {'P', CommandKind::kPrevious, kCmdPrevious, CommandTarget::kMainWindow, false, true},
    {'S', CommandKind::kSound, kCmdSound, CommandTarget::kMainWindow, false, false},
    {'V', CommandKind::kVersion, kCmdVersion, CommandTarget::kThisWindow, false, false},
    // Posted: the thread window must not wait for a teardown that ends it.
    {'X', CommandKind::kExit, kCmdExit, CommandTarget::kMainWindow, true, false},
};

int Wrap(long long index, int count) {
    long long r = index % count;
    return static_cast<int>(r < 0 ? r + count : r);
}

}  // namespace

uint32_t PackCommandText(const char* text) {
    uint32_t packed = 0;
    for (int i = 0; i < 4; ++i) {
        unsigned char c = (text && *text) ? static_cast<unsigned char>(*text++) : 0;
        packed = (packed << 8) | c;
        if (!c) text = nullptr;  // never look past the terminator
    }
    return packed;
}

void UnpackCommandText(uint32_t packed, char out[5]) {
    int n = 0;
    for (int shift = 24; shift >= 0; shift -= 8) {
        char c = static_cast<char>((packed >> shift) & 0xFF);
        if (!c) break;
        out[n++] = c;
    }
    out[n] = '\0';
}

CommandAction InterpretCommandText(const char* text) {
    CommandAction action;
    if (!text || !*text) return action;
    if (*text == '+' || *text == '-') {
        action.kind = *text == '+' ? CommandKind::kSwitchForward : CommandKind::kSwitchBackward;
        action.steps = ParseDecimal(text + 1);
        return action;
    }
    for (const CommandEntry& e : kCommands) {
        if (e.character != *text) continue;
        action.kind = e.kind;
        action.command = e.command;
        action.target = e.target;
        action.post = e.post;
        if (e.passRest) action.lParam = PackCommandText(text + 1);
        break;
    }
    return action;
}

int RelativeSwitchIndex(int from, int32_t steps, bool forward, int count) {
    if (count <= 1) return 0;
    if (steps <= 0) return Wrap(from, count);
    return Wrap(static_cast<long long>(from) + (forward ? steps : -static_cast<long long>(steps)), count);
}

int SwitchToNumberIndex(const char* numberText, int count) {
    int32_t n = ParseDecimal(numberText);
    if (n <= 1 || count <= 1) return 0;
    return Wrap(static_cast<long long>(n) - 1, count);
}

int SwitchFromEndIndex(const char* numberText, int count) {
    int32_t n = ParseDecimal(numberText);
    if (n <= 0 || count <= 1) return 0;
    return Wrap(-static_cast<long long>(n), count);
}

}  // namespace qv

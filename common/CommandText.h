#pragma once
// The short command texts that travel to the daemon in a message parameter,
// and what the daemon makes of them. Only decisions here: the daemon's window
// code carries them out.

#include <cstdint>

namespace qv {

// Up to four characters, the first in the most significant byte, missing
// ones zero: "N" is 0x4E000000, "+1" is 0x2B310000. Null packs to 0.
uint32_t PackCommandText(const char* text);
// The characters up to the first zero byte, NUL-terminated (at most four).
void UnpackCommandText(uint32_t packed, char out[5]);

// Menu and internal command numbers of the daemon's windows.
enum CommandId : uint32_t {
    kCmdRunProgram = 40001,
    kCmdExit = 40002,
    kCmdNext = 40003,
    kCmdPrevious = 40004,
    kCmdHome = 40005,
    kCmdVersion = 40006,
    kCmdActivate = 40007,
    kCmdConfig = 40008,
    kCmdCompanion = 40010,
    kCmdMenu = 40011,
    kCmdActivateWindow = 40012,
    kCmdSnapshotSize = 40013,
    kCmdSound = 40014,
    kCmdCaptureSnapshot = 40015,
    kCmdQueryEnd = 40016,
    kCmdBack = 40017,
};

enum class CommandKind {
    kNone,            // empty text or a first character without a command
    kSwitchForward,   // '+': follow the next links `steps` times
    kSwitchBackward,  // '-': follow the previous links `steps` times
    kBack,            // 'B'
    kConfig,          // 'C'
    kRunProgram,      // 'E'
    kCompanion,       // 'G'
    kHome,            // 'H'
    kSnapshotSize,    // 'K'
    kNext,            // 'N'
    kPrevious,        // 'P'
    kSound,           // 'S' (toggle)
    kVersion,         // 'V'
    kExit,            // 'X', without the question of the menu item
};

enum class CommandTarget { kNone, kThisWindow, kMainWindow };

// One command text decided. For the two relative switches the caller walks
// the ring and activates the desktop reached (RelativeSwitchIndex); every
// other command is the WM_COMMAND `command` with `lParam`, sent (or posted
// when `post` is set) to `target`.
struct CommandAction {
    CommandKind kind = CommandKind::kNone;
    int32_t steps = 0;  // relative switches only; 0 or less stays put
    uint32_t command = 0;
    CommandTarget target = CommandTarget::kNone;
    bool post = false;
    // H, N and P: the characters after the first, packed again; the main
    // window hands them as a new command to the desktop switched to. 0 when
    // there are none, and for every other command.
    uint32_t lParam = 0;
};

CommandAction InterpretCommandText(const char* text);
inline CommandAction InterpretCommandText(uint32_t packed) {
    char text[5];
    UnpackCommandText(packed, text);
    return InterpretCommandText(text);
}

// Index (0 = home, counted along the next links) of the desktop a relative
// switch reaches in a ring of `count` desktops. Steps of 0 or less stay.
int RelativeSwitchIndex(int from, int32_t steps, bool forward, int count);
// Request 1: desktop number N counted from 1 in the decimal text; N <= 1 and
// non-numbers are the home desktop, larger N wrap round the ring.
int SwitchToNumberIndex(const char* numberText, int count);
// Request 2: N desktops back from the home desktop along the previous links;
// N <= 0 is the home desktop.
int SwitchFromEndIndex(const char* numberText, int count);

}  // namespace qv

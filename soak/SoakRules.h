#pragma once
// What the soak run judges, without a window: the daemon's log read line by
// line against the lines it can write, and the figures read at the start and
// at the end against their limits.

#include <cstddef>
#include <map>
#include <string>
#include <vector>

namespace soak {

// The lines the run counts; every other line the daemon may write is kOther.
enum class LineKind {
    kCommand,      // "Quorvel Command Detected[+1]"
    kArguments,    // "Argments : +1 Detected."
    kSwitchId,     // "SwitchDesktop ID=..."
    kSnapshot,     // "Desktop ... KeepBitmap Start. ... Completed."
    kActive,       // "Active New Desktop [...] ThreadID=..."
    kInformation,  // "Respons : Information OK"
    kName,         // "Respons : Desktop Name = (...)"
    kBitmap,       // "Respons : DIB Bitmap OK"
    kCurrentId,    // "Respons : Current DesktopID = (...)"
    kOther,        // another line of the daemon's start and end
    // None of them: a line cut short, one run into by another thread's
    // message, or a failure the run does not expect.
    kUnexpected,
};

struct LogReading {
    std::map<LineKind, long> counts;
    // The desktops of the "Active New Desktop" lines, in their order.
    std::vector<std::string> activated;
    // The first few lines of kind kUnexpected, as they were.
    std::vector<std::string> unexpected;
    bool endsWithLineEnd = true;  // a last line without its end was cut

    long Count(LineKind kind) const;
};

LineKind ClassifyLine(const std::string& line);
// The whole log as the daemon wrote it (CR LF line ends).
LogReading ReadLog(const std::string& text);

// What one program holds, read from outside.
struct ProgramFigures {
    long handles = -1;
    size_t privateBytes = 0;
};

struct Figures {
    ProgramFigures daemon, bar;
    // Per desktop, in ring order: top-level windows with their children.
    std::vector<long> windows;
};

struct Limits {
    long handleGrowth;       // more handles at the end than at the start, per program
    size_t privateGrowth;    // bytes, per program
    long windowGrowth;       // per desktop
};

// What passed its limit, one text each; empty when nothing did.
std::vector<std::string> Breaches(const Figures& start, const Figures& end, const Limits& limits,
                                  const std::vector<std::string>& desktops);
// The figures as a table: one row per figure, start, end and growth.
std::string FiguresTable(const Figures& start, const Figures& end, const std::vector<std::string>& desktops);

}  // namespace soak

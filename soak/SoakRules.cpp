#include "SoakRules.h"

#include <cstdio>
#include <regex>
#include <utility>

namespace soak {

namespace {

const char kHex8[] = "[0-9A-F]{8}";

struct Pattern {
    LineKind kind;
    std::regex re;
};

// Every line of the run's configuration, whole: a line cut short, or one run
// into by another thread's message, matches none.
const std::vector<Pattern>& Patterns() {
    static const std::vector<Pattern> patterns = [] {
        const std::string hex = kHex8;
        const std::string desk = "[A-Za-z0-9_]+";
        std::vector<std::pair<LineKind, std::string>> texts = {
            // The switches, most frequent first.
            {LineKind::kCommand, "Quorvel Command Detected\\[[^\\]]*\\]"},
            {LineKind::kArguments, "Argments : [+-]\\d+ Detected\\."},
            {LineKind::kSwitchId, "SwitchDesktop ID=" + desk + "\\."},
            {LineKind::kSnapshot, "Desktop " + desk + " \\[ThreadID=" + hex +
                                      "\\] KeepBitmap Start\\. nRate=\\d+ \\(\\d+x\\d+\\) Completed\\."},
            {LineKind::kActive, "Active New Desktop \\[(" + desk + ")\\] ThreadID=" + hex},
            {LineKind::kInformation, "Respons : Information OK"},
            {LineKind::kName, "Respons : Desktop Name = \\([^()]*\\)"},
            {LineKind::kBitmap, "Respons : DIB Bitmap OK"},
            {LineKind::kCurrentId, "Respons : Current DesktopID = \\(" + desk + "\\)"},
            // The start.
            {LineKind::kOther, "Module Fullpath=.*\\.exe\\."},
            {LineKind::kOther, "(QVConfig|Mendrel) .*\\.exe (Not )?Found\\."},
            {LineKind::kOther, "Desktop \\[" + desk + "\\] Create Success\\.  HDESK=" + hex},
            {LineKind::kOther, "Existed Desktop \\[" + desk + "\\] Open Success\\.  HDESK=" + hex},
            {LineKind::kOther, "SetDesktopFlag\\(" + desk + "\\)"},
            {LineKind::kOther, "SetDesktopWallpaper\\(" + desk + "\\)"},
            {LineKind::kOther, "Default Wallpaper \\(From (IActive Interface\\)|Registry\\) )=.*"},
            {LineKind::kOther, "IActive Interface : GetWallpaer\\(\\) Failed\\.  So, Try To Read Registry\\.\\.\\."},
            {LineKind::kOther, "(Create|Close) Semaphore\\(?\\)? Handle = " + hex},
            {LineKind::kOther, "CreateSemaphore\\(\\) Handle = " + hex},
            {LineKind::kOther, "Create New ThreadID=" + hex},
            {LineKind::kOther, "Desktop\\[" + desk + "\\] ThreadID=" + hex + " (Start|End)\\."},
            {LineKind::kOther, "DesktopID=\\[" + desk + "\\] : .*"},
            {LineKind::kOther, "Desktop\\[" + desk + "\\] MaxLength=\\d+, FontSize=\\d+"},
            {LineKind::kOther, "Screen\\(\\d+ x \\d+\\) Title=\\(\\d+ x \\d+\\) Rect=\\(-?\\d+,-?\\d+,\\d+,\\d+\\)"},
            {LineKind::kOther, "Position Mode=\\d+  Rect=\\(-?\\d+,-?\\d+,\\d+,\\d+\\)"},
            {LineKind::kOther, "CreatePrcess\\(.*\\) Success\\."},
            {LineKind::kOther, "IME Disable OK\\."},
            {LineKind::kOther, "Exec\\(\".*QVCtrlBar\\.exe\"\\) -p \".*QVCtrlBar\\.ini\""},
            // The end.
            {LineKind::kOther, "Sent QUIT to QVCtrlBar\\."},
            {LineKind::kOther, "Desktop \\[" + desk + "\\] ThreadID=" + hex + " WM_CLOSE Detected\\."},
            {LineKind::kOther, "Desktop \\[" + desk + "\\] CloseAnyWindows Starting\\.\\.\\."},
            {LineKind::kOther, "Wnd=" + hex + " PID= *\\d+\\([^()]*\\) : ->( WM_CLOSE\\(\\d+\\[s\\]\\)\\. )?"
                                              "( WM_QUIT\\(Code=\\d+\\)\\(\\d+\\[s\\]\\)\\.)?"
                                              "( WM_DESTROY\\(\\+WM_NCDESTROY\\)\\(\\d+\\[s\\]\\)\\. )?"
                                              "( WM_ENDSESSION\\(TRUE\\)\\(\\d+\\[s\\]\\)\\.)?"
                                              "( Terminate\\(\\d+\\)\\(\\d+\\[s\\]\\)\\.)?(Non Action\\.)?"},
            {LineKind::kOther, " No Action!"},
            {LineKind::kOther, "Controller : All Threads Closed\\."},
            {LineKind::kOther, "CloseDesktop\\(" + hex + "\\) Success\\."},
            // Wine's, not a double close: a desktop handle set on a thread is
            // gone with the thread there.
            {LineKind::kOther, "CloseDesktop\\(" + hex + "\\) Failed\\.  Error Reason : .*"},
            {LineKind::kOther, "--- Program End Code=0 ---"},
        };
        std::vector<Pattern> compiled;
        for (auto& [kind, text] : texts) compiled.push_back(Pattern{kind, std::regex(text, std::regex::optimize)});
        return compiled;
    }();
    return patterns;
}

}  // namespace

LineKind ClassifyLine(const std::string& line) {
    for (const Pattern& p : Patterns()) {
        if (std::regex_match(line, p.re)) return p.kind;
    }
    return LineKind::kUnexpected;
}

LogReading ReadLog(const std::string& text) {
    constexpr size_t kKeptLines = 10;
    LogReading reading;
    size_t start = 0;
    while (start < text.size()) {
        size_t end = text.find('\n', start);
        if (end == std::string::npos) {
            reading.endsWithLineEnd = false;
            end = text.size();
        }
        std::string line = text.substr(start, end - start);
        if (!line.empty() && line.back() == '\r') line.pop_back();
        start = end + 1;
        const LineKind kind = ClassifyLine(line);
        ++reading.counts[kind];
        if (kind == LineKind::kActive) {
            const size_t open = line.find('[') + 1;
            reading.activated.push_back(line.substr(open, line.find(']') - open));
        } else if (kind == LineKind::kUnexpected && reading.unexpected.size() < kKeptLines) {
            reading.unexpected.push_back(line);
        }
    }
    return reading;
}

long LogReading::Count(LineKind kind) const {
    auto it = counts.find(kind);
    return it == counts.end() ? 0 : it->second;
}

namespace {

std::string Row(const std::string& what, long long start, long long end) {
    char text[160];
    std::snprintf(text, sizeof(text), "  %-34s %12lld %12lld %+10lld\n", what.c_str(), start, end, end - start);
    return text;
}

void CheckGrowth(std::vector<std::string>& breaches, const std::string& what, long long start, long long end,
                 long long limit, const char* unit) {
    char text[200];
    if (start < 0 || end < 0) {
        std::snprintf(text, sizeof(text), "%s could not be read", what.c_str());
        breaches.push_back(text);
    } else if (end - start > limit) {
        std::snprintf(text, sizeof(text), "%s grew by %lld %s (limit %lld)", what.c_str(), end - start, unit, limit);
        breaches.push_back(text);
    }
}

}  // namespace

std::vector<std::string> Breaches(const Figures& start, const Figures& end, const Limits& limits,
                                  const std::vector<std::string>& desktops) {
    std::vector<std::string> breaches;
    const std::pair<const char*, const ProgramFigures Figures::*> programs[] = {{"daemon", &Figures::daemon},
                                                                                {"bar", &Figures::bar}};
    for (const auto& [name, member] : programs) {
        const ProgramFigures& s = start.*member;
        const ProgramFigures& e = end.*member;
        CheckGrowth(breaches, std::string(name) + " handles", s.handles, e.handles, limits.handleGrowth, "handles");
        CheckGrowth(breaches, std::string(name) + " private bytes", s.privateBytes ? static_cast<long long>(s.privateBytes) : -1,
                    e.privateBytes ? static_cast<long long>(e.privateBytes) : -1,
                    static_cast<long long>(limits.privateGrowth), "bytes");
    }
    for (size_t i = 0; i < desktops.size(); ++i) {
        const long s = i < start.windows.size() ? start.windows[i] : -1;
        const long e = i < end.windows.size() ? end.windows[i] : -1;
        CheckGrowth(breaches, "windows on " + desktops[i], s, e, limits.windowGrowth, "windows");
    }
    return breaches;
}

std::string FiguresTable(const Figures& start, const Figures& end, const std::vector<std::string>& desktops) {
    char head[160];
    std::snprintf(head, sizeof(head), "  %-34s %12s %12s %10s\n", "", "start", "end", "growth");
    std::string table = head;
    table += Row("daemon handles", start.daemon.handles, end.daemon.handles);
    table += Row("daemon private bytes", static_cast<long long>(start.daemon.privateBytes),
                 static_cast<long long>(end.daemon.privateBytes));
    table += Row("bar handles", start.bar.handles, end.bar.handles);
    table += Row("bar private bytes", static_cast<long long>(start.bar.privateBytes),
                 static_cast<long long>(end.bar.privateBytes));
    for (size_t i = 0; i < desktops.size(); ++i) {
        table += Row("windows on " + desktops[i], i < start.windows.size() ? start.windows[i] : -1,
                     i < end.windows.size() ? end.windows[i] : -1);
    }
    return table;
}

}  // namespace soak

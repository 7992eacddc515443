#include "CtlCommand.h"

#include <cstdio>

#include "Sjis.h"

namespace qv {

const char kCtlUsageText[] =
    "Usage: QVCtl <command> [options]\n"
    "  status [--json]                       the desktops: number, ID, title, current, home\n"
    "  switch <N | +n | -n | home | back | ID | title>\n"
    "                                        switches and prints the new current desktop\n"
    "  windows [--desktop <N|ID|title>] [--json]\n"
    "                                        the windows of every desktop, or of one\n"
    "  activate <window handle>              switches to the window's desktop and brings it forward\n"
    "  start [--desktop <N|ID|title>] <program> [arguments]\n"
    "                                        starts a program there and prints its process id\n"
    "  snapshot --desktop <N|ID|title> <file.bmp>\n"
    "                                        writes the daemon's snapshot of the desktop\n"
    "  exit                                  ends the daemon and waits until it has gone\n"
    "  --help, --version\n"
    "Exit codes: 0 done, 1 failed, 2 wrong command line, 3 no daemon running,\n"
    "            4 no answer in time, 5 a malformed answer.\n";

const char kCtlVersionText[] = "QVCtl 2.0\n";

namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

// Walks the words after the command; options are taken where the command
// allows them.
class WordCursor {
public:
    WordCursor(const std::vector<CommandWord>& words, std::string* problem) : m_words(words), m_problem(problem) {}

    bool AtEnd() const { return m_next >= m_words.size(); }
    const CommandWord& Peek() const { return m_words[m_next]; }
    const std::string& Take() { return m_words[m_next++].text; }

    // The word after an option that needs one.
    bool TakeValue(const char* option, std::string* value) {
        if (AtEnd()) return Fail(std::string(option) + " needs a value");
        *value = Take();
        return true;
    }

    bool Fail(const std::string& problem) {
        *m_problem = problem;
        return false;
    }

private:
    const std::vector<CommandWord>& m_words;
    size_t m_next = 1;  // past the command
    std::string* m_problem;
};

bool IsOption(const std::string& word) { return word.size() > 2 && word[0] == '-' && word[1] == '-'; }

// status, windows and snapshot: options anywhere; plain words counted into
// positional.
bool ReadOptions(WordCursor& words, CtlCommand* command, bool jsonAllowed, bool desktopAllowed,
                 std::vector<std::string>* positional) {
    while (!words.AtEnd()) {
        const std::string word = words.Take();
        if (jsonAllowed && word == "--json") {
            command->json = true;
        } else if (desktopAllowed && word == "--desktop") {
            if (!words.TakeValue("--desktop", &command->desktop)) return false;
            command->desktopGiven = true;
        } else if (IsOption(word)) {
            return words.Fail("unknown option " + word);
        } else {
            positional->push_back(word);
        }
    }
    return true;
}

}  // namespace

std::vector<CommandWord> SplitCommandWords(const std::string& line) {
    std::vector<CommandWord> words;
    size_t i = 0;
    const size_t n = line.size();
    while (true) {
        while (i < n && IsBlank(line[i])) ++i;
        if (i >= n) break;
        CommandWord word;
        word.start = i;
        bool quoted = false;
        while (i < n && (quoted || !IsBlank(line[i]))) {
            const unsigned char c = static_cast<unsigned char>(line[i]);
            if (IsSjisLead(c) && i + 1 < n) {
                word.text += line.substr(i, 2);
                i += 2;
            } else if (c == '\\') {
                size_t backslashes = 0;
                while (i < n && line[i] == '\\') ++backslashes, ++i;
                if (i < n && line[i] == '"') {
                    word.text.append(backslashes / 2, '\\');
                    if (backslashes % 2) {
                        word.text += '"';
                        ++i;
                    }
                } else {
                    word.text.append(backslashes, '\\');
                }
            } else if (c == '"') {
                // Two quotes inside a quoted stretch stand for one, as the
                // C runtime reads them.
                if (quoted && i + 1 < n && line[i + 1] == '"') {
                    word.text += '"';
                    i += 2;
                } else {
                    quoted = !quoted;
                    ++i;
                }
            } else {
                word.text += line[i++];
            }
        }
        words.push_back(std::move(word));
    }
    return words;
}

std::string CommandTail(const std::string& commandLine) {
    size_t i = 0;
    const size_t n = commandLine.size();
    // The program's name ends at the first blank outside quotes; the system
    // takes no escapes in it.
    bool quoted = false;
    while (i < n && (quoted || !IsBlank(commandLine[i]))) {
        const unsigned char c = static_cast<unsigned char>(commandLine[i]);
        if (c == '"') quoted = !quoted;
        i += IsSjisLead(c) && i + 1 < n ? 2 : 1;
    }
    while (i < n && IsBlank(commandLine[i])) ++i;
    return commandLine.substr(i);
}

std::string WindowHandleText(uint32_t handle) {
    char text[16];
    std::snprintf(text, sizeof text, "0x%08X", handle);
    return text;
}

bool ParseWindowHandle(const std::string& text, uint32_t* handle) {
    const bool hex = text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X');
    const size_t first = hex ? 2 : 0;
    if (text.size() <= first) return false;
    uint64_t value = 0;
    for (size_t i = first; i < text.size(); ++i) {
        const char c = text[i];
        int digit;
        if (c >= '0' && c <= '9') digit = c - '0';
        else if (hex && c >= 'a' && c <= 'f') digit = c - 'a' + 10;
        else if (hex && c >= 'A' && c <= 'F') digit = c - 'A' + 10;
        else return false;
        value = value * (hex ? 16 : 10) + digit;
        if (value > 0xFFFFFFFFu) return false;
    }
    if (value == 0) return false;
    *handle = static_cast<uint32_t>(value);
    return true;
}

bool ParseCtlCommand(const std::string& tail, CtlCommand* command, std::string* problem) {
    *command = CtlCommand();
    const std::vector<CommandWord> words = SplitCommandWords(tail);
    WordCursor cursor(words, problem);
    if (words.empty()) return cursor.Fail("no command given");
    const std::string& verb = words[0].text;
    if (verb == "--help" || verb == "-h" || verb == "/?") {
        command->verb = CtlVerb::kHelp;
        return words.size() == 1 || cursor.Fail("--help takes nothing more");
    }
    if (verb == "--version") {
        command->verb = CtlVerb::kVersion;
        return words.size() == 1 || cursor.Fail("--version takes nothing more");
    }

    std::vector<std::string> positional;
    if (verb == "status") {
        command->verb = CtlVerb::kStatus;
        if (!ReadOptions(cursor, command, true, false, &positional)) return false;
        return positional.empty() || cursor.Fail("status takes no word but --json");
    }
    if (verb == "switch") {
        // "-1" is a desktop word here, not an option: the word is taken whole.
        command->verb = CtlVerb::kSwitch;
        if (words.size() != 2) return cursor.Fail("switch needs exactly one desktop word");
        command->target = words[1].text;
        return !command->target.empty() || cursor.Fail("the desktop word is empty");
    }
    if (verb == "windows") {
        command->verb = CtlVerb::kWindows;
        if (!ReadOptions(cursor, command, true, true, &positional)) return false;
        return positional.empty() || cursor.Fail("windows takes no word but its options");
    }
    if (verb == "activate") {
        command->verb = CtlVerb::kActivate;
        if (words.size() != 2) return cursor.Fail("activate needs exactly one window handle");
        return ParseWindowHandle(words[1].text, &command->window) ||
               cursor.Fail("not a window handle: " + words[1].text);
    }
    if (verb == "start") {
        command->verb = CtlVerb::kStart;
        // Options only before the program: what follows it is the program's.
        while (!cursor.AtEnd() && cursor.Peek().text == "--desktop") {
            cursor.Take();
            if (!cursor.TakeValue("--desktop", &command->desktop)) return false;
            command->desktopGiven = true;
        }
        if (cursor.AtEnd()) return cursor.Fail("start needs a program");
        if (IsOption(cursor.Peek().text)) return cursor.Fail("unknown option " + cursor.Peek().text);
        command->program = cursor.Take();
        if (command->program.empty()) return cursor.Fail("the program is empty");
        if (!cursor.AtEnd()) {
            command->arguments = tail.substr(cursor.Peek().start);
            while (!command->arguments.empty() && IsBlank(command->arguments.back())) command->arguments.pop_back();
        }
        return true;
    }
    if (verb == "snapshot") {
        command->verb = CtlVerb::kSnapshot;
        if (!ReadOptions(cursor, command, false, true, &positional)) return false;
        if (!command->desktopGiven) return cursor.Fail("snapshot needs --desktop");
        if (positional.size() != 1 || positional[0].empty()) return cursor.Fail("snapshot needs one file name");
        command->file = positional[0];
        return true;
    }
    if (verb == "exit") {
        command->verb = CtlVerb::kExit;
        return words.size() == 1 || cursor.Fail("exit takes nothing more");
    }
    return cursor.Fail("unknown command " + verb);
}

}  // namespace qv

#include "ShlExeCommand.h"

#include <cstring>

#include "Convert.h"

namespace qv {

namespace {

constexpr char kWatchDog[] = "/WatchDog:";
constexpr char kNoWait[] = "/NOWAIT:0 ";

// Digits, ':' and the printable ASCII range after it; a sign, a dot, a
// slash or a Shift-JIS byte makes the value invalid.
bool IsTokenByte(unsigned char c) { return c >= '0' && c <= 0x7F; }

// Blanks and quotes lie below 0x40, where no Shift-JIS trail byte does, so
// the ends of a text can be read byte by byte.
bool IsBlank(char c) { return c == ' ' || c == '\t'; }

}  // namespace

ShlExeCommand ParseShlExeCommand(const char* text) {
    ShlExeCommand command;
    if (!text || !*text) return command;
    const char* item = text;
    if (std::strncmp(text, kWatchDog, sizeof(kWatchDog) - 1) == 0) {
        const char* token = text + sizeof(kWatchDog) - 1;
        const char* p = token;
        while (*p && *p != ' ' && *p != '\t') {
            if (!IsTokenByte(static_cast<unsigned char>(*p))) return command;
            ++p;
        }
        if (!*p) return command;  // the value ran to the end: no item follows
        int32_t value = ParseDecimal(token);
        command.timeoutMs = static_cast<uint32_t>(value < 0 ? 0 : value);
        item = p + 1;
    } else if (std::strncmp(text, kNoWait, sizeof(kNoWait) - 1) == 0) {
        command.waiting = false;
        item = text + sizeof(kNoWait) - 1;
    }
    if (!*item) return command;
    command.item = item;
    command.hasItem = true;
    return command;
}

std::string ShellExeDocument(const char* text) {
    if (!text) return std::string();
    const char* begin = text;
    const char* end = text + std::strlen(text);
    while (begin < end && IsBlank(*begin)) ++begin;
    while (end > begin && IsBlank(end[-1])) --end;
    if (end - begin >= 2 && *begin == '"' && end[-1] == '"') {
        ++begin;
        --end;
    }
    return std::string(begin, end);
}

}  // namespace qv

#include "Convert.h"

#include <cerrno>
#include <climits>
#include <cstdlib>

namespace qv {

namespace {

int32_t Saturate(long long value) {
    if (value > INT32_MAX) return INT32_MAX;
    if (value < INT32_MIN) return INT32_MIN;
    return static_cast<int32_t>(value);
}

bool IsSpace(char c) { return c == ' ' || (c >= '\t' && c <= '\r'); }

// Reads one "%d" number at *p and moves *p past it; false when there is none.
bool ScanDecimal(const char** p, int32_t* out) {
    const char* s = *p;
    while (IsSpace(*s)) ++s;
    bool negative = false;
    if (*s == '+' || *s == '-') negative = (*s++ == '-');
    if (*s < '0' || *s > '9') return false;
    long long value = 0;
    for (; *s >= '0' && *s <= '9'; ++s)
        if (value <= INT32_MAX + 1LL) value = value * 10 + (*s - '0');
    *out = Saturate(negative ? -value : value);
    *p = s;
    return true;
}

}  // namespace

int32_t ParseHexCapable(const char* text) {
    // long long holds every 32-bit value with room to spare; its own overflow
    // saturates too, so the clamp below gives the 32-bit result either way.
    errno = 0;
    return Saturate(std::strtoll(text ? text : "", nullptr, 0));
}

uint32_t ParseWord32(const char* text) {
    long long value = std::strtoll(text ? text : "", nullptr, 0);
    if (value < 0) return static_cast<uint32_t>(Saturate(value));
    return value > 0xFFFFFFFFLL ? 0xFFFFFFFFu : static_cast<uint32_t>(value);
}

int32_t ParseDecimal(const char* text) {
    int32_t value = 0;
    if (!text) return 0;
    return ScanDecimal(&text, &value) ? value : 0;
}

bool ScanIntPair(const char* text, int32_t* first, int32_t* second) {
    if (!text || !ScanDecimal(&text, first)) return false;
    if (*text != ',') return false;
    ++text;
    return ScanDecimal(&text, second);
}

}  // namespace qv

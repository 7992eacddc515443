#pragma once
// Value conversions of the parameter files. Every result is a signed 32-bit
// value; numbers beyond that range saturate instead of wrapping.

#include <cstdint>

namespace qv {

// strtol with base 0: decimal, "0x" hexadecimal, leading 0 octal; 0 when
// nothing parses.
int32_t ParseHexCapable(const char* text);
// A 32-bit word written in hexadecimal (a colour, a bit set): as
// ParseHexCapable, but the whole unsigned range is kept, so "0xFFFFFFFF"
// reads back as written; -1 is 0xFFFFFFFF, larger values saturate there.
uint32_t ParseWord32(const char* text);
// atoi: leading blanks and a sign, digits up to the first other byte; 0 when
// there is none.
int32_t ParseDecimal(const char* text);
// "%d,%d": true only when both numbers were read.
bool ScanIntPair(const char* text, int32_t* first, int32_t* second);

}  // namespace qv

#pragma once
// Shift-JIS (code page 932) byte rules shared by every byte scanner.

namespace qv {

// First byte of a double-byte character. Its second byte may be anything
// from 0x40 up, including '\\' and 'A'-'Z', so scanners must step over it.
inline bool IsSjisLead(unsigned char c) { return (c >= 0x81 && c <= 0x9F) || (c >= 0xE0 && c <= 0xFC); }

// Lower-cases ASCII letters in place, leaving double-byte characters alone.
// A lead byte as the last byte of the text stops the walk at the terminator.
void LowerSjis(char* text);

}  // namespace qv

#pragma once
// What the bar says and shows about the daemon's desktops: each desktop's
// colour, the text that names it in the bar's menus, and where a scrolled
// row of buttons may stop. Arithmetic and text only, for the bar's windows
// and its tests alike.

#include <cstdint>
#include <string>

namespace qv {

// The face colour of desktop number n (0-based) as a COLORREF (0x00BBGGRR):
// sixteen colours, repeated from the seventeenth desktop on.
uint32_t DesktopColor(int number);

// The text without its control characters, which would break a menu item's
// line or its tab column; double-byte characters stay whole.
std::string WithoutControlCharacters(const std::string& text);

// A menu item naming desktop number n (0-based): its number counted from 1,
// a tab and its title without control characters, which would break the
// item's line or its tab column.
std::string DesktopMenuText(int number, const std::string& title);

// The scroll dialog's position kept within what a row rowWidth wide can move
// in an area areaWidth wide: never before the row's start, never so far that
// the area would show nothing of it past its end.
int ClampScrollPosition(int position, int rowWidth, int areaWidth);

}  // namespace qv

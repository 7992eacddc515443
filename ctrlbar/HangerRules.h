#pragma once
// The hanger's rules that need no window: the order of a sort, what a
// press-and-release on a hanger button means, where a dropped button goes,
// the texts that describe a hung-on window, and where its dialogs open.

#include <cstdint>
#include <string>
#include <vector>

namespace qv {

enum HangerSortKey : int32_t {
    kSortByModule = 0,
    kSortByCaption = 1,
    kSortByArea = 2,
    kSortByTopLeft = 3,
    kSortByHangOnNumber = 4,
};
inline constexpr int32_t kHangerSortKeys = 5;

struct Box {
    int32_t left = 0, top = 0, right = 0, bottom = 0;
};

// What a sort looks at in an entry.
struct SortFacts {
    std::string module;
    std::string caption;
    Box rect;  // the window's normal position
    int32_t hangOnNumber = 0;
};

// The entries' new order (indices into facts): the greatest remaining entry
// by the key is taken again and again and put in front of those taken so far
// (ascending) or behind them (descending). Of equal entries the one met
// first counts as the greater; by the top-left corner an entry is greater
// only than one whose left and top are both smaller. A key out of range
// sorts by hang-on number.
std::vector<size_t> HangerSortOrder(const std::vector<SortFacts>& facts, int32_t key, bool ascending);

// A press and release on a hanger button is a click when the mouse moved
// less than 6 pixels in both directions; more is a drag.
bool IsHangerClick(int dx, int dy);

// A dropped button leaves the hanger when its rectangle, one pixel smaller
// on each side, no longer meets the area (0, 0, areaWidth, areaHeight).
bool DroppedOutside(const Box& button, int areaWidth, int areaHeight);

// Where a button dropped with its left edge at `left` goes among the other
// buttons' left edges (in their order): before the first whose left edge is
// greater, else at the end.
size_t DropPlace(const std::vector<int>& otherLefts, int left);

// The window information of the properties dialog; control characters are
// removed from every value.
struct HangerFacts {
    std::string module;
    std::string caption;
    std::string desktopTitle;
    Box rect;
    std::string modulePath;
    std::string className;
    uint32_t processId = 0;
    uint64_t window = 0;
};
std::string HangerInfoText(const HangerFacts& facts);

// An item of the hanger menu: module, a space and the caption, without
// control characters.
std::string HangerMenuText(const std::string& module, const std::string& caption);

// The top-left corner of a dialog width x height opened from a button:
// centred on it but 16 pixels inside the screen's left and right edges; just
// below it, or 16 pixels above the screen's bottom when it would not fit.
struct Place {
    int x = 0, y = 0;
};
Place DialogPlace(const Box& button, int width, int height, int screenWidth, int screenHeight);

}  // namespace qv

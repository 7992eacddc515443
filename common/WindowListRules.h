#pragma once
// Which windows of a desktop the window lists take in, and the texts and
// order those lists show. Window-free, shared by the task switch tool, the
// viewer and the control bar's hanger search.

#include <cstdint>
#include <string>

namespace qv {

// The list option word: which windows the enumeration takes in beyond the
// ordinary ones.
enum ListOption : uint32_t {
    kUpperCaseModules = 0x01,
    kEmptyCaptions = 0x02,
    kZeroSizes = 0x04,
    kProgramManager = 0x08,
    kOwnedWindows = 0x10,
    kDisabledWindows = 0x20,
    kInvisibleWindows = 0x40,
};
// Ordinary application windows only, module names as the system spells them.
inline constexpr uint32_t kApplicationWindows = 0;

// Any option beyond the upper-cased module names lists windows that cannot be
// activated or hung on sensibly: the list is then for viewing only.
inline bool ViewOnly(uint32_t options) { return (options & 0x7E) != 0; }

// What the enumeration knows of a window when it decides.
struct WindowFacts {
    bool ownProcess = false;
    bool visible = false;
    bool enabled = false;
    bool placementRead = false;
    int32_t normalWidth = 0;  // of the normal-position rectangle
    int32_t normalHeight = 0;
    bool owned = false;
    std::string className;
    std::string caption;  // already cleaned of control characters
};

bool ListsWindow(const WindowFacts& window, uint32_t options);

// Every byte below 0x20 removed; a double-byte character stays whole even
// when its second byte would be one.
std::string CleanCaption(const char* text);
// Single-byte letters upper-cased, double-byte characters untouched.
std::string UpperCaseModule(const char* name);
// A desktop's title as the lists show it: cleaned, and its id when nothing
// is left.
std::string DesktopTitle(const char* title, const char* id);

// The switch request's text for the desktop at this 0-based place.
std::string SwitchText(int index);

// Which column a list is sorted by and which way.
class SortOrder {
public:
    // A click on a column header: a new column sorts ascending, the current
    // one turns round.
    void Click(int column);
    // Sorted by this column ascending, as after a refill.
    void SortAscending(int column);
    int Column() const { return m_column; }
    bool Ascending() const { return m_ascending; }
    // The header of a column: its name, with " ▲" or " ▼" on the sort column.
    std::string HeaderText(int column, const char* name) const;
    // Byte-wise, turned round when descending: < 0, 0 or > 0.
    int Compare(const char* a, const char* b) const;

private:
    int m_column = -1;  // none yet
    bool m_ascending = true;
};

}  // namespace qv

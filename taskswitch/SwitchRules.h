#pragma once
// The task switch tool's window-free rules: its command line, which windows
// its list takes in, the texts it shows and the order of its list.

#include <cstdint>
#include <string>

namespace qv::taskswitch {

inline constexpr char kUsageText[] =
    "Usage : QVTaskSwitch.exe [{-A|-D}] [-t wait]\r\n"
    "\t-A : 全ﾃﾞｽｸﾄｯﾌﾟのｱﾌﾟﾘｹｰｼｮﾝをﾊﾝｸﾞｵﾝする.\r\n"
    "\t-D : そのﾃﾞｽｸﾄｯﾌﾟのｱﾌﾟﾘｹｰｼｮﾝをﾊﾝｸﾞｵﾝする.\r\n"
    "\t-t wait : wait ms 後に実行する.\r\n"
    "\r\n"
    "\t-A も -D も指定しない場合には対話画面が現れます.\r\n"
    "\tﾃﾞﾌｫﾙﾄ: QVTaskSwitch.exe -t 0\r\n";

enum class RunMode {
    kUsage,        // an invalid line or a help option: the usage text, nothing else
    kDialog,       // neither -A nor -D
    kAllDesktops,  // -A (wins over -D)
    kOwnDesktop,   // -D
};

struct SwitchCommand {
    RunMode mode = RunMode::kDialog;
    // -t, read as atoi reads it; a value below 0 waits not at all, since the
    // system would take it for an endless wait.
    unsigned long waitMs = 0;
};

// The command tail after the program name.
SwitchCommand ReadSwitchCommand(const char* tail);

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
inline constexpr uint32_t kInitialListOptions = kUpperCaseModules;

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
// A desktop's title as the list shows it: cleaned, and its id when nothing
// is left.
std::string DesktopTitle(const char* title, const char* id);

// The switch request's text for the entry at this 0-based place.
std::string SwitchText(int index);

// Which column the list is sorted by and which way.
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

struct ButtonStates {
    bool activate = false;
    bool hangOn = false;
    bool deselectAll = false;
};
ButtonStates DecideButtons(uint32_t options, int selectedCount, bool barFoundAtStart);

}  // namespace qv::taskswitch

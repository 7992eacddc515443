#pragma once
// The control bar's settings file (QVCtrlBar.ini): one controller block with
// the bar's timers, roll-up, hanger, menu and hot-key settings, and one block
// per desktop of the daemon listing the menu panels of that desktop's bar.
// The bar only reads it; its configurator writes the same layout. Reading
// needs no window: where a panel's folder lives is asked of a FolderSource,
// the registry in the bar and a table in tests.

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

namespace qv {

inline constexpr char kBarParameterFile[] = "QVCtrlBar.ini";
inline constexpr char kBarControllerHeader[] = "QVBarController::AnyController::RingListClass";
inline constexpr char kBarDesktopHeader[] = "QVBarDesktop::AnyDesktop::RingListClass";
inline constexpr char kMenuPanelHeader[] = "ExecutantPanetMenu::ExecutantMenu::QVOwnerDrawMenuItem::RingListClass";

// The bar's controller record, with its defaults.
struct BarController {
    static constexpr int32_t kTimerMin = 1000;
    static constexpr int32_t kTimerMax = 9999;

    int32_t mouseOver = 5;          // corners and edges that bring a rolled-up bar back; as read
    bool fixPin = false;            // pinned: shown from the start, never rolled up by itself
    int32_t rollTimer = 1000;       // ms, kTimerMin..kTimerMax
    int32_t regionTimer = 3000;     // ms, kTimerMin..kTimerMax
    int32_t hangerSortId = 4;       // as read; the hanger keeps to its own range
    bool hangerSortAscending = true;
    uint32_t menuFileCond = 1;      // drive types shown in menus, 8 bits
    uint32_t hotKeyActive = 0x00090000;  // modifiers in the high word, virtual key in the low; 0 none
    std::vector<std::string> initHangonModules;  // lower-cased module file names
    std::string fileVersion;
};

// 1000 or less is 1000, 9999 or more is 9999.
int32_t ClampBarTimer(int32_t ms);

enum class BarReadResult {
    kRead,        // the file was read (a controller block or not)
    kNoFile,      // it could not be opened: every default stays
    kCutShort,    // the file ended inside the controller block: what was read stays
};

// Reads the top level and every controller block of an open file; unknown
// controller keys are logged and skipped.
BarReadResult ReadBarController(FILE* file, BarController* controller);
BarReadResult ReadBarControllerFile(const char* path, BarController* controller);

// A menu panel as the file describes it.
enum class PanelKind : int32_t {
    kFolder = 0,        // StartDirectory is the folder
    kUserFolder = 1,    // a Shell Folders value of the user
    kCommonFolder = 2,  // a Shell Folders value of the machine
    kQuickLaunch = 3,   // the user's Quick Launch folder
    kProgramList = 4,   // the desktop's program list beside the settings file
};
struct PanelDescription {
    PanelKind kind = PanelKind::kFolder;
    std::string caption;  // empty: the StartDirectory text is the caption
    std::string startDirectory;
};

// MenuKind 1 to 4, anything else 0.
PanelKind PanelKindFromNumber(int32_t number);

// The panels of desktop number n (0-based, the daemon's order): those of the
// n-th desktop block, in file order; none when there is no such block. A
// panel block whose StartDirectory comes before any MenuKind gives nothing;
// one that describes several panels gives the last.
std::vector<PanelDescription> ReadPanelDescriptions(FILE* file, int desktopNumber);
// The panels of a bar whose settings file cannot be opened.
std::vector<PanelDescription> DefaultPanelDescriptions();

// Where the panel kinds find their folders.
class FolderSource {
public:
    virtual ~FolderSource() = default;
    // A value of "Software\Microsoft\Windows\CurrentVersion\Explorer\Shell
    // Folders" of the user (common: of the machine), its environment
    // variables expanded when it is of the expandable type.
    virtual bool ShellFolder(bool common, const char* valueName, std::string* folder) const = 0;
    // The "Quick Launch" value of "...\CurrentVersion\GrpConv\MapGroups".
    virtual bool MappedQuickLaunch(std::string* folder) const = 0;
    virtual bool IsDirectory(const std::string& path) const = 0;
};

// The registry and the file system of the calling process.
class SystemFolders : public FolderSource {
public:
    bool ShellFolder(bool common, const char* valueName, std::string* folder) const override;
    bool MappedQuickLaunch(std::string* folder) const override;
    bool IsDirectory(const std::string& path) const override;
};

struct MenuPanel {
    PanelKind kind = PanelKind::kFolder;
    std::string caption;
    std::string folder;  // the folder shown, or for kProgramList the list file
};

// The panels that can be shown: a folder that cannot be resolved drops its
// panel. desktopName names the program list (kProgramList), which lies in
// the directory of parameterPath.
std::vector<MenuPanel> ResolvePanels(const std::vector<PanelDescription>& panels, const char* parameterPath,
                                     const char* desktopName, const FolderSource& folders);

// The panels of desktop number n of the settings file at parameterPath, or
// the default panels when it cannot be opened, resolved.
std::vector<MenuPanel> ReadDesktopPanels(const char* parameterPath, int desktopNumber, const char* desktopName,
                                         const FolderSource& folders);

// The whole file as its configurator edits it: the controller and, for each
// desktop in order, its panels as described (not resolved).
struct BarDocument {
    BarController controller;
    std::vector<std::vector<PanelDescription>> desktops;
};
// Reads the top level: the controller blocks, and the desktop blocks that
// follow a controller (earlier ones are read past).
BarReadResult ReadBarDocument(FILE* file, BarDocument* document);
// Writes the layout the bar reads, every controller key in order; false on
// a write error.
bool WriteBarDocument(FILE* file, const BarDocument& document);

}  // namespace qv

#pragma once
// What the launcher menu holds, made without any window: the items of a
// folder tree (programs, shortcuts, documents, subfolders) and of a desktop's
// Mendrel program list, each a program entry that can be started on a
// desktop. The menu itself (HMENU, icons, drawing) is LauncherMenu's.

#include <windows.h>

#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "ComRef.h"
#include "Executant.h"

struct IShellLinkA;
struct IPersistFile;

namespace qv {

// Command ids 0xFFFE and 0xFFFF are the menu's two exit items.
inline constexpr UINT kLastItemCommand = 0xFFFD;

// The file extensions that are started as programs, as PATHEXT lists them.
class ExtensionList {
public:
    // A ';'-separated list; null, or a text of two characters or fewer,
    // stands for ".cmd;.exe;.bat". Taken lower-cased.
    explicit ExtensionList(const char* list);
    // The extension with its dot, in any case, equals one entry exactly.
    bool Contains(const char* extension) const;

private:
    std::vector<std::string> m_entries;
};

// PATHEXT of this process, read at the first call.
const ExtensionList& ProcessExtensions();

// MenuFileCond bits: the drive types whose files the menus show.
enum DriveCondition : uint32_t {
    kDriveFixed = 1,
    kDriveCdRom = 2,
    kDriveRemovable = 4,
    kDriveRemote = 8,
    kDriveOther = 16,
};
// How the drive type of a root directory ("C:\", "\\server\share\") is
// learnt; GetDriveTypeA in the bar.
using DriveTypeQuery = UINT(WINAPI*)(LPCSTR root);
// A drive without a root directory never passes.
bool DrivePasses(uint32_t condition, UINT driveType);
// The root directory of a path's drive; empty for a relative path.
std::string DriveRoot(const std::string& path);

// The program of a shell open command as the registry holds it: the quoted
// first word, or the text up to the first tab, quote, '%' or '/', cut back to
// the last blank before it; at most 258 bytes.
std::string ProgramOfOpenCommand(const std::string& command);

// What a shortcut file says.
struct ShortcutTarget {
    std::string path;
    std::string workingDirectory;
    std::string iconPath;  // empty when the shortcut names no icon
    int iconIndex = 0;
};

class ShortcutReader {
public:
    virtual ~ShortcutReader() = default;
    // False when the file cannot be loaded or names no target path.
    virtual bool Read(const std::string& shortcut, ShortcutTarget* target) = 0;
};

// The shell's link object; needs a COM apartment on the calling thread for
// as long as it lives. Without the object (Usable() false) no shortcut is
// read.
class ShellLinkReader : public ShortcutReader {
public:
    ShellLinkReader();
    ~ShellLinkReader() override;
    bool Usable() const { return m_link && m_file; }
    bool Read(const std::string& shortcut, ShortcutTarget* target) override;

private:
    ComRef<IShellLinkA> m_link;
    ComRef<IPersistFile> m_file;
};

// One item of the menu: started directly (kind 5) or, in shell mode, through
// QVShlExe (kind 6).
class MenuItem : public Executant {
public:
    enum Kind { kProgram = 5, kShellItem = 6 };

    // fileName and arguments as ExecutionFileName and ExecutionArguments,
    // path as ExecutionPath (empty: none); false when the entry is refused.
    bool Set(Kind itemKind, const std::string& program, const std::string& args, const std::string& path);
    // Shell items through QVShlExe, every other one directly.
    int Launch(const char* desktopName) override;

    Kind kind = kProgram;
    std::string caption;
    std::string iconPath;  // where the small icon comes from; empty: the default image
    int iconIndex = 0;
    UINT command = 0;
};

// A popup: its items, then its cascading subfolders.
struct MenuFolder {
    std::string caption;
    std::string path;  // the folder, or the program list file
    std::vector<std::unique_ptr<MenuItem>> items;
    std::vector<MenuFolder> folders;

    bool Empty() const { return items.empty() && folders.empty(); }
    // The item of a command id anywhere below, or null.
    MenuItem* Find(UINT command) const;
};

// The command ids of one menu, from 1 in build order up to a last one.
class CommandIds {
public:
    explicit CommandIds(UINT last = kLastItemCommand) : m_last(last) {}
    // The next id, or 0 when every id has been given.
    UINT Take() { return m_next <= m_last ? m_next++ : 0; }
    bool Exhausted() const { return m_next > m_last; }

private:
    UINT m_next = 1;
    UINT m_last;
};

// Where a scan is and whether it should stop; the progress window in the bar.
class ScanProgress {
public:
    virtual ~ScanProgress() = default;
    virtual void Entering(const std::string& folder) = 0;
    virtual bool Cancelled() const = 0;
};

struct ScanOptions {
    const ExtensionList* extensions = nullptr;  // null: ProcessExtensions()
    uint32_t driveCondition = kDriveFixed;
    DriveTypeQuery driveType = GetDriveTypeA;
    ShortcutReader* shortcuts = nullptr;  // null: shortcuts are dropped
};

class MenuScanner {
public:
    MenuScanner(const ScanOptions& options, CommandIds& ids, ScanProgress& progress);

    // The popup of a folder and every folder below it that gives an item;
    // an empty one when the folder is missing, the scan was cancelled first
    // or every id was given.
    MenuFolder ScanFolder(const std::string& folder, const std::string& caption);
    // The item a file of the folder makes, without a command id; null when
    // it is dropped.
    std::unique_ptr<MenuItem> Classify(const std::string& folder, const std::string& name);

private:
    bool Stopped() const { return m_ids.Exhausted() || m_progress.Cancelled(); }
    void ScanInto(MenuFolder& popup);
    bool PassesDrive(const std::string& path);
    // The program that opens files of this extension: FindExecutable on the
    // file, else the extension's open command. Kept per extension.
    std::string OpeningProgram(const std::string& file, const std::string& extension);

    ScanOptions m_options;
    const ExtensionList& m_extensions;
    CommandIds& m_ids;
    ScanProgress& m_progress;
    std::map<std::string, std::string> m_openers;
    std::map<std::string, UINT> m_driveTypes;  // by lower-cased root
};

// The Mendrel program list of a desktop (a parameter file of program
// entries): one item per entry that reads, and when there is more than one,
// a "一括起動" popup whose one item starts them all with Mendrel from
// programFolder. Empty when the file cannot be opened.
MenuFolder ReadProgramList(const std::string& listPath, const std::string& caption, const std::string& programFolder,
                           CommandIds& ids);

}  // namespace qv

#include "MenuScan.h"

#include <shellapi.h>
#include <shlobj.h>

#include <cctype>
#include <cstdio>
#include <cstring>
#include <vector>

#include "Handle.h"
#include "PathText.h"
#include "ProgramListFile.h"
#include "RegistryText.h"
#include "Sjis.h"

namespace qv {

namespace {

constexpr char kDefaultExtensions[] = ".cmd;.exe;.bat";
constexpr char kShlExe[] = "QVShlExe.exe";
constexpr char kStartAllFolder[] = "一括起動";
constexpr char kStartAllItem[] = "Mendrel 一括起動";
// The longest program path taken from an open command.
constexpr size_t kMaxOpenProgram = 258;

struct FindHandleTraits {
    using Type = HANDLE;
    static Type Invalid() { return INVALID_HANDLE_VALUE; }
    static bool Valid(Type h) { return h != INVALID_HANDLE_VALUE && h != nullptr; }
    static void Close(Type h) { FindClose(h); }
};
using UniqueFind = UniqueResource<FindHandleTraits>;

std::string Lowered(std::string text) {
    LowerSjis(text.data());
    return text;
}

// Where a separator ('\' or '/') comes at or after `from`, stepping over
// double-byte characters; npos when none does.
size_t NextSeparator(const std::string& text, size_t from) {
    for (size_t i = from; i < text.size(); ++i) {
        const unsigned char c = static_cast<unsigned char>(text[i]);
        if (IsSjisLead(c)) {
            ++i;
        } else if (c == '\\' || c == '/') {
            return i;
        }
    }
    return std::string::npos;
}

bool EndsWithSeparator(const std::string& text) {
    size_t last = std::string::npos;
    for (size_t i = NextSeparator(text, 0); i != std::string::npos; i = NextSeparator(text, i + 1)) last = i;
    return last != std::string::npos && last + 1 == text.size();
}

// Cuts a text to at most max bytes without splitting a double-byte character.
void CutSjis(std::string& text, size_t max) {
    if (text.size() <= max) return;
    size_t keep = 0;
    while (keep < text.size()) {
        const size_t step = IsSjisLead(static_cast<unsigned char>(text[keep])) ? 2 : 1;
        if (keep + step > max) break;
        keep += step;
    }
    text.resize(keep);
}

// A file name's extension with its dot ('.' is never a trail byte), and
// the name without it.
std::string ExtensionOf(const std::string& name) {
    const size_t dot = name.rfind('.');
    return dot == std::string::npos ? std::string() : name.substr(dot);
}
std::string StemOf(const std::string& name) { return name.substr(0, name.rfind('.')); }

std::string Unquoted(std::string text) {
    if (text.size() >= 2 && text.front() == '"' && text.back() == '"') return text.substr(1, text.size() - 2);
    return text;
}

DWORD AttributesOf(const std::string& path) { return GetFileAttributesA(path.c_str()); }
bool IsDirectory(DWORD attributes) {
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}
bool IsPlainFile(const std::string& path) {
    const DWORD attributes = AttributesOf(path);
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

// Entries the menus list: no hidden, system, volume-label or device entries,
// and none with any of the newer attribute bits.
bool Listed(DWORD attributes) {
    constexpr DWORD kVolumeLabel = 0x08;
    constexpr DWORD kRefused = FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM | kVolumeLabel | FILE_ATTRIBUTE_DEVICE;
    return !(attributes & kRefused) && (attributes & ~DWORD{0xFF}) == 0;
}

// The program of the extension's shell open command, or empty.
std::string OpenCommandProgram(const std::string& extension) {
    std::string className, command;
    if (extension.empty() || !ReadRegistryText(HKEY_CLASSES_ROOT, extension.c_str(), nullptr, &className) ||
        !ReadRegistryText(HKEY_CLASSES_ROOT, (className + "\\shell\\open\\command").c_str(), nullptr, &command))
        return std::string();
    return ProgramOfOpenCommand(command);
}

std::string Expanded(const std::string& text) {
    std::string expanded;
    return ExpandEnvironmentText(text, &expanded) ? expanded : text;
}

}  // namespace

// --- Extensions and drives ------------------------------------------------

ExtensionList::ExtensionList(const char* list) {
    const std::string text = Lowered(list && std::strlen(list) > 2 ? list : kDefaultExtensions);
    size_t start = 0;
    while (start <= text.size()) {
        size_t end = text.find(';', start);
        if (end == std::string::npos) end = text.size();
        if (end > start) m_entries.push_back(text.substr(start, end - start));
        start = end + 1;
    }
}

bool ExtensionList::Contains(const char* extension) const {
    const std::string wanted = Lowered(extension ? extension : "");
    if (wanted.empty()) return false;
    for (const std::string& entry : m_entries) {
        if (entry == wanted) return true;
    }
    return false;
}

const ExtensionList& ProcessExtensions() {
    static const ExtensionList extensions = [] {
        const DWORD size = GetEnvironmentVariableA("PATHEXT", nullptr, 0);
        if (size == 0) return ExtensionList(nullptr);
        std::string value(size, '\0');
        const DWORD length = GetEnvironmentVariableA("PATHEXT", value.data(), size);
        value.resize(length < size ? length : 0);
        return ExtensionList(value.c_str());
    }();
    return extensions;
}

bool DrivePasses(uint32_t condition, UINT driveType) {
    uint32_t bit = kDriveOther;
    switch (driveType) {
    case DRIVE_NO_ROOT_DIR: return false;
    case DRIVE_FIXED: bit = kDriveFixed; break;
    case DRIVE_CDROM: bit = kDriveCdRom; break;
    case DRIVE_REMOVABLE: bit = kDriveRemovable; break;
    case DRIVE_REMOTE: bit = kDriveRemote; break;
    default: break;  // unknown, RAM disk
    }
    return (condition & bit) != 0;
}

std::string DriveRoot(const std::string& path) {
    if (path.size() >= 2 && path[1] == ':' && std::isalpha(static_cast<unsigned char>(path[0])))
        return path.substr(0, 2) + "\\";
    const bool unc = path.size() > 2 && (path[0] == '\\' || path[0] == '/') && (path[1] == '\\' || path[1] == '/');
    if (!unc) return std::string();
    // \\server\share\: the share's separator ends the root.
    const size_t server = NextSeparator(path, 2);
    const size_t share = server == std::string::npos ? server : NextSeparator(path, server + 1);
    return (share == std::string::npos ? path : path.substr(0, share)) + "\\";
}

std::string ProgramOfOpenCommand(const std::string& command) {
    // None of the characters looked for can be the second byte of a
    // double-byte character (those are 0x40 and above).
    std::string program;
    if (!command.empty() && command[0] == '"') {
        const size_t end = command.find('"', 1);
        program = command.substr(1, end == std::string::npos ? std::string::npos : end - 1);
    } else {
        const size_t stop = command.find_first_of("\t\"%/");
        if (stop == std::string::npos) {
            program = command;
        } else {
            const size_t blank = command.rfind(' ', stop);
            program = command.substr(0, blank == std::string::npos ? stop : blank);
        }
    }
    CutSjis(program, kMaxOpenProgram);
    return program;
}

// --- Shortcuts --------------------------------------------------------------

ShellLinkReader::ShellLinkReader() {
    if (FAILED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkA, m_link.PutVoid())))
        return;
    if (FAILED(m_link->QueryInterface(IID_IPersistFile, m_file.PutVoid()))) m_link.Reset();
}

ShellLinkReader::~ShellLinkReader() = default;

bool ShellLinkReader::Read(const std::string& shortcut, ShortcutTarget* target) {
    if (!Usable()) return false;
    wchar_t wide[MAX_PATH];
    if (MultiByteToWideChar(CP_ACP, 0, shortcut.c_str(), -1, wide, MAX_PATH) == 0) return false;
    if (FAILED(m_file->Load(wide, STGM_READ))) return false;
    char text[MAX_PATH + 1] = {};
    WIN32_FIND_DATAA found = {};
    if (m_link->GetPath(text, MAX_PATH, &found, 0) != S_OK || !text[0]) return false;
    target->path = text;
    text[0] = '\0';
    target->workingDirectory = SUCCEEDED(m_link->GetWorkingDirectory(text, MAX_PATH)) ? text : "";
    text[0] = '\0';
    int index = 0;
    target->iconPath = SUCCEEDED(m_link->GetIconLocation(text, MAX_PATH, &index)) ? text : "";
    target->iconIndex = index;
    return true;
}

// --- Items ------------------------------------------------------------------

bool MenuItem::Set(Kind itemKind, const std::string& program, const std::string& args, const std::string& path) {
    kind = itemKind;
    if (AddEntry(KeyName(kFileName), program.c_str()) < 0) return false;
    if (!args.empty() && AddEntry(KeyName(kArguments), args.c_str()) < 0) return false;
    if (!path.empty() && AddEntry(KeyName(kPath), path.c_str()) < 0) return false;
    if (itemKind == kShellItem && AddEntry(KeyName(kShellExec), "1") < 0) return false;
    if (Validate() < 0) return false;
    Apply();
    return true;
}

int MenuItem::Launch(const char* desktopName) {
    // A shell start here would open the item inside the bar's process;
    // QVShlExe opens it in a process of its own on the desktop given.
    if (shellExec) return LaunchViaShlExe(desktopName);
    return Executant::Launch(desktopName);
}

MenuItem* MenuFolder::Find(UINT wanted) const {
    for (const std::unique_ptr<MenuItem>& item : items) {
        if (item->command == wanted) return item.get();
    }
    for (const MenuFolder& folder : folders) {
        if (MenuItem* item = folder.Find(wanted)) return item;
    }
    return nullptr;
}

// --- Folder scan ------------------------------------------------------------

MenuScanner::MenuScanner(const ScanOptions& options, CommandIds& ids, ScanProgress& progress)
    : m_options(options),
      m_extensions(options.extensions ? *options.extensions : ProcessExtensions()),
      m_ids(ids),
      m_progress(progress) {}

MenuFolder MenuScanner::ScanFolder(const std::string& folder, const std::string& caption) {
    MenuFolder popup;
    popup.caption = caption;
    popup.path = folder;
    if (popup.path.size() > 2 && EndsWithSeparator(popup.path)) popup.path.pop_back();
    // Read-only and system folders are shown too; only a missing one is not.
    if (IsDirectory(AttributesOf(popup.path))) ScanInto(popup);
    return popup;
}

void MenuScanner::ScanInto(MenuFolder& popup) {
    if (Stopped()) return;
    m_progress.Entering(popup.path);
    const std::string pattern = popup.path + "\\*.*";
    WIN32_FIND_DATAA found;
    // Files first, as the file system lists them, then the subfolders that
    // give anything, in the same order: one listing serves both, since
    // reading a folder costs more than anything done with its entries.
    std::vector<std::string> subfolders;
    {
        UniqueFind find(FindFirstFileA(pattern.c_str(), &found));
        for (bool more = find.Valid(); more && !Stopped(); more = FindNextFileA(find.Get(), &found) != FALSE) {
            if (!Listed(found.dwFileAttributes)) continue;
            if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
                if (std::strcmp(found.cFileName, ".") != 0 && std::strcmp(found.cFileName, "..") != 0)
                    subfolders.emplace_back(found.cFileName);
                continue;
            }
            std::unique_ptr<MenuItem> item = Classify(popup.path, found.cFileName);
            if (!item) continue;
            item->command = m_ids.Take();
            if (item->command == 0) return;  // no command left for anything further down either
            popup.items.push_back(std::move(item));
        }
    }
    for (const std::string& name : subfolders) {
        if (Stopped()) return;
        MenuFolder sub;
        sub.caption = name;
        sub.path = popup.path + "\\" + name;
        ScanInto(sub);
        if (!sub.Empty()) popup.folders.push_back(std::move(sub));
    }
}

bool MenuScanner::PassesDrive(const std::string& path) {
    // Asked once per drive and build: under Wine each question is slow
    // enough to count in a large tree.
    const std::string root = DriveRoot(path);
    std::string key = Lowered(root);
    auto known = m_driveTypes.find(key);
    if (known == m_driveTypes.end())
        known = m_driveTypes.emplace(std::move(key), m_options.driveType(root.empty() ? nullptr : root.c_str())).first;
    return DrivePasses(m_options.driveCondition, known->second);
}

std::string MenuScanner::OpeningProgram(const std::string& file, const std::string& extension) {
    const std::string key = Lowered(extension);
    auto known = m_openers.find(key);
    if (known != m_openers.end()) return known->second;
    char program[MAX_PATH + 1] = {};
    std::string opener;
    if (reinterpret_cast<INT_PTR>(FindExecutableA(file.c_str(), nullptr, program)) > 32 && program[0])
        opener = program;
    else
        opener = OpenCommandProgram(key);
    m_openers.emplace(key, opener);
    return opener;
}

std::unique_ptr<MenuItem> MenuScanner::Classify(const std::string& folder, const std::string& name) {
    const std::string path = folder + "\\" + name;
    const std::string extension = Lowered(ExtensionOf(name));
    auto item = std::make_unique<MenuItem>();
    item->caption = StemOf(name);

    if (m_extensions.Contains(extension.c_str())) {
        // Quoted, so that a blank in the path cannot make CreateProcess
        // start some other program that the path's first words name.
        if (!item->Set(MenuItem::kProgram, "\"" + path + "\"", std::string(), folder)) return nullptr;
        item->iconPath = path;
        return item;
    }

    if (extension == ".lnk") {
        ShortcutTarget target;
        if (!m_options.shortcuts || !m_options.shortcuts->Read(path, &target)) return nullptr;
        if (!PassesDrive(target.path) || IsDirectory(AttributesOf(target.path))) return nullptr;
        // The shell opens the shortcut itself, with its arguments and all.
        if (!item->Set(MenuItem::kShellItem, kShlExe, path, Expanded(target.workingDirectory))) return nullptr;
        const std::string iconFile = Expanded(target.iconPath);
        const std::string targetExtension = ExtensionOf(std::string(FileNamePart(target.path.c_str())));
        if (!iconFile.empty() && IsPlainFile(iconFile)) {
            item->iconPath = iconFile;
            item->iconIndex = target.iconIndex;
        } else if (m_extensions.Contains(targetExtension.c_str())) {
            item->iconPath = target.path;
        } else {
            item->iconPath = OpeningProgram(target.path, targetExtension);
        }
        return item;
    }

    if (!PassesDrive(path)) return nullptr;
    if (!item->Set(MenuItem::kShellItem, kShlExe, path, folder)) return nullptr;
    item->iconPath = OpeningProgram(path, extension);
    return item;
}

// --- Mendrel program list ---------------------------------------------------

MenuFolder ReadProgramList(const std::string& listPath, const std::string& caption, const std::string& programFolder,
                           CommandIds& ids) {
    MenuFolder popup;
    popup.caption = caption;
    popup.path = listPath;
    std::unique_ptr<FILE, int (*)(FILE*)> file(std::fopen(listPath.c_str(), "rt"), std::fclose);
    if (!file) return popup;
    ReadProgramEntries<MenuItem>(file.get(), [&](std::unique_ptr<MenuItem> item) {
        item->command = ids.Take();
        if (item->command == 0) return false;
        const std::string program = Unquoted(item->Properties().Value(item->KeyName(Executant::kFileName)));
        item->kind = item->shellExec ? MenuItem::kShellItem : MenuItem::kProgram;
        item->caption = StemOf(FileNamePart(program.c_str()));
        item->iconPath = program;
        popup.items.push_back(std::move(item));
        return true;
    });
    file.reset();

    if (popup.items.size() > 1) {
        MenuFolder all;
        all.caption = kStartAllFolder;
        all.path = listPath;
        auto item = std::make_unique<MenuItem>();
        const std::string mendrel = programFolder + "Mendrel.exe";
        if (item->Set(MenuItem::kProgram, "\"" + mendrel + "\"", "-p \"" + listPath + "\" -e", std::string()) &&
            (item->command = ids.Take()) != 0) {
            item->caption = kStartAllItem;
            item->iconPath = mendrel;
            all.items.push_back(std::move(item));
            popup.folders.push_back(std::move(all));
        }
    }
    return popup;
}

}  // namespace qv

#include "SetupShell.h"

#include <shlobj.h>

#include <algorithm>
#include <cstdio>
#include <memory>
#include <vector>

#include "ComRef.h"
#include "Handle.h"
#include "ProcessApi.h"
#include "Protocol.h"
#include "RegistryText.h"

namespace qvsetup {

namespace {

std::vector<char> Writable(const std::string& text) {
    std::vector<char> buffer(text.begin(), text.end());
    buffer.push_back('\0');
    return buffer;
}

std::wstring Wide(const std::string& text) {
    const int length = MultiByteToWideChar(CP_ACP, 0, text.c_str(), -1, nullptr, 0);
    if (length <= 0) return std::wstring();
    std::wstring wide(static_cast<size_t>(length), L'\0');
    MultiByteToWideChar(CP_ACP, 0, text.c_str(), -1, wide.data(), length);
    wide.resize(static_cast<size_t>(length - 1));
    return wide;
}

std::string ParentOf(const std::string& path) {
    const size_t end = path.find_last_not_of("\\/");
    if (end == std::string::npos) return std::string();
    const size_t separator = path.find_last_of("\\/", end);
    return separator == std::string::npos ? std::string() : path.substr(0, separator);
}

bool IsRoot(const std::string& path) {
    // "C:", "C:\", "\" and "\\server\share" have no parent to make.
    if (path.size() <= 3 && path.size() >= 2 && path[1] == ':') return true;
    if (path.empty() || path == "\\" || path == "/") return true;
    if (path.compare(0, 2, "\\\\") == 0) return std::count(path.begin() + 2, path.end(), '\\') <= 1;
    return false;
}

}  // namespace

bool DaemonRunning() { return FindWindowA(qv::kThreadWindowClass, nullptr) != nullptr; }

bool IsNtFamily() { return qv::PlatformKind() == qv::kPlatformNT; }

bool IsAdministrator(std::string* failure) {
    failure->clear();
    SID_IDENTIFIER_AUTHORITY nt = SECURITY_NT_AUTHORITY;
    PSID administrators = nullptr;
    if (!AllocateAndInitializeSid(&nt, 2, SECURITY_BUILTIN_DOMAIN_RID, DOMAIN_ALIAS_RID_ADMINS, 0, 0, 0, 0, 0, 0,
                                  &administrators)) {
        *failure = "WellKnownなSIDを作成できませんでした.";
        return false;
    }
    std::unique_ptr<void, PVOID (*)(PSID)> sid(administrators, FreeSid);
    HANDLE opened = nullptr;
    if (!OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, &opened)) {
        *failure = "OpenProcessToken() Failed.";
        return false;
    }
    qv::UniqueHandle token(opened);
    DWORD size = 0;
    GetTokenInformation(token.Get(), TokenGroups, nullptr, 0, &size);
    if (size == 0) {
        *failure = "GetTokenInformation() Failed.";
        return false;
    }
    std::vector<unsigned char> buffer;
    try {
        buffer.resize(size);
    } catch (const std::bad_alloc&) {
        char text[64];
        std::snprintf(text, sizeof text, "malloc(%lu) Failed.", static_cast<unsigned long>(size));
        *failure = text;
        return false;
    }
    if (!GetTokenInformation(token.Get(), TokenGroups, buffer.data(), size, &size)) {
        *failure = "GetTokenInformation() Failed.";
        return false;
    }
    const TOKEN_GROUPS* groups = reinterpret_cast<const TOKEN_GROUPS*>(buffer.data());
    for (DWORD i = 0; i < groups->GroupCount; ++i)
        if (EqualSid(groups->Groups[i].Sid, sid.get())) return true;
    return false;
}

std::string CurrentFolder() {
    char folder[MAX_PATH + 1] = "";
    const DWORD length = GetCurrentDirectoryA(sizeof folder, folder);
    return length > 0 && length < sizeof folder ? std::string(folder, length) : std::string();
}

bool FileExists(const std::string& path) {
    const DWORD attributes = GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

bool FolderExists(const std::string& path) {
    const DWORD attributes = GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

std::vector<std::string> FilesMatching(const std::string& folder, const char* pattern) {
    std::vector<std::string> names;
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA(JoinPath(folder, pattern).c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) return names;
    do {
        if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) names.emplace_back(found.cFileName);
    } while (FindNextFileA(search, &found));
    FindClose(search);
    return names;
}

bool MakeFolderTree(const std::string& folder) {
    std::string path = folder;
    while (!path.empty() && (path.back() == '\\' || path.back() == '/') && !IsRoot(path)) path.pop_back();
    if (path.empty() || FolderExists(path)) return true;
    if (IsRoot(path)) return false;  // a drive or share that is not there
    const std::string parent = ParentOf(path);
    if (!parent.empty() && !MakeFolderTree(parent)) return false;
    return CreateDirectoryA(path.c_str(), nullptr) || GetLastError() == ERROR_ALREADY_EXISTS;
}

void SetReadOnly(const std::string& path, bool readOnly) {
    const DWORD attributes = GetFileAttributesA(path.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) return;
    const DWORD wanted = readOnly ? attributes | FILE_ATTRIBUTE_READONLY : attributes & ~FILE_ATTRIBUTE_READONLY;
    if (wanted != attributes) SetFileAttributesA(path.c_str(), wanted);
}

bool CopyReplacing(const std::string& from, const std::string& to, bool readOnly) {
    // An earlier install left its copies read-only, which CopyFile will not
    // overwrite.
    SetReadOnly(to, false);
    if (!CopyFileA(from.c_str(), to.c_str(), FALSE)) return false;
    // A copy takes the source's attributes: a read-only medium gives
    // read-only copies everywhere.
    SetReadOnly(to, readOnly);
    return true;
}

bool WriteText(const std::string& path, const std::string& text, bool append) {
    if (!append) SetReadOnly(path, false);
    FILE* file = std::fopen(path.c_str(), append ? "a" : "w");  // text mode: "\r\n" line ends
    if (!file) return false;
    const bool written = std::fwrite(text.data(), 1, text.size(), file) == text.size();
    return std::fclose(file) == 0 && written;
}

bool ReadShellFolder(bool machine, const char* valueName, std::string* folder) {
    return qv::ReadRegistryText(machine ? HKEY_LOCAL_MACHINE : HKEY_CURRENT_USER, qv::kShellFoldersKey, valueName,
                                folder);
}

LinkResult MakeShellLink(const LinkSpec& shortcut) {
    if (!FileExists(shortcut.target)) return LinkResult::kNoTarget;
    qv::ComApartment apartment;
    qv::ComRef<IShellLinkA> link;
    if (!apartment.Usable() || FAILED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER,
                                                       IID_IShellLinkA, link.PutVoid())))
        return LinkResult::kNoShellLink;
    qv::ComRef<IPersistFile> file;
    if (FAILED(link->QueryInterface(IID_IPersistFile, file.PutVoid()))) return LinkResult::kNoPersistFile;
    link->SetPath(shortcut.target.c_str());
    link->SetArguments(shortcut.arguments.c_str());
    link->SetWorkingDirectory(shortcut.workingFolder.c_str());
    link->SetDescription(shortcut.description.c_str());
    link->SetShowCmd(SW_SHOWNORMAL);
    return SUCCEEDED(file->Save(Wide(shortcut.path).c_str(), TRUE)) ? LinkResult::kMade : LinkResult::kSaveFailed;
}

LinkResult MakeShellLinks(const std::vector<LinkSpec>& links, std::vector<std::string>* missingTargets) {
    for (const LinkSpec& link : links) {
        const LinkResult result = MakeShellLink(link);
        if (result == LinkResult::kNoTarget) {
            missingTargets->push_back(link.target);
        } else if (result != LinkResult::kMade) {
            return result;
        }
    }
    return LinkResult::kMade;
}

const char* LinkFailureText(LinkResult result) {
    switch (result) {
    case LinkResult::kNoShellLink: return "ShellLinkインターフェイスの初期化に失敗しました";
    case LinkResult::kNoPersistFile:
    case LinkResult::kSaveFailed: return "RegistFileインターフェイスの初期化に失敗しました";
    default: return "";
    }
}

qv::UniqueHandle StartProgramEntry(const std::string& program, const std::string& arguments) {
    std::vector<char> command = Writable("\"" + program + "\" " + arguments);
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USEPOSITION | STARTF_USESIZE | STARTF_USESHOWWINDOW;
    startup.dwX = 16;
    startup.dwY = 16;
    startup.dwXSize = 800;
    startup.dwYSize = 600;
    startup.wShowWindow = SW_SHOWNORMAL;
    PROCESS_INFORMATION started{};
    if (!CreateProcessA(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &started))
        return qv::UniqueHandle();
    CloseHandle(started.hThread);
    return qv::UniqueHandle(started.hProcess);
}

bool StartProgram(const std::string& commandLine, const std::string& folder) {
    std::vector<char> command = Writable(commandLine);
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION started{};
    if (!CreateProcessA(nullptr, command.data(), nullptr, nullptr, FALSE, CREATE_DEFAULT_ERROR_MODE, nullptr,
                        folder.empty() ? nullptr : folder.c_str(), &startup, &started))
        return false;
    CloseHandle(started.hThread);
    CloseHandle(started.hProcess);
    return true;
}

}  // namespace qvsetup

#include "DialogFiles.h"

#include <commdlg.h>
#include <shlobj.h>

#include <cstdio>
#include <cstring>
#include <vector>

#include "PathText.h"
#include "SystemError.h"

namespace qv::config {

std::string ItemText(HWND dialog, int id) {
    char text[1024] = "";
    GetDlgItemTextA(dialog, id, text, sizeof text);
    return text;
}

std::string AskFileName(HWND owner, const char* filter, const char* extension, const std::string& start, bool save) {
    char file[MAX_PATH + 1] = "";
    std::snprintf(file, sizeof file, "%s", FileNamePart(start.c_str()));
    const std::string folder = start.substr(0, DirectoryLength(start.c_str()));
    OPENFILENAMEA dialog{};
    dialog.lStructSize = sizeof dialog;
    dialog.hwndOwner = owner;
    dialog.lpstrFilter = filter;
    dialog.lpstrFile = file;
    dialog.nMaxFile = sizeof file;
    dialog.lpstrInitialDir = folder.empty() ? nullptr : folder.c_str();
    dialog.lpstrDefExt = extension;
    // A chosen shortcut yields its target: the dialog follows links itself.
    dialog.Flags = OFN_HIDEREADONLY | (save ? OFN_OVERWRITEPROMPT : OFN_FILEMUSTEXIST);
    const BOOL chosen = save ? GetSaveFileNameA(&dialog) : GetOpenFileNameA(&dialog);
    return chosen ? std::string(file) : std::string();
}

std::string AskFolder(HWND owner, const char* title) {
    char folder[MAX_PATH + 1] = "";
    BROWSEINFOA browse{};
    browse.hwndOwner = owner;
    browse.pszDisplayName = folder;
    browse.lpszTitle = title;
    browse.ulFlags = BIF_RETURNONLYFSDIRS;
    LPITEMIDLIST chosen = SHBrowseForFolderA(&browse);
    if (!chosen) return std::string();
    const bool got = SHGetPathFromIDListA(chosen, folder) != FALSE;
    CoTaskMemFree(chosen);
    return got ? std::string(folder) : std::string();
}

bool StartOnParameterFile(HWND owner, const std::string& program, const std::string& path) {
    const bool quoted = !path.empty() && (path.front() == '"' || path.back() == '"');
    const std::string line = "\"" + program + "\" -p " + (quoted ? path : "\"" + path + "\"");
    std::vector<char> command(line.begin(), line.end());
    command.push_back('\0');
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION started{};
    if (!CreateProcessA(nullptr, command.data(), nullptr, nullptr, FALSE,
                        CREATE_NEW_CONSOLE | CREATE_NEW_PROCESS_GROUP | CREATE_DEFAULT_ERROR_MODE, nullptr, nullptr,
                        &startup, &started)) {
        MessageBoxA(owner, SystemErrorText().c_str(), "Error", MB_OK);
        return false;
    }
    CloseHandle(started.hThread);
    CloseHandle(started.hProcess);
    return true;
}

void RunDialogLoop(const Dialog& dialog, HACCEL accelerators) {
    MSG message;
    while (GetMessageA(&message, nullptr, 0, 0) > 0) {
        const HWND window = dialog.Handle();
        if (window && accelerators && TranslateAcceleratorA(window, accelerators, &message)) continue;
        if (window && IsDialogMessageA(window, &message)) continue;
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
}

std::string Formatted(const char* format, const std::string& text) {
    std::vector<char> buffer(std::strlen(format) + text.size() + 1);
    std::snprintf(buffer.data(), buffer.size(), format, text.c_str());
    return buffer.data();
}

}  // namespace qv::config

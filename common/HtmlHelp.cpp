#include "HtmlHelp.h"

#include <string>

#include "Handle.h"
#include "ProcessApi.h"
#include "RegistryText.h"

namespace qv {

namespace {

inline constexpr char kNoHelp[] = "ﾍﾙﾌﾟﾌｧｲﾙが見つかりません.";
inline constexpr char kHelpFile[] = "Lumarch.chm";
inline constexpr char kHtmlHelpControl[] = "CLSID\\{ADB880A6-D8FF-11CF-9377-00AA003B7A11}\\InprocServer32";
inline constexpr UINT kDisplayTopic = 0;  // HH_DISPLAY_TOPIC
inline constexpr DWORD kUnusableHelp =
    FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_TEMPORARY | FILE_ATTRIBUTE_OFFLINE;

using HtmlHelpFunction = HWND(WINAPI*)(HWND, LPCSTR, UINT, DWORD_PTR);

// The HTML Help control, loaded at its first use and kept for the run.
HtmlHelpFunction HtmlHelp() {
    static UniqueLibrary control;
    static HtmlHelpFunction function = nullptr;
    if (function) return function;
    std::string path;
    if (!control && ReadRegistryText(HKEY_CLASSES_ROOT, kHtmlHelpControl, nullptr, &path))
        control.Reset(LoadLibraryA(path.c_str()));
    if (control)
        function = reinterpret_cast<HtmlHelpFunction>(
            reinterpret_cast<void*>(GetProcAddress(control.Get(), "HtmlHelpA")));
    return function;
}

}  // namespace

void ShowHelpTopic(HWND owner, const char* topic, const char* caption) {
    const std::string directory = ProgramDirectory();
    const DWORD attributes = GetFileAttributesA((directory + kHelpFile).c_str());
    HtmlHelpFunction help = directory.empty() || attributes == INVALID_FILE_ATTRIBUTES || (attributes & kUnusableHelp)
                                ? nullptr
                                : HtmlHelp();
    if (!help) {
        MessageBoxA(owner, kNoHelp, caption, MB_OK);
        return;
    }
    char previous[MAX_PATH + 1] = "";
    const DWORD kept = GetCurrentDirectoryA(sizeof previous, previous);
    SetCurrentDirectoryA(directory.c_str());
    const std::string place = std::string(kHelpFile) + "::" + topic;
    help(nullptr, place.c_str(), kDisplayTopic, 0);
    if (kept > 0 && kept < sizeof previous) SetCurrentDirectoryA(previous);
}

}  // namespace qv

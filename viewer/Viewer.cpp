#include "Viewer.h"

#include <memory>
#include <string>

#include "Handle.h"
#include "MainFrame.h"
#include "ProcessApi.h"
#include "RegistryText.h"

namespace qv::viewer {

namespace {

inline constexpr char kOneDesktop[] = "ﾃﾞｽｸﾄｯﾌﾟの数が１個です.";
inline constexpr char kNoHelp[] = "ﾍﾙﾌﾟﾌｧｲﾙが見つかりません.";
inline constexpr char kHelpFile[] = "Lumarch.chm";
inline constexpr char kHelpTopic[] = "/Others1.htm";
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
    if (control) function = reinterpret_cast<HtmlHelpFunction>(reinterpret_cast<void*>(GetProcAddress(control.Get(), "HtmlHelpA")));
    return function;
}

int MessageLoop(MainFrame& frame) {
    MSG message;
    while (GetMessageA(&message, nullptr, 0, 0) > 0) {
        if (frame.TranslateKeys(message)) continue;
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
    return static_cast<int>(message.wParam);
}

}  // namespace

void ShowHelp(HWND owner) {
    const std::string directory = ProgramDirectory();
    const DWORD attributes = GetFileAttributesA((directory + kHelpFile).c_str());
    HtmlHelpFunction help = directory.empty() || attributes == INVALID_FILE_ATTRIBUTES || (attributes & kUnusableHelp)
                                ? nullptr
                                : HtmlHelp();
    if (!help) {
        MessageBoxA(owner, kNoHelp, kCaption, MB_OK);
        return;
    }
    char previous[MAX_PATH + 1] = "";
    const DWORD kept = GetCurrentDirectoryA(sizeof previous, previous);
    SetCurrentDirectoryA(directory.c_str());
    const std::string topic = std::string(kHelpFile) + "::" + kHelpTopic;
    help(nullptr, topic.c_str(), kDisplayTopic, 0);
    if (kept > 0 && kept < sizeof previous) SetCurrentDirectoryA(previous);
}

int RunViewer(HINSTANCE instance) {
    ProcessApiBinding binding(kProcessFunctions);
    DesktopList list(kCaption);
    list.LookUpBar();
    if (!list.Load()) return 1;
    if (list.Desktops().size() == 1) {
        list.Tell(nullptr, kOneDesktop);
        return 0;
    }
    ViewerContext context;
    context.instance = instance;
    context.list = &list;
    context.home = list.OwnDesktop();
    MainFrame frame(context);
    context.frame = &frame;
    if (!frame.Open()) return 1;
    ShowWindow(frame.Handle(), SW_SHOWNORMAL);
    UpdateWindow(frame.Handle());
    frame.OpenAll();
    if (context.home) frame.Activate(*context.home);
    return MessageLoop(frame);
}

}  // namespace qv::viewer

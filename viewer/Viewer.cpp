#include "Viewer.h"

#include <memory>
#include <string>

#include "Handle.h"
#include "HtmlHelp.h"
#include "MainFrame.h"
#include "ProcessApi.h"

namespace qv::viewer {

namespace {

inline constexpr char kOneDesktop[] = "ﾃﾞｽｸﾄｯﾌﾟの数が１個です.";

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

void ShowHelp(HWND owner) { ShowHelpTopic(owner, "/Others1.htm", kCaption); }

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

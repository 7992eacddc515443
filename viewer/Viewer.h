#pragma once
// The desktop viewer: every desktop of the running daemon in a window of its
// own inside one MDI frame.

#include <windows.h>

#include "DesktopWindows.h"

namespace qv::viewer {

inline constexpr char kCaption[] = "QVViewer";
// The frame's window class: with the caption, how a running viewer is found.
inline constexpr char kFrameClassName[] = "QVViewer:MainFrame";
// A window of the desktop's schematic, in its colour.
inline constexpr COLORREF kSchematicColour = 0x00B2FF00;

class MainFrame;

// What every window of the viewer shares.
struct ViewerContext {
    HINSTANCE instance = nullptr;
    DesktopList* list = nullptr;
    MainFrame* frame = nullptr;
    // The viewer's own desktop, shown as a live copy of the screen.
    const DesktopEntry* home = nullptr;
};

// The whole run: the desktops asked for, the frame shown, the message loop;
// the exit code.
int RunViewer(HINSTANCE instance);

// Opens the help file beside the program, or says it is missing.
void ShowHelp(HWND owner);

}  // namespace qv::viewer

#pragma once
// The bar's four button classes. Each is the system's BUTTON or STATIC with
// its own procedure in front: a right click is told to the parent as a
// command of its own, and a knob is dragged with the mouse. Everything else
// is the system control's.

#include <windows.h>

#include <cstdint>

namespace qv {

inline constexpr char kSysButtonClass[] = "QVSysButton";
inline constexpr char kKnobButtonClass[] = "QVKnobButton";
inline constexpr char kHangerButtonClass[] = "QVHangerButton";
inline constexpr char kStaticButtonClass[] = "QVStaticButton";

// WM_COMMAND notification codes of the bar's buttons: a left click is the
// system's BN_CLICKED (STN_CLICKED for the title, also 0).
inline constexpr WORD kRightClick = 0x7F02;

// Sent to a knob's parent while it is dragged: wParam the knob's control id,
// lParam the x (parent client) where its left edge would go.
inline constexpr UINT kKnobDragMessage = WM_APP + 1;

// Sent to a hanger button's parent when a drag of it ends: wParam the
// button's control id. A press and release that hardly moved is a click
// (BN_CLICKED) instead.
inline constexpr UINT kHangerDropMessage = WM_APP + 4;

// Registers the four classes for this module; false when one failed.
bool RegisterBarButtonClasses(HINSTANCE instance);
void UnregisterBarButtonClasses(HINSTANCE instance);

// A desktop button of another desktop, owner-drawn in that desktop's colour
// with its number; pressed, in the inverted colour.
void DrawDesktopButton(const DRAWITEMSTRUCT& item, uint32_t color);

}  // namespace qv

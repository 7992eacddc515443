#pragma once
// One desktop's window in the viewer: a picture of the desktop, either the
// daemon's snapshot (or, for the viewer's own desktop, a copy of the screen)
// or a schematic of its windows, on a button that opens the task dialog.

#include <windows.h>

#include <functional>

#include "DesktopWindows.h"
#include "GdiObject.h"
#include "Handle.h"
#include "ViewerRules.h"
#include "WindowBase.h"

namespace qv::viewer {

struct ViewerContext;

class DesktopView : public Window {
public:
    DesktopView(ViewerContext& context, DesktopEntry& desktop) : m_context(context), m_desktop(desktop) {}

    static bool RegisterClass(HINSTANCE instance);
    // The window in the frame's MDI client, at this place and size; it asks
    // for its desktop at once. False when it could not be made.
    bool Open(HWND client, int x, int y, int width, int height);

    DesktopEntry& Desktop() const { return m_desktop; }
    bool HasBitmap() const { return m_bitmap.Valid(); }
    bool ShowsBitmap() const { return m_showBitmap; }
    bool KeepsAspect() const { return m_keepAspect; }

    // The commands of a desktop window, from its menu or the tool bar.
    void OnCommand(WORD id);

    // Called once the window is gone, before the object may be destroyed.
    std::function<void(DesktopView&)> onClosed;

protected:
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
    void OnDestroyed() override;

private:
    void Refresh();
    void Draw();
    // The window's size for a client area of the picture's source.
    Size OriginalFrame() const;
    void OriginalSize();
    void SwitchAndEnd();
    void TaskSwitch();
    Size SourceSize(bool bitmap) const;

    ViewerContext& m_context;
    DesktopEntry& m_desktop;
    UniqueBitmap m_bitmap;   // the snapshot or the screen copy
    UniqueBitmap m_picture;  // what the button shows
    UniqueGdi<HBRUSH> m_brush;
    UniqueGdi<HPEN> m_pen;
    HWND m_button = nullptr;
    bool m_keepAspect = false;
    bool m_showBitmap = false;
};

}  // namespace qv::viewer

#include "BarButtons.h"

#include "GdiObject.h"
#include "HangerRules.h"

namespace qv {

namespace {

// The system procedures behind the classes; set once before any button is
// made, read by every bar thread.
WNDPROC g_buttonProcedure = nullptr;
WNDPROC g_staticProcedure = nullptr;

void TellParent(HWND button, WORD code) {
    SendMessageA(GetParent(button), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(button), code),
                 reinterpret_cast<LPARAM>(button));
}

LRESULT CALLBACK ButtonProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_RBUTTONUP) {
        if (IsWindowEnabled(window)) TellParent(window, kRightClick);
        return 0;
    }
    return CallWindowProcA(g_buttonProcedure, window, message, wParam, lParam);
}

LRESULT CALLBACK StaticProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_RBUTTONUP) {
        TellParent(window, kRightClick);
        return 0;
    }
    return CallWindowProcA(g_staticProcedure, window, message, wParam, lParam);
}

// The knob follows the mouse while its left button is down: where the mouse
// went, less where it was taken, is where the knob's left edge goes.
LRESULT CALLBACK KnobProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_LBUTTONDOWN:
        SetWindowLongPtrA(window, GWLP_USERDATA, static_cast<LONG_PTR>(static_cast<short>(LOWORD(lParam))) + 1);
        SetCapture(window);
        return 0;
    case WM_MOUSEMOVE:
        if (GetCapture() == window) {
            const LONG_PTR grip = GetWindowLongPtrA(window, GWLP_USERDATA) - 1;
            POINT at = {static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
            MapWindowPoints(window, GetParent(window), &at, 1);
            SendMessageA(GetParent(window), kKnobDragMessage, GetDlgCtrlID(window), at.x - grip);
        }
        return 0;
    case WM_LBUTTONUP:
        if (GetCapture() == window) ReleaseCapture();
        return 0;
    case WM_RBUTTONUP:
        TellParent(window, kRightClick);
        return 0;
    }
    return CallWindowProcA(g_buttonProcedure, window, message, wParam, lParam);
}

// A hanger button follows the mouse once it moved beyond the click's
// jitter; one drag at a time per thread.
struct HangerPress {
    HWND button = nullptr;
    POINT start = {};   // the cursor at the press, screen
    POINT origin = {};  // the button's place then, parent client
    bool dragging = false;
};
thread_local HangerPress t_press;

LRESULT CALLBACK HangerProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_LBUTTONDOWN: {
        RECT at = {};
        GetWindowRect(window, &at);
        MapWindowPoints(nullptr, GetParent(window), reinterpret_cast<POINT*>(&at), 2);
        t_press = HangerPress{window, {}, POINT{at.left, at.top}, false};
        GetCursorPos(&t_press.start);
        SetCapture(window);
        return 0;
    }
    case WM_MOUSEMOVE:
        if (GetCapture() == window && t_press.button == window) {
            POINT now = {};
            GetCursorPos(&now);
            const int dx = now.x - t_press.start.x, dy = now.y - t_press.start.y;
            if (t_press.dragging || !IsHangerClick(dx, dy)) {
                t_press.dragging = true;
                SetWindowPos(window, HWND_TOP, t_press.origin.x + dx, t_press.origin.y + dy, 0, 0,
                             SWP_NOSIZE | SWP_NOACTIVATE);
            }
        }
        return 0;
    case WM_LBUTTONUP: {
        if (t_press.button != window) return 0;
        const bool dragged = t_press.dragging;
        t_press = HangerPress{};
        if (GetCapture() == window) ReleaseCapture();
        if (dragged)
            SendMessageA(GetParent(window), kHangerDropMessage, GetDlgCtrlID(window), 0);
        else
            TellParent(window, BN_CLICKED);
        return 0;
    }
    case WM_RBUTTONUP:
        TellParent(window, kRightClick);
        return 0;
    }
    return CallWindowProcA(g_buttonProcedure, window, message, wParam, lParam);
}

bool RegisterFrom(HINSTANCE instance, const char* systemClass, const char* name, WNDPROC procedure,
                  WNDPROC* systemProcedure) {
    WNDCLASSEXA wc = {};
    wc.cbSize = sizeof(wc);
    if (!GetClassInfoExA(nullptr, systemClass, &wc)) return false;
    *systemProcedure = wc.lpfnWndProc;
    wc.hInstance = instance;
    wc.lpszClassName = name;
    wc.lpfnWndProc = procedure;
    wc.style &= ~CS_GLOBALCLASS;
    return RegisterClassExA(&wc) != 0 || GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
}

}  // namespace

bool RegisterBarButtonClasses(HINSTANCE instance) {
    return RegisterFrom(instance, "BUTTON", kSysButtonClass, ButtonProcedure, &g_buttonProcedure) &&
           RegisterFrom(instance, "BUTTON", kHangerButtonClass, HangerProcedure, &g_buttonProcedure) &&
           RegisterFrom(instance, "BUTTON", kKnobButtonClass, KnobProcedure, &g_buttonProcedure) &&
           RegisterFrom(instance, "STATIC", kStaticButtonClass, StaticProcedure, &g_staticProcedure);
}

void UnregisterBarButtonClasses(HINSTANCE instance) {
    for (const char* name : {kSysButtonClass, kHangerButtonClass, kKnobButtonClass, kStaticButtonClass})
        UnregisterClassA(name, instance);
}

void DrawDesktopButton(const DRAWITEMSTRUCT& item, uint32_t color) {
    const bool pressed = (item.itemState & ODS_SELECTED) != 0;
    const COLORREF face = pressed ? (color ^ 0xFFFFFF) : color;
    const COLORREF text = pressed ? color : GetSysColor(COLOR_BTNTEXT);
    HDC dc = item.hDC;
    RECT rect = item.rcItem;

    UniqueGdi<HBRUSH> frame(CreateSolidBrush(GetSysColor(COLOR_BTNTEXT)));
    FrameRect(dc, &rect, frame.Get());
    InflateRect(&rect, -1, -1);
    UniqueGdi<HBRUSH> fill(CreateSolidBrush(face));
    FillRect(dc, &rect, fill.Get());
    DrawEdge(dc, &rect, pressed ? EDGE_SUNKEN : EDGE_RAISED, BF_RECT);

    char caption[16] = {};
    GetWindowTextA(item.hwndItem, caption, sizeof(caption));
    const int oldMode = SetBkMode(dc, TRANSPARENT);
    const COLORREF oldColor = SetTextColor(dc, text);
    DrawTextA(dc, caption, -1, &rect, DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
    SetTextColor(dc, oldColor);
    SetBkMode(dc, oldMode);
}

}  // namespace qv

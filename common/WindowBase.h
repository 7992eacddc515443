#pragma once
// One window procedure and one dialog procedure for every window of the
// suite's programs. The object behind a window is stored with it from its
// first message (WM_NCCREATE, or WM_INITDIALOG for a dialog) and taken away
// at its last (WM_NCDESTROY), so a handler never runs for a window that is
// gone or for an object that is. Windows are non-owning views of their HWND:
// the object lives at least as long as its window.

#include <windows.h>

namespace qv {

class Window {
public:
    Window() = default;
    Window(const Window&) = delete;
    Window& operator=(const Window&) = delete;
    // Destroys the window if it is still there.
    virtual ~Window();

    // A class whose windows are served by Window objects: wc's procedure is
    // set here. False when it could not be registered (and was not before).
    static bool Register(WNDCLASSEXA wc);
    // The object of a window made through Create, or null.
    static Window* FromHandle(HWND window);

    // CreateWindowEx for this object; null on failure.
    HWND Create(DWORD exStyle, const char* className, const char* title, DWORD style, int x, int y, int width,
                int height, HWND parent, HMENU menu, HINSTANCE instance);
    // An MDI child window of this object in the MDI client (WM_MDICREATE);
    // its procedure must end in DefMDIChildProc. Null on failure.
    HWND CreateMdiChild(HWND client, const char* className, const char* title, DWORD style, int x, int y, int width,
                        int height, HINSTANCE instance);
    HWND Handle() const { return m_hWnd; }

protected:
    // Every message from WM_NCCREATE to WM_NCDESTROY; what is not handled
    // goes to DefWindowProc.
    virtual LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);
    // After WM_NCDESTROY: Handle() is null again.
    virtual void OnDestroyed() {}

private:
    static LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    HWND m_hWnd = nullptr;
};

class Dialog {
public:
    Dialog() = default;
    Dialog(const Dialog&) = delete;
    Dialog& operator=(const Dialog&) = delete;
    virtual ~Dialog();

    // A modal dialog of the resource; its result, or -1 when it could not be
    // shown.
    INT_PTR DoModal(HINSTANCE instance, int resource, HWND owner);
    // A modeless one; null on failure. It ends with End() or its window.
    HWND CreateModeless(HINSTANCE instance, int resource, HWND owner);
    HWND Handle() const { return m_hWnd; }

protected:
    // WM_INITDIALOG: TRUE lets the system set the focus.
    virtual BOOL OnInit() { return TRUE; }
    // WM_COMMAND: OK and Cancel end the dialog with their ids unless a
    // subclass handles them first. TRUE when handled.
    virtual BOOL OnCommand(WORD id, WORD code, HWND control);
    // Any other message: TRUE when handled (and the result, if any, set with
    // SetWindowLongPtr DWLP_MSGRESULT), as a dialog procedure answers.
    virtual BOOL HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);
    // Ends a modal dialog with its result, or destroys a modeless one.
    void End(INT_PTR result);
    // Moves the dialog to the middle of the screen, its size and Z order kept.
    void CentreOnScreen();

private:
    static INT_PTR CALLBACK Procedure(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
    HWND m_hWnd = nullptr;
    bool m_bModal = false;
};

}  // namespace qv

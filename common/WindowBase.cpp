#include "WindowBase.h"

namespace qv {

Window::~Window() {
    if (m_hWnd) DestroyWindow(m_hWnd);
}

bool Window::Register(WNDCLASSEXA wc) {
    wc.cbSize = sizeof(wc);
    wc.lpfnWndProc = Procedure;
    return RegisterClassExA(&wc) != 0 || GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
}

Window* Window::FromHandle(HWND window) {
    return reinterpret_cast<Window*>(GetWindowLongPtrA(window, GWLP_USERDATA));
}

HWND Window::Create(DWORD exStyle, const char* className, const char* title, DWORD style, int x, int y, int width,
                    int height, HWND parent, HMENU menu, HINSTANCE instance) {
    return CreateWindowExA(exStyle, className, title, style, x, y, width, height, parent, menu, instance, this);
}

HWND Window::CreateMdiChild(HWND client, const char* className, const char* title, DWORD style, int x, int y,
                            int width, int height, HINSTANCE instance) {
    MDICREATESTRUCTA create{};
    create.szClass = className;
    create.szTitle = title;
    create.hOwner = instance;
    create.x = x;
    create.y = y;
    create.cx = width;
    create.cy = height;
    create.style = style;
    create.lParam = reinterpret_cast<LPARAM>(this);
    return reinterpret_cast<HWND>(SendMessageA(client, WM_MDICREATE, 0, reinterpret_cast<LPARAM>(&create)));
}

LRESULT Window::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    return DefWindowProcA(m_hWnd, message, wParam, lParam);
}

LRESULT CALLBACK Window::Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    Window* self = FromHandle(window);
    if (message == WM_NCCREATE) {
        const auto* create = reinterpret_cast<CREATESTRUCTA*>(lParam);
        // An MDI child gets its creation data wrapped by the MDI client.
        self = (create->dwExStyle & WS_EX_MDICHILD)
                   ? reinterpret_cast<Window*>(static_cast<MDICREATESTRUCTA*>(create->lpCreateParams)->lParam)
                   : static_cast<Window*>(create->lpCreateParams);
        if (self) {
            self->m_hWnd = window;
            SetWindowLongPtrA(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
        }
    }
    if (!self) return DefWindowProcA(window, message, wParam, lParam);
    LRESULT result = self->HandleMessage(message, wParam, lParam);
    if (message == WM_NCDESTROY) {
        SetWindowLongPtrA(window, GWLP_USERDATA, 0);
        self->m_hWnd = nullptr;
        self->OnDestroyed();
    }
    return result;
}

Dialog::~Dialog() {
    if (m_hWnd && !m_bModal) DestroyWindow(m_hWnd);
}

INT_PTR Dialog::DoModal(HINSTANCE instance, int resource, HWND owner) {
    m_bModal = true;
    return DialogBoxParamA(instance, MAKEINTRESOURCEA(resource), owner, Procedure, reinterpret_cast<LPARAM>(this));
}

HWND Dialog::CreateModeless(HINSTANCE instance, int resource, HWND owner) {
    m_bModal = false;
    return CreateDialogParamA(instance, MAKEINTRESOURCEA(resource), owner, Procedure, reinterpret_cast<LPARAM>(this));
}

BOOL Dialog::OnCommand(WORD id, WORD, HWND) {
    if (id != IDOK && id != IDCANCEL) return FALSE;
    End(id);
    return TRUE;
}

BOOL Dialog::HandleMessage(UINT, WPARAM, LPARAM) { return FALSE; }

void Dialog::End(INT_PTR result) {
    if (!m_hWnd) return;
    if (m_bModal)
        EndDialog(m_hWnd, result);
    else
        DestroyWindow(m_hWnd);
}

void Dialog::CentreOnScreen() {
    RECT rect = {};
    GetWindowRect(m_hWnd, &rect);
    SetWindowPos(m_hWnd, nullptr, (GetSystemMetrics(SM_CXSCREEN) - (rect.right - rect.left)) / 2,
                 (GetSystemMetrics(SM_CYSCREEN) - (rect.bottom - rect.top)) / 2, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
}

INT_PTR CALLBACK Dialog::Procedure(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* self = reinterpret_cast<Dialog*>(GetWindowLongPtrA(dialog, DWLP_USER));
    if (message == WM_INITDIALOG) {
        self = reinterpret_cast<Dialog*>(lParam);
        if (!self) return TRUE;
        self->m_hWnd = dialog;
        SetWindowLongPtrA(dialog, DWLP_USER, reinterpret_cast<LONG_PTR>(self));
        return self->OnInit();
    }
    if (!self) return FALSE;
    BOOL handled = message == WM_COMMAND ? self->OnCommand(LOWORD(wParam), HIWORD(wParam), reinterpret_cast<HWND>(lParam))
                                         : self->HandleMessage(message, wParam, lParam);
    if (message == WM_NCDESTROY) {
        SetWindowLongPtrA(dialog, DWLP_USER, 0);
        self->m_hWnd = nullptr;
    }
    return handled;
}

}  // namespace qv

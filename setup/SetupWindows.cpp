#include "SetupWindows.h"

#include <cmath>
#include <cstdio>

#include "GdiObject.h"
#include "SetupCommonRes.h"

namespace qvsetup {

namespace {

constexpr char kSplashClass[] = "QuorvelSetupSplash";
constexpr int kSplashSize = 260;
constexpr BYTE kSplashAlpha = 180;
constexpr COLORREF kFace = RGB(0xF4, 0xF0, 0xE0);
constexpr COLORREF kDone = RGB(0x40, 0x90, 0xD0);

using SetLayeredAttributes = BOOL(WINAPI*)(HWND, COLORREF, BYTE, DWORD);

// Layered windows are missing on old systems: looked up, not imported.
void MakeTranslucent(HWND window) {
    HMODULE user = GetModuleHandleA("user32.dll");
    auto set = user ? reinterpret_cast<SetLayeredAttributes>(
                          reinterpret_cast<void*>(GetProcAddress(user, "SetLayeredWindowAttributes")))
                    : nullptr;
    if (!set) return;
    SetWindowLongPtrA(window, GWL_EXSTYLE, GetWindowLongPtrA(window, GWL_EXSTYLE) | WS_EX_LAYERED);
    set(window, 0, kSplashAlpha, LWA_ALPHA);
}

class TextWindow : public qv::Dialog {
public:
    TextWindow(const char* title, const std::string& text) : m_title(title), m_text(text) {}

protected:
    BOOL OnInit() override {
        SetWindowTextA(Handle(), m_title);
        SetDlgItemTextA(Handle(), IDC_ST_TEXT, m_text.c_str());
        CentreOnScreen();
        return TRUE;
    }

private:
    const char* m_title;
    const std::string& m_text;
};

}  // namespace

bool SplashWindow::Open(HINSTANCE instance, const char* title, const std::string& text) {
    WNDCLASSEXA wc{};
    wc.cbSize = sizeof wc;
    wc.hInstance = instance;
    wc.lpszClassName = kSplashClass;
    wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
    wc.hIcon = LoadIconA(instance, MAKEINTRESOURCEA(IDI_SETUP));
    if (!Register(wc)) return false;
    m_text = text;
    const int captionHeight = GetSystemMetrics(SM_CYCAPTION) + GetSystemMetrics(SM_CYFIXEDFRAME);
    const int width = kSplashSize;
    const int height = kSplashSize + captionHeight;
    // In the upper left corner: the dialogs it stands behind come up in the
    // middle of the screen.
    const int x = 16;
    const int y = 16;
    if (!Create(0, kSplashClass, title, WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX, x, y, width, height,
                nullptr, nullptr, instance))
        return false;
    // A round face under a caption bar that stays whole for the minimize button.
    qv::UniqueGdi<HRGN> round(CreateEllipticRgn(0, captionHeight, width, height));
    qv::UniqueGdi<HRGN> caption(CreateRectRgn(0, 0, width, captionHeight));
    qv::UniqueGdi<HRGN> shape(CreateRectRgn(0, 0, 0, 0));
    if (round && caption && shape && CombineRgn(shape.Get(), round.Get(), caption.Get(), RGN_OR) != ERROR &&
        SetWindowRgn(Handle(), shape.Get(), FALSE))
        shape.Release();  // the window owns it once set
    MakeTranslucent(Handle());
    ShowWindow(Handle(), SW_SHOWNOACTIVATE);
    UpdateWindow(Handle());
    return true;
}

void SplashWindow::Progress(int percent) {
    m_percent = percent < 0 ? 0 : percent > 100 ? 100 : percent;
    if (Handle()) {
        InvalidateRect(Handle(), nullptr, TRUE);
        UpdateWindow(Handle());
    }
}

LRESULT SplashWindow::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_PAINT: {
        PAINTSTRUCT paint;
        HDC dc = BeginPaint(Handle(), &paint);
        Paint(dc);
        EndPaint(Handle(), &paint);
        return 0;
    }
    case WM_CLOSE: return 0;  // it goes with its program, not before
    default: return Window::HandleMessage(message, wParam, lParam);
    }
}

void SplashWindow::Paint(HDC dc) {
    RECT client;
    GetClientRect(Handle(), &client);
    qv::UniqueGdi<HBRUSH> face(CreateSolidBrush(kFace));
    FillRect(dc, &client, face.Get());
    const int size = client.right < client.bottom ? client.right : client.bottom;
    const int left = (client.right - size) / 2;
    const int top = client.bottom - size;
    const int inset = size / 6;
    const RECT pie{left + inset, top + inset, left + size - inset, top + size - inset};
    if (m_percent > 0) {
        qv::UniqueGdi<HBRUSH> done(CreateSolidBrush(kDone));
        qv::Selection brush(dc, done.Get());
        const int cx = (pie.left + pie.right) / 2;
        const int cy = (pie.top + pie.bottom) / 2;
        if (m_percent >= 100) {
            Ellipse(dc, pie.left, pie.top, pie.right, pie.bottom);
        } else {
            // Clockwise from twelve o'clock: Pie runs counter-clockwise, so
            // from the end point back to the top.
            const double angle = 6.283185307179586 * m_percent / 100.0;
            const int r = (pie.right - pie.left) / 2;
            const int ex = cx + static_cast<int>(r * std::sin(angle));
            const int ey = cy - static_cast<int>(r * std::cos(angle));
            Pie(dc, pie.left, pie.top, pie.right, pie.bottom, ex, ey, cx, pie.top);
        }
    }
    SetBkMode(dc, TRANSPARENT);
    RECT text{left + 8, top + size / 3, left + size - 8, top + size - size / 6};
    DrawTextA(dc, m_text.c_str(), -1, &text, DT_CENTER | DT_WORDBREAK | DT_NOPREFIX);
}

void ShowTextWindow(HINSTANCE instance, HWND owner, const char* title, const std::string& text) {
    TextWindow window(title, text);
    window.DoModal(instance, IDD_SETUP_TEXT, owner);
}

bool ReadTextFile(const std::string& path, std::string* text) {
    text->clear();
    FILE* file = std::fopen(path.c_str(), "rb");
    if (!file) return false;
    char buffer[4096];
    size_t got;
    std::string raw;
    while ((got = std::fread(buffer, 1, sizeof buffer, file)) > 0) raw.append(buffer, got);
    const bool read = !std::ferror(file);
    std::fclose(file);
    // An edit control breaks lines at "\r\n" only.
    for (size_t i = 0; i < raw.size(); ++i) {
        if (raw[i] == '\n' && (i == 0 || raw[i - 1] != '\r')) *text += '\r';
        *text += raw[i];
    }
    return read;
}

}  // namespace qvsetup

#include "DesktopView.h"

#include "MainFrame.h"
#include "PipeClient.h"
#include "QVViewerRes.h"
#include "Viewer.h"
#include "ViewerDialogs.h"

namespace qv::viewer {

namespace {

inline constexpr char kClassName[] = "QVViewer:Desktop";
// Snapshots come from daemons of this version on.
inline constexpr uint32_t kSnapshotVersion = 0x200;

// A copy of the whole screen, as the viewer's own desktop shows it now.
UniqueBitmap CopyScreen() {
    RECT screen;
    GetWindowRect(GetDesktopWindow(), &screen);
    const int width = screen.right - screen.left;
    const int height = screen.bottom - screen.top;
    WindowDC display(nullptr);
    UniqueBitmap copy(CreateCompatibleBitmap(display.Get(), width, height));
    MemoryDC memory(display.Get());
    if (!copy || !memory.Get()) return UniqueBitmap();
    Selection into(memory.Get(), copy.Get());
    BitBlt(memory.Get(), 0, 0, width, height, display.Get(), screen.left, screen.top, SRCCOPY);
    return copy;
}

Size BitmapSize(HBITMAP bitmap) {
    BITMAP info{};
    if (!bitmap || !GetObjectA(bitmap, sizeof info, &info)) return Size{};
    return Size{info.bmWidth, info.bmHeight};
}

}  // namespace

bool DesktopView::RegisterClass(HINSTANCE instance) {
    WNDCLASSEXA wc{};
    wc.hInstance = instance;
    wc.hIcon = LoadIconA(instance, MAKEINTRESOURCEA(IDR_QVVIEWTYPE));
    wc.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    wc.lpszClassName = kClassName;
    return Window::Register(wc);
}

bool DesktopView::Open(HWND client, int x, int y, int width, int height) {
    if (!CreateMdiChild(client, kClassName, m_desktop.title.c_str(), WS_OVERLAPPEDWINDOW | WS_VISIBLE, x, y, width,
                        height, m_context.instance))
        return false;
    Refresh();
    m_showBitmap = &m_desktop == m_context.home ||
                   (m_context.list->Version() >= kSnapshotVersion && HasBitmap());
    m_brush.Reset(CreateSolidBrush(kSchematicColour));
    m_pen.Reset(CreatePen(PS_SOLID, 0, RGB(0, 0, 0)));
    m_button = CreateWindowExA(0, "BUTTON", m_desktop.id.c_str(), WS_CHILD | BS_BITMAP | BS_CENTER | BS_VCENTER, 0,
                               0, 0, 0, Handle(), reinterpret_cast<HMENU>(ID_VW_TASKSWITCH), m_context.instance,
                               nullptr);
    Draw();
    ShowWindow(m_button, SW_SHOW);
    return true;
}

void DesktopView::Refresh() {
    m_bitmap.Reset();
    m_context.list->Enumerate(m_desktop);
    if (&m_desktop == m_context.home) {
        m_bitmap = CopyScreen();
    } else if (m_context.list->Version() >= kSnapshotVersion) {
        // Asked from a worker on that desktop; each of its waits is bounded,
        // so this thread's wait for it is too.
        ScreenSnapshot snapshot;
        const QueryResult result = PipeClient(m_desktop.id).AskBitmap(&snapshot);
        // A reply broken off inside the lines still shows what came.
        if (result == QueryResult::kOk || result == QueryResult::kCommunicationError)
            m_bitmap = std::move(snapshot.bitmap);
    }
}

Size DesktopView::SourceSize(bool bitmap) const {
    // A schematic places the windows by their screen coordinates, whatever
    // the size the daemon keeps its snapshot at.
    return bitmap ? BitmapSize(m_bitmap.Get()) : Size{m_desktop.width, m_desktop.height};
}

void DesktopView::Draw() {
    if (!m_button) return;
    RECT client;
    GetClientRect(Handle(), &client);
    const bool bitmap = m_showBitmap && HasBitmap();
    const PictureScale scale = ScalePicture(Size{client.right, client.bottom}, SourceSize(bitmap), m_keepAspect);
    const Size size = scale.size;
    if (size.width <= 0 || size.height <= 0) return;
    MoveWindow(m_button, 0, 0, size.width, size.height, TRUE);

    UniqueBitmap picture;
    if (bitmap) {
        picture.Reset(static_cast<HBITMAP>(CopyImage(m_bitmap.Get(), IMAGE_BITMAP, size.width, size.height, 0)));
    } else {
        WindowDC display(nullptr);
        picture.Reset(CreateCompatibleBitmap(display.Get(), size.width, size.height));
        MemoryDC memory(display.Get());
        if (picture && memory.Get()) {
            Selection into(memory.Get(), picture.Get());
            const RECT all{0, 0, size.width, size.height};
            FillRect(memory.Get(), &all, GetSysColorBrush(COLOR_BACKGROUND));
            Selection brush(memory.Get(), m_brush.Get());
            Selection pen(memory.Get(), m_pen.Get());
            // Later windows over earlier ones, as the list has them.
            for (const WindowEntry& window : m_desktop.windows) {
                const Box box = ScaleBox(
                    Box{window.normal.left, window.normal.top, window.normal.right, window.normal.bottom}, scale);
                Rectangle(memory.Get(), box.left, box.top, box.right, box.bottom);
            }
        }
    }
    if (!picture) return;
    SendMessageA(m_button, BM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(picture.Get()));
    // The button shows the new picture now: the old one may go.
    m_picture = std::move(picture);
}

Size DesktopView::OriginalFrame() const {
    const Size size = SourceSize(HasBitmap());
    if (size.width <= 0 || size.height <= 0) return Size{};
    RECT frame{0, 0, size.width, size.height};
    AdjustWindowRectEx(&frame, static_cast<DWORD>(GetWindowLongPtrA(Handle(), GWL_STYLE)), FALSE,
                       static_cast<DWORD>(GetWindowLongPtrA(Handle(), GWL_EXSTYLE)));
    return Size{frame.right - frame.left, frame.bottom - frame.top};
}

void DesktopView::OriginalSize() {
    const Size frame = OriginalFrame();
    if (frame.width <= 0 || frame.height <= 0) return;
    SetWindowPos(Handle(), nullptr, 0, 0, frame.width, frame.height, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void DesktopView::SwitchAndEnd() {
    m_context.list->SwitchTo(m_desktop);
    PostMessageA(m_context.frame->Handle(), WM_CLOSE, 0, 0);
}

void DesktopView::TaskSwitch() {
    TaskDialog dialog(*m_context.list, m_desktop);
    if (dialog.DoModal(m_context.instance, IDD_VW_TASKSWITCH, m_context.frame->Handle()) != IDOK ||
        !dialog.ChosenWindow())
        return;
    m_context.list->Activate(*dialog.ChosenWindow(), dialog.Maximize());
    PostMessageA(m_context.frame->Handle(), WM_CLOSE, 0, 0);
}

void DesktopView::OnCommand(WORD id) {
    switch (id) {
    case ID_VW_SWITCH_AND_END:
        SwitchAndEnd();
        break;
    case ID_VW_TASKSWITCH:
        TaskSwitch();
        break;
    case ID_VW_ORIGINAL_SIZE:
        OriginalSize();
        break;
    case ID_VW_SHOW_BITMAP:
        if (!HasBitmap()) break;
        m_showBitmap = !m_showBitmap;
        Draw();
        break;
    case ID_VW_KEEP_ASPECT:
        m_keepAspect = !m_keepAspect;
        Draw();
        break;
    case ID_VW_REFRESH:
        Refresh();
        if (!HasBitmap()) m_showBitmap = false;
        Draw();
        break;
    default:
        break;
    }
}

LRESULT DesktopView::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_COMMAND:
        if (reinterpret_cast<HWND>(lParam) == m_button && HIWORD(wParam) == BN_CLICKED) {
            TaskSwitch();
            return 0;
        }
        break;
    case WM_SIZE:
        Draw();
        break;  // the MDI child's own handling too
    case WM_GETMINMAXINFO: {
        // The system caps a window at the screen plus its borders, which
        // leaves no room for the caption of a window whose client area is
        // the whole screen: the original size may be that large.
        const LRESULT result = DefMDIChildProcA(Handle(), message, wParam, lParam);
        auto* limits = reinterpret_cast<MINMAXINFO*>(lParam);
        const Size frame = OriginalFrame();
        if (limits->ptMaxTrackSize.x < frame.width) limits->ptMaxTrackSize.x = frame.width;
        if (limits->ptMaxTrackSize.y < frame.height) limits->ptMaxTrackSize.y = frame.height;
        return result;
    }
    case WM_MDIACTIVATE:
        if (reinterpret_cast<HWND>(lParam) == Handle()) m_context.frame->ShowChildMenu();
        return 0;
    default:
        break;
    }
    return DefMDIChildProcA(Handle(), message, wParam, lParam);
}

void DesktopView::OnDestroyed() {
    // The call may destroy this object: the function is kept apart from it.
    const std::function<void(DesktopView&)> closed = std::move(onClosed);
    if (closed) closed(*this);
}

}  // namespace qv::viewer

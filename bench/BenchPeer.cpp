// The bare peer of the pipe figures: the daemon's reply bytes moved with
// nothing around them, as fast as a pipe moves them. Its hidden window takes
// the request message as the daemon's thread window does; wParam picks the
// reply file given on the command line, lParam the size of each write (0:
// the whole reply in one), so that the bench can find the fastest way and
// measure the daemon against that. Each file holds the reply's pieces one
// after another, each a 32-bit length and its bytes.

#include <windows.h>

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "Handle.h"
#include "Protocol.h"

namespace {

constexpr char kPeerClass[] = "QVBenchPeer";

std::vector<std::string> g_replies;

// The reply's bytes, its pieces joined.
std::string ReadReply(const char* path) {
    std::string reply;
    FILE* file = std::fopen(path, "rb");
    if (!file) return reply;
    uint32_t length = 0;
    while (std::fread(&length, sizeof(length), 1, file) == 1) {
        std::string piece(length, '\0');
        if (std::fread(piece.data(), 1, length, file) != length) break;
        reply += piece;
    }
    std::fclose(file);
    return reply;
}

void Answer(const std::string& reply, size_t writeSize) {
    if (!WaitNamedPipeA(qv::kQueryPipeName, 10000)) return;
    qv::UniqueHandle pipe(CreateFileA(qv::kQueryPipeName, GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr));
    if (!pipe) return;
    const size_t step = writeSize ? writeSize : reply.size();
    for (size_t at = 0; at < reply.size(); at += step) {
        const size_t count = reply.size() - at < step ? reply.size() - at : step;
        DWORD written = 0;
        if (!WriteFile(pipe.Get(), reply.data() + at, static_cast<DWORD>(count), &written, nullptr)) return;
    }
}

LRESULT CALLBACK PeerProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == qv::kRequestMessage) {
        if (wParam < g_replies.size()) Answer(g_replies[wParam], static_cast<size_t>(lParam));
        return 1;
    }
    if (message == WM_DESTROY) {
        PostQuitMessage(0);
        return 0;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
    for (int i = 1; i < __argc; ++i) g_replies.push_back(ReadReply(__argv[i]));
    WNDCLASSA windowClass = {};
    windowClass.lpfnWndProc = PeerProc;
    windowClass.hInstance = instance;
    windowClass.lpszClassName = kPeerClass;
    if (!RegisterClassA(&windowClass)) return 1;
    if (!CreateWindowExA(WS_EX_TOOLWINDOW, kPeerClass, kPeerClass, WS_POPUP | WS_DISABLED, 0, 0, 0, 0, nullptr, nullptr,
                         instance, nullptr))
        return 1;
    MSG message;
    while (GetMessageA(&message, nullptr, 0, 0) > 0) DispatchMessageA(&message);
    return 0;
}

// The bare peer of the pipe figures: the same bytes as the daemon's reply,
// written in the same pieces, with nothing else around them. Its hidden
// window takes the request message as the daemon's thread window does;
// wParam picks the reply file given on the command line. Each file holds the
// pieces one after another, each a 32-bit length and its bytes.

#include <windows.h>

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "Handle.h"
#include "Protocol.h"

namespace {

constexpr char kPeerClass[] = "QVBenchPeer";

std::vector<std::vector<std::string>> g_replies;

std::vector<std::string> ReadPieces(const char* path) {
    std::vector<std::string> pieces;
    FILE* file = std::fopen(path, "rb");
    if (!file) return pieces;
    uint32_t length = 0;
    while (std::fread(&length, sizeof(length), 1, file) == 1) {
        std::string piece(length, '\0');
        if (std::fread(piece.data(), 1, length, file) != length) break;
        pieces.push_back(std::move(piece));
    }
    std::fclose(file);
    return pieces;
}

void Answer(const std::vector<std::string>& pieces) {
    if (!WaitNamedPipeA(qv::kQueryPipeName, 10000)) return;
    qv::UniqueHandle pipe(CreateFileA(qv::kQueryPipeName, GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr));
    if (!pipe) return;
    for (const std::string& piece : pieces) {
        DWORD written = 0;
        if (!WriteFile(pipe.Get(), piece.data(), static_cast<DWORD>(piece.size()), &written, nullptr)) return;
    }
}

LRESULT CALLBACK PeerProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == qv::kRequestMessage) {
        if (wParam < g_replies.size()) Answer(g_replies[wParam]);
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
    for (int i = 1; i < __argc; ++i) g_replies.push_back(ReadPieces(__argv[i]));
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

#include "SystemError.h"

#include <windows.h>

namespace qv {

std::string SystemErrorText() {
    DWORD error = GetLastError();
    char* buffer = nullptr;
    DWORD length = FormatMessageA(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
                                  nullptr, error, MAKELANGID(LANG_NEUTRAL, SUBLANG_DEFAULT),
                                  reinterpret_cast<char*>(&buffer), 0, nullptr);
    std::string text(buffer ? buffer : "", length);
    if (buffer) LocalFree(buffer);
    while (!text.empty() && (text.back() == '\n' || text.back() == '\r' || text.back() == ' ')) text.pop_back();
    SetLastError(error);
    return text;
}

void ShowSystemError(int flag) {
    if ((flag & 0xFF) == 0) return;
    std::string text = SystemErrorText();
    MessageBoxA(nullptr, text.c_str(), "Error", MB_OK | MB_ICONINFORMATION);
}

}  // namespace qv

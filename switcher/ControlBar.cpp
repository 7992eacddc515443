// The control bar is a program of its own: the daemon starts it once its
// desktops are up and tells it to quit when it ends, and otherwise leaves it
// alone (it neither waits for it nor restarts it).

#include <string>

#include "Daemon.h"
#include "Launching.h"
#include "Log.h"
#include "PathText.h"
#include "SwitcherController.h"

namespace qv {

namespace {

constexpr char kBarProgram[] = "QVCtrlBar.exe";
constexpr char kBarParameters[] = "QVCtrlBar.ini";
constexpr UINT kBarQuitFromDaemon = 0;  // lParam of the end request: no question asked
constexpr DWORD kAfterBarStartMs = 200;

}  // namespace

void SwitcherController::StartControlBar() {
    char own[MAX_PATH + 1] = {};
    const DWORD length = GetModuleFileNameA(nullptr, own, MAX_PATH);
    if (length == 0 || length >= MAX_PATH) return;
    const std::string program = std::string(own, DirectoryLength(own)) + kBarProgram;
    if (!IsPlainFile(program.c_str(), kNotAProgramFile)) {
        MessageBoxA(nullptr, "制御ﾊﾞｰ 実行ﾓｼﾞｭｰﾙが見つかりません.", "Error", MB_OK);
        return;
    }
    // Beside the daemon's own parameter file, whatever the current folder.
    const char* parameters = m_strParamPath.c_str();
    const std::string quoted = "\"" + program + "\"";
    const std::string arguments =
        "-p \"" + std::string(parameters, DirectoryLength(parameters)) + kBarParameters + "\"";
    WriteLog("Exec(%s) %s\n", quoted.c_str(), arguments.c_str());
    RunProgram(GetDesktopWindow(), quoted.c_str(), arguments.c_str(), nullptr, nullptr, NORMAL_PRIORITY_CLASS);
    DrawLogo(Daemon().desktopCount - 1);
    Sleep(kAfterBarStartMs);
}

void SwitcherController::StopControlBar() {
    // Posted: the bar ends beside the closing of the desktops, whose threads
    // know its process by this window and spare it.
    if (HWND bar = FindWindowA(kBarThreadWindowClass, kBarWindowName)) {
        PostMessageA(bar, kRequestMessage, kBarEndRequest, kBarQuitFromDaemon);
        WriteLog("Sent QUIT to QVCtrlBar.\n");
    }
}

}  // namespace qv

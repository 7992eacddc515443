#include "StartUp.h"

#include <windows.h>

#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "CommandLine.h"
#include "Daemon.h"
#include "DaemonRequest.h"
#include "Launching.h"
#include "Log.h"
#include "ParameterFile.h"
#include "RunningInstance.h"
#include "SwitcherController.h"

namespace qv {

namespace {

constexpr char kDefaultParameterFile[] = "Quorvel.ini";
constexpr char kAlreadyRunning[] = "既に起動されています.";
// The running copy's main window only posts itself a close for the end
// request: one that takes longer than this is taken for hung.
constexpr DWORD kEndRequestTimeoutMs = 5000;

// The launching desktop's name: first a small buffer, then the size asked for.
bool LaunchingDesktopName(TextString& name) {
    HDESK desktop = GetThreadDesktop(GetCurrentThreadId());
    char small[16] = {};
    DWORD needed = 0;
    if (GetUserObjectInformationA(desktop, UOI_NAME, small, sizeof(small), &needed)) return name.Assign(small);
    if (needed == 0) return false;
    std::vector<char> buffer(needed + 1, '\0');
    if (!GetUserObjectInformationA(desktop, UOI_NAME, buffer.data(), needed, &needed)) return false;
    return name.Assign(buffer.data());
}

// Nothing has set this process's log yet, and the running copy may be
// writing to the same file: the line is appended to the file that the
// parameter file's header names, which is neither deleted nor restarted.
void LogBeforeStart(const std::string& parameterPath, const char* format, int value) {
    FILE* file = std::fopen(parameterPath.c_str(), "rt");
    if (!file) return;
    ParameterFileHeader header;
    ReadParameterFileHeader(file, header);
    std::fclose(file);
    if (header.LogWanted()) AppendToLogFile(header.logFileName.c_str(), format, value);
}

// -X: asks the running copy on this desktop to end. 0, or the exit code.
int EndRunningCopy(const std::string& parameterPath) {
    if (!FindDaemonWindow(DaemonWindow::kThread)) {
        ShowStartupBox("終了に失敗しました.");
        return kExitNoThreadWindow;
    }
    HWND main = FindDaemonWindow(DaemonWindow::kMain);
    if (!main) {
        ShowStartupBox("終了オプション -X はログオンしたﾃﾞｽｸﾄｯﾌﾟでしか使えません.");
        return kExitNoMainWindow;
    }
    // A copy that does not answer cannot be ended: this start gives way as
    // if -X had not been given.
    if (SendRequest(main, kEndDaemonRequest, 0, kEndRequestTimeoutMs).outcome == RequestOutcome::kNoAnswer) {
        LogBeforeStart(parameterPath, "Running Quorvel did not answer the end request within %d ms.\n",
                       static_cast<int>(kEndRequestTimeoutMs));
        ShowStartupBox(kAlreadyRunning);
        return kExitAlreadyRunning;
    }
    return 0;
}

// The parameter file could not be opened: the usage for a named file, the
// configurator (when it is here) for the default one.
void ReportUnreadable(const std::string& path) {
    if (path != kDefaultParameterFile) {
        ShowUsage((path + " が読めません.").c_str());
    } else if (IsPlainFile("QVConfig.exe", kNotAProgramFile)) {
        RunProgram(nullptr, "QVConfig.exe", nullptr, nullptr, nullptr, 0);
    } else {
        ShowStartupBox("設定が未定義です.ｺﾝﾌｫｸﾞﾚｰﾀで設定して下さい.");
    }
}

}  // namespace

void ShowUsage(const char* message) {
    if (message) ShowStartupBox(message);
    ShowStartupBox("Usage :\r\n\tQuorvel.exe [-p ﾊﾟﾗﾒｰﾀﾌｧｲﾙ] [-X] \r\n\t-X : 稼働中のQuorvelを終了してから起動します.\r\n"
                   "\t省略時は、 カレントの Quorvel.ini が読み込まれます.\r\n");
}

SwitcherController* StartUp(const char* commandLine, int* exitCode) {
    DaemonState& daemon = Daemon();
    OptionList options;
    if (ParseCommandLine(options, commandLine) < 0) {
        ShowUsage(nullptr);
        *exitCode = kExitSyntax;
        return nullptr;
    }
    char own[257] = {};
    DWORD length = GetModuleFileNameA(nullptr, own, 256);
    if (length == 0 || length >= 256) {
        ShowStartupBox("GetModuleFileName() エラーです.");
        *exitCode = kExitNormal;
        return nullptr;
    }
    std::string path = options.Value("-p");
    if (path.empty()) path = kDefaultParameterFile;
    if (FindRunningInstance(own)) {
        if (!options.Has("-X")) {
            ShowStartupBox(kAlreadyRunning);
            *exitCode = kExitAlreadyRunning;
            return nullptr;
        }
        if (int code = EndRunningCopy(path)) {
            *exitCode = code;
            return nullptr;
        }
    }
    std::unique_ptr<SwitcherController> controller(new (std::nothrow) SwitcherController);
    if (!controller) {
        ShowStartupBox("インスタンスの初期化に失敗しました.");
        *exitCode = kExitNoController;
        return nullptr;
    }
    daemon.controller = controller.get();
    controller->m_strSplash.Assign("Quorvel Ver2.0\r\n初期化中...");
    if (!LaunchingDesktopName(daemon.launchingDesktop)) ShowStartupBox("起動したデスクトップ名が獲得できません.");

    FILE* file = std::fopen(path.c_str(), "rt");
    if (!file) {
        ReportUnreadable(path);
        daemon.controller = nullptr;
        *exitCode = kExitCannotOpen;
        return nullptr;
    }
    ParameterFileHeader header;
    int read = ReadParameterFile(file, *controller, header);
    std::fclose(file);
    if (read < 0) {
        ShowStartupBox("パラメータファイルの書式が誤っています.");
        daemon.controller = nullptr;
        *exitCode = kExitMalformed;
        return nullptr;
    }
    controller->m_strParamPath.Assign(path.c_str());
    if (controller->CountChildren() == 0) {
        ShowStartupBox("デスクトップの定義がありません.");
        daemon.controller = nullptr;
        *exitCode = kExitNoDesktop;
        return nullptr;
    }
    if (controller->InitDesktops() < 0) {
        daemon.controller = nullptr;
        *exitCode = kExitDesktopInit;
        return nullptr;
    }
    if (controller->StartDesktopThreads() < 0) {
        controller->CloseAllThreads();
        daemon.controller = nullptr;
        *exitCode = kExitThreadStart;
        return nullptr;
    }
    return controller.release();
}

}  // namespace qv

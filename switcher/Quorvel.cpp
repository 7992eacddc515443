// Quorvel: the switcher daemon. Several independent desktops for one user,
// switched with hot keys, a menu and requests from the other programs.

#include <windows.h>

#include "Daemon.h"
#include "Log.h"
#include "ProcessApi.h"
#include "StartUp.h"
#include "SwitcherController.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR commandLine, int) {
    qv::DaemonState& daemon = qv::Daemon();
    daemon.instance = instance;
    const int groups = qv::kProcessFunctions | qv::kImeFunction;
    qv::BindProcessApi(groups, true);
    if (!qv::BoundProcessApi().EnumProcessModules) {
        qv::ShowStartupBox("PSAPI.DLLが必要です.\r\nなお、このﾌﾟﾛｸﾞﾗﾑはNT/W2Kでしか動作しません.");
        qv::BindProcessApi(groups, false);
        return qv::kExitNoProcessApi;
    }
    int exitCode = qv::kExitNormal;
    qv::SwitcherController* controller = qv::StartUp(commandLine, &exitCode);
    if (!controller) {
        qv::WriteLog("--- Initializing Failed End Code=%d ---\n", exitCode);
        qv::BindProcessApi(groups, false);
        return exitCode;
    }
    if (controller->Run() < 0) exitCode = qv::kExitRunFailed;
    controller->CloseAllThreads();
    daemon.controller = nullptr;
    delete controller;
    qv::BindProcessApi(groups, false);
    qv::WriteLog("--- Program End Code=%d ---\n", exitCode);
    return exitCode;
}

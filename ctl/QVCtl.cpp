// QVCtl: the daemon driven from a script. The words of the command line
// are read by qvctl_core, the daemon is asked through DaemonLink; this file
// only prints and picks the exit code.

#include <windows.h>

#include <cstdio>
#include <string>

#include "CtlCommand.h"
#include "CtlDaemon.h"
#include "CtlOutput.h"
#include "ProcessApi.h"

namespace {

using namespace qv;

// Text in the system's code page, written in the console's: a person reads
// it there, and a batch file reads what the console would show.
void Write(FILE* stream, const std::string& text) {
    const UINT console = GetConsoleOutputCP();
    const std::string out = console ? ConvertCodePage(text, GetACP(), console) : text;
    std::fwrite(out.data(), 1, out.size(), stream);
    std::fflush(stream);
}

// JSON is UTF-8 wherever it goes.
void WriteJson(const std::string& json) {
    std::fwrite(json.data(), 1, json.size(), stdout);
    std::fflush(stdout);
}

int Finish(const CtlResult& result) {
    if (!result.Ok()) Write(stderr, "QVCtl: " + result.problem + "\n");
    return result.code;
}

int Run(const CtlCommand& command) {
    DaemonLink daemon;
    DesktopInformation info;
    DesktopRow row;
    switch (command.verb) {
    case CtlVerb::kHelp:
        Write(stdout, kCtlUsageText);
        return kCtlDone;
    case CtlVerb::kVersion:
        Write(stdout, kCtlVersionText);
        return kCtlDone;
    case CtlVerb::kSwitch: {
        CtlResult result = daemon.Switch(command.target, &row);
        if (result.Ok()) Write(stdout, DesktopLine(row));
        return Finish(result);
    }
    case CtlVerb::kActivate: {
        CtlResult result = daemon.Activate(command.window, &row);
        if (result.Ok()) Write(stdout, DesktopLine(row));
        return Finish(result);
    }
    case CtlVerb::kExit:
        return Finish(daemon.Exit());
    default:
        break;
    }

    CtlResult result = daemon.Information(&info);
    if (!result.Ok()) return Finish(result);
    int index = -1;
    if (command.desktopGiven) {
        result = daemon.FindDesktop(command.desktop, info, &index);
        if (!result.Ok()) return Finish(result);
    }
    switch (command.verb) {
    case CtlVerb::kStatus:
        if (command.json) {
            WriteJson(StatusJson(DesktopRows(info), GetACP()));
        } else {
            Write(stdout, StatusText(DesktopRows(info)));
        }
        return kCtlDone;
    case CtlVerb::kWindows: {
        std::vector<WindowRow> rows;
        result = daemon.Windows(info, index, &rows);
        if (!result.Ok()) return Finish(result);
        if (command.json) {
            WriteJson(WindowsJson(rows, GetACP()));
        } else {
            Write(stdout, WindowsText(rows));
        }
        return kCtlDone;
    }
    case CtlVerb::kStart: {
        unsigned long processId = 0;
        result = daemon.Start(info, index >= 0 ? index : info.currentIndex, command.program, command.arguments,
                              &processId);
        if (result.Ok()) Write(stdout, std::to_string(processId) + "\n");
        return Finish(result);
    }
    case CtlVerb::kSnapshot:
        return Finish(daemon.Snapshot(info, index, command.file));
    default:
        return kCtlUsage;
    }
}

}  // namespace

int main() {
    CtlCommand command;
    std::string problem;
    if (!ParseCtlCommand(CommandTail(GetCommandLineA()), &command, &problem)) {
        Write(stderr, "QVCtl: " + problem + "\n" + kCtlUsageText);
        return kCtlUsage;
    }
    // The module of each listed window is read through the process functions.
    ProcessApiBinding binding(kProcessFunctions);
    return Run(command);
}

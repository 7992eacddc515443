// Sends one request to the running daemon, as the other programs of the suite
// do, and prints the answer. For `make run` and for trying the daemon by hand.
//
//   QVRequest.exe [--thread] [--desktop=NAME] [--text | --number]
//                 [--timeout=MS] <wParam> [argument]
//
// Without --thread the daemon's main window is asked (it lives on the desktop
// the daemon started on); with --thread the thread window of the desktop.
// Either is searched from this program's desktop, or from NAME.
//
// The argument becomes lParam: for requests 0, 1 and 2 a packed command text
// ("NE", "+1", "3"), for the others a number (decimal, or hexadecimal with
// 0x, negative allowed); --text or --number choose the other way. Without an
// argument lParam is 0.
//
// Prints "result=<decimal> (0x<hex>)". Exit codes: 0 the window answered,
// 1 no such window, 2 no answer within the time-out (10000 ms unless given),
// 3 a wrong command line or a desktop that cannot be entered.
//
// Examples: "QVRequest.exe 12" ends the daemon; "QVRequest.exe --thread 0 N"
// switches to the next desktop; "QVRequest.exe --thread 8" asks the version.

#include <windows.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "CommandText.h"
#include "DaemonRequest.h"
#include "DesktopThread.h"

namespace {

enum ExitCode { kAnswered = 0, kNoWindow = 1, kNoAnswer = 2, kUsage = 3 };

enum class ArgumentKind { kByRequest, kText, kNumber };

struct Request {
    bool threadWindow = false;
    const char* desktop = nullptr;
    ArgumentKind kind = ArgumentKind::kByRequest;
    DWORD timeoutMs = 10000;
    WPARAM wParam = 0;
    const char* argument = nullptr;
};

int Usage(const char* problem) {
    std::fprintf(stderr, "QVRequest: %s\n", problem);
    std::fprintf(stderr,
                 "usage: QVRequest.exe [--thread] [--desktop=NAME] [--text|--number] [--timeout=MS] "
                 "<wParam> [argument]\n");
    return kUsage;
}

bool ParseNumber(const char* text, long long& value) {
    if (!text || !*text) return false;
    char* end = nullptr;
    errno = 0;
    value = std::strtoll(text, &end, 0);
    return errno == 0 && end && *end == '\0';
}

// Returns 0 when the command line was understood, else the usage exit code.
int Parse(int argc, char** argv, Request& request) {
    int positional = 0;
    for (int i = 1; i < argc; ++i) {
        const char* word = argv[i];
        long long number = 0;
        if (std::strcmp(word, "--thread") == 0) {
            request.threadWindow = true;
        } else if (std::strncmp(word, "--desktop=", 10) == 0) {
            request.desktop = word + 10;
        } else if (std::strcmp(word, "--text") == 0) {
            request.kind = ArgumentKind::kText;
        } else if (std::strcmp(word, "--number") == 0) {
            request.kind = ArgumentKind::kNumber;
        } else if (std::strncmp(word, "--timeout=", 10) == 0) {
            if (!ParseNumber(word + 10, number) || number <= 0) return Usage("the time-out must be a positive number");
            request.timeoutMs = static_cast<DWORD>(number);
        } else if (positional == 0) {
            if (!ParseNumber(word, number) || number < 0) return Usage("the request number must be a number");
            request.wParam = static_cast<WPARAM>(number);
            ++positional;
        } else if (positional == 1) {
            request.argument = word;
            ++positional;
        } else {
            return Usage("too many words");
        }
    }
    return positional == 0 ? Usage("the request number is missing") : 0;
}

bool CarriesText(WPARAM request) {
    return request == qv::kCommandTextRequest || request == qv::kSwitchToNumberRequest ||
           request == qv::kSwitchFromEndRequest;
}

bool ComputeLParam(const Request& request, LPARAM& lParam) {
    lParam = 0;
    if (!request.argument) return true;
    bool asText = request.kind == ArgumentKind::kText ||
                  (request.kind == ArgumentKind::kByRequest && CarriesText(request.wParam));
    if (asText) {
        lParam = static_cast<LPARAM>(qv::PackCommandText(request.argument));
        return true;
    }
    long long number = 0;
    if (!ParseNumber(request.argument, number)) return false;
    lParam = static_cast<LPARAM>(number);
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    Request request;
    if (int code = Parse(argc, argv, request)) return code;
    LPARAM lParam = 0;
    if (!ComputeLParam(request, lParam)) return Usage("the argument of this request must be a number");

    int code = kNoWindow;
    auto ask = [&] {
        const qv::DaemonWindow target = request.threadWindow ? qv::DaemonWindow::kThread : qv::DaemonWindow::kMain;
        HWND window = qv::FindDaemonWindow(target);
        qv::RequestReply reply =
            qv::SendRequest(window, static_cast<qv::DaemonRequest>(request.wParam), lParam, request.timeoutMs);
        switch (reply.outcome) {
        case qv::RequestOutcome::kNoWindow:
            std::printf("no window of class \"%s\" on this desktop\n",
                        request.threadWindow ? qv::kThreadWindowClass : qv::kMainWindowClass);
            code = kNoWindow;
            break;
        case qv::RequestOutcome::kNoAnswer:
            std::printf("no answer from window %p within %lu ms\n", static_cast<void*>(window), request.timeoutMs);
            code = kNoAnswer;
            break;
        case qv::RequestOutcome::kAnswered:
            std::printf("result=%lld (0x%llX)\n", static_cast<long long>(reply.value),
                        static_cast<unsigned long long>(reply.value));
            code = kAnswered;
            break;
        }
    };
    if (!request.desktop) {
        ask();
    } else if (!qv::RunOnDesktop(request.desktop, ask)) {
        std::fprintf(stderr, "QVRequest: cannot enter desktop %s\n", request.desktop);
        return kUsage;
    }
    return code;
}

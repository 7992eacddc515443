#include "DaemonExtras.h"

#include "Desktops.h"
#include "PipeClient.h"
#include "Processes.h"

namespace qvtest {

namespace {

std::optional<LRESULT> SendOn(const std::string& desktop, qv::DaemonWindow target, UINT message, WPARAM wParam,
                              LPARAM lParam, DWORD timeoutMs) {
    std::optional<LRESULT> result;
    RunOnDesktop(desktop, [&] {
        // Not SMTO_ABORTIFHUNG: a test waits out its whole time-out, also
        // for a daemon thread that sleeps in its closing ladder.
        qv::RequestReply reply = qv::SendBounded(WaitForDaemonWindow(target), message, wParam, lParam, timeoutMs,
                                                 SMTO_NORMAL);
        if (reply.Answered()) result = reply.value;
    });
    return result;
}

class WholeReply : public qv::ReplyReader {
public:
    qv::QueryResult Read(qv::ByteSource& reply) override {
        char buffer[4096];
        for (size_t n; (n = reply.ReadSome(buffer, sizeof(buffer))) > 0;) bytes.append(buffer, n);
        return qv::QueryResult::kOk;
    }
    std::string bytes;
};

}  // namespace

HWND WaitForDaemonWindow(qv::DaemonWindow window, DWORD timeoutMs) {
    HWND found = nullptr;
    WaitUntil([&] { return (found = qv::FindDaemonWindow(window)) != nullptr; }, timeoutMs);
    return found;
}

std::optional<LRESULT> SendToThreadWindow(const std::string& desktop, UINT message, WPARAM wParam, LPARAM lParam,
                                          DWORD timeoutMs) {
    return SendOn(desktop, qv::DaemonWindow::kThread, message, wParam, lParam, timeoutMs);
}

std::optional<LRESULT> SendToMainWindow(const std::string& desktop, UINT message, WPARAM wParam, LPARAM lParam,
                                        DWORD timeoutMs) {
    return SendOn(desktop, qv::DaemonWindow::kMain, message, wParam, lParam, timeoutMs);
}

std::string RawReply(const std::string& desktop, qv::PipeQuestion question) {
    WholeReply reply;
    qv::QueryResult result = qv::PipeClient(desktop).Ask(question, reply);
    return result == qv::QueryResult::kOk ? reply.bytes : "<error " + std::to_string(static_cast<int>(result)) + ">";
}

}  // namespace qvtest

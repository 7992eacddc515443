#include "DaemonExtras.h"

#include "Desktops.h"
#include "PipeClient.h"
#include "Processes.h"

namespace qvtest {

namespace {

std::optional<LRESULT> SendOn(const std::string& desktop, const char* className, UINT message, WPARAM wParam,
                              LPARAM lParam, DWORD timeoutMs) {
    std::optional<LRESULT> result;
    RunOnDesktop(desktop, [&] {
        HWND window = nullptr;
        WaitUntil([&] { return (window = FindWindowA(className, qv::kDaemonWindowName)) != nullptr; }, 5000);
        DWORD_PTR answer = 0;
        if (window && SendMessageTimeoutA(window, message, wParam, lParam, SMTO_NORMAL, timeoutMs, &answer))
            result = static_cast<LRESULT>(answer);
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

std::optional<LRESULT> SendToThreadWindow(const std::string& desktop, UINT message, WPARAM wParam, LPARAM lParam,
                                          DWORD timeoutMs) {
    return SendOn(desktop, qv::kThreadWindowClass, message, wParam, lParam, timeoutMs);
}

std::optional<LRESULT> SendToMainWindow(const std::string& desktop, UINT message, WPARAM wParam, LPARAM lParam,
                                        DWORD timeoutMs) {
    return SendOn(desktop, "MultipleDesktopSwitcher with Mendrel", message, wParam, lParam, timeoutMs);
}

std::string RawReply(const std::string& desktop, qv::PipeQuestion question) {
    WholeReply reply;
    qv::QueryResult result = qv::PipeClient(desktop).Ask(question, reply);
    return result == qv::QueryResult::kOk ? reply.bytes : "<error " + std::to_string(static_cast<int>(result)) + ">";
}

}  // namespace qvtest

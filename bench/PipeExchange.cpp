#include "PipeExchange.h"

#include "Handle.h"
#include "Protocol.h"
#include "Security.h"

namespace qvbench {

double Now() {
    static const double frequency = [] {
        LARGE_INTEGER value;
        QueryPerformanceFrequency(&value);
        return static_cast<double>(value.QuadPart);
    }();
    LARGE_INTEGER value;
    QueryPerformanceCounter(&value);
    return static_cast<double>(value.QuadPart) / frequency;
}

namespace {

constexpr DWORD kConnectMs = 11000;  // the answerer's WaitNamedPipe gives up after 10 s
constexpr DWORD kReadMs = 10000;

// Waits for the overlapped operation; one that does not end in time is
// cancelled and still collected, so that its OVERLAPPED outlives it.
bool Finish(HANDLE pipe, OVERLAPPED& overlapped, DWORD timeoutMs, DWORD* bytes) {
    if (WaitForSingleObject(overlapped.hEvent, timeoutMs) != WAIT_OBJECT_0) CancelIo(pipe);
    return GetOverlappedResult(pipe, &overlapped, bytes, TRUE) != FALSE;
}

}  // namespace

double TimedQuestion(HWND window, unsigned question, uint32_t bufferSize, std::string* reply, size_t expected,
                     LPARAM lParam) {
    reply->clear();
    qv::UniqueHandle event(CreateEventA(nullptr, TRUE, FALSE, nullptr));
    qv::UniqueHandle pipe(CreateNamedPipeA(qv::kQueryPipeName,
                                           PIPE_ACCESS_INBOUND | FILE_FLAG_WRITE_THROUGH | FILE_FLAG_OVERLAPPED,
                                           PIPE_TYPE_BYTE | PIPE_READMODE_BYTE | PIPE_WAIT | PIPE_REJECT_REMOTE_CLIENTS,
                                           PIPE_UNLIMITED_INSTANCES, bufferSize, bufferSize, 10000,
                                           qv::PrivateAttributes()));
    if (!event || !pipe) return -1;
    OVERLAPPED overlapped = {};
    overlapped.hEvent = event.Get();
    bool pending = false;
    if (!ConnectNamedPipe(pipe.Get(), &overlapped)) {
        if (GetLastError() != ERROR_IO_PENDING) return -1;
        pending = true;
    }
    const double start = Now();
    if (!PostMessageA(window, qv::kRequestMessage, question, lParam)) {
        if (pending) {
            DWORD bytes = 0;
            CancelIo(pipe.Get());
            GetOverlappedResult(pipe.Get(), &overlapped, &bytes, TRUE);
        }
        return -1;
    }
    DWORD bytes = 0;
    if (pending && !Finish(pipe.Get(), overlapped, kConnectMs, &bytes) && GetLastError() != ERROR_PIPE_CONNECTED)
        return -1;
    static thread_local char buffer[0x10000];
    while (reply->size() < expected) {
        overlapped = OVERLAPPED();
        overlapped.hEvent = event.Get();
        if (!ReadFile(pipe.Get(), buffer, sizeof(buffer), nullptr, &overlapped) && GetLastError() != ERROR_IO_PENDING) {
            // The answerer has closed its end: the reply is whole.
            if (GetLastError() == ERROR_BROKEN_PIPE) break;
            return -1;
        }
        if (!Finish(pipe.Get(), overlapped, kReadMs, &bytes)) {
            if (GetLastError() == ERROR_BROKEN_PIPE) break;
            return -1;
        }
        reply->append(buffer, bytes);
    }
    return Now() - start;
}

}  // namespace qvbench

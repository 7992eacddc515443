#include "PipeClient.h"

#include <windows.h>

#include <algorithm>
#include <cstring>
#include <utility>

#include "Convert.h"
#include "DaemonRequest.h"
#include "DesktopThread.h"
#include "Handle.h"
#include "Security.h"

namespace qv {

namespace {

// The asker's pipe instance. It is overlapped so that the wait for the
// daemon's connection and every read can be given up; an operation that is
// given up is cancelled and waited for before its OVERLAPPED goes away.
class ServerPipe {
public:
    ServerPipe() = default;
    ServerPipe(const ServerPipe&) = delete;
    ServerPipe& operator=(const ServerPipe&) = delete;
    ~ServerPipe() {
        if (m_pending) {
            CancelIo(m_pipe.Get());
            DWORD bytes = 0;
            Complete(&bytes);
        }
    }

    bool Create(uint32_t bufferSize) {
        // Only this logon session, this user and the system may connect, or
        // add instances of the name that would take other askers' replies;
        // remote callers are turned away.
        SECURITY_ATTRIBUTES* security = PrivateAttributes();
        if (!security) return false;
        m_event.Reset(CreateEventA(nullptr, TRUE, FALSE, nullptr));
        if (!m_event) return false;
        m_pipe.Reset(CreateNamedPipeA(kQueryPipeName, PIPE_ACCESS_INBOUND | FILE_FLAG_WRITE_THROUGH | FILE_FLAG_OVERLAPPED,
                                      PIPE_TYPE_BYTE | PIPE_READMODE_BYTE | PIPE_WAIT | PIPE_REJECT_REMOTE_CLIENTS,
                                      PIPE_UNLIMITED_INSTANCES, bufferSize, bufferSize, 10000, security));
        return m_pipe.Valid();
    }

    // Starts listening before the question is posted, so a daemon that
    // answers at once finds the instance already waiting.
    bool BeginConnect() {
        Prepare();
        if (ConnectNamedPipe(m_pipe.Get(), &m_ov)) {
            m_connected = true;
            return true;
        }
        switch (GetLastError()) {
        case ERROR_IO_PENDING:
            m_pending = true;
            return true;
        // Something connected between the creation and this call, and may
        // already have written and gone; the reads tell what it left.
        case ERROR_PIPE_CONNECTED:
        case ERROR_NO_DATA:
            m_connected = true;
            return true;
        default:
            return false;
        }
    }

    bool WaitConnected(DWORD timeoutMs) {
        if (m_connected) return true;
        if (!m_pending) return false;
        DWORD bytes = 0;
        m_connected = Wait(timeoutMs, &bytes) || GetLastError() == ERROR_PIPE_CONNECTED;
        return m_connected;
    }

    // Up to size bytes; 0 at the end of the reply, on a failure or when
    // nothing came within timeoutMs.
    size_t Read(void* buffer, size_t size, DWORD timeoutMs) {
        const size_t kMaxRead = 0x10000;  // a short read is allowed, a truncated DWORD size is not
        Prepare();
        if (!ReadFile(m_pipe.Get(), buffer, static_cast<DWORD>(size < kMaxRead ? size : kMaxRead), nullptr, &m_ov) &&
            GetLastError() != ERROR_IO_PENDING)
            return 0;
        m_pending = true;
        DWORD bytes = 0;
        return Wait(timeoutMs, &bytes) ? bytes : 0;
    }

private:
    void Prepare() {
        m_ov = OVERLAPPED();
        m_ov.hEvent = m_event.Get();
    }

    // Waits for the pending operation; on time-out cancels it and still
    // collects its completion, which may have won the race.
    bool Wait(DWORD timeoutMs, DWORD* bytes) {
        if (WaitForSingleObject(m_event.Get(), timeoutMs) != WAIT_OBJECT_0) CancelIo(m_pipe.Get());
        return Complete(bytes);
    }

    bool Complete(DWORD* bytes) {
        BOOL ok = GetOverlappedResult(m_pipe.Get(), &m_ov, bytes, TRUE);
        m_pending = false;
        return ok != FALSE;
    }

    UniqueHandle m_event;
    UniqueHandle m_pipe;
    OVERLAPPED m_ov = {};
    bool m_pending = false;
    bool m_connected = false;
};

// One asker of the session at a time. A turn left by a crashed asker
// (WAIT_ABANDONED) is a turn like any other: its pipe died with it.
class AskerTurn {
public:
    explicit AskerTurn(DWORD timeoutMs) : m_mutex(CreateMutexA(nullptr, FALSE, kAskerMutexName)) {
        if (!m_mutex) return;
        const DWORD waited = WaitForSingleObject(m_mutex.Get(), timeoutMs);
        m_held = waited == WAIT_OBJECT_0 || waited == WAIT_ABANDONED;
    }
    ~AskerTurn() {
        if (m_held) ReleaseMutex(m_mutex.Get());
    }
    AskerTurn(const AskerTurn&) = delete;
    AskerTurn& operator=(const AskerTurn&) = delete;
    bool Held() const { return m_held; }

private:
    UniqueHandle m_mutex;
    bool m_held = false;
};

class PipeSource : public ByteSource {
public:
    PipeSource(ServerPipe& pipe, const QueryTimeouts& timeouts)
        : m_pipe(pipe), m_readMs(timeouts.readMs), m_replyMs(timeouts.replyMs), m_start(GetTickCount()) {}
    size_t ReadSome(void* buffer, size_t size) override {
        const DWORD spent = GetTickCount() - m_start;
        if (spent >= m_replyMs) return 0;  // read as a reply that broke off
        return m_pipe.Read(buffer, size, std::min<DWORD>(m_readMs, m_replyMs - spent));
    }

private:
    ServerPipe& m_pipe;
    DWORD m_readMs;
    DWORD m_replyMs;
    DWORD m_start;
};

// The whole exchange, on a thread attached to the desktop concerned.
QueryResult AskHere(const PipeQuestion* question, ReplyReader* reader, uint32_t* version,
                    const QueryTimeouts& timeouts) {
    if (version) *version = 0;
    HWND window = FindWindowA(kThreadWindowClass, kDaemonWindowName);
    if (!window) return QueryResult::kNotFound;

    // No answer in time counts as the 0 of a window that is showing a dialog.
    const uint32_t answered = static_cast<uint32_t>(SendRequest(window, kVersionRequest, 0, timeouts.answerMs).value);
    if (version) *version = answered;
    if (answered < kDaemonVersion) return QueryResult::kVersionTooOld;
    if (!question) return QueryResult::kOk;

    // The daemon connects to whichever instance of the one pipe name is
    // listening, so two askers at once could each read the other's reply:
    // the whole exchange takes turns with every asker of the session.
    AskerTurn turn(timeouts.turnMs);
    if (!turn.Held()) return QueryResult::kPipeBusy;
    ServerPipe pipe;
    if (!pipe.Create(PipeBufferSize(*question))) return QueryResult::kPipeCreateFailed;
    if (!pipe.BeginConnect()) return QueryResult::kNoConnection;
    if (!PostMessageA(window, kRequestMessage, static_cast<WPARAM>(*question), 0)) return QueryResult::kPostFailed;
    if (!pipe.WaitConnected(timeouts.connectMs)) return QueryResult::kNoConnection;
    PipeSource source(pipe, timeouts);
    return reader->Read(source);
}

class InformationReader : public ReplyReader {
public:
    explicit InformationReader(DesktopInformation* info) : m_info(info) {}
    QueryResult Read(ByteSource& reply) override { return ReadInformation(reply, m_info); }

private:
    DesktopInformation* m_info;
};

class TextReader : public ReplyReader {
public:
    explicit TextReader(std::string* text) : m_text(text) {}
    QueryResult Read(ByteSource& reply) override { return ReadSingleText(reply, m_text); }

private:
    std::string* m_text;
};

class LineReader : public ReplyReader {
public:
    LineReader(BitmapLineSink& lines, int32_t* linesRead) : m_lines(lines), m_linesRead(linesRead) {}
    QueryResult Read(ByteSource& reply) override { return ReadBitmap(reply, m_lines, m_linesRead); }

private:
    BitmapLineSink& m_lines;
    int32_t* m_linesRead;
};

// Lives only inside one read, on the thread that reads: the bitmap must suit
// the screen of the desktop that thread is attached to, and a DC from GetDC
// goes back from the thread that took it.
class ScreenBitmapLines : public BitmapLineSink {
public:
    explicit ScreenBitmapLines(ScreenSnapshot* snapshot) : m_snapshot(snapshot) {}
    ScreenBitmapLines(const ScreenBitmapLines&) = delete;
    ScreenBitmapLines& operator=(const ScreenBitmapLines&) = delete;
    ~ScreenBitmapLines() override {
        if (m_dc) ReleaseDC(nullptr, m_dc);
    }

    bool Begin(const BitmapShape& shape) override {
        m_dc = GetDC(nullptr);
        if (!m_dc) return false;
        m_snapshot->bitmap.Reset(CreateCompatibleBitmap(m_dc, shape.width, shape.height));
        if (!m_snapshot->bitmap) return false;
        m_snapshot->shape = shape;
        // Built from the checked shape; the received block goes no further
        // than its parser.
        m_info = BITMAPINFO();
        m_info.bmiHeader.biSize = sizeof(m_info.bmiHeader);
        m_info.bmiHeader.biWidth = shape.width;
        m_info.bmiHeader.biHeight = shape.height;
        m_info.bmiHeader.biPlanes = 1;
        m_info.bmiHeader.biBitCount = 24;
        m_info.bmiHeader.biCompression = BI_RGB;
        return true;
    }

    void Line(int32_t line, const unsigned char* chunk) override {
        SetDIBits(m_dc, m_snapshot->bitmap.Get(), static_cast<UINT>(line), 1, chunk, &m_info, DIB_RGB_COLORS);
    }

private:
    ScreenSnapshot* m_snapshot;
    HDC m_dc = nullptr;
    BITMAPINFO m_info = {};
};

class ScreenBitmapReader : public ReplyReader {
public:
    explicit ScreenBitmapReader(ScreenSnapshot* snapshot) : m_snapshot(snapshot) {}
    QueryResult Read(ByteSource& reply) override {
        ScreenBitmapLines lines(m_snapshot);
        return ReadBitmap(reply, lines, &m_snapshot->linesRead);
    }

private:
    ScreenSnapshot* m_snapshot;
};

}  // namespace

PipeClient::PipeClient(std::string desktop, QueryTimeouts timeouts)
    : m_desktop(std::move(desktop)), m_timeouts(timeouts) {}

QueryResult PipeClient::Run(const PipeQuestion* question, ReplyReader* reader, uint32_t* version) {
    if (m_desktop.empty()) return AskHere(question, reader, version, m_timeouts);

    QueryResult result = QueryResult::kAttachFailed;
    RunOnDesktop(m_desktop.c_str(), [&] { result = AskHere(question, reader, version, m_timeouts); });
    return result;
}

QueryResult PipeClient::CheckVersion(uint32_t* version) { return Run(nullptr, nullptr, version); }

QueryResult PipeClient::Ask(PipeQuestion question, ReplyReader& reader) { return Run(&question, &reader, nullptr); }

QueryResult PipeClient::AskNumberOfDesktops(int32_t* count) {
    std::string text;
    TextReader reader(&text);
    QueryResult result = Ask(PipeQuestion::kNumberOfDesktops, reader);
    *count = result == QueryResult::kOk ? ParseDecimal(text.c_str()) : 0;
    return result;
}

QueryResult PipeClient::AskDesktopName(std::string* name) {
    TextReader reader(name);
    return Ask(PipeQuestion::kDesktopName, reader);
}

QueryResult PipeClient::AskCurrentDesktopId(std::string* id) {
    TextReader reader(id);
    return Ask(PipeQuestion::kCurrentDesktopId, reader);
}

QueryResult PipeClient::AskInformation(DesktopInformation* info) {
    InformationReader reader(info);
    return Ask(PipeQuestion::kInformation, reader);
}

QueryResult PipeClient::AskBitmap(ScreenSnapshot* snapshot) {
    *snapshot = ScreenSnapshot();
    ScreenBitmapReader reader(snapshot);
    return Ask(PipeQuestion::kBitmap, reader);
}

QueryResult PipeClient::AskBitmap(BitmapLineSink& lines, int32_t* linesRead) {
    if (linesRead) *linesRead = 0;
    LineReader reader(lines, linesRead);
    return Ask(PipeQuestion::kBitmap, reader);
}

bool ThreadDesktopName(std::string* name) {
    HDESK desktop = GetThreadDesktop(GetCurrentThreadId());
    if (!desktop) return false;
    char small[16];
    DWORD needed = 0;
    if (GetUserObjectInformationA(desktop, UOI_NAME, small, sizeof(small), &needed)) {
        name->assign(small, strnlen(small, sizeof(small)));
        return true;
    }
    // Desktop names are short; a size beyond any name is a failure, not a request.
    if (GetLastError() != ERROR_INSUFFICIENT_BUFFER || needed == 0 || needed > 4096) return false;
    std::string buffer(needed, '\0');
    if (!GetUserObjectInformationA(desktop, UOI_NAME, buffer.data(), needed, &needed)) return false;
    name->assign(buffer.c_str(), strnlen(buffer.c_str(), buffer.size()));
    return true;
}

}  // namespace qv

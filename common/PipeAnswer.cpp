#include "PipeAnswer.h"

#include <cstdio>
#include <cstring>
#include <memory>
#include <new>
#include <string>

#include "SystemError.h"
#include "Log.h"

namespace qv {

DWORD BitmapAnswerMs(uint64_t replyBytes) {
    const uint64_t ms = kTextAnswerMs + replyBytes / kBitmapBytesPerMs;
    return ms < kAnswerCapMs ? static_cast<DWORD>(ms) : kAnswerCapMs;
}

ReplyChannel::ReplyChannel(const char* what, DWORD deadlineMs)
    : m_what(what), m_start(GetTickCount()), m_deadlineMs(deadlineMs) {}

DWORD ReplyChannel::Remaining() const {
    const DWORD spent = GetTickCount() - m_start;
    return spent < m_deadlineMs ? m_deadlineMs - spent : 0;
}

AnswerResult ReplyChannel::Open(bool logWaitFailure) {
    m_pipe.Reset();
    m_abandoned = false;
    // Never the pipe's own default: the asker chooses that, and "forever" is
    // one of its choices. WaitNamedPipe takes 0 as that default, so 1 ms is
    // the least.
    const DWORD wait = Remaining();
    if (!WaitNamedPipeA(kQueryPipeName, wait ? wait : 1)) {
        if (logWaitFailure) WriteLog("WaitNamedPipe Error. Reason=%s\n", SystemErrorText().c_str());
        return AnswerResult::kWaitFailed;
    }
    m_event.Reset(CreateEventA(nullptr, TRUE, FALSE, nullptr));
    if (m_event)
        m_pipe.Reset(CreateFileA(kQueryPipeName, GENERIC_WRITE, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                 FILE_ATTRIBUTE_NORMAL | FILE_FLAG_OVERLAPPED | SECURITY_SQOS_PRESENT |
                                     SECURITY_IDENTIFICATION,
                                 nullptr));
    if (!m_pipe) {
        WriteLog("CreateFile  Error. Reason=%s\n", SystemErrorText().c_str());
        return AnswerResult::kOpenFailed;
    }
    return AnswerResult::kSent;
}

void ReplyChannel::Abandon(const char* reason) {
    m_abandoned = true;
    m_pipe.Reset();
    WriteLog("Respons : %s Abandoned. Reason=%s\n", m_what, reason);
}

bool ReplyChannel::Write(const void* data, size_t size) {
    if (!m_pipe) return false;
    OVERLAPPED ov = {};
    ov.hEvent = m_event.Get();
    DWORD written = 0;
    if (!WriteFile(m_pipe.Get(), data, static_cast<DWORD>(size), &written, &ov)) {
        if (GetLastError() != ERROR_IO_PENDING) {
            Abandon(SystemErrorText().c_str());
            return false;
        }
        // The write waits for the asker to make room; past the deadline it is
        // cancelled, and still waited for, since it uses ov and data.
        const bool done = WaitForSingleObject(ov.hEvent, Remaining()) == WAIT_OBJECT_0;
        if (!done) CancelIo(m_pipe.Get());
        const bool ok = GetOverlappedResult(m_pipe.Get(), &ov, &written, TRUE) != FALSE;
        if (!done || !ok) {
            char reason[64];
            std::snprintf(reason, sizeof(reason), "not read within %u ms", static_cast<unsigned>(m_deadlineMs));
            Abandon(done ? SystemErrorText().c_str() : reason);
            return false;
        }
    }
    if (written != size) {
        Abandon("short write");
        return false;
    }
    return true;
}

bool ReplyChannel::Write(const PipeReply& reply) {
    // One write for the whole reply: a write costs the asker a wake-up and a
    // read, whatever its size.
    const std::string bytes = reply.Bytes();
    return Write(bytes.data(), bytes.size());
}

AnswerResult ReplyChannel::Close() {
    m_pipe.Reset();
    m_event.Reset();
    return m_abandoned ? AnswerResult::kAbandoned : AnswerResult::kSent;
}

AnswerResult SendPipeReply(const char* what, const PipeReply& reply, bool logWaitFailure) {
    ReplyChannel channel(what, kTextAnswerMs);
    AnswerResult result = channel.Open(logWaitFailure);
    if (result != AnswerResult::kSent) return result;
    channel.Write(reply);
    return channel.Close();
}

AnswerResult AnswerNumberOfDesktops(int count) {
    // Formatted before the pipe is opened, so the asker's connection is held
    // only for the write itself.
    std::string text = DecimalText(count);
    AnswerResult result = SendPipeReply("Number of Desktops", TextReply(text.c_str()), true);
    if (result == AnswerResult::kSent) WriteLog("Respons : Number of Desktops=(%s)\n", text.c_str());
    return result;
}

AnswerResult AnswerDesktopName(const char* name) {
    AnswerResult result = SendPipeReply("Desktop Name", TextReply(name), true);
    if (result == AnswerResult::kSent) WriteLog("Respons : Desktop Name = (%s)\n", name);
    return result;
}

AnswerResult AnswerCurrentDesktopId(const char* id) {
    AnswerResult result = SendPipeReply("Current DesktopID", TextReply(id), true);
    if (result == AnswerResult::kSent) WriteLog("Respons : Current DesktopID = (%s)\n", id);
    return result;
}

AnswerResult AnswerInformation(int32_t currentIndex, const std::vector<DesktopRecord>& desktops) {
    AnswerResult result = SendPipeReply("Information", InformationReply(currentIndex, desktops), false);
    if (result == AnswerResult::kSent) WriteLog("Respons : Information OK\n");
    return result;
}

namespace {

// Scan lines are taken from the snapshot and written a band at a time: per
// line, the calls would cost more than the bytes they move.
constexpr size_t kBandBytes = 256 * 1024;

int BandLines(uint32_t chunkSize) {
    const size_t lines = kBandBytes / chunkSize;
    return lines < 1 ? 1 : static_cast<int>(lines);
}

class ScreenDc {
public:
    ScreenDc() : m_dc(GetDC(nullptr)) {}
    ~ScreenDc() {
        if (m_dc) ReleaseDC(nullptr, m_dc);
    }
    ScreenDc(const ScreenDc&) = delete;
    ScreenDc& operator=(const ScreenDc&) = delete;
    HDC Get() const { return m_dc; }

private:
    HDC m_dc;
};

}  // namespace

AnswerResult AnswerBitmap(HBITMAP snapshot, int keepBitmapSize) {
    // The size and the row buffer are settled before the pipe is opened, so
    // the asker's connection is held only for the writing.
    BITMAP size = {};
    const bool captured = keepBitmapSize > 0 && snapshot &&
                          GetObjectA(snapshot, sizeof(size), &size) == static_cast<int>(sizeof(size)) &&
                          size.bmWidth > 0 && size.bmHeight > 0;
    const uint32_t chunkSize = captured ? BitmapChunkSize(size.bmWidth) : 0;
    const size_t lineBytes = captured ? BitmapLineBytes(size.bmWidth) : 0;
    const int bandLines = captured ? BandLines(chunkSize) : 0;
    // Zeroed once: the filler behind each row, and a row the system could
    // not give, must not carry this process's old heap to whoever holds the
    // pipe.
    std::unique_ptr<unsigned char[]> rows(captured ? new (std::nothrow) unsigned char[lineBytes * bandLines]() : nullptr);
    std::unique_ptr<unsigned char[]> band(captured ? new (std::nothrow) unsigned char[size_t(chunkSize) * bandLines]()
                                                   : nullptr);

    const uint64_t replyBytes = 4 + (captured ? kBitmapInfoSize + uint64_t(chunkSize) * size.bmHeight : 16);
    ReplyChannel channel("DIB Bitmap", BitmapAnswerMs(replyBytes));
    AnswerResult result = channel.Open(false);
    if (result != AnswerResult::kSent) return result;
    if (keepBitmapSize <= 0) {
        channel.Write(NoBitmapReply(nullptr));
    } else if (!captured) {
        channel.Write(NoBitmapReply(kNotCapturedText));
    } else {
        ScreenDc dc;
        if (!rows || !band || !dc.Get()) {  // a DC the system cannot give is memory it lacks too
            channel.Write(NoBitmapReply(kMemoryErrorText));
        } else {
            PipeReply head;
            head.AddInt32(static_cast<int32_t>(chunkSize));
            std::string block = BitmapInfoBlock(size.bmWidth, size.bmHeight);
            head.AddBytes(block.data(), block.size());
            BITMAPINFO info;
            static_assert(sizeof(info) == kBitmapInfoSize, "the block is a BITMAPINFO");
            std::memcpy(&info, block.data(), sizeof(info));
            bool going = channel.Write(head);
            for (int line = 0; going && line < size.bmHeight; line += bandLines) {
                const int count = size.bmHeight - line < bandLines ? size.bmHeight - line : bandLines;
                GetDIBits(dc.Get(), snapshot, static_cast<UINT>(line), static_cast<UINT>(count), rows.get(), &info,
                          DIB_RGB_COLORS);
                for (int i = 0; i < count; ++i)
                    std::memcpy(band.get() + size_t(chunkSize) * i, rows.get() + lineBytes * i, lineBytes);
                going = channel.Write(band.get(), size_t(chunkSize) * count);
            }
        }
    }
    result = channel.Close();
    if (result == AnswerResult::kSent) WriteLog("Respons : DIB Bitmap OK\n");
    return result;
}

}  // namespace qv

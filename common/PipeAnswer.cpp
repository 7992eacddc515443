#include "PipeAnswer.h"

#include <cstring>
#include <memory>
#include <new>
#include <string>

#include "SystemError.h"
#include "Log.h"

namespace qv {

AnswerResult ReplyChannel::Open(bool logWaitFailure) {
    m_pipe.Reset();
    if (!WaitNamedPipeA(kQueryPipeName, NMPWAIT_USE_DEFAULT_WAIT)) {
        if (logWaitFailure) WriteLog("WaitNamedPipe Error. Reason=%s\n", SystemErrorText().c_str());
        return AnswerResult::kWaitFailed;
    }
    m_pipe.Reset(CreateFileA(kQueryPipeName, GENERIC_WRITE, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                             FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!m_pipe) {
        WriteLog("CreateFile  Error. Reason=%s\n", SystemErrorText().c_str());
        return AnswerResult::kOpenFailed;
    }
    return AnswerResult::kSent;
}

void ReplyChannel::Write(const void* data, size_t size) {
    if (!m_pipe) return;
    DWORD written = 0;
    WriteFile(m_pipe.Get(), data, static_cast<DWORD>(size), &written, nullptr);
}

void ReplyChannel::Write(const PipeReply& reply) {
    for (const std::string& field : reply.Fields()) Write(field.data(), field.size());
}

AnswerResult SendPipeReply(const PipeReply& reply, bool logWaitFailure) {
    ReplyChannel channel;
    AnswerResult result = channel.Open(logWaitFailure);
    if (result != AnswerResult::kSent) return result;
    channel.Write(reply);
    channel.Close();
    return AnswerResult::kSent;
}

AnswerResult AnswerNumberOfDesktops(int count) {
    // Formatted before the pipe is opened, so the asker's connection is held
    // only for the write itself.
    std::string text = DecimalText(count);
    AnswerResult result = SendPipeReply(TextReply(text.c_str()), true);
    if (result == AnswerResult::kSent) WriteLog("Respons : Number of Desktops=(%s)\n", text.c_str());
    return result;
}

AnswerResult AnswerDesktopName(const char* name) {
    AnswerResult result = SendPipeReply(TextReply(name), true);
    if (result == AnswerResult::kSent) WriteLog("Respons : Desktop Name = (%s)\n", name);
    return result;
}

AnswerResult AnswerCurrentDesktopId(const char* id) {
    AnswerResult result = SendPipeReply(TextReply(id), true);
    if (result == AnswerResult::kSent) WriteLog("Respons : Current DesktopID = (%s)\n", id);
    return result;
}

AnswerResult AnswerInformation(int32_t currentIndex, const std::vector<DesktopRecord>& desktops) {
    AnswerResult result = SendPipeReply(InformationReply(currentIndex, desktops), false);
    if (result == AnswerResult::kSent) WriteLog("Respons : Information OK\n");
    return result;
}

namespace {

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
    // Zeroed once: the filler behind each row must not carry this process's
    // old heap to whoever holds the pipe.
    std::unique_ptr<unsigned char[]> chunk(captured ? new (std::nothrow) unsigned char[chunkSize]() : nullptr);

    ReplyChannel channel;
    AnswerResult result = channel.Open(false);
    if (result != AnswerResult::kSent) return result;
    if (keepBitmapSize <= 0) {
        channel.Write(NoBitmapReply(nullptr));
    } else if (!captured) {
        channel.Write(NoBitmapReply(kNotCapturedText));
    } else {
        ScreenDc dc;
        if (!chunk || !dc.Get()) {  // a DC the system cannot give is memory it lacks too
            channel.Write(NoBitmapReply(kMemoryErrorText));
        } else {
            PipeReply head;
            head.AddInt32(static_cast<int32_t>(chunkSize));
            std::string block = BitmapInfoBlock(size.bmWidth, size.bmHeight);
            head.AddBytes(block.data(), block.size());
            channel.Write(head);
            BITMAPINFO info;
            static_assert(sizeof(info) == kBitmapInfoSize, "the block is a BITMAPINFO");
            std::memcpy(&info, block.data(), sizeof(info));
            for (int line = 0; line < size.bmHeight; ++line) {
                GetDIBits(dc.Get(), snapshot, static_cast<UINT>(line), 1, chunk.get(), &info, DIB_RGB_COLORS);
                channel.Write(chunk.get(), chunkSize);
            }
        }
    }
    channel.Close();
    WriteLog("Respons : DIB Bitmap OK\n");
    return AnswerResult::kSent;
}

}  // namespace qv

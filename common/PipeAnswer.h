#pragma once
// The daemon's end of the query pipe. The asking program waits on the pipe
// as its server; the daemon's desktop thread opens it as a client, writes one
// reply and lets it go again at once.

#include <windows.h>

#include <cstddef>
#include <cstdint>
#include <vector>

#include "PipeFormat.h"
#include "Handle.h"

namespace qv {

enum class AnswerResult : int {
    kSent = 0,
    kWaitFailed = -1,  // no asker waiting within the pipe's default time-out
    kOpenFailed = -2,
};

// One connection to the asker's pipe.
class ReplyChannel {
public:
    // WaitNamedPipe with the pipe's default time-out, then CreateFile. A
    // failed wait is logged only when logWaitFailure is set (the bitmap and
    // Information answers stay quiet about it); a failed open always is.
    AnswerResult Open(bool logWaitFailure);
    // One WriteFile per call. The result is not looked at: an asker that went
    // away simply misses the rest of its reply.
    void Write(const void* data, size_t size);
    void Write(const PipeReply& reply);  // each field with its own WriteFile
    void Close() { m_pipe.Reset(); }

private:
    UniqueHandle m_pipe;
};

// Open, write every field, close. Logs only the failures of Open.
AnswerResult SendPipeReply(const PipeReply& reply, bool logWaitFailure);

// The answers of the thread window's requests 3, 5, 6 and 11, each logged
// with its "Respons" line when written.
AnswerResult AnswerNumberOfDesktops(int count);
AnswerResult AnswerDesktopName(const char* name);
AnswerResult AnswerCurrentDesktopId(const char* id);
// desktops in ring order from the home desktop; currentIndex is the current
// desktop's place in that order.
AnswerResult AnswerInformation(int32_t currentIndex, const std::vector<DesktopRecord>& desktops);
// Request 7: the desktop's snapshot (null when it has none) as 24-bit rows,
// one chunk per scan line read with GetDIBits through the screen DC of the
// calling thread; only a chunk size of 0 when keepBitmapSize is 0 or less,
// whether or not a snapshot is kept. A failed wait is not logged. The
// snapshot must not be selected into a DC.
AnswerResult AnswerBitmap(HBITMAP snapshot, int keepBitmapSize);

}  // namespace qv

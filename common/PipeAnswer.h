#pragma once
// The daemon's end of the query pipe. The asking program waits on the pipe
// as its server; the daemon's desktop thread opens it as a client, writes one
// reply and lets it go again at once. The thread that answers is the one that
// serves its desktop's requests and switches, so an answer never holds it
// longer than its deadline, whatever the asker does.

#include <windows.h>

#include <cstddef>
#include <cstdint>
#include <vector>

#include "PipeFormat.h"
#include "Handle.h"

namespace qv {

enum class AnswerResult : int {
    kSent = 0,
    kWaitFailed = -1,  // no asker waiting within the deadline
    kOpenFailed = -2,
    kAbandoned = -3,   // the asker did not take the whole reply before the deadline, or went away
};

// How long one answer may take in all, from the wait for the asker's pipe to
// its last byte. A reader takes a few kilobytes at once; one that takes
// nothing for seconds is gone or hostile.
inline constexpr DWORD kTextAnswerMs = 4000;
// The snapshot grows with the screen: at least 2 MB a second are expected of
// a live reader, and no answer, however large, takes longer than the cap.
inline constexpr DWORD kBitmapBytesPerMs = 2048;
inline constexpr DWORD kAnswerCapMs = 30000;
DWORD BitmapAnswerMs(uint64_t replyBytes);

// One connection to the asker's pipe, with one deadline for all of it.
class ReplyChannel {
public:
    // what names the reply in the log line of an abandoned answer.
    ReplyChannel(const char* what, DWORD deadlineMs);
    ReplyChannel(const ReplyChannel&) = delete;
    ReplyChannel& operator=(const ReplyChannel&) = delete;
    ~ReplyChannel() { Close(); }

    // Waits for a listening instance (no longer than the deadline allows),
    // then opens it for writing, identification only: the asker's end cannot
    // act as the daemon's user. A failed wait is logged only when
    // logWaitFailure is set (the bitmap and Information answers stay quiet
    // about it); a failed open always is.
    AnswerResult Open(bool logWaitFailure);
    // Each call one overlapped WriteFile. After the first failure or the
    // deadline nothing more is written, the handle is closed and the
    // abandonment logged once; false from then on.
    bool Write(const void* data, size_t size);
    bool Write(const PipeReply& reply);  // each field with its own WriteFile
    // kSent when every byte was taken, else kAbandoned.
    AnswerResult Close();

private:
    DWORD Remaining() const;
    void Abandon(const char* reason);

    const char* m_what;
    DWORD m_start;
    DWORD m_deadlineMs;
    UniqueHandle m_pipe;
    UniqueHandle m_event;
    bool m_abandoned = false;
};

// Open, write every field, close. Logs only the failures.
AnswerResult SendPipeReply(const char* what, const PipeReply& reply, bool logWaitFailure);

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

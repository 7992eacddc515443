#pragma once
// The asking end of the query pipe, shared by the control bar, the viewer and
// the task switch tool. The asker finds the daemon's thread window on a
// desktop, creates the pipe as its server, posts the question and reads what
// the daemon writes. Every wait is bounded, so a daemon that is busy, hung or
// gone costs the asker time but never its thread.

#include <cstdint>
#include <string>

#include "Handle.h"
#include "PipeFormat.h"

namespace qv {

// A desktop's snapshot as the asker holds it.
struct ScreenSnapshot {
    // Compatible with the screen of the desktop asked about; null unless the
    // reply's shape was accepted and a bitmap could be made for it.
    UniqueBitmap bitmap;
    BitmapShape shape;
    int32_t linesRead = 0;  // scan lines stored, from the bottom; the lines above them are undefined
};

struct QueryTimeouts {
    unsigned long answerMs = 5000;  // the version request
    // The daemon's WaitNamedPipe gives up after the pipe's default time-out
    // of 10000 ms; a little longer covers every answer that can still come.
    unsigned long connectMs = 11000;
    unsigned long readMs = 10000;  // each read of the reply once the daemon has connected
    // The whole reply: a daemon that trickles a byte now and then would keep
    // every single read within readMs. A full-screen snapshot crosses in well
    // under a second.
    unsigned long replyMs = 30000;
    // The wait for the other askers of the session; a turn is bounded by the
    // times above, so this covers one slow exchange and then some.
    unsigned long turnMs = 30000;
};


// Reads one reply from the connected pipe; for replies without a reader of
// their own here (the snapshot bitmap).
class ReplyReader {
public:
    virtual ~ReplyReader() = default;
    virtual QueryResult Read(ByteSource& reply) = 0;
};

class PipeClient {
public:
    // desktop names the desktop whose thread window is asked; the questions
    // then run on a worker thread attached to it, since a window can only be
    // found from its own desktop. Empty asks the window on the calling
    // thread's desktop, from the calling thread.
    explicit PipeClient(std::string desktop = std::string(), QueryTimeouts timeouts = QueryTimeouts());

    // Finds the window and sends the version request; version receives the
    // answer, 0 when none came in time.
    QueryResult CheckVersion(uint32_t* version = nullptr);

    // Each question finds the window and checks the version first: a window
    // that is showing a dialog answers 0 and would ignore the question, so
    // the check saves waiting out the connection time-out.
    QueryResult AskNumberOfDesktops(int32_t* count);
    QueryResult AskDesktopName(std::string* name);
    QueryResult AskCurrentDesktopId(std::string* id);
    // On kCommunicationError info keeps what was read completely.
    QueryResult AskInformation(DesktopInformation* info);
    QueryResult Ask(PipeQuestion question, ReplyReader& reader);
    // The snapshot of the window's desktop: kNoBitmap when the daemon keeps
    // none. A reply that breaks off inside the lines is kCommunicationError
    // with the lines that came already in the bitmap, which the viewer still
    // shows.
    QueryResult AskBitmap(ScreenSnapshot* snapshot);
    // The same reply as it came, without GDI.
    QueryResult AskBitmap(BitmapLineSink& lines, int32_t* linesRead = nullptr);

private:
    QueryResult Run(const PipeQuestion* question, ReplyReader* reader, uint32_t* version);

    std::string m_desktop;
    QueryTimeouts m_timeouts;
};

// The name of the calling thread's desktop (its DesktopID when the daemon
// made it); false when the system does not give it.
bool ThreadDesktopName(std::string* name);

}  // namespace qv

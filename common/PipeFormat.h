#pragma once
// The byte formats of the query pipe: the replies the daemon writes and the
// readers of the asking programs. Nothing here touches a window or a pipe, so
// the readers parse a live pipe and a test's bytes alike, and every limit
// that keeps a hostile writer from overrunning a reader lives in one place.

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "Protocol.h"

namespace qv {

// The requests whose answer comes back through the pipe (wParam values).
enum class PipeQuestion : unsigned {
    kNumberOfDesktops = kNumberOfDesktopsRequest,
    kDesktopName = kDesktopNameRequest,
    kCurrentDesktopId = kCurrentDesktopIdRequest,
    kBitmap = kBitmapRequest,
    kInformation = kInformationRequest,
};

// Results of asking the daemon. The viewer's snapshot worker reports its
// results in one numbering with these: -1 to -3 and -10 to -13 are its own
// codes, and 0 its success. The rest have no code of the worker's: its
// version check comes before any question (-4), and a question that was never
// connected (-5, -6, -8) reaches its reader as a size that could not be read
// (-10). A snapshot that broke off inside its rows is -7 here, with the rows
// that came kept; the worker shows such a bitmap and reports 0.
enum class QueryResult : int {
    kOk = 0,
    kAttachFailed = -1,        // the worker could not be started on, or attached to, the desktop
    kPipeCreateFailed = -2,
    kNotFound = -3,            // no thread window on that desktop: the daemon is not running there
    kVersionTooOld = -4,       // below kDaemonVersion, or no answer in time (a busy or hung window)
    kPostFailed = -5,
    kNoConnection = -6,        // the daemon did not connect to the pipe in time
    kCommunicationError = -7,  // the reply was cut short or malformed
    kPipeBusy = -8,            // other askers held the pipe for longer than the wait allows
    kSizeNotRead = -10,        // the snapshot's chunk size did not arrive
    kNoBitmap = -11,           // chunk size 0: snapshots off, none captured, or the daemon lacked memory
    kNoMemory = -12,           // no room here for the row buffer or the bitmap
    kInfoNotRead = -13,        // the snapshot's bitmap info block did not arrive
};

// The readers' buffers: a longer text is refused (counted) or cut (single).
inline constexpr size_t kCountedTextMax = 260;  // bytes of one Information text, NUL included
inline constexpr size_t kSingleTextMax = 128;   // bytes of a single-text reply, NUL included
// No ring holds more desktops than this; a larger count is a corrupt reply,
// refused before anything is read for it.
inline constexpr uint32_t kMaxDesktopRecords = 1024;

// Both ends size the pipe's buffers by the question.
uint32_t PipeBufferSize(PipeQuestion question);

// ---- Writing ------------------------------------------------------------

// A reply as the daemon writes it: the fields in order, each one sent with
// its own WriteFile.
class PipeReply {
public:
    void AddInt32(int32_t value);          // 4 bytes, little-endian
    void AddText(const char* text);        // the text and its NUL
    void AddCountedText(const char* text); // its length with the NUL, then the text and its NUL: two fields
    void AddBytes(const void* data, size_t size);

    const std::vector<std::string>& Fields() const { return m_fields; }
    std::string Bytes() const;  // all fields in one string

private:
    std::vector<std::string> m_fields;
};

// One desktop of the Information reply.
struct DesktopRecord {
    std::string id;    // DesktopID: the system name of the desktop object
    int32_t width = 0;
    int32_t height = 0;
    std::string name;  // DesktopName; a reader gives an empty one the DesktopID
    int32_t index = 0; // place in the reply, set by the reader; the writer goes by order
};

std::string DecimalText(int value);  // sprintf "%d"
PipeReply NumberOfDesktopsReply(int count);
PipeReply TextReply(const char* text);  // Desktop Name and Current DesktopID
// desktops in ring order starting at the home desktop.
PipeReply InformationReply(int32_t currentIndex, const std::vector<DesktopRecord>& desktops);

// The snapshot (question 7): chunk size S, a 44-byte bitmap info block
// (BITMAPINFOHEADER and one colour-table entry), then one chunk of S bytes
// per scan line from the bottom up, its first BitmapLineBytes 24-bit BGR
// pixels and the rest filler.
inline constexpr size_t kBitmapInfoSize = 44;
inline constexpr uint32_t kBitmapChunkSlack = 256;  // S = 3 * width + this
// No screen is larger, and bitmap coordinates are 16-bit in places. The area
// bound (an 8K screen is half of it) keeps the bitmap that a reader makes
// from a hostile block within a few hundred megabytes.
inline constexpr int32_t kBitmapMaxSide = 32767;
inline constexpr int64_t kBitmapMaxPixels = int64_t(1) << 26;
inline constexpr char kNotCapturedText[] = "Not Captured";
inline constexpr char kMemoryErrorText[] = "Memory Error.";

struct BitmapShape {
    int32_t width = 0;
    int32_t height = 0;
    uint32_t chunkSize = 0;  // S
};

uint32_t BitmapChunkSize(int32_t width);
size_t BitmapLineBytes(int32_t width);  // 3 * width rounded up to a multiple of 4

// S = 0, then reason and its NUL unless reason is null (snapshots off).
PipeReply NoBitmapReply(const char* reason);
// The info block of a width x height snapshot as the daemon writes it; the
// fields that carry no meaning are zero.
std::string BitmapInfoBlock(int32_t width, int32_t height);

// ---- Reading ------------------------------------------------------------

class ByteSource {
public:
    virtual ~ByteSource() = default;
    // Up to size bytes into buffer; how many came, 0 at the end of the data,
    // on a failure or when the source gave up waiting.
    virtual size_t ReadSome(void* buffer, size_t size) = 0;
};

// Exactly size bytes, across as many partial reads as the source gives.
bool ReadExact(ByteSource& source, void* buffer, size_t size);

struct DesktopInformation {
    bool headerRead = false;  // count and current index arrived
    uint32_t count = 0;       // as announced
    int32_t currentIndex = -1;
    std::vector<DesktopRecord> desktops;  // the records read completely, record i with index i

    const DesktopRecord* Current() const;
    // Case-sensitive, as desktop object names are compared by the system.
    const DesktopRecord* FindById(const char* id) const;
};

// kOk when every announced record arrived intact, else kCommunicationError;
// what was read completely before the fault stays in info.
QueryResult ReadInformation(ByteSource& source, DesktopInformation* info);

// A single-text reply: at most kSingleTextMax bytes are taken from the
// source and the text ends at its NUL. A text that fills the buffer without
// one is cut to kSingleTextMax - 1 bytes (never inside a double-byte
// character); data that ends before its NUL is kCommunicationError.
QueryResult ReadSingleText(ByteSource& source, std::string* text);

// Where the scan lines of a snapshot go: a bitmap, or raw bytes.
class BitmapLineSink {
public:
    virtual ~BitmapLineSink() = default;
    // The shape has been checked against every limit before this is called;
    // false when the sink has no room for it.
    virtual bool Begin(const BitmapShape& shape) = 0;
    // Scan line `line` (0 is the bottom one): shape.chunkSize bytes.
    virtual void Line(int32_t line, const unsigned char* chunk) = 0;
};

// Reads a snapshot reply. S and the info block are checked before anything
// is allocated for them: S must be 3 * biWidth + 256, biSize 40, one plane,
// 24 bits, BI_RGB, both sides from 1 to kBitmapMaxSide and the area within
// kBitmapMaxPixels; a reply that breaks any of these is kCommunicationError
// and nothing past the block is read. The first line that does not arrive
// whole ends the reading with kCommunicationError; the lines before it stay
// with the sink. linesRead (may be null) receives how many it got.
QueryResult ReadBitmap(ByteSource& source, BitmapLineSink& sink, int32_t* linesRead = nullptr);

// The snapshot as bytes, without GDI: each line's pixels, filler dropped.
class BitmapLines : public BitmapLineSink {
public:
    bool Begin(const BitmapShape& shape) override;
    void Line(int32_t line, const unsigned char* chunk) override;

    BitmapShape shape;
    std::vector<std::string> lines;  // lines[i] is scan line i: BitmapLineBytes(width) bytes
};

// How many of the first limit bytes of text can be kept without splitting a
// Shift-JIS double-byte character.
size_t SjisCutLength(const char* text, size_t limit);

}  // namespace qv

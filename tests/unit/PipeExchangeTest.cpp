// Both ends of the query pipe against each other: a fake desktop thread
// answers through the daemon's own answering code, and the shared client asks.
#include <windows.h>

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <thread>
#include <vector>

#include "Desktops.h"
#include "FakeDaemon.h"
#include "Handle.h"
#include "PipeAnswer.h"
#include "PipeClient.h"
#include "TestFiles.h"

namespace {

using qv::AnswerResult;
using qv::DesktopInformation;
using qv::PipeClient;
using qv::QueryResult;
using qvtest::FakeDaemon;

const std::vector<qv::DesktopRecord> kRing = {
    {"Default", 1024, 768, "ホーム", 0}, {"User_Desktop0", 800, 600, "", 0}, {"User_Desktop1", 640, 480, "D1", 0}};

// Answers requests 3, 5, 6 and 11 as the daemon does, desktop `current` of ring being current.
FakeDaemon::Behaviour Answering(const std::string& name, int32_t current = 1,
                                const std::vector<qv::DesktopRecord>& ring = kRing) {
    FakeDaemon::Behaviour b;
    b.onRequest = [=](unsigned request) {
        if (request == 3) qv::AnswerNumberOfDesktops(static_cast<int>(ring.size()));
        if (request == 5) qv::AnswerDesktopName(name.c_str());
        if (request == 6) qv::AnswerCurrentDesktopId(ring[current].id.c_str());
        if (request == 11) qv::AnswerInformation(current, ring);
    };
    return b;
}

qv::QueryTimeouts Short(unsigned long answerMs, unsigned long readMs) {
    qv::QueryTimeouts t;
    t.answerMs = answerMs;
    t.readMs = readMs;
    return t;
}

DWORD Since(DWORD start) { return GetTickCount() - start; }

// All cases share the one pipe name and the default desktop with any other
// test process running at the same time, so they take turns.
class PipeExchange : public ::testing::Test {
protected:
    void SetUp() override {
        m_turn.Reset(CreateMutexA(nullptr, FALSE, "QuorvelPipeExchangeTests"));
        ASSERT_TRUE(m_turn);
        DWORD wait = WaitForSingleObject(m_turn.Get(), 45000);
        ASSERT_TRUE(wait == WAIT_OBJECT_0 || wait == WAIT_ABANDONED);
        m_owned = true;
    }
    void TearDown() override {
        // Whatever the outcome, the asker has closed its instance: nothing is left to open.
        qv::UniqueHandle left(CreateFileA(qv::kQueryPipeName, GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr));
        EXPECT_FALSE(left) << "a pipe instance was left open";
        if (m_owned) ReleaseMutex(m_turn.Get());
    }

    qvtest::LogCapture log;

private:
    qv::UniqueHandle m_turn;
    bool m_owned = false;
};

TEST_F(PipeExchange, EveryAnswerReachesTheAskerOnItsOwnDesktop) {
    FakeDaemon daemon("", Answering("ﾃﾞｽｸﾄｯﾌﾟ"));
    PipeClient client;
    int32_t count = 0;
    EXPECT_EQ(client.AskNumberOfDesktops(&count), QueryResult::kOk);
    EXPECT_EQ(count, 3);
    std::string name, id;
    EXPECT_EQ(client.AskDesktopName(&name), QueryResult::kOk);
    EXPECT_EQ(name, "ﾃﾞｽｸﾄｯﾌﾟ");
    EXPECT_EQ(client.AskCurrentDesktopId(&id), QueryResult::kOk);
    EXPECT_EQ(id, "User_Desktop0");
    DesktopInformation info;
    ASSERT_EQ(client.AskInformation(&info), QueryResult::kOk);
    ASSERT_EQ(info.desktops.size(), 3u);
    EXPECT_EQ(info.desktops[1].name, "User_Desktop0");
    EXPECT_EQ(info.Current(), &info.desktops[1]);
    std::string own;
    ASSERT_TRUE(qv::ThreadDesktopName(&own));
    EXPECT_EQ(info.FindById(own.c_str()), &info.desktops[0]);  // the asker's home desktop

    EXPECT_EQ(daemon.Requests(), 4);
    ASSERT_TRUE(daemon.WaitAnswered(4, 5000));
    EXPECT_EQ(log.Text(), qvtest::Crlf("Respons : Number of Desktops=(3)\n"
                                       "Respons : Desktop Name = (ﾃﾞｽｸﾄｯﾌﾟ)\n"
                                       "Respons : Current DesktopID = (User_Desktop0)\n"
                                       "Respons : Information OK\n"));
}

TEST_F(PipeExchange, AWorkerReachesOnlyTheWindowOfItsDesktop) {
    qvtest::TestDesktop desktop;
    FakeDaemon there(desktop.Name(), Answering("離れ"));
    FakeDaemon here("", Answering("ホーム"));
    std::string name;
    EXPECT_EQ(PipeClient(desktop.Name()).AskDesktopName(&name), QueryResult::kOk);
    EXPECT_EQ(name, "離れ");
    EXPECT_EQ(PipeClient().AskDesktopName(&name), QueryResult::kOk);
    EXPECT_EQ(name, "ホーム");
    EXPECT_EQ(there.Requests(), 1);
    EXPECT_EQ(here.Requests(), 1);

    bool named = false;
    ASSERT_TRUE(qvtest::RunOnDesktop(desktop.Name(), [&] { named = qv::ThreadDesktopName(&name); }));
    EXPECT_TRUE(named);
    EXPECT_EQ(name, desktop.Name());
}

TEST_F(PipeExchange, NoWindowNoQuestion) {
    qvtest::TestDesktop empty;
    FakeDaemon elsewhere("", Answering("x"));
    std::string name;
    EXPECT_EQ(PipeClient(empty.Name()).AskDesktopName(&name), QueryResult::kNotFound);
    EXPECT_EQ(PipeClient("QVTest_NoSuchDesktop").CheckVersion(), QueryResult::kAttachFailed);
    EXPECT_EQ(elsewhere.Requests(), 0);
}

TEST_F(PipeExchange, TheVersionMustBeAtLeast0x200Unsigned) {
    const struct {
        uint32_t version;
        bool accepted;
    } cases[] = {{0, false}, {0x1FF, false}, {0x200, true}, {0xFFFFFFFF, true}};
    for (const auto& c : cases) {
        FakeDaemon::Behaviour b = Answering("名前");
        b.version = c.version;
        FakeDaemon daemon("", b);
        uint32_t version = 1;
        QueryResult expected = c.accepted ? QueryResult::kOk : QueryResult::kVersionTooOld;
        EXPECT_EQ(PipeClient().CheckVersion(&version), expected) << c.version;
        EXPECT_EQ(version, c.version);
        std::string name;
        EXPECT_EQ(PipeClient().AskDesktopName(&name), expected) << c.version;
        EXPECT_EQ(daemon.Requests(), c.accepted ? 1 : 0) << c.version;  // a refused daemon is asked nothing
    }
    // A window too busy to answer in time counts as refusing.
    FakeDaemon::Behaviour slow = Answering("x");
    slow.versionDelayMs = 3000;
    FakeDaemon daemon("", slow);
    DWORD start = GetTickCount();
    EXPECT_EQ(PipeClient(std::string(), Short(300, 10000)).CheckVersion(), QueryResult::kVersionTooOld);
    EXPECT_LT(Since(start), 2500u);
}

TEST_F(PipeExchange, ADaemonThatNeverConnectsIsGivenUpAfterTheBound) {
    FakeDaemon daemon("", FakeDaemon::Behaviour());  // takes the question and ignores it
    const DWORD bound = qv::QueryTimeouts().connectMs;
    DesktopInformation info;
    DWORD start = GetTickCount();
    EXPECT_EQ(PipeClient().AskInformation(&info), QueryResult::kNoConnection);
    DWORD took = Since(start);
    EXPECT_GE(took + 200, bound);  // tick granularity
    EXPECT_LT(took, bound + 4000);
    EXPECT_EQ(daemon.Requests(), 1);
}

TEST_F(PipeExchange, AReplyThatBreaksOffEndsTheReading) {
    // Two desktops announced, one sent whole, then the daemon closes: no
    // read waits, and the whole record stays.
    FakeDaemon::Behaviour cut;
    cut.onRequest = [](unsigned) {
        qv::PipeReply reply = qv::InformationReply(0, {kRing[0], kRing[1]});
        qv::PipeReply shortened;
        for (size_t i = 0; i < 8; ++i) shortened.AddBytes(reply.Fields()[i].data(), reply.Fields()[i].size());
        shortened.AddBytes("\x0E\0\0\0User_D", 10);
        qv::SendPipeReply("Information", shortened, true);
    };
    // The header, then silence with the pipe held open: the read gives up.
    FakeDaemon::Behaviour silent;
    silent.onRequest = [](unsigned) {
        qv::ReplyChannel channel("Information", 10000);
        if (channel.Open(true) != AnswerResult::kSent) return;
        int32_t header[2] = {3, 0};
        channel.Write(header, sizeof(header));
        Sleep(3000);
    };
    // A byte now and then, each well within the read's bound: the bound on
    // the whole reply ends it.
    FakeDaemon::Behaviour trickling;
    trickling.onRequest = [](unsigned) {
        qv::ReplyChannel channel("Information", 10000);
        if (channel.Open(true) != AnswerResult::kSent) return;
        int32_t header[2] = {3, 0};
        channel.Write(header, sizeof(header));
        channel.Write("\x0E\0\0\0", 4);  // an ID of 14 bytes, sent one by one
        for (const char* c = "User_Desktop01"; *c && channel.Write(c, 1); ++c) Sleep(200);
    };
    const struct {
        const char* what;
        FakeDaemon::Behaviour behaviour;
        size_t records;
    } cases[] = {{"closed early", cut, 1}, {"fell silent", silent, 0}, {"trickled", trickling, 0}};
    for (const auto& c : cases) {
        FakeDaemon daemon("", c.behaviour);
        DesktopInformation info;
        qv::QueryTimeouts timeouts = Short(5000, 300);
        timeouts.replyMs = 1000;
        DWORD start = GetTickCount();
        EXPECT_EQ(PipeClient(std::string(), timeouts).AskInformation(&info), QueryResult::kCommunicationError)
            << c.what;
        EXPECT_LT(Since(start), 2500u) << c.what;
        EXPECT_TRUE(info.headerRead) << c.what;
        EXPECT_EQ(info.desktops.size(), c.records) << c.what;
    }
}

TEST_F(PipeExchange, TheDaemonLogsWhatFailsItsAnswer) {
    // Nobody asking: the text answers log the failed wait, Information and
    // the bitmap stay quiet.
    EXPECT_EQ(qv::AnswerNumberOfDesktops(3), AnswerResult::kWaitFailed);
    EXPECT_EQ(qv::AnswerDesktopName("x"), AnswerResult::kWaitFailed);
    EXPECT_EQ(qv::AnswerCurrentDesktopId("x"), AnswerResult::kWaitFailed);
    EXPECT_EQ(qv::AnswerInformation(0, kRing), AnswerResult::kWaitFailed);
    EXPECT_EQ(qv::AnswerBitmap(nullptr, 4), AnswerResult::kWaitFailed);
    std::string text = log.Text();
    size_t lines = 0;
    for (size_t at = 0; (at = text.find("WaitNamedPipe Error. Reason=", at)) != std::string::npos; ++at) ++lines;
    EXPECT_EQ(lines, 3u) << text;
    EXPECT_EQ(text.find("Respons"), std::string::npos);

    // An instance that only sends: the wait succeeds, the open for writing
    // fails, and that is logged even for Information and the bitmap.
    qv::UniqueHandle wrongWay(CreateNamedPipeA(qv::kQueryPipeName, PIPE_ACCESS_OUTBOUND, 0, 1, 64, 64, 10000, nullptr));
    ASSERT_TRUE(wrongWay);
    EXPECT_EQ(qv::AnswerInformation(0, kRing), AnswerResult::kOpenFailed);
    EXPECT_EQ(log.Text().find("CreateFile  Error. Reason=", text.size()), text.size()) << log.Text();
    std::string before = log.Text();
    EXPECT_EQ(qv::AnswerBitmap(nullptr, 4), AnswerResult::kOpenFailed);
    EXPECT_EQ(log.Text().find("CreateFile  Error. Reason=", before.size()), before.size()) << log.Text();
    EXPECT_EQ(log.Text().find("Respons"), std::string::npos);
}

// ---- The snapshot ---------------------------------------------------------

const COLORREF kMark = RGB(0x12, 0x34, 0x56);
// Odd top and left edges: a swap of neighbouring lines or pixels moves an edge.
const RECT kMarkRect = {11, 21, 74, 52};

// A snapshot as the daemon keeps one: compatible with the screen, white, with
// one rectangle in a known colour, and selected into no DC.
qv::UniqueBitmap MarkedSnapshot(int width, int height) {
    HDC screen = GetDC(nullptr);
    qv::UniqueBitmap bitmap(CreateCompatibleBitmap(screen, width, height));
    HDC memory = CreateCompatibleDC(screen);
    if (bitmap && memory) {
        HGDIOBJ old = SelectObject(memory, bitmap.Get());
        RECT all = {0, 0, width, height};
        FillRect(memory, &all, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
        HBRUSH mark = CreateSolidBrush(kMark);
        FillRect(memory, &kMarkRect, mark);
        DeleteObject(mark);
        SelectObject(memory, old);
    }
    if (memory) DeleteDC(memory);
    ReleaseDC(nullptr, screen);
    return bitmap;
}

// Pixel x of a 24-bit DIB line, stored blue first.
COLORREF LinePixel(const std::string& line, int x) {
    return RGB(static_cast<unsigned char>(line[3 * x + 2]), static_cast<unsigned char>(line[3 * x + 1]),
               static_cast<unsigned char>(line[3 * x]));
}

COLORREF BitmapPixel(HBITMAP bitmap, int x, int y) {
    HDC memory = CreateCompatibleDC(nullptr);
    HGDIOBJ old = SelectObject(memory, bitmap);
    COLORREF colour = GetPixel(memory, x, y);
    SelectObject(memory, old);
    DeleteDC(memory);
    return colour;
}

// Where the mark must and must not be in a 192-line snapshot, as top-down
// points: its corners inside, their neighbours outside.
void ExpectMarkAt(const std::function<COLORREF(int x, int y)>& pixel, const char* what) {
    const POINT inside[] = {{11, 21}, {73, 21}, {11, 51}, {73, 51}};
    const POINT outside[] = {{10, 21}, {74, 21}, {11, 20}, {11, 52}, {255, 0}, {0, 191}};
    for (POINT p : inside) EXPECT_EQ(pixel(p.x, p.y), kMark) << what << " at " << p.x << "," << p.y;
    for (POINT p : outside) EXPECT_EQ(pixel(p.x, p.y), RGB(255, 255, 255)) << what << " at " << p.x << "," << p.y;
}

// Plays the asker with a message-type pipe, so that each WriteFile of the
// answer arrives as a message of its own. Every wait is bounded.
std::vector<std::string> WritesOf(const std::function<void()>& answer) {
    std::vector<std::string> writes;
    qv::UniqueHandle pipe(CreateNamedPipeA(qv::kQueryPipeName, PIPE_ACCESS_INBOUND | FILE_FLAG_OVERLAPPED,
                                           PIPE_TYPE_MESSAGE | PIPE_READMODE_MESSAGE | PIPE_WAIT, 1, 8192, 8192, 10000,
                                           nullptr));
    qv::UniqueHandle event(CreateEventA(nullptr, TRUE, FALSE, nullptr));
    if (!pipe || !event) {
        ADD_FAILURE() << "no pipe to listen on";
        return writes;
    }
    std::thread daemon(answer);
    std::string buffer(0x100000, '\0');  // larger than any one write
    auto wait = [&](OVERLAPPED* ov, DWORD* bytes) {
        if (WaitForSingleObject(event.Get(), 5000) != WAIT_OBJECT_0) {
            ADD_FAILURE() << "the answer stalled";
            CancelIo(pipe.Get());
        }
        return GetOverlappedResult(pipe.Get(), ov, bytes, TRUE) != FALSE;
    };
    OVERLAPPED ov = {};
    ov.hEvent = event.Get();
    DWORD bytes = 0;
    // The answer may connect, or even write everything and close, before
    // the listening starts; what it wrote is still there to read.
    bool connected = ConnectNamedPipe(pipe.Get(), &ov) || GetLastError() == ERROR_PIPE_CONNECTED ||
                     GetLastError() == ERROR_NO_DATA || (GetLastError() == ERROR_IO_PENDING && wait(&ov, &bytes));
    while (connected) {
        ov = OVERLAPPED();
        ov.hEvent = event.Get();
        if (!ReadFile(pipe.Get(), buffer.data(), static_cast<DWORD>(buffer.size()), nullptr, &ov) &&
            GetLastError() != ERROR_IO_PENDING)
            break;  // the answer is complete and its end closed
        if (!wait(&ov, &bytes)) break;
        writes.emplace_back(buffer.data(), bytes);
    }
    pipe.Reset();  // an answer still writing fails at once instead of blocking
    daemon.join();
    return writes;
}

TEST_F(PipeExchange, TheBitmapAnswerHasItsFourShapes) {
    qv::UniqueBitmap snapshot = MarkedSnapshot(256, 192);
    ASSERT_TRUE(snapshot);
    const std::string zero(4, '\0');

    // Snapshots off: the size 0 alone, whether or not a snapshot is kept.
    for (int keep : {0, -1})
        EXPECT_EQ(WritesOf([&] { qv::AnswerBitmap(snapshot.Get(), keep); }), std::vector<std::string>{zero}) << keep;
    EXPECT_EQ(WritesOf([&] { qv::AnswerBitmap(nullptr, 4); }),
              (std::vector<std::string>{zero + std::string("Not Captured\0", 13)}));

    // Writes are joined for speed, but never split a field or a line: an
    // asker that reads each with one exact-size read still gets it whole.
    std::vector<std::string> writes = WritesOf([&] { qv::AnswerBitmap(snapshot.Get(), 4); });
    ASSERT_FALSE(writes.empty());
    EXPECT_EQ(writes[0].size(), 48u);
    std::string bytes;
    for (size_t i = 0; i < writes.size(); ++i) {
        if (i > 0) {
            EXPECT_EQ(writes[i].size() % 1024, 0u) << "write " << i;
        }
        bytes += writes[i];
    }
    ASSERT_EQ(bytes.size(), 48u + 192 * 1024);
    EXPECT_EQ(bytes.substr(0, 4), std::string("\x00\x04\0\0", 4));
    // biSize, biWidth, biHeight (positive: bottom-up), biPlanes, biBitCount, BI_RGB; biClrUsed
    EXPECT_EQ(bytes.substr(4, 20), std::string("\x28\0\0\0\0\x01\0\0\xC0\0\0\0\x01\0\x18\0\0\0\0\0", 20));
    EXPECT_EQ(bytes.substr(4 + 32, 4), std::string(4, '\0'));
    // Line i is the i-th from the bottom; the filler behind it stays zero.
    auto scanLine = [&](int i) { return bytes.substr(48 + size_t(i) * 1024, 1024); };
    ExpectMarkAt([&](int x, int y) { return LinePixel(scanLine(191 - y), x); }, "written lines");
    for (int i = 0; i < 192; ++i) {
        ASSERT_EQ(scanLine(i).find_first_not_of('\0', 768), std::string::npos) << i;
    }

    std::string line = "Respons : DIB Bitmap OK\n";
    EXPECT_EQ(log.Text(), qvtest::Crlf(line + line + line + line));
}

// Answers request 7 with the daemon's own answer.
FakeDaemon::Behaviour Snapshotting(HBITMAP snapshot, int keep) {
    FakeDaemon::Behaviour b;
    b.onRequest = [=](unsigned request) {
        if (request == 7) qv::AnswerBitmap(snapshot, keep);
    };
    return b;
}

TEST_F(PipeExchange, ASnapshotComesBackAsABitmapOfTheAskersScreen) {
    qv::UniqueBitmap snapshot = MarkedSnapshot(256, 192);
    ASSERT_TRUE(snapshot);
    HDC screen = GetDC(nullptr);
    const int screenBits = GetDeviceCaps(screen, BITSPIXEL) * GetDeviceCaps(screen, PLANES);
    ReleaseDC(nullptr, screen);

    qvtest::TestDesktop desktop;
    for (const std::string& where : {std::string(), desktop.Name()}) {
        FakeDaemon daemon(where, Snapshotting(snapshot.Get(), 4));
        qv::ScreenSnapshot got;
        ASSERT_EQ(PipeClient(where).AskBitmap(&got), QueryResult::kOk) << where;
        ASSERT_TRUE(got.bitmap) << where;
        EXPECT_EQ(got.linesRead, 192);
        BITMAP shape = {};
        ASSERT_EQ(GetObjectA(got.bitmap.Get(), sizeof(shape), &shape), static_cast<int>(sizeof(shape)));
        EXPECT_EQ(shape.bmWidth, 256);
        EXPECT_EQ(shape.bmHeight, 192);
        EXPECT_EQ(shape.bmBitsPixel * shape.bmPlanes, screenBits) << "not a bitmap of the screen";
        const char* what = where.empty() ? "own desktop" : where.c_str();
        ExpectMarkAt([&](int x, int y) { return BitmapPixel(got.bitmap.Get(), x, y); }, what);
    }

    FakeDaemon daemon("", Snapshotting(snapshot.Get(), 4));
    qv::BitmapLines lines;
    int32_t read = 0;
    ASSERT_EQ(PipeClient().AskBitmap(lines, &read), QueryResult::kOk);
    EXPECT_EQ(read, 192);
    ASSERT_EQ(lines.lines.size(), 192u);
    ExpectMarkAt([&](int x, int y) { return LinePixel(lines.lines[191 - y], x); }, "raw lines");
}

TEST_F(PipeExchange, NoSnapshotNoBitmap) {
    qv::UniqueBitmap snapshot = MarkedSnapshot(16, 16);
    const struct {
        HBITMAP snapshot;
        int keep;
    } cases[] = {{snapshot.Get(), 0}, {nullptr, 4}};
    for (const auto& c : cases) {
        FakeDaemon daemon("", Snapshotting(c.snapshot, c.keep));
        qv::ScreenSnapshot got;
        EXPECT_EQ(PipeClient().AskBitmap(&got), QueryResult::kNoBitmap) << c.keep;
        EXPECT_FALSE(got.bitmap);
    }
}

TEST_F(PipeExchange, AMalformedSnapshotEndsPromptlyWithWhatCameWhole) {
    auto head = [](uint32_t chunkSize, int32_t width, int32_t height) {
        qv::PipeReply reply;
        reply.AddInt32(static_cast<int32_t>(chunkSize));
        std::string block = qv::BitmapInfoBlock(width, height);
        reply.AddBytes(block.data(), block.size());
        return reply;
    };
    auto writing = [](qv::PipeReply reply, int lines, DWORD thenHoldMs = 0) {
        FakeDaemon::Behaviour b;
        b.onRequest = [=](unsigned) {
            qv::ReplyChannel channel("DIB Bitmap", 10000);
            if (channel.Open(true) != AnswerResult::kSent) return;
            channel.Write(reply);
            const std::string chunk(3 * 256 + 256, '\x40');
            for (int i = 0; i < lines; ++i) channel.Write(chunk.data(), chunk.size());
            Sleep(thenHoldMs);
        };
        return b;
    };
    qv::PipeReply cutBlock;
    cutBlock.AddInt32(1024);
    cutBlock.AddBytes(qv::BitmapInfoBlock(256, 192).data(), 20);
    const struct {
        const char* what;
        FakeDaemon::Behaviour behaviour;
        QueryResult result;
        int32_t lines;
    } cases[] = {
        {"block cut short", writing(cutBlock, 0), QueryResult::kInfoNotRead, 0},
        {"oversized chunk size", writing(head(0xFFFFFFF0, 256, 192), 3), QueryResult::kCommunicationError, 0},
        {"size that disagrees with the width", writing(head(1024, 300, 192), 3), QueryResult::kCommunicationError, 0},
        {"negative height", writing(head(1024, 256, -192), 3), QueryResult::kCommunicationError, 0},
        {"huge height", writing(head(1024, 256, 0x7FFFFFFF), 3), QueryResult::kCommunicationError, 0},
        {"lines cut off", writing(head(1024, 256, 192), 100), QueryResult::kCommunicationError, 100},
        // The tallest screen there can be, then silence with the pipe held open.
        {"fell silent", writing(head(1024, 256, 32767), 5, 3000), QueryResult::kCommunicationError, 5},
    };
    for (const auto& c : cases) {
        FakeDaemon daemon("", c.behaviour);
        qv::ScreenSnapshot got;
        DWORD start = GetTickCount();
        EXPECT_EQ(PipeClient(std::string(), Short(5000, 300)).AskBitmap(&got), c.result) << c.what;
        EXPECT_LT(Since(start), 2500u) << c.what;
        EXPECT_EQ(got.linesRead, c.lines) << c.what;
        // A bitmap is made only for a shape that passed every check.
        EXPECT_EQ(static_cast<bool>(got.bitmap), c.result == QueryResult::kCommunicationError && c.lines > 0)
            << c.what;
        if (c.lines > 0) {
            EXPECT_EQ(BitmapPixel(got.bitmap.Get(), 0, got.shape.height - 1), RGB(0x40, 0x40, 0x40)) << c.what;
        }
    }
}

}  // namespace

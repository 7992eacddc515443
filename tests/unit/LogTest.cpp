#include "Log.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <memory>
#include <set>
#include <string>
#include <thread>
#include <vector>

#include "FileTurn.h"
#include "Handle.h"
#include "TestFiles.h"

namespace {

using qvtest::ReadBytes;

const char kRestart[] = "Logfile was Refreshed.  [MAX=%d Bytes.]\n";

// The log opened as another program reads it: the access and sharing of
// fopen(path, "rb").
qv::UniqueHandle OpenAsReader(const std::string& path) {
    return qv::UniqueHandle(
        CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0, nullptr));
}

std::string RestartLine(int limit) {
    char text[64];
    std::snprintf(text, sizeof(text), kRestart, limit);
    return qvtest::Crlf(text);
}

TEST(Log, WritesMessagesWholeInTextMode) {
    qvtest::TempDir dir;
    std::string path = dir.File("q.log");
    qv::LogFile log;
    log.SetLogFile(path.c_str(), 4096);
    EXPECT_FALSE(qvtest::FileExists(path));  // nothing until the first message
    log.WriteLog("Thread %d started.\n", 3);
    log.WriteLog("no line end");
    log.WriteLog(" --- %s ---\n", "end");
    EXPECT_EQ(ReadBytes(path), "Thread 3 started.\r\nno line end --- end ---\r\n");
}

TEST(Log, SetLogFileStartsTheFileAfresh) {
    qvtest::TempDir dir;
    std::string path = dir.File("q.log");
    qvtest::WriteBytes(path, "old run\r\n");
    qv::LogFile log;
    log.SetLogFile(path.c_str(), 4096);
    EXPECT_FALSE(qvtest::FileExists(path));
    log.WriteLog("new\n");
    EXPECT_EQ(ReadBytes(path), "new\r\n");
}

TEST(Log, AppendToLogFileNeitherDeletesNorRestartsAnotherWritersFile) {
    qvtest::TempDir dir;
    std::string path = dir.File("q.log");
    qv::LogFile running;
    running.SetLogFile(path.c_str(), 16);
    running.WriteLog("running copy line\n");  // past that writer's limit already
    EXPECT_TRUE(qv::AppendToLogFile(path.c_str(), "second copy %d\n", 10));
    EXPECT_EQ(ReadBytes(path), "running copy line\r\nsecond copy 10\r\n");
    std::string fresh = dir.File("fresh.log");
    EXPECT_TRUE(qv::AppendToLogFile(fresh.c_str(), "x\n"));
    EXPECT_EQ(ReadBytes(fresh), "x\r\n");
    EXPECT_FALSE(qv::AppendToLogFile(dir.Path().c_str(), "x\n")) << "a folder";
    EXPECT_FALSE(qv::AppendToLogFile("", "x\n"));
}

TEST(Log, NothingIsWrittenWithoutNameOrPositiveLimit) {
    qvtest::TempDir dir;
    for (int limit : {0, -1}) {
        std::string path = dir.File(("limit" + std::to_string(limit)).c_str());
        qv::LogFile log;
        log.SetLogFile(path.c_str(), limit);
        log.WriteLog("x\n");
        EXPECT_FALSE(qvtest::FileExists(path)) << limit;
    }
    qv::LogFile unnamed;
    unnamed.SetLogFile("", 4096);
    unnamed.WriteLog("x\n");
    EXPECT_TRUE(unnamed.Enabled());
}

TEST(Log, RestartsOnlyWhenStrictlyLargerThanTheLimit) {
    qvtest::TempDir dir;
    std::string path = dir.File("q.log");
    qv::LogFile log;
    const int limit = 20;
    log.SetLogFile(path.c_str(), limit);
    log.WriteLog("123456789012345678\n");  // 18 + CR LF = exactly the limit
    ASSERT_EQ(ReadBytes(path).size(), 20u);
    log.WriteLog("a");  // at the limit: appended
    EXPECT_EQ(ReadBytes(path), "123456789012345678\r\na");
    log.WriteLog("b\n");  // 21 bytes now: restarted first
    EXPECT_EQ(ReadBytes(path), RestartLine(limit) + "b\r\n");
}

TEST(Log, MessageLargerThanTheLimitIsWrittenWholeThenRestarted) {
    qvtest::TempDir dir;
    std::string path = dir.File("q.log");
    qv::LogFile log;
    log.SetLogFile(path.c_str(), 10);
    std::string big(50, 'z');
    log.WriteLog("%s\n", big.c_str());
    EXPECT_EQ(ReadBytes(path), big + "\r\n");
    log.WriteLog("next\n");
    EXPECT_EQ(ReadBytes(path), RestartLine(10) + "next\r\n");
}

TEST(Log, OpenFailureSwitchesLoggingOffForGood) {
    qvtest::TempDir dir;
    std::string missing = dir.File("no such folder\\q.log");
    std::string later = dir.File("q.log");
    qv::LogFile log;
    log.SetLogFile(missing.c_str(), 4096);
    log.WriteLog("lost\n");
    EXPECT_FALSE(log.Enabled());
    log.SetLogFile(later.c_str(), 4096);  // a new name does not bring it back
    log.WriteLog("also lost\n");
    EXPECT_FALSE(qvtest::FileExists(later));
}

TEST(Log, OverlongNameIsRefusedRatherThanCut) {
    qvtest::TempDir dir;
    std::string name = dir.File("") + std::string(600, 'n');
    std::string cut = name.substr(0, qv::LogFile::kMaxName);
    qv::LogFile log;
    log.SetLogFile(name.c_str(), 4096);
    log.WriteLog("x\n");
    EXPECT_FALSE(qvtest::FileExists(cut));
}

TEST(Log, ThreadsLoggingAtOnceLoseAndTearNoLine) {
    qvtest::TempDir dir;
    std::string path = dir.File("q.log");
    qv::LogFile log;
    log.SetLogFile(path.c_str(), 1 << 24);
    const int kThreads = 6, kLines = 250;
    std::vector<std::thread> threads;
    for (int t = 0; t < kThreads; ++t)
        threads.emplace_back([&log, t] {
            for (int i = 0; i < kLines; ++i) log.WriteLog("thread %d line %03d %s\n", t, i, "padding-padding-padding");
        });
    for (auto& th : threads) th.join();

    std::string text = ReadBytes(path);
    std::set<std::string> seen;
    size_t start = 0;
    for (size_t end; (end = text.find("\r\n", start)) != std::string::npos; start = end + 2)
        seen.insert(text.substr(start, end - start));
    EXPECT_EQ(start, text.size());
    EXPECT_EQ(seen.size(), static_cast<size_t>(kThreads * kLines));
    for (int t = 0; t < kThreads; ++t)
        for (int i = 0; i < kLines; ++i) {
            char line[64];
            std::snprintf(line, sizeof(line), "thread %d line %03d padding-padding-padding", t, i);
            EXPECT_EQ(seen.count(line), 1u) << line;
        }
}

// A line logged in pieces while its work goes on: whatever else is logged
// meanwhile, by this thread or another, comes before it, never inside it.
TEST(Log, ALineOfPiecesReachesTheLogWhole) {
    qvtest::LogCapture capture;
    {
        qv::LogLine line;
        line.Add("Wnd=%08X PID=%4d(%s) : ", 0x1009Cu, 56, "app.exe");
        line.Add("->");
        std::thread([] { qv::WriteLog("Respons : Information OK\n"); }).join();
        line.Add(" WM_CLOSE(%d[s]). ", 0);
        line.Add("\n");
        qv::WriteLog("meanwhile\n");
    }
    qv::LogLine written;
    written.Add("Kill Check (%s) : ", std::string(300, 'x').c_str());
    written.Add("Already End.\n");
    written.Write();
    written.Write();  // once only
    EXPECT_EQ(capture.Text(), qvtest::Crlf("Respons : Information OK\nmeanwhile\n"
                                           "Wnd=0001009C PID=  56(app.exe) : -> WM_CLOSE(0[s]). \n"
                                           "Kill Check (" + std::string(300, 'x') + ") : Already End.\n"));
}

TEST(Log, ProcessWideFunctionsShareOneLog) {
    qvtest::TempDir dir;
    std::string path = dir.File("q.log");
    qv::SetLogFile(path.c_str(), 4096);
    qv::WriteLog("--- Program End Code=%d ---\n", 0);
    qv::SetLogFile("", 0);
    qv::WriteLog("dropped\n");
    EXPECT_EQ(ReadBytes(path), "--- Program End Code=0 ---\r\n");
}

// Threads of this process log while another writer appends, as a second
// copy of the daemon started with -X does. Writers 0 to 3 are threads
// logging through one LogFile, writer 4 appends through AppendToLogFile; line
// lengths fall on both sides of the formatter's first buffer.
const int kWriters = 5, kAppender = 4, kWriterLines = 200;

std::string WriterLine(int writer, int index) {
    return qvtest::Format("writer %d line %04d ", writer, index) + std::string(100 + 250 * writer, 'a' + writer) + "\n";
}

// Runs every writer at once; written[w] receives the lines writer w reports
// written, in order (an append can fail while a restart deletes the file).
std::string RunWriters(const std::string& path, int limit, std::vector<std::vector<int>>& written) {
    written.assign(kWriters, {});
    {
        qv::LogFile log;
        log.SetLogFile(path.c_str(), limit);
        std::vector<std::thread> threads;
        for (int w = 0; w < kWriters; ++w)
            threads.emplace_back([&, w] {
                for (int i = 0; i < kWriterLines; ++i) {
                    const std::string line = WriterLine(w, i);
                    if (w != kAppender)
                        log.WriteLog("%s", line.c_str());
                    else if (!qv::AppendToLogFile(path.c_str(), "%s", line.c_str()))
                        continue;
                    written[w].push_back(i);
                }
            });
        for (auto& th : threads) th.join();
    }
    return ReadBytes(path);
}

TEST(Log, LinesStayWholeBesideAnotherWriterAndAcrossRestarts) {
    for (int limit : {1 << 24, 8000}) {
        SCOPED_TRACE(limit);
        qvtest::TempDir dir;
        const std::string path = dir.File("q.log");
        std::vector<std::vector<int>> written;
        const std::string text = RunWriters(path, limit, written);

        // Each writer's lines since the last restart line, in file order.
        std::vector<std::vector<int>> kept(kWriters);
        int restarts = 0;
        size_t start = 0;
        for (size_t end; (end = text.find("\r\n", start)) != std::string::npos; start = end + 2) {
            const std::string line = text.substr(start, end + 2 - start);
            if (line == RestartLine(limit)) {
                ++restarts;
                for (auto& k : kept) k.clear();
                continue;
            }
            int w = -1, i = -1;
            ASSERT_EQ(std::sscanf(line.c_str(), "writer %d line %d", &w, &i), 2) << "torn at " << start << ": " << line;
            ASSERT_TRUE(w >= 0 && w < kWriters && i >= 0 && i < kWriterLines) << line;
            ASSERT_EQ(line, qvtest::Crlf(WriterLine(w, i))) << "torn at " << start;
            kept[w].push_back(i);
        }
        EXPECT_EQ(start, text.size()) << "a torn last line";

        // Whatever came after the last restart is kept whole: each writer's
        // lines there are the tail of what it wrote, none lost or overwritten.
        if (limit == 1 << 24) {
            EXPECT_EQ(restarts, 0);
            EXPECT_EQ(written[kAppender].size(), static_cast<size_t>(kWriterLines)) << "nothing deleted it";
        } else {
            EXPECT_GT(restarts, 0);
        }
        for (int w = 0; w < kWriters; ++w) {
            ASSERT_LE(kept[w].size(), written[w].size()) << w;
            const std::vector<int> tail(written[w].end() - static_cast<std::ptrdiff_t>(kept[w].size()), written[w].end());
            EXPECT_EQ(kept[w], tail) << "writer " << w;
            if (restarts == 0) {
                EXPECT_EQ(kept[w].size(), written[w].size()) << "writer " << w;
            }
        }
    }
}

// A writer in another process that stops in the middle of its line keeps the
// file's turn: the log waits for it, but not for ever.
TEST(Log, AWriterStoppedInItsTurnHoldsTheLogUpForASecondAtMost) {
    qvtest::TempDir dir;
    const std::string path = dir.File("q.log");
    qv::LogFile log;
    log.SetLogFile(path.c_str(), 4096);
    log.WriteLog("before\n");
    qv::UniqueHandle other = OpenAsReader(path);
    ASSERT_TRUE(other) << GetLastError();
    qv::FileTurn turn(other.Get());
    ASSERT_TRUE(turn.Valid());
    turn.Take();

    qv::UniqueHandle written(CreateEventA(nullptr, TRUE, FALSE, nullptr));
    ASSERT_TRUE(written);
    const ULONGLONG start = GetTickCount64();
    std::thread writer([&] {
        log.WriteLog("after\n");
        SetEvent(written.Get());
    });
    const bool ended = WaitForSingleObject(written.Get(), 10000) == WAIT_OBJECT_0;
    const ULONGLONG waited = GetTickCount64() - start;
    turn.Give();  // lets a writer that waits for ever go, so that it can be joined
    writer.join();
    EXPECT_TRUE(ended) << "still waiting after 10 s";
    EXPECT_GE(waited, qv::FileTurn::kWaitMs - 100) << "wrote without waiting for the turn";
    EXPECT_EQ(ReadBytes(path), "before\r\nafter\r\n");
}

// The tests read a running program's log while it keeps the file open.
TEST(Log, AReaderHoldingTheFileSeesEachMessageAsWriteLogReturns) {
    qvtest::TempDir dir;
    const std::string path = dir.File("q.log");
    qv::LogFile log;
    log.SetLogFile(path.c_str(), 100);
    log.WriteLog("first\n");
    qv::UniqueHandle reader = OpenAsReader(path);
    ASSERT_TRUE(reader) << GetLastError();
    auto readOn = [&reader] {
        std::string bytes;
        char buffer[256];
        DWORD got = 0;
        while (ReadFile(reader.Get(), buffer, sizeof buffer, &got, nullptr) && got > 0) bytes.append(buffer, got);
        return bytes;
    };
    EXPECT_EQ(readOn(), "first\r\n");
    for (int i = 0; i < 3; ++i) {
        log.WriteLog("message %d, long enough to pass the limit\n", i);
        EXPECT_EQ(readOn(), qvtest::Crlf(qvtest::Format("message %d, long enough to pass the limit\n", i)));
    }
    // Past the limit, but the reader keeps the file from being deleted: the
    // restart appends, and the log goes on in the same file.
    log.WriteLog("held\n");
    EXPECT_EQ(readOn(), RestartLine(100) + "held\r\n");
    reader.Reset();
    log.WriteLog("let go\n");
    EXPECT_EQ(ReadBytes(path), RestartLine(100) + "let go\r\n");
}

// The handle goes with the name: at the next SetLogFile, even of the same
// name, and at the end of the LogFile.
TEST(Log, TheFileIsLetGoAtTheNextSetLogFileAndAtTheEnd) {
    qvtest::TempDir dir;
    const std::string first = dir.File("first.log"), second = dir.File("second.log");
    {
        qv::LogFile log;
        log.SetLogFile(first.c_str(), 4096);
        log.WriteLog("one\n");
        log.SetLogFile(first.c_str(), 4096);
        EXPECT_FALSE(qvtest::FileExists(first)) << "started afresh though this log held it";
        log.WriteLog("two\n");
        EXPECT_EQ(ReadBytes(first), "two\r\n");
        log.SetLogFile(second.c_str(), 4096);
        log.WriteLog("three\n");
        EXPECT_TRUE(DeleteFileA(first.c_str())) << "still held: " << GetLastError();
    }
    EXPECT_EQ(ReadBytes(second), "three\r\n");
    EXPECT_TRUE(DeleteFileA(second.c_str())) << "still held: " << GetLastError();
}

// A second copy of the daemon, started with -X on the same parameter file,
// sets the log that the running copy is still writing as it ends. It cannot
// start the file afresh under the running copy's handle; neither copy's lines
// may be lost, then or when both have closed the file.
TEST(Log, ACopyStartingOnALogAnotherKeepsLosesNeitherLog) {
    qvtest::TempDir dir;
    const std::string path = dir.File("q.log");
    const std::string both = "running 1\r\nsecond 1\r\nrunning 2\r\nsecond 2\r\n";
    {
        auto running = std::make_unique<qv::LogFile>();
        running->SetLogFile(path.c_str(), 4096);
        running->WriteLog("running 1\n");
        qv::LogFile second;
        second.SetLogFile(path.c_str(), 4096);
        second.WriteLog("second 1\n");
        running->WriteLog("running 2\n");
        running.reset();
        second.WriteLog("second 2\n");
        EXPECT_EQ(ReadBytes(path), both);
    }
    EXPECT_EQ(ReadBytes(path), both);
}

}  // namespace

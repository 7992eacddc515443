#include "Log.h"

#include <gtest/gtest.h>

#include <set>
#include <string>
#include <thread>
#include <vector>

#include "TestFiles.h"

namespace {

using qvtest::ReadBytes;

const char kRestart[] = "Logfile was Refreshed.  [MAX=%d Bytes.]\n";

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

}  // namespace

// Both ends of the query pipe against each other: a fake desktop thread
// answers through the daemon's own answering code, and the shared client asks.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>
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
        qv::SendPipeReply(shortened, true);
    };
    // The header, then silence with the pipe held open: the read gives up.
    FakeDaemon::Behaviour silent;
    silent.onRequest = [](unsigned) {
        qv::ReplyChannel channel;
        if (channel.Open(true) != AnswerResult::kSent) return;
        int32_t header[2] = {3, 0};
        channel.Write(header, sizeof(header));
        Sleep(3000);
    };
    const struct {
        const char* what;
        FakeDaemon::Behaviour behaviour;
        size_t records;
    } cases[] = {{"closed early", cut, 1}, {"fell silent", silent, 0}};
    for (const auto& c : cases) {
        FakeDaemon daemon("", c.behaviour);
        DesktopInformation info;
        DWORD start = GetTickCount();
        EXPECT_EQ(PipeClient(std::string(), Short(5000, 300)).AskInformation(&info), QueryResult::kCommunicationError)
            << c.what;
        EXPECT_LT(Since(start), 2500u) << c.what;
        EXPECT_TRUE(info.headerRead) << c.what;
        EXPECT_EQ(info.desktops.size(), c.records) << c.what;
    }
}

TEST_F(PipeExchange, TheDaemonLogsWhatFailsItsAnswer) {
    // Nobody asking: the text answers log the failed wait, Information stays quiet.
    EXPECT_EQ(qv::AnswerNumberOfDesktops(3), AnswerResult::kWaitFailed);
    EXPECT_EQ(qv::AnswerDesktopName("x"), AnswerResult::kWaitFailed);
    EXPECT_EQ(qv::AnswerCurrentDesktopId("x"), AnswerResult::kWaitFailed);
    EXPECT_EQ(qv::AnswerInformation(0, kRing), AnswerResult::kWaitFailed);
    std::string text = log.Text();
    size_t lines = 0;
    for (size_t at = 0; (at = text.find("WaitNamedPipe Error. Reason=", at)) != std::string::npos; ++at) ++lines;
    EXPECT_EQ(lines, 3u) << text;
    EXPECT_EQ(text.find("Respons"), std::string::npos);

    // An instance that only sends: the wait succeeds, the open for writing
    // fails, and that is logged even for Information.
    qv::UniqueHandle wrongWay(CreateNamedPipeA(qv::kQueryPipeName, PIPE_ACCESS_OUTBOUND, 0, 1, 64, 64, 10000, nullptr));
    ASSERT_TRUE(wrongWay);
    EXPECT_EQ(qv::AnswerInformation(0, kRing), AnswerResult::kOpenFailed);
    EXPECT_EQ(log.Text().find("CreateFile  Error. Reason=", text.size()), text.size()) << log.Text();
}

}  // namespace

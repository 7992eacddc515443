#include <windows.h>

#include <gtest/gtest.h>

#include <cstdint>
#include <string>

#include "CommandText.h"
#include "Daemon.h"
#include "Processes.h"

namespace {

using qvtest::Daemon;

// A tenth of a second of 8-bit mono silence at 8 kHz.
std::string TinyWav() {
    const uint32_t rate = 8000, samples = 800;
    std::string wav;
    auto u32 = [&](uint32_t v) { wav.append(reinterpret_cast<const char*>(&v), 4); };
    auto u16 = [&](uint16_t v) { wav.append(reinterpret_cast<const char*>(&v), 2); };
    wav += "RIFF";
    u32(36 + samples);
    wav += "WAVEfmt ";
    u32(16);
    u16(1);  // PCM
    u16(1);  // mono
    u32(rate);
    u32(rate);  // bytes per second
    u16(1);     // block align
    u16(8);     // bits per sample
    wav += "data";
    u32(samples);
    wav.append(samples, '\x80');
    return wav;
}

TEST(DaemonSound, EachDesktopLoadsItsFileWhenItsThreadStarts) {
    Daemon daemon;
    const std::string good = daemon.Dir().File("good.wav"), missing = daemon.Dir().File("missing.wav");
    // Shorter on reading than its size: Linux gives every sysfs attribute
    // the size of a page, and this one reads as a few bytes ("0-1\n").
    const std::string shorter = "Z:\\sys\\devices\\system\\cpu\\online";
    qvtest::WriteBytes(good, TinyWav());
    ASSERT_TRUE(daemon.StartReady(std::string(qvtest::kQuietController) + "WavFile\t" + good + "\n",
                                  {"DesktopWavFile\t" + missing + "\n", "DesktopWavFile\t" + shorter + "\n"}));
    const std::string home = daemon.StartDesktop();

    const std::string log = daemon.Log();
    EXPECT_NE(log.find("Wav File " + missing + " Open Failed.\r\n"), std::string::npos);
    EXPECT_NE(log.find("Wav File " + shorter + " Read Failed.\r\n"), std::string::npos);
    EXPECT_EQ(log.find("Wav File " + good), std::string::npos);
    EXPECT_EQ(log.find("Sound Memory Error."), std::string::npos);

    // Every desktop played at its activation: the switches are not held up.
    for (const char* id : {"User_Desktop0", "User_Desktop1"}) {
        EXPECT_EQ(qvtest::SendCommandText(home, "N"), 1);
        EXPECT_EQ(qvtest::AskCurrentDesktopId(home), id);
    }
    // Toggle, toggle back, off, on: there is a switch to work.
    for (LPARAM choice : {0, 0, 2, 1}) EXPECT_EQ(qvtest::SendMainCommand(home, qv::kCmdSound, choice), 1) << choice;
    EXPECT_EQ(qvtest::SendMainCommand(home, qv::kCmdSound, 3), 0) << "no such choice";
    EXPECT_EQ(qvtest::SendRequest("User_Desktop1", qv::kSoundSwitchRequest, 1), 1);  // on, through the thread window
    // Switched on for every desktop: those without a sound image only stop
    // what is playing.
    EXPECT_EQ(qvtest::SendCommandText("User_Desktop1", "HN"), 1);
    EXPECT_EQ(qvtest::AskCurrentDesktopId(home), "User_Desktop0");
    EXPECT_TRUE(daemon.Stop());
    EXPECT_EQ(daemon.WaitExit(0), 0);
}

TEST(DaemonSound, SwitchIsThereWhenADesktopHadASoundFileAtTheStart) {
    struct {
        const char* controller;
        const char* desktop;
        LRESULT answer;
    } cases[] = {
        // The flags alone are no sound.
        {"WavFlag\t1\n", "DesktopWavFlag\t1\n", 0},
        // Whether the file can be loaded is found out only after that.
        {"", "DesktopWavFile\tZ:\\nonexistent\\qv-missing.wav\n", 1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.desktop);
        Daemon daemon;
        ASSERT_TRUE(daemon.StartReady(std::string(qvtest::kQuietController) + c.controller, {c.desktop}));
        const std::string home = daemon.StartDesktop();
        for (LPARAM choice : {0, 1, 2}) EXPECT_EQ(qvtest::SendMainCommand(home, qv::kCmdSound, choice), c.answer);
        EXPECT_EQ(qvtest::SendRequest(home, qv::kSoundSwitchRequest, 0), 1) << "a request is always taken";
        EXPECT_EQ(qvtest::SendMainCommand(home, qv::kCmdSound, 0), c.answer) << "the request changed nothing";
    }
}

}  // namespace

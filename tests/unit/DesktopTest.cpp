#include "AncestryDesktop.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "DisplayMode.h"
#include "ExpectedText.h"
#include "FixedMode.h"
#include "TestFiles.h"

namespace {

using qvtest::Crlf;
using qvtest::Format;

class DesktopTest : public ::testing::Test {
protected:
    int Read(const std::string& body) {
        qvtest::TextInput in(dir, body);
        return desktop.Read(in.get());
    }
    std::string Written() {
        return qvtest::WrittenText(dir, [&](FILE* f) { desktop.Write(f, 1); });
    }

    qvtest::TempDir dir;
    qvtest::LogCapture log;
    qvtest::FixedModeDesktop desktop;
};

TEST_F(DesktopTest, EmptyRecordGetsEveryDefault) {
    ASSERT_EQ(Read("\t}\r\n"), 0);
    EXPECT_EQ(desktop.m_nState, qv::AncestryDesktop::kRead);
    EXPECT_EQ(desktop.Properties().Count(), qv::AncestryDesktop::kKeyCount);
    EXPECT_EQ(desktop.m_crTitleColor, 0x000FE80Fu);
    EXPECT_EQ(desktop.m_dwExitOptions, 0u);
    EXPECT_EQ(desktop.m_nShellCloseDelay, 250);
    EXPECT_FALSE(desktop.m_bChgWallpaper);
    EXPECT_FALSE(desktop.m_bChgDisplay);
    EXPECT_FALSE(desktop.m_bSoundOn);
    EXPECT_EQ(desktop.m_nExitCancelOK, 0);
    EXPECT_EQ(desktop.m_nPelsWidth, 1280);
    EXPECT_EQ(desktop.m_nFrequency, 60);
    EXPECT_EQ(Written(), Crlf("\tAncestryDesktop::RingListClass\t{\n"
                              "\t\tDesktopTitleColor\t0x000FE80F\n"
                              "\t\tDesktopExitProgman\t0x00000000\n"
                              "\t\tDesktopProgmanDelay\t250\n"
                              "\t}\n"));
    EXPECT_EQ(log.Text(), "");
}

TEST_F(DesktopTest, DisplayChangeAloneTakesTheCurrentModeAndWritesIt) {
    ASSERT_EQ(Read("DesktopDisplayChange\t1\r\nDesktopPelsWidth\t0\r\nDesktopPelsHeight\t0x258\r\n}\r\n"), 0);
    EXPECT_TRUE(desktop.m_bChgDisplay);
    EXPECT_EQ(desktop.m_nBitsPerPel, 32);
    EXPECT_EQ(desktop.m_nPelsWidth, 1280);
    EXPECT_EQ(desktop.m_nPelsHeight, 600);
    EXPECT_EQ(desktop.m_nFrequency, 60);
    EXPECT_EQ(Written(), Crlf("\tAncestryDesktop::RingListClass\t{\n"
                              "\t\tDesktopDisplayChange\t1\n"
                              "\t\tDesktopPelsWidth\t1280\n"
                              "\t\tDesktopPelsHeight\t600\n"
                              "\t\tDesktopTitleColor\t0x000FE80F\n"
                              "\t\tDesktopExitProgman\t0x00000000\n"
                              "\t\tDesktopProgmanDelay\t250\n"
                              "\t\tDesktopBitsPerPel\t32\n"
                              "\t\tDesktopFrequency\t60\n"
                              "\t}\n"));
}

TEST_F(DesktopTest, WallpaperCountsOnlyWithItsSwitch) {
    ASSERT_EQ(Read("DesktopWallpaper\tC:\\paper.bmp\r\n}\r\n"), 0);
    EXPECT_STREQ(desktop.m_strWallpaper.c_str(), "");
    EXPECT_EQ(Written().find("paper"), std::string::npos);

    qvtest::FixedModeDesktop on;
    qvtest::TextInput in(dir, "DesktopWallpaper\tC:\\\x95\\\x8E\xA6.bmp\r\nDesktopWallpaperChange\t1\r\n}\r\n");
    ASSERT_EQ(on.Read(in.get()), 0);
    EXPECT_STREQ(on.m_strWallpaper.c_str(), "C:\\\x95\\\x8E\xA6.bmp");
    std::string text = qvtest::WrittenText(dir, [&](FILE* f) { on.Write(f, 0); });
    EXPECT_NE(text.find("\tDesktopWallpaper\tC:\\\x95\\\x8E\xA6.bmp\r\n"), std::string::npos);
}

TEST_F(DesktopTest, SoundFollowsTheFileNeverTheFlag) {
    ASSERT_EQ(Read("DesktopWavFlag\t1\r\n}\r\n"), 0);
    EXPECT_FALSE(desktop.m_bSoundOn);
    qvtest::FixedModeDesktop withFile;
    qvtest::TextInput in(dir, "DesktopWavFlag\t0\r\nDesktopWavFile\tding.wav\r\n}\r\n");
    ASSERT_EQ(withFile.Read(in.get()), 0);
    EXPECT_TRUE(withFile.m_bSoundOn);
    withFile.ResetKey(qv::AncestryDesktop::kWavFile);
    EXPECT_FALSE(withFile.m_bSoundOn);
    EXPECT_STREQ(withFile.Properties().Value("DesktopWavFile"), "");
}

TEST_F(DesktopTest, ProgramEntriesKeepFileOrderAndBadOnesAreDropped) {
    ASSERT_EQ(Read("Executant::RingListClass\t{\r\nExecutionFileName\tone.exe\r\n}\r\n"
                   "Executant::RingListClass\t{\r\nExecutionArguments\tno file\r\n}\r\n"
                   "Executant::RingListClass\t{\r\nExecutionFileName\ttwo.exe\r\n}\r\n"
                   "DesktopName\tWork\r\n"
                   "Executant::RingListClass\t{\r\nExecutionFileName\tthree.exe\r\n}\r\n"
                   "}\r\n"),
              0);
    ASSERT_EQ(desktop.Executants().Count(), 3);
    std::string order;
    for (qv::Executant* e : desktop.Executants()) order += e->FileName().c_str() + std::string(" ");
    EXPECT_EQ(order, "one.exe two.exe three.exe ");
    EXPECT_STREQ(desktop.m_strTitle.c_str(), "Work");
    EXPECT_EQ(log.Text(), Format(expected::kNotDefinedEntry, "ExecutionFileName"));
}

TEST_F(DesktopTest, UnknownClassInsideIsReadAsOwnLinesAndItsBraceCloses) {
    ASSERT_EQ(Read("Menu::RingListClass\t{\r\nDesktopName\tInner\r\nColour\tred\r\n}\r\n"
                   "DesktopTitleColor\t0x00FF0000\r\n}\r\n"),
              0);
    EXPECT_STREQ(desktop.m_strTitle.c_str(), "Inner");
    EXPECT_EQ(desktop.m_crTitleColor, 0x000FE80Fu);  // the line after the block is not ours
    EXPECT_EQ(log.Text(), Crlf(Format(expected::kUnknownClass, "Menu::RingListClass") +
                               Format(expected::kUnknownKeyDesktop, "Colour")));
}

TEST_F(DesktopTest, ValueBraceClosesWithoutStoringAndEmptyLineIsUnknown) {
    ASSERT_EQ(Read("DesktopName\tA\r\n\r\nDesktopTitleColor\t}\r\nDesktopExitProgman\t1\r\n"), 0);
    EXPECT_EQ(desktop.m_crTitleColor, 0x000FE80Fu);
    EXPECT_EQ(desktop.m_dwExitOptions, 0u);
    EXPECT_EQ(log.Text(), Crlf(Format(expected::kUnknownKeyDesktop, "")));
}

TEST_F(DesktopTest, FileEndWithoutBraceFailsAndEndMarkerCloses) {
    EXPECT_EQ(Read("DesktopName\tA\r\n"), -1);
    qvtest::FixedModeDesktop cut;
    qvtest::TextInput in(dir, "DesktopName\tB\r\n--EOF--\r\n");
    EXPECT_EQ(cut.Read(in.get()), 0);
    EXPECT_STREQ(cut.m_strTitle.c_str(), "B");
    EXPECT_EQ(log.Text(), Crlf(expected::kEndMarkerInside));
}

TEST_F(DesktopTest, SetNameGivesAnAdoptedDesktopEveryDefault) {
    desktop.SetName("Default");
    EXPECT_STREQ(desktop.m_strDesktopName.c_str(), "Default");
    EXPECT_EQ(desktop.m_crTitleColor, 0x000FE80Fu);
    EXPECT_FALSE(desktop.m_bChgWallpaper);
    EXPECT_FALSE(desktop.m_bChgDisplay);
    EXPECT_EQ(desktop.m_nPelsHeight, 1024);
    EXPECT_EQ(desktop.m_nState, qv::AncestryDesktop::kNew);
}

TEST_F(DesktopTest, NoTitleColourSurvivesWritingAndReading) {
    ASSERT_EQ(Read("DesktopTitleColor\t0xFFFFFFFF\r\nDesktopExitProgman\t0x91000100\r\n}\r\n"), 0);
    EXPECT_EQ(desktop.m_crTitleColor, 0xFFFFFFFFu);
    EXPECT_EQ(desktop.m_dwExitOptions, 0x91000100u);
    std::string text = Written();
    EXPECT_NE(text.find("\t\tDesktopTitleColor\t0xFFFFFFFF\r\n"), std::string::npos) << text;
    EXPECT_NE(text.find("\t\tDesktopExitProgman\t0x91000100\r\n"), std::string::npos) << text;
}

TEST_F(DesktopTest, ExitCancelAndColourWriteInTheirForms) {
    ASSERT_EQ(Read("DesktopExitCancelOK\t7\r\nDesktopTitleColor\t255\r\nDesktopExitProgman\t0x00000400\r\n}\r\n"), 0);
    EXPECT_EQ(desktop.m_nExitCancelOK, 7);
    EXPECT_EQ(Written(), Crlf("\tAncestryDesktop::RingListClass\t{\n"
                              "\t\tDesktopExitCancelOK\t1\n"
                              "\t\tDesktopTitleColor\t0x000000FF\n"
                              "\t\tDesktopExitProgman\t0x00000400\n"
                              "\t\tDesktopProgmanDelay\t250\n"
                              "\t}\n"));
}

TEST_F(DesktopTest, HotKeyIsReadWrittenBackAsItStoodAndLeftOutWhenNone) {
    // The configurator's own layout, the key last as a record that gained it.
    const std::string record = Crlf("\tAncestryDesktop::RingListClass\t{\n"
                                    "\t\tDesktopName\tMail\n"
                                    "\t\tDesktopTitleColor\t0x000FE80F\n"
                                    "\t\tDesktopExitProgman\t0x00000000\n"
                                    "\t\tDesktopProgmanDelay\t250\n"
                                    "\t\tDesktopHotKey\t0x00070032\n"
                                    "\t}\n");
    ASSERT_EQ(Read(record.substr(record.find('\n') + 1)), 0);
    EXPECT_EQ(desktop.m_dwHotKey, 0x00070032u);
    EXPECT_EQ(Written(), record);
    desktop.m_dwHotKey = 0;
    EXPECT_EQ(Written().find("DesktopHotKey"), std::string::npos);
    desktop.m_dwHotKey = 0x0001001B;
    EXPECT_NE(Written().find("\t\tDesktopHotKey\t0x0001001B\r\n"), std::string::npos);
    EXPECT_EQ(log.Text(), "");
}

TEST_F(DesktopTest, MalformedHotKeyIsLoggedAndIsNone) {
    desktop.m_strDesktopName.Assign("User_Desktop3");
    ASSERT_EQ(Read("DesktopHotKey\tAlt+F5\r\n}\r\n"), 0);
    EXPECT_EQ(desktop.m_dwHotKey, 0u);
    EXPECT_EQ(log.Text(), "Desktop [User_Desktop3] : DesktopHotKey[Alt+F5] Is Not A Hot-Key Word; Ignored.\r\n");
    EXPECT_EQ(Written().find("DesktopHotKey"), std::string::npos) << "dropped on the next save";
}

TEST(DisplayMode, DefaultsComeFromTheRealCurrentMode) {
    DEVMODEA dm = {};
    dm.dmSize = sizeof(dm);
    ASSERT_TRUE(EnumDisplaySettingsA(nullptr, ENUM_CURRENT_SETTINGS, &dm));
    qv::AncestryDesktop real;
    real.SetName("User_Desktop0");
    EXPECT_EQ(real.m_nPelsWidth, static_cast<int32_t>(dm.dmPelsWidth));
    EXPECT_EQ(real.m_nPelsHeight, static_cast<int32_t>(dm.dmPelsHeight));
    EXPECT_EQ(real.m_nBitsPerPel, static_cast<int32_t>(dm.dmBitsPerPel));
    EXPECT_EQ(real.m_nFrequency, static_cast<int32_t>(dm.dmDisplayFrequency));
    EXPECT_GT(real.m_nPelsWidth, 0);
}

}  // namespace

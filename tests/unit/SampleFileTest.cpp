// The sample parameter files that `make run` starts the daemon and its bar
// with: they must read as the configurators would have written them, and say
// what they promise.

#include <windows.h>

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "BarSettings.h"
#include "FixedMode.h"
#include "ParameterFile.h"
#include "TestFiles.h"

namespace {

// examples/Quorvel.ini, reached through the drive that maps the Unix root,
// and the control bar's settings beside it.
const std::string kSample = QV_EXAMPLES_DIR "/Quorvel.ini";
const std::string kBarSample = QV_EXAMPLES_DIR "/QVCtrlBar.ini";

class SampleFileTest : public ::testing::Test {
protected:
    void SetUp() override {
        bytes = qvtest::ReadBytes(kSample);
        ASSERT_FALSE(bytes.empty()) << kSample;
        FILE* file = std::fopen(kSample.c_str(), "rt");
        ASSERT_NE(file, nullptr);
        result = qv::ReadParameterFile(file, controller, header);
        std::fclose(file);
    }

    std::string bytes;
    int result = 0;
    qvtest::FixedModeController controller;
    qv::ParameterFileHeader header;
    qvtest::TempDir dir;
};

TEST_F(SampleFileTest, IsExactlyWhatTheConfiguratorWritesForIt) {
    ASSERT_EQ(result, qv::kControllerRead);
    std::string written =
        qvtest::WrittenText(dir, [&](FILE* f) { qv::WriteParameterFile(f, header, controller); });
    EXPECT_EQ(written, bytes);
    // Every line ends in CR LF, none in a bare LF.
    for (size_t at = bytes.find('\n'); at != std::string::npos; at = bytes.find('\n', at + 1))
        ASSERT_TRUE(at > 0 && bytes[at - 1] == '\r') << "line end at byte " << at;
}

TEST_F(SampleFileTest, ThreeTitledDesktopsEachShowNotepadInAPlaceOfItsOwn) {
    ASSERT_EQ(result, qv::kControllerRead);
    EXPECT_EQ(std::string(header.logFileName.c_str()), "Quorvel.log");
    EXPECT_EQ(header.logFileLimit, 65536);
    // The daemon starts the bar with the settings file beside this one.
    EXPECT_TRUE(controller.m_bControlBar);
    EXPECT_TRUE(qvtest::FileExists(kBarSample)) << kBarSample;

    // 仕事 in code page 932, then two ASCII titles; each a colour of its own.
    const std::vector<std::string> titles = {"\x8E\x64\x8E\x96", "Mail", "Web"};
    std::vector<uint32_t> colours;
    std::vector<RECT> places;
    size_t index = 0;
    ASSERT_EQ(controller.CountChildren(), 3);
    for (qv::AncestryDesktop* desktop : controller.Desktops()) {
        ASSERT_LT(index, titles.size());
        EXPECT_EQ(std::string(desktop->m_strTitle.c_str()), titles[index]);
        for (uint32_t seen : colours) EXPECT_NE(desktop->m_crTitleColor, seen) << titles[index];
        colours.push_back(desktop->m_crTitleColor);
        // The programs get WM_CLOSE when the daemon ends, so none is left.
        EXPECT_EQ(desktop->m_dwExitOptions, 0x00000100u) << titles[index];
        ASSERT_EQ(desktop->Executants().Count(), 1) << titles[index];
        const qv::Executant* entry = desktop->Executants().Entry();
        // A program every Windows and Wine has, found where CreateProcess
        // looks for a bare name; notepad would open any argument as a file.
        EXPECT_EQ(std::string(entry->FileName().c_str()), "notepad.exe") << titles[index];
        char found[MAX_PATH] = {};
        EXPECT_NE(SearchPathA(nullptr, entry->FileName().c_str(), nullptr, MAX_PATH, found, nullptr), 0u)
            << entry->FileName().c_str();
        EXPECT_STREQ(entry->Arguments(), "") << titles[index];
        // Under Wine every desktop is drawn on the one 1024x768 screen of
        // `make run`: each window whole on it, none covering another.
        ASSERT_TRUE(entry->positionSet && entry->sizeSet) << titles[index];
        const RECT place = {entry->x, entry->y, entry->x + entry->width, entry->y + entry->height};
        EXPECT_TRUE(place.left >= 0 && place.top >= 0 && place.right <= 1024 && place.bottom <= 768) << titles[index];
        for (const RECT& other : places) {
            RECT common;
            EXPECT_FALSE(IntersectRect(&common, &place, &other)) << titles[index];
        }
        places.push_back(place);
        ++index;
    }
}

// QVCtrlBar.ini beside it: read as the bar reads it, every desktop of the
// sample has a menu panel.
TEST_F(SampleFileTest, BarSettingsGiveEveryDesktopAPanel) {
    ASSERT_EQ(result, qv::kControllerRead);
    qvtest::LogCapture log;
    qv::BarController bar;
    EXPECT_EQ(qv::ReadBarControllerFile(kBarSample.c_str(), &bar), qv::BarReadResult::kRead);
    EXPECT_EQ(log.Text(), "") << "a controller key the bar does not know";
    for (int desktop = 0; desktop < controller.CountChildren(); ++desktop) {
        FILE* file = std::fopen(kBarSample.c_str(), "rt");
        ASSERT_NE(file, nullptr);
        EXPECT_FALSE(qv::ReadPanelDescriptions(file, desktop).empty()) << "desktop " << desktop;
        std::fclose(file);
    }
}

}  // namespace

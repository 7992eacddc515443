// The sample parameter file that `make run` starts the daemon with: it must
// read as the configurator would have written it, and say what it promises.

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "FixedMode.h"
#include "ParameterFile.h"
#include "TestFiles.h"

namespace {

// examples/Quorvel.ini, reached through the drive that maps the Unix root.
const std::string kSample = QV_EXAMPLES_DIR "/Quorvel.ini";

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

TEST_F(SampleFileTest, ThreeTitledDesktopsEachStartTheFixture) {
    ASSERT_EQ(result, qv::kControllerRead);
    EXPECT_EQ(std::string(header.logFileName.c_str()), "Quorvel.log");
    EXPECT_EQ(header.logFileLimit, 65536);
    EXPECT_FALSE(controller.m_bControlBar);  // the bar is another program, not built here

    // 仕事 in code page 932, then two ASCII titles; each a colour of its own.
    const std::vector<std::string> titles = {"\x8E\x64\x8E\x96", "Mail", "Web"};
    std::vector<uint32_t> colours;
    size_t index = 0;
    ASSERT_EQ(controller.CountChildren(), 3);
    for (qv::AncestryDesktop* desktop : controller.Desktops()) {
        ASSERT_LT(index, titles.size());
        EXPECT_EQ(std::string(desktop->m_strTitle.c_str()), titles[index]);
        for (uint32_t seen : colours) EXPECT_NE(desktop->m_crTitleColor, seen) << titles[index];
        colours.push_back(desktop->m_crTitleColor);
        // The fixtures get WM_CLOSE when the daemon ends, so none is left.
        EXPECT_EQ(desktop->m_dwExitOptions, 0x00000100u) << titles[index];
        ASSERT_EQ(desktop->Executants().Count(), 1) << titles[index];
        const qv::Executant* entry = desktop->Executants().Entry();
        EXPECT_EQ(std::string(entry->fileName.c_str()), "qvfixture.exe");
        std::string arguments = entry->arguments.c_str();
        EXPECT_NE(arguments.find("--title="), std::string::npos) << arguments;
        EXPECT_NE(arguments.find("--color=0x"), std::string::npos) << arguments;
        ++index;
    }
}

}  // namespace

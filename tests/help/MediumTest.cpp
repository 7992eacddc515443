// The release medium as the setup programs and Windows read it: every file
// the first setup copies is there, the documents are Shift-JIS with CR LF
// lines, the chimes are short PCM sounds, and the default parameter file
// reads as the configurator writes it, its relative places naming files of
// the medium.

#include <windows.h>

#include <mmsystem.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "FixedMode.h"
#include "ParameterFile.h"
#include "SetupRules.h"
#include "TestFiles.h"

namespace {

bool IsFolder(const std::string& path) {
    const DWORD attributes = GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

class MediumTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_FALSE(medium.empty()) << "QV_MEDIUM names no unpacked medium";
        ASSERT_TRUE(IsFolder(medium)) << medium;
    }
    std::string Path(const std::string& name) const { return medium + "\\" + name; }

    const std::string medium = qvtest::MediumFolder();
};

TEST_F(MediumTest, HoldsEveryFileTheSetupsNeedFlat) {
    for (const qvsetup::MediumFile& file : qvsetup::MediumFiles()) {
        const std::string name = std::string(file.subfolder) == qvsetup::kDemoFolder
                                     ? std::string(qvsetup::kDemoFolder) + "\\" + file.name
                                     : file.name;
        EXPECT_TRUE(qvtest::FileExists(Path(name))) << name;
    }
    for (const char* name : {"Setup.exe", "ShellExe.exe", "Quorvel.ini", "QVCtrlBar.ini"})
        EXPECT_TRUE(qvtest::FileExists(Path(name))) << name;
    // No test program rides along.
    for (const char* name : {"QVRequest.exe", "QVFixture.exe", "QVAsker.exe", "QVBarStandIn.exe"})
        EXPECT_FALSE(qvtest::FileExists(Path(name))) << name;
    EXPECT_TRUE(qvtest::FileExists(medium + ".zip")) << medium << ".zip";
}

// What the setup shows in its text window and the user reads in Notepad.
TEST_F(MediumTest, DocumentsAreShiftJisWithCrLfLines) {
    for (const char* name : {"readme.txt", "setup1.txt", "setup2.txt", "setup3.txt", "setup4.txt", "setup5.txt",
                             "Quorvel.ini", "QVCtrlBar.ini", "DEMOCNTS\\Work.txt", "DEMOCNTS\\Notes.txt",
                             "DEMOCNTS\\Contacts.txt", "DEMOCNTS\\Welcome.htm"}) {
        const std::string bytes = qvtest::ReadBytes(Path(name));
        ASSERT_FALSE(bytes.empty()) << name;
        EXPECT_NE(MultiByteToWideChar(932, MB_ERR_INVALID_CHARS, bytes.data(), static_cast<int>(bytes.size()),
                                      nullptr, 0),
                  0)
            << name << " is not code page 932";
        for (size_t at = 0; at < bytes.size(); ++at) {
            const bool lineFeed = bytes[at] == '\n', carriageReturn = bytes[at] == '\r';
            if (lineFeed) {
                ASSERT_TRUE(at > 0 && bytes[at - 1] == '\r') << name << ": bare LF at byte " << at;
            }
            if (carriageReturn) {
                ASSERT_TRUE(at + 1 < bytes.size() && bytes[at + 1] == '\n') << name << ": bare CR at byte " << at;
            }
        }
        EXPECT_EQ(bytes.back(), '\n') << name;
    }
}

// Read through the system's RIFF reader, as the daemon's sounds are played.
TEST_F(MediumTest, ChimesAreShortPcmSounds) {
    for (const char* name : {"C", "F", "G7", "E9", "Csus4"}) {
        std::string path = Path(std::string("DEMOCNTS\\") + name + ".wav");
        HMMIO file = mmioOpenA(path.data(), nullptr, MMIO_READ);
        ASSERT_NE(file, nullptr) << path;
        MMCKINFO riff = {}, chunk = {};
        riff.fccType = mmioFOURCC('W', 'A', 'V', 'E');
        PCMWAVEFORMAT format = {};
        EXPECT_EQ(mmioDescend(file, &riff, nullptr, MMIO_FINDRIFF), MMSYSERR_NOERROR) << name;
        chunk.ckid = mmioFOURCC('f', 'm', 't', ' ');
        EXPECT_EQ(mmioDescend(file, &chunk, &riff, MMIO_FINDCHUNK), MMSYSERR_NOERROR) << name;
        EXPECT_EQ(mmioRead(file, reinterpret_cast<HPSTR>(&format), sizeof format), static_cast<LONG>(sizeof format));
        mmioAscend(file, &chunk, 0);
        chunk.ckid = mmioFOURCC('d', 'a', 't', 'a');
        EXPECT_EQ(mmioDescend(file, &chunk, &riff, MMIO_FINDCHUNK), MMSYSERR_NOERROR) << name;
        mmioClose(file, 0);

        EXPECT_EQ(format.wf.wFormatTag, WAVE_FORMAT_PCM) << name;
        EXPECT_EQ(format.wf.nChannels, 1) << name;
        EXPECT_TRUE(format.wf.nSamplesPerSec == 11025 || format.wf.nSamplesPerSec == 22050) << name;
        EXPECT_TRUE(format.wBitsPerSample == 8 || format.wBitsPerSample == 16) << name;
        ASSERT_GT(format.wf.nAvgBytesPerSec, 0u) << name;
        // Long enough to hear, short enough not to hold up the next switch.
        const double seconds = static_cast<double>(chunk.cksize) / format.wf.nAvgBytesPerSec;
        EXPECT_GE(seconds, 0.3) << name;
        EXPECT_LE(seconds, 0.5) << name;
    }
}

// The first setup puts the install folder in front of the sounds and the
// programs' folders; from the medium's own folder (the trial run) they are
// right as they stand.
TEST_F(MediumTest, DefaultParametersNameTheMediumsFilesRelatively) {
    const std::string path = Path("Quorvel.ini");
    const std::string bytes = qvtest::ReadBytes(path);
    FILE* file = std::fopen(path.c_str(), "rt");
    ASSERT_NE(file, nullptr);
    qvtest::FixedModeController controller;
    qv::ParameterFileHeader header;
    const int result = qv::ReadParameterFile(file, controller, header);
    std::fclose(file);
    ASSERT_EQ(result, qv::kControllerRead);
    qvtest::TempDir dir;
    EXPECT_EQ(qvtest::WrittenText(dir, [&](FILE* f) { qv::WriteParameterFile(f, header, controller); }), bytes)
        << "not in the configurator's layout";

    EXPECT_TRUE(controller.m_bControlBar);
    EXPECT_TRUE(qvtest::FileExists(Path(controller.m_strSoundFile.c_str()))) << controller.m_strSoundFile.c_str();
    ASSERT_GE(controller.CountChildren(), 2);
    for (qv::AncestryDesktop* desktop : controller.Desktops()) {
        const std::string title = desktop->m_strTitle.c_str();
        ASSERT_TRUE(desktop->m_bSoundOn) << title;
        EXPECT_EQ(std::string(desktop->m_strSoundFile.c_str()).rfind("DEMOCNTS\\", 0), 0u) << title;
        EXPECT_TRUE(qvtest::FileExists(Path(desktop->m_strSoundFile.c_str()))) << title;
        ASSERT_GE(desktop->Executants().Count(), 1) << title;
        for (const qv::Executant* entry : desktop->Executants()) {
            const char* path = entry->Properties().Value(entry->KeyName(qv::Executant::kPath));
            const std::string folder = path ? path : "";
            EXPECT_EQ(folder, "DEMOCNTS") << title;
            // The document each entry opens lies in that folder.
            EXPECT_TRUE(qvtest::FileExists(Path(folder + "\\" + entry->Arguments())))
                << title << ": " << entry->Arguments();
        }
    }
}

}  // namespace

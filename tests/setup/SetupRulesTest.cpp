// The setup programs' window-free rules: the default parameter file made
// for the install folder, QVSetup's command line, and the default folders.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "SetupRules.h"

namespace {

using qvsetup::RewriteDefaultParameters;

TEST(DefaultParameters, RelativePlacesGoUnderTheInstallFolderAndAbsoluteOnesStay) {
    const std::vector<std::string> medium = {
        "; sample\n",
        "AncestryController::RingListClass\t{\n",
        "WavFile\tDEMOCNTS\\C.wav\n",
        "DesktopWavFile\tDEMOCNTS\\F.wav\n",  // not a controller key: kept
        "AncestryDesktop::RingListClass\t{\n",
        "  DesktopWavFile\tD:\\Sounds\\G7.wav\n",
        "ExecutionPath\tDEMOCNTS\n",  // a program entry's key, not a desktop's
        "Executant::RingListClass\t{\n",
        "ExecutionPath\tDEMOCNTS\n",
        "ExecutionFileName\tnotepad.exe\n",
        "}\n",
        "}\n",
        "AncestryDesktop::RingListClass\t{\n",
        "DesktopWavFile\t\\\\server\\share\\E9.wav\n",
        "Executant::RingListClass\t{\n",
        "ExecutionPath\t\n",
        "}\n",
        "}\n",
        "}\n",
        "# end\n",
    };
    EXPECT_EQ(RewriteDefaultParameters(medium, "C:\\Program Files\\Lumarch\\Quorvel"),
              "; sample\n"
              "AncestryController::RingListClass\t{\n"
              "\tWavFile\tC:\\Program Files\\Lumarch\\Quorvel\\DEMOCNTS\\C.wav\n"
              "\tDesktopWavFile\tDEMOCNTS\\F.wav\n"
              "\tAncestryDesktop::RingListClass\t{\n"
              "\t\tDesktopWavFile\tD:\\Sounds\\G7.wav\n"
              "\t\tExecutionPath\tDEMOCNTS\n"
              "\t\tExecutant::RingListClass\t{\n"
              "\t\t\tExecutionPath\tC:\\Program Files\\Lumarch\\Quorvel\\DEMOCNTS\n"
              "\t\t\tExecutionFileName\tnotepad.exe\n"
              // A closing line is written at the level it closes.
              "\t\t\t}\t\n"
              "\t\t}\t\n"
              "\tAncestryDesktop::RingListClass\t{\n"
              "\t\tDesktopWavFile\t\\\\server\\share\\E9.wav\n"
              "\t\tExecutant::RingListClass\t{\n"
              "\t\t\tExecutionPath\t\n"
              "\t\t\t}\t\n"
              "\t\t}\t\n"
              "\t}\t\n"
              "# end\n");
}

TEST(DefaultParameters, UnbalancedClosingLinesNeverIndentBelowTheLeftEdge) {
    const std::string out = RewriteDefaultParameters({"}\n", "}\n", "AncestryController::RingListClass\t{\n",
                                                      "WavFile\tx.wav\n"},
                                                     "C:\\Q");
    EXPECT_EQ(out, "}\t\n}\t\nAncestryController::RingListClass\t{\n\tWavFile\tC:\\Q\\x.wav\n");
}

TEST(AccountCommandLine, OptionsAreSeparatedByTabsSoAMenuNameKeepsItsBlanks) {
    const struct {
        const char* line;
        bool autoContinue;
        const char* menu;
    } cases[] = {
        {"", false, "Quorvel"},
        {"/AutoContinue\t/DefaultMenu:My Quorvel Menu", true, "My Quorvel Menu"},
        {" /DefaultMenu:ﾏﾙﾁ ﾃﾞｽｸﾄｯﾌﾟ\t/AutoContinue", true, "ﾏﾙﾁ ﾃﾞｽｸﾄｯﾌﾟ"},
        {"/AutoContinue /DefaultMenu:x", false, "Quorvel"},  // a blank does not separate
        {"/DefaultMenu:", false, "Quorvel"},
    };
    for (const auto& c : cases) {
        const qvsetup::AccountOptions options = qvsetup::ParseAccountCommandLine(c.line);
        EXPECT_EQ(options.autoContinue, c.autoContinue) << c.line;
        EXPECT_EQ(options.menu, c.menu) << c.line;
    }
    const qvsetup::AccountOptions handed = qvsetup::ParseAccountCommandLine(qvsetup::HandOverCommandLine("A B"));
    EXPECT_TRUE(handed.autoContinue);
    EXPECT_EQ(handed.menu, "A B");
}

TEST(SetupFolders, EachFallbackWhenTheFolderBeforeItIsUnknown) {
    using qvsetup::DefaultInstallFolder;
    EXPECT_EQ(DefaultInstallFolder(true, "D:\\Apps", "C:", "C:\\windows\\system32"), "D:\\Apps\\Lumarch\\Quorvel");
    EXPECT_EQ(DefaultInstallFolder(true, "", "E:", "C:\\windows\\system32"), "E:\\Program Files\\Lumarch\\Quorvel");
    EXPECT_EQ(DefaultInstallFolder(true, "", "", "F:\\windows\\system32"), "F:\\Program Files\\Lumarch\\Quorvel");
    EXPECT_EQ(DefaultInstallFolder(false, "D:\\Apps", "E:", "C:\\windows\\system32"), "E:\\Lumarch\\Quorvel");
    EXPECT_EQ(qvsetup::DefaultParameterFolder("C:\\Users\\u\\AppData\\Roaming\\", "C:\\Users\\u"),
              "C:\\Users\\u\\AppData\\Roaming\\Lumarch\\Quorvel");
    EXPECT_EQ(qvsetup::DefaultParameterFolder("", "C:\\Users\\u"), "C:\\Users\\u\\Application Data\\Lumarch\\Quorvel");
}

TEST(SetupLinks, ProgramsTakeTheUsersParameterFileAndHelpFilesStartInBin) {
    const std::vector<qvsetup::LinkSpec> links =
        qvsetup::AccountLinks("C:\\Q", "C:\\Users\\u\\Q\\", "C:\\Start\\Quorvel");
    auto find = [&](const std::string& path) {
        for (const auto& link : links)
            if (link.path == path) return link;
        return qvsetup::LinkSpec{};
    };
    const qvsetup::LinkSpec bar = find("C:\\Start\\Quorvel\\Quorvelの仲間たち\\制御ﾊﾞｰ .lnk");
    EXPECT_EQ(bar.target, "C:\\Q\\bin\\QVCtrlBar.exe");
    EXPECT_EQ(bar.arguments, "-p \"C:\\Users\\u\\Q\\QVCtrlBar.ini\"");
    EXPECT_EQ(bar.workingFolder, "C:\\Users\\u\\Q\\");
    const qvsetup::LinkSpec help = find("C:\\Start\\Quorvel\\ﾍﾙﾌﾟﾌｧｲﾙ.lnk");
    EXPECT_EQ(help.target, "C:\\Q\\bin\\Lumarch.chm");
    EXPECT_EQ(help.arguments, "");
    EXPECT_EQ(help.workingFolder, "C:\\Q\\bin");
}

}  // namespace

// The bar configurator's file and choices: what it saves the bar reads back
// the same, a stored value outside its choices comes back as the choice it
// shows, and a file it cannot read whole costs nothing.

#include <gtest/gtest.h>

#include <windows.h>

#include <string>
#include <thread>
#include <vector>

#include "BarConfigRules.h"
#include "TestFiles.h"

namespace {

using namespace qv;
using namespace qv::barconfig;

constexpr char kRichFile[] =
    ";QVBarCntrl\n"
    "FileVersion\t0x0200\n"
    "QVBarDesktop::AnyDesktop::RingListClass {\n"  // before any controller: nobody's
    "\tExecutantPanetMenu::ExecutantMenu::QVOwnerDrawMenuItem::RingListClass {\n"
    "\t\tMenuKind\t0\n\t\tMenuString\tStray\n\t\tStartDirectory\tC:\\Stray\n\t}\n"
    "}\n"
    "QVBarController::AnyController::RingListClass {\n"
    "\tMouseOver\t163\n\tFixPin\t1\n\tRollTimer\t1500\n\tRegionTimer\t9000\n\tHangerSortID\t7\n"
    "\tHangerSortDir\t0\n\tMenuFileCond\t9\n\tHotKeyActive\t0x00030041\n"
    "\tInitHangonModule\tnotepad.exe\n\tInitHangonModule\tcalc.exe\n"
    "}\n"
    "QVBarDesktop::AnyDesktop::RingListClass {\n"
    "\tExecutantPanetMenu::ExecutantMenu::QVOwnerDrawMenuItem::RingListClass {\n"
    "\t\tMenuKind\t4\n\t\tMenuString\tMendrelﾒﾆｭｰ\n\t\tStartDirectory\t[Desktop_ID].ini\n\t}\n"
    "\tExecutantPanetMenu::ExecutantMenu::QVOwnerDrawMenuItem::RingListClass {\n"
    "\t\tMenuKind\t0\n\t\tMenuString\tTools\n\t\tStartDirectory\tC:\\Tools\n\t}\n"
    "}\n"
    "QVBarDesktop::AnyDesktop::RingListClass {\n"
    "}\n"
    "QVBarDesktop::AnyDesktop::RingListClass {\n"
    "\tExecutantPanetMenu::ExecutantMenu::QVOwnerDrawMenuItem::RingListClass {\n"
    "\t\tMenuKind\t2\n\t\tMenuString\tCommon ﾃﾞｽｸﾄｯﾌﾟ\n\t\tStartDirectory\tCommon Desktop\n\t}\n"
    "}\n"
    "--EOF--\n";

TEST(BarConfigFile, ARichFileRoundTripsAndTheBarReadsTheSavedOneAlike) {
    qvtest::TempDir dir;
    const std::string path = dir.File("QVCtrlBar.ini");
    qvtest::WriteBytes(path, kRichFile);
    BarDocument document;
    bool missing = true;
    ASSERT_TRUE(LoadBarFile(path.c_str(), &document, &missing));
    EXPECT_FALSE(missing);
    ASSERT_EQ(document.desktops.size(), 3u) << "the block before the controller is nobody's";
    EXPECT_EQ(document.desktops[0].size(), 2u);
    EXPECT_TRUE(document.desktops[1].empty());

    // Saved as the dialog would: the choices' values.
    document.controller.rollTimer = TimerOfChoice(TimerChoice(document.controller.rollTimer));
    document.controller.hangerSortId = HangerSortChoice(document.controller.hangerSortId);
    const std::string saved = dir.File("saved.ini");
    ASSERT_TRUE(SaveBarFile(saved.c_str(), document));
    const std::string bytes = qvtest::ReadBytes(saved);
    EXPECT_EQ(bytes.rfind(";QVBarCntrl\r\nFileVersion\t0x0200\r\nQVBarController::AnyController::RingListClass {\r\n"
                          "\tMouseOver\t163\r\n\tFixPin\t1\r\n\tRollTimer\t2000\r\n\tRegionTimer\t9000\r\n"
                          "\tHangerSortID\t4\r\n\tHangerSortDir\t0\r\n\tMenuFileCond\t9\r\n"
                          "\tHotKeyActive\t0x00030041\r\n\tInitHangonModule\tnotepad.exe\r\n",
                          0),
              0u)
        << bytes;
    EXPECT_EQ(bytes.substr(bytes.size() - 9), "--EOF--\r\n");
    EXPECT_EQ(bytes.find("Stray"), std::string::npos);

    // The bar's own readers see the same settings.
    BarController bar;
    ASSERT_EQ(ReadBarControllerFile(saved.c_str(), &bar), BarReadResult::kRead);
    EXPECT_EQ(bar.mouseOver, 163);
    EXPECT_TRUE(bar.fixPin);
    EXPECT_EQ(bar.rollTimer, 2000);
    EXPECT_FALSE(bar.hangerSortAscending);
    EXPECT_EQ(bar.hotKeyActive, 0x00030041u);
    EXPECT_EQ(bar.initHangonModules, (std::vector<std::string>{"notepad.exe", "calc.exe"}));
    FILE* file = std::fopen(saved.c_str(), "rt");
    ASSERT_TRUE(file);
    const std::vector<PanelDescription> third = ReadPanelDescriptions(file, 2);
    std::fclose(file);
    ASSERT_EQ(third.size(), 1u);
    EXPECT_EQ(third[0].kind, PanelKind::kCommonFolder);
    EXPECT_EQ(third[0].startDirectory, "Common Desktop");

    // Loaded and saved again without edits: the same bytes.
    BarDocument again;
    ASSERT_TRUE(LoadBarFile(saved.c_str(), &again, &missing));
    const std::string resaved = dir.File("resaved.ini");
    ASSERT_TRUE(SaveBarFile(resaved.c_str(), again));
    EXPECT_EQ(qvtest::ReadBytes(resaved), bytes);
}

TEST(BarConfigFile, AFileCutShortOrMissingLeavesTheEditedDataAlone) {
    qvtest::TempDir dir;
    const std::string path = dir.File("cut.ini");
    const std::string rich = kRichFile;
    qvtest::WriteBytes(path, rich.substr(0, rich.find("\tExecutantPanetMenu", rich.find("Tools") - 80)));
    BarDocument document = DefaultBarDocument();
    document.controller.mouseOver = 77;
    bool missing = true;
    EXPECT_FALSE(LoadBarFile(path.c_str(), &document, &missing));
    EXPECT_FALSE(missing);
    EXPECT_EQ(document.controller.mouseOver, 77);
    EXPECT_EQ(document.desktops.size(), 1u);
    EXPECT_FALSE(LoadBarFile(dir.File("none.ini").c_str(), &document, &missing));
    EXPECT_TRUE(missing);
    EXPECT_EQ(document.controller.mouseOver, 77);
    // A save that cannot be made leaves the old file as it was.
    qvtest::WriteBytes(path, "old");
    EXPECT_FALSE(SaveBarFile((dir.File("no such folder") + "\\x.ini").c_str(), document));
    EXPECT_EQ(qvtest::ReadBytes(path), "old");
}

// Someone reading the file in the moment of a save (an indexer, a scanner, a
// bar starting) must not make the save fail; someone who keeps it open does,
// and then the old file and nothing else is left.
TEST(BarConfigFile, ASaveWaitsOutAMomentaryReaderButNotOneThatStays) {
    qvtest::TempDir dir;
    const std::string path = dir.File("held.ini");
    qvtest::WriteBytes(path, "old");
    const BarDocument document = DefaultBarDocument();
    auto openReader = [&] {
        return CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0,
                           nullptr);
    };
    HANDLE brief = openReader();
    ASSERT_NE(brief, INVALID_HANDLE_VALUE);
    std::thread closer([brief] {
        Sleep(300);
        CloseHandle(brief);
    });
    EXPECT_TRUE(SaveBarFile(path.c_str(), document));
    closer.join();
    EXPECT_NE(qvtest::ReadBytes(path).find("RingListClass"), std::string::npos);

    qvtest::WriteBytes(path, "old");
    HANDLE stays = openReader();
    ASSERT_NE(stays, INVALID_HANDLE_VALUE);
    EXPECT_FALSE(SaveBarFile(path.c_str(), document));
    CloseHandle(stays);
    EXPECT_EQ(qvtest::ReadBytes(path), "old");
    EXPECT_FALSE(qvtest::FileExists(path + ".tmp"));
}

TEST(BarConfigChoices, StoredValuesShowAsTheChoiceAtOrAboveThemAndModulesLeaveTheSuiteOut) {
    EXPECT_EQ(TimerChoice(1000), 0);
    EXPECT_EQ(TimerChoice(1500), 1);  // "２秒", saved as 2000
    EXPECT_EQ(TimerOfChoice(TimerChoice(1500)), 2000);
    EXPECT_EQ(TimerChoice(9000), 8);
    EXPECT_EQ(TimerChoice(9999), 8);
    EXPECT_EQ(TimerChoice(0), 0);
    EXPECT_EQ(HangerSortChoice(3), 3);
    EXPECT_EQ(HangerSortChoice(7), 4);
    EXPECT_EQ(HangerSortChoice(-1), 4);
    EXPECT_EQ(StoredHangOnModules({"qvctrlbar.exe", "notepad.exe", "QUORVEL.EXE", "QVBarConfig.exe", ""}),
              (std::vector<std::string>{"notepad.exe"}));
    BarController controller;
    controller.rollTimer = 5000;
    controller.initHangonModules = {"notepad.exe"};
    ResetControllerKeys(&controller);
    EXPECT_EQ(controller.rollTimer, 1000);
    EXPECT_EQ(controller.initHangonModules, (std::vector<std::string>{"notepad.exe"}));
    EXPECT_EQ(DesktopMenuLabel(0), "ﾃﾞﾌｫﾙﾄのﾃﾞｽｸﾄｯﾌﾟ");
    EXPECT_EQ(DesktopMenuLabel(2), "追加2番目のﾃﾞｽｸﾄｯﾌﾟ");
    EXPECT_EQ(ShellFolderLabel("SendTo"), "送るﾒﾆｭｰ");
    EXPECT_EQ(ShellFolderLabel("My Music"), "My Music");
}

}  // namespace

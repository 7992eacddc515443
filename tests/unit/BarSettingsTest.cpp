#include <windows.h>

#include <gtest/gtest.h>

#include <map>
#include <set>
#include <string>
#include <vector>

#include "BarSettings.h"
#include "Handle.h"
#include "TestFiles.h"

namespace {

using qv::BarController;
using qv::BarReadResult;
using qv::MenuPanel;
using qv::PanelDescription;
using qv::PanelKind;

class BarSettingsTest : public ::testing::Test {
protected:
    BarReadResult ReadController(const std::string& text, BarController* controller) {
        qvtest::TextInput in(dir, qvtest::Crlf(text));
        return qv::ReadBarController(in.get(), controller);
    }
    std::vector<PanelDescription> Panels(const std::string& text, int desktop) {
        qvtest::TextInput in(dir, qvtest::Crlf(text));
        return qv::ReadPanelDescriptions(in.get(), desktop);
    }

    qvtest::TempDir dir;
    qvtest::LogCapture log;
};

// The configurator's layout: a blank before each "{".
std::string Controller(const std::string& lines) {
    return ";QVBarCntrl\nFileVersion\t0x0200\nQVBarController::AnyController::RingListClass {\n" + lines + "}\n";
}

std::string Desktop(const std::vector<std::string>& panels) {
    std::string text = "QVBarDesktop::AnyDesktop::RingListClass {\n";
    for (const std::string& panel : panels)
        text += "\tExecutantPanetMenu::ExecutantMenu::QVOwnerDrawMenuItem::RingListClass {\n" + panel + "\t}\n";
    return text + "}\n";
}

std::string Panel(int kind, const std::string& caption, const std::string& directory) {
    return "\t\tMenuKind\t" + std::to_string(kind) + "\n\t\tMenuString\t" + caption + "\n\t\tStartDirectory\t" +
           directory + "\n";
}

TEST_F(BarSettingsTest, ControllerValuesAreConvertedAsEachKeySays) {
    BarController c;
    ASSERT_EQ(ReadController(Controller("\tMouseOver\t-7\n\tFixPin\t5\n\tRollTimer\t500\n\tRegionTimer\t99999999999\n"
                                        "\tHangerSortID\t7\n\tHangerSortDir\t0\n\tMenuFileCond\t-1\n"
                                        "\tHotKeyActive\t0x00030041\n\tInitHangonModule\tC:\\Tools\\Edit.EXE\n"
                                        "\tInitHangonModule\tnotepad.exe\n\tNoSuchKey\t1\n") +
                                 Desktop({"\t\tMouseOver\t1\n"}) + "--EOF--\n",
                             &c),
              BarReadResult::kRead);
    EXPECT_EQ(c.fileVersion, "0x0200");
    EXPECT_EQ(c.mouseOver, -7) << "taken as it is; the bar keeps to its eight bits";
    EXPECT_TRUE(c.fixPin);
    EXPECT_EQ(c.rollTimer, 1000);
    EXPECT_EQ(c.regionTimer, 9999);
    EXPECT_EQ(c.hangerSortId, 7);
    EXPECT_FALSE(c.hangerSortAscending);
    EXPECT_EQ(c.menuFileCond, 0xFFu);
    EXPECT_EQ(c.hotKeyActive, 0x00030041u);  // Ctrl+Alt+A
    EXPECT_EQ(c.initHangonModules, (std::vector<std::string>{"c:\\tools\\edit.exe", "notepad.exe"}));
    // Executer : KeyWord[NoSuchKey]は、認識できません.
    EXPECT_EQ(log.Text(), "Executer : KeyWord[NoSuchKey]\x82\xCD\x81\x41\x94\x46\x8E\xAF\x82\xC5\x82\xAB\x82\xDC\x82\xB9"
                          "\x82\xF1.");

    EXPECT_EQ(qv::ClampBarTimer(9998), 9998);
    EXPECT_EQ(qv::ClampBarTimer(9999), 9999);
    EXPECT_EQ(qv::ClampBarTimer(1001), 1001);
    EXPECT_EQ(qv::ClampBarTimer(-5), 1000);
}

TEST_F(BarSettingsTest, MissingCutShortOrOverlongInputLosesOnlyWhatItMust) {
    BarController c;
    EXPECT_EQ(qv::ReadBarControllerFile(dir.File("none.ini").c_str(), &c), BarReadResult::kNoFile);
    EXPECT_EQ(c.rollTimer, 1000);
    EXPECT_EQ(c.hotKeyActive, 0x00090000u);
    EXPECT_FALSE(c.fixPin);

    BarController cut;
    EXPECT_EQ(ReadController("QVBarController::AnyController::RingListClass {\n\tRollTimer\t2000\n\tFixPin\t1\n", &cut),
              BarReadResult::kCutShort);
    EXPECT_EQ(cut.rollTimer, 2000);
    EXPECT_TRUE(cut.fixPin);

    // A line longer than the reader's buffer is read as further lines: its
    // tail is an unknown key, and the lines after it still count.
    BarController overlong;
    ASSERT_EQ(ReadController(Controller("\tInitHangonModule\t" + std::string(500, 'a') + ".exe\n\tRegionTimer\t4000\n"),
                             &overlong),
              BarReadResult::kRead);
    EXPECT_EQ(overlong.regionTimer, 4000);
    ASSERT_EQ(overlong.initHangonModules.size(), 1u);
    EXPECT_LT(overlong.initHangonModules[0].size(), 384u);
    EXPECT_NE(log.Text().find("Executer : KeyWord[aaaa"), std::string::npos);
}

TEST_F(BarSettingsTest, DesktopNumberPicksItsBlockAndEachPanelBlockGivesAtMostOnePanel) {
    const std::string file = Controller("\tFixPin\t1\n") +
                             Desktop({Panel(0, "Tools", "C:\\Tools")}) +
                             Desktop({Panel(1, "", "Favorites")}) +
                             Desktop({Panel(4, "List", ""),
                                      "\t\tStartDirectory\tC:\\Early\n\t\tMenuKind\t0\n",  // directory first: nothing
                                      Panel(2, "First", "Common Desktop") + Panel(7, "Last", "D:\\Last"),
                                      Panel(3, "Quick", "")}) +
                             "--EOF--\n" + Desktop({Panel(0, "After the end", "C:\\")});
    auto panels = Panels(file, 2);
    ASSERT_EQ(panels.size(), 3u);
    EXPECT_EQ(panels[0].kind, PanelKind::kProgramList);
    EXPECT_EQ(panels[0].caption, "List");
    EXPECT_EQ(panels[1].kind, PanelKind::kFolder) << "7 is no kind: a folder";
    EXPECT_EQ(panels[1].caption, "Last") << "the last description of a block counts";
    EXPECT_EQ(panels[1].startDirectory, "D:\\Last");
    EXPECT_EQ(panels[2].kind, PanelKind::kQuickLaunch);

    ASSERT_EQ(Panels(file, 0).size(), 1u);
    EXPECT_EQ(Panels(file, 0)[0].startDirectory, "C:\\Tools");
    EXPECT_EQ(Panels(file, 1)[0].kind, PanelKind::kUserFolder);
    EXPECT_TRUE(Panels(file, 3).empty()) << "blocks after the end marker are not read";
    EXPECT_TRUE(Panels(file, -1).empty());
}

// Registry values and directories of a test's making.
class TableFolders : public qv::FolderSource {
public:
    bool ShellFolder(bool common, const char* valueName, std::string* folder) const override {
        auto found = values.find((common ? "HKLM:" : "HKCU:") + std::string(valueName));
        if (found == values.end()) return false;
        *folder = found->second;
        return true;
    }
    bool MappedQuickLaunch(std::string* folder) const override { return ShellFolder(false, "MapGroups", folder); }
    bool IsDirectory(const std::string& path) const override { return directories.count(path) != 0; }

    std::map<std::string, std::string> values;
    std::set<std::string> directories;
};

TEST(BarPanels, KindsResolveThroughTheirFoldersAndUnresolvedPanelsAreDropped) {
    TableFolders folders;
    folders.values = {{"HKCU:Favorites", "C:\\Users\\me\\Favorites"},
                      {"HKLM:Common Desktop", "C:\\Users\\Public\\Desktop"},
                      {"HKCU:AppData", "C:\\Users\\me\\AppData"},
                      {"HKCU:MapGroups", "C:\\Mapped\\Quick"}};
    const std::vector<PanelDescription> described = {{PanelKind::kUserFolder, "", "Favorites"},
                                                     {PanelKind::kCommonFolder, "Shared", "Common Desktop"},
                                                     {PanelKind::kUserFolder, "Gone", "NoSuchValue"},
                                                     {PanelKind::kQuickLaunch, "Quick", ""},
                                                     {PanelKind::kProgramList, "List", ""},
                                                     {PanelKind::kFolder, "Plain", "D:\\Plain"}};
    auto shown = [&] { return qv::ResolvePanels(described, "C:\\Bar\\QVCtrlBar.ini", "Work", folders); };

    // Quick Launch under AppData is no directory, the mapped one neither: dropped.
    std::vector<MenuPanel> panels = shown();
    ASSERT_EQ(panels.size(), 4u);
    EXPECT_EQ(panels[0].caption, "Favorites") << "no caption: the StartDirectory text";
    EXPECT_EQ(panels[0].folder, "C:\\Users\\me\\Favorites");
    EXPECT_EQ(panels[1].folder, "C:\\Users\\Public\\Desktop");
    EXPECT_EQ(panels[2].kind, PanelKind::kProgramList);
    EXPECT_EQ(panels[2].folder, "C:\\Bar\\Work.ini");
    EXPECT_EQ(panels[3].folder, "D:\\Plain");

    folders.directories = {"C:\\Mapped\\Quick"};
    panels = shown();
    ASSERT_EQ(panels.size(), 5u);
    EXPECT_EQ(panels[2].folder, "C:\\Mapped\\Quick");
    folders.directories.insert("C:\\Users\\me\\AppData\\Microsoft\\Internet Explorer\\Quick Launch");
    EXPECT_EQ(shown()[2].folder, "C:\\Users\\me\\AppData\\Microsoft\\Internet Explorer\\Quick Launch");

    // Without a settings file: the three default panels, as far as they resolve.
    qvtest::TempDir dir;
    panels = qv::ReadDesktopPanels(dir.File("none.ini").c_str(), 0, "Work", folders);
    ASSERT_EQ(panels.size(), 2u);
    EXPECT_EQ(panels[0].caption, "Common \xC3\xDE\xBD\xB8\xC4\xAF\xCC\xDF");  // Common ﾃﾞｽｸﾄｯﾌﾟ
    EXPECT_EQ(panels[1].caption, "\x82\xA8\x8B\x43\x82\xC9\x93\xFC\x82\xE8");  // お気に入り
}

TEST(BarPanels, ShellFolderOfTheExpandableTypeIsExpanded) {
    // A value of the test's own beside the real ones, removed afterwards.
    const std::string name = "QVTest_" + std::to_string(GetCurrentProcessId());
    HKEY opened = nullptr;
    ASSERT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders",
                              0, nullptr, 0, KEY_READ | KEY_WRITE, nullptr, &opened, nullptr),
              ERROR_SUCCESS);
    qv::UniqueRegistryKey key(opened);
    const char raw[] = "%QV_TEST_ROOT%\\Stuff";
    ASSERT_EQ(RegSetValueExA(key.Get(), name.c_str(), 0, REG_EXPAND_SZ, reinterpret_cast<const BYTE*>(raw), sizeof(raw)),
              ERROR_SUCCESS);
    SetEnvironmentVariableA("QV_TEST_ROOT", "C:\\Root");
    std::string folder;
    const bool found = qv::SystemFolders().ShellFolder(false, name.c_str(), &folder);
    RegDeleteValueA(key.Get(), name.c_str());
    EXPECT_TRUE(found);
    EXPECT_EQ(folder, "C:\\Root\\Stuff");
    EXPECT_FALSE(qv::SystemFolders().ShellFolder(false, name.c_str(), &folder)) << "removed again";
}

}  // namespace

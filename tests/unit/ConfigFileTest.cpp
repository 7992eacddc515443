// The configurator's reading of the parameter file, with what it tells the
// user on the way, its default content, the desktop list's texts and its
// command line.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "ConfigFile.h"
#include "ExpectedText.h"
#include "TestFiles.h"

namespace {

using namespace qv::config;
using qvtest::Crlf;

TEST(ConfigLoad, OtherClassesAreSkippedWithAWordAndABrokenControllerGivesNothing) {
    qvtest::TempDir dir;
    const std::string path = dir.File("test.ini");
    qvtest::WriteBytes(path, Crlf(";Quorvel\nFileVersion\t0x0100\nMendrel::RingListClass\t{\nTitleDelay1\t7\n}\n"
                                  "AncestryController::RingListClass\t{\nTitleDelay1\t5\n"
                                  "\tAncestryDesktop::RingListClass\t{\n\t\tDesktopName\tOne\n\t}\n}\n--EOF--\n"));
    std::vector<std::string> told;
    Configuration loaded = LoadConfiguration(path.c_str(), &told);
    ASSERT_TRUE(loaded.controller);
    EXPECT_EQ(told, (std::vector<std::string>{"クラス [Mendrel::RingListClass] は認識できません."}));
    // The skipped record's lines were not taken for the controller's.
    EXPECT_EQ(loaded.controller->m_nTitleDelay1, 5);
    EXPECT_EQ(loaded.controller->Desktops().Count(), 1);
    EXPECT_STREQ(loaded.header.fileVersion.c_str(), "0x0100");

    // Cut inside the controller: the user is told, and nothing is loaded.
    qvtest::WriteBytes(path, Crlf("AncestryController::RingListClass\t{\nTitleDelay1\t5\n"));
    told.clear();
    EXPECT_FALSE(LoadConfiguration(path.c_str(), &told).controller);
    EXPECT_EQ(told, (std::vector<std::string>{"ファイル[" + path + "]の書式が不正です"}));

    told.clear();
    EXPECT_FALSE(LoadConfiguration(dir.File("missing.ini").c_str(), &told).controller);
    EXPECT_TRUE(told.empty());
}

TEST(ConfigLoad, DefaultContentSavesWithoutLogLinesAndReadsBackAlike) {
    qvtest::TempDir dir;
    Configuration saved;
    saved.controller = DefaultController();
    // A log name with a limit of 0 is no log: neither line is written.
    saved.header.logFileName.Assign("quorvel.log");
    saved.header.logFileLimit = 0;
    const std::string text =
        qvtest::WrittenText(dir, [&](FILE* file) { WriteConfiguration(file, saved.header, *saved.controller); });
    EXPECT_EQ(text.find("LogFile"), std::string::npos) << text;

    const std::string path = dir.File("saved.ini");
    qvtest::WriteBytes(path, text);
    std::vector<std::string> told;
    Configuration loaded = LoadConfiguration(path.c_str(), &told);
    ASSERT_TRUE(loaded.controller);
    EXPECT_TRUE(told.empty());
    EXPECT_EQ(loaded.controller->Desktops().Count(), 2);
    const std::string again =
        qvtest::WrittenText(dir, [&](FILE* file) { WriteConfiguration(file, loaded.header, *loaded.controller); });
    EXPECT_EQ(again, text);
}

TEST(ConfigList, ARowNamesAnUnnamedDesktopByItsPlaceAndShowsWhatItChanges) {
    auto desktop = DefaultDesktop();
    DesktopRow row = DescribeDesktop(*desktop, 0);
    EXPECT_EQ(row.name, "Desktop2");  // the first row stands for the second desktop
    EXPECT_EQ(row.wallpaper, "－");
    EXPECT_EQ(row.display, "---");
    EXPECT_EQ(row.programs, "0");

    desktop->m_strTitle.Assign("仕事");
    desktop->m_bChgWallpaper = true;
    desktop->m_strWallpaper.Assign("C:\\WINDOWS\\Web\\sea.bmp");
    desktop->m_bChgDisplay = true;
    desktop->m_nPelsWidth = 800;
    desktop->m_nPelsHeight = 600;
    desktop->m_dwExitOptions = 0x01000100;  // the top byte and the third
    desktop->Executants().Append(desktop->CreateChild());
    row = DescribeDesktop(*desktop, 4);
    EXPECT_EQ(row.name, "仕事");
    EXPECT_EQ(row.wallpaper, "sea.bmp");
    EXPECT_EQ(row.display, " 800X600");
    EXPECT_EQ(row.exit, "P-N");
    EXPECT_EQ(row.programs, "1");
}

TEST(ConfigCommandLine, PathAndDesktopOptions) {
    struct Case {
        const char* line;
        bool valid;
        const char* path;
        bool edit, capture;
    };
    const Case cases[] = {
        {"", true, "Quorvel.ini", false, false},
        {"-p \"C:\\My Files\\q.ini\" -d", true, "C:\\My Files\\q.ini", true, false},
        {"-d -c", true, "Quorvel.ini", true, true},
        {"-c", true, "Quorvel.ini", true, true},
        {"-p \"\"", false, "", false, false},
        {"-p", false, "", false, false},
        {"-P x.ini", true, "Quorvel.ini", false, false},  // names compare case-sensitively
    };
    for (const Case& c : cases) {
        const ConfigCommand command = ReadConfigCommand(c.line);
        EXPECT_EQ(command.valid, c.valid) << c.line;
        if (!c.valid) continue;
        EXPECT_EQ(command.path, c.path) << c.line;
        EXPECT_EQ(command.editOwnDesktop, c.edit) << c.line;
        EXPECT_EQ(command.captureAtOnce, c.capture) << c.line;
    }
}

}  // namespace

#include "DesktopRules.h"

namespace {

using namespace qv::config;

TEST(ConfigClosePage, PresetsSetTheWordAndOnlyTheFreeChoiceOffersTheActions) {
    EXPECT_EQ(PresetOf(0), ClosePreset::kKeepProcesses);
    EXPECT_EQ(PresetOf(0x00000100), ClosePreset::kOrdinaryProcesses);
    EXPECT_EQ(PresetOf(0x10110100), ClosePreset::kEverything);
    EXPECT_EQ(PresetOf(0x10110101), ClosePreset::kFree);  // another exit code is a free word
    // Everything: exit code and delay, but not the actions; switching to the
    // free choice offers them without touching the word.
    EXPECT_FALSE(PageOf(ClosePreset::kEverything).actions);
    EXPECT_TRUE(PageOf(ClosePreset::kEverything).exitCode);
    EXPECT_EQ(WordOf(ClosePreset::kFree, 0x10110100), 0x10110100u);
    EXPECT_TRUE(PageOf(ClosePreset::kFree).actions);
    EXPECT_EQ(WordOf(ClosePreset::kKeepProcesses, 0x10110100), 0u);
    EXPECT_FALSE(PageOf(ClosePreset::kOrdinaryProcesses).exitCode);

    // Each kind's box changes only its own byte; a tab is marked while its
    // byte is set.
    uint32_t word = WithAction(0x000000FF, 1, 0x10, true);
    EXPECT_EQ(word, 0x001000FFu);
    EXPECT_EQ(CloseTabLabel(word, 1), "●ｴｸｽﾌﾟﾛｰﾗ/IE");
    EXPECT_EQ(CloseTabLabel(word, 0), "  ﾌﾟﾛｸﾞﾗﾑﾏﾈｼﾞｬ");
    EXPECT_EQ(WithAction(word, 1, 0x10, false), 0x000000FFu);
}

TEST(ConfigProgramRow, TheRowTellsOnceFolderPlacePriorityAndArguments) {
    qv::Executant entry;
    entry.AddEntry("ExecutionFileName", "C:\\Tools\\Memo.exe");
    entry.AddEntry("ExecutionPath", "c:\\tools\\");
    entry.AddEntry("ExecutionInitialOnce", "1");
    entry.AddEntry("ExecutionPosition", "10,20");
    entry.AddEntry("ExecutionPriority", "0x34");
    entry.AddEntry("ExecutionArguments", "notes.txt");
    entry.Validate();
    entry.Apply();
    ProgramRow row = DescribeProgram(entry);
    EXPECT_EQ(row.module, "Memo.exe");
    EXPECT_EQ(row.once, "×");
    EXPECT_EQ(row.folder, "○");  // its own folder, whatever the case and the backslash
    EXPECT_EQ(row.position, "10,20");
    EXPECT_EQ(row.size, "---");
    EXPECT_EQ(row.priority, " 高 +1");
    EXPECT_EQ(row.arguments, "■");

    // A shell entry names the item it opens; its arguments are that item.
    qv::Executant shell;
    shell.AddEntry("ExecutionFileName", "C:\\Viewer\\show.exe");
    shell.AddEntry("ExecutionArguments", "D:\\Docs\\plan.pdf");
    shell.AddEntry("ExecutionPath", "D:\\Docs");
    shell.AddEntry("ExecutionShellExec", "1");
    shell.Validate();
    shell.Apply();
    row = DescribeProgram(shell);
    EXPECT_EQ(row.module, "plan.pdf");
    EXPECT_EQ(row.folder, "■");
    EXPECT_EQ(row.priority, "継承  ");
    EXPECT_EQ(row.arguments, "－");
}

}  // namespace

#include "CaptureRules.h"

namespace {

using namespace qv::config;

std::unique_ptr<qv::Executant> Entry(const char* program) {
    auto entry = std::make_unique<qv::Executant>();
    entry->AddEntry("ExecutionFileName", program);
    entry->Validate();
    entry->Apply();
    return entry;
}

std::vector<std::unique_ptr<qv::Executant>> Entries(std::initializer_list<const char*> programs) {
    std::vector<std::unique_ptr<qv::Executant>> entries;
    for (const char* program : programs) entries.push_back(Entry(program));
    return entries;
}

TEST(ConfigCapture, TheDefaultsTakeMinimizedWindowsButNoOwnedOrUntitledOnes) {
    CaptureFacts window;
    window.title = "memo";
    window.normalWidth = 300;
    window.normalHeight = 200;
    window.minimized = true;
    EXPECT_EQ(JudgeWindow(window, kCaptureDefaults), CaptureVerdict::kTaken);
    EXPECT_EQ(JudgeWindow(window, kCaptureDefaults & ~kCaptureMinimized), CaptureVerdict::kMinimized);
    CaptureFacts owned = window;
    owned.owned = true;
    owned.enabled = false;  // the owner is told first
    EXPECT_EQ(JudgeWindow(owned, 0xFFFFFFFF), CaptureVerdict::kOwned);
    CaptureFacts untitled = window;
    untitled.title.clear();
    EXPECT_EQ(JudgeWindow(untitled, kCaptureDefaults), CaptureVerdict::kNoTitle);
    EXPECT_STREQ(RefusalText(CaptureVerdict::kNoTitle), "ﾀｲﾄﾙが未設定のｳｨﾝﾄﾞｳですので取り込みできません.");
    CaptureFacts shell = window;
    shell.title = "Program Manager";
    shell.className = "Progman";
    EXPECT_EQ(JudgeWindow(shell, kCaptureDefaults), CaptureVerdict::kShell);
    EXPECT_EQ(JudgeWindow(shell, kCaptureDefaults & ~kCaptureRefuseShell), CaptureVerdict::kTaken);
}

TEST(ConfigCapture, MergingKeepsTheListAndDropsProgramsAlreadyListed) {
    qv::OwnedRing<qv::Executant> list;
    list.Append(Entry("C:\\Tools\\Memo.exe").release());
    // Listed under another folder and case: the same program.
    EXPECT_EQ(MergeCaptured(list, Entries({"D:\\other\\MEMO.EXE"}), kCaptureDefaults),
              "既にﾘｽﾄに登録済みのモジュールですので、取り込みませんでした.");
    EXPECT_EQ(MergeCaptured(list, Entries({"D:\\memo.exe", "C:\\calc.exe"}), kCaptureDefaults),
              "既に登録済みのモジュールを除いて 1 件取り込みました.");
    EXPECT_EQ(list.Count(), 2);
    EXPECT_EQ(MergeCaptured(list, Entries({"C:\\memo.exe", "C:\\calc.exe"}), kCaptureDefaults),
              "既にﾘｽﾄに登録済みのモジュールですので、１件も取り込みませんでした.");
    // Without the skip both come in; replacing takes only the captured.
    EXPECT_EQ(MergeCaptured(list, Entries({"C:\\memo.exe"}), 0), "1 件取り込みました.");
    EXPECT_EQ(list.Count(), 3);
    EXPECT_EQ(MergeCaptured(list, Entries({"C:\\a.exe", "C:\\b.exe"}), kCaptureDefaults | kCaptureReplaceList),
              "2 件取り込みました.");
    EXPECT_EQ(list.Count(), 2);
}

TEST(ConfigCapture, ModuleNamesMergeByTheSameRulesWhateverTheirCase) {
    std::vector<std::string> modules{"notepad.exe"};
    EXPECT_EQ(MergeCapturedNames(modules, {"NOTEPAD.EXE"}, kCaptureDefaults),
              "既にﾘｽﾄに登録済みのモジュールですので、取り込みませんでした.");
    EXPECT_EQ(MergeCapturedNames(modules, {"notepad.exe", "calc.exe"}, kCaptureDefaults),
              "既に登録済みのモジュールを除いて 1 件取り込みました.");
    EXPECT_EQ(modules, (std::vector<std::string>{"notepad.exe", "calc.exe"}));
    EXPECT_EQ(MergeCapturedNames(modules, {"a.exe"}, kCaptureDefaults | kCaptureReplaceList), "1 件取り込みました.");
    EXPECT_EQ(modules, std::vector<std::string>{"a.exe"});
}

}  // namespace

#include "ProgramFields.h"

namespace {

using namespace qv::config;

TEST(ConfigProgramFields, EditedFieldsComeBackAndWhatIsUntickedIsUnset) {
    qv::Executant entry;
    entry.Validate();
    entry.Apply();
    ProgramFields fields = ReadFields(entry);
    EXPECT_FALSE(FieldsComplete(fields));
    EXPECT_EQ(fields.showMode, 1);
    fields.file = "C:\\Tools\\memo.exe";
    fields.positionSet = true;
    fields.x = -20;
    fields.y = 30;
    fields.prioritySet = true;
    fields.priorityClass = 3;
    fields.thread = 5;
    fields.once = true;
    fields.showMode = 3;
    WriteFields(fields, entry);
    EXPECT_TRUE(entry.positionSet);
    EXPECT_FALSE(entry.sizeSet);
    EXPECT_EQ(entry.priority, 0x35u);
    const ProgramFields back = ReadFields(entry);
    EXPECT_EQ(back.file, fields.file);
    EXPECT_EQ(back.x, -20);
    EXPECT_EQ(back.showMode, 3);
    EXPECT_TRUE(back.once);
    EXPECT_EQ(back.thread, 5);

    // A shell entry keeps neither the thread priority nor the once-only rule,
    // and needs no program name.
    fields.shell = true;
    fields.file.clear();
    fields.positionSet = false;
    WriteFields(fields, entry);
    EXPECT_TRUE(FieldsComplete(ReadFields(entry)));
    EXPECT_EQ(entry.priority, 0x30u);
    EXPECT_FALSE(entry.positionSet);
    EXPECT_FALSE(ReadFields(entry).once);
    // Unticked priority: nothing stored.
    fields.prioritySet = false;
    WriteFields(fields, entry);
    EXPECT_FALSE(entry.prioritySet);
}

}  // namespace

namespace {

using namespace qv::config;

TEST(ConfigDisplayMode, TheListLineIsTabbedAndAStoredModeFromTheSeventhOnIsTheSixthShown) {
    const qv::DisplayMode mode{8, 640, 480, 60};
    EXPECT_EQ(DisplayModeLine(mode), "Depth= 8\tSize= 640X480\tVf=60Hz");
    EXPECT_EQ(DisplayModeText(mode), "Depth= 8, Size= 640X480, Vf=60Hz");
    EXPECT_FALSE(SameDisplayMode(mode, qv::DisplayMode{8, 640, 480, 75}));
    EXPECT_EQ(DisplayModeTopLine(0), 0);
    EXPECT_EQ(DisplayModeTopLine(5), 0);  // the 6th line shows without a scroll
    EXPECT_EQ(DisplayModeTopLine(6), 1);  // the 7th moves up to the 6th place
    EXPECT_EQ(DisplayModeTopLine(20), 15);
    // A choice outside the drop-down waits the longest.
    EXPECT_EQ(TestDelayMs(0), 500u);
    EXPECT_EQ(TestDelayMs(kTestDelayChoices), 10000u);
    EXPECT_EQ(TestDelayMs(-1), 10000u);
}

}  // namespace

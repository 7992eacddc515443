// What the launcher menu lists, on real folders: programs, shortcuts read
// through the shell's link object, documents and subfolders, the drive
// filter, the Mendrel program lists, and the scan's limits.

#include <windows.h>

#include <shlobj.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "ComRef.h"
#include "MenuScan.h"
#include "Sjis.h"
#include "TestFiles.h"

namespace {

using qv::MenuFolder;
using qv::MenuItem;

std::string Lower(std::string text) {
    qv::LowerSjis(text.data());
    return text;
}

void MakeShortcut(const std::string& shortcut, const std::string& target, const std::string& workingDirectory = "") {
    qv::ComRef<IShellLinkA> link;
    ASSERT_HRESULT_SUCCEEDED(
        CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkA, link.PutVoid()));
    link->SetPath(target.c_str());
    if (!workingDirectory.empty()) link->SetWorkingDirectory(workingDirectory.c_str());
    qv::ComRef<IPersistFile> file;
    ASSERT_HRESULT_SUCCEEDED(link->QueryInterface(IID_IPersistFile, file.PutVoid()));
    wchar_t wide[MAX_PATH];
    MultiByteToWideChar(CP_ACP, 0, shortcut.c_str(), -1, wide, MAX_PATH);
    ASSERT_HRESULT_SUCCEEDED(file->Save(wide, TRUE));
}

// The names of a folder's plain files in the order the file system gives them.
std::vector<std::string> ListedFiles(const std::string& folder) {
    std::vector<std::string> names;
    WIN32_FIND_DATAA found;
    HANDLE find = FindFirstFileA((folder + "\\*.*").c_str(), &found);
    if (find == INVALID_HANDLE_VALUE) return names;
    do {
        if (!(found.dwFileAttributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_HIDDEN))) names.push_back(found.cFileName);
    } while (FindNextFileA(find, &found));
    FindClose(find);
    return names;
}

std::vector<std::string> Captions(const MenuFolder& folder) {
    std::vector<std::string> captions;
    for (const auto& item : folder.items) captions.push_back(item->caption);
    for (const MenuFolder& sub : folder.folders) captions.push_back(sub.caption + "/");
    return captions;
}

std::string Property(const MenuItem& item, MenuItem::Key key) {
    return item.Properties().Value(item.KeyName(key));
}

class Progress : public qv::ScanProgress {
public:
    void Entering(const std::string& folder) override {
        entered.push_back(folder);
        if (static_cast<int>(entered.size()) == cancelAt) cancelled = true;
    }
    bool Cancelled() const override { return cancelled; }

    std::vector<std::string> entered;
    int cancelAt = 0;  // the folder whose entry cancels, from 1; 0 never
    bool cancelled = false;
};

// Drive types as a test machine cannot have them: D: a CD-ROM, E: gone,
// \\server\share\ remote, everything else fixed.
UINT WINAPI FakeDriveType(LPCSTR root) {
    const std::string text = root ? root : "";
    if (text == "D:\\") return DRIVE_CDROM;
    if (text == "E:\\") return DRIVE_NO_ROOT_DIR;
    if (text == "\\\\server\\share\\") return DRIVE_REMOTE;
    return text.size() == 3 && text[1] == ':' ? DRIVE_FIXED : DRIVE_UNKNOWN;
}

class MenuScanTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(apartment.Usable()); }

    MenuFolder Scan(const std::string& folder, uint32_t driveCondition = qv::kDriveFixed) {
        qv::ScanOptions options;
        options.extensions = &extensions;
        options.driveCondition = driveCondition;
        options.driveType = FakeDriveType;
        options.shortcuts = links.Usable() ? &links : nullptr;
        qv::MenuScanner scanner(options, ids, progress);
        return scanner.ScanFolder(folder, "Panel");
    }
    std::string Folder(const char* name) const {
        const std::string path = dir.File(name);
        CreateDirectoryA(path.c_str(), nullptr);
        return path;
    }

    qv::ComApartment apartment;
    qv::ShellLinkReader links;
    qv::ExtensionList extensions{".exe;.com"};
    qv::CommandIds ids;
    Progress progress;
    qvtest::TempDir dir;
    qvtest::LogCapture log;
};

TEST_F(MenuScanTest, AFolderListsItsFilesInFileSystemOrderThenTheSubfoldersThatGiveItems) {
    ASSERT_TRUE(links.Usable());
    const std::string top = Folder("top");
    const std::string elsewhere = Folder("elsewhere");
    qvtest::WriteBytes(elsewhere + "\\note.txt", "a document");
    qvtest::WriteBytes(top + "\\a.exe", "any bytes");
    SetEnvironmentVariableA("QVTEST_WORK", elsewhere.c_str());
    MakeShortcut(top + "\\b.lnk", elsewhere + "\\note.txt", "%QVTEST_WORK%");
    qvtest::WriteBytes(top + "\\c.txt", "text");
    qvtest::WriteBytes(top + "\\h.exe", "hidden");
    SetFileAttributesA((top + "\\h.exe").c_str(), FILE_ATTRIBUTE_HIDDEN);
    CreateDirectoryA((top + "\\empty").c_str(), nullptr);
    CreateDirectoryA((top + "\\nested").c_str(), nullptr);
    CreateDirectoryA((top + "\\nested\\empty").c_str(), nullptr);
    CreateDirectoryA((top + "\\d").c_str(), nullptr);
    qvtest::WriteBytes(top + "\\d\\tool.exe", "any bytes");

    // A trailing separator is no part of the folder.
    const MenuFolder panel = Scan(top + "\\");
    EXPECT_EQ(panel.path, top);
    ASSERT_FALSE(progress.entered.empty());
    EXPECT_EQ(progress.entered[0], top);

    std::vector<std::string> expected;
    for (const std::string& name : ListedFiles(top)) expected.push_back(name.substr(0, name.rfind('.')));
    expected.push_back("d/");
    ASSERT_EQ(Captions(panel), expected);
    ASSERT_EQ(panel.folders.size(), 1u);
    ASSERT_EQ(panel.folders[0].items.size(), 1u);
    EXPECT_TRUE(panel.folders[0].folders.empty());

    // Ids in build order: the files of the folder, then those below.
    UINT id = 1;
    for (const auto& item : panel.items) EXPECT_EQ(item->command, id++) << item->caption;
    const MenuItem& tool = *panel.folders[0].items[0];
    EXPECT_EQ(tool.command, id);
    EXPECT_EQ(panel.Find(id), &tool);

    for (const auto& item : panel.items) {
        const std::string& c = item->caption;
        if (c == "a") {
            EXPECT_EQ(item->kind, MenuItem::kProgram);
            EXPECT_FALSE(item->shellExec);
            EXPECT_EQ(item->FileName().c_str(), Lower("\"" + top + "\\a.exe\""));
            EXPECT_EQ(Property(*item, MenuItem::kPath), top);
            EXPECT_EQ(item->iconPath, top + "\\a.exe");
        } else if (c == "b") {
            EXPECT_EQ(item->kind, MenuItem::kShellItem);
            EXPECT_TRUE(item->shellExec);
            EXPECT_EQ(Property(*item, MenuItem::kFileName), "QVShlExe.exe");
            EXPECT_EQ(item->Arguments(), top + "\\b.lnk");
            EXPECT_EQ(Property(*item, MenuItem::kPath), elsewhere);
        } else {
            ASSERT_EQ(c, "c");
            EXPECT_EQ(item->kind, MenuItem::kShellItem);
            EXPECT_TRUE(item->shellExec);
            EXPECT_EQ(Property(*item, MenuItem::kFileName), "QVShlExe.exe");
            EXPECT_EQ(item->Arguments(), top + "\\c.txt");
            EXPECT_EQ(Property(*item, MenuItem::kPath), top);
        }
    }
    SetEnvironmentVariableA("QVTEST_WORK", nullptr);
}

TEST_F(MenuScanTest, OnlyTheListedExtensionsAreProgramsInAnyCase) {
    const std::string top = Folder("top");
    for (const char* name : {"x.bat", "y.COM", "z.exe.txt"}) qvtest::WriteBytes(top + "\\" + name, "bytes");
    qv::MenuScanner scanner(qv::ScanOptions{&extensions, qv::kDriveFixed, FakeDriveType, nullptr}, ids, progress);
    EXPECT_EQ(scanner.Classify(top, "x.bat")->kind, MenuItem::kShellItem);
    EXPECT_EQ(scanner.Classify(top, "y.COM")->kind, MenuItem::kProgram);
    EXPECT_EQ(scanner.Classify(top, "z.exe.txt")->kind, MenuItem::kShellItem);

    // Without a usable list the three classic ones are programs.
    for (const char* list : {static_cast<const char*>(nullptr), "", ".x"}) {
        const qv::ExtensionList fallback(list);
        EXPECT_TRUE(fallback.Contains(".BAT")) << (list ? list : "null");
        EXPECT_FALSE(fallback.Contains(".com"));
    }
    EXPECT_FALSE(qv::ExtensionList(".exe;;.com").Contains(""));
    EXPECT_FALSE(qv::ExtensionList(".exe;.com").Contains(".ex"));
}

TEST_F(MenuScanTest, ShortcutsThatCannotBeOpenedOrLeadWhereTheFilterRefusesAreDropped) {
    ASSERT_TRUE(links.Usable());
    const std::string top = Folder("top");
    const std::string target = Folder("target");
    qvtest::WriteBytes(top + "\\garbage.lnk", "not a shortcut at all");
    qvtest::WriteBytes(top + "\\empty.lnk", "");
    MakeShortcut(top + "\\folder.lnk", target);
    MakeShortcut(top + "\\cd.lnk", "D:\\setup.doc");
    MakeShortcut(top + "\\gone.lnk", "E:\\readme.doc");
    MakeShortcut(top + "\\remote.lnk", "\\\\server\\share\\readme.doc");
    qvtest::WriteBytes(target + "\\kept.doc", "kept");
    MakeShortcut(top + "\\kept.lnk", target + "\\kept.doc");

    auto shown = [&](uint32_t condition) {
        std::vector<std::string> captions = Captions(Scan(top, condition));
        std::sort(captions.begin(), captions.end());
        return captions;
    };
    EXPECT_EQ(shown(qv::kDriveFixed), (std::vector<std::string>{"kept"}));
    EXPECT_EQ(shown(qv::kDriveFixed | qv::kDriveCdRom), (std::vector<std::string>{"cd", "kept"}));
    EXPECT_EQ(shown(qv::kDriveRemote), (std::vector<std::string>{"remote"}));
    // A drive without a root passes no condition; the others are "other".
    EXPECT_EQ(shown(0x1F), (std::vector<std::string>{"cd", "kept", "remote"}));

    // Without the link object no shortcut is shown, and the rest is.
    qvtest::WriteBytes(top + "\\doc.txt", "document");
    qv::MenuScanner blind(qv::ScanOptions{&extensions, qv::kDriveFixed, FakeDriveType, nullptr}, ids, progress);
    EXPECT_EQ(Captions(blind.ScanFolder(top, "Panel")), (std::vector<std::string>{"doc"}));
}

TEST_F(MenuScanTest, AMissingFolderGivesNothing) {
    EXPECT_TRUE(Scan(dir.File("missing")).Empty());
    EXPECT_TRUE(progress.entered.empty());
}

TEST_F(MenuScanTest, TheItemCapAndTheCancelStopTheScanWithWhatWasFound) {
    const std::string top = Folder("top");
    for (const char* name : {"1.txt", "2.txt", "3.txt"}) qvtest::WriteBytes(top + "\\" + name, "x");
    const std::string sub = Folder("top\\sub");
    for (const char* name : {"4.txt", "5.txt"}) qvtest::WriteBytes(sub + "\\" + name, "x");

    {
        qv::CommandIds few(4);
        qv::MenuScanner scanner(qv::ScanOptions{&extensions, qv::kDriveFixed, FakeDriveType, nullptr}, few, progress);
        const MenuFolder capped = scanner.ScanFolder(top, "Panel");
        ASSERT_EQ(capped.items.size(), 3u);
        ASSERT_EQ(capped.folders.size(), 1u);
        ASSERT_EQ(capped.folders[0].items.size(), 1u);
        EXPECT_EQ(capped.folders[0].items[0]->command, 4u);
        EXPECT_TRUE(few.Exhausted());
        EXPECT_EQ(few.Take(), 0u);
    }

    // Cancelled on entering the subfolder: the files above stay.
    progress.entered.clear();
    progress.cancelAt = 2;
    const MenuFolder cancelled = Scan(top);
    EXPECT_EQ(cancelled.items.size(), 3u);
    EXPECT_TRUE(cancelled.folders.empty());
    EXPECT_EQ(progress.entered, (std::vector<std::string>{top, sub}));
}

class ProgramListTest : public ::testing::Test {
protected:
    MenuFolder Read(const std::string& text) {
        qvtest::WriteBytes(list, qvtest::Crlf(text));
        return qv::ReadProgramList(list, "Programs", "C:\\Quorvel\\", ids);
    }
    static std::string Entry(const std::string& lines) { return "Executant::RingListClass {\n" + lines + "}\n"; }

    qvtest::TempDir dir;
    qvtest::LogCapture log;
    std::string list = dir.File("Work.ini");
    qv::CommandIds ids;
};

TEST_F(ProgramListTest, OneEntryGivesOneItemAndNoStartAll) {
    const MenuFolder panel =
        Read("FileVersion\t0x0200\n" + Entry("\tExecutionFileName\tC:\\Tools\\Edit.Exe\n") + "--EOF--\n");
    ASSERT_EQ(panel.items.size(), 1u);
    EXPECT_EQ(panel.items[0]->caption, "Edit");
    EXPECT_EQ(panel.items[0]->command, 1u);
    EXPECT_EQ(panel.items[0]->iconPath, "C:\\Tools\\Edit.Exe");
    EXPECT_TRUE(panel.folders.empty());
}

TEST_F(ProgramListTest, MoreEntriesGiveTheStartAllItemAndABrokenEntryIsDropped) {
    const MenuFolder panel = Read("FileVersion\t0x0200\n" +
                                  Entry("\tExecutionFileName\t\"C:\\Program Files\\Big.exe\"\n"
                                        "\tExecutionArguments\t-x\n") +
                                  Entry("\tExecutionArguments\tno program\n") + "Something\tat the top\n" +
                                  Entry("\tExecutionFileName\tC:\\Docs\\Plan.doc\n\tExecutionShellExec\t1\n"
                                        "\tExecutionArguments\tC:\\Docs\\Plan.doc\n") +
                                  "--EOF--\n");
    ASSERT_EQ(panel.items.size(), 2u);
    EXPECT_EQ(panel.items[0]->caption, "Big");
    EXPECT_EQ(panel.items[0]->kind, MenuItem::kProgram);
    EXPECT_EQ(panel.items[0]->Arguments(), std::string("-x"));
    EXPECT_EQ(panel.items[1]->caption, "Plan");
    EXPECT_EQ(panel.items[1]->kind, MenuItem::kShellItem);
    EXPECT_EQ(panel.items[1]->command, 2u);

    ASSERT_EQ(panel.folders.size(), 1u);
    const MenuFolder& all = panel.folders[0];
    EXPECT_EQ(all.caption, "一括起動");
    ASSERT_EQ(all.items.size(), 1u);
    const MenuItem& start = *all.items[0];
    EXPECT_EQ(start.caption, "Mendrel 一括起動");
    EXPECT_EQ(start.kind, MenuItem::kProgram);
    EXPECT_FALSE(start.shellExec);
    EXPECT_EQ(start.command, 3u);
    EXPECT_EQ(start.FileName().c_str(), std::string("\"c:\\quorvel\\mendrel.exe\""));
    EXPECT_EQ(start.Arguments(), "-p \"" + list + "\" -e");
    EXPECT_EQ(panel.Find(3), &start);
}

TEST_F(ProgramListTest, AnEntryCutShortByTheFileEndIsDroppedAndAMissingListGivesNothing) {
    const MenuFolder panel = Read(Entry("\tExecutionFileName\tC:\\Tools\\One.exe\n") +
                                  "Executant::RingListClass {\n\tExecutionFileName\tC:\\Tools\\Two.exe\n");
    ASSERT_EQ(panel.items.size(), 1u);
    EXPECT_EQ(panel.items[0]->caption, "One");
    EXPECT_TRUE(panel.folders.empty());

    EXPECT_TRUE(qv::ReadProgramList(dir.File("Other.ini"), "Programs", "C:\\Quorvel\\", ids).Empty());
}

TEST(OpenCommand, TheProgramIsTheQuotedWordOrTheTextBeforeItsArguments) {
    EXPECT_EQ(qv::ProgramOfOpenCommand("\"C:\\Program Files\\App\\app.exe\" \"%1\""), "C:\\Program Files\\App\\app.exe");
    EXPECT_EQ(qv::ProgramOfOpenCommand("C:\\WINDOWS\\notepad.exe %1"), "C:\\WINDOWS\\notepad.exe");
    EXPECT_EQ(qv::ProgramOfOpenCommand("C:\\Tools\\view.exe /open \"%1\""), "C:\\Tools\\view.exe");
    EXPECT_EQ(qv::ProgramOfOpenCommand("C:\\Tools\\view.exe"), "C:\\Tools\\view.exe");
    // At most 258 bytes, never half a double-byte character.
    const std::string path = "C:\\" + std::string(254, 'a') + "表表.exe";
    EXPECT_EQ(qv::ProgramOfOpenCommand(path), "C:\\" + std::string(254, 'a'));
}

}  // namespace

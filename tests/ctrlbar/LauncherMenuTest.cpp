// The launcher menu behind the system button's left click, driven as a user
// drives it: a program of a folder panel, chosen by keyboard, starts on the
// bar's own desktop, and a shortcut opens through QVShlExe.

#include <windows.h>

#include <shlobj.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "BarWindows.h"
#include "ComRef.h"
#include "Daemon.h"
#include "Desktops.h"
#include "MendrelList.h"
#include "PipeClient.h"
#include "Processes.h"
#include "Sjis.h"

namespace {

using qvtest::Daemon;

constexpr char kFixtureClass[] = "QVFixtureWindow";

std::string Lower(std::string text) {
    qv::LowerSjis(text.data());
    return text;
}

// A bar settings file whose second desktop has one folder panel.
std::string SettingsWithPanel(const std::string& folder) {
    return ";QVBarCntrl\r\nFileVersion\t0x0200\r\n"
           "QVBarController::AnyController::RingListClass {\r\n\tFixPin\t1\r\n}\r\n"
           "QVBarDesktop::AnyDesktop::RingListClass {\r\n}\r\n"
           "QVBarDesktop::AnyDesktop::RingListClass {\r\n"
           "\tExecutantPanetMenu::ExecutantMenu::QVOwnerDrawMenuItem::RingListClass {\r\n"
           "\t\tMenuKind\t0\r\n\t\tMenuString\tTools\r\n\t\tStartDirectory\t" +
           folder + "\r\n\t}\r\n}\r\n--EOF--\r\n";
}

bool MakeShortcut(const std::string& shortcut, const std::string& target, const std::string& arguments) {
    qv::ComApartment apartment;
    qv::ComRef<IShellLinkA> link;
    qv::ComRef<IPersistFile> file;
    wchar_t wide[MAX_PATH];
    return SUCCEEDED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkA,
                                      link.PutVoid())) &&
           SUCCEEDED(link->SetPath(target.c_str())) && SUCCEEDED(link->SetArguments(arguments.c_str())) &&
           SUCCEEDED(link->QueryInterface(IID_IPersistFile, file.PutVoid())) &&
           MultiByteToWideChar(CP_ACP, 0, shortcut.c_str(), -1, wide, MAX_PATH) != 0 &&
           SUCCEEDED(file->Save(wide, TRUE));
}

class ControlBarLauncher : public ::testing::Test {
protected:
    void StartWith(const std::string& barSettings) {
        ids = bartest::StartWithBar(daemon, barSettings, {""});
        ASSERT_EQ(ids.size(), 2u);
    }
    // Clicks the system button of the desktop's bar and, once the menu is
    // up, presses the keys in it.
    bool ChooseByKeys(const std::string& desktop, const std::vector<WPARAM>& keys) {
        HWND system = bartest::BarButton(desktop, "QV");
        bool chosen = false;
        qvtest::RunOnDesktop(desktop, [&] {
            // Posted: the click returns only when the menu has closed.
            PostMessageA(system, BM_CLICK, 0, 0);
            HWND menu = nullptr;
            if (!qvtest::WaitUntil([&] { return (menu = FindWindowA("#32768", nullptr)) && IsWindowVisible(menu); },
                                   15000))
                return;
            for (WPARAM key : keys) PostMessageA(menu, WM_KEYDOWN, key, 0);
            chosen = true;
        });
        return system && chosen;
    }

    qvtest::TempDir tools;  // the panel's folder; outlives what runs from it
    Daemon daemon;
    std::vector<std::string> ids;
};

TEST_F(ControlBarLauncher, AProgramOfAFolderPanelStartsOnTheBarsDesktop) {
    const std::string program = tools.File("Tool.exe");
    ASSERT_TRUE(CopyFileA(qvtest::FixturePath().c_str(), program.c_str(), FALSE));
    StartWith(SettingsWithPanel(tools.Path()));

    // The panel "Tools" first, its one item, chosen.
    ASSERT_TRUE(ChooseByKeys(ids[1], {VK_DOWN, VK_RIGHT, VK_RETURN}));
    HWND window = qvtest::FindWindowOn(ids[1], kFixtureClass, nullptr, 20000);
    ASSERT_TRUE(window);
    qvtest::ProcessGuard started;
    qvtest::RunOnDesktop(ids[1], [&] { started.WatchWindowOwner(window); });
    ASSERT_TRUE(started.Running());
    EXPECT_EQ(Lower(qvtest::FactsOf(started.Handle()).image), Lower(program));
    // Started by the bar itself, not through QVShlExe.
    EXPECT_EQ(qvtest::ParentOf(started.Handle()), bartest::BarProcess(ids[1]));
    // Found from desktop 1 only, where FindWindow looks: the program is there.
    // (Desktop 0 is where the other tests run their fixtures beside this one.)

    qvtest::RunOnDesktop(ids[1], [&] { PostMessageA(window, WM_CLOSE, 0, 0); });
    EXPECT_TRUE(started.WaitForEnd(10000));
    // The bar, disabled while its menu was built and open, takes clicks again.
    HWND bar = bartest::WaitForBar(ids[1], 0);
    ASSERT_TRUE(bar);
    EXPECT_TRUE(qvtest::WaitUntil([&] { return IsWindowEnabled(bar) != FALSE; }, 5000));
}

// Subfolders come after the files: the shortcut's place is known whatever
// order the file system lists the files in.
TEST_F(ControlBarLauncher, AShortcutOpensThroughTheShellExecuteProgramOnTheBarsDesktop) {
    ASSERT_TRUE(CopyFileA(qvtest::FixturePath().c_str(), tools.File("Tool.exe").c_str(), FALSE));
    ASSERT_TRUE(CreateDirectoryA(tools.File("Links").c_str(), nullptr));
    const std::string report = tools.File("report.txt");
    ASSERT_TRUE(MakeShortcut(tools.File("Links\\Linked.lnk"), qvtest::FixturePath(),
                             "--title=Linked --report=" + report));
    StartWith(SettingsWithPanel(tools.Path()));

    ASSERT_TRUE(ChooseByKeys(ids[1], {VK_DOWN, VK_RIGHT, VK_DOWN, VK_RIGHT, VK_RETURN}));
    ASSERT_TRUE(qvtest::WaitUntil([&] { return qvtest::ReportedPid(report) != 0; }, 20000));
    qvtest::ProcessGuard started;
    started.WatchReported(report);
    const std::vector<std::string> lines = qvtest::ReportLines(report);
    ASSERT_FALSE(lines.empty());
    EXPECT_NE(lines[0].find(" desktop=" + ids[1]), std::string::npos) << lines[0];
    // Opened by QVShlExe, not by the shell inside the bar.
    const DWORD opener = qvtest::ParentOf(started.Handle());
    EXPECT_NE(opener, 0u);
    EXPECT_NE(opener, bartest::BarProcess(ids[1]));
    HWND window = qvtest::FindWindowOn(ids[1], kFixtureClass, "Linked", 10000);
    ASSERT_TRUE(window);
    qvtest::RunOnDesktop(ids[1], [&] { PostMessageA(window, WM_CLOSE, 0, 0); });
    EXPECT_TRUE(started.WaitForEnd(10000));
}

// A kind 4 panel lists the desktop's program list beside the settings file,
// as Mendrel saved it; its item starts the program on the bar's desktop.
TEST_F(ControlBarLauncher, AListSavedByMendrelIsTheDesktopsProgramPanel) {
    StartWith(";QVBarCntrl\r\nFileVersion\t0x0200\r\n"
              "QVBarController::AnyController::RingListClass {\r\n\tFixPin\t1\r\n}\r\n"
              "QVBarDesktop::AnyDesktop::RingListClass {\r\n}\r\n"
              "QVBarDesktop::AnyDesktop::RingListClass {\r\n"
              "\tExecutantPanetMenu::ExecutantMenu::QVOwnerDrawMenuItem::RingListClass {\r\n"
              "\t\tMenuKind\t4\r\n\t\tMenuString\tMendrel\r\n\t\tStartDirectory\t[Desktop_ID].ini\r\n\t}\r\n"
              "}\r\n--EOF--\r\n");
    qvtest::TestDesktop editing;
    ASSERT_TRUE(qvtest::SaveListWithMendrel(editing.Name(), daemon.Dir().File((ids[1] + ".ini").c_str()),
                                            qvtest::FixturePath(), "--title=FromMendrel"));

    ASSERT_TRUE(ChooseByKeys(ids[1], {VK_DOWN, VK_RIGHT, VK_RETURN}));
    HWND window = qvtest::FindWindowOn(ids[1], nullptr, "FromMendrel", 20000);
    ASSERT_TRUE(window);
    qvtest::ProcessGuard started;
    qvtest::RunOnDesktop(ids[1], [&] { started.WatchWindowOwner(window); });
    EXPECT_TRUE(started.Running());
}

}  // namespace

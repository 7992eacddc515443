// Mendrel end to end: a list made in its dialog is the list the bar's menu
// reads, -e starts a list on the desktop it runs on, and a list cut short
// is neither edited nor started.

#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "Daemon.h"
#include "Desktops.h"
#include "MendrelList.h"
#include "MenuScan.h"
#include "Processes.h"
#include "TestFiles.h"

namespace {

std::string ListOf(const std::string& arguments) {
    return "FileVersion\t0x0200\r\nExecutant::RingListClass\t{\r\n\tExecutionFileName\t" + qvtest::FixturePath() +
           "\r\n\tExecutionArguments\t" + arguments + "\r\n}\r\n--EOF--\r\n";
}

TEST(Mendrel, AListMadeFromNothingIsSavedAndTheBarsMenuReadsIt) {
    qvtest::TestDesktop desktop;
    qvtest::TempDir dir;
    const std::string path = dir.File("Work.ini");  // missing: an empty list
    ASSERT_TRUE(qvtest::SaveListWithMendrel(desktop.Name(), path, qvtest::FixturePath(), "--title=MdListed"));
    qv::CommandIds ids;
    const qv::MenuFolder menu = qv::ReadProgramList(path, "Mendrelﾒﾆｭｰ", dir.Path(), ids);
    ASSERT_EQ(menu.items.size(), 1u);
    EXPECT_EQ(menu.items[0]->caption, "qvfixture");  // entries keep their program lower-cased
    EXPECT_STREQ(menu.items[0]->Arguments(), "--title=MdListed");
}

TEST(Mendrel, DashEStartsTheListOnItsDesktopAndEnds) {
    qvtest::TestDesktop desktop;
    qvtest::TempDir dir;
    const std::string path = dir.File("Work.ini");
    qvtest::WriteBytes(path, ListOf("--title=MdStarted"));
    qvtest::ProcessGuard mendrel;
    ASSERT_TRUE(qvtest::StartProgram(mendrel, "Mendrel.exe", "-p \"" + path + "\" -e", desktop.Name()));
    HWND started = qvtest::FindWindowOn(desktop.Name(), nullptr, "MdStarted", 20000);
    ASSERT_TRUE(started);
    EXPECT_EQ(mendrel.WaitExit(20000), 0);
    qvtest::ProcessGuard fixture;
    fixture.WatchWindowOwner(started);
}

TEST(Mendrel, AListCutShortIsReportedAndLeftAsItWas) {
    qvtest::TestDesktop desktop;
    qvtest::TempDir dir;
    const std::string path = dir.File("Cut.ini");
    const std::string whole = ListOf("--title=MdNever");
    const std::string cut = whole.substr(0, whole.find("\tExecutionArguments"));
    qvtest::WriteBytes(path, cut);
    for (const char* extra : {"", " -e"}) {
        long exitCode = -2;
        EXPECT_EQ(qvtest::FirstMessageOf("Mendrel.exe", "-p \"" + path + "\"" + extra, desktop.Name(), &exitCode),
                  "ファイル[" + path + "]の読み込みに失敗しました.");
        EXPECT_EQ(exitCode, 1);
    }
    EXPECT_EQ(qvtest::ReadBytes(path), cut);
    EXPECT_FALSE(qvtest::FindWindowOn(desktop.Name(), nullptr, "MdNever", 0));
}

}  // namespace

#include "AncestryController.h"

#include <gtest/gtest.h>

#include <string>

#include "ExpectedText.h"
#include "FixedMode.h"
#include "TestFiles.h"

namespace {

using qvtest::Crlf;
using qvtest::Format;

class ControllerTest : public ::testing::Test {
protected:
    int Read(const std::string& body) {
        qvtest::TextInput in(dir, body);
        return controller.Read(in.get());
    }
    std::string Written() {
        return qvtest::WrittenText(dir, [&](FILE* f) { controller.Write(f, 0); });
    }
    std::string Names() {
        std::string names;
        for (auto* d : controller.Desktops())
            names += std::string(d->m_strDesktopName.c_str()) + "=" + d->m_strTitle.c_str() + " ";
        return names;
    }

    qvtest::TempDir dir;
    qvtest::LogCapture log;
    qvtest::FixedModeController controller;
};

TEST_F(ControllerTest, ConstructionValuesBeforeAnyRead) {
    qv::AncestryController fresh;
    EXPECT_EQ(fresh.m_dwHotKeyNext, 0u);
    EXPECT_TRUE(fresh.m_bCheckIActive);
    EXPECT_TRUE(fresh.m_bRedraw);
    EXPECT_EQ(fresh.m_nKeepBitmapSize, 5);
    EXPECT_TRUE(fresh.m_bControlBar);
    EXPECT_TRUE(fresh.m_bExistsOpen);
    EXPECT_EQ(fresh.CountChildren(), 0);
}

TEST_F(ControllerTest, EmptyRecordTakesTheTableDefaults) {
    ASSERT_EQ(Read("}\r\n"), 0);
    EXPECT_EQ(controller.m_dwHotKeyNext, 0x00010022u);
    EXPECT_EQ(controller.m_dwHotKeyPrev, 0x00010021u);
    EXPECT_EQ(controller.m_dwHotKeyHome, 0x00010024u);
    EXPECT_EQ(controller.m_dwHotKeyMenu, 0x00010023u);
    EXPECT_EQ(controller.m_crLogoColor, 0x000FE80Fu);
    EXPECT_EQ(controller.m_nTitleDelay1, 200);
    EXPECT_EQ(controller.m_nTitleDelay2, 800);
    EXPECT_EQ(controller.m_nTitleDelay3, 1000);
    EXPECT_EQ(controller.m_nKeepBitmapSize, 4);
    EXPECT_FALSE(controller.m_bRedraw);  // the construction value does not survive
    EXPECT_FALSE(controller.m_bInitChange);
    EXPECT_FALSE(controller.m_bSoundOn);
    EXPECT_TRUE(controller.m_bCheckIActive);
    EXPECT_TRUE(controller.m_bControlBar);
    EXPECT_TRUE(controller.m_bExistsOpen);
    EXPECT_EQ(controller.m_nTitleDispPos, 0);
    EXPECT_EQ(Written(), Crlf("AncestryController::RingListClass\t{\n"
                              "\tHotKeyNext\t0x00010022\n"
                              "\tHotKeyPrev\t0x00010021\n"
                              "\tHotKeyHome\t0x00010024\n"
                              "\tHotKeyMenu\t0x00010023\n"
                              "\tCheckIActive\t1\n"
                              "\tLogoColor\t0x000FE80F\n"
                              "\tTitleDelay1\t200\n"
                              "\tTitleDelay2\t800\n"
                              "\tTitleDelay3\t1000\n"
                              "\tKeepBitmapSize\t4\n"
                              "}\n"));
}

TEST_F(ControllerTest, ConversionsClampAndKeepHotKeysOffZero) {
    ASSERT_EQ(Read("HotKeyNext\t0\r\nHotKeyPrev\t34\r\nHotKeyHome\t010\r\nHotKeyMenu\tjunk\r\n"
                   "TitleDelay1\t-5\r\nTitleDelay2\t12000\r\nTitleDelay3\t9999\r\n"
                   "KeepBitmapSize\t40\r\nTitleDispPos\t3\r\nLogoColor\t0x00FF00FF\r\n}\r\n"),
              0);
    EXPECT_EQ(controller.m_dwHotKeyNext, 0u);
    EXPECT_EQ(controller.m_dwHotKeyPrev, 0x22u);
    EXPECT_EQ(controller.m_dwHotKeyHome, 8u);
    EXPECT_EQ(controller.m_dwHotKeyMenu, 0u);
    EXPECT_EQ(controller.m_nTitleDelay1, 0);
    EXPECT_EQ(controller.m_nTitleDelay2, 9999);
    EXPECT_EQ(controller.m_nTitleDelay3, 9999);
    EXPECT_EQ(controller.m_nKeepBitmapSize, 32);
    EXPECT_EQ(controller.m_nTitleDispPos, 3);
    EXPECT_EQ(controller.m_crLogoColor, 0x00FF00FFu);

    qvtest::FixedModeController off;
    qvtest::TextInput in(dir, "KeepBitmapSize\t-1\r\n}\r\n");
    ASSERT_EQ(off.Read(in.get()), 0);
    EXPECT_EQ(off.m_nKeepBitmapSize, 0);
}

TEST_F(ControllerTest, WriteRulesLeaveDefaultsOut) {
    ASSERT_EQ(Read("HotKeyNext\t0\r\nTitleDelay1\t0\r\nKeepBitmapSize\t0\r\nQVControlBar\t0\r\nExistsOpen\t0\r\n"
                   "RedrawFlag\t1\r\nInitChange\t1\r\nCheckIActive\t0\r\nTitleDispPos\t2\r\n}\r\n"),
              0);
    // A zero hot key that is present is written empty and so left out; a zero
    // delay or size is written, or the next read would take the default.
    EXPECT_EQ(Written(), Crlf("AncestryController::RingListClass\t{\n"
                              "\tTitleDelay1\t0\n"
                              "\tKeepBitmapSize\t0\n"
                              "\tQVControlBar\t0\n"
                              "\tExistsOpen\t0\n"
                              "\tRedrawFlag\t1\n"
                              "\tInitChange\t1\n"
                              "\tCheckIActive\t0\n"
                              "\tTitleDispPos\t2\n"
                              "\tHotKeyPrev\t0x00010021\n"
                              "\tHotKeyHome\t0x00010024\n"
                              "\tHotKeyMenu\t0x00010023\n"
                              "\tLogoColor\t0x000FE80F\n"
                              "\tTitleDelay2\t800\n"
                              "\tTitleDelay3\t1000\n"
                              "}\n"));
    controller.m_bControlBar = true;  // switching it on again removes the line
    EXPECT_EQ(Written().find("QVControlBar"), std::string::npos);
}

TEST_F(ControllerTest, FieldsSetByTheConfiguratorAreAppendedWhenAbsent) {
    qv::AncestryController made;  // never read: no pairs at all
    made.m_dwHotKeyNext = 0x00030022;
    made.m_nTitleDelay1 = 0;
    made.m_nTitleDelay2 = 50;
    made.m_bControlBar = false;
    made.m_bSoundOn = true;
    made.m_strSoundFile.Assign("home.wav");
    std::string text = qvtest::WrittenText(dir, [&](FILE* f) { made.Write(f, 1); });
    EXPECT_EQ(text, Crlf("\tAncestryController::RingListClass\t{\n"
                         "\t\tHotKeyNext\t0x00030022\n"
                         "\t\tLogoColor\t0x00000000\n"
                         "\t\tTitleDelay2\t50\n"
                         "\t\tCheckIActive\t1\n"
                         "\t\tRedrawFlag\t1\n"
                         "\t\tKeepBitmapSize\t5\n"
                         "\t\tWavFile\thome.wav\n"
                         "\t\tQVControlBar\t0\n"
                         "\t}\n"));
}

TEST_F(ControllerTest, SoundFollowsTheFileNotTheFlag) {
    ASSERT_EQ(Read("WavFlag\t1\r\n}\r\n"), 0);
    EXPECT_FALSE(controller.m_bSoundOn);
    qvtest::FixedModeController withFile;
    qvtest::TextInput in(dir, "WavFlag\t0\r\nWavFile\thome.wav\r\n}\r\n");
    ASSERT_EQ(withFile.Read(in.get()), 0);
    EXPECT_TRUE(withFile.m_bSoundOn);
    withFile.ResetKey(qv::AncestryController::kWavFlag);
    EXPECT_FALSE(withFile.m_bSoundOn);
}

TEST_F(ControllerTest, DuplicatedKeyUsesTheFirstAndWritesBoth) {
    ASSERT_EQ(Read("HotKeyNext\t0x00010022\r\nHotKeyNext\t0x00020022\r\n}\r\n"), 0);
    EXPECT_EQ(controller.m_dwHotKeyNext, 0x00010022u);
    controller.m_dwHotKeyNext = 0x00040022;
    std::string text = Written();
    EXPECT_NE(text.find("\tHotKeyNext\t0x00040022\r\n\tHotKeyNext\t0x00020022\r\n"), std::string::npos) << text;
}

// Resetting a key the file gave changes its pair in place; resetting one
// that only has its default makes the defaults pairs, in table order after
// the file's; duplicates stay, unknown keys stay out. Reading the result
// back and writing it again changes no byte.
TEST_F(ControllerTest, EditedRecordWithDuplicatesWritesInFileOrderAndReadsBackToTheSameBytes) {
    ASSERT_EQ(Read("HotKeyNext\t0x00020033\r\nColour\tred\r\nTitleDelay1\t5\r\nHotKeyNext\t0x00050022\r\n"
                   "DefaultTitle\tHome\r\n}\r\n"),
              0);
    EXPECT_EQ(log.Text(), Crlf(Format(expected::kUnknownKeyController, "Colour")));
    controller.ResetKey(qv::AncestryController::kTitleDelay1);
    controller.ResetKey(qv::AncestryController::kLogoColor);
    controller.m_dwHotKeyNext = 0x00040022;
    const std::string written = Written();
    EXPECT_EQ(written, Crlf("AncestryController::RingListClass\t{\n"
                            "\tHotKeyNext\t0x00040022\n"
                            "\tTitleDelay1\t200\n"
                            "\tHotKeyNext\t0x00050022\n"
                            "\tDefaultTitle\tHome\n"
                            "\tHotKeyPrev\t0x00010021\n"
                            "\tHotKeyHome\t0x00010024\n"
                            "\tHotKeyMenu\t0x00010023\n"
                            "\tCheckIActive\t1\n"
                            "\tLogoColor\t0x000FE80F\n"
                            "\tTitleDelay2\t800\n"
                            "\tTitleDelay3\t1000\n"
                            "\tKeepBitmapSize\t4\n"
                            "}\n"));
    EXPECT_EQ(Written(), written);

    qvtest::FixedModeController again;
    // Read back from after its header line, as the file's reader does.
    const std::string body = written.substr(written.find('\n') + 1);
    qvtest::TextInput in(dir, body);
    ASSERT_EQ(again.Read(in.get()), 0);
    EXPECT_EQ(qvtest::WrittenText(dir, [&](FILE* f) { again.Write(f, 0); }), written);
}

TEST_F(ControllerTest, BackHotKeyIsNoneUntilSetAndReadStrictly) {
    ASSERT_EQ(Read("HotKeyBack\t0x00070042\r\n}\r\n"), 0);
    EXPECT_EQ(controller.m_dwHotKeyBack, 0x00070042u);
    EXPECT_NE(Written().find("AncestryController::RingListClass\t{\r\n\tHotKeyBack\t0x00070042\r\n"), std::string::npos);
    controller.m_dwHotKeyBack = 0;
    EXPECT_EQ(Written().find("HotKeyBack"), std::string::npos);
    EXPECT_EQ(log.Text(), "");

    qvtest::FixedModeController malformed;
    qvtest::TextInput in(dir, "HotKeyBack\t0x00070042x\r\n}\r\n");
    ASSERT_EQ(malformed.Read(in.get()), 0);
    EXPECT_EQ(malformed.m_dwHotKeyBack, 0u);
    EXPECT_EQ(log.Text(), "Controller : HotKeyBack[0x00070042x] Is Not A Hot-Key Word; Ignored.\r\n");
}

TEST_F(ControllerTest, ResetKeyUsesTheDefaultWithoutClampingRules) {
    ASSERT_EQ(Read("HotKeyNext\t0x00020033\r\nTitleDelay1\t5\r\nDefaultTitle\tHome\r\n}\r\n"), 0);
    controller.ResetKey(qv::AncestryController::kHotKeyNext);
    EXPECT_EQ(controller.m_dwHotKeyNext, 0x00010022u);
    EXPECT_STREQ(controller.Properties().Value("HotKeyNext"), "0x00010022");
    controller.ResetKey(qv::AncestryController::kTitleDelay1);
    EXPECT_EQ(controller.m_nTitleDelay1, 200);
    controller.ResetKey(qv::AncestryController::kDefaultTitle);
    EXPECT_STREQ(controller.m_strDefaultTitle.c_str(), "Home");
    controller.ResetKey(99);  // unknown numbers change nothing
    EXPECT_STREQ(controller.KeyName(qv::AncestryController::kExistsOpen), "ExistsOpen");
    EXPECT_STREQ(controller.DefaultText(qv::AncestryController::kKeepBitmapSize), "4");
    EXPECT_EQ(controller.KeyName(qv::AncestryController::kKeyCount), nullptr);
}

TEST_F(ControllerTest, DesktopsAreNamedInFileOrderAndFailuresUseUpTheirNumber) {
    ASSERT_EQ(Read("\tAncestryDesktop::RingListClass\t{\r\n\t\tDesktopName\tA\r\n\t}\r\n"
                   "\tAncestryDesktop::RingListClass\t{\r\n\t\tDesktopName\tB\r\n\t}\r\n"
                   "\tAncestryDesktop::RingListClass\t{\r\n\t\tDesktopName\tC\r\n\t}\r\n"
                   "}\r\n"),
              0);
    EXPECT_EQ(controller.CountChildren(), 3);
    EXPECT_EQ(Names(), "User_Desktop0=A User_Desktop1=B User_Desktop2=C ");

    // A desktop record cut by the end of the file still took a number.
    qvtest::FixedModeController cut;
    qvtest::TextInput in(dir, "AncestryDesktop::RingListClass\t{\r\nDesktopName\tA\r\n}\r\n"
                              "AncestryDesktop::RingListClass\t{\r\nDesktopName\tB\r\n");
    EXPECT_EQ(cut.Read(in.get()), -1);
    EXPECT_EQ(cut.CountChildren(), 1);
}

TEST_F(ControllerTest, UnknownBlockInsideEndsTheControllerAtItsBrace) {
    ASSERT_EQ(Read("AncestryDesktop::RingListClass\t{\r\nDesktopName\tA\r\n}\r\n"
                   "QVBarDesktop::RingListClass\t{\r\nItem\t1\r\n}\r\n"
                   "AncestryDesktop::RingListClass\t{\r\nDesktopName\tB\r\n}\r\n"
                   "}\r\n"),
              0);
    EXPECT_EQ(Names(), "User_Desktop0=A ");
    EXPECT_EQ(log.Text(), Crlf(Format(expected::kUnknownClass, "QVBarDesktop::RingListClass") +
                               Format(expected::kUnknownKeyController, "Item")));
}

TEST_F(ControllerTest, AddAndRemoveChildrenKeepTheRingWhole) {
    auto* a = controller.CreateChild();
    auto* b = controller.CreateChild();
    auto* c = controller.CreateChild();
    a->SetName("a");
    b->SetName("b");
    c->SetName("c");
    controller.AddChild(a);
    controller.AddChild(b);
    controller.AddChild(c);
    EXPECT_EQ(Names(), "a= b= c= ");
    controller.RemoveChild(a);  // the entry point moves on
    EXPECT_EQ(Names(), "b= c= ");
    controller.RemoveChild(c);
    controller.RemoveChild(b);
    EXPECT_EQ(controller.CountChildren(), 0);
    EXPECT_EQ(controller.Desktops().Entry(), nullptr);
}

// Desktops that count how often they ask the display for its mode.
class CountingDesktop : public qv::AncestryDesktop {
public:
    static inline int asked = 0;

protected:
    qv::DisplayMode CurrentDisplayMode() const override {
        ++asked;
        return qvtest::FixedMode();
    }
};

class CountingController : public qv::AncestryController {
public:
    qv::AncestryDesktop* CreateChild() override { return new (std::nothrow) CountingDesktop; }
};

TEST(ControllerDisplayMode, AFileAsksTheDisplayOnceForAllItsDesktopsAndALaterChangeAsksAgain) {
    qvtest::TempDir dir;
    qvtest::LogCapture log;
    CountingController controller;
    CountingDesktop::asked = 0;
    qvtest::TextInput in(dir, "\tAncestryDesktop::RingListClass\t{\r\n\t}\r\n"
                              "\tAncestryDesktop::RingListClass\t{\r\n\t\tDesktopPelsWidth\t800\r\n\t}\r\n"
                              "\tAncestryDesktop::RingListClass\t{\r\n\t}\r\n}\r\n");
    ASSERT_EQ(controller.Read(in.get()), 0);
    EXPECT_EQ(CountingDesktop::asked, 1);
    std::string widths;
    for (qv::AncestryDesktop* desktop : controller.Desktops())
        widths += std::to_string(desktop->m_nPelsWidth) + "x" + std::to_string(desktop->m_nPelsHeight) + " ";
    EXPECT_EQ(widths, "1280x1024 800x1024 1280x1024 ");

    controller.Desktops().Entry()->Apply();
    EXPECT_EQ(CountingDesktop::asked, 2) << "the mode of the read is not kept for later";
}

}  // namespace

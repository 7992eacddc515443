// The daemon's compiled resources, linked into this test program: the texts
// must come out of the ANSI functions as the exact CP932 bytes, and the
// numbers must be the ones the code uses. Expected texts are spelled as
// byte escapes so that they do not depend on the compiler's charset.

#include <windows.h>

#include <gtest/gtest.h>

#include <iterator>
#include <memory>
#include <string>
#include <type_traits>
#include <vector>

#include "CommandText.h"
#include "QuorvelRes.h"

namespace {

struct MenuDeleter {
    void operator()(HMENU menu) const { DestroyMenu(menu); }
};
using UniqueMenu = std::unique_ptr<std::remove_pointer_t<HMENU>, MenuDeleter>;

struct WindowDeleter {
    void operator()(HWND window) const { DestroyWindow(window); }
};
using UniqueWindow = std::unique_ptr<std::remove_pointer_t<HWND>, WindowDeleter>;

struct IconDeleter {
    void operator()(HICON icon) const { DestroyIcon(icon); }
};
using UniqueIcon = std::unique_ptr<std::remove_pointer_t<HICON>, IconDeleter>;

HINSTANCE Module() { return GetModuleHandleA(nullptr); }

constexpr UINT kSeparator = 0;

struct MenuRow {
    UINT id;  // kSeparator for a separator
    const char* text;
};

// The daemon menu, top to bottom.
const MenuRow kDaemonMenu[] = {
    {qv::kCmdHome, "\x8D\xC5\x8F\x89\x82\xD6(&H)"},                 // 最初へ(&H)
    {qv::kCmdNext, "\x8E\x9F\x82\xD6(&N)"},                         // 次へ(&N)
    {qv::kCmdPrevious, "\x8C\xE3\x82\xEB\x82\xD6(&P)"},             // 後ろへ(&P)
    {qv::kCmdBack, "\x92\xBC\x91\x4F\x82\xD6(&B)"},                 // 直前へ(&B)
    {kSeparator, nullptr},
    {qv::kCmdConfig, "\xBA\xDD\xCC\xA8\xB8\xDE\xDA\xB0\xBC\xAE\xDD(&C)..."},  // ｺﾝﾌｨｸﾞﾚｰｼｮﾝ(&C)...
    {qv::kCmdCompanion, "Mendrel(&G)..."},
    {qv::kCmdRunProgram, "\xCC\xDF\xDB\xB8\xDE\xD7\xD1\x8E\xC0\x8D\x73(&E)"},  // ﾌﾟﾛｸﾞﾗﾑ実行(&E)
    {kSeparator, nullptr},
    {qv::kCmdSound, "\xBB\xB3\xDD\xC4\xDE\x82\xF0\x96\xC2\x82\xE7\x82\xB7(&S)"},  // ｻｳﾝﾄﾞを鳴らす(&S)
    // 保存ﾋﾞｯﾄﾏｯﾌﾟの設定（&K)... with a full-width opening parenthesis
    {qv::kCmdSnapshotSize, "\x95\xDB\x91\xB6\xCB\xDE\xAF\xC4\xCF\xAF\xCC\xDF\x82\xCC\x90\xDD\x92\xE8\x81\x69&K)..."},
    {kSeparator, nullptr},
    {qv::kCmdVersion, "\xCA\xDE\xB0\xBC\xDE\xAE\xDD\x8F\xEE\x95\xF1(&V)"},  // ﾊﾞｰｼﾞｮﾝ情報(&V)
    {kSeparator, nullptr},
    {qv::kCmdExit, "\x8F\x49\x97\xB9(&X)"},  // 終了(&X)
};

std::string MenuText(HMENU menu, UINT position) {
    char text[256] = {};
    int length = GetMenuStringA(menu, position, text, sizeof(text), MF_BYPOSITION);
    return std::string(text, length > 0 ? length : 0);
}

bool IsSeparator(HMENU menu, UINT position) {
    MENUITEMINFOA info = {};
    info.cbSize = sizeof(info);
    info.fMask = MIIM_FTYPE;
    return GetMenuItemInfoA(menu, position, TRUE, &info) && (info.fType & MFT_SEPARATOR);
}

std::string LoadText(UINT id) {
    char text[512] = {};
    int length = LoadStringA(Module(), id, text, sizeof(text));
    return std::string(text, length > 0 ? length : 0);
}

class ResourceTest : public ::testing::Test {
protected:
    void SetUp() override {
        // Every byte comparison below presumes the ANSI code page of the suite.
        ASSERT_EQ(GetACP(), 932u);
    }
};

TEST_F(ResourceTest, DaemonMenuHasItsItemsInOrderWithTheirTexts) {
    UniqueMenu menu(LoadMenuA(Module(), MAKEINTRESOURCEA(IDR_QUORVEL_MENU)));
    ASSERT_TRUE(menu);
    ASSERT_EQ(GetMenuItemCount(menu.get()), 2);
    HMENU daemon = GetSubMenu(menu.get(), 0);
    ASSERT_NE(daemon, nullptr);
    const int rows = static_cast<int>(std::size(kDaemonMenu));
    ASSERT_EQ(GetMenuItemCount(daemon), rows);
    for (int i = 0; i < rows; ++i) {
        const MenuRow& row = kDaemonMenu[i];
        if (row.id == kSeparator) {
            EXPECT_TRUE(IsSeparator(daemon, i)) << "position " << i;
            continue;
        }
        EXPECT_EQ(GetMenuItemID(daemon, i), row.id) << "position " << i;
        EXPECT_EQ(MenuText(daemon, i), row.text) << "position " << i;
    }
}

TEST_F(ResourceTest, InternalPopUpCarriesTheSnapshotCommand) {
    UniqueMenu menu(LoadMenuA(Module(), MAKEINTRESOURCEA(IDR_QUORVEL_MENU)));
    ASSERT_TRUE(menu);
    // 内部で使う命令コード
    EXPECT_EQ(MenuText(menu.get(), 1),
              "\x93\xE0\x95\x94\x82\xC5\x8E\x67\x82\xA4\x96\xBD\x97\xDF\x83\x52\x81\x5B\x83\x68");
    HMENU internal = GetSubMenu(menu.get(), 1);
    ASSERT_NE(internal, nullptr);
    ASSERT_EQ(GetMenuItemCount(internal), 1);
    EXPECT_EQ(GetMenuItemID(internal, 0), static_cast<UINT>(qv::kCmdCaptureSnapshot));
    // ﾋﾞｯﾄﾏｯﾌﾟ保存実行
    EXPECT_EQ(MenuText(internal, 0), "\xCB\xDE\xAF\xC4\xCF\xAF\xCC\xDF\x95\xDB\x91\xB6\x8E\xC0\x8D\x73");
}

TEST_F(ResourceTest, StatusTextsKeepLineFeedAndEveryByte) {
    // ﾃﾞｽｸﾄｯﾌﾟを切り替える度に音を出します\nｻｳﾝﾄﾞを鳴らす
    EXPECT_EQ(LoadText(qv::kCmdSound),
              "\xC3\xDE\xBD\xB8\xC4\xAF\xCC\xDF\x82\xF0\x90\xD8\x82\xE8\x91\xD6\x82\xA6\x82\xE9\x93\x78\x82\xC9"
              "\x89\xB9\x82\xF0\x8F\x6F\x82\xB5\x82\xDC\x82\xB7\n\xBB\xB3\xDD\xC4\xDE\x82\xF0\x96\xC2\x82\xE7\x82\xB7");
    // 終了可能かどうかを問い合わせます. — 能 is 94 5C, a backslash as second byte
    EXPECT_EQ(LoadText(qv::kCmdQueryEnd),
              "\x8F\x49\x97\xB9\x89\xC2\x94\x5C\x82\xA9\x82\xC7\x82\xA4\x82\xA9\x82\xF0\x96\xE2\x82\xA2\x8D\x87\x82"
              "\xED\x82\xB9\x82\xDC\x82\xB7.");
    // ﾌｧｲﾙ名前を指定してﾌﾟﾛｸﾞﾗﾑを実行します\nプログラム実行
    EXPECT_EQ(LoadText(qv::kCmdRunProgram),
              "\xCC\xA7\xB2\xD9\x96\xBC\x91\x4F\x82\xF0\x8E\x77\x92\xE8\x82\xB5\x82\xC4\xCC\xDF\xDB\xB8\xDE\xD7\xD1"
              "\x82\xF0\x8E\xC0\x8D\x73\x82\xB5\x82\xDC\x82\xB7\n\x83\x76\x83\x8D\x83\x4F\x83\x89\x83\x80\x8E\xC0"
              "\x8D\x73");
    EXPECT_EQ(LoadText(qv::kCmdActivate), "Activate");
}

TEST_F(ResourceTest, CommandsWithoutStatusTextHaveNone) {
    for (UINT id : {static_cast<UINT>(qv::kCmdCompanion), static_cast<UINT>(qv::kCmdCaptureSnapshot),
                    static_cast<UINT>(qv::kCmdBack)})
        EXPECT_EQ(LoadText(id), "") << id;
}

TEST_F(ResourceTest, IconHoldsALargeAndASmallImage) {
    HRSRC group = FindResourceA(Module(), MAKEINTRESOURCEA(IDI_QUORVEL), RT_GROUP_ICON);
    ASSERT_NE(group, nullptr);
    HGLOBAL loaded = LoadResource(Module(), group);
    ASSERT_NE(loaded, nullptr);
    // Icon directory: reserved, type 1, then the number of images.
    const auto* directory = static_cast<const WORD*>(LockResource(loaded));
    ASSERT_NE(directory, nullptr);
    EXPECT_EQ(directory[1], 1);
    EXPECT_EQ(directory[2], 2);
    for (int size : {16, 32}) {
        UniqueIcon icon(static_cast<HICON>(
            LoadImageA(Module(), MAKEINTRESOURCEA(IDI_QUORVEL), IMAGE_ICON, size, size, LR_DEFAULTCOLOR)));
        EXPECT_TRUE(icon) << size;
    }
}

// --- Dialogs ----------------------------------------------------------------

INT_PTR CALLBACK InertDialogProc(HWND, UINT, WPARAM, LPARAM) { return FALSE; }

// Made hidden: none of the dialogs has WS_VISIBLE, and nothing here shows one.
UniqueWindow MakeDialog(int id) {
    return UniqueWindow(CreateDialogParamA(Module(), MAKEINTRESOURCEA(id), nullptr, InertDialogProc, 0));
}

std::string WindowText(HWND window) {
    char text[256] = {};
    int length = GetWindowTextA(window, text, sizeof(text));
    return std::string(text, length > 0 ? length : 0);
}

std::string ClassOf(HWND window) {
    char name[64] = {};
    GetClassNameA(window, name, sizeof(name));
    return name;
}

struct ControlRow {
    int id;
    const char* className;
    const char* text;  // nullptr: not compared (edit fields, lists)
};

void ExpectControls(HWND dialog, const std::vector<ControlRow>& rows) {
    for (const ControlRow& row : rows) {
        HWND control = GetDlgItem(dialog, row.id);
        ASSERT_NE(control, nullptr) << "control " << row.id;
        EXPECT_STRCASEEQ(ClassOf(control).c_str(), row.className) << "control " << row.id;
        if (row.text) {
            EXPECT_EQ(WindowText(control), row.text) << "control " << row.id;
        }
    }
}

// The static control that precedes the given control in tab order: a label's
// mnemonic moves the focus to the control after it.
std::string LabelBefore(HWND dialog, int id) {
    HWND control = GetDlgItem(dialog, id);
    HWND label = control ? GetWindow(control, GW_HWNDPREV) : nullptr;
    if (!label || ClassOf(label) != "Static") return "<no label>";
    return WindowText(label);
}

bool IsDropDownList(HWND dialog, int id) {
    LONG_PTR style = GetWindowLongPtrA(GetDlgItem(dialog, id), GWL_STYLE);
    return (style & 0x3) == CBS_DROPDOWNLIST;
}

TEST_F(ResourceTest, RunProgramDialogHasItsFieldsLabelsAndButtons) {
    UniqueWindow dialog = MakeDialog(IDD_RUN_PROGRAM);
    ASSERT_TRUE(dialog);
    // 名前を指定して実行
    EXPECT_EQ(WindowText(dialog.get()), "\x96\xBC\x91\x4F\x82\xF0\x8E\x77\x92\xE8\x82\xB5\x82\xC4\x8E\xC0\x8D\x73");
    ExpectControls(dialog.get(), {
                                     {IDC_RUN_COMMAND, "Edit", nullptr},
                                     {IDC_RUN_ARGUMENTS, "Edit", nullptr},
                                     {IDC_RUN_DIRECTORY, "Edit", nullptr},
                                     {IDC_RUN_BROWSE, "Button", "\x8E\x51\x8F\xC6(&R)...."},  // 参照(&R)....
                                     {IDC_RUN_PRIORITY, "ComboBox", nullptr},
                                     {IDC_RUN_WINDOWS_DIR, "Button", "%WINDIR%"},
                                     {IDC_RUN_QUICK_LAUNCH, "Button", "QL(&Q)...."},
                                     {IDC_RUN_SHELL, "Button", "Shell(&S)...."},
                                     {IDOK, "Button", "OK"},
                                     {IDCANCEL, "Button", "\xB7\xAC\xDD\xBE\xD9"},  // ｷｬﾝｾﾙ
                                 });
    EXPECT_TRUE(IsDropDownList(dialog.get(), IDC_RUN_PRIORITY));
    EXPECT_EQ(LabelBefore(dialog.get(), IDC_RUN_COMMAND), "\xBA\xCF\xDD\xC4\xDE(&C):");  // ｺﾏﾝﾄﾞ(&C):
    EXPECT_EQ(LabelBefore(dialog.get(), IDC_RUN_ARGUMENTS), "\x88\xF8\x90\x94(&A):");    // 引数(&A):
    // 実行ﾃﾞｨﾚｸﾄﾘ(&D):
    EXPECT_EQ(LabelBefore(dialog.get(), IDC_RUN_DIRECTORY), "\x8E\xC0\x8D\x73\xC3\xDE\xA8\xDA\xB8\xC4\xD8(&D):");
    // ﾌﾟﾗｲｵﾘﾃｨ(&P):
    EXPECT_EQ(LabelBefore(dialog.get(), IDC_RUN_PRIORITY), "\xCC\xDF\xD7\xB2\xB5\xD8\xC3\xA8(&P):");
    // OK is the default button, so Enter in the command field starts the program.
    EXPECT_EQ(LOWORD(SendMessageA(dialog.get(), DM_GETDEFID, 0, 0)), IDOK);
}

TEST_F(ResourceTest, SnapshotSizeDialogHasItsListAfterTheFractionLabel) {
    UniqueWindow dialog = MakeDialog(IDD_SNAPSHOT_SIZE);
    ASSERT_TRUE(dialog);
    // ﾋﾞｯﾄﾏｯﾌﾟ保存設定
    EXPECT_EQ(WindowText(dialog.get()), "\xCB\xDE\xAF\xC4\xCF\xAF\xCC\xDF\x95\xDB\x91\xB6\x90\xDD\x92\xE8");
    ExpectControls(dialog.get(), {
                                     {IDC_SNAPSHOT_RATE, "ComboBox", nullptr},
                                     {IDOK, "Button", "OK"},
                                     {IDCANCEL, "Button", "\xB7\xAC\xDD\xBE\xD9"},  // ｷｬﾝｾﾙ
                                 });
    EXPECT_TRUE(IsDropDownList(dialog.get(), IDC_SNAPSHOT_RATE));
    EXPECT_EQ(LabelBefore(dialog.get(), IDC_SNAPSHOT_RATE), "\x82\x50\x81\x5E");  // １／
    HWND fraction = GetWindow(GetDlgItem(dialog.get(), IDC_SNAPSHOT_RATE), GW_HWNDPREV);
    HWND caption = fraction ? GetWindow(fraction, GW_HWNDPREV) : nullptr;
    ASSERT_NE(caption, nullptr);
    // 原画保存サイズ:
    EXPECT_EQ(WindowText(caption), "\x8C\xB4\x89\xE6\x95\xDB\x91\xB6\x83\x54\x83\x43\x83\x59:");
}

TEST_F(ResourceTest, VersionDialogNamesProductAndVersion) {
    UniqueWindow dialog = MakeDialog(IDD_VERSION);
    ASSERT_TRUE(dialog);
    ExpectControls(dialog.get(), {
                                     {IDC_VERSION_PRODUCT, "Static", "Quorvel"},
                                     {IDC_VERSION_NUMBER, "Static", "Version 2.0"},
                                     {IDOK, "Button", "OK"},
                                 });
    EXPECT_EQ(GetDlgItem(dialog.get(), IDCANCEL), nullptr);
}

}  // namespace

// The hot-key dialogs end to end, as a user drives them: the configurator's
// dialog of the controller's keys opened from its main dialog, a desktop's
// key edited from the desktop dialog, and the one-key dialog shown
// by this program as the bar configurator shows it. Keys are pressed on the
// dialog's own desktop, where the dialogs' test registrations live too.

#include <windows.h>

#include <gtest/gtest.h>

#include <atomic>
#include <cstdint>
#include <string>
#include <vector>

#include "ConfigFile.h"
#include "Daemon.h"
#include "DesktopDialogsRes.h"
#include "Desktops.h"
#include "HotKeyDialogs.h"
#include "HotKeyDialogsRes.h"
#include "Keyboard.h"
#include "Processes.h"
#include "QVConfigRes.h"
#include "RemoteList.h"
#include "RemoteTabs.h"
#include "TestFiles.h"

namespace {

constexpr char kHotKeyCaption[] = "ﾎｯﾄｷｰの設定";
constexpr char kDefaultsQuestion[] = "デフォルト値に戻しますか?";
// A file without hot keys: the configurator gives the daemon's defaults.
constexpr char kFileWithDefaultKeys[] = "AncestryController::RingListClass\t{\r\nDefaultTitle\tHome\r\n}\r\n--EOF--\r\n";

LRESULT Send(HWND window, UINT message, WPARAM wParam = 0, LPARAM lParam = 0) {
    DWORD_PTR result = 0;
    if (!SendMessageTimeoutA(window, message, wParam, lParam, SMTO_ABORTIFHUNG, 5000, &result)) return -1;
    return static_cast<LRESULT>(result);
}

// The shown dialog of the process on the desktop with this caption.
HWND ShownDialog(DWORD pid, const std::string& desktop, const char* caption, DWORD timeoutMs) {
    HWND found = nullptr;
    qvtest::RunOnDesktop(desktop, [&] {
        qvtest::WaitUntil(
            [&] {
                for (HWND window = nullptr; (window = FindWindowExA(nullptr, window, "#32770", caption));) {
                    DWORD owner = 0;
                    GetWindowThreadProcessId(window, &owner);
                    // It shows once it is filled.
                    if (owner == pid && IsWindowVisible(window)) {
                        found = window;
                        return true;
                    }
                }
                return false;
            },
            timeoutMs);
    });
    return found;
}

// A message box over a dialog: its text and its buttons.
struct Question {
    HWND window = nullptr;
    std::string text;
    bool yesNo = false;  // Yes and No, and no other answer
};

Question WaitForQuestion(DWORD pid, const std::string& desktop, const char* caption) {
    Question question;
    question.window = ShownDialog(pid, desktop, caption, 10000);
    if (!question.window) return question;
    qvtest::RunOnDesktop(desktop, [&] {
        question.text = qvtest::WindowText(GetDlgItem(question.window, 0xFFFF));
        question.yesNo = GetDlgItem(question.window, IDYES) && GetDlgItem(question.window, IDNO) &&
                         !GetDlgItem(question.window, IDOK) && !GetDlgItem(question.window, IDCANCEL);
    });
    return question;
}

bool Answer(const Question& question, int button) {
    qvtest::DaemonDialog box;
    box.window = question.window;
    return qvtest::PressDialog(box, button);
}

std::string KeyName(HWND dialog) {
    char text[256] = "";
    SendMessageTimeoutA(GetDlgItem(dialog, IDC_HK_KEYNAME), WM_GETTEXT, sizeof text, reinterpret_cast<LPARAM>(text),
                        SMTO_ABORTIFHUNG, 5000, nullptr);
    return text;
}

bool Checked(HWND dialog, int id) { return Send(GetDlgItem(dialog, id), BM_GETCHECK) == BST_CHECKED; }
bool Enabled(HWND dialog, int id) { return IsWindowEnabled(GetDlgItem(dialog, id)) != FALSE; }

constexpr int kModifierBoxes[] = {IDC_HK_ALT, IDC_HK_CTRL, IDC_HK_SHIFT, IDC_HK_WIN};

// The ticked boxes as the modifier bits of a word.
uint32_t TickedModifiers(HWND dialog) {
    uint32_t modifiers = 0;
    for (int bit = 0; bit < 4; ++bit)
        if (Checked(dialog, kModifierBoxes[bit])) modifiers |= 1u << bit;
    return modifiers;
}

int EnabledModifierBoxes(HWND dialog) {
    int enabled = 0;
    for (int id : kModifierBoxes) enabled += Enabled(dialog, id) ? 1 : 0;
    return enabled;
}

// A click of a button or box, handled before this returns.
void Click(HWND dialog, int id) { Send(GetDlgItem(dialog, id), BM_CLICK); }
// A click of a button that shows a box, which this must not wait for.
void ClickLater(HWND dialog, int id) { PostMessageA(GetDlgItem(dialog, id), BM_CLICK, 0, 0); }

bool ShowsKey(HWND dialog, const std::string& name) {
    return qvtest::WaitUntil([&] { return KeyName(dialog) == name; }, 5000);
}

std::vector<std::string> Labels(const qvtest::RemoteTabs& tabs) {
    std::vector<std::string> labels;
    for (int tab = 0; tab < tabs.Count(); ++tab) labels.push_back(tabs.Label(tab));
    return labels;
}

// A tab chosen as the user chooses it, once the dialog shows its key.
bool ChooseTab(const qvtest::RemoteTabs& tabs, HWND dialog, int tab, const std::string& name) {
    return tabs.Click(tab) && qvtest::WaitUntil([&] { return tabs.Selected() == tab; }, 5000) && ShowsKey(dialog, name);
}

// A hot key held by a window of this program on the desktop, as a running
// daemon holds its keys.
class HotKeyHolder {
public:
    HotKeyHolder(const std::string& desktop, UINT modifiers, UINT key)
        : m_desktop(desktop), m_modifiers(modifiers), m_key(key), m_ready(CreateEventA(nullptr, TRUE, FALSE, nullptr)) {
        m_thread.Reset(CreateThread(nullptr, 0, Main, this, 0, nullptr));
        if (m_thread) WaitForSingleObject(m_ready.Get(), 10000);
    }
    ~HotKeyHolder() {
        if (m_threadId) PostThreadMessageA(m_threadId, WM_QUIT, 0, 0);
        if (m_thread && WaitForSingleObject(m_thread.Get(), 10000) != WAIT_OBJECT_0) {
            ADD_FAILURE() << "the holder did not end";
            TerminateThread(m_thread.Get(), 1);
        }
    }
    HotKeyHolder(const HotKeyHolder&) = delete;
    HotKeyHolder& operator=(const HotKeyHolder&) = delete;

    bool Registered() const { return m_registered; }
    int Presses() const { return m_presses; }

private:
    static DWORD WINAPI Main(void* parameter) {
        auto* self = static_cast<HotKeyHolder*>(parameter);
        qvtest::RunOnDesktop(self->m_desktop, [self] { self->Hold(); });
        SetEvent(self->m_ready.Get());  // also when the desktop could not be entered
        return 0;
    }
    void Hold() {
        HWND window = CreateWindowExA(0, "STATIC", "", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr, nullptr, nullptr);
        m_registered = window && RegisterHotKey(window, 1, m_modifiers, m_key);
        m_threadId = GetCurrentThreadId();
        SetEvent(m_ready.Get());
        MSG message;
        while (window && GetMessageA(&message, nullptr, 0, 0) > 0)
            if (message.message == WM_HOTKEY) ++m_presses;
        if (m_registered) UnregisterHotKey(window, 1);
        if (window) DestroyWindow(window);
    }

    std::string m_desktop;
    UINT m_modifiers;
    UINT m_key;
    qv::UniqueHandle m_ready;
    qv::UniqueHandle m_thread;
    std::atomic<DWORD> m_threadId{0};
    std::atomic<bool> m_registered{false};
    std::atomic<int> m_presses{0};
};

// The configurator started on a desktop of its own with a file of the test.
class HotKeyControllerDialog : public ::testing::Test {
protected:
    // The hot-key dialog opened with the button of the configurator's main
    // dialog, the configurator started on a file of this text; null when
    // either did not show.
    HWND Open(const char* fileText = kFileWithDefaultKeys) {
        if (!Start(fileText)) return nullptr;
        return OpenControllerKeys();
    }
    // The configurator's main dialog on a file of this text.
    HWND Start(const char* fileText) {
        path = dir.File("Quorvel.ini");
        qvtest::WriteBytes(path, fileText);
        if (!qvtest::StartProgram(config, "QVConfig.exe", "-p \"" + path + "\"", desktop.Name())) return nullptr;
        main = ShownDialog(config.Pid(), desktop.Name(), "Quorvel Configurator", 30000);
        return main;
    }
    HWND OpenControllerKeys() {
        PostMessageA(main, WM_COMMAND, MAKEWPARAM(IDC_CF_HOTKEYS, BN_CLICKED), 0);
        return ShownDialog(config.Pid(), desktop.Name(), kHotKeyCaption, 10000);
    }

    // Sensing on, a key pressed, and the dialog showing the key's name.
    bool Sense(HWND dialog, std::initializer_list<WORD> keys, const std::string& name) {
        Click(dialog, IDC_HK_SENSE);
        return Checked(dialog, IDC_HK_SENSE) && qvtest::PressKeys(desktop.Name(), keys) && ShowsKey(dialog, name);
    }

    qvtest::TestDesktop desktop;
    qvtest::TempDir dir;
    std::string path;
    qvtest::ProcessGuard config;
    HWND main = nullptr;
};

TEST_F(HotKeyControllerDialog, ShowsEachTabsKeyAndSensesANewKeyKeepingTheTickedModifiers) {
    HWND dialog = Open();
    ASSERT_NE(dialog, nullptr);
    const qvtest::RemoteTabs tabs(GetDlgItem(dialog, IDC_HK_TABS), config.Pid());
    EXPECT_EQ(Labels(tabs), (std::vector<std::string>{"●次へ", "●前へ", "●ホームへ", "●メニュー", "直前へ"}));
    EXPECT_EQ(tabs.Selected(), 0);
    EXPECT_EQ(KeyName(dialog), "Page Down (22)");
    EXPECT_EQ(TickedModifiers(dialog), qv::kHotKeyAlt);
    EXPECT_TRUE(ChooseTab(tabs, dialog, 2, "Home (24)"));
    EXPECT_TRUE(ChooseTab(tabs, dialog, 0, "Page Down (22)"));

    Click(dialog, IDC_HK_SENSE);
    ASSERT_TRUE(Checked(dialog, IDC_HK_SENSE));
    EXPECT_FALSE(Enabled(dialog, IDOK));
    EXPECT_FALSE(Enabled(dialog, IDC_HK_CLEAR));
    EXPECT_FALSE(Enabled(dialog, IDC_HK_TABS));
    EXPECT_EQ(EnabledModifierBoxes(dialog), 0);
    EXPECT_TRUE(Enabled(dialog, IDCANCEL));
    // Shift goes down first and passes; F5 is the key, and the word keeps
    // the ticked Alt, not the Shift held with it.
    ASSERT_TRUE(qvtest::PressKeys(desktop.Name(), {VK_SHIFT, VK_F5}));
    EXPECT_TRUE(ShowsKey(dialog, "F 5 (74)")) << KeyName(dialog);
    EXPECT_EQ(TickedModifiers(dialog), qv::kHotKeyAlt);
    EXPECT_FALSE(Checked(dialog, IDC_HK_SENSE));
    EXPECT_TRUE(Enabled(dialog, IDOK));
    EXPECT_TRUE(Enabled(dialog, IDC_HK_CLEAR));
    EXPECT_TRUE(Enabled(dialog, IDC_HK_TABS));
    EXPECT_EQ(EnabledModifierBoxes(dialog), 4);
    EXPECT_EQ(tabs.Label(0), "●次へ");
}

TEST_F(HotKeyControllerDialog, EscapeEnterAndTabWhileSensingAreKeysToTake) {
    HWND dialog = Open();
    ASSERT_NE(dialog, nullptr);
    const qvtest::RemoteTabs tabs(GetDlgItem(dialog, IDC_HK_TABS), config.Pid());
    ASSERT_TRUE(ChooseTab(tabs, dialog, 3, "End (23)"));
    EXPECT_TRUE(Sense(dialog, {VK_ESCAPE}, "Escape (1B)")) << KeyName(dialog);
    EXPECT_TRUE(Sense(dialog, {VK_RETURN}, "Retrun (0D)")) << KeyName(dialog);
    EXPECT_TRUE(Sense(dialog, {VK_TAB}, "Tab (09)")) << KeyName(dialog);
    // Ending would have hidden it first.
    EXPECT_TRUE(IsWindow(dialog) && (GetWindowLongPtrA(dialog, GWL_STYLE) & WS_VISIBLE))
        << "neither cancelled nor confirmed";
    EXPECT_EQ(tabs.Selected(), 3);
}

TEST_F(HotKeyControllerDialog, TwoTabsWithTheSameKeyBothShowTheCrossAndAClearedTabNone) {
    HWND dialog = Open();
    ASSERT_NE(dialog, nullptr);
    const qvtest::RemoteTabs tabs(GetDlgItem(dialog, IDC_HK_TABS), config.Pid());
    ASSERT_TRUE(ChooseTab(tabs, dialog, 1, "Page Up (21)"));
    ASSERT_TRUE(Sense(dialog, {VK_NEXT}, "Page Down (22)")) << KeyName(dialog);
    EXPECT_EQ(Labels(tabs), (std::vector<std::string>{"×次へ", "×前へ", "●ホームへ", "●メニュー", "直前へ"}));

    Click(dialog, IDC_HK_CLEAR);
    EXPECT_TRUE(ShowsKey(dialog, ""));
    EXPECT_EQ(Labels(tabs), (std::vector<std::string>{"●次へ", "前へ", "●ホームへ", "●メニュー", "直前へ"}));
    EXPECT_EQ(TickedModifiers(dialog), 0u);
    EXPECT_EQ(EnabledModifierBoxes(dialog), 0) << "a tab without a key has no modifiers to tick";
    EXPECT_TRUE(ChooseTab(tabs, dialog, 0, "Page Down (22)"));
    EXPECT_EQ(EnabledModifierBoxes(dialog), 4);
}

TEST_F(HotKeyControllerDialog, DefaultsAreAskedForAndCancelLeavesTheConfigurationUnchanged) {
    HWND dialog = Open();
    ASSERT_NE(dialog, nullptr);
    const qvtest::RemoteTabs tabs(GetDlgItem(dialog, IDC_HK_TABS), config.Pid());
    ASSERT_TRUE(ChooseTab(tabs, dialog, 2, "Home (24)"));
    Click(dialog, IDC_HK_CLEAR);
    ASSERT_TRUE(ChooseTab(tabs, dialog, 3, "End (23)"));
    Click(dialog, IDC_HK_ALT);
    Click(dialog, IDC_HK_SHIFT);
    EXPECT_EQ(TickedModifiers(dialog), qv::kHotKeyShift);
    const std::vector<std::string> edited{"●次へ", "●前へ", "ホームへ", "●メニュー", "直前へ"};
    EXPECT_EQ(Labels(tabs), edited);

    ClickLater(dialog, IDC_HK_DEFAULT);
    Question question = WaitForQuestion(config.Pid(), desktop.Name(), "QVConfig");
    ASSERT_TRUE(question.window);
    EXPECT_EQ(question.text, kDefaultsQuestion);
    EXPECT_TRUE(question.yesNo);
    ASSERT_TRUE(Answer(question, IDNO));
    EXPECT_EQ(Labels(tabs), edited);
    EXPECT_EQ(TickedModifiers(dialog), qv::kHotKeyShift);

    ClickLater(dialog, IDC_HK_DEFAULT);
    question = WaitForQuestion(config.Pid(), desktop.Name(), "QVConfig");
    ASSERT_TRUE(Answer(question, IDYES));
    EXPECT_EQ(Labels(tabs), (std::vector<std::string>{"●次へ", "●前へ", "●ホームへ", "●メニュー", "直前へ"}));
    EXPECT_EQ(tabs.Selected(), 3);
    EXPECT_EQ(KeyName(dialog), "End (23)");
    EXPECT_EQ(TickedModifiers(dialog), qv::kHotKeyAlt);
    EXPECT_TRUE(ChooseTab(tabs, dialog, 2, "Home (24)"));

    // Cancelled, the dialog changed nothing: the configurator ends without
    // asking to save.
    Click(dialog, IDC_HK_CLEAR);
    PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
    EXPECT_TRUE(qvtest::WaitUntil([&] { return !IsWindow(dialog); }, 5000));
    PostMessageA(main, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
    EXPECT_EQ(config.WaitExit(10000), 0);
    EXPECT_EQ(qvtest::ReadBytes(path), kFileWithDefaultKeys);
}

TEST_F(HotKeyControllerDialog, APressedHotKeySelectsItsTabExceptWhileSensing) {
    HWND dialog = Open();
    ASSERT_NE(dialog, nullptr);
    const qvtest::RemoteTabs tabs(GetDlgItem(dialog, IDC_HK_TABS), config.Pid());
    // The opening registered the four keys as they were.
    ASSERT_TRUE(qvtest::PressKeys(desktop.Name(), {VK_MENU, VK_HOME}));
    EXPECT_TRUE(qvtest::WaitUntil([&] { return tabs.Selected() == 2; }, 5000));
    EXPECT_TRUE(ShowsKey(dialog, "Home (24)"));

    // A changed word is registered anew: Ctrl+Shift+F9 for the menu.
    ASSERT_TRUE(ChooseTab(tabs, dialog, 3, "End (23)"));
    ASSERT_TRUE(Sense(dialog, {VK_F9}, "F 9 (78)"));
    Click(dialog, IDC_HK_CTRL);
    Click(dialog, IDC_HK_SHIFT);
    Click(dialog, IDC_HK_ALT);
    ASSERT_EQ(TickedModifiers(dialog), qv::kHotKeyControl | qv::kHotKeyShift);
    ASSERT_TRUE(ChooseTab(tabs, dialog, 0, "Page Down (22)"));
    ASSERT_TRUE(qvtest::PressKeys(desktop.Name(), {VK_CONTROL, VK_SHIFT, VK_F9}));
    EXPECT_TRUE(qvtest::WaitUntil([&] { return tabs.Selected() == 3; }, 5000));
    EXPECT_TRUE(ShowsKey(dialog, "F 9 (78)"));
    // The old combination is free again: Alt+End is no hot key any more, so
    // while sensing it is taken as a key.
    ASSERT_TRUE(ChooseTab(tabs, dialog, 1, "Page Up (21)"));
    EXPECT_TRUE(Sense(dialog, {VK_MENU, VK_END}, "End (23)"));

    // While sensing, the menu's hot key leaves the tab where it is: the key
    // pressed after it is the previous tab's.
    Click(dialog, IDC_HK_SENSE);
    ASSERT_TRUE(qvtest::PressKeys(desktop.Name(), {VK_CONTROL, VK_SHIFT, VK_F9}));
    ASSERT_TRUE(qvtest::PressKeys(desktop.Name(), {VK_F7}));
    EXPECT_TRUE(ShowsKey(dialog, "F 7 (76)"));
    EXPECT_EQ(tabs.Selected(), 1);
    EXPECT_TRUE(ChooseTab(tabs, dialog, 3, "F 9 (78)"));
}

TEST_F(HotKeyControllerDialog, AKeyHeldElsewhereIsLeftOutSilently) {
    // Ctrl+Shift+F12 for the menu, which another window of the desktop holds.
    const HotKeyHolder holder(desktop.Name(), MOD_CONTROL | MOD_SHIFT, VK_F12);
    ASSERT_TRUE(holder.Registered());
    // The dialog opens without a word about it, and the key stays the
    // holder's.
    HWND dialog = Open("AncestryController::RingListClass\t{\r\nHotKeyMenu\t0x0006007B\r\n}\r\n--EOF--\r\n");
    ASSERT_NE(dialog, nullptr);
    const qvtest::RemoteTabs tabs(GetDlgItem(dialog, IDC_HK_TABS), config.Pid());
    EXPECT_EQ(tabs.Label(3), "●メニュー");
    ASSERT_TRUE(qvtest::PressKeys(desktop.Name(), {VK_CONTROL, VK_SHIFT, VK_F12}));
    EXPECT_TRUE(qvtest::WaitUntil([&] { return holder.Presses() == 1; }, 5000));
    ASSERT_TRUE(qvtest::PressKeys(desktop.Name(), {VK_MENU, VK_HOME}));
    EXPECT_TRUE(qvtest::WaitUntil([&] { return tabs.Selected() == 2; }, 5000)) << "the other keys are the dialog's";
    EXPECT_EQ(holder.Presses(), 1);
}

TEST_F(HotKeyControllerDialog, OkKeepsTheEditedWordsWhichSavingWrites) {
    HWND dialog = Open();
    ASSERT_NE(dialog, nullptr);
    const qvtest::RemoteTabs tabs(GetDlgItem(dialog, IDC_HK_TABS), config.Pid());
    ASSERT_TRUE(ChooseTab(tabs, dialog, 3, "End (23)"));
    ASSERT_TRUE(Sense(dialog, {VK_F9}, "F 9 (78)"));
    Click(dialog, IDC_HK_CTRL);
    ASSERT_TRUE(ChooseTab(tabs, dialog, 1, "Page Up (21)"));
    Click(dialog, IDC_HK_WIN);
    PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
    ASSERT_TRUE(qvtest::WaitUntil([&] { return !IsWindow(dialog); }, 5000));

    // Changed: the end asks, and Yes saves.
    PostMessageA(main, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
    const qvtest::DaemonDialog question = qvtest::WaitForProcessDialog(config.Pid(), desktop.Name(), 10000, main);
    ASSERT_TRUE(question);
    EXPECT_EQ(question.text.rfind("変更内容が保存されていません. 保存してから終了しますか？", 0), 0u) << question.text;
    ASSERT_TRUE(qvtest::PressDialog(question, IDYES));
    const qvtest::DaemonDialog saved = qvtest::WaitForProcessDialog(config.Pid(), desktop.Name(), 10000, main);
    ASSERT_TRUE(saved);
    EXPECT_EQ(saved.text, "保存しました.");
    qvtest::PressDialog(saved, IDOK);
    EXPECT_EQ(config.WaitExit(10000), 0);

    std::vector<std::string> told;
    const qv::config::Configuration written = qv::config::LoadConfiguration(path.c_str(), &told);
    ASSERT_TRUE(written.controller);
    EXPECT_EQ(written.controller->m_dwHotKeyNext, 0x00010022u);
    EXPECT_EQ(written.controller->m_dwHotKeyPrev, 0x00090021u);
    EXPECT_EQ(written.controller->m_dwHotKeyHome, 0x00010024u);
    EXPECT_EQ(written.controller->m_dwHotKeyMenu, 0x00030078u);
}

TEST_F(HotKeyControllerDialog, ADesktopsKeyIsSensedListedByNameMarkedWhereSharedAndSavedWithTheBackKey) {
    ASSERT_TRUE(Start("AncestryController::RingListClass\t{\r\n\tHotKeyBack\t0x00070042\r\n"
                      "\tAncestryDesktop::RingListClass\t{\r\n\t\tDesktopName\tOne\r\n\t\tDesktopHotKey\t0x00070031\r\n\t}\r\n"
                      "\tAncestryDesktop::RingListClass\t{\r\n\t\tDesktopName\tTwo\r\n\t}\r\n}\r\n--EOF--\r\n"));
    constexpr int kKeyColumn = 5;
    const qvtest::RemoteList rows(GetDlgItem(main, IDC_CF_LIST), config.Pid());
    EXPECT_EQ(rows.Text(0, kKeyColumn), "Ctrl+Alt+Shift+1 (31)");
    EXPECT_EQ(rows.Text(1, kKeyColumn), "");

    // Desktop Two is given the key One has: Ctrl+Alt+Shift+1.
    ASSERT_TRUE(rows.Select(1));
    PostMessageA(main, WM_COMMAND, MAKEWPARAM(ID_CF_EDIT, 0), 0);
    HWND edited = ShownDialog(config.Pid(), desktop.Name(), "Desktopの設定", 10000);
    ASSERT_NE(edited, nullptr);
    auto shownKey = [&] { return qvtest::WindowText(GetDlgItem(edited, IDC_DT_HOTKEY)); };
    EXPECT_EQ(shownKey(), "");
    PostMessageA(edited, WM_COMMAND, MAKEWPARAM(IDC_DT_HOTKEY_SET, BN_CLICKED), 0);
    HWND oneKey = ShownDialog(config.Pid(), desktop.Name(), kHotKeyCaption, 10000);
    ASSERT_NE(oneKey, nullptr);
    ASSERT_TRUE(Sense(oneKey, {'1'}, "1 (31)")) << KeyName(oneKey);
    for (int box : {IDC_HK_CTRL, IDC_HK_ALT, IDC_HK_SHIFT}) Click(oneKey, box);
    ASSERT_EQ(TickedModifiers(oneKey), qv::kHotKeyControl | qv::kHotKeyAlt | qv::kHotKeyShift);
    PostMessageA(oneKey, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
    EXPECT_TRUE(qvtest::WaitUntil([&] { return shownKey() == "Ctrl+Alt+Shift+1 (31)"; }, 5000)) << shownKey();
    PostMessageA(edited, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
    ASSERT_TRUE(qvtest::WaitUntil([&] { return !IsWindow(edited); }, 5000));
    // Both desktops now want one key, which only the first would get.
    EXPECT_TRUE(qvtest::WaitUntil([&] { return rows.Text(1, kKeyColumn) == "×Ctrl+Alt+Shift+1 (31)"; }, 5000))
        << rows.Text(1, kKeyColumn);
    EXPECT_EQ(rows.Text(0, kKeyColumn), "×Ctrl+Alt+Shift+1 (31)");

    // The back key is the fifth tab, and the desktops' keys count for its mark.
    HWND dialog = OpenControllerKeys();
    ASSERT_NE(dialog, nullptr);
    const qvtest::RemoteTabs tabs(GetDlgItem(dialog, IDC_HK_TABS), config.Pid());
    EXPECT_EQ(Labels(tabs), (std::vector<std::string>{"●次へ", "●前へ", "●ホームへ", "●メニュー", "●直前へ"}));
    ASSERT_TRUE(ChooseTab(tabs, dialog, 4, "B (42)"));
    ASSERT_TRUE(Sense(dialog, {'1'}, "1 (31)"));
    EXPECT_EQ(tabs.Label(4), "×直前へ");
    ASSERT_TRUE(Sense(dialog, {'9'}, "9 (39)"));
    EXPECT_EQ(tabs.Label(4), "●直前へ");
    PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
    ASSERT_TRUE(qvtest::WaitUntil([&] { return !IsWindow(dialog); }, 5000));

    PostMessageA(main, WM_COMMAND, MAKEWPARAM(ID_CF_SAVE, 0), 0);
    const qvtest::DaemonDialog saved = qvtest::WaitForProcessDialog(config.Pid(), desktop.Name(), 10000, main);
    ASSERT_TRUE(saved);
    EXPECT_EQ(saved.text, "保存しました.");
    qvtest::PressDialog(saved, IDOK);
    const std::string text = qvtest::ReadBytes(path);
    EXPECT_NE(text.find("\tHotKeyBack\t0x00070039\r\n"), std::string::npos) << text;
    EXPECT_NE(text.find("\t\tDesktopName\tTwo\r\n\t\tDesktopTitleColor\t0x000FE80F\r\n\t\tDesktopExitProgman\t0x00000000\r\n"
                        "\t\tDesktopProgmanDelay\t250\r\n\t\tDesktopHotKey\t0x00070031\r\n\t}"),
              std::string::npos) << text;
    std::vector<std::string> told;
    const qv::config::Configuration written = qv::config::LoadConfiguration(path.c_str(), &told);
    ASSERT_TRUE(written.controller);
    EXPECT_EQ(written.controller->m_dwHotKeyBack, 0x00070039u);
    std::vector<uint32_t> desktopKeys;
    for (const qv::AncestryDesktop* d : written.controller->Desktops()) desktopKeys.push_back(d->m_dwHotKey);
    EXPECT_EQ(desktopKeys, (std::vector<uint32_t>{0x00070031, 0x00070031}));
    PostMessageA(main, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
    EXPECT_EQ(config.WaitExit(10000), 0);
}

// The one-key dialog shown by a thread of this program on a test desktop,
// as the bar configurator shows it.
class OneKeyShown {
public:
    OneKeyShown(const std::string& desktop, uint32_t word) : m_desktop(desktop), m_dialog(word) {
        m_thread.Reset(CreateThread(nullptr, 0, Main, this, 0, nullptr));
    }
    ~OneKeyShown() {
        if (Ended(0)) return;
        if (HWND window = Window(0)) PostMessageA(window, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
        if (!Ended(10000)) {
            ADD_FAILURE() << "the dialog did not end";
            // Its object goes with this one.
            TerminateThread(m_thread.Get(), 1);
        }
    }
    OneKeyShown(const OneKeyShown&) = delete;
    OneKeyShown& operator=(const OneKeyShown&) = delete;

    HWND Window(DWORD timeoutMs) const {
        return ShownDialog(GetCurrentProcessId(), m_desktop, kHotKeyCaption, timeoutMs);
    }
    bool Ended(DWORD timeoutMs) const {
        return m_thread && WaitForSingleObject(m_thread.Get(), timeoutMs) == WAIT_OBJECT_0;
    }
    // Once ended: whether it ended with OK, and the word it gave.
    bool Confirmed() const { return m_confirmed; }
    uint32_t Word() const { return m_dialog.EditedWord(); }

private:
    static DWORD WINAPI Main(void* parameter) {
        auto* self = static_cast<OneKeyShown*>(parameter);
        qvtest::RunOnDesktop(self->m_desktop,
                             [self] { self->m_confirmed = self->m_dialog.Edit(GetModuleHandleA(nullptr), nullptr); });
        return 0;
    }

    std::string m_desktop;
    qv::config::OneKeyDialog m_dialog;
    bool m_confirmed = false;
    qv::UniqueHandle m_thread;
};

TEST(HotKeyOneKeyDialog, ModifiersNeedNoKeyAndTheDefaultIsAltWithTheWindowsKey) {
    qvtest::TestDesktop desktop;
    OneKeyShown shown(desktop.Name(), 0x00020041);
    HWND dialog = shown.Window(10000);
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(KeyName(dialog), "A (41)");
    EXPECT_EQ(TickedModifiers(dialog), qv::kHotKeyControl);
    EXPECT_FALSE(Enabled(dialog, IDC_HK_MARKER));
    EXPECT_FALSE(Checked(dialog, IDC_HK_MARKER));

    Click(dialog, IDC_HK_CLEAR);
    EXPECT_TRUE(ShowsKey(dialog, ""));
    EXPECT_EQ(TickedModifiers(dialog), 0u);
    EXPECT_EQ(EnabledModifierBoxes(dialog), 4) << "modifiers may come before the key";
    Click(dialog, IDC_HK_SHIFT);
    EXPECT_EQ(TickedModifiers(dialog), qv::kHotKeyShift);

    ClickLater(dialog, IDC_HK_DEFAULT);
    // The box is captioned with the program's name (here the test's).
    const Question question = WaitForQuestion(GetCurrentProcessId(), desktop.Name(), "hotkey_tests");
    ASSERT_TRUE(question.window);
    EXPECT_EQ(question.text, kDefaultsQuestion);
    EXPECT_TRUE(question.yesNo);
    ASSERT_TRUE(Answer(question, IDYES));
    EXPECT_TRUE(qvtest::WaitUntil([&] { return TickedModifiers(dialog) == (qv::kHotKeyAlt | qv::kHotKeyWin); }, 5000));
    EXPECT_EQ(KeyName(dialog), "");

    Click(dialog, IDC_HK_SENSE);
    EXPECT_EQ(EnabledModifierBoxes(dialog), 0);
    EXPECT_FALSE(Enabled(dialog, IDOK));
    EXPECT_FALSE(Enabled(dialog, IDC_HK_CLEAR));
    ASSERT_TRUE(qvtest::PressKeys(desktop.Name(), {VK_F5}));
    EXPECT_TRUE(ShowsKey(dialog, "F 5 (74)"));
    EXPECT_EQ(EnabledModifierBoxes(dialog), 4);
    PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
    ASSERT_TRUE(shown.Ended(5000));
    EXPECT_TRUE(shown.Confirmed());
    EXPECT_EQ(shown.Word(), 0x00090074u);
}

TEST(HotKeyOneKeyDialog, EachPressOfTheHotKeyTogglesTheMarker) {
    qvtest::TestDesktop desktop;
    // Ctrl+Shift+F10.
    OneKeyShown shown(desktop.Name(), 0x00060079);
    HWND dialog = shown.Window(10000);
    ASSERT_NE(dialog, nullptr);
    auto marked = [&](bool on) { return qvtest::WaitUntil([&] { return Checked(dialog, IDC_HK_MARKER) == on; }, 5000); };
    ASSERT_TRUE(qvtest::PressKeys(desktop.Name(), {VK_CONTROL, VK_SHIFT, VK_F10}));
    EXPECT_TRUE(marked(true));
    ASSERT_TRUE(qvtest::PressKeys(desktop.Name(), {VK_CONTROL, VK_SHIFT, VK_F10}));
    EXPECT_TRUE(marked(false));

    // Sensed anew, the word is registered anew: Ctrl+Shift+F11 toggles it ...
    Click(dialog, IDC_HK_SENSE);
    ASSERT_TRUE(qvtest::PressKeys(desktop.Name(), {VK_F11}));
    ASSERT_TRUE(ShowsKey(dialog, "F 11 (7A)"));
    ASSERT_TRUE(qvtest::PressKeys(desktop.Name(), {VK_CONTROL, VK_SHIFT, VK_F11}));
    EXPECT_TRUE(marked(true));
    // ... and the old combination reaches the dialog as a plain key.
    Click(dialog, IDC_HK_SENSE);
    ASSERT_TRUE(qvtest::PressKeys(desktop.Name(), {VK_CONTROL, VK_SHIFT, VK_F10}));
    EXPECT_TRUE(ShowsKey(dialog, "F 10 (79)"));
    EXPECT_TRUE(Checked(dialog, IDC_HK_MARKER));
    ASSERT_TRUE(qvtest::PressKeys(desktop.Name(), {VK_CONTROL, VK_SHIFT, VK_F10}));
    EXPECT_TRUE(marked(false));

    PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
    ASSERT_TRUE(shown.Ended(5000));
    EXPECT_FALSE(shown.Confirmed());
}

}  // namespace

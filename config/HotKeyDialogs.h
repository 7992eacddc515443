#pragma once
// The hot-key dialogs: the switcher configurator's for the controller's hot
// keys, one tab each, and the one for a single key (the bar configurator's,
// and a desktop's in the switcher configurator). Both show
// the key by name, take a new key from the keyboard ("sensing"), let the
// modifiers be ticked, and register what is shown as a real hot key while
// they are open, so that the user can try it.

#include <windows.h>

#include <array>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

#include "HotKeyRegistration.h"
#include "HotKeyTabs.h"
#include "KeySensor.h"
#include "WindowBase.h"

namespace qv::config {

// What both dialogs do with the word being edited: its name and modifier
// boxes, sensing, clearing and the defaults.
class HotKeyEditor : public Dialog, private KeySensor::Target {
protected:
    HotKeyEditor() = default;

    virtual uint32_t Word() const = 0;
    // The word being edited becomes word and is registered as it is now.
    virtual void StoreWord(uint32_t word) = 0;
    // After the user agreed.
    virtual void RestoreDefaults() = 0;
    // Whether the modifier boxes can be used while not sensing.
    virtual bool ModifiersUsable() const = 0;
    // Further controls that sensing locks (none here).
    virtual void LockWhileSensing(bool) {}

    bool Sensing() const { return m_sensor != nullptr; }
    // The word's key name and modifier boxes, and what can be used now.
    void Show();

    BOOL OnCommand(WORD id, WORD code, HWND control) override;
    BOOL HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    bool OnKeyDown(UINT code) override;
    void Sense(bool on);
    void Change(uint32_t word);

    std::unique_ptr<KeySensor> m_sensor;  // only while sensing
};

// The controller's hot keys in tab order: next, previous, home, menu, back.
// The desktops' keys are not edited here, but a tab whose word one of them
// has is marked as shared.
class ControllerKeysDialog : public HotKeyEditor {
public:
    using Words = std::array<uint32_t, kHotKeyTabCount>;
    ControllerKeysDialog(const Words& words, std::vector<uint32_t> desktopKeys)
        : m_words(words), m_desktopKeys(std::move(desktopKeys)) {}
    // Modal over owner; true on OK, the edited words then in EditedWords().
    bool Edit(HINSTANCE instance, HWND owner);
    const Words& EditedWords() const { return m_words; }

protected:
    BOOL OnInit() override;
    BOOL HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
    uint32_t Word() const override { return m_words[m_tab]; }
    void StoreWord(uint32_t word) override;
    void RestoreDefaults() override;
    bool ModifiersUsable() const override { return HotKeyCode(Word()) != 0; }
    void LockWhileSensing(bool sensing) override;

private:
    HWND Tabs() const;
    void Register(size_t tab);
    void Label();
    void Select(size_t tab);

    Words m_words;
    std::vector<uint32_t> m_desktopKeys;
    size_t m_tab = 0;
    // Owned by the tab strip, under the tab's place plus one.
    std::array<HotKeyRegistration, kHotKeyTabCount> m_registrations;
};

// One hot key, with a check box that every press of it toggles.
class OneKeyDialog : public HotKeyEditor {
public:
    // The bar's: Alt and the Windows key, no key yet.
    static constexpr uint32_t kBarDefaultWord = 0x00090000;
    // defaultWord is what "ﾃﾞﾌｫﾙﾄ" restores.
    explicit OneKeyDialog(uint32_t word, uint32_t defaultWord = kBarDefaultWord)
        : m_word(word), m_defaultWord(defaultWord) {}
    // Modal over owner; true on OK, the edited word then in EditedWord().
    bool Edit(HINSTANCE instance, HWND owner);
    uint32_t EditedWord() const { return m_word; }

protected:
    BOOL OnInit() override;
    BOOL HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
    uint32_t Word() const override { return m_word; }
    void StoreWord(uint32_t word) override;
    void RestoreDefaults() override { StoreWord(m_defaultWord); }
    // Modifiers may be set before any key is.
    bool ModifiersUsable() const override { return true; }

private:
    uint32_t m_word;
    uint32_t m_defaultWord;
    HotKeyRegistration m_registration;  // the dialog's own, id 1
};

}  // namespace qv::config

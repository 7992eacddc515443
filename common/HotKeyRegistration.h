#pragma once
// A hot key registered for a window for as long as the object lives.

#include <windows.h>

#include <cstdint>
#include <utility>

#include "KeyNames.h"

namespace qv {

class HotKeyRegistration {
public:
    HotKeyRegistration() = default;
    // Registers the word's key for the window (of the calling thread) under
    // the id; a word of 0 registers nothing, and neither does a combination
    // the system refuses (another program holds it), which is no error here:
    // the caller that reports it finds the reason in the last error.
    HotKeyRegistration(HWND window, int id, uint32_t word) {
        if (word != 0 && RegisterHotKey(window, id, HotKeyModifiers(word), HotKeyCode(word))) {
            m_window = window;
            m_id = id;
        }
    }
    HotKeyRegistration(const HotKeyRegistration&) = delete;
    HotKeyRegistration& operator=(const HotKeyRegistration&) = delete;
    HotKeyRegistration(HotKeyRegistration&& other) noexcept
        : m_window(std::exchange(other.m_window, nullptr)), m_id(other.m_id) {}
    HotKeyRegistration& operator=(HotKeyRegistration&& other) noexcept {
        if (this != &other) {
            Reset();
            m_window = std::exchange(other.m_window, nullptr);
            m_id = other.m_id;
        }
        return *this;
    }
    ~HotKeyRegistration() { Reset(); }

    bool Registered() const { return m_window != nullptr; }
    // Unregisters now; the window must still be there.
    void Reset() {
        if (m_window) UnregisterHotKey(std::exchange(m_window, nullptr), m_id);
    }

private:
    HWND m_window = nullptr;
    int m_id = 0;
};

}  // namespace qv

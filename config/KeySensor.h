#pragma once
// The key-downs of a dialog's thread, seen before the dialog manager acts on
// them: while a hot key is being sensed, Tab, Enter and Escape must reach
// the dialog as keys to take, not as moves, OK or Cancel.

#include <windows.h>

#include "Handle.h"

namespace qv::config {

class KeySensor {
public:
    class Target {
    public:
        // A key pressed in the dialog (or one of its controls); true takes
        // it, and the dialog manager never sees it. The target may destroy
        // the sensor here.
        virtual bool OnKeyDown(UINT code) = 0;

    protected:
        ~Target() = default;
    };

    // Watches the calling thread, which must be the dialog's, from now until
    // the sensor goes. False (operator bool) when the system refused the hook.
    KeySensor(HWND dialog, Target& target);
    ~KeySensor();
    KeySensor(const KeySensor&) = delete;
    KeySensor& operator=(const KeySensor&) = delete;
    explicit operator bool() const { return m_hook.Valid(); }

private:
    static LRESULT CALLBACK Filter(int code, WPARAM wParam, LPARAM lParam);
    bool Watches(HWND window) const;

    HWND m_dialog;
    Target& m_target;
    KeySensor* m_outer;  // the thread's sensor before this one, watching again after it
    UniqueHook m_hook;
};

}  // namespace qv::config

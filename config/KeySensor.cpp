#include "KeySensor.h"

namespace qv::config {

namespace {

// A hook procedure gets no context of its own; the hook is the thread's, so
// is the sensor it serves.
thread_local KeySensor* t_sensor = nullptr;

}  // namespace

KeySensor::KeySensor(HWND dialog, Target& target) : m_dialog(dialog), m_target(target), m_outer(t_sensor) {
    t_sensor = this;
    // The dialog manager hands every message to the message filter before it
    // interprets it (IsDialogMessage, in a modal dialog's loop as in a
    // modeless one's), which is the moment a key must be taken.
    m_hook.Reset(SetWindowsHookExA(WH_MSGFILTER, Filter, nullptr, GetCurrentThreadId()));
}

KeySensor::~KeySensor() {
    m_hook.Reset();
    t_sensor = m_outer;
}

bool KeySensor::Watches(HWND window) const {
    return window && (window == m_dialog || IsChild(m_dialog, window));
}

LRESULT CALLBACK KeySensor::Filter(int code, WPARAM wParam, LPARAM lParam) {
    const auto* message = reinterpret_cast<const MSG*>(lParam);
    KeySensor* sensor = t_sensor;
    // A key in a box the dialog shows over itself is that box's.
    if (code == MSGF_DIALOGBOX && sensor && (message->message == WM_KEYDOWN || message->message == WM_SYSKEYDOWN) &&
        sensor->Watches(message->hwnd)) {
        // The sensor may be gone once the target has taken the key.
        if (sensor->m_target.OnKeyDown(static_cast<UINT>(message->wParam))) return TRUE;
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

}  // namespace qv::config

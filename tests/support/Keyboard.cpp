#include "Keyboard.h"

#include <vector>

#include "Desktops.h"

namespace qvtest {

bool PressKeys(const std::string& desktop, std::initializer_list<WORD> keys) {
    std::vector<INPUT> inputs;
    for (WORD key : keys) {
        INPUT down{};
        down.type = INPUT_KEYBOARD;
        down.ki.wVk = key;
        inputs.push_back(down);
    }
    for (auto key = std::rbegin(keys); key != std::rend(keys); ++key) {
        INPUT up{};
        up.type = INPUT_KEYBOARD;
        up.ki.wVk = *key;
        up.ki.dwFlags = KEYEVENTF_KEYUP;
        inputs.push_back(up);
    }
    UINT sent = 0;
    RunOnDesktop(desktop, [&] { sent = SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT)); });
    return sent == inputs.size();
}

}  // namespace qvtest

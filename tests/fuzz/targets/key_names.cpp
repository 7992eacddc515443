// Hot-key words as the parameter files write them, and the names their
// dialogs show; then a key sensed and a modifier box ticked on that word.
#include <string>

#include "Convert.h"
#include "FuzzInput.h"
#include "KeyNames.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    fuzz::Bytes in(data, size);
    const uint32_t code = in.Word();
    const uint32_t modifier = in.Word();
    const std::string text = in.Text();
    const uint32_t word = qv::ParseWord32(text.c_str());
    qv::KeyName(code);
    qv::KeyName(qv::HotKeyCode(word));
    qv::HotKeyText(word);
    const qv::SensedKey sensed = qv::SenseKey(word, code);
    qv::HotKeyText(qv::WithModifier(sensed.word, modifier, (code & 1) != 0));
    return 0;
}

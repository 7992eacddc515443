// Packed command texts as they arrive in a message parameter, and the
// desktop numbers of requests 1 and 2, in rings of any size.
#include <cstring>
#include <string>

#include "CommandText.h"
#include "FuzzInput.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    fuzz::Bytes in(data, size);
    const uint32_t packed = in.Word();
    const int count = in.Int();
    const int from = in.Int();
    const std::string text = in.Text();

    char unpacked[5];
    qv::UnpackCommandText(packed, unpacked);
    // Packing again gives the word back up to its first zero byte.
    const size_t length = std::strlen(unpacked);
    if (length > 4) __builtin_trap();
    const uint32_t kept = static_cast<uint32_t>(packed & ~(0xFFFFFFFFull >> (8 * length)));
    if (qv::PackCommandText(unpacked) != kept) __builtin_trap();
    const qv::CommandAction action = qv::InterpretCommandText(packed);
    qv::InterpretCommandText(text.c_str());
    qv::PackCommandText(text.c_str());

    const int forward = qv::RelativeSwitchIndex(from, action.steps, true, count);
    const int backward = qv::RelativeSwitchIndex(from, action.steps, false, count);
    const int byNumber = qv::SwitchToNumberIndex(text.c_str(), count);
    const int fromEnd = qv::SwitchFromEndIndex(text.c_str(), count);
    // In a ring of desktops every answer is one of them.
    if (count > 0 && from >= 0 && from < count) {
        for (int index : {forward, backward, byNumber, fromEnd})
            if (index < 0 || index >= count) __builtin_trap();
    }
    return 0;
}

// Desktop titles with their C-style escapes.
#include <string>

#include "FuzzInput.h"
#include "TitleEscapes.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string title(reinterpret_cast<const char*>(data), size);
    qv::TextString out;
    // Escapes only ever shorten a title.
    if (qv::ResolveTitleEscapes(title.c_str(), out) && out.Length() > title.size()) __builtin_trap();
    return 0;
}

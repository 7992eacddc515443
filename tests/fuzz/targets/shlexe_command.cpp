// QVShlExe's switches and item, and ShellExe's one document.
#include <string>

#include "FuzzInput.h"
#include "ShlExeCommand.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    const qv::ShlExeCommand command = qv::ParseShlExeCommand(text.c_str());
    if (command.item.size() > text.size()) __builtin_trap();
    if (qv::ShellExeDocument(text.c_str()).size() > text.size()) __builtin_trap();
    return 0;
}

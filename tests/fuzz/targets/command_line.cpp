// The command-line scanner every program reads its options with (the
// daemon's -p and the rest).
#include <cstring>
#include <string>

#include "CommandLine.h"
#include "FuzzInput.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    qv::OptionList options;
    qv::ParseCommandLine(options, text.c_str());
    // Every stored word is a piece of the line: none can be longer.
    for (const qv::PropertyPair* pair = options.First(); pair; pair = pair->next)
        if (std::strlen(pair->key.c_str()) > text.size() || std::strlen(pair->value.c_str()) > text.size())
            __builtin_trap();
    options.Value("-p");
    return 0;
}

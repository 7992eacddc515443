// The task switch tool's command tail (-A, -D, -t wait).
#include <string>

#include "FuzzInput.h"
#include "SwitchRules.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string tail(reinterpret_cast<const char*>(data), size);
    qv::taskswitch::ReadSwitchCommand(tail.c_str());
    return 0;
}

#pragma once

#include <cstdint>

namespace qv {

struct DisplayMode {
    int32_t bitsPerPel = 0;
    int32_t width = 0;
    int32_t height = 0;
    int32_t frequency = 0;
};

// The current mode of the primary display (all 0 when it cannot be read).
DisplayMode QueryCurrentDisplayMode();

}  // namespace qv

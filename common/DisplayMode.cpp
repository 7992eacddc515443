#include "DisplayMode.h"

#include <windows.h>

namespace qv {

DisplayMode QueryCurrentDisplayMode() {
    DEVMODEA dm = {};
    dm.dmSize = sizeof(dm);
    DisplayMode mode;
    if (EnumDisplaySettingsA(nullptr, ENUM_CURRENT_SETTINGS, &dm)) {
        mode.bitsPerPel = static_cast<int32_t>(dm.dmBitsPerPel);
        mode.width = static_cast<int32_t>(dm.dmPelsWidth);
        mode.height = static_cast<int32_t>(dm.dmPelsHeight);
        mode.frequency = static_cast<int32_t>(dm.dmDisplayFrequency);
    }
    return mode;
}

}  // namespace qv

#pragma once
// Records whose display-mode defaults come from a fixed mode instead of the
// real display, so that expected files do not depend on the machine.

#include <new>

#include "AncestryController.h"
#include "AncestryDesktop.h"

namespace qvtest {

inline qv::DisplayMode FixedMode() {
    qv::DisplayMode mode;
    mode.bitsPerPel = 32;
    mode.width = 1280;
    mode.height = 1024;
    mode.frequency = 60;
    return mode;
}

class FixedModeDesktop : public qv::AncestryDesktop {
protected:
    qv::DisplayMode CurrentDisplayMode() const override { return FixedMode(); }
};

class FixedModeController : public qv::AncestryController {
public:
    qv::AncestryDesktop* CreateChild() override { return new (std::nothrow) FixedModeDesktop; }
};

}  // namespace qvtest

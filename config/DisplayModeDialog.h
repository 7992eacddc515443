#pragma once
// The display mode dialog: every mode of the primary display, the desktop's
// own selected.

#include <windows.h>

#include <vector>

#include "DisplayMode.h"
#include "WindowBase.h"

namespace qv::config {

class DisplayModeDialog : public Dialog {
public:
    explicit DisplayModeDialog(const DisplayMode& stored) : m_mode(stored) {}
    // The chosen mode once the dialog ended with OK.
    const DisplayMode& Mode() const { return m_mode; }

protected:
    BOOL OnInit() override;
    BOOL OnCommand(WORD id, WORD code, HWND control) override;

private:
    void Choose();

    DisplayMode m_mode;
    std::vector<DisplayMode> m_modes;
};

}  // namespace qv::config

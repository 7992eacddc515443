#pragma once
// The desktop dialog: a desktop record's own keys on two pages (display and
// closing), and its list of programs.

#include <windows.h>

#include <memory>
#include <vector>

#include "AncestryDesktop.h"
#include "CaptureDialog.h"
#include "GdiObject.h"
#include "ProcessApi.h"
#include "ProgramListEditor.h"
#include "WindowBase.h"

namespace qv::config {

class DesktopDialog : public Dialog {
public:
    enum class Mode { kAdd, kEdit };
    // captureAtOnce opens the capture as soon as the dialog shows.
    DesktopDialog(AncestryDesktop& desktop, Mode mode, bool captureAtOnce = false)
        : m_desktop(desktop), m_mode(mode), m_captureAtOnce(captureAtOnce) {}

protected:
    BOOL OnInit() override;
    BOOL OnCommand(WORD id, WORD code, HWND control) override;
    BOOL HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    void ShowPage(int page);
    void SetEnabling();
    void ShowKind();
    void ShowKindLabels();
    void ChoosePreset();
    void ToggleAction(int bit, bool ticked);
    void ChooseColour();
    // The one-key dialog for the desktop's own key, kept in the record at once.
    void ChooseHotKey();
    void ChooseFile(int edit, const char* filter, const char* extension);
    DisplayMode StoredMode() const;
    void ShowDisplayMode();
    void ChooseDisplayMode();
    // The edited fields into the record; false (with the page shown) when a
    // number is out of range.
    bool Store();
    void Capture();
    void TakePicked(HWND window);
    void TakeCaptured(std::vector<std::unique_ptr<Executant>> captured);

    AncestryDesktop& m_desktop;
    ProgramListEditor m_programs{m_desktop.Executants()};
    Mode m_mode;
    bool m_captureAtOnce;
    uint32_t m_captureOptions;  // kept while the dialog is open
    WindowPicker m_picker;
    // Reading a window's program needs the process functions while the
    // dialog is open.
    ProcessApiBinding m_binding{kProcessFunctions};
    int m_page = 0;
    UniqueGdi<HBRUSH> m_swatch;
    bool m_filling = false;
    COLORREF m_customColours[16]{};
};

}  // namespace qv::config

#pragma once
// The run-program dialog of a desktop's thread window: a program, its
// arguments, working directory and priority, started on that desktop.

#include <windows.h>

#include <string>

#include "RunProgramRules.h"
#include "WindowBase.h"

namespace qv {

class RunProgramDialog : public Dialog {
public:
    // desktopId: the system name of the desktop the program starts on.
    explicit RunProgramDialog(const char* desktopId) : m_desktopId(desktopId) {}

protected:
    BOOL OnInit() override;
    BOOL OnCommand(WORD id, WORD code, HWND control) override;

private:
    void OnCommandFieldChanged();
    void OnBrowse();
    void OnQuickLaunch();
    void OnShell();
    void OnWindowsDirectory();
    void OnOk();

    // The full path of a file picked in the file-open dialog, or "" when
    // none was. filters: pairs of NUL-ended texts, a NUL after the last.
    std::string PickFile(const char* filters, const char* title, const char* startFolder);
    RunFields Fields() const;
    void Show(const RunFields& fields);

    std::string m_desktopId;
};

}  // namespace qv

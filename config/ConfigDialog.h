#pragma once
// The configurator's main dialog: the controller's keys, the list of
// desktops, loading, saving, restoring defaults and restarting the daemon.

#include <windows.h>

#include <memory>
#include <string>
#include <vector>

#include "ConfigFile.h"
#include "GdiObject.h"
#include "ListMoves.h"
#include "WindowBase.h"

namespace qv::config {

class ConfigDialog : public Dialog {
public:
    ConfigDialog(HINSTANCE instance, const ConfigCommand& command, Configuration configuration);
    // Shows the dialog and runs until it ends; the exit code.
    int Run();

protected:
    BOOL OnInit() override;
    BOOL OnCommand(WORD id, WORD code, HWND control) override;
    BOOL HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    void Fill();
    void FillList(const std::vector<size_t>& selected);
    void SetButtons();
    // The dialog's values into the controller; false (after saying which
    // field is out of range) when one does not fit.
    bool Collect();
    void SetChanged() { m_changed = true; }

    void ChooseSavePath();
    void ChooseColour();
    void ChooseSoundFile();
    void LoadOther();
    bool Save();
    void AskToEnd();
    void RestoreDefaults();
    void Restart();
    void AddDesktop();
    void EditDesktop(bool captureAtOnce = false);
    void DeleteDesktops();
    void MoveDesktops(MoveDirection direction);
    void SelectAll(bool selected);
    void ShowListMenu(LPARAM where);

    std::vector<AncestryDesktop*> Desktops() const;
    std::vector<size_t> SelectedRows() const;
    int Ask(const char* text, UINT type) const;
    void Tell(const char* text, UINT icon = 0) const;

    HINSTANCE m_instance;
    ConfigCommand m_command;
    Configuration m_configuration;
    std::string m_daemonPath;  // Quorvel.exe beside the configurator, when it is there
    bool m_changed = false;
    bool m_filling = false;  // the dialog's own changes set no flag
    HACCEL m_accelerators = nullptr;
    UniqueGdi<HBRUSH> m_swatch;  // the logo colour's swatch
    COLORREF m_customColours[16]{};
};

}  // namespace qv::config

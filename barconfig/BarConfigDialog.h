#pragma once
// The bar configurator's main dialog: the bar's controller keys, each
// desktop's menu list, loading, saving, defaults and restarting the bar.

#include <windows.h>

#include <string>
#include <vector>

#include "BarSettings.h"
#include "WindowBase.h"

namespace qv::barconfig {

class BarConfigDialog : public Dialog {
public:
    BarConfigDialog(HINSTANCE instance, std::string path, BarDocument document)
        : m_instance(instance), m_path(std::move(path)), m_document(std::move(document)) {}
    // Shows the dialog and runs until it ends; the exit code.
    int Run();

protected:
    BOOL OnInit() override;
    BOOL OnCommand(WORD id, WORD code, HWND control) override;
    BOOL HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    void ShowController();
    void CollectController();
    void FillDesktops(int selected);
    void FillItems(const std::vector<size_t>& selected);
    void SetButtons();
    std::vector<PanelDescription>* Menus();
    const std::vector<PanelDescription>* Menus() const;
    std::vector<size_t> SelectedItems() const;

    void AddDesktop();
    void DeleteDesktop();
    void AddItem();
    void EditItem();
    void DeleteItems();
    void MoveItems(bool up);
    void ChooseHotKey();
    void ChooseModules();
    void RestoreDefaults();
    void LoadOther();
    bool Save();
    void AskToEnd();
    void Restart();

    int Ask(const char* text, UINT type) const;
    void Tell(const char* text, UINT icon = 0) const;

    HINSTANCE m_instance;
    std::string m_path;
    BarDocument m_document;
    int m_desktop = -1;  // the desktop whose menus show
    bool m_changed = false;
    bool m_filling = false;
    HACCEL m_accelerators = nullptr;
};

}  // namespace qv::barconfig

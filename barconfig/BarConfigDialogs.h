#pragma once
// The bar configurator's smaller dialogs: a menu item, the standard-menu
// chooser, and the list of modules hung on at the bar's start.

#include <windows.h>

#include <string>
#include <vector>

#include "BarSettings.h"
#include "CaptureDialog.h"
#include "ProcessApi.h"
#include "WindowBase.h"

namespace qv::barconfig {

class MenuItemDialog : public Dialog {
public:
    explicit MenuItemDialog(PanelDescription& item) : m_item(item) {}

protected:
    BOOL OnInit() override;
    BOOL OnCommand(WORD id, WORD code, HWND control) override;

private:
    PanelKind Kind() const;
    // A kind chosen: its fields as the kind sets them.
    void ChooseKind(PanelKind kind, bool keepTexts);
    void Browse();
    void SetEnabling();

    PanelDescription& m_item;
};

// The values of a hive's Shell Folders that name a folder.
class StandardMenuDialog : public Dialog {
public:
    explicit StandardMenuDialog(bool common) : m_common(common) {}
    const std::string& Label() const { return m_label; }
    const std::string& ValueName() const { return m_valueName; }

protected:
    BOOL OnInit() override;
    BOOL OnCommand(WORD id, WORD code, HWND control) override;

private:
    void Choose();

    bool m_common;
    std::vector<std::string> m_values;
    std::string m_label, m_valueName;
};

class ModuleListDialog : public Dialog {
public:
    explicit ModuleListDialog(std::vector<std::string> modules) : m_modules(std::move(modules)) {}
    // Once ended with OK: the list as stored.
    const std::vector<std::string>& Modules() const { return m_modules; }

protected:
    BOOL OnInit() override;
    BOOL OnCommand(WORD id, WORD code, HWND control) override;
    BOOL HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    void SetEnabling();
    std::vector<std::string> Listed() const;
    void Show(const std::vector<std::string>& modules);
    void Capture();
    void TakeCaptured(const std::vector<std::string>& names);

    std::vector<std::string> m_modules;
    uint32_t m_captureOptions = config::kCaptureDefaults;  // kept while the dialog is open
    config::WindowPicker m_picker;
    // Reading a window's program needs the process functions while the
    // dialog is open.
    ProcessApiBinding m_binding{kProcessFunctions};
};

}  // namespace qv::barconfig

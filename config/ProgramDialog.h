#pragma once
// The program dialog: one program entry's start, its window and its
// priority.

#include <windows.h>

#include "Executant.h"
#include "Handle.h"
#include "ProgramFields.h"
#include "WindowBase.h"

namespace qv::config {

class ProgramDialog : public Dialog {
public:
    explicit ProgramDialog(Executant& entry) : m_entry(entry), m_fields(ReadFields(entry)) {}

protected:
    BOOL OnInit() override;
    BOOL OnCommand(WORD id, WORD code, HWND control) override;
    BOOL HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    void ShowPage(int page);
    void Show();
    void SetEnabling();
    void ShowProgram();
    bool Collect();
    void ChooseProgram(bool quickLaunch);
    void ChooseShellItem();
    void ChooseFolder();
    void TakeProgram(const std::string& path);

    Executant& m_entry;
    ProgramFields m_fields;
    UniqueIcon m_icon;
    UniqueIcon m_smallIcon;
};

}  // namespace qv::config

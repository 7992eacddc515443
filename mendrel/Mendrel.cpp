// Mendrel: keeps one desktop's program list. With -p it edits the list in a
// dialog, the configurator's program list and program dialog; with -e it
// starts every entry on the current desktop, as the daemon starts a
// desktop's programs, and ends.

#include <windows.h>
#include <commctrl.h>

#include <cstdio>
#include <cstring>
#include <string>

#include "CommandLine.h"
#include "ConfigMessages.h"
#include "DesktopDialogsRes.h"
#include "DialogFiles.h"
#include "MendrelRes.h"
#include "ProcessApi.h"
#include "ProgramListEditor.h"
#include "ProgramListFile.h"
#include "WindowBase.h"

namespace qv::mendrel {

namespace {

inline constexpr char kCaption[] = "Mendrel";
inline constexpr char kUsage[] = "Usage : Mendrel.exe -p \"<list file>\" [-e]";

class ListDialog : public Dialog {
public:
    ListDialog(std::string path, OwnedRing<Executant>& entries)
        : m_path(std::move(path)), m_entries(&entries), m_programs(entries) {}

protected:
    BOOL OnInit() override {
        HICON icon = LoadIconA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDI_MENDREL));
        SendMessageA(Handle(), WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(icon));
        SendMessageA(Handle(), WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(icon));
        SetDlgItemTextA(Handle(), IDC_MD_PATH, m_path.c_str());
        m_programs.Attach(Handle());
        return TRUE;
    }
    BOOL OnCommand(WORD id, WORD code, HWND control) override {
        if (id == IDOK) {
            Save();
            return TRUE;
        }
        if (id == IDCANCEL) {
            AskToEnd();
            return TRUE;
        }
        if (m_programs.OnCommand(id)) {
            m_changed = m_programs.TakeChanged() || m_changed;
            return TRUE;
        }
        return Dialog::OnCommand(id, code, control);
    }
    BOOL HandleMessage(UINT message, WPARAM, LPARAM lParam) override {
        if (message != WM_NOTIFY) return FALSE;
        m_programs.OnNotify(*reinterpret_cast<const NMHDR*>(lParam));
        m_changed = m_programs.TakeChanged() || m_changed;
        return FALSE;
    }

private:
    bool Save() {
        if (!SaveProgramListFile(m_path.c_str(), *m_entries)) {
            MessageBoxA(Handle(), config::Formatted(config::kCannotCreate, m_path).c_str(), kCaption,
                        MB_OK | MB_ICONEXCLAMATION);
            return false;
        }
        m_changed = false;
        End(IDOK);
        return true;
    }
    void AskToEnd() {
        if (m_changed) {
            switch (MessageBoxA(Handle(), config::kEndQuestion, kCaption, MB_YESNOCANCEL | MB_ICONQUESTION | MB_DEFBUTTON3)) {
            case IDYES: Save(); return;
            case IDNO: break;
            default: return;
            }
        }
        End(IDCANCEL);
    }

    std::string m_path;
    OwnedRing<Executant>* m_entries;
    config::ProgramListEditor m_programs;
    bool m_changed = false;
};

int Run(const char* commandTail) {
    OptionList options;
    ParseCommandLine(options, commandTail);
    const std::string path = options.Has("-p") && options.Value("-p") ? options.Value("-p") : "";
    if (path.empty()) {
        MessageBoxA(nullptr, kUsage, kCaption, MB_OK);
        return 1;
    }
    OwnedRing<Executant> entries;
    // A list cut short is never edited or started: saving what was read
    // would lose the rest.
    if (ReadProgramListFile(path.c_str(), &entries) == BarReadResult::kCutShort) {
        MessageBoxA(nullptr, config::Formatted(config::kLoadFailed, path).c_str(), kCaption,
                    MB_OK | MB_ICONEXCLAMATION);
        return 1;
    }
    if (options.Has("-e")) {
        // The once-only rule and the window search ask the process functions.
        ProcessApiBinding binding(kProcessFunctions);
        for (Executant* entry : entries) entry->Launch(nullptr);
        return 0;
    }
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_LISTVIEW_CLASSES | ICC_TAB_CLASSES | ICC_UPDOWN_CLASS};
    InitCommonControlsEx(&controls);
    ListDialog dialog(path, entries);
    return dialog.DoModal(GetModuleHandleA(nullptr), IDD_MENDREL, nullptr) < 0 ? 1 : 0;
}

}  // namespace

}  // namespace qv::mendrel

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR commandLine, int) { return qv::mendrel::Run(commandLine); }

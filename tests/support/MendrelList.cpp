#include "MendrelList.h"

#include <windows.h>

#include "DesktopDialogsRes.h"
#include "Desktops.h"
#include "Processes.h"
#include "RemoteList.h"

namespace qvtest {

namespace {

void SetText(HWND control, const std::string& text) {
    SendMessageTimeoutA(control, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()), SMTO_ABORTIFHUNG, 5000,
                        nullptr);
}

}  // namespace

bool SaveListWithMendrel(const std::string& desktop, const std::string& path, const std::string& program,
                         const std::string& arguments) {
    ProcessGuard mendrel;
    if (!StartProgram(mendrel, "Mendrel.exe", "-p \"" + path + "\"", desktop)) return false;
    HWND dialog = FindShownDialog(desktop, "Mendrel", 30000);
    if (!dialog) return false;
    RemoteList rows(GetDlgItem(dialog, IDC_DT_PROGRAMS), mendrel.Pid());
    const int before = rows.Count();
    PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDC_DT_ADD_PROGRAM, BN_CLICKED), 0);
    HWND entry = FindShownDialog(desktop, "ｱﾌﾟﾘｹｰｼｮﾝ起動情報", 10000);
    if (!entry) return false;
    SetText(GetDlgItem(entry, IDC_PG_FILE), program);
    SetText(GetDlgItem(entry, IDC_PG_ARGS), arguments);
    PostMessageA(entry, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
    if (!WaitUntil([&] { return rows.Count() == before + 1; }, 10000)) return false;
    PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
    return mendrel.WaitExit(10000) == 0;
}

}  // namespace qvtest

// QVBarConfig: edits the control bar's settings file in dialogs: the bar's
// own keys and each desktop's launcher menus.

#include <windows.h>

#include "BarConfigDialog.h"
#include "BarConfigRules.h"
#include "ConfigFile.h"
#include "ConfigMessages.h"
#include "DialogFiles.h"

namespace {

inline constexpr char kCaption[] = "QVBarConfig";
inline constexpr char kMissing[] = "パラメータファイルがみつからないので、デフォルトで作成します.";

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR commandLine, int) {
    using namespace qv::barconfig;
    const qv::config::ConfigCommand command = qv::config::ReadConfigCommand(commandLine, qv::kBarParameterFile);
    if (!command.valid) {
        MessageBoxA(nullptr, qv::config::kBadPath, kCaption, MB_OK);
        return 1;
    }
    qv::BarDocument document = DefaultBarDocument();
    bool missing = false;
    if (!LoadBarFile(command.path.c_str(), &document, &missing)) {
        if (!missing) {
            // A file that did not read whole is not offered for saving over.
            MessageBoxA(nullptr, qv::config::Formatted(qv::config::kLoadFailed, command.path).c_str(), kCaption,
                        MB_OK | MB_ICONEXCLAMATION);
            return 1;
        }
        MessageBoxA(nullptr, kMissing, kCaption, MB_OK);
    }
    BarConfigDialog dialog(instance, command.path, std::move(document));
    return dialog.Run();
}

#include "Config.h"

#include <string>
#include <vector>

#include "ConfigDialog.h"
#include "ConfigFile.h"
#include "ConfigMessages.h"

namespace qv::config {

namespace {

inline constexpr char kCaption[] = "QVConfig";

}  // namespace

int RunConfig(HINSTANCE instance, const char* commandTail) {
    const ConfigCommand command = ReadConfigCommand(commandTail);
    if (!command.valid) {
        MessageBoxA(nullptr, kBadPath, kCaption, MB_OK);
        return 1;
    }
    std::vector<std::string> told;
    Configuration configuration = LoadConfiguration(command.path.c_str(), &told);
    for (const std::string& text : told) MessageBoxA(nullptr, text.c_str(), kCaption, MB_OK);
    if (!configuration.controller) {
        MessageBoxA(nullptr, kNothingDefined, kCaption, MB_OK);
        configuration.controller = DefaultController();
    }
    ConfigDialog dialog(instance, command, std::move(configuration));
    return dialog.Run();
}

}  // namespace qv::config

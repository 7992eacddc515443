#include "ConfigFile.h"

#include <cstdio>
#include <cstring>

#include "CommandLine.h"
#include "Convert.h"
#include "HotKeyTabs.h"
#include "ParamLine.h"
#include "PathText.h"
#include "RecordIO.h"

namespace qv::config {

namespace {

inline constexpr char kFormatBad[] = "ファイル[%s]の書式が不正です";
inline constexpr char kUnknownClass[] = "クラス [%s] は認識できません.";

std::string Format(const char* format, const char* text) {
    std::vector<char> buffer(std::strlen(format) + std::strlen(text) + 1);
    std::snprintf(buffer.data(), buffer.size(), format, text);
    return buffer.data();
}

bool TakeHeaderLine(const char* key, const char* value, ParameterFileHeader& header) {
    if (std::strcmp(key, "FileVersion") == 0)
        header.fileVersion.Assign(value);
    else if (std::strcmp(key, "LogFileName") == 0)
        header.logFileName.Assign(value);
    else if (std::strcmp(key, "LogFileLimit") == 0)
        header.logFileLimit = ParseDecimal(value);
    else
        return false;
    return true;
}

struct FileCloser {
    void operator()(FILE* file) const { std::fclose(file); }
};

}  // namespace

Configuration LoadConfiguration(const char* path, std::vector<std::string>* told) {
    Configuration loaded;
    // Unlike the daemon's, the configurator's header starts without a log.
    loaded.header.logFileLimit = 0;
    std::unique_ptr<FILE, FileCloser> file(std::fopen(path, "r"));
    if (!file) return loaded;
    char line[kLineBuffer];
    while (ReadParamLine(file.get(), line)) {
        if (IsCommentLine(line)) continue;
        char* key;
        char* value;
        SplitLine(line, &key, &value);
        if (std::strcmp(key, "--EOF--") == 0) break;
        if (TakeHeaderLine(key, value, loaded.header) || std::strcmp(value, "{") != 0) continue;
        if (std::strcmp(key, AncestryController::kHeader) != 0) {
            told->push_back(Format(kUnknownClass, key));
            ReadRecordLines(file.get(), nullptr, [](const char*, const char*) {}, [](FILE*) { return true; });
            continue;
        }
        auto controller = std::make_unique<AncestryController>();
        if (controller->Read(file.get()) == 0) {
            loaded.controller = std::move(controller);
            break;
        }
        // A record that fails to read is dropped; what follows may still hold one.
        told->push_back(Format(kFormatBad, path));
    }
    return loaded;
}

std::unique_ptr<AncestryDesktop> DefaultDesktop() {
    auto desktop = std::make_unique<AncestryDesktop>();
    desktop->Validate();
    desktop->Apply();
    return desktop;
}

std::unique_ptr<AncestryController> DefaultController() {
    auto controller = std::make_unique<AncestryController>();
    controller->Validate();
    controller->Apply();
    for (int i = 0; i < 2; ++i) controller->AddChild(DefaultDesktop().release());
    return controller;
}

bool WriteConfiguration(FILE* file, const ParameterFileHeader& header, AncestryController& controller) {
    return WriteParameterFile(file, header, controller) == 0;
}

DesktopRow DescribeDesktop(const AncestryDesktop& desktop, int index, std::span<const uint32_t> fileKeys) {
    DesktopRow row;
    char text[64];
    if (desktop.m_strTitle.IsEmpty()) {
        std::snprintf(text, sizeof text, "Desktop%d", index + 2);
        row.name = text;
    } else {
        row.name = desktop.m_strTitle.c_str();
    }
    row.wallpaper = desktop.m_bChgWallpaper ? FileNamePart(desktop.m_strWallpaper.c_str()) : "－";
    if (desktop.m_bChgDisplay) {
        std::snprintf(text, sizeof text, "%4dX%d", desktop.m_nPelsWidth, desktop.m_nPelsHeight);
        row.display = text;
    } else {
        row.display = "---";
    }
    const uint32_t exit = desktop.m_dwExitOptions;
    row.exit = std::string(1, (exit >> 24) & 0xFF ? 'P' : '-') + ((exit >> 16) & 0xFF ? 'E' : '-') +
               ((exit >> 8) & 0xFF ? 'N' : '-');
    row.programs = std::to_string(desktop.Executants().Count());
    row.hotKey = HotKeyListText(desktop.m_dwHotKey, fileKeys);
    return row;
}

ConfigCommand ReadConfigCommand(const char* tail, const char* defaultPath) {
    ConfigCommand command;
    command.path = defaultPath;
    OptionList options;
    ParseCommandLine(options, tail);
    if (options.Has("-p")) {
        command.path = options.Value("-p");
        if (command.path.empty()) command.valid = false;
    }
    command.captureAtOnce = options.Has("-c");
    command.editOwnDesktop = command.captureAtOnce || options.Has("-d");
    return command;
}

}  // namespace qv::config

#pragma once
// The configurator's view of the parameter file: loading it with what the
// user is told on the way, the default content when there is none, saving
// it, and the texts of the desktop list.

#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <vector>

#include "AncestryController.h"
#include "ParameterFile.h"

namespace qv::config {

inline constexpr char kNothingDefined[] = "定義内容が未設定です。　デフォルト状態で生成します。";

struct Configuration {
    ParameterFileHeader header;
    std::unique_ptr<AncestryController> controller;  // null when the file gave none
};

// Reads the header lines and the controller record with its desktops and
// entries. told receives, in order, each message for the user (a controller
// record that fails to read, a record of another class, no memory).
Configuration LoadConfiguration(const char* path, std::vector<std::string>* told);

// Every controller key at its default, and two desktops with theirs.
std::unique_ptr<AncestryController> DefaultController();

// A new desktop with every default (the current display mode included).
std::unique_ptr<AncestryDesktop> DefaultDesktop();

// Writes the whole file into an open text-mode stream; false when a write
// failed.
bool WriteConfiguration(FILE* file, const ParameterFileHeader& header, AncestryController& controller);

// The texts of a desktop's row in the list; index counts from 0.
struct DesktopRow {
    std::string name, wallpaper, display, exit, programs, hotKey;
};
// fileKeys: every hot key of the file (FileHotKeys), for the "×" of a key
// given twice.
DesktopRow DescribeDesktop(const AncestryDesktop& desktop, int index, std::span<const uint32_t> fileKeys = {});

// Command line: -p file (default "Quorvel.ini"; the bar configurator's
// "QVCtrlBar.ini"), -d, -c (wins over -d).
struct ConfigCommand {
    bool valid = true;  // false: an empty -p value
    std::string path;
    bool editOwnDesktop = false;
    bool captureAtOnce = false;
};
ConfigCommand ReadConfigCommand(const char* tail, const char* defaultPath = "Quorvel.ini");

}  // namespace qv::config

#pragma once
// What QVCtl prints and writes: lines of text in the system's code page for
// a person or a batch file, JSON in UTF-8 for a script, and the snapshot as
// a BMP file.

#include <cstdint>
#include <string>
#include <vector>

#include "PipeFormat.h"

namespace qv {

// The JSON outputs' "version": raised when a field changes meaning or goes.
inline constexpr int kCtlJsonVersion = 1;

struct DesktopRow {
    int number = 0;  // counted from 1 in the Information reply's order
    std::string id;
    std::string title;  // as the lists show it
    int32_t width = 0;
    int32_t height = 0;
    bool current = false;
    bool home = false;
};

struct WindowRow {
    int desktopNumber = 0;
    std::string desktopId;
    uint32_t handle = 0;
    uint32_t processId = 0;
    std::string module;
    std::string caption;
};

DesktopRow DesktopRowAt(const DesktopInformation& info, int index);
std::vector<DesktopRow> DesktopRows(const DesktopInformation& info);

// One line per desktop, fields separated by tabs: number, ID, title, and
// "current", "home", "current,home" or "-".
std::string DesktopLine(const DesktopRow& row);
std::string StatusText(const std::vector<DesktopRow>& rows);
// One line per window, fields separated by tabs: desktop number, handle
// ("0x0001012A"), process id, module, caption.
std::string WindowsText(const std::vector<WindowRow>& rows);

// The texts come in codePage (the system's) and go out as UTF-8, converted
// by the system's own tables; a byte that the code page does not map becomes
// the system's default character.
std::string StatusJson(const std::vector<DesktopRow>& rows, unsigned codePage);
std::string WindowsJson(const std::vector<WindowRow>& rows, unsigned codePage);

// The text from one code page to another through UTF-16; unchanged when
// they are the same or the conversion fails.
std::string ConvertCodePage(const std::string& text, unsigned from, unsigned to);

// A BMP file of the snapshot: file header, the info header of a 24-bit
// bottom-up bitmap, then its rows as the daemon sent them. Empty when the
// lines are not all there.
std::string BitmapFileBytes(const BitmapLines& snapshot);

}  // namespace qv

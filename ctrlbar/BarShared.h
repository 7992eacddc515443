#pragma once
// What every bar of the process shares: the settings, the daemon's desktops
// as the bar learnt them at start, the images and the main window. Made by
// the main thread before any bar thread starts and read-only afterwards,
// except the pin, which any bar may toggle for all.

#include <windows.h>

#include <atomic>
#include <string>
#include <vector>

#include "BarSettings.h"

namespace qv {

class Hanger;

struct BarDesktop {
    int number = 0;     // place in the daemon's list, 0 the home desktop
    std::string id;     // the desktop object's name
    std::string title;  // the daemon's name for it
    uint32_t color = 0;
};

// The button images, loaded once from the program's resources.
struct BarImages {
    HBITMAP system = nullptr;
    HBITMAP pinPinned = nullptr;
    HBITMAP pinLoose = nullptr;
    HBITMAP knob = nullptr;
    HBITMAP pageNext = nullptr;
    HBITMAP pagePrevious = nullptr;
    HBITMAP switchMenu = nullptr;
    HBITMAP hangerMenu = nullptr;
    HBITMAP pageBack = nullptr;
    HICON menuFolder = nullptr;
    HICON menuItem = nullptr;

    bool Load(HINSTANCE instance);
    void Free();
};

struct BarShared {
    HINSTANCE instance = nullptr;
    BarController controller;
    std::atomic<bool> fixPin{false};
    std::atomic<bool> endDaemon{false};  // the user chose to end the daemon with the bar
    std::vector<BarDesktop> desktops;
    BarImages images;
    std::string parameterPath;  // the settings file, as given
    std::string programFolder;  // of QVCtrlBar.exe, with its separator
    HWND mainWindow = nullptr;
    std::atomic<Hanger*> hanger{nullptr};  // made once every bar runs
    bool keepImages = false;  // a bar thread outlived the end: its images go with the process
};

// Messages between the bars and the main window of the process.
inline constexpr UINT kPinToggledMessage = WM_APP + 2;  // to the main window: tell every bar
inline constexpr UINT kPinChangedMessage = WM_APP + 3;  // to each bar: the pin changed

}  // namespace qv

#pragma once
// The windows both setup programs show besides their dialogs: the round
// splash with the progress pie, and the read-only text window.

#include <windows.h>

#include <string>

#include "WindowBase.h"

namespace qvsetup {

class SplashWindow : public qv::Window {
public:
    // Shown at once, in the upper left corner; false when it could not be made.
    bool Open(HINSTANCE instance, const char* title, const std::string& text);
    // 0 to 100 percent, drawn as a pie.
    void Progress(int percent);

protected:
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    void Paint(HDC dc);
    std::string m_text;
    int m_percent = 0;
};

// Shows the text in a modal window titled title with its close button.
void ShowTextWindow(HINSTANCE instance, HWND owner, const char* title, const std::string& text);
// The file's text for that window, its line ends made "\r\n"; false when it
// cannot be read.
bool ReadTextFile(const std::string& path, std::string* text);

}  // namespace qvsetup

// What accompanies a switch: a reduced copy of the screen of the desktop
// being left, for the viewer, and the sound of the desktop arriving, played
// from memory so that a switch never waits for the disk.

#include <cstdio>
#include <new>

#include "Daemon.h"
#include "Log.h"
#include "SwitcherController.h"
#include "SwitcherDesktop.h"
#include "SystemError.h"

namespace qv {

void SwitcherDesktop::CaptureSnapshot() {
    SwitcherController* controller = Daemon().controller;
    const int rate = controller && controller->m_nKeepBitmapSize > 0 ? controller->m_nKeepBitmapSize : 1;
    HWND desktopWindow = GetDesktopWindow();
    RECT screen = {};
    GetWindowRect(desktopWindow, &screen);
    const int width = screen.right - screen.left, height = screen.bottom - screen.top;
    const int w = width / rate, h = height / rate;
    WindowDC screenDC(desktopWindow);
    MemoryDC memory(screenDC.Get());
    // Other desktop threads answer questions meanwhile.
    LogLine line;
    line.Add("Desktop %s [ThreadID=%08X] KeepBitmap Start. nRate=%d (%dx%d)", m_strDesktopName.c_str(),
             static_cast<unsigned>(GetCurrentThreadId()), rate, w, h);
    m_snapshot.Reset(CreateCompatibleBitmap(screenDC.Get(), w, h));
    if (m_snapshot && memory.Get()) {
        Selection selected(memory.Get(), m_snapshot.Get());
        RECT all = {0, 0, w, h};
        FillRect(memory.Get(), &all, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
        BOOL copied;
        if (rate > 1) {
            SetStretchBltMode(memory.Get(), COLORONCOLOR);
            copied = StretchBlt(memory.Get(), 0, 0, w, h, screenDC.Get(), screen.left, screen.top, width, height,
                                SRCCOPY);
        } else {
            copied = BitBlt(memory.Get(), 0, 0, w, h, screenDC.Get(), screen.left, screen.top, SRCCOPY);
        }
        if (!copied) line.Add("BitBlt/StretchBlt Failed.  Error Reason : %s", SystemErrorText().c_str());
    }
    line.Add(" Completed.\n");
}

int SwitcherDesktop::LoadSound() {
    const char* path = m_strSoundFile.c_str();
    UniqueHandle file(CreateFileA(path, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                  FILE_ATTRIBUTE_NORMAL | FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
    if (!file) {
        WriteLog("Wav File %s Open Failed.\n", path);
        return -1;
    }
    LARGE_INTEGER size = {};
    // A sound image lives in memory for the whole run: anything of 2 GiB or
    // more is no sound file.
    if (!GetFileSizeEx(file.Get(), &size) || size.QuadPart >= 0x7FFFFFFF) {
        WriteLog("Wav File %s Access Failed.\n", path);
        return -2;
    }
    std::vector<char> image;
    try {
        image.resize(static_cast<size_t>(size.QuadPart));
    } catch (const std::bad_alloc&) {
        WriteLog("Sound Memory Error.");
        return -3;
    }
    DWORD read = 0;
    if (!ReadFile(file.Get(), image.data(), static_cast<DWORD>(image.size()), &read, nullptr) || read < image.size()) {
        WriteLog("Wav File %s Read Failed.\n", path);
        return -4;
    }
    m_sound = std::move(image);
    return 0;
}

BOOL SnapshotSizeDialog::OnInit() {
    CentreOnScreen();
    HWND list = GetDlgItem(Handle(), IDC_SNAPSHOT_RATE);
    SendMessageA(list, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>("OFF"));
    for (int i = 1; i <= 32; ++i) {
        char text[8];
        std::snprintf(text, sizeof(text), "%d", i);
        SendMessageA(list, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text));
    }
    const int current = m_pController ? m_pController->m_nKeepBitmapSize : 0;
    SendMessageA(list, CB_SETCURSEL, current < 0 ? 0 : current > 32 ? 32 : current, 0);
    return TRUE;
}

BOOL SnapshotSizeDialog::OnCommand(WORD id, WORD code, HWND control) {
    if (id == IDOK) {
        const LRESULT chosen = SendDlgItemMessageA(Handle(), IDC_SNAPSHOT_RATE, CB_GETCURSEL, 0, 0);
        if (m_pController) m_pController->m_nKeepBitmapSize = chosen < 0 ? 0 : chosen > 32 ? 32 : static_cast<int>(chosen);
    }
    return Dialog::OnCommand(id, code, control);
}

}  // namespace qv

#pragma once
// One live desktop of the daemon: its Win32 desktop, its thread and the
// hidden thread window through which the other programs reach it.

#include <windows.h>

#include "AncestryDesktop.h"
#include "Handle.h"

namespace qv {

class SwitcherDesktop : public AncestryDesktop {
public:
    // Every right on the desktop and maximum allowed.
    static constexpr ACCESS_MASK kDesktopAccess = 0xF20F01FF;

    SwitcherDesktop() = default;
    ~SwitcherDesktop() override;

    Executant* CreateChild() override;

    // 1 opened an existing desktop, 0 created it, -1 failed.
    int CreateOrOpen();
    // 0 usable (state 2), -1 cannot be opened.
    int OpenExisting();
    // Starts the desktop's thread; false when it could not be made.
    bool StartThread();
    // Posts the close request to the thread window and waits for the thread.
    void CloseThread();
    // Sound, display mode and wallpaper when the desktop becomes current
    // (runs on its own thread).
    void Activate();

    SwitcherDesktop* NextDesktop() const { return static_cast<SwitcherDesktop*>(Next()); }
    SwitcherDesktop* PrevDesktop() const { return static_cast<SwitcherDesktop*>(Prev()); }

    UniqueDesktop m_hDesktop;
    UniqueHandle m_hThread;
    HWND m_hThreadWindow = nullptr;
    HMENU m_hMenu = nullptr;  // owned by the desktop thread
    int m_nNumber = 0;        // 0 for home, then along the ring
    bool m_bSkipClosing = false;
    int m_nBusy = 0;          // 1 while the thread window shows a modal dialog
    int m_nEndSession = 0;

private:
    static DWORD WINAPI ThreadMain(void* param);
    // Window, menu and programs; false when the window could not be made.
    bool SetUpThreadWindow();
    void StartPrograms();
};

}  // namespace qv

#pragma once
// One live desktop of the daemon: its Win32 desktop, its thread and the
// hidden thread window through which the other programs reach it.

#include <windows.h>

#include <atomic>
#include <vector>

#include "AncestryDesktop.h"
#include "GdiObject.h"
#include "Handle.h"
#include "TitleLayout.h"

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
    // How long the main thread waits for the thread to make its window and
    // start the desktop's programs: each start's own waits, and then some.
    DWORD StartBoundMs() const;
    // Set by the thread, before it signals the start semaphore, once its
    // window is made; read by the main thread after the signal.
    bool ThreadReady() const { return m_bThreadReady.load(); }
    // Waits a little for a thread that reported a failed start to end, and
    // gives its exit code (STILL_ACTIVE if it did not end).
    DWORD FailedThreadExitCode();
    // Posts the close request to the thread window and waits for the thread,
    // at most boundMs. False when it did not end: the desktop object is then
    // still in use and must outlive the process's own clean-up.
    bool CloseThread(DWORD boundMs);
    bool ThreadLeftRunning() const { return m_bThreadLeftRunning; }
    // Sound, display mode and wallpaper when the desktop becomes current
    // (runs on its own thread).
    void Activate();

    // The title overlay (TitleOverlay.cpp), on the desktop's thread.
    void LayoutTitle();
    void StartTitle();
    void OnTitleTimer(UINT_PTR timer);
    void DrawTitle(HDC dc);

    // Snapshot and sound (SnapshotAndSound.cpp).
    void CaptureSnapshot();
    // 0, or -1 open, -2 size, -3 memory, -4 read failed.
    int LoadSound();
    HBITMAP Snapshot() const { return m_snapshot.Get(); }

    // At the end of the desktop's thread, and on request 40016
    // (CloseApplications.cpp).
    void CloseApplications();
    // 1 when the applications may end, 0 when one refused.
    int QueryApplications();

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

    int m_nTitlePhase = 0;  // 0 hidden, 1 large, 2 small
    int m_nFontSize = 0;
    UniqueGdi<HFONT> m_largeFont;
    UniqueGdi<HFONT> m_smallFont;
    TitleBox m_titleLarge;
    TitleBox m_titleSmall;
    UniqueGdi<HBITMAP> m_snapshot;
    std::vector<char> m_sound;  // the whole WAV file, played from memory

private:
    static DWORD WINAPI ThreadMain(void* param);
    std::atomic<bool> m_bThreadReady{false};
    bool m_bThreadLeftRunning = false;
    // Window, menu and programs; false when the window could not be made.
    bool SetUpThreadWindow();
    void StartPrograms();
};

}  // namespace qv

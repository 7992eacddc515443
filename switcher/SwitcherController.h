#pragma once
// The daemon's controller: turns the desktop records into live desktops,
// starts their threads, owns the main window and carries out every switch.

#include <windows.h>

#include <memory>
#include <vector>

#include "AncestryController.h"
#include "GdiObject.h"
#include "HotKeyRegistration.h"
#include "SwitcherDesktop.h"
#include "TextString.h"
#include "WindowBase.h"

namespace qv {

class SwitcherController : public AncestryController {
public:
    enum SoundMode { kNoSound = 0, kSoundOn = 1, kSoundOff = 2 };

    // Records the calling thread's desktop as the one to return to.
    SwitcherController();
    // Switches back to that desktop; the desktops close their handles.
    ~SwitcherController() override;

    AncestryDesktop* CreateChild() override;

    // 0, or -1 (Active Desktop running), -40 (no home desktop), -50 (nothing
    // but the home desktop).
    int InitDesktops();
    // 0, or -1 when the main window or the semaphore could not be made.
    int StartDesktopThreads();
    // Hot keys and the main message loop; 0.
    int Run();
    // Every desktop thread closed, the home desktop's last; 0.
    int CloseAllThreads();
    void RedrawAll();

    // Adds a desktop of the window station; false stops the adoption.
    bool AddExistingDesktop(const char* name);

    SwitcherDesktop* FirstDesktop() const;

    // The start-up logo on the main window (TitleOverlay.cpp).
    void LayoutLogo();
    void DrawLogo(int progress);

    HDESK m_hReturnDesktop = nullptr;  // not owned: the thread's own desktop
    TextString m_strSplash;
    TextString m_strParamPath;
    int m_nSoundMode = kNoSound;
    bool m_bEndingBySessionEnd = false;

private:
    friend LRESULT CALLBACK MainWindowProc(HWND, UINT, WPARAM, LPARAM);
    LRESULT OnCommand(WPARAM command, LPARAM lParam);
    // The desktop switch on the main thread: snapshot, bookkeeping, the
    // system switch and the activation on the desktop's own thread.
    void SwitchTo(SwitcherDesktop* target);
    void TakeSnapshot();
    LRESULT SetSoundMode(LPARAM lParam);
    // The controller's five keys, then each desktop's in ring order from
    // home; a desktop key that is taken already is logged and left out.
    void RegisterHotKeys();
    void RegisterDesktopHotKey(SwitcherDesktop* desktop, std::vector<uint32_t>& taken);
    void OnHotKey(WPARAM id);
    void EndBySession(WPARAM wParam);

    // The control bar (ControlBar.cpp): started once all desktop threads
    // run, told to quit when the main loop has ended.
    void StartControlBar();
    void StopControlBar();

    // Takes a desktop without a running thread out of the ring for good.
    void RetireDesktop(SwitcherDesktop* desktop);

    // Closing a desktop's applications sends each window at most a few
    // messages of 5 s each; a thread that takes longer than this is hung.
    static constexpr DWORD kThreadEndBoundMs = 60000;
    std::vector<std::unique_ptr<SwitcherDesktop>> m_retired;
    bool m_bStartOutstanding = false;  // a thread's start was given up while it ran
    // Ids 1 to 5 are the controller's keys; a desktop's key has the id
    // kFirstDesktopHotKey plus its place in m_hotKeyDesktops.
    static constexpr int kFirstDesktopHotKey = 0x100;
    std::vector<HotKeyRegistration> m_hotKeys;
    std::vector<SwitcherDesktop*> m_hotKeyDesktops;
    UniqueGdi<HFONT> m_logoLarge;
    UniqueGdi<HFONT> m_logoSmall;
    int m_nLogoLine = 0;
};

LRESULT CALLBACK MainWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
LRESULT CALLBACK DesktopWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
// The snapshot-size dialog: KeepBitmapSize of the controller, 0 to 32.
class SnapshotSizeDialog : public Dialog {
public:
    explicit SnapshotSizeDialog(SwitcherController* controller) : m_pController(controller) {}

protected:
    BOOL OnInit() override;
    BOOL OnCommand(WORD id, WORD code, HWND control) override;

private:
    SwitcherController* m_pController;
};

}  // namespace qv

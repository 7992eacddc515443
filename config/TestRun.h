#pragma once
// The test run of a desktop's program list: the programs started as the
// daemon would start them, looked at, and ended again, with the windows that
// were on screen put aside meanwhile.

#include <windows.h>

#include "Executant.h"
#include "RingList.h"
#include "WindowBase.h"

namespace qv::config {

// What to do with the windows on screen, and how long to wait after the
// starts.
class TestRunDialog : public Dialog {
public:
    bool Hide() const { return m_hide; }
    DWORD DelayMs() const { return m_delayMs; }

protected:
    BOOL OnInit() override;
    BOOL OnCommand(WORD id, WORD code, HWND control) override;

private:
    bool m_hide = false;
    DWORD m_delayMs = 0;
};

// How the started programs are ended: the steps of Executant::KillStep.
class TestEndDialog : public Dialog {
public:
    int Steps() const { return m_steps; }

protected:
    BOOL OnInit() override;
    BOOL OnCommand(WORD id, WORD code, HWND control) override;

private:
    int m_steps = Executant::kPostQuit;
};

// Asks, starts every entry, waits, asks how to end them, ends them and puts
// everything back. owner is the dialog that asked; main the configurator's
// own window, brought back to the top at the end.
void RunTest(HWND owner, HWND main, OwnedRing<Executant>& entries);

}  // namespace qv::config

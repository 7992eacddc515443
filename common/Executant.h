#pragma once
// One program entry: a program (or, in shell mode, a document) started on a
// desktop, with its placement, priority and start rules.

#include <windows.h>

#include <cstdint>
#include <cstdio>

#include "Handle.h"
#include "KeywordPairs.h"
#include "RingList.h"
#include "TextString.h"

namespace qv {

class LogLine;

class Executant : public RingListClass {
public:
    enum Key {
        kFileName,
        kArguments,
        kPath,
        kPosition,
        kSize,
        kShowMode,
        kDisableIME,
        kInitialOnce,
        kPriority,
        kInputTO,
        kShellExec,
        kKeyCount
    };
    static constexpr char kHeader[] = "Executant::RingListClass";
    static constexpr int32_t kUnset = INT32_MIN;  // 0x80000000: no position or size given
    static constexpr uint32_t kDefaultInputTimeout = 5000;
    static const KeywordTable& Keywords();

    Executant() = default;

    // Reads the lines after a header up to the closing line: 0, -1 when the
    // file ended first, or the negative result of Validate.
    virtual int Read(FILE* file);
    virtual int Write(FILE* file, int depth, bool withHeader);
    virtual const char* KeyName(int key) const;
    virtual int Validate();
    virtual void Apply();
    // 1 appended, 0 not a keyword of the table, -1 out of memory.
    virtual int AddEntry(const char* key, const char* value);

    // Starting (see Launching.cpp). Launch: 1 when a once-only entry already
    // runs on the desktop, -1 when the process could not be created, else 0.
    virtual int Launch(const char* desktopName);
    // Launch on the caller's desktop, keeping the process for KillCheck and
    // setting the once-only rule aside.
    virtual int LaunchHeld();
    virtual int LaunchByShell();
    // Through QVShlExe beside the calling program: 0, or -1.
    virtual int LaunchViaShlExe(const char* desktopName);
    virtual HWND FindLaunchedWindow(HANDLE process, uint32_t timeoutMs, HANDLE snapshotBefore, HANDLE snapshotAfter);
    virtual void ResetWindowSearch(int mode);
    // The longest a start of this entry can take: its wait for the program
    // to become idle and its search for the program's window.
    DWORD LongestStartMs() const;
    // Ends a held process with the steps of KillStep; 0 always.
    virtual int KillCheck(int steps);

    enum KillStep { kPostClose = 1, kPostQuit = 2, kTerminate = 4 };

    KeywordPairs& Properties() { return m_properties; }
    const KeywordPairs& Properties() const { return m_properties; }

    // The program as the once-only rule compares it and the log names it:
    // ExecutionFileName lower-cased. A copy, empty when memory ran out.
    TextString FileName() const;
    const char* Arguments() const { return m_properties.Value(kArguments); }

    // Taken from the pairs by Apply, put back by Write. The flags come after
    // the numbers: a file holds thousands of entries, each one heap block.
    int32_t x = kUnset;
    int32_t y = kUnset;
    int32_t width = kUnset;
    int32_t height = kUnset;
    uint32_t priority = 0;  // high nibble: priority class, low nibble: thread priority
    uint32_t inputTimeout = kDefaultInputTimeout;
    bool positionSet = false;  // x and y
    bool sizeSet = false;      // width and height
    bool prioritySet = false;
    bool shellExec = false;

    UniqueHandle heldProcess;  // kept after a held launch, for KillCheck
    DWORD heldThreadId = 0;    // the thread of its window, or its primary thread
    bool holdProcess = false;  // set only while LaunchHeld runs

private:
    void DropHeldProcess();
    // inputTimeout as a wait: clamped, whatever the file said.
    DWORD InputWait() const;
    // Waits up to InputWait() for the program to be idle; logs why not.
    // Its failure is told on line.
    bool WaitUntilIdle(HANDLE process, const char* name, LogLine& line) const;
    // Show command from ExecutionShowMode.
    int ShowMode() const;
    // STARTUPINFO of a start on a desktop: name, placement and show command.
    STARTUPINFOA StartupInfo(char* desktopName) const;
    // Moves, sizes and shows a found window as the entry asks.
    void PlaceWindow(HWND window) const;

    KeywordPairs m_properties{Keywords()};
};

}  // namespace qv

#pragma once
// The daemon as QVCtl reaches it: its thread window on this program's
// desktop, as every asker finds it; its questions asked through the shared
// pipe client, taking turns with the other askers; its switches waited for
// until the daemon reports them. Every step is bounded; each result is an
// exit code with a message for the user.

#include <string>
#include <vector>

#include "CtlOutput.h"
#include "DesktopWords.h"
#include "PipeFormat.h"

namespace qv {

struct CtlResult {
    int code = 0;  // a CtlExitCode
    std::string problem;

    bool Ok() const { return code == 0; }
};

// The exit code and message of a failed question.
CtlResult QueryFailure(QueryResult result, uint32_t version);

class DaemonLink {
public:
    // The Information reply, refused as malformed when it names no current
    // desktop among its records.
    CtlResult Information(DesktopInformation* info);
    // The desktop the word names (--desktop: no switch words).
    CtlResult FindDesktop(const std::string& word, const DesktopInformation& info, int* index);

    // Switches as the word says and waits until the daemon reports the new
    // current desktop; row receives it.
    CtlResult Switch(const std::string& word, DesktopRow* row);
    // The same for a known desktop.
    CtlResult SwitchTo(const DesktopInformation& info, int index, DesktopRow* row);

    CtlResult Windows(const DesktopInformation& info, int onlyIndex, std::vector<WindowRow>* rows);
    CtlResult Activate(uint32_t handle, DesktopRow* row);
    CtlResult Start(const DesktopInformation& info, int index, const std::string& program,
                    const std::string& arguments, unsigned long* processId);
    CtlResult Snapshot(const DesktopInformation& info, int index, const std::string& file);
    CtlResult Exit();

private:
    CtlResult CurrentId(std::string* id);
    CtlResult WaitForCurrent(const std::string& id);
    CtlResult WaitForChange(const std::string& from, std::string* to);
};

}  // namespace qv

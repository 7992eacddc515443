#include "DaemonRing.h"

#include <algorithm>

#include "CommandText.h"
#include "Daemon.h"
#include "DaemonRequest.h"
#include "Protocol.h"

namespace qvtest {

bool DaemonRing::Open(const std::vector<std::string>& ids) {
    m_windows.clear();
    m_current = 0;
    for (const std::string& id : ids) {
        m_windows.push_back(DaemonThreadWindow(id));
        if (!m_windows.back()) return false;
    }
    if (ids.empty()) return false;
    // Asked rather than switched to, so that opening the ring leaves no
    // switch in the daemon's log.
    const auto at = std::find(ids.begin(), ids.end(), AskCurrentDesktopId(ids[0]));
    m_current = static_cast<size_t>(at - ids.begin());
    return at != ids.end();
}

bool DaemonRing::Next(DWORD timeoutMs) {
    const qv::RequestReply reply = qv::SendRequest(m_windows[m_current], qv::kCommandTextRequest,
                                                   static_cast<LPARAM>(qv::PackCommandText("+1")), timeoutMs);
    if (!reply.Answered() || reply.value != 1) return false;
    m_current = (m_current + 1) % m_windows.size();
    return true;
}

}  // namespace qvtest

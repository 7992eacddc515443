#pragma once

#include <string>

namespace qv {

// The system's text for the calling thread's last error, without the line
// end the system puts after it (the log lines add their own). The last
// error is left as it was.
std::string SystemErrorText();
// Shows SystemErrorText in a message box when the low byte of flag is set.
void ShowSystemError(int flag);

}  // namespace qv

#pragma once
// One question through the query pipe, timed from the moment it is posted
// until the last byte of the reply has been read. The same asker serves the
// daemon and the bare peer, so that the two differ only in who answers.

#include <windows.h>

#include <cstddef>
#include <cstdint>
#include <string>

namespace qvbench {

// Seconds from the post of the request (wParam question) to the window
// until expected bytes have been read into reply, as an asker that knows
// the reply's length reads it (SIZE_MAX: until the answerer closes its end);
// negative when no answer came in time. bufferSize is the pipe's buffer, as
// the suite's askers size it for the question; lParam goes with the question.
double TimedQuestion(HWND window, unsigned question, uint32_t bufferSize, std::string* reply,
                     size_t expected = SIZE_MAX, LPARAM lParam = 0);

// Seconds of a monotonic clock.
double Now();

}  // namespace qvbench

#pragma once
// One question through the query pipe, timed from the moment it is posted
// until the last byte of the reply has been read. The same asker serves the
// daemon and the bare peer, so that the two differ only in who answers.

#include <windows.h>

#include <cstdint>
#include <string>

namespace qvbench {

// Seconds from the post of the request (wParam question) to the window
// until the answerer closed its end with every byte read into reply;
// negative when no answer came in time. bufferSize is the pipe's buffer, as
// the suite's askers size it for the question.
double TimedQuestion(HWND window, unsigned question, uint32_t bufferSize, std::string* reply);

// Seconds of a monotonic clock.
double Now();

}  // namespace qvbench

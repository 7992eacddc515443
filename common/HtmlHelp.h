#pragma once
// The suite's help file "Lumarch.chm" beside the program, opened at a topic
// through the HTML Help control, which is bound at its first use.

#include <windows.h>

namespace qv {

// Opens the topic (e.g. "/Others1.htm"), or tells in a box with this caption
// that the help file is missing or unusable.
void ShowHelpTopic(HWND owner, const char* topic, const char* caption);

}  // namespace qv

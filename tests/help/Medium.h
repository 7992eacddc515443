#pragma once
// The unpacked release medium that `dist` lays out, as the test's
// environment names it (QV_MEDIUM, a Windows path).

#include <string>

namespace qvtest {

// Empty when the environment names none.
std::string MediumFolder();

}  // namespace qvtest

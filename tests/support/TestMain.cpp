// The main of every test program: its start is on the shared process record
// before Google Test writes anything, so a program that dies early can be
// told from one that never started.

#include <windows.h>

#include <gtest/gtest.h>

#include "ProcessLog.h"

int main(int argc, char** argv) {
    qvtest::LogProgramStart();
    // Wine may report this program's start-up errors; the programs it starts
    // report none, since some tests read what those write.
    SetEnvironmentVariableA("WINEDEBUG", "-all");
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}

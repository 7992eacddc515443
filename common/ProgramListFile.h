#pragma once
// A desktop's program list as Mendrel keeps it and the bar's menu reads it:
// a parameter file whose top level holds "FileVersion" and program entry
// blocks, one entry each.

#include <cstdio>

#include "BarSettings.h"
#include "Executant.h"
#include "RingList.h"

namespace qv {

// Appends every entry that reads; kNoFile for a missing file (an empty
// list), kCutShort when the file ends inside an entry (what was read stays).
BarReadResult ReadProgramList(FILE* file, OwnedRing<Executant>* entries);
BarReadResult ReadProgramListFile(const char* path, OwnedRing<Executant>* entries);
bool WriteProgramList(FILE* file, OwnedRing<Executant>& entries);
// Through a temporary file: a failed save leaves the old list whole.
bool SaveProgramListFile(const char* path, OwnedRing<Executant>& entries);

}  // namespace qv

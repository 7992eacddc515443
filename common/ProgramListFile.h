#pragma once
// A desktop's program list as Mendrel keeps it and the bar's menu reads it:
// a parameter file whose top level holds "FileVersion" and program entry
// blocks, one entry each.

#include <cstdio>
#include <cstring>
#include <memory>

#include "BarSettings.h"
#include "Executant.h"
#include "ParamLine.h"
#include "RingList.h"

namespace qv {

// The one reader of a program list, for every kind of entry kept from it
// (Mendrel's entries, the bar's menu items): each entry block that reads is
// made an Entry and handed to take, which returns false to stop the reading.
// An entry that does not validate (no program) is dropped. kCutShort when
// the file ends inside an entry; what was taken stays taken.
template <class Entry, class Take>
BarReadResult ReadProgramEntries(FILE* file, Take take) {
    ParamReader reader(file);
    for (;;) {
        switch (reader.Next()) {
        case ParamReader::kEof:
        case ParamReader::kEndMarker:
            return BarReadResult::kRead;
        case ParamReader::kHeader: {
            if (std::strcmp(reader.Key(), Executant::kHeader) != 0) break;
            auto entry = std::make_unique<Entry>();
            const int read = entry->Read(file);
            if (read == -1) return BarReadResult::kCutShort;
            if (read == 0 && !take(std::move(entry))) return BarReadResult::kRead;
            break;
        }
        case ParamReader::kClose:
        case ParamReader::kSetting:
            break;  // "FileVersion" and anything else: nothing to keep
        }
    }
}

// Appends every entry that reads; kNoFile for a missing file (an empty
// list), kCutShort when the file ends inside an entry (what was read stays).
BarReadResult ReadProgramList(FILE* file, OwnedRing<Executant>* entries);
BarReadResult ReadProgramListFile(const char* path, OwnedRing<Executant>* entries);
bool WriteProgramList(FILE* file, OwnedRing<Executant>& entries);
// Through a temporary file: a failed save leaves the old list whole.
bool SaveProgramListFile(const char* path, OwnedRing<Executant>& entries);

}  // namespace qv

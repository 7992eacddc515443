#pragma once
// How QVCtl names a desktop: the words a script types and the desktop of the
// daemon's Information reply that each one means.

#include <string>
#include <vector>

#include "PipeFormat.h"

namespace qv {

struct DesktopMatch {
    enum class Kind {
        kIndex,       // index holds the desktop's place in the reply
        kBack,        // the daemon's previous desktop, which only the daemon knows
        kUnknown,     // no desktop has that ID or title
        kOutOfRange,  // a number beyond the desktops
    };
    Kind kind = Kind::kUnknown;
    int index = -1;
};

// The first reading that fits, in this order: a number counted from 1 in
// the reply's order; with switchWords, +n or -n counted from the current
// desktop round the ring, then "home" and "back"; a DesktopID (as the system
// compares names, case-sensitively); a title as the lists show it, matched
// whole, the first in ring order when two desktops share it.
DesktopMatch MatchDesktopWord(const std::string& word, const DesktopInformation& info, bool switchWords);

// The title the lists show for a record: control characters removed, its ID
// when nothing is left.
std::string RecordTitle(const DesktopRecord& record);

}  // namespace qv

#pragma once
// The top level of the switcher's parameter file: its header lines, the
// controller record and the end marker.

#include <cstdio>

#include "AncestryController.h"
#include "TextString.h"

namespace qv {

struct ParameterFileHeader {
    static constexpr char kCurrentVersion[] = "0x0200";
    static constexpr int kDefaultLogLimit = 4096;

    TextString fileVersion{kCurrentVersion};
    TextString logFileName;
    int logFileLimit = kDefaultLogLimit;

    bool LogWanted() const { return !logFileName.IsEmpty() && logFileLimit > 0; }
};

enum ReadParameterResult {
    kControllerRead = 0,        // the controller record was read
    kEndBeforeController = 1,   // "--EOF--" came first: no desktops
    kNoController = -1,         // the file ended before a controller record
    // a negative result of the controller's Read (-1, -10) is passed on
};

// Reads the top level up to and including the controller record; nothing
// after it is read. At the first record header the log file is set when the
// header lines ask for one.
int ReadParameterFile(FILE* file, AncestryController& controller, ParameterFileHeader& header);

// Reads the header lines only, up to the first record header or the end
// marker, and sets no log file: a log that a running copy is writing stays
// as it is.
void ReadParameterFileHeader(FILE* file, ParameterFileHeader& header);

// Writes the whole file in the configurator's layout. The file should be
// open in text mode, so that every line ends in CR LF.
int WriteParameterFile(FILE* file, const ParameterFileHeader& header, AncestryController& controller);

}  // namespace qv

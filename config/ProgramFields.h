#pragma once
// A program entry as the program dialog edits it, and its way back into the
// entry's keys.

#include <cstdint>
#include <string>

#include "Executant.h"

namespace qv::config {

struct ProgramFields {
    std::string file;
    std::string path;
    std::string arguments;
    bool shell = false;  // the arguments name an item that the shell opens
    int showMode = 1;    // 1 window, 2 minimized, 3 maximized
    bool positionSet = false;
    int32_t x = 0, y = 0;
    bool sizeSet = false;
    int32_t width = 0, height = 0;
    bool prioritySet = false;
    int priorityClass = 0;  // 0 inherit, 1 low, 2 normal, 3 high
    int thread = 0;         // 0 inherit, 1 to 5 for -2 to +2
    bool once = false;
    bool noIme = false;
    uint32_t inputTimeout = Executant::kDefaultInputTimeout;
};

ProgramFields ReadFields(const Executant& entry);
void WriteFields(const ProgramFields& fields, Executant& entry);
// Whether the shell would run the file itself rather than open it with a
// program: then the file is the entry's program.
bool IsProgramFile(const std::string& path);

// OK is offered for a shell entry, or for a program name of five or more characters.
bool FieldsComplete(const ProgramFields& fields);

}  // namespace qv::config

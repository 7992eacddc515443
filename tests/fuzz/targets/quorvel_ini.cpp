// The switcher's parameter file (Quorvel.ini): header lines, the controller
// record, its desktops and their program entries; what was read is written
// out again, as the configurator does.
#include "AncestryController.h"
#include "FuzzInput.h"
#include "ParameterFile.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    fuzz::MemoryFile file(data, size);
    if (!file.Get()) return 0;
    qv::AncestryController controller;
    qv::ParameterFileHeader header;
    qv::ReadParameterFile(file.Get(), controller, header);
    fuzz::NullFile out;
    qv::WriteParameterFile(out.Get(), header, controller);

    fuzz::MemoryFile again(data, size);
    qv::ParameterFileHeader headerOnly;
    qv::ReadParameterFileHeader(again.Get(), headerOnly);
    return 0;
}

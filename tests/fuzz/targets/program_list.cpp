// A desktop's program list as Mendrel keeps it and the bar's menu reads it.
#include "FuzzInput.h"
#include "ProgramListFile.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    fuzz::MemoryFile file(data, size);
    if (!file.Get()) return 0;
    qv::OwnedRing<qv::Executant> entries;
    qv::ReadProgramList(file.Get(), &entries);
    fuzz::NullFile out;
    qv::WriteProgramList(out.Get(), entries);
    return 0;
}

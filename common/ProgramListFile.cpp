#include "ProgramListFile.h"

#include "SafeSave.h"

namespace qv {

BarReadResult ReadProgramList(FILE* file, OwnedRing<Executant>* entries) {
    return ReadProgramEntries<Executant>(file, [entries](std::unique_ptr<Executant> entry) {
        entries->Append(entry.release());
        return true;
    });
}

BarReadResult ReadProgramListFile(const char* path, OwnedRing<Executant>* entries) {
    FILE* file = std::fopen(path, "rt");
    if (!file) return BarReadResult::kNoFile;
    const BarReadResult result = ReadProgramList(file, entries);
    std::fclose(file);
    return result;
}

bool WriteProgramList(FILE* file, OwnedRing<Executant>& entries) {
    std::fputs("FileVersion\t0x0200\n", file);
    for (Executant* entry : entries)
        if (entry->Write(file, 0, true) < 0) return false;
    std::fputs("--EOF--\n", file);
    return std::ferror(file) == 0;
}

bool SaveProgramListFile(const char* path, OwnedRing<Executant>& entries) {
    return SaveReplacing(path, [&entries](FILE* file) { return WriteProgramList(file, entries); });
}

}  // namespace qv

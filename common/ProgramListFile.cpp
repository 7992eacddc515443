#include "ProgramListFile.h"

#include <cstring>
#include <memory>

#include "ParamLine.h"
#include "SafeSave.h"

namespace qv {

BarReadResult ReadProgramList(FILE* file, OwnedRing<Executant>* entries) {
    ParamReader reader(file);
    for (;;) {
        switch (reader.Next()) {
        case ParamReader::kEof:
        case ParamReader::kEndMarker:
            return BarReadResult::kRead;
        case ParamReader::kHeader: {
            if (std::strcmp(reader.Key(), Executant::kHeader) != 0) break;
            auto entry = std::make_unique<Executant>();
            const int read = entry->Read(file);
            if (read == -1) return BarReadResult::kCutShort;
            // An entry that does not validate (no program) is dropped.
            if (read == 0) entries->Append(entry.release());
            break;
        }
        case ParamReader::kClose:
        case ParamReader::kSetting:
            break;  // "FileVersion" and anything else: nothing to keep
        }
    }
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

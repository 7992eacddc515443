#pragma once
// What every record does alike when it reads and writes itself.

#include <cstdint>
#include <cstdio>
#include <cstring>

#include "KeywordPairs.h"
#include "Log.h"
#include "Messages.h"
#include "ParamLine.h"

namespace qv {

// onLine(key, value) takes a setting line. readChild(file) takes a nested
// block whose header is childHeader; it returns false when the child could
// not be created, which ends the record as a "}" does. Other headers are
// logged and their lines read as the record's own, so their "}" closes it.
// Without a childHeader a header line is just another line for onLine.
// Returns 0 when the record was closed, -1 when the file ended first.
template <class OnLine, class ReadChild>
int ReadRecordLines(FILE* file, const char* childHeader, OnLine&& onLine, ReadChild&& readChild) {
    ParamReader reader(file);
    for (;;) {
        switch (reader.Next()) {
        case ParamReader::kEof:
            return -1;
        case ParamReader::kEndMarker:
            WriteLog(msg::kEndMarkerInside);
            return 0;
        case ParamReader::kClose:
            return 0;
        case ParamReader::kHeader:
            if (!childHeader) {
                onLine(reader.Key(), reader.Value());
            } else if (std::strcmp(reader.Key(), childHeader) != 0) {
                WriteLog(msg::kUnknownClass, reader.Key());
            } else if (!readChild(file)) {
                WriteLog(msg::kOutOfMemory);
                return 0;
            }
            break;
        case ParamReader::kSetting:
            onLine(reader.Key(), reader.Value());
            break;
        }
    }
}

// Stores a setting of a record; keywords outside its table are logged with
// the record's own format and skipped.
void StoreSetting(KeywordPairs& properties, const char* key, const char* value, const char* unknownKeyFormat);
// 0, or -10 (logged) when a required keyword has no value.
int CheckRequired(const KeywordPairs& properties);
// Gives every keyword without a pair its default: 0, or -1 (logged).
int GiveDefaults(KeywordPairs& properties);

// Brings the pairs up to date from typed fields before a write. Each call
// sets the first pair of the keyword; without one it appends a pair when
// asked to and the text is not empty.
class PairUpdater {
public:
    explicit PairUpdater(KeywordPairs& properties) : m_properties(properties) {}
    void Text(int key, const char* text, bool append);
    void Hex(int key, uint32_t value, bool append);  // "0x%08X"
    void Number(int key, int32_t value, bool append);  // "%d"
    // A hot-key word: "0x%08X", or no line at all for 0 (none).
    void HotKey(int key, uint32_t word);

private:
    KeywordPairs& m_properties;
};

void WriteIndent(FILE* file, int depth);
// Writes every pair with a value, one line each at the given depth.
void WritePairs(FILE* file, const KeywordPairs& properties, int depth);

// Header line, pairs, children (writeChildren(file, depth + 1)), closing line.
template <class WriteChildren>
void WriteRecord(FILE* file, int depth, const char* header, const KeywordPairs& properties,
                 WriteChildren&& writeChildren) {
    WriteIndent(file, depth);
    std::fprintf(file, "%s\t{\n", header);
    WritePairs(file, properties, depth + 1);
    writeChildren(file, depth + 1);
    WriteIndent(file, depth);
    std::fputs("}\n", file);
    std::fflush(file);
}

}  // namespace qv

#pragma once
// The reading loop of every record: the lines after its header up to its
// closing line.

#include <cstdio>
#include <cstring>

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

}  // namespace qv

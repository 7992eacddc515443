#include "ParameterFile.h"

#include <cstring>

#include "Convert.h"
#include "Log.h"
#include "Messages.h"
#include "ParamLine.h"

namespace qv {

namespace {

// False when the line is no header line.
bool TakeHeaderLine(const char* key, const char* value, ParameterFileHeader& header) {
    if (std::strcmp(key, "FileVersion") == 0) {
        header.fileVersion.Assign(value);
    } else if (std::strcmp(key, "LogFileName") == 0) {
        header.logFileName.Assign(value);
    } else if (std::strcmp(key, "LogFileLimit") == 0) {
        header.logFileLimit = ParseDecimal(value);
    } else {
        return false;
    }
    return true;
}

}  // namespace

int ReadParameterFile(FILE* file, AncestryController& controller, ParameterFileHeader& header) {
    char line[kLineBuffer];
    bool logSet = false;  // a second SetLogFile would delete what the first header logged
    while (ReadParamLine(file, line)) {
        if (IsCommentLine(line)) continue;
        char* key;
        char* value;
        SplitLine(line, &key, &value);
        if (std::strcmp(key, "--EOF--") == 0) return kEndBeforeController;
        if (TakeHeaderLine(key, value, header)) continue;
        if (std::strcmp(value, "{") == 0) {
            if (!logSet && header.LogWanted()) SetLogFile(header.logFileName.c_str(), header.logFileLimit);
            logSet = true;
            if (std::strcmp(key, AncestryController::kHeader) == 0) {
                int result = controller.Read(file);
                return result < 0 ? result : kControllerRead;
            }
            WriteLog(msg::kUnknownClass, key);
        }
    }
    return kNoController;
}

void ReadParameterFileHeader(FILE* file, ParameterFileHeader& header) {
    char line[kLineBuffer];
    while (ReadParamLine(file, line)) {
        if (IsCommentLine(line)) continue;
        char* key;
        char* value;
        SplitLine(line, &key, &value);
        if (std::strcmp(key, "--EOF--") == 0 || std::strcmp(value, "{") == 0) return;
        TakeHeaderLine(key, value, header);
    }
}

int WriteParameterFile(FILE* file, const ParameterFileHeader& header, AncestryController& controller) {
    std::fputs(";Quorvel\n", file);
    std::fprintf(file, "FileVersion\t%s\n",
                 header.fileVersion.IsEmpty() ? ParameterFileHeader::kCurrentVersion : header.fileVersion.c_str());
    if (header.LogWanted()) {
        std::fprintf(file, "LogFileName\t%s\n", header.logFileName.c_str());
        std::fprintf(file, "LogFileLimit\t%d\n", header.logFileLimit);
    }
    controller.Write(file, 0);
    std::fputs("--EOF--\n", file);
    std::fflush(file);
    return std::ferror(file) ? -1 : 0;
}

}  // namespace qv

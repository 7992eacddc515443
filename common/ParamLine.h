#pragma once
// Lines of the parameter files: reading, splitting into keyword and value,
// and what kind of line each is.

#include <cstdio>

namespace qv {

constexpr int kLineBuffer = 384;  // a longer line is read as further lines

// Splits a line in place. Both results point into the line (at its
// terminator when empty).
void SplitLine(char* line, char** keyword, char** value);

// Reads the next line of at most kLineBuffer-1 bytes; false at end of file
// or on a read error.
bool ReadParamLine(FILE* file, char (&buffer)[kLineBuffer]);

// Comment lines have ';', '#' or an apostrophe in the first column.
bool IsCommentLine(const char* line);

class ParamReader {
public:
    enum Kind {
        kEof,        // end of file or read error
        kEndMarker,  // "--EOF--"
        kClose,      // "}" as keyword or value
        kHeader,     // value "{"
        kSetting,    // anything else, including an empty line
    };

    // The line buffer is not cleared: a reader is made for every record.
    explicit ParamReader(FILE* file) : m_pFile(file) { m_szLine[0] = '\0'; }

    // The next line that is not a comment, split.
    Kind Next();
    const char* Key() const { return m_pKey; }
    const char* Value() const { return m_pValue; }

private:
    FILE* m_pFile;
    char m_szLine[kLineBuffer];
    char* m_pKey = m_szLine;
    char* m_pValue = m_szLine;
};

}  // namespace qv

#include "ParamLine.h"

#include <cstring>

namespace qv {

namespace {

bool IsSeparator(unsigned char c) { return c <= ' '; }

}  // namespace

void SplitLine(char* line, char** keyword, char** value) {
    size_t len = std::strlen(line);
    while (len > 0 && IsSeparator(static_cast<unsigned char>(line[len - 1]))) line[--len] = '\0';
    char* end = line + len;
    *keyword = *value = end;
    if (len == 0) return;

    char* p = line;
    while (*p == ' ' || *p == '\t') ++p;
    *keyword = p;
    while (*p && !IsSeparator(static_cast<unsigned char>(*p))) ++p;
    if (!*p) return;  // nothing after the keyword
    *p++ = '\0';
    while (*p && static_cast<unsigned char>(*p) < ' ') ++p;  // tabs, not blanks
    *value = p;
}

bool ReadParamLine(FILE* file, char (&buffer)[kLineBuffer]) {
    buffer[0] = '\0';
    return std::fgets(buffer, kLineBuffer, file) != nullptr;
}

bool IsCommentLine(const char* line) { return line[0] == ';' || line[0] == '#' || line[0] == '\''; }

ParamReader::Kind ParamReader::Next() {
    for (;;) {
        if (!ReadParamLine(m_pFile, m_szLine)) {
            m_pKey = m_pValue = m_szLine;
            m_szLine[0] = '\0';
            return kEof;
        }
        if (IsCommentLine(m_szLine)) continue;
        SplitLine(m_szLine, &m_pKey, &m_pValue);
        if (std::strcmp(m_pKey, "--EOF--") == 0) return kEndMarker;
        if (std::strcmp(m_pKey, "}") == 0 || std::strcmp(m_pValue, "}") == 0) return kClose;
        if (std::strcmp(m_pValue, "{") == 0) return kHeader;
        return kSetting;
    }
}

}  // namespace qv

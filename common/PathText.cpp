#include "PathText.h"

#include "Sjis.h"

namespace qv {

const char* FileNamePart(const char* path) {
    const char* name = path;
    for (const char* p = path; *p; ++p) {
        if (IsSjisLead(static_cast<unsigned char>(*p))) {
            if (!p[1]) break;
            ++p;
        } else if (*p == '\\' || *p == '/' || *p == ':') {
            name = p + 1;
        }
    }
    return name;
}

size_t DirectoryLength(const char* path) { return static_cast<size_t>(FileNamePart(path) - path); }

TextString ModuleNameOf(const char* path) {
    TextString name(FileNamePart(path));
    name.LowerAscii();
    return name;
}

}  // namespace qv
